#include "server/pipeline.h"

#include <iostream>

#include "server/call.h"
#include "server/crypto.h"
#include "server/json.h"
#include "server/options.h"
#include "server/replies.h"
#include "server/sessions.h"
#include "store/database.h"

namespace {

constexpr std::int64_t secretLifeMs = 7 * 24 * 3600 * 1000LL;

std::string textMember(const Json::Value &body, const char *key)
{
    const Json::Value &v = body[key];
    return v.isString() ? v.asString() : std::string();
}

bool parseStamp(const std::string &text, std::int64_t &out)
{
    if (text.empty() || text.size() > 18)
        return false;
    out = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        out = out * 10 + (c - '0');
    }
    return true;
}

// The terminal reads this text's start as "the backend never saw the request", so it must
// answer only requests that were not kept.
void checkFresh(std::int64_t stamp, std::int64_t now)
{
    if (stamp < now - Pipeline::timestampWindowMs || stamp > now + Pipeline::timestampWindowMs)
        throw ApiError(codes::forbidden, "请求时间戳已过期，请校准终端时间");
}

} // namespace

std::string envelope(int httpCode, const std::string &msg, Json::Value data)
{
    Json::Value root(Json::objectValue);
    root["httpCode"] = httpCode;
    root["msg"] = msg;
    if (!data.isNull())
        root["data"] = std::move(data);
    return json::write(root);
}

Pipeline::Pipeline(Database &db, const ServerKeys &keys, const ServerOptions &options,
                   const ApiRegistry &api)
    : db_(db), keys_(keys), options_(options), api_(api)
{
}

std::string Pipeline::answer(const std::string &path, const std::string &bodyText,
                             const std::string &querySign, const std::string &baseUrl)
{
    try {
        return checked(path, bodyText, querySign, baseUrl);
    } catch (const ApiError &e) {
        return envelope(e.code(), e.what());
    } catch (const std::exception &e) {
        std::cerr << "brenvo-backend: error on " << path << ": " << e.what() << std::endl;
        return envelope(codes::serverError, "服务器内部错误");
    }
}

// Checks that need no data: the body and the signature.
std::string Pipeline::checked(const std::string &path, const std::string &bodyText,
                              const std::string &querySign, const std::string &baseUrl)
{
    const ApiRegistry::Entry *entry = api_.find(path);
    if (!entry)
        return envelope(codes::notFound, "接口不存在: " + path);
    if (bodyText.size() > maxBodyBytes)
        return envelope(codes::badRequest, "请求内容过大");
    Request r{*entry, {}, 0, {}, baseUrl};
    if (!json::parse(bodyText, r.body) || !r.body.isObject())
        return envelope(codes::badRequest, "请求内容不是JSON对象(UTF-8)");

    const Json::Value &ts = r.body["timestamp"];
    if (!ts.isString())
        return envelope(codes::badRequest, "缺少参数: timestamp");
    const std::string stampText = ts.asString();
    if (!parseStamp(stampText, r.stamp))
        return envelope(codes::badRequest, "参数类型错误: timestamp");

    const std::string serial = textMember(r.body, "serialNum");
    std::string sign;
    if (entry->access == Access::Handshake) {
        sign = textMember(r.body, "token");
        if (serial.empty())
            return envelope(codes::badRequest, "缺少参数: serialNum");
        if (sign.empty())
            return envelope(codes::badRequest, "缺少参数: token");
        if (!crypto::equalConstantTime(crypto::mmd5(serial, stampText), sign))
            return envelope(codes::forbidden, "签名错误");
    } else {
        if (querySign.empty())
            return envelope(codes::forbidden, "缺少签名");
        if (!crypto::equalConstantTime(crypto::requestSignature(r.body), querySign))
            return envelope(codes::forbidden, "签名错误");
        sign = querySign;
    }
    r.identity = path + "\n" + serial + "\n" + stampText + "\n" + sign;
    if (entry->upkeep)
        upkeep(r);
    if (entry->effect == ApiRegistry::Effect::Write)
        return write(r, true); // its repeat may come at any time
    checkFresh(r.stamp, nowMs());
    return read(r);
}

void Pipeline::upkeep(const Request &r)
{
    auto conn = db_.acquire();
    Transaction tx(*conn);
    Call call{*conn, keys_, options_, r.body, nowMs(), r.baseUrl};
    try {
        r.entry.upkeep(call);
    } catch (const ApiError &) {
        return; // a field the call itself refuses
    }
    tx.commit();
}

std::string Pipeline::read(const Request &r)
{
    {
        auto conn = db_.acquire(Connection::Mode::ReadOnly);
        ReadTransaction tx(*conn);
        Call call{*conn, keys_, options_, r.body, nowMs(), r.baseUrl};
        call.requestIdentity = r.identity;
        if (!sessions::identify(call, r.entry.access, false)) {
            bool done = false;
            return run(r, call, done);
        }
    }
    // The session's activity is due to be written down: the call runs as a write instead,
    // still in one transaction, and keeps no answer.
    return write(r, false);
}

std::string Pipeline::write(const Request &r, bool keepAnswer)
{
    std::string text;
    {
        auto conn = db_.acquire();
        Transaction tx(*conn);
        const std::int64_t now = nowMs();
        const std::string bodyHash = keepAnswer ? crypto::md5Hex(json::write(r.body)) : "";
        if (keepAnswer) {
            std::string kept = repeat(*conn, r, bodyHash);
            if (!kept.empty())
                return kept;
            checkFresh(r.stamp, now);
        }
        Call call{*conn, keys_, options_, r.body, now, r.baseUrl};
        call.requestIdentity = r.identity;
        sessions::identify(call, r.entry.access, true); // refusals here are not kept
        {
            Savepoint handlerWrites(*conn);
            bool done = false;
            text = run(r, call, done);
            if (done)
                handlerWrites.release();
        }
        if (keepAnswer) {
            replies::Kept kept;
            kept.bodyHash = bodyHash;
            kept.sessionHash =
                call.issuedToken.empty() ? call.sessionHash : sessions::hashOf(call.issuedToken);
            kept.endsSession = call.endsSession;
            kept.text = text;
            replies::keep(*conn, r.identity, std::move(kept), call.issuedToken, now + keptAnswerMs);
        }
        tx.commit();
    }
    if (keepAnswer && ++writeCount_ % 512 == 0)
        pruneNow();
    return text;
}

// The answer to a request seen before, or "" when it is new. The same identity with another
// body is refused: the signature leaves number values out, so a captured request could
// otherwise be replayed with a changed number.
std::string Pipeline::repeat(Connection &db, const Request &r, const std::string &bodyHash)
{
    replies::Kept kept;
    if (!replies::find(db, r.identity, kept))
        return {};
    if (kept.bodyHash != bodyHash)
        throw ApiError(codes::forbidden, "重复的请求内容不符");
    // A repeat arriving after sign-out or expiry gets nothing of the ended session, except the
    // sign-out itself, whose repeat is answered as it was.
    if (!kept.sessionHash.empty() && !kept.endsSession &&
        !sessions::isLive(db, kept.sessionHash, nowMs(), options_.idleMs))
        throw ApiError(codes::unauthorized, "登录已过期，请重新登录");
    return kept.issuedToken ? replies::withToken(kept.text, keys_.sessionToken(r.identity))
                            : kept.text;
}

std::string Pipeline::run(const Request &r, Call &call, bool &done)
{
    try {
        std::string text = envelope(codes::ok, "操作成功", r.entry.handler(call));
        done = true;
        return text;
    } catch (const ApiError &e) {
        done = false;
        return envelope(e.code(), e.what());
    }
}

void Pipeline::pruneNow()
{
    try {
        auto conn = db_.acquire();
        Transaction tx(*conn);
        const std::int64_t now = nowMs();
        replies::prune(*conn, now);
        conn->exec("DELETE FROM terminal_secrets WHERE created_at < ?", now - secretLifeMs);
        tx.commit();
    } catch (const std::exception &e) {
        std::cerr << "brenvo-backend: pruning old answers failed: " << e.what() << std::endl;
    }
}

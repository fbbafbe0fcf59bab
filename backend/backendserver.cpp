#include "backendserver.h"

#include <chrono>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include <httplib.h>
#include <json/json.h>

#include "crypto.h"
#include "database.h"
#include "endpoints.h"

namespace {

const char *const jsonType = "application/json;charset=UTF-8";

void registerAllEndpoints(BackendServer &server)
{
    registerClientEndpoints(server.api());
    registerWkMenuEndpoints(server.api());
    registerAttachmentEndpoints(server.api());
    registerUserEndpoints(server.api());
    registerUserAddressEndpoints(server.api());
    registerCouponEndpoints(server.api());
    registerOrderEndpoints(server.api());
    registerPrintEndpoints(server.api());
    registerPhotoEndpoints(server.api());
    registerUploadStore(server);
    registerVendorFiles(server);
    registerMapService(server);
}

bool parseBody(const std::string &text, Json::Value &out)
{
    Json::CharReaderBuilder builder;
    Json::CharReaderBuilder::strictMode(&builder.settings_);
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    return reader->parse(text.data(), text.data() + text.size(), &out, &errors);
}

// A repeat is the same call with the same body, not only the same signature: the signature
// leaves number values out, so two calls differing in a number may share it.
std::string replayKey(const std::string &path, const Json::Value &body, const std::string &sign)
{
    return path + "\n" + sign + "\n" + crypto::md5Hex(compactJson(body));
}

} // namespace

std::string compactJson(const Json::Value &v)
{
    Json::StreamWriterBuilder w;
    w["indentation"] = "";
    w["emitUTF8"] = true;
    return Json::writeString(w, v);
}

std::string envelope(int httpCode, const std::string &msg, const Json::Value &data)
{
    Json::Value root(Json::objectValue);
    root["httpCode"] = httpCode;
    root["msg"] = msg;
    if (!data.isNull())
        root["data"] = data;
    return compactJson(root);
}

std::int64_t BackendServer::nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

BackendServer::BackendServer(Database &db, const ServerKeys &keys, ServerOptions options)
    : db_(db), keys_(keys), options_(std::move(options))
{
    if (isHttps()) {
        auto https = std::make_unique<httplib::SSLServer>(options_.certFile.c_str(),
                                                          options_.keyFile.c_str());
        if (!https->is_valid())
            throw std::runtime_error("cannot use the certificate " + options_.certFile +
                                     " with the key " + options_.keyFile);
        http_ = std::move(https);
    } else {
        http_ = std::make_unique<httplib::Server>();
    }

    const int threads = options_.threads;
    http_->new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    // Small requests on a reused connection would otherwise wait for Nagle's algorithm to
    // meet the peer's delayed acknowledgement (tens of milliseconds). Accepted sockets
    // inherit the option from the listening one.
    http_->set_tcp_nodelay(true);
    http_->set_socket_options([this](socket_t sock) {
        httplib::default_socket_options(sock);
        listenSocket_ = static_cast<std::intptr_t>(sock);
    });
    http_->set_keep_alive_max_count(100000);
    http_->set_keep_alive_timeout(10);
    http_->set_payload_max_length(32 * 1024 * 1024);

    http_->Post("/mac/(.*)", [this](const httplib::Request &req, httplib::Response &res) {
        res.set_content(
            answer(req.matches[1], req.body, req.get_param_value("sign"), baseUrlFor(req)),
            jsonType);
    });
    http_->Get("/mac/(.*)", [](const httplib::Request &, httplib::Response &res) {
        res.set_content(envelope(codes::badRequest, "请使用POST请求"), jsonType);
    });
    http_->set_exception_handler(
        [](const httplib::Request &req, httplib::Response &res, std::exception_ptr ep) {
            std::string what = "unknown";
            try {
                std::rethrow_exception(ep);
            } catch (const std::exception &e) {
                what = e.what();
            } catch (...) {
            }
            std::cerr << "brenvo-backend: error on " << req.path << ": " << what << std::endl;
            res.status = 500;
            res.set_content(envelope(codes::serverError, "服务器内部错误"), jsonType);
        });

    registerAllEndpoints(*this);
}

BackendServer::~BackendServer()
{
    stop();
}

int BackendServer::bind()
{
    if (options_.port == 0) {
        port_ = http_->bind_to_any_port(options_.host);
        if (port_ < 0)
            throw std::runtime_error("cannot listen on " + options_.host);
    } else {
        if (!http_->bind_to_port(options_.host, options_.port))
            throw std::runtime_error("cannot listen on " + options_.host + ":" +
                                     std::to_string(options_.port));
        port_ = options_.port;
    }
    // cpp-httplib listens with a backlog of 5: twenty clients connecting at once overflow it,
    // and the connections the kernel drops come back to their clients as failed reads.
    // Listening again on the bound socket only widens the queue.
    if (listenSocket_ != -1)
        ::listen(static_cast<socket_t>(listenSocket_), SOMAXCONN);
    return port_;
}

void BackendServer::listen()
{
    http_->listen_after_bind();
}

void BackendServer::stop()
{
    if (http_)
        http_->stop();
}

std::string BackendServer::baseUrl() const
{
    const bool v6 = options_.host.find(':') != std::string::npos;
    return std::string(isHttps() ? "https" : "http") + "://" + (v6 ? "[" : "") + options_.host +
           (v6 ? "]" : "") + ":" + std::to_string(port_);
}

std::string BackendServer::baseUrlFor(const httplib::Request &req) const
{
    const std::string host = req.get_header_value("Host");
    if (host.empty())
        return baseUrl();
    return std::string(isHttps() ? "https" : "http") + "://" + host;
}

std::string BackendServer::answer(const std::string &path, const std::string &bodyText,
                                  const std::string &querySign, const std::string &baseUrl)
{
    try {
        const ApiRegistry::Entry *entry = api_.find(path);
        if (!entry)
            return envelope(codes::notFound, "接口不存在: " + path);
        Json::Value body;
        if (!parseBody(bodyText, body) || !body.isObject())
            return envelope(codes::badRequest, "请求内容不是JSON对象");

        // Checks that need no data: the signature and the clock.
        const Json::Value &ts = body["timestamp"];
        if (!ts.isString())
            return envelope(codes::badRequest, "缺少参数: timestamp");
        std::int64_t stamp = 0;
        try {
            size_t used = 0;
            stamp = std::stoll(ts.asString(), &used);
            if (used != ts.asString().size())
                throw std::invalid_argument("timestamp");
        } catch (const std::exception &) {
            return envelope(codes::badRequest, "参数类型错误: timestamp");
        }
        const std::int64_t now = nowMs();
        if (stamp < now - timestampWindowMs || stamp > now + timestampWindowMs)
            return envelope(codes::forbidden, "请求时间戳已过期，请校准终端时间");

        std::string sign;
        if (entry->access == Access::Handshake) {
            sign = body["token"].isString() ? body["token"].asString() : std::string();
            const Json::Value &serial = body["serialNum"];
            if (!serial.isString() || serial.asString().empty())
                return envelope(codes::badRequest, "缺少参数: serialNum");
            if (sign.empty())
                return envelope(codes::badRequest, "缺少参数: token");
            if (!crypto::equalConstantTime(crypto::mmd5(serial.asString(), ts.asString()), sign))
                return envelope(codes::forbidden, "签名错误");
        } else {
            if (querySign.empty())
                return envelope(codes::forbidden, "缺少签名");
            if (!crypto::equalConstantTime(crypto::requestSignature(body), querySign))
                return envelope(codes::forbidden, "签名错误");
            sign = querySign;
        }
        return run(*entry, path, body, sign, baseUrl);
    } catch (const ApiError &e) {
        return envelope(e.code(), e.what());
    } catch (const std::exception &e) {
        std::cerr << "brenvo-backend: error on " << path << ": " << e.what() << std::endl;
        return envelope(codes::serverError, "服务器内部错误");
    }
}

std::string BackendServer::run(const ApiRegistry::Entry &entry, const std::string &path,
                               const Json::Value &body, const std::string &sign,
                               const std::string &baseUrl)
{
    if (++requestCount_ % 512 == 0)
        pruneOldAnswers();

    auto conn = db_.acquire();
    Transaction tx(*conn);
    const std::string key = replayKey(path, body, sign);
    {
        // The same request again (a retry whose first reply was lost, or a replay): the
        // first answer, without running it twice.
        Query q = conn->query("SELECT body FROM replies WHERE key = ?", key);
        if (q.next())
            return q.text(0);
    }

    Call call{*conn, keys_, options_, body, nowMs(), baseUrl};
    identify(call, entry.access); // refusals here are not remembered

    std::string text;
    {
        Savepoint handlerWrites(*conn);
        try {
            text = envelope(codes::ok, "操作成功", entry.handler(call));
            handlerWrites.release();
        } catch (const ApiError &e) {
            text = envelope(e.code(), e.what());
        }
    }
    conn->exec("INSERT INTO replies (key, created_at, body) VALUES (?, ?, ?)", key, call.now, text);
    tx.commit();
    return text;
}

void BackendServer::identify(Call &call, Access access) const
{
    const std::string bodySerial =
        call.body["serialNum"].isString() ? call.body["serialNum"].asString() : std::string();
    if (access == Access::Handshake) {
        Query q = call.db.query("SELECT t.id, t.store_id, s.merc_id FROM terminals t "
                                "JOIN stores s ON s.id = t.store_id "
                                "WHERE t.serial_num = ? AND t.enabled = 1",
                                bodySerial);
        if (!q.next())
            throw ApiError(codes::forbidden, "终端未注册: " + bodySerial);
        call.terminalId = q.integer(0);
        call.storeId = q.integer(1);
        call.mercId = q.integer(2);
        call.serialNum = bodySerial;
        return;
    }

    const std::string secret = call.text("appSecret");
    if (access == Access::Terminal) {
        // The card login may come with an empty serial number (the terminal fills it only
        // at a password login), so the handshake's secret names the terminal.
        Query q =
            call.db.query("SELECT t.id, t.store_id, s.merc_id, t.serial_num "
                          "FROM terminal_secrets ts JOIN terminals t ON t.id = ts.terminal_id "
                          "JOIN stores s ON s.id = t.store_id "
                          "WHERE ts.secret = ? AND ts.created_at >= ? AND t.enabled = 1",
                          secret, call.now - 24 * 3600 * 1000LL);
        if (secret.empty() || !q.next())
            throw ApiError(codes::forbidden, "appSecret无效，请重新握手");
        call.terminalId = q.integer(0);
        call.storeId = q.integer(1);
        call.mercId = q.integer(2);
        call.serialNum = q.text(3);
        call.appSecret = secret;
        if (!bodySerial.empty() && bodySerial != call.serialNum)
            throw ApiError(codes::forbidden, "终端序列号不符");
        return;
    }

    const std::string token = call.text("accessToken");
    Query q = call.db.query(
        "SELECT se.worker_id, se.terminal_id, se.app_secret, se.last_seen, se.ended_at, "
        "t.serial_num, se.store_id, s.merc_id, w.enabled "
        "FROM sessions se JOIN terminals t ON t.id = se.terminal_id "
        "JOIN stores s ON s.id = se.store_id JOIN workers w ON w.id = se.worker_id "
        "WHERE se.token = ?",
        token);
    if (token.empty() || !q.next() || !q.isNull(4) || q.integer(8) != 1 ||
        q.integer(3) + options_.idleMs < call.now)
        throw ApiError(codes::unauthorized, "登录已过期，请重新登录");
    if (!crypto::equalConstantTime(q.text(2), secret))
        throw ApiError(codes::forbidden, "appSecret与登录不符");
    call.workerId = q.integer(0);
    call.terminalId = q.integer(1);
    call.serialNum = q.text(5);
    call.storeId = q.integer(6);
    call.mercId = q.integer(7);
    call.appSecret = secret;
    call.accessToken = token;
    if (!bodySerial.empty() && bodySerial != call.serialNum)
        throw ApiError(codes::forbidden, "终端序列号不符");
    call.db.exec("UPDATE sessions SET last_seen = ? WHERE token = ?", call.now, token);
}

void BackendServer::pruneOldAnswers()
{
    try {
        auto conn = db_.acquire();
        Transaction tx(*conn);
        const std::int64_t now = nowMs();
        conn->exec("DELETE FROM replies WHERE created_at < ?", now - replayKeepMs);
        conn->exec("DELETE FROM terminal_secrets WHERE created_at < ?",
                   now - 7 * 24 * 3600 * 1000LL);
        tx.commit();
    } catch (const std::exception &e) {
        std::cerr << "brenvo-backend: pruning old answers failed: " << e.what() << std::endl;
    }
}

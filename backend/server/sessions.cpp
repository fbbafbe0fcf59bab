#include "server/sessions.h"

#include <algorithm>

#include "server/call.h"
#include "server/crypto.h"
#include "server/options.h"
#include "store/database.h"

namespace sessions {

namespace {

constexpr std::int64_t secretLifeForLoginMs = 24 * 3600 * 1000LL;

// Writing down every request's time would make every read a write; a tenth of the idle
// time (at most a minute) is close enough, and the limit allows for it.
std::int64_t touchAfterMs(std::int64_t idleMs)
{
    return std::min<std::int64_t>(idleMs / 10, 60 * 1000);
}

std::string bodySerial(const Call &call)
{
    const Json::Value &v = call.body["serialNum"];
    return v.isString() ? v.asString() : std::string();
}

// A worker's calls name the terminal the session was opened on. A login may leave the serial
// out, since the handshake's secret names the terminal, but may not name another one.
void checkSerial(const Call &call, const std::string &sent, bool required)
{
    if ((required || !sent.empty()) && sent != call.serialNum)
        throw ApiError(codes::forbidden, "终端序列号不符");
}

void identifyTerminal(Call &call)
{
    const std::string serial = bodySerial(call);
    Query q = call.db.query("SELECT t.id AS terminalId, t.store_id AS storeId, s.merc_id AS mercId "
                            "FROM terminals t JOIN stores s ON s.id = t.store_id "
                            "WHERE t.serial_num = ? AND t.enabled = 1",
                            serial);
    if (!q.next())
        throw ApiError(codes::forbidden, "终端未注册: " + serial);
    call.terminalId = q.integer("terminalId");
    call.storeId = q.integer("storeId");
    call.mercId = q.integer("mercId");
    call.serialNum = serial;
}

// The card login may come with an empty serial number (the terminal fills it only at a
// password login), so the handshake's secret names the terminal.
void identifyBySecret(Call &call)
{
    const std::string secret = call.text("appSecret");
    Query q = call.db.query("SELECT t.id AS terminalId, t.store_id AS storeId, "
                            "s.merc_id AS mercId, t.serial_num AS serialNum "
                            "FROM terminal_secrets ts JOIN terminals t ON t.id = ts.terminal_id "
                            "JOIN stores s ON s.id = t.store_id "
                            "WHERE ts.secret = ? AND ts.created_at >= ? AND t.enabled = 1",
                            secret, call.now - secretLifeForLoginMs);
    if (secret.empty() || !q.next())
        throw ApiError(codes::forbidden, "appSecret无效，请重新握手");
    call.terminalId = q.integer("terminalId");
    call.storeId = q.integer("storeId");
    call.mercId = q.integer("mercId");
    call.serialNum = q.text("serialNum");
    call.appSecret = secret;
    checkSerial(call, bodySerial(call), false);
}

bool identifyWorker(Call &call, bool canWrite)
{
    const std::string secret = call.text("appSecret");
    const std::string token = call.text("accessToken");
    const std::string hash = hashOf(token);
    Query q = call.db.query(
        "SELECT se.worker_id AS workerId, se.terminal_id AS terminalId, "
        "se.app_secret AS appSecret, se.last_seen AS lastSeen, t.serial_num AS serialNum, "
        "se.store_id AS storeId, s.merc_id AS mercId "
        "FROM sessions se JOIN terminals t ON t.id = se.terminal_id "
        "JOIN stores s ON s.id = se.store_id JOIN workers w ON w.id = se.worker_id "
        "WHERE se.token_hash = ? AND se.ended_at IS NULL AND w.enabled = 1 AND se.last_seen >= ?",
        hash, call.now - call.options.idleMs - touchAfterMs(call.options.idleMs));
    if (token.empty() || !q.next())
        throw ApiError(codes::unauthorized, "登录已过期，请重新登录");
    if (!crypto::equalConstantTime(q.text("appSecret"), secret))
        throw ApiError(codes::forbidden, "appSecret与登录不符");
    call.workerId = q.integer("workerId");
    call.terminalId = q.integer("terminalId");
    call.serialNum = q.text("serialNum");
    call.storeId = q.integer("storeId");
    call.mercId = q.integer("mercId");
    call.appSecret = secret;
    call.sessionHash = hash;
    checkSerial(call, bodySerial(call), true);
    if (call.now - q.integer("lastSeen") <= touchAfterMs(call.options.idleMs))
        return false;
    if (!canWrite)
        return true;
    call.db.exec("UPDATE sessions SET last_seen = ? WHERE token_hash = ?", call.now, hash);
    return false;
}

} // namespace

std::string hashOf(const std::string &token)
{
    return crypto::sha256Hex(token);
}

bool identify(Call &call, Access access, bool canWrite)
{
    switch (access) {
    case Access::Handshake:
        identifyTerminal(call);
        return false;
    case Access::Terminal:
        identifyBySecret(call);
        return false;
    case Access::Worker:
        return identifyWorker(call, canWrite);
    }
    return false;
}

bool isLive(Connection &db, const std::string &tokenHash, std::int64_t now, std::int64_t idleMs)
{
    return db.scalar(0,
                     "SELECT COUNT(*) FROM sessions se JOIN workers w ON w.id = se.worker_id "
                     "WHERE se.token_hash = ? AND se.ended_at IS NULL AND w.enabled = 1 "
                     "AND se.last_seen >= ?",
                     tokenHash, now - idleMs - touchAfterMs(idleMs)) > 0;
}

std::string open(Call &call, std::int64_t workerId, const char *loginWay)
{
    const std::string token = call.keys.sessionToken(call.requestIdentity);
    call.db.exec("INSERT INTO sessions (token_hash, worker_id, terminal_id, store_id, app_secret, "
                 "login_way, sys_version, client_version, created_at, last_seen) "
                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                 hashOf(token), workerId, call.terminalId, call.storeId, call.appSecret, loginWay,
                 call.optionalText("sysVersion"), call.optionalText("version"), call.now, call.now);
    return token;
}

void end(Call &call)
{
    call.db.exec("UPDATE sessions SET ended_at = ? WHERE token_hash = ?", call.now,
                 call.sessionHash);
}

} // namespace sessions

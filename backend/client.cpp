// Terminal handshake, worker logins and sign-out.

#include <json/json.h>

#include "apiregistry.h"
#include "crypto.h"
#include "database.h"
#include "endpoints.h"

namespace {

Json::Value handshake(Call &call)
{
    const std::string mac = call.optionalText("mac");
    if (!mac.empty())
        call.db.exec("UPDATE terminals SET mac = ? WHERE id = ?", mac, call.terminalId);
    const std::string secret = crypto::randomHex(16);
    call.db.exec("INSERT INTO terminal_secrets (terminal_id, secret, created_at) VALUES (?, ?, ?)",
                 call.terminalId, secret, call.now);
    Json::Value data(Json::objectValue);
    data["appSecret"] = secret;
    return data;
}

// Opens a session for the worker on this terminal and answers what the sign-in shows.
Json::Value openSession(Call &call, std::int64_t workerId, bool enabled, const char *way)
{
    if (!enabled)
        throw ApiError(codes::forbidden, "该账号已停用");
    const std::string token = crypto::randomHex(24);
    call.db.exec("INSERT INTO sessions (token, worker_id, terminal_id, store_id, app_secret, "
                 "login_way, sys_version, client_version, created_at, last_seen) "
                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                 token, workerId, call.terminalId, call.storeId, call.appSecret, way,
                 call.optionalText("sysVersion"), call.optionalText("version"), call.now, call.now);

    Json::Value data(Json::objectValue);
    data["accessToken"] = token;
    {
        Query q = call.db.query("SELECT id, name, addr_desc, created_at, phone FROM stores "
                                "WHERE id = ?",
                                call.storeId);
        q.next();
        Json::Value &s = data["storeInfo"];
        s["id"] = reply::number(q.integer(0));
        s["name"] = q.text(1);
        s["addrDesc"] = q.text(2);
        s["createTime"] = reply::msText(q.integer(3));
        s["phone"] = q.text(4);
    }
    {
        Query q =
            call.db.query("SELECT id, name, img_path, account FROM workers WHERE id = ?", workerId);
        q.next();
        Json::Value &w = data["workerInfo"];
        w["id"] = reply::number(q.integer(0));
        w["name"] = q.text(1);
        w["imgPath"] = q.text(2);
        w["account"] = q.text(3);
    }
    {
        Query q = call.db.query("SELECT id, name, logo_path, main_info FROM merchants WHERE id = ?",
                                call.mercId);
        q.next();
        Json::Value &m = data["mercInfo"];
        m["id"] = reply::number(q.integer(0));
        m["name"] = q.text(1);
        m["logoPath"] = q.text(2);
        m["mainInfo"] = q.text(3);
    }
    return data;
}

Json::Value passwordLogin(Call &call)
{
    const std::string account = call.text("account");
    const std::string password = call.text("password");
    if (account.empty() || password.empty())
        throw ApiError(codes::badRequest, "请输入账号和密码");
    Query q = call.db.query("SELECT id, pwd_salt, pwd_sealed, enabled FROM workers "
                            "WHERE account = ? AND merc_id = ?",
                            account, call.mercId);
    const bool found = q.next();
    // The same answer for an unknown account and a wrong password.
    if (!found || !call.keys.checkPassword(q.text(1), q.blob(2), call.appSecret, password))
        throw ApiError(codes::forbidden, "账号或密码错误");
    return openSession(call, q.integer(0), q.integer(3) == 1, "password");
}

Json::Value cardLogin(Call &call)
{
    const std::string secret = call.text("rfidSecret");
    if (secret.empty())
        throw ApiError(codes::badRequest, "未读到工卡，请将工卡放在读卡器上");
    Query q = call.db.query("SELECT id, enabled FROM workers WHERE card_hash = ? AND merc_id = ?",
                            call.keys.cardHash(secret), call.mercId);
    if (!q.next())
        throw ApiError(codes::forbidden, "工卡无效");
    return openSession(call, q.integer(0), q.integer(1) == 1, "card");
}

Json::Value logout(Call &call)
{
    call.db.exec("UPDATE sessions SET ended_at = ? WHERE token = ?", call.now, call.accessToken);
    return {};
}

} // namespace

void registerClientEndpoints(ApiRegistry &api)
{
    api.add("client/sign", Access::Handshake, handshake);
    api.add("client/login", Access::Terminal, passwordLogin);
    api.add("cashier/refid/login", Access::Terminal, cardLogin);
    api.add("client/logout", Access::Worker, logout);
}

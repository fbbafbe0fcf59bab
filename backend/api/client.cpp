// client/...: the terminal's handshake, the password login and sign-out.

#include "api/families.h"
#include "domain/signin.h"
#include "server/call.h"
#include "server/crypto.h"
#include "server/registry.h"
#include "store/database.h"

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

Json::Value passwordLogin(Call &call)
{
    const std::string account = call.text("account");
    const std::string password = call.text("password");
    if (account.empty() || password.empty())
        throw ApiError(codes::badRequest, "请输入账号和密码");
    Query q = call.db.query("SELECT id, pwd_salt AS salt, pwd_sealed AS sealed, enabled "
                            "FROM workers WHERE account = ? AND merc_id = ?",
                            account, call.mercId);
    const bool found = q.next();
    // The same answer for an unknown account and a wrong password.
    if (!found ||
        !call.keys.checkPassword(q.text("salt"), q.blob("sealed"), call.appSecret, password))
        throw ApiError(codes::forbidden, "账号或密码错误");
    return signin::openSession(call, q.integer("id"), q.integer("enabled") == 1, "password");
}

Json::Value logout(Call &call)
{
    call.endSession();
    return {};
}

} // namespace

void api::client::registerEndpoints(ApiRegistry &api)
{
    api.write("client/sign", Access::Handshake, handshake);
    api.write("client/login", Access::Terminal, passwordLogin);
    api.write("client/logout", Access::Worker, logout);
}

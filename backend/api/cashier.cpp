// cashier/...: the staff-card login.

#include "api/families.h"
#include "domain/signin.h"
#include "server/call.h"
#include "server/crypto.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

Json::Value cardLogin(Call &call)
{
    const std::string secret = call.text("rfidSecret");
    if (secret.empty())
        throw ApiError(codes::badRequest, "未读到工卡，请将工卡放在读卡器上");
    Query q = call.db.query("SELECT id, enabled FROM workers WHERE card_hash = ? AND merc_id = ?",
                            call.keys.cardHash(secret), call.mercId);
    if (!q.next())
        throw ApiError(codes::forbidden, "工卡无效");
    return signin::openSession(call, q.integer("id"), q.integer("enabled") == 1, "card");
}

} // namespace

void api::cashier::registerEndpoints(ApiRegistry &api)
{
    api.write("cashier/refid/login", Access::Terminal, cardLogin);
}

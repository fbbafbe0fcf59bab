#include "domain/signin.h"

#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace signin {

namespace {

Json::Value one(Call &call, const char *sql, std::int64_t id)
{
    Query q = call.db.query(sql, id);
    if (!q.next())
        throw ApiError(codes::notFound, "登录信息不完整");
    return q.object();
}

} // namespace

Json::Value openSession(Call &call, std::int64_t workerId, bool enabled, const char *loginWay)
{
    if (!enabled)
        throw ApiError(codes::forbidden, "该账号已停用");
    Json::Value data(Json::objectValue);
    data["accessToken"] = call.openSession(workerId, loginWay);
    // The terminal reads the store's createTime as text.
    data["storeInfo"] =
        one(call,
            "SELECT id, name, addr_desc AS addrDesc, "
            "CAST(created_at AS TEXT) AS createTime, phone FROM stores WHERE id = ?",
            call.storeId);
    data["workerInfo"] = one(
        call, "SELECT id, name, img_path AS imgPath, account FROM workers WHERE id = ?", workerId);
    data["mercInfo"] = one(call,
                           "SELECT id, name, logo_path AS logoPath, main_info AS mainInfo "
                           "FROM merchants WHERE id = ?",
                           call.mercId);
    return data;
}

} // namespace signin

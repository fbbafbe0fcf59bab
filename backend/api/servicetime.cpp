// serviceTime/...: the merchant's pick-up and delivery time slots.

#include "api/families.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

Json::Value serviceTimes(Call &call)
{
    Json::Value data(Json::objectValue);
    Json::Value &list = data["list"] = Json::Value(Json::arrayValue);
    Query q = call.db.query("SELECT id, time_start AS timeStart, time_end AS timeEnd "
                            "FROM service_times WHERE merc_id = ? ORDER BY time_start, id",
                            call.mercId);
    while (q.next())
        list.append(q.object());
    return data;
}

} // namespace

void api::serviceTime::registerEndpoints(ApiRegistry &api)
{
    api.read("serviceTime/list", Access::Worker, serviceTimes);
}

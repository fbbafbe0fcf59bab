// mercParam/...: the merchant's settings the terminal needs.

#include "api/families.h"
#include "domain/merchant.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// The means of payment the merchant has opened, and its other means ("其他") by name.
Json::Value paymentConfig(Call &call)
{
    Json::Value data(Json::objectValue);
    Json::Value list(Json::arrayValue);
    Query q = call.db.query("SELECT val, show_name AS showName, name FROM pay_signs "
                            "WHERE merc_id = ? ORDER BY sort, id",
                            call.mercId);
    while (q.next())
        list.append(q.object());
    data["paySignList"] = list;
    merchant::addPayMeans(call.db, call.mercId, data);
    data["otherRecharge"] =
        merchant::setting(call.db, call.mercId, merchant::settings::otherRecharge) == "1" ? 1 : 0;
    return data;
}

} // namespace

void api::mercParam::registerEndpoints(ApiRegistry &api)
{
    api.read("mercParam/getPaymentConfig", Access::Worker, paymentConfig);
}

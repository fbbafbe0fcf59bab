// sysDicKey/...: the dictionaries' choices as the terminal lists them.

#include "api/families.h"
#include "domain/merchant.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// The means a refund may go back by: `data` is the list, each `id` and `showText`.
Json::Value refundMethods(Call &call)
{
    Json::Value list(Json::arrayValue);
    Query q = call.db.query("SELECT val AS id, text AS showText FROM dictionary "
                            "WHERE code = 'REFUND_METHOD' ORDER BY sort, val");
    while (q.next())
        list.append(q.object());
    return list;
}

// `code` (ORDER_STATUS, PRODUCT_STATUS, ...): the dictionary's choices, each `text` and `val`.
Json::Value keyList(Call &call)
{
    return merchant::dictionaryChoices(call.db, trimmed(call.requiredText("code")));
}

} // namespace

void api::sysDicKey::registerEndpoints(ApiRegistry &api)
{
    api.read("sysDicKey/refundMethodList", Access::Worker, refundMethods);
    api.read("sysDicKey/keyList", Access::Worker, keyList);
}

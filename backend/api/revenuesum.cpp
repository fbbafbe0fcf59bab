// revenueSum/...: the store's takings of a day or month, by means, and of the days or months
// up to it.

#include "api/families.h"
#include "domain/reports.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// `storeId`, `dateType`, `date`: `payList` (`payMethod`, `payMethodText`, `amount`), a line
// for every means that moved money, and their sum `totalAmt`.
Json::Value summary(Call &call)
{
    const reports::Asked asked = reports::asked(call);
    Json::Value list(Json::arrayValue);
    std::int64_t total = 0;
    for (const auto &[means, amount] : reports::takings(call.db, call.storeId, asked.span)) {
        if (amount == 0)
            continue;
        Json::Value line(Json::objectValue);
        line["payMethod"] = means.means;
        line["payMethodText"] = reports::meansText(call.db, call.storeId, means);
        line["amount"] = Json::Int64(amount);
        list.append(line);
        total += amount;
    }
    Json::Value data(Json::objectValue);
    data["totalAmt"] = Json::Int64(total);
    data["payList"] = list;
    return data;
}

// The same fields: `list`, the takings (`amount`) of each of the 30 days up to the day asked,
// or of the 12 months up to the month, oldest first, each with its `date` ("yyyy-MM-dd" or
// "yyyy-MM").
Json::Value trend(Call &call)
{
    const reports::Asked asked = reports::asked(call);
    Json::Value list(Json::arrayValue);
    for (const reports::Step &step : reports::stepsUpTo(asked, asked.monthly ? 12 : 30)) {
        Json::Value entry(Json::objectValue);
        entry["date"] = step.label;
        entry["amount"] = Json::Int64(reports::takingsTotal(call.db, call.storeId, step.span));
        list.append(entry);
    }
    Json::Value data(Json::objectValue);
    data["list"] = list;
    return data;
}

} // namespace

void api::revenueSum::registerEndpoints(ApiRegistry &api)
{
    api.read("revenueSum/queryReport", Access::Worker, summary);
    api.read("revenueSum/trend", Access::Worker, trend);
}

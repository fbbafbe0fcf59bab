// attachment/...: upload tokens for the photo store.

#include "api/families.h"
#include "server/call.h"
#include "server/crypto.h"
#include "server/options.h"
#include "server/registry.h"

namespace {

Json::Value qiniuToken(Call &call)
{
    const std::int64_t deadline = call.now / 1000 + call.options.uploadTokenSeconds;
    Json::Value data(Json::objectValue);
    data["token"] = call.keys.uploadToken(deadline, "store-" + std::to_string(call.storeId));
    data["deadline"] = Json::Int64(deadline);
    data["domain"] = call.baseUrl + "/files/";
    return data;
}

} // namespace

void api::attachment::registerEndpoints(ApiRegistry &api)
{
    api.read("attachment/qiniu/token", Access::Worker, qiniuToken);
}

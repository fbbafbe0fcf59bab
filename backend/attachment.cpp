// Upload tokens for the photo store.

#include <json/json.h>

#include "apiregistry.h"
#include "backendserver.h"
#include "crypto.h"
#include "endpoints.h"

namespace {

Json::Value qiniuToken(Call &call)
{
    const std::int64_t deadline = call.now / 1000 + call.options.uploadTokenSeconds;
    Json::Value data(Json::objectValue);
    data["token"] = call.keys.uploadToken(deadline, "store-" + std::to_string(call.storeId));
    data["deadline"] = reply::number(deadline);
    data["domain"] = call.baseUrl + "/files/";
    return data;
}

} // namespace

void registerAttachmentEndpoints(ApiRegistry &api)
{
    api.add("attachment/qiniu/token", Access::Worker, qiniuToken);
}

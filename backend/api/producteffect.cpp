// productEffect/...: the catalogue's expected effects after cleaning, by name, 40 a page.

#include "api/families.h"
#include "domain/catalogue.h"
#include "server/registry.h"

namespace {

Json::Value entries(Call &call)
{
    return catalogue::choicePage(call, catalogue::lists::effects);
}

} // namespace

void api::productEffect::registerEndpoints(ApiRegistry &api)
{
    api.read("productEffect/list", Access::Worker, entries);
}

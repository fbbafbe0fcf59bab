// productColor/...: the catalogue's colours, by name, 40 a page.

#include "api/families.h"
#include "domain/catalogue.h"
#include "server/registry.h"

namespace {

Json::Value entries(Call &call)
{
    return catalogue::choicePage(call, catalogue::lists::colors);
}

} // namespace

void api::productColor::registerEndpoints(ApiRegistry &api)
{
    api.read("productColor/list", Access::Worker, entries);
}

// productBrand/...: the catalogue's brands, by name, 40 a page.

#include "api/families.h"
#include "domain/catalogue.h"
#include "server/registry.h"

void api::productBrand::registerEndpoints(ApiRegistry &api)
{
    api.read("productBrand/list", Access::Worker,
             [](Call &call) { return catalogue::choicePage(call, catalogue::lists::brands); });
}

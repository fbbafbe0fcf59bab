// productFlaw/...: the catalogue's flaws, by name, 40 a page.

#include "api/families.h"
#include "domain/catalogue.h"
#include "server/registry.h"

void api::productFlaw::registerEndpoints(ApiRegistry &api)
{
    api.read("productFlaw/list", Access::Worker,
             [](Call &call) { return catalogue::choicePage(call, catalogue::lists::flaws); });
}

// productColor/...: the catalogue's colours, by name, 40 a page.

#include "api/families.h"
#include "domain/catalogue.h"
#include "server/registry.h"

void api::productColor::registerEndpoints(ApiRegistry &api)
{
    api.read("productColor/list", Access::Worker,
             [](Call &call) { return catalogue::choicePage(call, catalogue::lists::colors); });
}

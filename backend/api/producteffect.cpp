// productEffect/...: the catalogue's expected effects after cleaning, by name, 40 a page.

#include "api/families.h"
#include "domain/catalogue.h"
#include "server/registry.h"

void api::productEffect::registerEndpoints(ApiRegistry &api)
{
    api.read("productEffect/list", Access::Worker,
             [](Call &call) { return catalogue::choicePage(call, catalogue::lists::effects); });
}

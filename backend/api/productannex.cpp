// productAnnex/...: the catalogue's accessories, limited by the garment's business line
// (`businessId`), by name, 40 a page.

#include "api/families.h"
#include "domain/catalogue.h"
#include "server/registry.h"

void api::productAnnex::registerEndpoints(ApiRegistry &api)
{
    api.read("productAnnex/list", Access::Worker,
             [](Call &call) { return catalogue::choicePage(call, catalogue::lists::annexes); });
}

// productAddService/...: the catalogue's add-on services with their catalogue amounts
// (`amt`, fen), limited by the garment's business line (`businessId`), by name, 40 a page.

#include "api/families.h"
#include "domain/catalogue.h"
#include "server/registry.h"

void api::productAddService::registerEndpoints(ApiRegistry &api)
{
    api.read("productAddService/list", Access::Worker,
             [](Call &call) { return catalogue::choicePage(call, catalogue::lists::addServices); });
}

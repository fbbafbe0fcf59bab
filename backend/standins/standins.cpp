#include "standins/standins.h"

void standins::registerAll(BackendServer &server)
{
    registerUploadStore(server);
    registerVendorFiles(server);
    registerMapService(server);
    registerWallet(server);
    registerRefundAudit(server);
    registerFactory(server);
}

#pragma once

class BackendServer;

// Stand-ins for the outside services the terminal reaches besides the backend, each on a
// prefix of its own.
namespace standins {

void registerAll(BackendServer &server);

void registerUploadStore(BackendServer &server); // "/qiniu" form upload, "/files/<key>"
void registerVendorFiles(BackendServer &server); // "/vendor/upgrade_pc.txt", ...
void registerMapService(BackendServer &server);  // "/amap/v3/..."
void registerWallet(BackendServer &server);      // "/wallet/scan": the customer scans a QR trade
void registerRefundAudit(
    BackendServer &server); // "/audit/refund": the head office decides a refund
// "/factory/...": the logistics worker and the factory, a bag's road there and back
void registerFactory(BackendServer &server);

} // namespace standins

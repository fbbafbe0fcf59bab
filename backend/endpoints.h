#pragma once

// Every endpoint family registers itself here; BackendServer calls these once at start.
// A new family: add a source file with its register function, declare it below, call it
// from registerAllEndpoints() in backendserver.cpp and list the file in CMakeLists.txt.

class ApiRegistry;
class BackendServer;

// "/mac/..." families.
void registerClientEndpoints(ApiRegistry &api);     // client/sign, logins, logout
void registerWkMenuEndpoints(ApiRegistry &api);     // wkMenu/...
void registerAttachmentEndpoints(ApiRegistry &api); // attachment/qiniu/token
void registerUserEndpoints(ApiRegistry &api);        // userInfo/..., userTag/..., rfid/user/...
void registerUserAddressEndpoints(ApiRegistry &api); // userAddress/list, add; serviceTime/list
void registerCouponEndpoints(ApiRegistry &api);      // couponInfo/userList, couponFCode/...
void registerOrderEndpoints(ApiRegistry &api);       // orderInfo/add
void registerPrintEndpoints(ApiRegistry &api);      // print/... (ticket, labels, certificate)
void registerPhotoEndpoints(ApiRegistry &api);      // orderProductRelImg/...

// Outside services on their own prefixes.
void registerUploadStore(BackendServer &server); // "/qiniu" form upload, "/files/<key>"
void registerVendorFiles(BackendServer &server); // "/vendor/upgrade_pc.txt", ...
void registerMapService(BackendServer &server);  // "/amap/v3/..."

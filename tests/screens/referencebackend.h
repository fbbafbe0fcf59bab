#pragma once

#include <QByteArray>
#include <QtGlobal>

// Points the terminal's configuration at a reference backend at `base`: its API and its
// stand-ins for the photo store, the map service and the vendor's host. Shared by the screen
// tests and the screen benchmark, so both follow the stand-ins wherever they are served.
inline void useReferenceBackend(const QByteArray &base)
{
    qputenv("BRENVO_BACKEND_URL", base);
    qputenv("BRENVO_UPLOAD_HOST", base + "/qiniu");
    qputenv("BRENVO_MAP_HOST", base + "/amap");
    qputenv("BRENVO_VENDOR_HOST", base + "/vendor/");
}

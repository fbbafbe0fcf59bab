#include "app/typeregistry.h"

#include "app/appconfig.h"
#include "app/bvmessagebox.h"
#include "device/fileio.h"
#include "net/ccnetworkrequest.h"
#include "net/signset.h"
#include "print/printerhelper.h"

#include <QQmlEngine>
#include <QUrl>

void registerBrenvoTypes()
{
    qmlRegisterType<FileIo>("FileIo", 1, 0, "FileIo");
    qmlRegisterType<CCNetWorkRequest>("ks.Net.CCRequest", 1, 0, "CCRequest");
    qmlRegisterType<SignSet>("SignSet", 1, 0, "SignSet");
    qmlRegisterType<PrinterHelper>("PrinterHelper", 1, 0, "PrinterHelper");
    qmlRegisterType<BVMessageBox>("BVMessageBox", 1, 0, "BVMessageBox");

    qmlRegisterSingletonType(QUrl(QStringLiteral("qrc:/Session.qml")), "Brenvo", 1, 0, "Session");
    qmlRegisterSingletonType(QUrl(QStringLiteral("qrc:/Theme.qml")), "Brenvo", 1, 0, "Theme");
    qmlRegisterSingletonType(QUrl(QStringLiteral("qrc:/Logs.qml")), "Brenvo", 1, 0, "Logs");
    qmlRegisterSingletonType<AppConfig>("Brenvo", 1, 0, "AppConfig",
                                        [](QQmlEngine *, QJSEngine *) -> QObject * {
                                            return new AppConfig;
                                        });
}

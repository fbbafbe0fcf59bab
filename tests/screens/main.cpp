// Runs the screen tests with the terminal's own types, resources and image provider, each
// test file in a fresh working folder so settings files never leak between tests.
#include "app/applogging.h"
#include "app/chineselocale.h"
#include "app/typeregistry.h"
#include "print/imageprovider.h"
#include "tests/screens/fakebackend.h"
#include "tests/screens/testsupport.h"

#include <QDir>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QtQuickTest>

class Setup : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    void applicationAvailable()
    {
        registerBrenvoTypes();
        qmlRegisterSingletonType<TestSupport>(
            "BrenvoTest", 1, 0, "TestSupport",
            [](QQmlEngine *, QJSEngine *) -> QObject * { return new TestSupport; });
        qmlRegisterType<FakeBackend>("BrenvoTest", 1, 0, "FakeBackend");
    }

    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->addImageProvider(QStringLiteral("imageProvider"), new ImageProvider);
    }
};

int main(int argc, char **argv)
{
    // The screens run as in the terminal, whatever the machine's locale.
    useChineseLocale();
    installScreenLogging();
    QTemporaryDir workDir;
    QDir::setCurrent(workDir.path());
    TestSupport::configureBackend();
    TestSupport::recordMessageBoxes();
    Setup setup;
    return quick_test_main_with_setup(argc, argv, "screens", nullptr, &setup);
}

#include "main.moc"

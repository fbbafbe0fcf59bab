#include "tests/screens/testsupport.h"

#include "app/bvmessagebox.h"
#include "tests/print/printtestsupport.h"
#include "tests/screens/referencebackend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPointer>

#include <optional>

namespace {

// The address the tests started with; tests may point the terminal elsewhere for a while.
QString &startAddress()
{
    static QString address;
    return address;
}

// The values of the variables tests changed, from before the change (none: it was unset).
QHash<QString, std::optional<QByteArray>> &changedEnv()
{
    static QHash<QString, std::optional<QByteArray>> values;
    return values;
}

struct RecordedBoxes
{
    QVariantList shown;
    bool confirm = true;
    // Told of each box; the one instance the QML engine made.
    QPointer<TestSupport> listener;
};

RecordedBoxes &recorded()
{
    static RecordedBoxes boxes;
    return boxes;
}

void record(const QString &kind, const QString &title, const QString &text)
{
    recorded().shown.append(QVariant(QVariantList{kind, title, text}));
    if (recorded().listener)
        emit recorded().listener->boxShown(kind, title, text);
}

} // namespace

TestSupport::TestSupport(QObject *parent) : QObject(parent)
{
    recorded().listener = this;
}

void TestSupport::configureBackend()
{
    QFile file(qEnvironmentVariable("BRENVO_TEST_BACKEND_FILE"));
    if (!file.open(QIODevice::ReadOnly)) {
        startAddress() = qEnvironmentVariable("BRENVO_BACKEND_URL");
        return;
    }
    const QByteArray base = file.readAll().trimmed();
    useReferenceBackend(base);
    startAddress() = QString::fromUtf8(base);
}

void TestSupport::recordMessageBoxes()
{
    BVMessageBox::setPresenter([](const QString &kind, const QString &title, const QString &text) {
        record(kind, title, text);
        return recorded().confirm;
    });
}

void TestSupport::recordBox(const QString &kind, const QString &title, const QString &text)
{
    record(kind, title, text);
}

QVariantList TestSupport::boxes() const
{
    return recorded().shown;
}

void TestSupport::clearBoxes()
{
    recorded().shown.clear();
    recorded().confirm = true;
}

void TestSupport::confirmBoxes(bool confirm)
{
    recorded().confirm = confirm;
}

QString TestSupport::backendUrl() const
{
    return startAddress();
}

QString TestSupport::shotsDir() const
{
    return qEnvironmentVariable("BRENVO_SHOTS_DIR");
}

void TestSupport::setEnv(const QString &name, const QString &value)
{
    const QByteArray key = name.toLocal8Bit();
    if (!changedEnv().contains(name)) {
        std::optional<QByteArray> before;
        if (qEnvironmentVariableIsSet(key.constData()))
            before = qgetenv(key.constData());
        changedEnv().insert(name, before);
    }
    qputenv(key.constData(), value.toUtf8());
}

void TestSupport::restoreEnv()
{
    for (auto it = changedEnv().cbegin(); it != changedEnv().cend(); ++it) {
        const QByteArray key = it.key().toLocal8Bit();
        if (it.value())
            qputenv(key.constData(), *it.value());
        else
            qunsetenv(key.constData());
    }
    changedEnv().clear();
}

QString TestSupport::readFile(const QString &path) const
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool TestSupport::writeFile(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(text.toUtf8()) == text.toUtf8().size();
}

bool TestSupport::exists(const QString &path) const
{
    return QFileInfo::exists(path);
}

bool TestSupport::removeFile(const QString &path)
{
    if (QFileInfo(path).isDir())
        return QDir(path).removeRecursively();
    return QFile::remove(path);
}

QStringList TestSupport::pdfPages(const QString &pdf) const
{
    return PrintTest::pdfPages(pdf);
}

QStringList TestSupport::pdfCodes(const QString &pdf, int page) const
{
    return PrintTest::decodedCodes(pdf, page);
}

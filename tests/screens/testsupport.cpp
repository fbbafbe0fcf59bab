#include "tests/screens/testsupport.h"

#include "app/bvmessagebox.h"
#include "tests/print/printtestsupport.h"
#include "tests/screens/referencebackend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// The address the tests started with; tests may point the terminal elsewhere for a while.
QString &startAddress()
{
    static QString address;
    return address;
}
} // namespace

void TestSupport::configureBackend()
{
    QFile file(qEnvironmentVariable("BRENVO_TEST_BACKEND_FILE"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray base = file.readAll().trimmed();
    useReferenceBackend(base);
    startAddress() = QString::fromUtf8(base);
}

namespace {

struct RecordedBoxes
{
    QVariantList shown;
    bool confirm = true;
};

RecordedBoxes &recorded()
{
    static RecordedBoxes boxes;
    return boxes;
}

} // namespace

void TestSupport::recordMessageBoxes()
{
    BVMessageBox::setPresenter([](const QString &kind, const QString &title, const QString &text) {
        recorded().shown.append(QVariant(QVariantList{kind, title, text}));
        return recorded().confirm;
    });
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
    if (startAddress().isEmpty())
        startAddress() = qEnvironmentVariable("BRENVO_BACKEND_URL");
    return startAddress();
}

QString TestSupport::shotsDir() const
{
    return qEnvironmentVariable("BRENVO_SHOTS_DIR");
}

void TestSupport::setEnv(const QString &name, const QString &value)
{
    qputenv(name.toLocal8Bit().constData(), value.toUtf8());
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

#include "device/fileio.h"

#include "device/devicelog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QNetworkInterface>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSysInfo>

namespace {

// The only file of the terminal that keeps several values.
const QString accountListName = QStringLiteral("account.ini");

QStringList splitLines(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast(); // a final line break ends the last line, it starts no new one
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

bool containsLine(const QString &text, const QString &value)
{
    for (const QString &line : splitLines(text)) {
        if (line.compare(value, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString updaterProgram()
{
#ifdef Q_OS_WIN
    return QStringLiteral("maintenancetool.exe");
#else
    // Windows finds a bare program name in the current folder; elsewhere it must be named.
    return QDir::current().filePath(QStringLiteral("maintenancetool"));
#endif
}

} // namespace

FileIo::FileIo(QObject *parent) : QObject(parent) {}

void FileIo::setSource(const QString &source)
{
    m_source = source;
}

bool FileIo::holdsList() const
{
    return QFileInfo(m_source).fileName().compare(accountListName, Qt::CaseInsensitive) == 0;
}

bool FileIo::load(QString *text)
{
    text->clear();
    if (m_source.isEmpty()) {
        emit error(QStringLiteral("source is empty"));
        return false;
    }
    QFile file(m_source);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        emit error(QStringLiteral("Unable to open the file"));
        return false;
    }
    *text = QString::fromLocal8Bit(file.readAll());
    return true;
}

bool FileIo::exists() const
{
    return !m_source.isEmpty() && QFileInfo::exists(m_source);
}

QStringList FileIo::lines()
{
    QString text;
    return load(&text) ? splitLines(text) : QStringList();
}

QString FileIo::read()
{
    return lines().join(QString());
}

QString FileIo::reads(int lineNum)
{
    const QStringList all = lines();
    return lineNum >= 1 && lineNum <= all.size() ? all.at(lineNum - 1) : QString();
}

QString FileIo::readlines()
{
    QString text;
    load(&text);
    return text;
}

QJsonValue FileIo::readaccount(const QString &key)
{
    if (m_source.isEmpty()) {
        emit error(QStringLiteral("source is empty"));
        return QJsonValue(QString());
    }
    QJsonArray list;
    QFile file(m_source);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (const QString &line : splitLines(QString::fromLocal8Bit(file.readAll()))) {
            if (!line.isEmpty() && line.contains(key, Qt::CaseInsensitive))
                list.append(QJsonObject{{QStringLiteral("view"), line}});
        }
    }
    return QJsonObject{{QStringLiteral("list"), list}};
}

bool FileIo::write(const QString &date)
{
    return store(date, ListEnd::Top);
}

bool FileIo::writes(const QString &date)
{
    return store(date, ListEnd::Bottom);
}

bool FileIo::store(const QString &date, ListEnd end)
{
    if (m_source.isEmpty())
        return false;
    const QString previous = readlines();
    qCDebug(lcDevice).noquote() << "writes:" << previous << "\ndate:" << date;

    if (!holdsList()) {
        // A setting: the new value replaces the old one, an empty value clears it.
        const QString text = date.isEmpty() ? QString() : date + QLatin1Char('\n');
        return previous == text || save(text);
    }
    if (date.isEmpty() || containsLine(previous, date))
        return true;
    if (end == ListEnd::Top)
        return save(date + QLatin1Char('\n') + previous);
    return save(previous + QLatin1Char('\n') + date);
}

bool FileIo::save(const QString &text)
{
    const QFileInfo info(m_source);
    // A fresh terminal has no "setting" folder yet; without it no setting could be kept.
    QDir().mkpath(info.absolutePath());
    QSaveFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toLocal8Bit());
    return file.commit();
}

QString FileIo::getMac()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &interface : interfaces) {
        const auto flags = interface.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) &&
            flags.testFlag(QNetworkInterface::IsRunning) &&
            !flags.testFlag(QNetworkInterface::IsLoopBack))
            return interface.hardwareAddress();
    }
    return QString();
}

bool FileIo::deleteFile(const QString &namePath)
{
    const QDir folder(QDir::currentPath() + namePath);
    if (!folder.exists())
        return false;
    const QFileInfoList entries = folder.entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    bool allRemoved = true;
    for (auto it = entries.crbegin(); it != entries.crend(); ++it) {
        if (it->isDir())
            continue; // callers only clear cached pictures; subfolders keep their own
        allRemoved = QFile::remove(it->absoluteFilePath()) && allRemoved;
    }
    return allRemoved;
}

bool FileIo::makeFolder(const QString &namePath)
{
    // The folder stays below the current one.
    if (namePath.split(QRegularExpression(QStringLiteral("[/\\\\]")))
            .contains(QStringLiteral("..")))
        return false;
    return QDir().mkpath(QDir::currentPath() + namePath);
}

QString FileIo::getFilePath()
{
    return QDir::currentPath();
}

bool FileIo::startUpdate()
{
    const QString program = updaterProgram();
    QProcess check;
    check.start(program, {QStringLiteral("--checkupdates")});
    if (!check.waitForFinished(30000)) {
        qCDebug(lcDevice, "Error checking for updates.");
        if (check.state() != QProcess::NotRunning) {
            check.kill();
            check.waitForFinished(1000);
        }
    }
    if (check.readAllStandardOutput().isEmpty())
        qCDebug(lcDevice, "No updates available.");
    if (!QProcess::startDetached(program, {QStringLiteral("--updater")}))
        qCDebug(lcDevice, "Program startup failed.");
    return false;
}

QString FileIo::osVersion()
{
#ifdef Q_OS_WIN
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    switch (QSysInfo::windowsVersion()) {
    case QSysInfo::WV_XP:
        return QStringLiteral("Windows XP");
    case QSysInfo::WV_2003:
        return QStringLiteral("Windows Server 2003");
    case QSysInfo::WV_VISTA:
        return QStringLiteral("Windows Vista");
    case QSysInfo::WV_WINDOWS7:
        return QStringLiteral("Windows 7");
    case QSysInfo::WV_WINDOWS8:
        return QStringLiteral("Windows 8");
    case QSysInfo::WV_WINDOWS8_1:
        return QStringLiteral("Windows 8.1");
    case QSysInfo::WV_WINDOWS10:
        return QStringLiteral("Windows 10");
    default:
        return QString();
    }
    QT_WARNING_POP
#else
    return QSysInfo::prettyProductName();
#endif
}

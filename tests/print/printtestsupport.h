#pragma once

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

// Reply fixtures and the outside tools (pdftotext, pdftoppm, zbarimg) the printing tests read
// their documents back with.
namespace PrintTest {

inline QString fixture(const QString &name)
{
    QFile file(QStringLiteral(BRENVO_PRINT_TEST_DATA "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return QString::fromUtf8(file.readAll());
}

// The fixture with its `data` object changed by `edit`.
inline QString edited(const QString &name, const std::function<void(QJsonObject &)> &edit)
{
    QJsonObject root = QJsonDocument::fromJson(fixture(name).toUtf8()).object();
    QJsonObject data = root.value(QStringLiteral("data")).toObject();
    edit(data);
    root.insert(QStringLiteral("data"), data);
    return QString::fromUtf8(QJsonDocument(root).toJson());
}

inline QString run(const QString &program, const QStringList &arguments, int *exitCode = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        qWarning("%s did not finish", qPrintable(program));
    if (exitCode)
        *exitCode = process.exitCode();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Pages of the PDF's text, whitespace removed (word-wrapped boxes break lines anywhere).
// Layout mode, so that a line of hyphens is not taken for a hyphenated word.
inline QStringList pdfPages(const QString &pdf)
{
    QStringList pages =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                          QStringLiteral("UTF-8"), pdf, QStringLiteral("-")})
            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    for (QString &page : pages)
        page.remove(QRegularExpression(QStringLiteral("\\s")));
    return pages;
}

inline QString compact(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

// Rasterises one page (1-based; its top-left 5 inches wide, `inchesHigh` high, at 600 dpi) and
// decodes every symbol on it with zbarimg, as "QR-Code:..." and "CODE-128:..." lines, sorted.
inline QStringList decodedCodes(const QString &pdf, int page = 1, int inchesHigh = 12)
{
    const int dpi = 600;
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("page"));
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), QString::number(page),
         QStringLiteral("-l"), QString::number(page), QStringLiteral("-x"), QStringLiteral("0"),
         QStringLiteral("-y"), QStringLiteral("0"), QStringLiteral("-W"), QString::number(dpi * 5),
         QStringLiteral("-H"), QString::number(dpi * inchesHigh), QStringLiteral("-gray"),
         QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, base});
    QStringList codes =
        run(QStringLiteral("zbarimg"), {QStringLiteral("-q"), base + QStringLiteral(".png")})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    codes.sort();
    return codes;
}

// Every file below `root`, relative to it.
inline QStringList filesBelow(const QString &root)
{
    QStringList files;
    QDir dir(root);
    const auto entries = dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir()) {
            for (const QString &inner : filesBelow(entry.filePath()))
                files << entry.fileName() + QLatin1Char('/') + inner;
        } else {
            files << entry.fileName();
        }
    }
    files.sort();
    return files;
}

} // namespace PrintTest

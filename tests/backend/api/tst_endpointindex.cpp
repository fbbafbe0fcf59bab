// The endpoint index, docs/endpoints.md, held to what runs: every path in it answers a signed
// call of a signed-in worker with the envelope, the reference backend serves no path outside
// it, the files each row names do name its path, and the terminal's sources name no request
// path outside it.

#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include "api/families.h"
#include "apibackend.h"
#include "server/registry.h"

namespace {

const QString sourceDir = QStringLiteral(BRENVO_SOURCE_DIR);

QString textOf(const QString &relativePath)
{
    QFile file(sourceDir + '/' + relativePath);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Whether a text names `path` as a request does: in quotes, or before the "?" of its query.
bool namesPath(const QString &text, const QString &path)
{
    return QRegularExpression("[\"']" + QRegularExpression::escape(path) + "[\"'?]")
        .match(text)
        .hasMatch();
}

// The files under `dir` (relative to the source tree) with one of `patterns`.
QStringList filesUnder(const QString &dir, const QStringList &patterns)
{
    QStringList files;
    QDirIterator it(sourceDir + '/' + dir, patterns, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next().mid(sourceDir.size() + 1);
    files.sort();
    return files;
}

// One row of the index: its path and the files it names, relative to the source tree.
struct IndexRow
{
    QString path;
    QStringList callers; // the screens (or sign-in pieces) that call it
    QStringList servedBy;
    QStringList tests; // given by file name in the index, found under tests/
};

// The rows of the index's endpoint tables, those headed "| Path | What it does |"; the
// stand-ins' table has a header of its own and is not read.
QList<IndexRow> readIndex()
{
    QMap<QString, QString> testFiles;
    for (const QString &file : filesUnder("tests", {"tst_*"}))
        testFiles.insert(file.section('/', -1), file);
    const auto quoted = [](const QString &cell) {
        static const QRegularExpression inBackticks("`([^`]+)`");
        QStringList texts;
        auto it = inBackticks.globalMatch(cell);
        while (it.hasNext())
            texts << it.next().captured(1);
        return texts;
    };

    QList<IndexRow> rows;
    bool inTable = false;
    for (const QString &line : textOf("docs/endpoints.md").split('\n')) {
        if (line.startsWith("| Path | What it does |")) {
            inTable = true;
            continue;
        }
        inTable = inTable && line.startsWith('|');
        if (!inTable || line.startsWith("|---"))
            continue;
        const QStringList cells = line.split('|');
        IndexRow row{
            quoted(cells.value(1)).value(0), quoted(cells.value(3)), quoted(cells.value(4)), {}};
        for (const QString &name : quoted(cells.value(5)))
            row.tests << testFiles.value(name, "tests/…/" + name);
        rows << row;
    }
    return rows;
}

// Every request path the terminal's sources name, with the places that name it ("file:line"):
// quoted texts shaped like a backend path, "orderInfo/list", or "client/sign" before a query.
// Addresses of other hosts (the map service's "/v3/ip", the photo store) start with a "/" or a
// scheme and are the stand-ins' business. Comments, includes and the settings keys read by
// AppConfig ("backend/url") name no request.
QMap<QString, QStringList> requestPathsOfTheTerminal()
{
    static const QRegularExpression pathText(R"(["']([a-z][A-Za-z0-9]*(?:/[A-Za-z0-9]+)+)["'?])");
    static const QRegularExpression settingsKey(
        R"(value\("BRENVO_\w+",\s*QStringLiteral\("[^"]*"\))");
    QMap<QString, QStringList> named;
    for (const QString &dir : QStringList{"app", "net", "screens", "print", "device"}) {
        for (const QString &file : filesUnder(dir, {"*.qml", "*.js", "*.cpp", "*.h"})) {
            const QStringList lines = textOf(file).split('\n');
            for (int i = 0; i < lines.size(); ++i) {
                QString line = lines[i].trimmed();
                if (line.startsWith("//") || line.startsWith("/*") || line.startsWith('*') ||
                    line.startsWith("#include"))
                    continue;
                line.remove(settingsKey);
                auto it = pathText.globalMatch(line);
                while (it.hasNext())
                    named[it.next().captured(1)] << file + ':' + QString::number(i + 1);
            }
        }
    }
    return named;
}

} // namespace

class TestEndpointIndex : public QObject, private ApiBackend
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyPathAnswersWithTheEnvelope_data();
    void everyPathAnswersWithTheEnvelope();
    void backendServesNoPathOutsideTheIndex();
    void rowsNameFilesThatNameTheirPath();
    void terminalNamesNoPathOutsideTheIndex();

private:
    QList<IndexRow> index_;
    QSet<QString> paths_;
};

void TestEndpointIndex::initTestCase()
{
    index_ = readIndex();
    for (const IndexRow &row : index_)
        paths_ << row.path;
    QVERIFY2(index_.size() > 100, "docs/endpoints.md: no endpoint table found");
    QCOMPARE(paths_.size(), index_.size()); // no path listed twice
    QVERIFY2(start(), qPrintable(output()));
}

void TestEndpointIndex::everyPathAnswersWithTheEnvelope_data()
{
    QTest::addColumn<QString>("path");
    for (const IndexRow &row : index_)
        QTest::newRow(qPrintable(row.path)) << row.path;
}

// A call without the endpoint's own fields is answered (200) or refused for its input (400):
// never the unknown-path answer (404 "接口不存在"), a refused signature or session (403, 401)
// or a fault of the service (500). The worker's session holds through the walk; sign-out ends
// a session of its own.
void TestEndpointIndex::everyPathAnswersWithTheEnvelope()
{
    QFETCH(QString, path);
    const WorkerSession own =
        path == "client/logout" ? WorkerSession::open(client(), "BV2024000001", "zhangli") : store1;
    const QJsonObject reply = call(own, path, {});
    const QString text = QJsonDocument(reply).toJson(QJsonDocument::Compact);
    QVERIFY2(reply.value("httpCode").isDouble() && reply.value("msg").isString(), qPrintable(text));
    QVERIFY2(!reply.value("msg").toString().startsWith("接口不存在"), qPrintable(text));
    QVERIFY2(codeOf(reply) == 200 || codeOf(reply) == 400, qPrintable(text));
}

void TestEndpointIndex::backendServesNoPathOutsideTheIndex()
{
    ApiRegistry registry;
    api::registerAll(registry);
    QStringList outside;
    for (const std::string &path : registry.paths())
        if (!paths_.contains(QString::fromStdString(path)))
            outside << QString::fromStdString(path);
    QVERIFY2(outside.isEmpty(),
             qPrintable("served, not in docs/endpoints.md: " + outside.join(", ")));
    QCOMPARE(registry.size(), size_t(paths_.size()));
}

// The index's columns stay true when files move: each names at least one caller, the server
// and a test, and every file it names exists and names the path.
void TestEndpointIndex::rowsNameFilesThatNameTheirPath()
{
    QStringList wrong;
    for (const IndexRow &row : index_) {
        if (row.callers.isEmpty() || row.servedBy.isEmpty() || row.tests.isEmpty())
            wrong << row.path + ": a column is empty";
        for (const QString &file : row.callers + row.servedBy + row.tests)
            if (!namesPath(textOf(file), row.path))
                wrong << row.path + ": " + file;
    }
    QVERIFY2(wrong.isEmpty(), qPrintable("docs/endpoints.md:\n" + wrong.join('\n')));
}

void TestEndpointIndex::terminalNamesNoPathOutsideTheIndex()
{
    const QMap<QString, QStringList> named = requestPathsOfTheTerminal();
    QStringList outside;
    for (auto it = named.begin(); it != named.end(); ++it)
        if (!paths_.contains(it.key()))
            outside << it.key() + " (" + it.value().join(", ") + ")";
    QVERIFY2(outside.isEmpty(), qPrintable("not in docs/endpoints.md: " + outside.join("; ")));
    // The scan does see the terminal's calls.
    QVERIFY(named.contains("orderInfo/list"));
    QVERIFY(named.contains("client/sign"));
}

QTEST_GUILESS_MAIN(TestEndpointIndex)
#include "tst_endpointindex.moc"

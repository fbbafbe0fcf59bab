// Rows are read by column name or alias, and become JSON by alias; the store's connections
// are durable (synchronous=FULL) and a read-only one cannot write.

#include <QTemporaryDir>
#include <QTest>

#include "server/json.h"
#include "store/database.h"

class TestRowMapping : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void columnsByNameAndAlias();
    void unknownColumnIsAnError();
    void rowBecomesJsonByAlias_data();
    void rowBecomesJsonByAlias();
    void storeWaitsForTheDisk();
    void readOnlyConnectionCannotWrite();

private:
    QTemporaryDir dir_;
    std::unique_ptr<Database> db_;
};

void TestRowMapping::init()
{
    db_ = std::make_unique<Database>(dir_.filePath("rows.db").toStdString());
    auto conn = db_->acquire();
    conn->script("DROP TABLE IF EXISTS garments;"
                 "CREATE TABLE garments (id INTEGER PRIMARY KEY, name TEXT, price INTEGER, "
                 "color TEXT, weight REAL);"
                 "INSERT INTO garments VALUES (7, '衬衫', 2500, NULL, 0.5);");
}

void TestRowMapping::columnsByNameAndAlias()
{
    auto conn = db_->acquire();
    // The same row read through differently ordered selections gives the same values.
    for (const char *sql : {"SELECT id, name, price * 2 AS twice FROM garments",
                            "SELECT price * 2 AS twice, name, id FROM garments"}) {
        Query q = conn->query(sql);
        QVERIFY(q.next());
        QCOMPARE(q.integer("id"), 7);
        QCOMPARE(q.text("name"), std::string("衬衫"));
        QCOMPARE(q.integer("twice"), 5000);
    }
    Query q = conn->query("SELECT color FROM garments");
    QVERIFY(q.next());
    QVERIFY(q.isNull("color"));
}

void TestRowMapping::unknownColumnIsAnError()
{
    auto conn = db_->acquire();
    Query q = conn->query("SELECT id, name FROM garments");
    QVERIFY(q.next());
    QVERIFY_EXCEPTION_THROWN(q.integer("price"), DbError);
}

void TestRowMapping::rowBecomesJsonByAlias_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("json");
    QTest::newRow("columns keep their names") << "SELECT id, name FROM garments"
                                              << R"({"id":7,"name":"衬衫"})";
    QTest::newRow("aliases name the members")
        << "SELECT price AS serviceAmt, CAST(id AS TEXT) AS scanCode FROM garments"
        << R"({"scanCode":"7","serviceAmt":2500})";
    QTest::newRow("NULL and REAL") << "SELECT color AS colorDesc, weight FROM garments"
                                   << R"({"colorDesc":null,"weight":0.5})";
    QTest::newRow("dotted aliases nest")
        << R"(SELECT id AS "info.id", name AS "info.name", price AS "card.info.price" FROM garments)"
        << R"({"card":{"info":{"price":2500}},"info":{"id":7,"name":"衬衫"}})";
}

void TestRowMapping::rowBecomesJsonByAlias()
{
    QFETCH(QString, sql);
    QFETCH(QString, json);
    auto conn = db_->acquire();
    Query q = conn->query(sql.toStdString());
    QVERIFY(q.next());
    QCOMPARE(QString::fromStdString(json::write(q.object())), json);
}

void TestRowMapping::storeWaitsForTheDisk()
{
    // 2 is FULL: a commit returns once the log is on the disk, so an acknowledged call
    // survives a power cut, not only a killed process.
    auto conn = db_->acquire();
    QCOMPARE(conn->scalar(-1, "PRAGMA synchronous"), 2);
    Query q = conn->query("PRAGMA journal_mode");
    QVERIFY(q.next());
    QCOMPARE(q.text("journal_mode"), std::string("wal"));
}

void TestRowMapping::readOnlyConnectionCannotWrite()
{
    auto reader = db_->acquire(Connection::Mode::ReadOnly);
    QCOMPARE(reader->scalar(0, "SELECT COUNT(*) FROM garments"), 1);
    QVERIFY_EXCEPTION_THROWN(reader->exec("DELETE FROM garments"), DbError);
    auto writer = db_->acquire();
    QCOMPARE(writer->scalar(0, "SELECT COUNT(*) FROM garments"), 1);
}

QTEST_GUILESS_MAIN(TestRowMapping)
#include "tst_rowmapping.moc"

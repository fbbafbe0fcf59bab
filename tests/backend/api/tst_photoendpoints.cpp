// Garment photo records against a backend of their own: each garment lists its own photos,
// at most nine; records point only at pictures the store holds for the caller's store, whose
// keys are never overwritten; refusals record nothing.

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include "apibackend.h"

namespace {

// The image list text as the intake screen writes it: no spaces but the two after the
// colon of compressImg and before each closing brace.
QString imageList(const QStringList &keys)
{
    QStringList items;
    for (const QString &key : keys)
        items << "{\"cameraImg\":\"" + key + "\",\"compressImg\": \"\" }";
    return "[" + items.join(',') + "]";
}

} // namespace

class TestPhotoEndpoints : public QObject, private ApiBackend
{
    Q_OBJECT

private slots:
    void initTestCase();
    void garmentsKeepTheirOwnPhotos();
    void refusedListsRecordNothing_data();
    void refusedListsRecordNothing();
    void unknownRecordsAreRefused();
    void uploadsKeepStoresApart();
    void aGarmentHoldsAtMostNinePhotos();

private:
    QStringList listed(int garment);
    QList<qint64> ids(int garment);
    void store(const QString &key, const QByteArray &bytes);
    // A garment of the store without photos, past the first `skip` of them.
    int bareGarment(int storeId, int skip);

    QMap<QString, QByteArray> stored_;
};

void TestPhotoEndpoints::initTestCase()
{
    QVERIFY2(start(), qPrintable(output()));
    store("client/Aa1b2c70100000011.jpg", QByteArray("\xff\xd8 first garment, one", 22));
    store("client/Dd4e5f70100000012.jpg", QByteArray("\xff\xd8 first garment, two", 22));
    store("client/Gg7h8i70100000021.jpg", QByteArray("\xff\xd8\x00 second garment", 18));
}

// The picture addresses of a garment's records, in the order listed.
QStringList TestPhotoEndpoints::listed(int garment)
{
    const QJsonObject reply = call("orderProductRelImg/list", {{"orderProId", garment}});
    if (codeOf(reply) != 200)
        return {"httpCode " + QString::number(codeOf(reply))};
    QStringList images;
    for (const auto &v : reply.value("data").toArray())
        images << v.toObject().value("cameraImg").toString();
    return images;
}

QList<qint64> TestPhotoEndpoints::ids(int garment)
{
    const QJsonObject reply = call("orderProductRelImg/list", {{"orderProId", garment}});
    QList<qint64> found;
    for (const auto &v : reply.value("data").toArray())
        found << v.toObject().value("id").toVariant().toLongLong();
    return found;
}

void TestPhotoEndpoints::store(const QString &key, const QByteArray &bytes)
{
    QCOMPARE(client().storePicture(store1, key, bytes), 200);
    stored_.insert(key, bytes);
}

int TestPhotoEndpoints::bareGarment(int storeId, int skip)
{
    return int(number(QString("SELECT p.id FROM order_products p JOIN orders o ON o.id = "
                              "p.order_id WHERE o.store_id = %1 AND p.id > 3 AND NOT EXISTS "
                              "(SELECT 1 FROM order_product_imgs i WHERE i.order_product_id = "
                              "p.id) ORDER BY p.id LIMIT 1 OFFSET %2")
                          .arg(storeId)
                          .arg(skip)));
}

void TestPhotoEndpoints::garmentsKeepTheirOwnPhotos()
{
    const QStringList keys = stored_.keys();
    const QString files = url() + "/files/";
    QCOMPARE(listed(1), QStringList());
    QCOMPARE(listed(2), QStringList());

    QJsonObject reply = call("orderProductRelImg/batchAdd",
                             {{"orderProId", "1"}, {"imgs", imageList(keys.mid(0, 2))}});
    QCOMPARE(codeOf(reply), 200);
    // The garment id may come as a number too; a full picture address names the same key.
    reply = call("orderProductRelImg/batchAdd",
                 {{"orderProId", 2}, {"imgs", imageList({files + keys[2]})}});
    QCOMPARE(codeOf(reply), 200);

    QCOMPARE(listed(1), QStringList({files + keys[0], files + keys[1]}));
    QCOMPARE(listed(2), QStringList({files + keys[2]}));
    // Each address serves the picture that was stored under it.
    for (const QString &key : keys) {
        int status = 0;
        QCOMPARE(client().get("/files/" + key, &status), stored_.value(key));
        QCOMPARE(status, 200);
    }

    // Deleting one of the first garment's photos leaves the other garment alone.
    const QList<qint64> first = ids(1);
    QCOMPARE(first.size(), 2);
    QCOMPARE(codeOf(call("orderProductRelImg/delete", {{"id", first[0]}})), 200);
    QCOMPARE(listed(1), QStringList({files + keys[1]}));
    QCOMPARE(listed(2), QStringList({files + keys[2]}));
    QCOMPARE(codeOf(call("orderProductRelImg/delete", {{"id", first[0]}})), 404);
    QCOMPARE(listed(1), QStringList({files + keys[1]}));

    // An empty list records nothing and is no error.
    QCOMPARE(codeOf(call("orderProductRelImg/batchAdd", {{"orderProId", 2}, {"imgs", "[]"}})), 200);
    QCOMPARE(listed(2), QStringList({files + keys[2]}));
}

void TestPhotoEndpoints::refusedListsRecordNothing_data()
{
    QTest::addColumn<QJsonValue>("garment");
    QTest::addColumn<QString>("imgs");
    QTest::addColumn<int>("code");
    const QString stored = "client/Aa1b2c70100000011.jpg";
    QTest::newRow("picture never stored")
        << QJsonValue(3) << imageList({stored, "client/never70100000031.jpg"}) << 400;
    QTest::newRow("not JSON") << QJsonValue(3) << "[{\"cameraImg\":" << 400;
    QTest::newRow("object, not a list")
        << QJsonValue(3) << "{\"cameraImg\":\"" + stored + "\"}" << 400;
    QTest::newRow("entry without picture") << QJsonValue(3) << "[{\"compressImg\": \"\" }]" << 400;
    QTest::newRow("unknown garment") << QJsonValue(999999) << imageList({stored}) << 404;
    QTest::newRow("garment id not a number") << QJsonValue("x3") << imageList({stored}) << 400;
}

void TestPhotoEndpoints::refusedListsRecordNothing()
{
    QFETCH(QJsonValue, garment);
    QFETCH(QString, imgs);
    QFETCH(int, code);
    QCOMPARE(codeOf(call("orderProductRelImg/batchAdd", {{"orderProId", garment}, {"imgs", imgs}})),
             code);
    QCOMPARE(listed(3), QStringList());
}

void TestPhotoEndpoints::unknownRecordsAreRefused()
{
    QCOMPARE(codeOf(call("orderProductRelImg/list", {{"orderProId", 999999}})), 404);
    QCOMPARE(codeOf(call("orderProductRelImg/delete", {{"id", 999999}})), 404);
    QCOMPARE(codeOf(call("orderProductRelImg/delete", {})), 400);
}

// A key belongs to the store whose token first stored it: it is never overwritten (the same
// picture sent again by that store, a retry, is answered as stored), and a store records only
// the pictures it stored.
void TestPhotoEndpoints::uploadsKeepStoresApart()
{
    const QString own = "client/Jj1k2l70100000041.jpg";
    const QString theirs = "client/Mm3n4o70200000011.jpg";
    const QByteArray ownBytes("\xff\xd8 store one's", 14);
    const QByteArray theirBytes("\xff\xd8 store two's", 14);
    QCOMPARE(client().storePicture(store1, own, ownBytes), 200);
    QCOMPARE(client().storePicture(store2, theirs, theirBytes), 200);

    QCOMPARE(client().storePicture(store1, own, ownBytes), 200);
    QCOMPARE(client().storePicture(store1, own, "\xff\xd8 replaced"), 409);
    QCOMPARE(client().storePicture(store1, theirs, theirBytes), 409);
    QCOMPARE(client().storePicture(store1, theirs, "\xff\xd8 replaced"), 409);
    int status = 0;
    QCOMPARE(client().get("/files/" + own, &status), ownBytes);
    QCOMPARE(client().get("/files/" + theirs, &status), theirBytes);

    const int garment = bareGarment(1, 0);
    QVERIFY(garment > 0);
    const QJsonObject refused = call("orderProductRelImg/batchAdd",
                                     {{"orderProId", garment}, {"imgs", imageList({own, theirs})}});
    QCOMPARE(codeOf(refused), 400);
    QVERIFY2(refused.value("msg").toString().contains(theirs),
             qPrintable(refused.value("msg").toString()));
    QCOMPARE(listed(garment), QStringList());

    const int theirGarment = bareGarment(2, 0);
    QVERIFY(theirGarment > 0);
    QCOMPARE(codeOf(call(store2, "orderProductRelImg/batchAdd",
                         {{"orderProId", theirGarment}, {"imgs", imageList({theirs})}})),
             200);
    QCOMPARE(codeOf(call("orderProductRelImg/batchAdd",
                         {{"orderProId", garment}, {"imgs", imageList({own})}})),
             200);
    QCOMPARE(listed(garment), QStringList({url() + "/files/" + own}));
}

// Nine photos a garment: a batch that would pass them is refused whole. A batch sent twice
// (its reply lost) is recorded once, and a picture the garment holds already is not
// recorded again.
void TestPhotoEndpoints::aGarmentHoldsAtMostNinePhotos()
{
    const int garment = bareGarment(1, 1);
    QVERIFY(garment > 0);
    QStringList keys;
    for (int i = 0; i < 10; ++i) {
        keys << QString("client/Nine%1a70100000050%1.jpg").arg(i);
        store(keys.last(), "\xff\xd8 photo " + QByteArray::number(i));
    }
    auto add = [&](const QStringList &batch) {
        return call("orderProductRelImg/batchAdd",
                    {{"orderProId", garment}, {"imgs", imageList(batch)}});
    };
    QCOMPARE(codeOf(add(keys.mid(0, 6))), 200);
    const QJsonObject tooMany = add(keys.mid(6, 4));
    QCOMPARE(codeOf(tooMany), 409);
    QVERIFY2(tooMany.value("msg").toString().contains("9"),
             qPrintable(tooMany.value("msg").toString()));
    QCOMPARE(listed(garment).size(), 6);

    const QJsonObject three =
        body(store1, {{"orderProId", garment}, {"imgs", imageList(keys.mid(6, 3))}});
    const QJsonObject answered = client().call("orderProductRelImg/batchAdd", three);
    QCOMPARE(codeOf(answered), 200);
    QCOMPARE(client().call("orderProductRelImg/batchAdd", three), answered);
    QCOMPARE(listed(garment).size(), 9);

    QCOMPARE(codeOf(add({keys[0], keys[8]})), 200);
    QCOMPARE(listed(garment).size(), 9);
    QCOMPARE(codeOf(add({keys[9]})), 409);
    QCOMPARE(listed(garment).size(), 9);
}

QTEST_GUILESS_MAIN(TestPhotoEndpoints)
#include "tst_photoendpoints.moc"

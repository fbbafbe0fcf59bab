#include "print/baglabel.h"
#include "print/certificate.h"
#include "print/orderticket.h"
#include "print/printcanvas.h"
#include "print/printdata.h"
#include "print/washlabel.h"
#include "printtestsupport.h"

#include <QPainter>
#include <QtTest>

using PrintTest::edited;
using PrintTest::fixture;

Q_DECLARE_METATYPE(OrderTicket::Roll)
Q_DECLARE_METATYPE(Certificate::Style)

// Positions and sizes of what the layouts draw, read from the recorded painter commands.
class TestPrintLayout : public QObject
{
    Q_OBJECT

private slots:
    void moneyLinesStack_data();
    void moneyLinesStack();
    void garmentRowAdvance_data();
    void garmentRowAdvance();
    void narrowRollCutsNames_data();
    void narrowRollCutsNames();
    void serviceLineShowsQuantityUnlessOne_data();
    void serviceLineShowsQuantityUnlessOne();
    void headerLinesOnlyWhenPresent_data();
    void headerLinesOnlyWhenPresent();
    void orderCodeBoxes_data();
    void orderCodeBoxes();
    void remarkAndAddressMoveTheFooter();
    void bagLabelBoxes();
    void certificateStyles_data();
    void certificateStyles();
    void washLabelsPerAccessory();
    void washLabelSplitsElementAndOrder_data();
    void washLabelSplitsElementAndOrder();
    void washLabelFrames_data();
    void washLabelFrames();
};

namespace {

using Record = QVector<PaintCommand>;

template <typename Layout> Record record(Layout layout)
{
    QImage page(600, 3000, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    Record commands;
    PrintCanvas canvas(painter, &commands);
    layout(canvas);
    return commands;
}

Record ticket(const QString &reply, OrderTicket::Roll roll)
{
    const Json::Value data = PrintData::readData(reply);
    return record([&](PrintCanvas &c) { OrderTicket::draw(c, data, roll); });
}

// The one text command starting with `prefix`; fails the test when there is not exactly one.
PaintCommand only(const Record &commands, const QString &prefix)
{
    Record found;
    for (const PaintCommand &c : commands) {
        if (c.kind == PaintCommand::Text && c.text.startsWith(prefix))
            found << c;
    }
    if (found.size() != 1) {
        QTest::qFail(
            qPrintable(QStringLiteral("%1 texts start with %2").arg(found.size()).arg(prefix)),
            __FILE__, __LINE__);
        return PaintCommand();
    }
    return found.first();
}

bool hasText(const Record &commands, const QString &prefix)
{
    return std::any_of(commands.begin(), commands.end(), [&](const PaintCommand &c) {
        return c.kind == PaintCommand::Text && c.text.startsWith(prefix);
    });
}

// The ticket fixture with its first garment changed by `edit`.
QString firstGarmentEdited(const std::function<void(QJsonObject &)> &edit)
{
    return edited(QStringLiteral("order_detail.json"), [&](QJsonObject &d) {
        QJsonArray list = d[QStringLiteral("orderProductList")].toArray();
        QJsonObject first = list.at(0).toObject();
        edit(first);
        list.replace(0, first);
        d[QStringLiteral("orderProductList")] = list;
    });
}

Record pictures(const Record &commands)
{
    Record found;
    for (const PaintCommand &c : commands) {
        if (c.kind == PaintCommand::Picture)
            found << c;
    }
    return found;
}

} // namespace

void TestPrintLayout::moneyLinesStack_data()
{
    QTest::addColumn<int>("modify");
    QTest::addColumn<int>("fee");
    QTest::addColumn<int>("paid");
    QTest::addColumn<int>("refund");
    // Offsets below the garment total, 0 where the line is not printed; status always printed.
    QTest::addColumn<QVector<int>>("offsets");

    QTest::newRow("all zero") << 0 << 0 << 0 << 0 << QVector<int>{0, 0, 0, 0, 15};
    QTest::newRow("all four") << -800 << 1300 << 11000 << 2500 << QVector<int>{15, 30, 45, 60, 75};
    QTest::newRow("paid only") << 0 << 0 << 11000 << 0 << QVector<int>{0, 0, 15, 0, 30};
    QTest::newRow("refund only") << 0 << 0 << 0 << 2500 << QVector<int>{0, 0, 0, 15, 30};
    QTest::newRow("change and refund") << 500 << 0 << 0 << 2500 << QVector<int>{15, 0, 0, 30, 45};
    QTest::newRow("fee and paid") << 0 << 1300 << 14000 << 0 << QVector<int>{0, 15, 30, 0, 45};
}

void TestPrintLayout::moneyLinesStack()
{
    QFETCH(int, modify);
    QFETCH(int, fee);
    QFETCH(int, paid);
    QFETCH(int, refund);
    QFETCH(QVector<int>, offsets);

    const QString reply = edited(QStringLiteral("order_detail.json"), [&](QJsonObject &d) {
        d[QStringLiteral("modifyPrice")] = modify;
        d[QStringLiteral("takeCarriage")] = fee / 2;
        d[QStringLiteral("sendCarriage")] = fee - fee / 2;
        d[QStringLiteral("paidPrice")] = paid;
        d[QStringLiteral("refundPrice")] = refund;
    });
    for (auto roll : {OrderTicket::Roll::Mm80, OrderTicket::Roll::Mm58}) {
        const bool narrow = roll == OrderTicket::Roll::Mm58;
        const Record commands = ticket(reply, roll);
        const QStringList captions =
            narrow
                ? QStringList{"修改金额:¥", "取送费:¥", "已付金额:¥", "已退款:¥", "付款状态:"}
                : QStringList{"修改金额：¥", "取送费：¥", "已付金额：¥", "已退款：¥", "付款状态："};
        const PaintCommand total = only(commands, narrow ? "衣物总额:¥" : "衣物总额：");
        QCOMPARE(total.box, QRect(narrow ? 90 : 160, total.box.y(), narrow ? 85 : 100, 20));
        QCOMPARE(total.flags, int(Qt::AlignRight));
        for (int i = 0; i < captions.size(); ++i) {
            if (offsets.at(i) == 0) {
                QVERIFY2(!hasText(commands, captions.at(i)), qPrintable(captions.at(i)));
                continue;
            }
            const PaintCommand line = only(commands, captions.at(i));
            QCOMPARE(line.box.y() - total.box.y(), offsets.at(i));
            QCOMPARE(line.box.x(), total.box.x());
            QCOMPARE(line.flags, int(Qt::AlignRight));
        }
    }
}

void TestPrintLayout::garmentRowAdvance_data()
{
    QTest::addColumn<bool>("described");
    QTest::addColumn<bool>("addOns");
    QTest::addColumn<int>("advance");
    QTest::newRow("description and add-ons") << true << true << 70;
    QTest::newRow("description only") << true << false << 45;
    QTest::newRow("add-ons only") << false << true << 55;
    QTest::newRow("neither") << false << false << 30;
}

void TestPrintLayout::garmentRowAdvance()
{
    QFETCH(bool, described);
    QFETCH(bool, addOns);
    QFETCH(int, advance);
    const QString reply = firstGarmentEdited([&](QJsonObject &first) {
        if (!described) {
            for (const char *key : {"colorDesc", "flawDesc", "effectDesc"})
                first[QLatin1String(key)] = QStringLiteral("[]");
        }
        if (!addOns)
            first[QStringLiteral("addServiceDesc")] = QStringLiteral("[]");
    });
    const Record commands = ticket(reply, OrderTicket::Roll::Mm80);
    const PaintCommand first = only(commands, "羽绒服长款 880012345601");
    const PaintCommand second = only(commands, "西装 880012345602");
    QCOMPARE(second.box.y() - first.box.y(), advance);
    QCOMPARE(hasText(commands, "黑色 污渍/起球 尽量洗净"), described);
    if (described)
        QCOMPARE(only(commands, "黑色").box, QRect(10, first.box.y() + 30, 200, 20));
    if (addOns) {
        const PaintCommand line = only(commands, "去渍5.00元/护理3.00元");
        QCOMPARE(line.box.y() - first.box.y(), described ? 45 : 30);
        QCOMPARE(line.pixelSize, 9);
        QVERIFY(line.flags & Qt::TextWordWrap);
    }
    // The hanging point: conveyor type with "滑" printed as "输", then the shelf number.
    QCOMPARE(only(commands, "挂点：").text, QStringLiteral("挂点：输轨12"));
    QCOMPARE(only(commands, "挂点：").box, QRect(100, first.box.y() + 15, 200, 50));
}

void TestPrintLayout::narrowRollCutsNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("on58");
    QTest::newRow("two characters") << "西装"
                                    << "西装";
    QTest::newRow("four characters") << "羊毛大衣"
                                     << "羊毛大衣";
    QTest::newRow("five characters") << "真丝连衣裙"
                                     << "真丝连衣..";
    QTest::newRow("seven characters") << "羊绒双面呢大衣"
                                      << "羊绒双面..";
}

void TestPrintLayout::narrowRollCutsNames()
{
    QFETCH(QString, name);
    QFETCH(QString, on58);
    const QString reply = firstGarmentEdited(
        [&](QJsonObject &first) { first[QStringLiteral("productName")] = name; });
    const QString code = QStringLiteral(" 880012345601");
    QCOMPARE(only(ticket(reply, OrderTicket::Roll::Mm58), on58 + code).text, on58 + code);
    QCOMPARE(only(ticket(reply, OrderTicket::Roll::Mm80), name + code).text, name + code);
}

void TestPrintLayout::serviceLineShowsQuantityUnlessOne_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one") << 100 << "¥ 65.00*90%";
    QTest::newRow("one and a half") << 150 << "¥ 65.00*1.50*90%";
    QTest::newRow("two") << 200 << "¥ 65.00*2.00*90%";
}

void TestPrintLayout::serviceLineShowsQuantityUnlessOne()
{
    QFETCH(int, count);
    QFETCH(QString, expected);
    const QString reply =
        firstGarmentEdited([&](QJsonObject &first) { first[QStringLiteral("count")] = count; });
    const Record commands = ticket(reply, OrderTicket::Roll::Mm80);
    const PaintCommand line = only(commands, "¥ 65.00*");
    QCOMPARE(line.text, expected);
    QCOMPARE(line.pixelSize, 10);
    QCOMPARE(line.box.x(), 10);
}

void TestPrintLayout::headerLinesOnlyWhenPresent_data()
{
    QTest::addColumn<bool>("merchant");
    QTest::addColumn<bool>("store");
    QTest::newRow("both") << true << true;
    QTest::newRow("store only") << false << true;
    QTest::newRow("neither") << false << false;
}

void TestPrintLayout::headerLinesOnlyWhenPresent()
{
    QFETCH(bool, merchant);
    QFETCH(bool, store);
    const QString reply = edited(QStringLiteral("order_detail.json"), [&](QJsonObject &d) {
        if (!merchant)
            d[QStringLiteral("mercName")] = QJsonValue::Null;
        if (!store)
            d[QStringLiteral("storeName")] = QJsonValue::Null;
    });
    const Record commands = ticket(reply, OrderTicket::Roll::Mm80);
    const int lines = int(merchant) + int(store);
    const PaintCommand orderNo = only(commands, "DD2406120031");
    QCOMPARE(orderNo.box, QRect(0, 30 * lines, 260, 20));
    QCOMPARE(orderNo.flags, int(Qt::AlignCenter));
    QCOMPARE(orderNo.pixelSize, 15);
    QCOMPARE(hasText(commands, "洁然洗衣连锁"), merchant);
    if (store)
        QCOMPARE(only(commands, "洁然洗衣·望京店").box, QRect(0, 30 * (lines - 1), 260, 30));
}

void TestPrintLayout::orderCodeBoxes_data()
{
    QTest::addColumn<OrderTicket::Roll>("roll");
    QTest::addColumn<bool>("qr");
    QTest::addColumn<QRect>("target");
    QTest::addColumn<int>("intakeY");
    QTest::newRow("80 QR") << OrderTicket::Roll::Mm80 << true << QRect(100, 80, 80, 80) << 60 + 105;
    QTest::newRow("58 QR") << OrderTicket::Roll::Mm58 << true << QRect(60, 80, 80, 80) << 60 + 105;
    QTest::newRow("80 barcode") << OrderTicket::Roll::Mm80 << false << QRect(30, 80, 200, 40)
                                << 60 + 80;
    QTest::newRow("58 barcode") << OrderTicket::Roll::Mm58 << false << QRect(16, 80, 150, 40)
                                << 60 + 80;
}

void TestPrintLayout::orderCodeBoxes()
{
    QFETCH(OrderTicket::Roll, roll);
    QFETCH(bool, qr);
    QFETCH(QRect, target);
    QFETCH(int, intakeY);
    const QString reply = edited(QStringLiteral("order_detail.json"), [&](QJsonObject &d) {
        d[QStringLiteral("isShowOrderQrCode")] = qr;
    });
    const Record commands = ticket(reply, roll);
    const Record drawn = pictures(commands);
    QCOMPARE(drawn.size(), 2); // order code, then the follow-us QR code
    QCOMPARE(drawn.first().box, target);
    QVERIFY(!drawn.first().pictureSize.isEmpty());
    QCOMPARE(drawn.first().source,
             qr ? QRect(0, 0, 198, 198) : QRect(QPoint(0, 0), drawn.first().pictureSize));
    const bool narrow = roll == OrderTicket::Roll::Mm58;
    const PaintCommand intake = only(commands, narrow ? "入库:" : "入库：");
    QCOMPARE(intake.box.y(), intakeY);
    QCOMPARE(intake.text.mid(3), PrintData::localTime(1718170441000, "MM-dd hh:mm:ss"));
    const PaintCommand count = only(commands, "衣物3");
    QCOMPARE(count.text,
             narrow ? QStringLiteral("衣物3，附件2") : QStringLiteral("衣物3件，附件2件"));
    QCOMPARE(count.box.topLeft(), narrow ? QPoint(110, intakeY) : QPoint(160, intakeY + 15));
    QCOMPARE(only(commands, "到店送洗").text, QStringLiteral("到店送洗:李敏"));
}

void TestPrintLayout::remarkAndAddressMoveTheFooter()
{
    // A remark of 60 characters takes two more lines (30 pixels) on 80 mm, four (60) on
    // 58 mm; an address adds 25. The footer's hyphen line moves by exactly that.
    const QString remark(60, QChar(0x6C61));
    for (auto roll : {OrderTicket::Roll::Mm80, OrderTicket::Roll::Mm58}) {
        const bool narrow = roll == OrderTicket::Roll::Mm58;
        auto wechatY = [&](const QString &text, bool address) {
            const QString reply = edited(QStringLiteral("order_detail.json"), [&](QJsonObject &d) {
                d[QStringLiteral("userRemark")] = text;
                if (!address)
                    d[QStringLiteral("sendAddress")] = QJsonValue::Null;
            });
            return only(ticket(reply, roll), "微信号: ").box.y();
        };
        const int base = wechatY(QString(), false);
        QCOMPARE(wechatY(remark, false) - base, narrow ? 60 : 30);
        QCOMPARE(wechatY(QString(), true) - base, 25);
        QCOMPARE(only(ticket(fixture("order_detail.json"), roll), "客户备注").text,
                 (narrow ? QStringLiteral("客户备注:") : QStringLiteral("客户备注：")) +
                     QStringLiteral("羽绒服袖口有旧污渍，已告知顾客可能洗不掉"));
    }
}

void TestPrintLayout::bagLabelBoxes()
{
    const Json::Value data = PrintData::readData(fixture("batch_product.json"));
    const Record commands = record([&](PrintCanvas &c) { BagLabel::draw(c, data); });
    const PaintCommand number = only(commands, "入厂袋号：");
    QCOMPARE(number.box, QRect(30, 0, 300, 30));
    QCOMPARE(number.pixelSize, 18);
    QCOMPARE(number.letterSpacing, 2.0);
    QCOMPARE(only(commands, "创建时间:").text, QStringLiteral("创建时间:2024-06-12 18:20:05"));
    const PaintCommand total = only(commands, "共");
    QCOMPARE(total.text, QStringLiteral("共4件"));
    QCOMPARE(total.box, QRect(110, 200, 300, 30));
    QCOMPARE(total.pixelSize, 15);
    QCOMPARE(only(commands, "确认签收：").text,
             QStringLiteral("确认签收：         衣服3件，附件1件"));
    QCOMPARE(only(commands, "---").text, QString(62, QLatin1Char('-')));
    QCOMPARE(only(commands, "地址：").box, QRect(0, 295, 400, 30));
    const Record drawn = pictures(commands);
    QCOMPARE(drawn.size(), 1);
    QCOMPARE(drawn.first().box, QRect(103, 120, 70, 70));
    QCOMPARE(drawn.first().source, QRect(0, 0, 198, 198));
}

void TestPrintLayout::certificateStyles_data()
{
    QTest::addColumn<Certificate::Style>("style");
    QTest::addColumn<int>("showCode");
    QTest::addColumn<QRect>("userName");
    QTest::addColumn<QRect>("userPhone");
    QTest::addColumn<QVector<QRect>>("codes"); // picture targets in drawing order
    QTest::addColumn<QRect>("codeText");

    using S = Certificate::Style;
    QTest::newRow("1 QR") << S::One << 1 << QRect(5, 80, 130, 30) << QRect(5, 100, 150, 30)
                          << QVector<QRect>{QRect(243, 65, 50, 50)} << QRect(175, 115, 120, 30);
    QTest::newRow("1 barcode") << S::One << 0 << QRect(5, 80, 130, 30) << QRect(5, 100, 150, 30)
                               << QVector<QRect>{QRect(165, 75, 118, 40)}
                               << QRect(165, 110, 120, 30);
    QTest::newRow("2 QR") << S::Two << 1 << QRect(165, 60, 118, 30) << QRect(165, 78, 118, 30)
                          << QVector<QRect>{QRect(20, 70, 60, 80), QRect(250, 103, 40, 40)}
                          << QRect(130, 115, 120, 30);
    QTest::newRow("2 barcode") << S::Two << 0 << QRect(165, 60, 118, 30) << QRect(165, 78, 118, 30)
                               << QVector<QRect>{QRect(20, 70, 60, 80), QRect(165, 103, 118, 30)}
                               << QRect(165, 130, 120, 30);
    QTest::newRow("3 QR") << S::Three << 1 << QRect(5, 63, 130, 30) << QRect(5, 81, 150, 30)
                          << QVector<QRect>{QRect(210, 70, 60, 80), QRect(10, 107, 40, 40)}
                          << QRect(55, 120, 120, 30);
    QTest::newRow("3 barcode") << S::Three << 0 << QRect(5, 63, 130, 30) << QRect(5, 81, 150, 30)
                               << QVector<QRect>{QRect(210, 70, 60, 80), QRect(10, 103, 118, 30)}
                               << QRect(10, 130, 120, 30);
}

void TestPrintLayout::certificateStyles()
{
    QFETCH(Certificate::Style, style);
    QFETCH(int, showCode);
    QFETCH(QRect, userName);
    QFETCH(QRect, userPhone);
    QFETCH(QVector<QRect>, codes);
    QFETCH(QRect, codeText);
    const Json::Value data =
        PrintData::readData(edited(QStringLiteral("product_qualified.json"), [&](QJsonObject &d) {
            d[QStringLiteral("showCode")] = showCode;
        }));
    const Record commands = record([&](PrintCanvas &c) { Certificate::draw(c, data, style); });

    QCOMPARE(only(commands, "王晓燕").box, userName);
    QCOMPARE(only(commands, "13801234567").box, userPhone);
    QVERIFY(only(commands, "13801234567").bold);
    const Record drawn = pictures(commands);
    QCOMPARE(drawn.size(), codes.size());
    for (int i = 0; i < codes.size(); ++i)
        QCOMPARE(drawn.at(i).box, codes.at(i));
    QCOMPARE(only(commands, "880012345601").box, codeText);
    QCOMPARE(only(commands, "880012345601").pixelSize, 15);

    // The boxes all three styles share.
    QCOMPARE(only(commands, "单号:").box, QRect(5, 30, 150, 30));
    QCOMPARE(only(commands, "衣物").text, QStringLiteral("衣物4，附件1"));
    const PaintCommand checked = only(commands, "质检：");
    QCOMPARE(checked.box, QRect(210, 45, 88, 30));
    QCOMPARE(checked.flags, int(Qt::AlignRight));
    QCOMPARE(checked.text.mid(3), PrintData::localTime(1718950337000, "MM-dd hh:mm:ss"));
    QCOMPARE(only(commands, "黑色").pixelSize, style == Certificate::Style::One ? 9 : 8);
    QCOMPARE(only(commands, "W07").box, QRect(250, 5, 120, 30));
    QCOMPARE(only(commands, "A-12").pixelSize, 20);
}

void TestPrintLayout::washLabelsPerAccessory()
{
    const Json::Value detail = PrintData::readData(fixture("product_detail.json"));
    const QVector<Json::Value> labels = WashLabel::labels(detail, nullptr);
    const QStringList expectedCodes{"880012345601", "880012345611", "880012345612"};
    QCOMPARE(labels.size(), expectedCodes.size());
    for (int i = 0; i < labels.size(); ++i) {
        QCOMPARE(PrintData::text(labels.at(i), "scanCode"), expectedCodes.at(i));
        QCOMPARE(PrintData::integer(labels.at(i), "type"), i == 0 ? 1 : 2);
    }
    QCOMPARE(PrintData::text(labels.at(2), "productName"), QStringLiteral("腰带"));
    QCOMPARE(PrintData::text(labels.at(2), "parentProName"), QStringLiteral("羽绒服长款"));
    QCOMPARE(PrintData::integer(labels.at(2), "no"), 3);

    // An accessory printed on its own does not print the garment's accessories again.
    QCOMPARE(WashLabel::labels(labels.at(1), nullptr).size(), 1);
}

void TestPrintLayout::washLabelSplitsElementAndOrder_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("fromOrder");
    for (const char *key :
         {"isPaid", "userName", "userPhone", "storeName", "storeId", "productCnt", "orderNo"})
        QTest::newRow(key) << key << true;
    for (const char *key : {"productName", "scanCode", "no", "tranNum", "serviceName"})
        QTest::newRow(key) << key << false;
}

void TestPrintLayout::washLabelSplitsElementAndOrder()
{
    QFETCH(QString, key);
    QFETCH(bool, fromOrder);
    const QByteArray name = key.toLatin1();
    // The element carries its own value of every field, so the test sees which one wins.
    QJsonObject element = QJsonDocument::fromJson(fixture("product_all.json").toUtf8())
                              .object()[QStringLiteral("data")]
                              .toObject()[QStringLiteral("productList")]
                              .toArray()
                              .at(0)
                              .toObject();
    element[key] = QStringLiteral("from element");
    const QString elementText =
        QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("data"), element}}).toJson());
    const Json::Value order = PrintData::readData(fixture("product_all.json"));
    const Json::Value own = PrintData::readData(elementText);
    const Json::Value label = WashLabel::labels(own, &order).first();
    const Json::Value &expected = PrintData::member(fromOrder ? order : own, name.constData());
    QCOMPARE(PrintData::member(label, name.constData()), expected);
}

void TestPrintLayout::washLabelFrames_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("accessory");
    QTest::newRow("garment") << 0 << false;
    QTest::newRow("accessory") << 1 << true;
}

void TestPrintLayout::washLabelFrames()
{
    QFETCH(int, index);
    QFETCH(bool, accessory);
    const Json::Value label =
        WashLabel::labels(PrintData::readData(fixture("product_detail.json")), nullptr).at(index);
    const Record commands = record([&](PrintCanvas &c) { WashLabel::draw(c, label); });

    const PaintCommand first = only(commands, accessory ? "羽绒服长款 已" : "羽绒服长款 58.00 已");
    QCOMPARE(first.box.topLeft(), QPoint(10, 0));
    QCOMPARE(first.box.width(), accessory ? 100 : 150);
    QCOMPARE(only(commands, "DD*").text, QStringLiteral("DD*0031"));
    QCOMPARE(only(commands, "DD*").box.x(), accessory ? 130 : 140);
    QCOMPARE(only(commands, "138").box.width(), accessory ? 130 : 110);
    const PaintCommand conveyor = only(commands, "滑A-12");
    QCOMPARE(conveyor.pixelSize, accessory ? 12 : 13);
    QVERIFY(conveyor.bold);
    QCOMPARE(only(commands, label["scanCode"].asCString()).text,
             QString::fromLatin1(label["scanCode"].asCString()) + QLatin1Char(' ') +
                 PrintData::localTime(1718170441000, "MM.dd"));
    QCOMPARE(only(commands, "W07").pixelSize, 15);
    const Record drawn = pictures(commands);
    QCOMPARE(drawn.size(), 1);
    QCOMPARE(drawn.first().box, QRect(215, 0, 40, 40));
    QCOMPARE(drawn.first().source, QRect(0, 0, 200, 200));

    if (accessory) {
        const PaintCommand name = only(commands, "附件：");
        QCOMPARE(name.text, QStringLiteral("附件：毛领"));
        QCOMPARE(name.box, QRect(35, 20, 100, 50));
        QCOMPARE(name.pixelSize, 15);
        QVERIFY(!hasText(commands, "附件:"));
    } else {
        QCOMPARE(only(commands, "干洗").text, QStringLiteral("干洗去渍5.00元"));
        QCOMPARE(only(commands, "附件:").text, QStringLiteral("附件:2毛领/腰带"));
        QCOMPARE(only(commands, "附件:").box, QRect(35, 28, 100, 50));
        QCOMPARE(only(commands, "黑色").text, QStringLiteral("黑色 污渍 尽量洗净"));
    }
}

QTEST_MAIN(TestPrintLayout)
#include "tst_printlayout.moc"

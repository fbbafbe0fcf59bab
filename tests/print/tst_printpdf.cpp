#include "print/imageprovider.h"
#include "print/printdata.h"
#include "print/printerhelper.h"
#include "print/qrcodepicture.h"
#include "printtestsupport.h"

#include <QtTest>

using PrintTest::compact;
using PrintTest::decodedCodes;
using PrintTest::edited;
using PrintTest::fixture;

namespace {

using PrintCall = bool (PrinterHelper::*)(const QString &, const QString &);

const QString pdfPath = QStringLiteral("release/qrpic/123.pdf");

QString intakeTime(qint64 msecs)
{
    return PrintData::localTime(msecs, QStringLiteral("MM-dd hh:mm:ss"));
}

} // namespace

Q_DECLARE_METATYPE(PrintCall)

// Documents printed to the "pdf" printer and read back the way a person or a scanner would:
// their text with pdftotext, their codes with a real decoder after rasterising.
class TestPrintPdf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void ticketText_data();
    void ticketText();
    void ticketCodesDecode_data();
    void ticketCodesDecode();
    void barcodeLeavesNothingBehind();
    void bagLabel_data();
    void bagLabel();
    void washLabelsOfOneGarment();
    void washLabelsOfAnOrder();
    void orderWithoutLabelsStartsNoJob();
    void certificates_data();
    void certificates();
    void certificateStyleDispatch_data();
    void certificateStyleDispatch();
    void noSpoolerListsNoPrinters();
    void noPrinterPrintsNothing_data();
    void noPrinterPrintsNothing();
    void malformedReplyStillPrintsCaptions();

    void qrPictureFiles_data();
    void qrPictureFiles();
    void qrPictureReplacesOldFile();
    void qrPictureModules();
    void imageProviderLoadsFromWorkingFolder();

private:
    QStringList printed(PrintCall call, const QString &reply);

    QTemporaryDir m_work;
};

void TestPrintPdf::initTestCase()
{
    // "release/qrpic/123.pdf" and "qrpic/" are relative to the working directory.
    QVERIFY(m_work.isValid());
    QVERIFY(QDir::setCurrent(m_work.path()));
    // No spooler to talk to: the machine's own printers stay out of these tests.
    qputenv("CUPS_SERVER", QFile::encodeName(m_work.filePath(QStringLiteral("no-cups.sock"))));
}

void TestPrintPdf::init()
{
    QDir(m_work.path()).removeRecursively();
    QDir().mkpath(m_work.path());
    QDir::setCurrent(m_work.path());
}

QStringList TestPrintPdf::printed(PrintCall call, const QString &reply)
{
    PrinterHelper helper;
    (helper.*call)(QStringLiteral("pdf"), reply);
    if (!QFile::exists(pdfPath))
        return {};
    return PrintTest::pdfPages(pdfPath);
}

void TestPrintPdf::ticketText_data()
{
    QTest::addColumn<PrintCall>("call");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    const QString full = fixture(QStringLiteral("order_detail.json"));
    const QString time = intakeTime(1718170441000);
    const QStringList common{"洁然洗衣连锁",
                             "洁然洗衣·望京店",
                             "DD2406120031",
                             "880012345601",
                             "¥58.00",
                             "¥65.00*90%",
                             "¥30.00*1.50*100%",
                             "挂点：输轨12",
                             "黑色污渍/起球尽量洗净",
                             "去渍5.00元/护理3.00元",
                             "已退洗",
                             "羽绒服袖口有旧污渍，已告知顾客可能洗不掉",
                             "折扣:90%余额:¥456.00",
                             "送件地址：北京市朝阳区望京西园三区312号楼2单元501",
                             "微信号:jieran_xiyi",
                             "注意事项：",
                             "1.衣物请在30天内取回，逾期收取保管费。2.贵重物品请勿留在衣物口袋中。",
                             "打印时间：",
                             "微信扫码关注，了解更多",
                             "滑轨A-12"};
    QTest::newRow("80 mm") << PrintCall(&PrinterHelper::ticketPrintIfo) << full
                           << common +
                                  QStringList{"入库：" + time,           "衣物3件，附件2件",
                                              "到店送洗:李敏",           "羽绒服长款880012345601",
                                              "真丝连衣裙880012345603",  "衣物总额：138.00",
                                              "修改金额：¥-8.00",        "取送费：¥13.00",
                                              "已付金额：¥110.00",       "已退款：¥25.00",
                                              "付款状态：已支付",        "客户备注：",
                                              "客户：13801234567王晓燕", "卡号：M0010023"}
                           << QStringList{"\\n", "..", "多折扣"};
    QTest::newRow("58 mm") << PrintCall(&PrinterHelper::ticketPrintIfo58) << full
                           << common +
                                  QStringList{"入库:" + time,           "衣物3，附件2",
                                              "羽绒服长..880012345601", "真丝连衣..880012345603",
                                              "西装880012345602",       "衣物总额:¥138.00",
                                              "修改金额:¥-8.00",        "取送费:¥13.00",
                                              "已付金额:¥110.00",       "已退款:¥25.00",
                                              "付款状态:已支付",        "客户备注:",
                                              "客户:13801234567王晓燕", "卡号:M0010023"}
                           << QStringList{"\\n", "衣物总额：", "羽绒服长款"};

    const QString nulls = edited(QStringLiteral("order_detail.json"), [](QJsonObject &d) {
        for (const char *key :
             {"mercName", "sendWorkName", "userBalance", "sendAddress", "billTip"})
            d[QLatin1String(key)] = QJsonValue::Null;
        d[QStringLiteral("userRemark")] = QString();
        d[QStringLiteral("discountDesc")] = QStringLiteral("会员9折+满减");
    });
    QTest::newRow("null fields") << PrintCall(&PrinterHelper::ticketPrintIfo) << nulls
                                 << QStringList{"客户备注：无", "折扣:多折扣", "到店送洗衣物"}
                                 << QStringList{"洁然洗衣连锁", "余额", "送件地址", "注意事项",
                                                ":李敏"};
    const QString plain = edited(QStringLiteral("order_detail.json"), [](QJsonObject &d) {
        d[QStringLiteral("discount")] = 100;
        d[QStringLiteral("orderProductList")] = QJsonArray();
        d[QStringLiteral("productCnt")] = 2;
        for (const char *key :
             {"modifyPrice", "takeCarriage", "sendCarriage", "paidPrice", "refundPrice"})
            d[QLatin1String(key)] = 0;
    });
    QTest::newRow("no garments, no discount")
        << PrintCall(&PrinterHelper::ticketPrintIfo) << plain
        << QStringList{"衣物0件，附件2件", "折扣:无折扣", "衣物总额：138.00付款状态：已支付"}
        << QStringList{"880012345601", "修改金额", "取送费", "已付金额", "已退款"};
}

void TestPrintPdf::ticketText()
{
    QFETCH(PrintCall, call);
    QFETCH(QString, reply);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    const QStringList pages = printed(call, reply);
    QCOMPARE(pages.size(), 1);
    for (const QString &text : present)
        QVERIFY2(pages.first().contains(compact(text)), qPrintable(text + " in " + pages.first()));
    for (const QString &text : absent)
        QVERIFY2(!pages.first().contains(compact(text)), qPrintable(text));
}

void TestPrintPdf::ticketCodesDecode_data()
{
    QTest::addColumn<PrintCall>("call");
    QTest::addColumn<bool>("qr");
    for (bool qr : {true, false}) {
        QTest::addRow("80 mm, %s", qr ? "QR" : "barcode")
            << PrintCall(&PrinterHelper::ticketPrintIfo) << qr;
        QTest::addRow("58 mm, %s", qr ? "QR" : "barcode")
            << PrintCall(&PrinterHelper::ticketPrintIfo58) << qr;
    }
}

void TestPrintPdf::ticketCodesDecode()
{
    QFETCH(PrintCall, call);
    QFETCH(bool, qr);
    const QString reply = edited(QStringLiteral("order_detail.json"), [&](QJsonObject &d) {
        d[QStringLiteral("isShowOrderQrCode")] = qr;
    });
    QCOMPARE(printed(call, reply).size(), 1);
    const QString follow = QJsonDocument::fromJson(reply.toUtf8())
                               .object()[QStringLiteral("data")]
                               .toObject()[QStringLiteral("qrcode")]
                               .toString();
    QStringList expected{QStringLiteral("QR-Code:") + follow,
                         (qr ? QStringLiteral("QR-Code:") : QStringLiteral("CODE-128:")) +
                             QStringLiteral("DD2406120031")};
    expected.sort();
    QCOMPARE(decodedCodes(pdfPath), expected);
}

void TestPrintPdf::barcodeLeavesNothingBehind()
{
    const QString reply = edited(QStringLiteral("order_detail.json"), [](QJsonObject &d) {
        d[QStringLiteral("isShowOrderQrCode")] = false;
    });
    PrinterHelper helper;
    helper.ticketPrintIfo(QStringLiteral("pdf"), reply);
    helper.qualifiedPrintInfo1(QStringLiteral("pdf"),
                               edited(QStringLiteral("product_qualified.json"),
                                      [](QJsonObject &d) { d[QStringLiteral("showCode")] = 0; }));
    QCOMPARE(PrintTest::filesBelow(m_work.path()), QStringList{pdfPath});
    const QDir program(QCoreApplication::applicationDirPath());
    QVERIFY(!program.exists(QStringLiteral("test.png")));
    QVERIFY(!program.exists(QStringLiteral("test1.png")));
}

void TestPrintPdf::bagLabel_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QStringList>("present");
    const QStringList common{"入厂袋号：RC24061200017",
                             "创建时间:2024-06-12 18:20:05",
                             "请扫码核对确认",
                             "共4件",
                             "确认签收：衣服3件，附件1件",
                             QString(62, QLatin1Char('-')),
                             "洁然洗衣·望京店",
                             "打印时间："};
    QTest::newRow("with address") << fixture(QStringLiteral("batch_product.json"))
                                  << common + QStringList{"地址：北京市朝阳区望京街10号打印时间："};
    const QString noAddress = edited(QStringLiteral("batch_product.json"), [](QJsonObject &d) {
        QJsonObject batch = d[QStringLiteral("batch")].toObject();
        batch[QStringLiteral("storeAddrDesc")] = QJsonValue::Null;
        d[QStringLiteral("batch")] = batch;
    });
    QTest::newRow("address null") << noAddress << common + QStringList{"地址：打印时间："};
}

void TestPrintPdf::bagLabel()
{
    QFETCH(QString, reply);
    QFETCH(QStringList, present);
    const QStringList pages = printed(&PrinterHelper::bagNumPrintInfo, reply);
    QCOMPARE(pages.size(), 1);
    for (const QString &text : present)
        QVERIFY2(pages.first().contains(compact(text)), qPrintable(text + " in " + pages.first()));
    QCOMPARE(decodedCodes(pdfPath, 1, 4), QStringList{QStringLiteral("QR-Code:RC24061200017")});
}

void TestPrintPdf::washLabelsOfOneGarment()
{
    PrinterHelper helper;
    helper.printInfo(QStringLiteral("pdf"), fixture(QStringLiteral("product_detail.json")),
                     QString());
    const QStringList pages = PrintTest::pdfPages(pdfPath);
    QCOMPARE(pages.size(), 3); // the garment and its two accessories
    const QString date = PrintData::localTime(1718170441000, QStringLiteral("MM.dd"));
    for (const QString &text :
         QStringList{"羽绒服长款58.00已", "DD*0031", "干洗去渍5.00元", "附件:2毛领/腰带",
                     "黑色污渍尽量洗净", "13801234567王晓燕", "滑A-12", "望京店", "W07"})
        QVERIFY2(pages.at(0).contains(compact(text)), qPrintable(text + " in " + pages.at(0)));
    QVERIFY(pages.at(0).contains(QStringLiteral("880012345601") + date));
    const QStringList accessories{"毛领", "腰带"};
    const QStringList codes{"880012345601", "880012345611", "880012345612"};
    for (int page = 1; page <= 2; ++page) {
        for (const QString &text :
             {QStringLiteral("羽绒服长款已"), QStringLiteral("附件：") + accessories.at(page - 1),
              codes.at(page) + date, QStringLiteral("DD*0031")})
            QVERIFY2(pages.at(page).contains(text), qPrintable(text + " in " + pages.at(page)));
        QVERIFY(!pages.at(page).contains(QStringLiteral("附件:")));
    }
    for (int page = 0; page < 3; ++page)
        QCOMPARE(decodedCodes(pdfPath, page + 1, 2), QStringList{"QR-Code:" + codes.at(page)});
}

void TestPrintPdf::washLabelsOfAnOrder()
{
    // "全打标": the whole "print/product/all" reply, every label in one job.
    PrinterHelper helper;
    QVERIFY(
        helper.printAllLabels(QStringLiteral("pdf"), fixture(QStringLiteral("product_all.json"))));
    const QStringList labels = PrintTest::pdfPages(pdfPath);
    QStringList codes;
    for (int page = 0; page < labels.size(); ++page)
        codes << decodedCodes(pdfPath, page + 1, 2);
    // Two garments and the one accessory of the first.
    QCOMPARE(labels.size(), 3);
    QCOMPARE(codes,
             (QStringList{"QR-Code:880012345621", "QR-Code:880012345622", "QR-Code:880012345623"}));
    for (const QString &label : labels) {
        // Order fields come from the whole reply: unpaid, its customer, store and order.
        QVERIFY2(label.contains(QStringLiteral("未")), qPrintable(label));
        QVERIFY(label.contains(QStringLiteral("13801234567王晓燕")));
        QVERIFY(label.contains(QStringLiteral("DD*0032")));
        QVERIFY(label.contains(QStringLiteral("W07")));
    }
    QVERIFY(labels.at(0).contains(QStringLiteral("西装45.00未")));
    QVERIFY(labels.at(0).contains(QStringLiteral("附件:1领带")));
    QVERIFY(labels.at(1).contains(QStringLiteral("西装未")));
    QVERIFY(labels.at(1).contains(QStringLiteral("附件：领带")));
    QVERIFY(labels.at(2).contains(QStringLiteral("衬衫未"))); // null price prints nothing
    QVERIFY(labels.at(2).contains(QStringLiteral("附件:0")));
}

void TestPrintPdf::orderWithoutLabelsStartsNoJob()
{
    // A job without a label would feed a blank label (or a blank PDF page).
    PrinterHelper helper;
    QVERIFY(!helper.printAllLabels(QStringLiteral("pdf"),
                                   QStringLiteral(R"({"httpCode":200,"data":{"productList":[]}})")));
    QVERIFY(!QFile::exists(pdfPath));
}

void TestPrintPdf::certificates_data()
{
    QTest::addColumn<PrintCall>("call");
    QTest::addColumn<int>("showCode");
    QTest::addColumn<bool>("storeBarcode");
    const QVector<QPair<const char *, PrintCall>> styles{
        {"style 1", &PrinterHelper::qualifiedPrintInfo},
        {"style 2", &PrinterHelper::qualifiedPrintInfo1},
        {"style 3", &PrinterHelper::qualifiedPrintInfo2}};
    for (const auto &style : styles) {
        for (int showCode : {0, 1})
            QTest::addRow("%s, %s", style.first, showCode ? "QR" : "barcode")
                << style.second << showCode
                << (style.second != PrintCall(&PrinterHelper::qualifiedPrintInfo));
    }
}

void TestPrintPdf::certificates()
{
    QFETCH(PrintCall, call);
    QFETCH(int, showCode);
    QFETCH(bool, storeBarcode);
    const QString reply = edited(QStringLiteral("product_qualified.json"),
                                 [&](QJsonObject &d) { d[QStringLiteral("showCode")] = showCode; });
    const QStringList pages = printed(call, reply);
    QCOMPARE(pages.size(), 1);
    for (const QString &text :
         {QStringLiteral("单号:DD2406120031"), QStringLiteral("黑色"),
          QStringLiteral("衣物4，附件1"),
          QStringLiteral("检：") + compact(intakeTime(1718950337000)), QStringLiteral("王晓燕"),
          QStringLiteral("13801234567"), QStringLiteral("W07"), QStringLiteral("滑轨"),
          QStringLiteral("A-12"), QStringLiteral("880012345601")})
        QVERIFY2(pages.first().contains(text), qPrintable(text + " in " + pages.first()));
    QStringList expected{(showCode ? QStringLiteral("QR-Code:") : QStringLiteral("CODE-128:")) +
                         QStringLiteral("880012345601")};
    if (storeBarcode)
        expected << QStringLiteral("CODE-128:W07");
    expected.sort();
    QCOMPARE(decodedCodes(pdfPath, 1, 3), expected);
}

void TestPrintPdf::certificateStyleDispatch_data()
{
    QTest::addColumn<PrintCall>("call");
    QTest::addColumn<QPoint>("offset"); // the customer's name relative to the garment name
    QTest::newRow("qualifiedPrintInfo")
        << PrintCall(&PrinterHelper::qualifiedPrintInfo) << QPoint(0, 75);
    QTest::newRow("qualifiedPrintInfo1")
        << PrintCall(&PrinterHelper::qualifiedPrintInfo1) << QPoint(160, 55);
    QTest::newRow("qualifiedPrintInfo2")
        << PrintCall(&PrinterHelper::qualifiedPrintInfo2) << QPoint(0, 58);
}

// Each method prints its own style: the word boxes in the PDF (points) put the customer's
// name where that style's layout puts it (pixels at 96 per inch).
void TestPrintPdf::certificateStyleDispatch()
{
    QFETCH(PrintCall, call);
    QFETCH(QPoint, offset);
    QCOMPARE(printed(call, fixture(QStringLiteral("product_qualified.json"))).size(), 1);
    const QString html = PrintTest::run(QStringLiteral("pdftotext"),
                                        {QStringLiteral("-bbox"), pdfPath, QStringLiteral("-")});
    auto wordAt = [&](const QString &start) {
        const QRegularExpression word(
            QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>%1").arg(start));
        const QRegularExpressionMatch m = word.match(html);
        return m.hasMatch() ? QPointF(m.captured(1).toDouble(), m.captured(2).toDouble())
                            : QPointF(-1000, -1000);
    };
    const QPointF garment = wordAt(QStringLiteral("羽"));
    const QPointF customer = wordAt(QStringLiteral("王晓燕"));
    const QPointF measured = (customer - garment) * 96.0 / 72.0;
    QVERIFY2(qAbs(measured.x() - offset.x()) < 2 && qAbs(measured.y() - offset.y()) < 2,
             qPrintable(QStringLiteral("%1,%2").arg(measured.x()).arg(measured.y())));
}

void TestPrintPdf::noSpoolerListsNoPrinters()
{
    PrinterHelper helper;
    QCOMPARE(helper.getPrinterList(), QList<QString>());
    QCOMPARE(helper.getPrinterListNum(), 0);
}

void TestPrintPdf::noPrinterPrintsNothing_data()
{
    QTest::addColumn<QString>("printer");
    QTest::newRow("无") << QStringLiteral("无");
    QTest::newRow("not installed") << QStringLiteral("Label Printer 3");
    QTest::newRow("empty") << QString();
}

void TestPrintPdf::noPrinterPrintsNothing()
{
    QFETCH(QString, printer);
    PrinterHelper helper;
    const QString ticket = fixture(QStringLiteral("order_detail.json"));
    const QString certificate = fixture(QStringLiteral("product_qualified.json"));
    // Each call says that nothing was printed, so the screen can tell the worker.
    QVERIFY(!helper.ticketPrintIfo(printer, ticket));
    QVERIFY(!helper.ticketPrintIfo58(printer, ticket));
    QVERIFY(!helper.bagNumPrintInfo(printer, fixture(QStringLiteral("batch_product.json"))));
    QVERIFY(!helper.printInfo(printer, fixture(QStringLiteral("product_detail.json")), QString()));
    QVERIFY(!helper.printAllLabels(printer, fixture(QStringLiteral("product_all.json"))));
    QVERIFY(!helper.qualifiedPrintInfo(printer, certificate));
    QVERIFY(!helper.qualifiedPrintInfo1(printer, certificate));
    QVERIFY(!helper.qualifiedPrintInfo2(printer, certificate));
    QCOMPARE(PrintTest::filesBelow(m_work.path()), QStringList());
}

void TestPrintPdf::malformedReplyStillPrintsCaptions()
{
    const QStringList pages = printed(&PrinterHelper::ticketPrintIfo, QStringLiteral("<html>"));
    QCOMPARE(pages.size(), 1);
    for (const QString &caption :
         QStringList{"入库：", "衣物0件，附件0件", "衣物总额：0.00", "付款状态：", "客户备注：无",
                     "微信号:", "微信扫码关注，了解更多"})
        QVERIFY2(pages.first().contains(caption), qPrintable(caption));
}

void TestPrintPdf::qrPictureFiles_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("file"); // empty: no file
    QTest::newRow("bag code") << "RC24061200017"
                              << "qrpic/RC24061200017.jpg";
    QTest::newRow("order number") << "DD2406120031"
                                  << "qrpic/DD2406120031.jpg";
    QTest::newRow("weixin pay link") << "weixin://wxpay/bizpayurl?pr=Xk3u9mQzz1"
                                     << "qrpic/Xk3u9mQzz1.jpg";
    QTest::newRow("https link") << "https://qr.alipay.com/bax01234567890abc"
                                << "qrpic/4567890abc.jpg";
    QTest::newRow("climbs out") << "../../evil" << QString();
    QTest::newRow("link ending in a path") << "http://pay.example/a/b/c/def" << QString();
}

void TestPrintPdf::qrPictureFiles()
{
    QFETCH(QString, text);
    QFETCH(QString, file);
    PrinterHelper helper;
    const QPixmap picture = helper.creatQRCode(text);
    QCOMPARE(picture.size(), QSize(200, 200));
    if (file.isEmpty()) {
        QCOMPARE(PrintTest::filesBelow(m_work.path()), QStringList());
        return;
    }
    QCOMPARE(PrintTest::filesBelow(m_work.path()), QStringList{file});
    const QImage saved(file, "JPG");
    QCOMPARE(saved.size(), QSize(200, 200));
    const QStringList decoded =
        PrintTest::run(QStringLiteral("zbarimg"), {QStringLiteral("-q"), file})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(decoded, QStringList{QStringLiteral("QR-Code:") + text});
}

void TestPrintPdf::qrPictureReplacesOldFile()
{
    QDir().mkpath(QStringLiteral("qrpic"));
    QFile stale(QStringLiteral("qrpic/DD2406120031.jpg"));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("half a picture");
    stale.close();
    PrinterHelper helper;
    QVERIFY(!helper.creatQRCode(QStringLiteral("DD2406120031")).isNull());
    QCOMPARE(PrintTest::filesBelow(m_work.path()), QStringList{"qrpic/DD2406120031.jpg"});
    QCOMPARE(PrintTest::run(QStringLiteral("zbarimg"),
                            {QStringLiteral("-q"), QStringLiteral("qrpic/DD2406120031.jpg")})
                 .trimmed(),
             QStringLiteral("QR-Code:DD2406120031"));
}

void TestPrintPdf::qrPictureModules()
{
    PrinterHelper helper;
    QVERIFY(helper.creatQRCode(QString()).isNull());
    QCOMPARE(PrintTest::filesBelow(m_work.path()), QStringList());
    // Version 1 (21 modules) for a short text, one pixel per module, white then black.
    const QImage modules = helper.creatQRCode(QStringLiteral("DD1")).toImage();
    QCOMPARE(modules.size(), QSize(200, 200));
    // The finder pattern: a dark top-left corner and a light separator after 7 modules.
    QCOMPARE(QColor(modules.pixel(2, 2)), QColor(Qt::black));
    QCOMPARE(QColor(modules.pixel(7 * 200 / 21 + 4, 2)), QColor(Qt::white));
}

void TestPrintPdf::imageProviderLoadsFromWorkingFolder()
{
    // The program lives elsewhere (build/ beside run/ with the run command): what
    // creatQRCode writes below the working folder is what the screens are shown.
    QVERIFY(QDir::currentPath() != QCoreApplication::applicationDirPath());
    PrinterHelper helper;
    QVERIFY(!helper.creatQRCode(QStringLiteral("BAG-0042")).isNull());
    const QString shownId = QrCodePicture::filePath(QStringLiteral("BAG-0042"));

    ImageProvider provider;
    QSize size(-1, -1);
    QCOMPARE(provider.requestPixmap(shownId, &size, QSize()).size(), QSize(200, 200));
    QVERIFY(provider.requestPixmap(QStringLiteral("qrpic/missing.jpg"), &size, QSize()).isNull());
    QVERIFY(provider.requestPixmap(QStringLiteral("qrpic/../qrpic/BAG-0042.jpg"), &size, QSize())
                .isNull());
}

QTEST_MAIN(TestPrintPdf)
#include "tst_printpdf.moc"

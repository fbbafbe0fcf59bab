#include "print/orderticket.h"

#include "print/barcodepicture.h"
#include "print/printcanvas.h"
#include "print/printdata.h"
#include "print/qrcodepicture.h"

#include <QDateTime>

using namespace PrintData;

namespace OrderTicket {

namespace {

const QString hyphens67(67, QLatin1Char('-'));
const QString hyphens45(45, QLatin1Char('-'));
const QRect qrSource(0, 0, 198, 198);
constexpr int centred = Qt::AlignCenter;
constexpr int right = Qt::AlignRight;
constexpr int wrapped = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

// What differs between the two roll widths.
struct Geometry
{
    bool narrow;
    int headerWidth, ruleWidth;
    int qrX, barcodeX, barcodeWidth;
    int refundX, priceX, shelfX, descriptionWidth, addOnWidth;
    int moneyX, moneyWidth, addressWidth, notesWidth, notesLineHeight, notesPerLine, followX;
    QString remarkRule;
};

Geometry geometryFor(Roll roll)
{
    if (roll == Roll::Mm58)
        return {true, 188, 190, 60,  16,  150, 110, 90, 80,       150,
                150,  90,  85,  190, 185, 18,  13,  40, hyphens45};
    return {false, 260, 300, 100, 30,  200, 130, 170, 100,      200,
            260,   160, 100, 260, 260, 20,  25,  80,  hyphens67};
}

QString garmentName(const QString &name, bool narrow)
{
    if (narrow && name.size() >= 5)
        return name.left(4) + QStringLiteral("..");
    return name;
}

QString joined(const Json::Value &object, const char *key)
{
    return jsonTra(styledText(member(object, key)), QString::fromLatin1(key));
}

// Draws one garment from y and returns the next garment's y.
int drawGarment(PrintCanvas &c, const Geometry &g, const Json::Value &p, int y)
{
    c.setPixelSize(11);
    c.text(QRect(0, y, 200, 20),
           garmentName(text(p, "productName"), g.narrow) + QLatin1Char(' ') + text(p, "scanCode"));
    c.text(QRect(g.refundX, y, 200, 20),
           integer(p, "hasRefund") == 1 ? QStringLiteral("已退洗") : QString());
    c.text(QRect(g.priceX, y, 85, 20), QStringLiteral("¥ ") + hundredths(integer(p, "subtotal")),
           right);
    c.text(QRect(g.priceX, y + 15, 85, 20),
           text(p, "tranTypeStr") + QLatin1Char(' ') + text(p, "tranNum"), right);

    c.setPixelSize(10);
    const QString quantity = hundredths(integer(p, "count"));
    const QString price = QStringLiteral("¥ ") + hundredths(integer(p, "serviceAmt"));
    const QString discount = QString::number(integer(p, "discount")) + QLatin1Char('%');
    c.text(QRect(10, y + 15, 200, 20),
           quantity == QLatin1String("1.00")
               ? price + QLatin1Char('*') + discount
               : price + QLatin1Char('*') + quantity + QLatin1Char('*') + discount);

    c.setPixelSize(11);
    const qint64 shelf = integer(p, "storeShelfNo");
    c.text(QRect(g.shelfX, y + 15, 200, 50),
           shelf == 0
               ? QString()
               : QStringLiteral("挂点：") +
                     text(p, "tranTypeStr").replace(QStringLiteral("滑"), QStringLiteral("输")) +
                     QString::number(shelf));

    const QString colour = joined(p, "colorDesc");
    const QString flaw = joined(p, "flawDesc");
    const QString effect = joined(p, "effectDesc");
    int d = y - 15;
    if (!(colour + flaw + effect).isEmpty()) {
        c.elidedText(QRect(10, y + 30, g.descriptionWidth, 20),
                     colour + QLatin1Char(' ') + flaw + QLatin1Char(' ') + effect,
                     g.descriptionWidth, Qt::AlignLeft);
        d = y;
    }
    c.setPixelSize(9);
    const QString addOns = joined(p, "addServiceDesc");
    c.text(QRect(10, d + 45, g.addOnWidth, 28), addOns, wrapped);
    return addOns.isEmpty() ? d + 45 : d + 70;
}

// The money summary below the garments; returns the y the customer part counts from.
int drawMoney(PrintCanvas &c, const Geometry &g, const Json::Value &data, int y)
{
    const bool n = g.narrow;
    c.setPixelSize(11);
    c.text(QRect(0, y, g.ruleWidth, 20), hyphens67);
    auto money = [&](int top, const QString &line) {
        c.text(QRect(g.moneyX, top, g.moneyWidth, 20), line, right);
    };
    money(y + 15, (n ? QStringLiteral("衣物总额:¥") : QStringLiteral("衣物总额：")) +
                      hundredths(integer(data, "orderPrice")));
    const QString modify = hundredths(integer(data, "modifyPrice"));
    const QString fee = hundredths(integer(data, "takeCarriage") + integer(data, "sendCarriage"));
    const QString paid = hundredths(integer(data, "paidPrice"));
    const QString refund = hundredths(integer(data, "refundPrice"));
    const QString zero = QStringLiteral("0.00");
    if (modify != zero) {
        money(y + 30, (n ? QStringLiteral("修改金额:¥") : QStringLiteral("修改金额：¥")) + modify);
        y += 15;
    }
    if (fee != zero) {
        money(y + 30, (n ? QStringLiteral("取送费:¥") : QStringLiteral("取送费：¥")) + fee);
        y += 15;
    }
    if (paid != zero)
        money(y + 30, (n ? QStringLiteral("已付金额:¥") : QStringLiteral("已付金额：¥")) + paid);
    else
        y -= 15;
    if (refund != zero)
        money(y + 45, (n ? QStringLiteral("已退款:¥") : QStringLiteral("已退款：¥")) + refund);
    else
        y -= 15;
    money(y + 60, (n ? QStringLiteral("付款状态:") : QStringLiteral("付款状态：")) +
                      text(data, "payStatusText"));
    return y;
}

QString discountText(const Json::Value &data)
{
    if (!isNull(data, "discountDesc"))
        return QStringLiteral("多折扣");
    const qint64 discount = integer(data, "discount");
    return discount == 100 ? QStringLiteral("无折扣")
                           : QString::number(discount) + QLatin1Char('%');
}

void drawCustomer(PrintCanvas &c, const Geometry &g, const Json::Value &data, int y)
{
    const bool n = g.narrow;
    c.text(QRect(0, y + 75, g.ruleWidth, 20), g.remarkRule);
    const QString remark =
        text(data, "userRemark").isEmpty() ? QStringLiteral("无") : text(data, "userRemark");
    const int length = remark.size();
    if (n) {
        c.text(QRect(0, y + 85, 190, 15 * ((length / 13) + 1)),
               QStringLiteral("客户备注:") + remark, wrapped);
        y += (length / 13) * 15;
    } else {
        c.text(QRect(0, y + 85, 300, 20 * (length / 25) + 20),
               QStringLiteral("客户备注：") + remark, wrapped);
        y += (length / 25) * 15;
    }
    c.text(QRect(0, y + 100, g.ruleWidth, 20), g.remarkRule);
    c.setPixelSize(13);
    c.text(QRect(0, y + 115, 300, 20), (n ? QStringLiteral("客户:") : QStringLiteral("客户： ")) +
                                           text(data, "userPhone") + QLatin1Char(' ') +
                                           text(data, "userName"));
    c.setPixelSize(11);
    c.text(QRect(0, y + 135, 300, 20),
           (n ? QStringLiteral("卡号:") : QStringLiteral("卡号： ")) + text(data, "userCardNo"));
    const Json::Value &balance = member(data, "userBalance");
    c.text(QRect(0, y + 150, 300, 20),
           QStringLiteral("折扣:") + discountText(data) +
               (balance.isNumeric()
                    ? QStringLiteral(" 余额:¥") + hundredths(integer(data, "userBalance"))
                    : QString()));

    const QString address = isNull(data, "sendAddress")
                                ? QString()
                                : QStringLiteral("送件地址：") + text(data, "sendAddress");
    c.text(QRect(0, y + 165, g.addressWidth, 30), address, wrapped);
    const int a = address.isEmpty() ? 0 : 25;
    c.text(QRect(0, y + 165 + a, g.ruleWidth, 20), hyphens67);
    c.text(QRect(0, y + 175 + a, g.ruleWidth, 20),
           QStringLiteral("微信号: ") + text(data, "wxCode"));

    QString notes;
    int notesLines = 1;
    if (!isNull(data, "billTip")) {
        const QString tip = text(data, "billTip").remove(QStringLiteral("\\n"));
        notes = QStringLiteral("注意事项：\n") + tip;
        notesLines = tip.size() / g.notesPerLine + 2;
    }
    const int b = y + 183 + g.notesLineHeight * notesLines;
    notes += QStringLiteral("\n打印时间：") +
             QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    const int notesHeight =
        qMax(g.notesLineHeight * (notesLines + 1), c.wrappedHeight(g.notesWidth, notes, wrapped));
    c.text(QRect(0, y + 190 + a, g.notesWidth, notesHeight), notes, wrapped);

    c.picture(QRect(g.followX, b + a + 20, 100, 100),
              QrCodePicture::printed(QrCodePicture::modules(text(data, "qrcode"))), qrSource);
    c.text(QRect(0, b + a + 83, 260, 100), QStringLiteral("微信扫码关注，了解更多"), centred);
}

} // namespace

void draw(PrintCanvas &c, const Json::Value &data, Roll roll)
{
    const Geometry g = geometryFor(roll);
    int y = 0;
    c.setPixelSize(18);
    for (const char *key : {"mercName", "storeName"}) {
        if (!isNull(data, key)) {
            c.text(QRect(0, y, g.headerWidth, 30), text(data, key), centred);
            y += 30;
        }
    }
    c.setPixelSize(15);
    const QString orderNo = text(data, "orderNo");
    c.text(QRect(0, y, g.headerWidth, 20), orderNo, centred);
    const Json::Value &showQr = member(data, "isShowOrderQrCode");
    if (showQr.isBool() && !showQr.asBool()) {
        c.picture(QRect(g.barcodeX, y + 20, g.barcodeWidth, 40), BarcodePicture::code128(orderNo));
        y += 80;
    } else {
        c.picture(QRect(g.qrX, y + 20, 80, 80),
                  QrCodePicture::printed(QrCodePicture::modules(orderNo)), qrSource);
        y += 105;
    }

    c.setPixelSize(11);
    const QString intake = localTime(integer(data, "createTime"), QStringLiteral("MM-dd hh:mm:ss"));
    c.text(QRect(0, y, 200, 20),
           (g.narrow ? QStringLiteral("入库:") : QStringLiteral("入库：")) + intake);
    const Json::Value &garments = member(data, "orderProductList");
    const qint64 n = garments.isArray() ? garments.size() : 0;
    const qint64 accessories = integer(data, "productCnt") - n;
    if (g.narrow)
        c.text(QRect(110, y, 100, 20), QStringLiteral("衣物%1，附件%2").arg(n).arg(accessories));
    else
        c.text(QRect(160, y + 15, 100, 20),
               QStringLiteral("衣物%1件，附件%2件").arg(n).arg(accessories));
    const QString worker =
        isNull(data, "sendWorkName") ? QString() : QStringLiteral(":") + text(data, "sendWorkName");
    c.text(QRect(0, y + 15, 100, 20), text(data, "sendModeText") + worker);
    c.text(QRect(0, y + 30, g.ruleWidth, 20), hyphens67);
    y += 45;

    if (garments.isArray()) {
        for (const Json::Value &garment : garments)
            y = drawGarment(c, g, garment, y);
    }
    y = drawMoney(c, g, data, y);
    drawCustomer(c, g, data, y);
}

} // namespace OrderTicket

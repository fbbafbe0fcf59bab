#include "print/washlabel.h"

#include "print/printcanvas.h"
#include "print/printdata.h"
#include "print/qrcodepicture.h"

using namespace PrintData;

namespace WashLabel {

namespace {

// Fields that "print/product/all" sends once for the order rather than per garment.
const char *const orderFields[] = {"isPaid",  "userName",   "userPhone", "storeName",
                                   "storeId", "productCnt", "orderNo"};

bool isAccessory(const Json::Value &label)
{
    return integer(label, "type") == 2;
}

QString paidMark(const Json::Value &label)
{
    const Json::Value &paid = member(label, "isPaid");
    const bool yes = paid.isBool() ? paid.asBool() : integer(label, "isPaid") != 0;
    return yes ? QStringLiteral("已") : QStringLiteral("未");
}

QString joined(const Json::Value &object, const char *key)
{
    return jsonTra(styledText(member(object, key)), QString::fromLatin1(key));
}

void drawFrame(PrintCanvas &c, const Json::Value &label, bool accessory)
{
    c.setPixelSize(10);
    c.setBold(false);
    c.picture(QRect(215, 0, 40, 40),
              QrCodePicture::printed(QrCodePicture::modules(text(label, "scanCode"))),
              QRect(0, 0, 200, 200));
    const QString subtotal =
        isNull(label, "subtotal") ? QString() : hundredths(integer(label, "subtotal"));
    const QString first =
        accessory ? text(label, "parentProName") + QLatin1Char(' ')
                  : text(label, "productName") + QLatin1Char(' ') + subtotal + QLatin1Char(' ');
    c.text(QRect(10, 0, accessory ? 100 : 150, 20), first + paidMark(label));
    const QString orderNo = text(label, "orderNo");
    c.text(QRect(accessory ? 130 : 140, 0, 100, 20),
           orderNo.left(2) + QLatin1Char('*') + orderNo.right(4));
    c.text(QRect(10, 18, 100, 50), QString::number(integer(label, "no")));
    c.line(QPoint(10, 37), QPoint(15, 37));
    c.text(QRect(10, 40, 100, 50), QString::number(integer(label, "productCnt")));
    c.text(QRect(205, 40, accessory ? 130 : 110, 50),
           text(label, "userPhone") + text(label, "userName"));

    c.setPixelSize(accessory ? 12 : 13);
    c.setBold(true);
    c.text(QRect(320, 37, 100, 50), text(label, "tranText").left(1) + text(label, "tranNum"));
    c.setPixelSize(10);
    c.setBold(false);
    c.text(QRect(260, 25, 150, 50),
           text(label, "scanCode") + QLatin1Char(' ') +
               localTime(integer(label, "createTime"), QStringLiteral("MM.dd")));
    c.setPixelSize(12);
    c.text(QRect(260, 5, 80, 50), text(label, "storeName"));
    c.setPixelSize(15);
    c.setBold(true);
    c.text(QRect(340, 5, 100, 50), text(label, "storeId"));
}

void drawGarment(PrintCanvas &c, const Json::Value &label)
{
    c.setPixelSize(10);
    c.setBold(false);
    c.text(QRect(35, 17, 100, 50), text(label, "serviceName") + joined(label, "addServiceDesc"));
    const QString accessories = joined(label, "annexDesc");
    if (!accessories.isEmpty())
        c.text(QRect(35, 28, 100, 50), QStringLiteral("附件:") + accessories);
    c.elidedText(QRect(35, 40, 170, 50),
                 joined(label, "colorDesc") + QLatin1Char(' ') + joined(label, "flawDesc") +
                     QLatin1Char(' ') + joined(label, "effectDesc"),
                 200, Qt::AlignLeft);
}

void drawAccessory(PrintCanvas &c, const Json::Value &label)
{
    c.setPixelSize(15);
    c.setBold(true);
    c.text(QRect(35, 20, 100, 50), QStringLiteral("附件：") + text(label, "productName"));
}

} // namespace

QVector<Json::Value> labels(const Json::Value &element, const Json::Value *order)
{
    Json::Value item = element.isObject() ? element : Json::Value(Json::objectValue);
    if (order) {
        for (const char *key : orderFields)
            item[key] = member(*order, key);
    }
    QVector<Json::Value> result{item};
    const Json::Value &annexes = member(item, "annexList");
    if (isAccessory(item) || !annexes.isArray())
        return result;
    for (const Json::Value &annex : annexes) {
        Json::Value accessory = item;
        accessory.removeMember("annexList");
        if (annex.isObject()) {
            for (const std::string &name : annex.getMemberNames())
                accessory[name] = annex[name];
        }
        accessory["type"] = 2;
        if (isNull(annex, "parentProName"))
            accessory["parentProName"] = member(item, "productName");
        result.append(accessory);
    }
    return result;
}

void draw(PrintCanvas &c, const Json::Value &label)
{
    const bool accessory = isAccessory(label);
    drawFrame(c, label, accessory);
    if (accessory)
        drawAccessory(c, label);
    else
        drawGarment(c, label);
}

} // namespace WashLabel

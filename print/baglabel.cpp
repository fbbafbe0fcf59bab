#include "print/baglabel.h"

#include "print/printcanvas.h"
#include "print/printdata.h"
#include "print/qrcodepicture.h"

#include <QDateTime>

using namespace PrintData;

namespace BagLabel {

void draw(PrintCanvas &c, const Json::Value &data)
{
    const Json::Value &batch = member(data, "batch");
    const QString code = text(batch, "code");
    QString created = text(batch, "createTime");
    created.chop(2);
    const qint64 garments = integer(batch, "productCnt");
    const qint64 accessories = integer(batch, "annexCnt");

    auto font = [&](int pixelSize, qreal spacing) {
        c.setPixelSize(pixelSize);
        c.setLetterSpacing(spacing);
    };
    font(18, 2.0);
    c.text(QRect(30, 0, 300, 30), QStringLiteral("入厂袋号：") + code);
    font(11, 1.0);
    c.text(QRect(45, 40, 300, 30), QStringLiteral("创建时间:") + created);
    font(13, 1.0);
    c.text(QRect(90, 80, 300, 30), QStringLiteral("请扫码核对确认"));
    c.picture(QRect(103, 120, 70, 70), QrCodePicture::printed(QrCodePicture::modules(code)),
              QRect(0, 0, 198, 198));
    font(15, 2.0);
    c.text(QRect(110, 200, 300, 30), QStringLiteral("共%1件").arg(garments + accessories));
    font(11, 1.0);
    c.text(QRect(0, 240, 300, 30),
           QStringLiteral("确认签收：         衣服%1件，附件%2件").arg(garments).arg(accessories));
    c.text(QRect(0, 260, 400, 30), QString(62, QLatin1Char('-')));
    c.text(QRect(0, 280, 400, 30), text(batch, "storeName"));
    c.text(QRect(0, 295, 400, 30), QStringLiteral("地址：") + text(batch, "storeAddrDesc"));
    c.text(QRect(0, 310, 400, 30),
           QStringLiteral("打印时间：") +
               QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
}

} // namespace BagLabel

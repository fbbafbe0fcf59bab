#include "print/certificate.h"

#include "print/barcodepicture.h"
#include "print/printcanvas.h"
#include "print/printdata.h"
#include "print/qrcodepicture.h"

using namespace PrintData;

namespace Certificate {

namespace {

// Where the styles put the customer and the garment code.
struct Geometry
{
    int colourSize;
    QRect userName;
    int userNameWidth;
    QRect userPhone;
    int userPhoneFlags;
    QRect storeBarcode; // null: no barcode of the store id
    QRect scanBarcode, scanBarcodeText;
    QRect scanQr, scanQrText;
};

Geometry geometryFor(Style style)
{
    switch (style) {
    case Style::Two:
        return {8,
                QRect(165, 60, 118, 30),
                58,
                QRect(165, 78, 118, 30),
                Qt::AlignLeft | Qt::TextWordWrap, // what a default QTextOption gives
                QRect(20, 70, 60, 80),
                QRect(165, 103, 118, 30),
                QRect(165, 130, 120, 30),
                QRect(250, 103, 40, 40),
                QRect(130, 115, 120, 30)};
    case Style::Three:
        return {8,
                QRect(5, 63, 130, 30),
                130,
                QRect(5, 81, 150, 30),
                0,
                QRect(210, 70, 60, 80),
                QRect(10, 103, 118, 30),
                QRect(10, 130, 120, 30),
                QRect(10, 107, 40, 40),
                QRect(55, 120, 120, 30)};
    case Style::One:
        break;
    }
    return {9,
            QRect(5, 80, 130, 30),
            130,
            QRect(5, 100, 150, 30),
            0,
            QRect(),
            QRect(165, 75, 118, 40),
            QRect(165, 110, 120, 30),
            QRect(243, 65, 50, 50),
            QRect(175, 115, 120, 30)};
}

void font(PrintCanvas &c, int pixelSize, bool bold)
{
    c.setPixelSize(pixelSize);
    c.setBold(bold);
}

} // namespace

void draw(PrintCanvas &c, const Json::Value &data, Style style)
{
    const Geometry g = geometryFor(style);
    const QString scanCode = text(data, "scanCode");

    font(c, 15, true);
    c.elidedText(QRect(5, 5, 100, 30), text(data, "productName"), 58, Qt::AlignLeft);
    font(c, 12, false);
    c.text(QRect(5, 30, 150, 30), QStringLiteral("单号:") + text(data, "orderNo"));
    font(c, g.colourSize, false);
    c.text(QRect(105, 7, 50, 30),
           jsonTra(styledText(member(data, "colorDesc")), QStringLiteral("colorDesc")));
    font(c, 9, false);
    c.text(QRect(5, 45, 120, 30), QStringLiteral("衣物%1，附件%2")
                                      .arg(integer(data, "productCnt"))
                                      .arg(integer(data, "annexCnt")));
    c.text(QRect(210, 45, 88, 30),
           QStringLiteral("质检：") +
               localTime(integer(data, "createTime"), QStringLiteral("MM-dd hh:mm:ss")),
           Qt::AlignRight);

    font(c, 15, true);
    c.elidedText(g.userName, text(data, "userName"), g.userNameWidth, Qt::AlignLeft);
    c.text(g.userPhone, text(data, "userPhone"), g.userPhoneFlags);

    font(c, 9, false);
    c.elidedText(QRect(190, 12, 58, 30), text(data, "storeName"), 58, Qt::AlignLeft);
    font(c, 20, true);
    c.text(QRect(250, 5, 120, 30), text(data, "storeId"));
    font(c, 9, false);
    c.text(QRect(220, 35, 120, 30), text(data, "tranText"));
    font(c, 20, true);
    c.text(QRect(250, 25, 120, 30), text(data, "tranNum"));

    if (!g.storeBarcode.isNull())
        c.picture(g.storeBarcode, BarcodePicture::code128(text(data, "storeId")));
    font(c, 15, true);
    if (integer(data, "showCode") == 0) {
        c.picture(g.scanBarcode, BarcodePicture::code128(scanCode));
        c.text(g.scanBarcodeText, scanCode);
    } else {
        c.picture(g.scanQr, QrCodePicture::printed(QrCodePicture::modules(scanCode)),
                  QRect(0, 0, 198, 198));
        c.text(g.scanQrText, scanCode);
    }
}

} // namespace Certificate

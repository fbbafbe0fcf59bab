#include "print/printerhelper.h"

#include "print/baglabel.h"
#include "print/certificate.h"
#include "print/orderticket.h"
#include "print/printdata.h"
#include "print/printdocument.h"
#include "print/printlog.h"
#include "print/qrcodepicture.h"
#include "print/washlabel.h"

#include <QPrinterInfo>

namespace {

// Shared by every document of one page: set-up, layout, hand-over to the spooler.
template <typename Layout>
bool printOnePage(const QString &printername, const QString &printinfo, Layout layout)
{
    const Json::Value data = PrintData::readData(printinfo);
    PrintDocument document(printername);
    if (!document.isReady())
        return false;
    layout(document.canvas(), data);
    document.finish();
    return true;
}

// One page per label: the label printer cuts or peels between pages. No label, no job: a job
// without a page would still feed one blank label.
bool printLabels(const QString &printername, const QVector<Json::Value> &labels)
{
    if (labels.isEmpty())
        return false;
    PrintDocument document(printername);
    if (!document.isReady())
        return false;
    for (int i = 0; i < labels.size(); ++i) {
        if (i > 0)
            document.newPage();
        WashLabel::draw(document.canvas(), labels.at(i));
    }
    document.finish();
    return true;
}

bool printCertificate(const QString &printername, const QString &printinfo,
                      Certificate::Style style)
{
    return printOnePage(printername, printinfo, [style](PrintCanvas &c, const Json::Value &data) {
        Certificate::draw(c, data, style);
    });
}

bool printTicket(const QString &printername, const QString &printinfo, OrderTicket::Roll roll)
{
    return printOnePage(printername, printinfo, [roll](PrintCanvas &c, const Json::Value &data) {
        OrderTicket::draw(c, data, roll);
    });
}

} // namespace

QList<QString> PrinterHelper::getPrinterList()
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    qCDebug(lcPrint) << "listname0" << QPrinterInfo::availablePrinterNames().size();
    qCDebug(lcPrint) << "getPrinterList in" << QPrinterInfo::defaultPrinterName() << "end";
    QList<QString> names;
    for (const QPrinterInfo &printer : printers) {
        qCDebug(lcPrint) << "availablePrinters :" << printer.printerName();
        names.append(printer.printerName());
    }
    return names;
}

int PrinterHelper::getPrinterListNum()
{
    return QPrinterInfo::availablePrinters().size();
}

bool PrinterHelper::printInfo(const QString &printername, const QString &printinfo,
                              const QString &json)
{
    const Json::Value element = PrintData::readData(printinfo);
    const Json::Value order = json.isEmpty() ? Json::Value() : PrintData::readData(json);
    return printLabels(printername, WashLabel::labels(element, json.isEmpty() ? nullptr : &order));
}

bool PrinterHelper::printAllLabels(const QString &printername, const QString &json)
{
    const Json::Value order = PrintData::readData(json);
    QVector<Json::Value> labels;
    const Json::Value &garments = PrintData::member(order, "productList");
    if (garments.isArray())
        for (const Json::Value &garment : garments)
            labels += WashLabel::labels(garment, &order);
    return printLabels(printername, labels);
}

QString PrinterHelper::jsonTra(const QString &json, const QString &key)
{
    return PrintData::jsonTra(json, key);
}

QString PrinterHelper::jsonTra1(const QString &json, const QString &key)
{
    return PrintData::jsonTra(json, key);
}

QPixmap PrinterHelper::creatQRCode(const QString &text)
{
    const QImage modules = QrCodePicture::modules(text);
    if (modules.isNull())
        return QPixmap();
    QrCodePicture::save(modules, text);
    return QPixmap::fromImage(QrCodePicture::printed(modules));
}

bool PrinterHelper::ticketPrintIfo(const QString &printername, const QString &printinfo)
{
    return printTicket(printername, printinfo, OrderTicket::Roll::Mm80);
}

bool PrinterHelper::ticketPrintIfo58(const QString &printername, const QString &printinfo)
{
    return printTicket(printername, printinfo, OrderTicket::Roll::Mm58);
}

bool PrinterHelper::bagNumPrintInfo(const QString &printername, const QString &printinfo)
{
    return printOnePage(printername, printinfo, BagLabel::draw);
}

bool PrinterHelper::qualifiedPrintInfo(const QString &printername, const QString &printinfo)
{
    return printCertificate(printername, printinfo, Certificate::Style::One);
}

bool PrinterHelper::qualifiedPrintInfo1(const QString &printername, const QString &printinfo)
{
    return printCertificate(printername, printinfo, Certificate::Style::Two);
}

bool PrinterHelper::qualifiedPrintInfo2(const QString &printername, const QString &printinfo)
{
    return printCertificate(printername, printinfo, Certificate::Style::Three);
}

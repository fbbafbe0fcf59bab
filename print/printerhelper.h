#pragma once

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QString>

// The one object the screens print through: lists the installed printers and lays out each
// document from the reply text of its "print/..." endpoint. Calls are independent; each is one
// print job and tells whether it reached a printer (false: "无", no name, or a printer that
// is not installed).
class PrinterHelper : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    Q_INVOKABLE QList<QString> getPrinterList();
    Q_INVOKABLE int getPrinterListNum();
    Q_INVOKABLE bool printInfo(const QString &printername, const QString &printinfo,
                               const QString &json);
    // Every label of an order ("print/product/all": each garment, then its accessories) in
    // one job, so the label printer gets them together and the "pdf" printer one file. An
    // order without garments starts no job (false).
    Q_INVOKABLE bool printAllLabels(const QString &printername, const QString &json);
    Q_INVOKABLE QString jsonTra(const QString &json, const QString &key);
    Q_INVOKABLE QString jsonTra1(const QString &json, const QString &key);
    Q_INVOKABLE QPixmap creatQRCode(const QString &text);
    Q_INVOKABLE bool ticketPrintIfo(const QString &printername, const QString &printinfo);
    Q_INVOKABLE bool ticketPrintIfo58(const QString &printername, const QString &printinfo);
    Q_INVOKABLE bool bagNumPrintInfo(const QString &printername, const QString &printinfo);
    Q_INVOKABLE bool qualifiedPrintInfo(const QString &printername, const QString &printinfo);
    Q_INVOKABLE bool qualifiedPrintInfo1(const QString &printername, const QString &printinfo);
    Q_INVOKABLE bool qualifiedPrintInfo2(const QString &printername, const QString &printinfo);
};

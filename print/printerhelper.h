#pragma once

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QString>

// The one object the screens print through: lists the installed printers and lays out each
// document from the reply text of its "print/..." endpoint. Calls are independent.
class PrinterHelper : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    Q_INVOKABLE QList<QString> getPrinterList();
    Q_INVOKABLE int getPrinterListNum();
    Q_INVOKABLE void printInfo(const QString &printername, const QString &printinfo,
                               const QString &json);
    Q_INVOKABLE QString jsonTra(const QString &json, const QString &key);
    Q_INVOKABLE QString jsonTra1(const QString &json, const QString &key);
    Q_INVOKABLE QPixmap creatQRCode(const QString &text);
    Q_INVOKABLE void ticketPrintIfo(const QString &printername, const QString &printinfo);
    Q_INVOKABLE void ticketPrintIfo58(const QString &printername, const QString &printinfo);
    Q_INVOKABLE void bagNumPrintInfo(const QString &printername, const QString &printinfo);
    Q_INVOKABLE void qualifiedPrintInfo(const QString &printername, const QString &printinfo);
    Q_INVOKABLE void qualifiedPrintInfo1(const QString &printername, const QString &printinfo);
    Q_INVOKABLE void qualifiedPrintInfo2(const QString &printername, const QString &printinfo);
};

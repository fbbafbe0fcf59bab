#include "print/printdocument.h"

#include "print/printlog.h"

#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinterInfo>

Q_LOGGING_CATEGORY(lcPrint, "brenvo.print")

const QString PrintDocument::pdfPrinterName = QStringLiteral("pdf");
const QString PrintDocument::pdfFilePath = QStringLiteral("release/qrpic/123.pdf");

PrintDocument::PrintDocument(const QString &printerName)
{
    if (printerName == pdfPrinterName) {
        QDir().mkpath(QFileInfo(pdfFilePath).path());
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setPageSize(QPageSize(QPageSize::A4));
        m_printer.setOutputFileName(pdfFilePath);
    } else {
        // Qt keeps the previous (default) printer when the name is unknown, so the name is
        // checked against the installed printers as well as read back.
        if (printerName.isEmpty() || QPrinterInfo::printerInfo(printerName).isNull())
            return;
        m_printer.setPrinterName(printerName);
        if (m_printer.printerName() != printerName)
            return;
    }
    if (!m_painter.begin(&m_printer)) {
        qCWarning(lcPrint) << "printer" << printerName << "could not start a job";
        return;
    }
    m_canvas = std::make_unique<PrintCanvas>(m_painter);
}

PrintDocument::~PrintDocument()
{
    finish();
}

void PrintDocument::newPage()
{
    if (m_canvas)
        m_printer.newPage();
}

void PrintDocument::finish()
{
    if (m_painter.isActive())
        m_painter.end();
    m_canvas.reset();
}

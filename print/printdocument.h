#pragma once

#include "print/printcanvas.h"

#include <QPainter>
#include <QPrinter>
#include <memory>

// The print set-up every document shares: a screen-resolution printer (or the A4 PDF file
// when the name is "pdf"), a painter on it and the canvas the layouts draw on.
class PrintDocument
{
public:
    static const QString pdfPrinterName; // "pdf"
    static const QString pdfFilePath;    // "release/qrpic/123.pdf"

    explicit PrintDocument(const QString &printerName);
    ~PrintDocument();

    // False when the printer is not installed ("无" included): then nothing is printed.
    bool isReady() const { return m_canvas != nullptr; }
    PrintCanvas &canvas() { return *m_canvas; }
    void newPage();
    // Ends the painter, which hands the job to the spooler (or closes the PDF file).
    void finish();

private:
    QPrinter m_printer{QPrinter::ScreenResolution};
    QPainter m_painter;
    std::unique_ptr<PrintCanvas> m_canvas;
};

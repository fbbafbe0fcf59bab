#include "print/barcodepicture.h"

#include "print/printlog.h"

#include <zint.h>

namespace BarcodePicture {

QImage code128(const QString &text)
{
    // Drawn from zint's own bitmap rather than a shared file in the program folder, which an
    // installed terminal may not write and two prints would overwrite for each other.
    zint_symbol *symbol = ZBarcode_Create();
    if (!symbol)
        return QImage();
    symbol->symbology = BARCODE_CODE128;
    const QByteArray utf8 = text.toUtf8();
    QImage image;
    const int encoded =
        ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char *>(utf8.constData()), 0);
    if (encoded < ZINT_ERROR && ZBarcode_Buffer(symbol, 0) < ZINT_ERROR && symbol->bitmap) {
        image = QImage(symbol->bitmap, symbol->bitmap_width, symbol->bitmap_height,
                       symbol->bitmap_width * 3, QImage::Format_RGB888)
                    .copy();
    } else {
        qCWarning(lcPrint) << "barcode not made for" << text << symbol->errtxt;
    }
    ZBarcode_Delete(symbol);
    return image;
}

} // namespace BarcodePicture

#pragma once

#include <QImage>
#include <QString>

// QR code pictures: the symbol of a text, its printed picture and its file under "qrpic/".
namespace QrCodePicture {

// One pixel per module, no quiet zone, colour index 0 white and 1 black; null when the
// text cannot be encoded.
QImage modules(const QString &text);

// The modules scaled to 200 pixels wide without smoothing, as the printed documents draw it.
QImage printed(const QImage &modules);

// The file the screens show for `text`: "qrpic/" + name + ".jpg", where a payment link
// ("http..." or "weix...") is named by its last 10 characters. Empty when the name could
// leave the picture folder.
QString filePath(const QString &text);

// Writes the 200 x 200 smooth-scaled picture as a JPEG, replacing any older file in one
// step so that a screen never reads half a picture.
bool save(const QImage &modules, const QString &text);

} // namespace QrCodePicture

#pragma once

#include <QImage>
#include <QString>

namespace BarcodePicture {

// Code 128 of `text` with zint's default look (human-readable text under the bars), made in
// memory; null when zint cannot encode the text.
QImage code128(const QString &text);

} // namespace BarcodePicture

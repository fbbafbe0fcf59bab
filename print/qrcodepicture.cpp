#include "print/qrcodepicture.h"

#include "print/printlog.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <qrencode.h>

namespace QrCodePicture {

QImage modules(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    QRcode *code = QRcode_encodeString(utf8.constData(), 1, QR_ECLEVEL_L, QR_MODE_8, 1);
    if (!code)
        return QImage();
    QImage image(code->width, code->width, QImage::Format_Indexed8);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(0, 0, 0)});
    image.fill(0);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            if (code->data[y * code->width + x] & 1)
                image.setPixel(x, y, 1);
        }
    }
    QRcode_free(code);
    return image;
}

QImage printed(const QImage &modules)
{
    if (modules.isNull())
        return QImage();
    return modules.scaledToWidth(200, Qt::FastTransformation);
}

QString filePath(const QString &text)
{
    const bool link =
        text.startsWith(QLatin1String("http")) || text.startsWith(QLatin1String("weix"));
    const QString name = link ? text.right(10) : text;
    // The name becomes part of a path: a separator or ".." would write outside "qrpic".
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name.contains(QLatin1String("..")))
        return QString();
    return QStringLiteral("qrpic/") + name + QStringLiteral(".jpg");
}

bool save(const QImage &modules, const QString &text)
{
    const QString path = filePath(text);
    if (modules.isNull() || path.isEmpty()) {
        qCWarning(lcPrint) << "QR picture not saved for" << text;
        return false;
    }
    if (QFileInfo::exists(path))
        qCDebug(lcPrint) << "文件已存在" << path;
    QDir().mkpath(QFileInfo(path).path());
    const QImage picture = modules.convertToFormat(QImage::Format_RGB32)
                               .scaled(200, 200, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "JPG", 100) || !file.commit()) {
        qCWarning(lcPrint) << "QR picture not saved:" << path << file.errorString();
        return false;
    }
    return true;
}

} // namespace QrCodePicture

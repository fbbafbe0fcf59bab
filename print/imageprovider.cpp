#include "print/imageprovider.h"

#include "print/printlog.h"

#include <QDir>
#include <QRegularExpression>

ImageProvider::ImageProvider() : QQuickImageProvider(QQuickImageProvider::Pixmap) {}

QPixmap ImageProvider::requestPixmap(const QString &id, QSize *, const QSize &)
{
    // Pictures are read from the working folder, where the QR pictures and photos are
    // written; never from a path that climbs out of it.
    if (id.split(QRegularExpression(QStringLiteral("[/\\\\]"))).contains(QStringLiteral("..")))
        return QPixmap();
    const QString path = QDir::currentPath() + QLatin1Char('/') + id;
    qCDebug(lcPrint) << path;
    return QPixmap(path);
}

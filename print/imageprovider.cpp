#include "print/imageprovider.h"

#include "print/printlog.h"

#include <QCoreApplication>
#include <QRegularExpression>

ImageProvider::ImageProvider() : QQuickImageProvider(QQuickImageProvider::Pixmap) {}

QPixmap ImageProvider::requestPixmap(const QString &id, QSize *, const QSize &)
{
    // Only pictures below the program folder are shown, never a path that climbs out of it.
    if (id.split(QRegularExpression(QStringLiteral("[/\\\\]"))).contains(QStringLiteral("..")))
        return QPixmap();
    const QString path = QCoreApplication::applicationDirPath() + QLatin1Char('/') + id;
    qCDebug(lcPrint) << path;
    return QPixmap(path);
}

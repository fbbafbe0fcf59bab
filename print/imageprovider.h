#pragma once

#include <QQuickImageProvider>

// Shows the pictures the terminal writes below its program folder (QR codes in "qrpic/"):
// the source "image://imageProvider/qrpic/NAME.jpg" loads "<program folder>/qrpic/NAME.jpg".
class ImageProvider : public QQuickImageProvider
{
public:
    ImageProvider();

    QPixmap requestPixmap(const QString &id, QSize *size, const QSize &requestedSize) override;
};

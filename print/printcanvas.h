#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QVector>

class QPainter;

// One drawing step of a printed document, as the layouts asked for it.
struct PaintCommand
{
    enum Kind { Text, Picture, Line };
    Kind kind = Text;
    QRect box;     // text box or picture target; a line runs from topLeft to bottomRight
    int flags = 0; // Qt::AlignmentFlag | Qt::TextFlag
    QString text;  // as drawn, after any ellipsis
    int pixelSize = 0;
    bool bold = false;
    qreal letterSpacing = 0;
    QRect source; // picture source rectangle
    QSize pictureSize;
    QImage picture;
};

// The layouts draw through this: it keeps the document's font ("微软雅黑" with the size,
// weight and spacing each layout sets) and, when asked, records every step so that
// positions can be checked without reading pixels back.
class PrintCanvas
{
public:
    explicit PrintCanvas(QPainter &painter, QVector<PaintCommand> *record = nullptr);

    void setPixelSize(int pixelSize);
    void setBold(bool bold);
    void setLetterSpacing(qreal pixels);

    void text(const QRect &box, const QString &text, int flags = 0);
    // `text` cut at the right with an ellipsis so that it fits in `width` pixels.
    void elidedText(const QRect &box, const QString &text, int width, int flags = 0);
    // Whole picture when `source` is null; a null picture leaves the box blank.
    void picture(const QRect &target, const QImage &picture, const QRect &source = QRect());
    void line(const QPoint &from, const QPoint &to);

    // Height that `text` needs when word-wrapped into `width` pixels with the current font.
    int wrappedHeight(int width, const QString &text, int flags) const;

private:
    void apply();
    PaintCommand command(PaintCommand::Kind kind) const;

    QPainter &m_painter;
    QVector<PaintCommand> *m_record;
    QFont m_font;
};

#include "print/printcanvas.h"

#include <QFontMetrics>
#include <QPainter>

PrintCanvas::PrintCanvas(QPainter &painter, QVector<PaintCommand> *record)
    : m_painter(painter), m_record(record), m_font(painter.font())
{
    m_font.setFamily(QStringLiteral("微软雅黑"));
    apply();
}

void PrintCanvas::setPixelSize(int pixelSize)
{
    m_font.setPixelSize(pixelSize);
    apply();
}

void PrintCanvas::setBold(bool bold)
{
    m_font.setWeight(bold ? QFont::Bold : QFont::Normal);
    apply();
}

void PrintCanvas::setLetterSpacing(qreal pixels)
{
    m_font.setLetterSpacing(QFont::AbsoluteSpacing, pixels);
    apply();
}

void PrintCanvas::apply()
{
    m_painter.setFont(m_font);
}

PaintCommand PrintCanvas::command(PaintCommand::Kind kind) const
{
    PaintCommand c;
    c.kind = kind;
    c.pixelSize = m_font.pixelSize();
    c.bold = m_font.weight() >= QFont::Bold;
    c.letterSpacing = m_font.letterSpacing();
    return c;
}

void PrintCanvas::text(const QRect &box, const QString &text, int flags)
{
    m_painter.drawText(box, flags, text);
    if (m_record) {
        PaintCommand c = command(PaintCommand::Text);
        c.box = box;
        c.flags = flags;
        c.text = text;
        m_record->append(c);
    }
}

void PrintCanvas::elidedText(const QRect &box, const QString &text, int width, int flags)
{
    const QFontMetrics metrics(m_font, m_painter.device());
    this->text(box, metrics.elidedText(text, Qt::ElideRight, width), flags);
}

void PrintCanvas::picture(const QRect &target, const QImage &picture, const QRect &source)
{
    if (!picture.isNull())
        m_painter.drawImage(target, picture, source.isNull() ? picture.rect() : source);
    if (m_record) {
        PaintCommand c = command(PaintCommand::Picture);
        c.box = target;
        c.source = source.isNull() ? picture.rect() : source;
        c.pictureSize = picture.size();
        c.picture = picture;
        m_record->append(c);
    }
}

void PrintCanvas::line(const QPoint &from, const QPoint &to)
{
    m_painter.drawLine(from, to);
    if (m_record) {
        PaintCommand c = command(PaintCommand::Line);
        c.box = QRect(from, to);
        m_record->append(c);
    }
}

int PrintCanvas::wrappedHeight(int width, const QString &text, int flags) const
{
    const QFontMetrics metrics(m_font, m_painter.device());
    return metrics.boundingRect(QRect(0, 0, width, 1 << 20), flags, text).height();
}

#include "app/caretblinktimeout.h"

#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>

CaretBlinkTimeout::CaretBlinkTimeout(int timeoutMs, QObject *parent)
    : QObject(parent), m_flashTime(QGuiApplication::styleHints()->cursorFlashTime())
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(timeoutMs);
    connect(&m_idle, &QTimer::timeout, this, &CaretBlinkTimeout::stop);
    qApp->installEventFilter(this);
    m_idle.start();
}

CaretBlinkTimeout::~CaretBlinkTimeout()
{
    resume();
}

bool CaretBlinkTimeout::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
        resume();
        m_idle.start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CaretBlinkTimeout::stop()
{
    if (m_stopped)
        return;
    m_stopped = true;
    QGuiApplication::styleHints()->setCursorFlashTime(0);
}

void CaretBlinkTimeout::resume()
{
    if (!m_stopped)
        return;
    m_stopped = false;
    QGuiApplication::styleHints()->setCursorFlashTime(m_flashTime);
}

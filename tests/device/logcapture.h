#pragma once

#include <QStringList>
#include <QtGlobal>

// Collects the messages of one logging category (all when none is named) while it lives,
// so a test can compare the exact lines a piece of code wrote.
class LogCapture
{
public:
    explicit LogCapture(const char *category = nullptr) : m_category(category)
    {
        active() = this;
        m_previous = qInstallMessageHandler(&LogCapture::handle);
    }
    ~LogCapture()
    {
        qInstallMessageHandler(m_previous);
        active() = nullptr;
    }
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    QStringList lines() const { return m_lines; }
    QStringList debugLines() const { return m_debugLines; }

private:
    static LogCapture *&active()
    {
        static LogCapture *capture = nullptr;
        return capture;
    }
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        LogCapture *capture = active();
        if (!capture->m_category || qstrcmp(context.category, capture->m_category) == 0) {
            capture->m_lines.append(text);
            if (type == QtDebugMsg)
                capture->m_debugLines.append(text);
        } else if (capture->m_previous)
            capture->m_previous(type, context, text);
    }

    const char *m_category;
    QtMessageHandler m_previous = nullptr;
    QStringList m_lines;
    QStringList m_debugLines;
};

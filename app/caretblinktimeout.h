#pragma once

#include <QObject>
#include <QTimer>

// Stops the text cursor's blinking after a while without input, and starts it again with
// the next key, click or move of the mouse. A blinking cursor redraws the whole window
// twice a second (Qt Quick draws whole frames), which keeps an idle counter busy for
// nothing; a steady cursor still shows where typing goes.
class CaretBlinkTimeout : public QObject
{
    Q_OBJECT

public:
    explicit CaretBlinkTimeout(int timeoutMs = 10000, QObject *parent = nullptr);
    ~CaretBlinkTimeout() override;

    bool blinking() const { return m_stopped == false; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void stop();
    void resume();

    QTimer m_idle;
    int m_flashTime;
    bool m_stopped = false;
};

#include "tests/screens/fakebackend.h"

FakeBackend::FakeBackend(QObject *parent) : QObject(parent)
{
    m_server.start();
    m_url = m_server.baseUrl();
}

void FakeBackend::setMode(const QString &mode)
{
    m_server.answer = mode != QLatin1String("hold");
    m_server.replyStatus = "200 OK";
    m_server.replyBody = m_reply.toUtf8();
    if (mode == QLatin1String("down")) {
        m_server.close();
    } else if (mode == QLatin1String("html502")) {
        m_server.replyStatus = "502 Bad Gateway";
        m_server.replyBody =
            "<html><head><title>502 Bad Gateway</title></head><body>nginx</body></html>";
    } else if (mode == QLatin1String("truncated")) {
        m_server.replyBody = R"({"httpCode":200,"msg":"ok","data":{"appSec)";
    }
}

QString FakeBackend::requestTarget(int index) const
{
    return QString::fromUtf8(m_server.requests.value(index).target);
}

QString FakeBackend::requestBody(int index) const
{
    return QString::fromUtf8(m_server.requests.value(index).body);
}

int FakeBackend::indexOf(const QString &fragment) const
{
    for (int i = 0; i < m_server.requests.size(); ++i)
        if (requestTarget(i).contains(fragment))
            return i;
    return -1;
}

void FakeBackend::answerHeld(int index, const QString &body)
{
    m_server.answerHeld(index, body.toUtf8());
}

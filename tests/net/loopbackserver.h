#pragma once

// A small HTTP/1.1 server on the loopback address, inside the test, so that a test sees
// exactly what the request object sent and controls exactly what comes back.

#include <QHash>
#include <QList>
#include <QPointer>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

struct ReceivedRequest
{
    QByteArray method;
    QByteArray target;
    QHash<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;
};

class LoopbackServer : public QTcpServer
{
public:
    // What every request gets back; answer = false leaves the request without a reply.
    QByteArray replyBody = R"({"httpCode":200,"msg":"ok","data":{}})";
    QByteArray replyStatus = "200 OK";
    bool answer = true;

    QList<ReceivedRequest> requests;
    int connections = 0;
    // Beside each request, where it came in when it was left without a reply (else null).
    QList<QPointer<QTcpSocket>> held;

    // With a certificate and key the server speaks TLS.
    QSslCertificate certificate;
    QSslKey key;

    bool start() { return listen(QHostAddress::LocalHost); }

    // Answers the held request `index` (in any order the test likes).
    void answerHeld(int index, const QByteArray &body)
    {
        if (QTcpSocket *socket = held.value(index))
            respond(socket, body);
    }
    QString baseUrl() const
    {
        return QStringLiteral("%1://127.0.0.1:%2")
            .arg(certificate.isNull() ? "http" : "https")
            .arg(serverPort());
    }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        ++connections;
        QTcpSocket *socket = nullptr;
        if (certificate.isNull()) {
            socket = new QTcpSocket(this);
            socket->setSocketDescriptor(descriptor);
        } else {
            auto *ssl = new QSslSocket(this);
            ssl->setSocketDescriptor(descriptor);
            ssl->setLocalCertificate(certificate);
            ssl->setPrivateKey(key);
            ssl->startServerEncryption();
            socket = ssl;
        }
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
            *buffer += socket->readAll();
            while (takeRequest(*buffer, socket)) {
            }
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

private:
    bool takeRequest(QByteArray &buffer, QTcpSocket *socket)
    {
        const int headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return false;
        ReceivedRequest request;
        const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        request.method = first.value(0);
        request.target = first.value(1);
        for (int i = 1; i < lines.size(); ++i) {
            const int colon = lines[i].indexOf(':');
            if (colon > 0)
                request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                       lines[i].mid(colon + 1).trimmed());
        }
        const int length = request.headers.value("content-length", "0").toInt();
        if (buffer.size() < headerEnd + 4 + length)
            return false;
        request.body = buffer.mid(headerEnd + 4, length);
        buffer.remove(0, headerEnd + 4 + length);
        requests << request;
        held << (answer ? nullptr : socket);
        if (answer)
            respond(socket, replyBody);
        return true;
    }

    void respond(QTcpSocket *socket, const QByteArray &body)
    {
        socket->write("HTTP/1.1 " + replyStatus +
                      "\r\nContent-Type: application/json;charset=UTF-8\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\n\r\n" + body);
    }
};

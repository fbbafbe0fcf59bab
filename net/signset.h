#pragma once

#include <QObject>
#include <QString>

// Signs a request's parameter object and writes the signed query that follows the
// endpoint path. Screens declare one as signSet.
class SignSet : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The signature of the parameter object given as JSON text.
    Q_INVOKABLE QString getSign(QString map);

    // "key=value&..." in key order, "sign=<signature>" just before timestamp, appSecret
    // left out. Keys and values are percent-encoded (RFC 3986) so that "&", "=", "#",
    // "+", spaces and Chinese reach the backend intact; the signature is taken over the
    // raw texts, and the backend checks it after decoding.
    Q_INVOKABLE QString getinterfastr(QString map);
};

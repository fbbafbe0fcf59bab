#pragma once

#include <QObject>
#include <QString>

// The terminal's outside addresses and keys, from one place.
//
// Each value comes from the first of: the environment variable, the file "brenvo.ini" in
// the working directory (or the file named by BRENVO_CONFIG), the built-in default.
// The README lists every key.
class AppConfig : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString backendUrl READ backendUrl CONSTANT)
    Q_PROPERTY(QString uploadHost READ uploadHost CONSTANT)
    Q_PROPERTY(QString mapHost READ mapHost CONSTANT)
    Q_PROPERTY(QString mapKey READ mapKey CONSTANT)
    Q_PROPERTY(QString vendorHost READ vendorHost CONSTANT)
    Q_PROPERTY(QString vendorSite READ vendorSite CONSTANT)
    Q_PROPERTY(QString helpUrl READ helpUrl CONSTANT)
    Q_PROPERTY(QString serviceUrl READ serviceUrl CONSTANT)
    Q_PROPERTY(QString serialNum READ serialNum CONSTANT)

public:
    using QObject::QObject;

    static QString backendUrl();   // BRENVO_BACKEND_URL  / backend/url
    static QString uploadHost();   // BRENVO_UPLOAD_HOST  / upload/host
    static QString mapHost();      // BRENVO_MAP_HOST     / map/host
    static QString mapKey();       // BRENVO_MAP_KEY      / map/key
    static QString vendorHost();   // BRENVO_VENDOR_HOST  / vendor/host
    static QString vendorSite();   // BRENVO_VENDOR_SITE  / vendor/site
    static QString helpUrl();      // BRENVO_HELP_URL     / vendor/help
    static QString serviceUrl();   // BRENVO_SERVICE_URL  / vendor/service
    static QString readerKey();    // BRENVO_READER_KEY   / reader/key
    static QString serialNum();    // BRENVO_SERIAL_NUM   / terminal/serialNum
    static QString caBundle();     // BRENVO_CA_BUNDLE    / backend/caBundle

    // A file published on the vendor's host, which is a folder with or without its
    // trailing slash: "https://h/pos" and "https://h/pos/" both give "https://h/pos/<name>".
    Q_INVOKABLE static QString vendorFile(const QString &name);
    static int requestTimeoutMs(); // BRENVO_REQUEST_TIMEOUT_MS / backend/timeoutMs

    // Where the values come from: the file named by BRENVO_CONFIG, else "brenvo.ini".
    static QString configFile();

private:
    static QString value(const char *envName, const QString &key, const QString &fallback);
};

#pragma once

#include <QSslConfiguration>
#include <QString>

class QNetworkAccessManager;

// Stores one garment photo in the cloud photo store with the store's form upload: a
// multipart POST of the upload token, the object key and the file to the upload host,
// answered with JSON naming the stored key. The local file is "<working folder>/qrpic/<key>".
//
// upload() blocks its caller until the store answers or the request time limit passes; user
// input waits meanwhile, so a second click cannot start an upload inside the first.
class PhotoUploader
{
public:
    // Uploads through `manager`: the request objects' shared one, so an upload opens no
    // manager, thread or connection pool of its own.
    explicit PhotoUploader(QNetworkAccessManager *manager,
                           QSslConfiguration ssl = QSslConfiguration::defaultConfiguration());

    // The stored key, or "" with the store's message, the local path and the code logged.
    QString upload(const QString &token, const QString &key) const;

    static QString localPath(const QString &key);

private:
    QNetworkAccessManager *manager;
    QSslConfiguration ssl;
};

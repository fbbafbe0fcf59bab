#pragma once

#include <QJsonValue>
#include <QObject>
#include <QString>

// One small local file (a setting, or the list of accounts used on this terminal) plus the
// machine information the screens need. A screen declares one FileIo per file.
//
// Files are plain text in the local 8-bit encoding, one value per line. The account list
// ("account.ini") keeps several values: write() puts a new one on top, writes() adds it at
// the end, and a value already present (ignoring case) is not added again. Every other file
// holds exactly one value, which write() and writes() replace, so that read() gives back the
// last value chosen. Files are replaced atomically: a crash never leaves half a file.
class FileIo : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString source READ source WRITE setSource NOTIFY sourceChanged)

public:
    explicit FileIo(QObject *parent = nullptr);

    QString source() const { return m_source; }

    // Whether the bound file is a list of values rather than a one-value setting.
    bool holdsList() const;

    Q_INVOKABLE QString read();
    // Whether the bound file is there: a settings file is only written once it is chosen.
    Q_INVOKABLE bool exists() const;
    Q_INVOKABLE bool write(const QString &date);
    Q_INVOKABLE QString reads(int lineNum);
    Q_INVOKABLE QJsonValue readaccount(const QString &key);
    Q_INVOKABLE QString readlines();
    Q_INVOKABLE bool writes(const QString &date);
    Q_INVOKABLE QString getMac();
    Q_INVOKABLE bool deleteFile(const QString &namePath);
    // Makes the folder formed by the current folder followed by `namePath` ("/qrpic/client/"),
    // with the folders above it; true when it is there afterwards.
    Q_INVOKABLE bool makeFolder(const QString &namePath);
    Q_INVOKABLE QString getFilePath();
    Q_INVOKABLE bool startUpdate();
    Q_INVOKABLE QString osVersion();

public slots:
    void setSource(const QString &source);

signals:
    void sourceChanged(const QString &source);
    void error(const QString &msg);

private:
    enum class ListEnd { Top, Bottom };

    bool load(QString *text);
    QStringList lines();
    bool store(const QString &date, ListEnd end);
    bool save(const QString &text);

    QString m_source;
};

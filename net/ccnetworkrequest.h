#pragma once

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QJsonArray>
#include <QList>
#include <QNetworkRequest>
#include <QObject>
#include <QString>

class CMRF800DriveHelper;
class QNetworkAccessManager;
class QNetworkReply;

// The one object through which a screen talks to the backend: it sends the request,
// hands the reply text back through reqFlishedReturn, and reads fields out of reply
// texts for the screen. Every screen declares its own instance; the network manager and
// the card reader behind them are shared by all instances.
//
// Several requests of one object may be out at once. Each send returns a call id (0 when
// nothing was sent) and callFinished carries it back with the reply, so a reply reaches
// the code that asked for it whatever the order in which replies arrive.
class CCNetWorkRequest : public QObject
{
    Q_OBJECT

public:
    explicit CCNetWorkRequest(QObject *parent = nullptr);
    ~CCNetWorkRequest() override;

    // "<backend>/mac/": what CCRequest_GET and CCRequest_POST put before the interface text.
    static QString baseAddress();
    // An address or body for the log: the accessToken, a payment code (authCode) and the
    // sign-in password never reach it.
    static QString maskedForLog(QString text);

    // Envelope accessors.
    Q_INVOKABLE QString josnHttpCode(QString rel_str);
    Q_INVOKABLE QString josnMsg(QString rel_str);
    Q_INVOKABLE QString josnData(QString rel_str);
    Q_INVOKABLE QString josnReturn(QString rel_str, QString key);
    Q_INVOKABLE QString getReturnMsg(QString rel_str, QString key);
    Q_INVOKABLE QString mtimestamp();
    Q_INVOKABLE void qmlSleep(unsigned long ms);
    // Inside a reqFlishedReturn handler: true when the text being delivered is the network
    // layer's error text rather than a reply body (callFinished carries it as `failed`).
    Q_INVOKABLE bool lastReplyFailed() const { return replyFailed; }

    // Login digests.
    Q_INVOKABLE QString mmd5(QString first, QString sconed);
    Q_INVOKABLE QString josnappSecret(QString rel_str);
    Q_INVOKABLE QString getaccessToken(QString rel_str);

    // Field extractors.
    Q_INVOKABLE QString getOrderName(QString rel_str);
    Q_INVOKABLE QString getqueryOrder(QString jsonstr, QString key, QString key1);
    Q_INVOKABLE QString jsoninfo(QString jsonstr, QString key);
    Q_INVOKABLE QString getUserInfo(QString jsonstr, QString key);
    Q_INVOKABLE QString getMemberInfo(QString jsonstr, QString key, QString key1, QString key2,
                                      int flags);
    Q_INVOKABLE QString getOrderInfo(QString rel_str, QString key, int num, int dataflag);
    Q_INVOKABLE int getOrderNum(QString rel_str, int dataflag);
    Q_INVOKABLE QString getClothInfo(QString jsonstr, QString key, QString key1, int num,
                                     int dataflag);
    Q_INVOKABLE int getClothNum(QString jsonstr, QString key, int dataflag);
    Q_INVOKABLE QString getListInfo(QString jsonstr, QString key, QString key1, QString key2,
                                    int num);
    Q_INVOKABLE int getListNum(QString jsonstr, QString key, QString key1);
    Q_INVOKABLE int getListNums(QString jsonstr, QString key);
    Q_INVOKABLE QString getJsonStr(QString jsonstr, QString key);
    Q_INVOKABLE QString getJsonFormString(QString str, QString key);
    Q_INVOKABLE QJsonArray getArrayFromString(QString str, QString key);
    Q_INVOKABLE QJsonArray getArrayFromString(QString str);
    Q_INVOKABLE QString jsonTra(QString str);
    Q_INVOKABLE QString jsonTra1(QString str);
    Q_INVOKABLE QString jsonaddService(QString str);
    Q_INVOKABLE int jsonaddServiceNum(QString str);
    Q_INVOKABLE QString createRemarkJson(QString remark, int workid, QString workname);

    // Card reader and machine.
    Q_INVOKABLE QString getCardId();
    Q_INVOKABLE QString getRFIDSecret();
    Q_INVOKABLE QString getHostIp();

    // Small text and date helpers.
    Q_INVOKABLE QString randString();
    Q_INVOKABLE QDate sToD(QString str, int types);
    Q_INVOKABLE QString timeOperation(QString str, QString operationr);
    Q_INVOKABLE QString transcode(QString code);
    Q_INVOKABLE QString cleanString(QString original, QString str);
    Q_INVOKABLE bool compareStr(QString mainStr, QString secondStr);

    // Stores "qrpic/<key>" in the photo store; the stored key, or "" on failure (logged).
    // The upload blocks its caller; replies to this object's requests that arrive meanwhile
    // are held and delivered, in order, once the caller is back in the event loop with no
    // upload running, so a screen's reply handler never runs inside its own upload loop.
    Q_INVOKABLE QString qiniuUpload(QString token, QString key);
    // Replies waiting for the uploads to end.
    int heldReplyCount() const { return int(held.size()); }

signals:
    void reqFlishedReturn(QString jsonStr);
    // Emitted just before reqFlishedReturn for the same reply; `callId` is what the send
    // returned, `failed` whether `jsonStr` is the network layer's error text.
    void callFinished(int callId, QString jsonStr, bool failed);
    void reqErrorReturn(QString errorStr);
    void reqParamsReturn(QString reqParamStr);

public slots:
    void setReqNum(int req_num);
    // Each returns the call id of the request it sent, or 0 when it sent nothing.
    int CCRequest_GET(QString param, QString interfaStr);
    int CCRequest_GET1(QString param, QString interfaStr);
    int CCRequest_POST(QString param, QString interfaStr);
    int CCRequest_POST1(QString param, QString interfaStr);
    void CCRequest_Flished(QNetworkReply *rel);

private:
    struct HeldReply
    {
        int callId;
        QString text;
        bool failed;
    };

    void deliver(const HeldReply &reply);
    void releaseHeld();
    int postJson(const QString &param, const QString &address);
    int get(const QString &address);
    void prepare(const QString &address);
    int track(QNetworkReply *reply);

    QNetworkAccessManager *manager;
    QNetworkRequest request;
    QString url;
    QByteArray body;
    int req_num = 0;
    bool replyFailed = false;
    int lastCallId = 0;
    QHash<QNetworkReply *, int> inFlight;
    int uploading = 0;
    QList<HeldReply> held;
    CMRF800DriveHelper *reader;
};

#include "net/signset.h"

#include "net/netlogging.h"
#include "net/signtool.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QUrl>

namespace {

QJsonObject parameters(const QString &map)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(map.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError) {
        qCWarning(lcNet).noquote() << QLatin1String("===>QjsonDocument:") + map;
        return QJsonObject();
    }
    return doc.object();
}

QString encoded(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

} // namespace

QString SignSet::getSign(QString map)
{
    return SignTool::signature(parameters(map));
}

QString SignSet::getinterfastr(QString map)
{
    const QJsonObject params = parameters(map);
    const QString sign = SignTool::signature(params);
    QString query;
    for (const QString &key : SignTool::sortedKeys(params)) {
        if (key == QLatin1String("appSecret"))
            continue;
        if (key == QLatin1String("timestamp"))
            query += QLatin1String("sign=") + sign + QLatin1Char('&');
        query += encoded(key) + QLatin1Char('=') + encoded(SignTool::valueText(params.value(key))) +
                 QLatin1Char('&');
    }
    query.chop(1);
    return query;
}

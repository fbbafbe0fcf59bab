// Feeds arbitrary text to every reply extractor, the array-text reading and the signed
// query, and checks that the parse cache never changes a result.
#include "net/replycache.h"
#include "net/replyreader.h"
#include "net/signset.h"

#include <QJsonDocument>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdint>
#include <cstdlib>

namespace {

using R = ReplyReader;

QString arrayText(const QJsonArray &array)
{
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

// Every extractor on one text, results joined so runs can be compared.
QString readAll(const QString &t)
{
    static const QStringList keys{"",        "data",      "list", "payablePrice",
                                  "orderNo", "colorDesc", "tips", "remarkJson"};
    QStringList out;
    out << R::josnHttpCode(t) << R::josnMsg(t) << R::josnData(t) << R::getOrderName(t)
        << arrayText(R::getArrayFromString(t)) << R::jsonTra(t) << R::jsonTra1(t)
        << R::jsonaddService(t) << QString::number(R::jsonaddServiceNum(t));
    for (const QString &a : keys) {
        out << R::josnReturn(t, a) << R::getReturnMsg(t, a) << R::jsoninfo(t, a)
            << R::getUserInfo(t, a) << R::getJsonStr(t, a) << R::getJsonFormString(t, a)
            << arrayText(R::getArrayFromString(t, a)) << QString::number(R::getListNums(t, a));
        for (int flag = 0; flag < 4; ++flag) {
            out << QString::number(R::getOrderNum(t, flag))
                << QString::number(R::getClothNum(t, "list", flag));
            for (int num : {-1, 1})
                out << R::getOrderInfo(t, a, num, flag) << R::getClothInfo(t, "list", a, num, flag);
        }
    }
    for (const char *k : {"tips", "districts", "data"}) {
        out << QString::number(R::getListNum(t, k, "list"));
        for (const char *k1 : {"name", "address", "list", ""})
            out << R::getListInfo(t, k, k1, "id", 0) << R::getListInfo(t, k, k1, "name", 1);
    }
    for (const char *k : {"user", "card", "data", "tagList", "couponCnt", "isRecommend"}) {
        out << R::getMemberInfo(t, k, "info", "cardNo", 0)
            << R::getMemberInfo(t, k, "uPayCard", "no", 1)
            << R::getMemberInfo(t, k, "level", "", 0);
    }
    out << R::getqueryOrder(t, "storeInfo", "id");
    SignSet signSet;
    out << signSet.getSign(t) << signSet.getinterfastr(t);
    return out.join(QChar(0x1e));
}

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool installed = (qInstallMessageHandler(quiet), true);
    Q_UNUSED(installed)

    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<int>(size));

    ReplyCache::setCapacity(0);
    const QString uncached = readAll(text);
    ReplyCache::setCapacity(ReplyCache::defaultCapacity);
    const QString cached = readAll(text);
    if (cached != uncached)
        std::abort();
    return 0;
}

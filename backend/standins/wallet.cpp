// Stand-in for the customer's phone: scans the QR code of a waiting WeChat or Alipay trade, of
// an order's payment or of a member recharge.
//   POST /wallet/scan?seq=<sequence number>[&result=fail]   ->  {"seq": ..., "status": 1}
// `seq=latest` takes the newest waiting QR trade. `result=fail` has the customer's wallet
// refuse (status -1). A trade that is not waiting any more answers 409, an unknown one 404.

#include <httplib.h>
#include <json/value.h>

#include "domain/payments.h"
#include "domain/recharges.h"
#include "domain/states.h"
#include "server/backendserver.h"
#include "server/registry.h"
#include "standins/standinreply.h"
#include "standins/standins.h"
#include "store/database.h"

namespace {

using standins::answer;
using standins::refuse;

// The phone's answer to a QR trade, of an order or a recharge, done in the trade's own book:
// paid or refused; a trade past its time is closed instead.
void answerScan(Transaction &tx, const std::string &seq, int status, const wallet::Trade &trade,
                const wallet::Book &book, bool pays, std::int64_t now, httplib::Response &res)
{
    if (trade.mode != "native")
        return refuse(res, 404, "no such QR trade");
    if (status == tradeState::waiting && trade.expiresAt <= now) {
        book.close(tradeState::closed);
        tx.commit();
        return refuse(res, 409, "trade closed");
    }
    if (status != tradeState::waiting)
        return refuse(res, 409, "trade closed");
    if (pays)
        book.pay();
    else
        book.close(tradeState::failed);
    tx.commit();
    Json::Value body(Json::objectValue);
    body["seq"] = seq;
    body["status"] = payments::answer(pays ? tradeState::paid : tradeState::failed);
    answer(res, 200, body);
}

// The newest waiting QR trade, of an order or a recharge: sequence numbers grow with time.
std::string latestSeq(Connection &db)
{
    std::string order;
    Query q = db.query("SELECT seq FROM payments WHERE wallet_mode = 'native' AND status = ? "
                       "ORDER BY id DESC LIMIT 1",
                       tradeState::waiting);
    if (q.next())
        order = q.text("seq");
    const std::string recharge = recharges::latestQrSeq(db);
    return recharge > order ? recharge : order;
}

void scan(BackendServer &server, const httplib::Request &req, httplib::Response &res)
{
    const std::string seq = req.get_param_value("seq");
    const bool pays = req.get_param_value("result") != "fail";
    if (seq.empty())
        return refuse(res, 400, "seq required");
    const std::int64_t now = nowMs();
    auto conn = server.database().acquire();
    Connection &db = *conn;
    Transaction tx(db);
    const std::string wanted = seq == "latest" ? latestSeq(db) : seq;
    recharges::Recharge r;
    payments::Payment p;
    if (recharges::findBySeq(db, wanted, r))
        return answerScan(tx, r.seq, r.status, r.wallet, recharges::book(db, r.id, now), pays, now,
                          res);
    if (payments::findBySeq(db, wanted, p))
        return answerScan(tx, p.seq, p.status, p.wallet, payments::book(db, p.id, now), pays, now,
                          res);
    refuse(res, 404, "no such QR trade");
}

} // namespace

void standins::registerWallet(BackendServer &server)
{
    server.http().Post(
        "/wallet/scan",
        [&server](const httplib::Request &req, httplib::Response &res) { scan(server, req, res); });
}

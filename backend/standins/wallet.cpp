// Stand-in for the customer's phone: scans the QR code of a waiting WeChat or Alipay trade, of
// an order's payment or of a member recharge.
//   POST /wallet/scan?seq=<sequence number>[&result=fail]   ->  {"seq": ..., "status": 1}
// `seq=latest` takes the newest waiting QR trade. `result=fail` has the customer's wallet
// refuse (status -1). A trade that is not waiting any more answers 409, an unknown one 404.

#include <httplib.h>
#include <json/value.h>

#include "domain/payments.h"
#include "domain/recharges.h"
#include "server/backendserver.h"
#include "server/registry.h"
#include "standins/standinreply.h"
#include "standins/standins.h"
#include "store/database.h"

namespace {

using standins::answer;
using standins::refuse;

// A member recharge's QR trade: paid or refused like an order's.
void scanRecharge(Connection &db, Transaction &tx, const recharges::Recharge &r, bool pays,
                  std::int64_t now, httplib::Response &res)
{
    if (r.walletMode != "native")
        return refuse(res, 404, "no such QR trade");
    if (r.status == recharges::waiting && r.expiresAt <= now) {
        recharges::close(db, r.id, recharges::closed, now);
        tx.commit();
        return refuse(res, 409, "trade closed");
    }
    if (r.status != recharges::waiting)
        return refuse(res, 409, "trade closed");
    if (pays)
        recharges::complete(db, r.id, now);
    else
        recharges::close(db, r.id, recharges::failed, now);
    tx.commit();
    Json::Value body(Json::objectValue);
    body["seq"] = r.seq;
    body["status"] = payments::answer(pays ? payments::paid : payments::failed);
    answer(res, 200, body);
}

// The newest waiting QR trade, of an order or a recharge: sequence numbers grow with time.
std::string latestSeq(Connection &db)
{
    std::string order;
    Query q = db.query("SELECT seq FROM payments WHERE wallet_mode = 'native' AND status = 0 "
                       "ORDER BY id DESC LIMIT 1");
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
    Transaction tx(*conn);
    const std::string wanted = seq == "latest" ? latestSeq(*conn) : seq;
    recharges::Recharge r;
    if (recharges::findBySeq(*conn, wanted, r))
        return scanRecharge(*conn, tx, r, pays, now, res);
    payments::Payment p;
    if (!payments::findBySeq(*conn, wanted, p) || p.walletMode != "native")
        return refuse(res, 404, "no such QR trade");
    if (p.status == payments::waiting && p.expiresAt <= now) {
        payments::close(*conn, p.id, payments::closed, now);
        tx.commit();
        return refuse(res, 409, "trade closed");
    }
    if (p.status != payments::waiting)
        return refuse(res, 409, "trade closed");
    if (pays)
        payments::complete(*conn, p.id, now);
    else
        payments::close(*conn, p.id, payments::failed, now);
    tx.commit();
    Json::Value body(Json::objectValue);
    body["seq"] = p.seq;
    body["status"] = payments::answer(pays ? payments::paid : payments::failed);
    answer(res, 200, body);
}

} // namespace

void standins::registerWallet(BackendServer &server)
{
    server.http().Post(
        "/wallet/scan",
        [&server](const httplib::Request &req, httplib::Response &res) { scan(server, req, res); });
}

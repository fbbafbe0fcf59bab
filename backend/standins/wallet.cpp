// Stand-in for the customer's phone: scans the QR code of a waiting WeChat or Alipay trade.
//   POST /wallet/scan?seq=<sequence number>[&result=fail]   ->  {"seq": ..., "status": 1}
// `seq=latest` takes the newest waiting QR trade. `result=fail` has the customer's wallet
// refuse (status -1). A trade that is not waiting any more answers 409, an unknown one 404.

#include <httplib.h>
#include <json/value.h>

#include "domain/payments.h"
#include "server/backendserver.h"
#include "server/json.h"
#include "server/registry.h"
#include "standins/standins.h"
#include "store/database.h"

namespace {

void answer(httplib::Response &res, int status, const Json::Value &body)
{
    res.status = status;
    res.set_content(json::write(body), "application/json");
}

void refuse(httplib::Response &res, int status, const std::string &error)
{
    Json::Value body(Json::objectValue);
    body["error"] = error;
    answer(res, status, body);
}

bool findTrade(Connection &db, const std::string &seq, payments::Payment &out)
{
    if (seq != "latest")
        return payments::findBySeq(db, seq, out);
    const std::int64_t id =
        db.scalar(0, "SELECT MAX(id) FROM payments WHERE wallet_mode = 'native' AND status = 0");
    if (id == 0)
        return false;
    out = payments::load(db, id);
    return true;
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
    payments::Payment p;
    if (!findTrade(*conn, seq, p) || p.walletMode != "native")
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

// Stand-in for the head office's approval desk, which decides the refund requests the
// counter sends (tradeRefund/refund, orderProductRelAudit/refund):
//   POST /audit/refund?id=<request id>[&result=reject]   ->  {"id": ..., "seq": ..., "status": 1}
// `id=latest` takes the newest waiting request. An approved request gives the money back by
// the means it names (status 1); a rejected one frees it (status 2). A request decided
// already answers 409, an unknown one 404.

#include <httplib.h>
#include <json/value.h>

#include "domain/refunds.h"
#include "domain/states.h"
#include "server/backendserver.h"
#include "server/registry.h"
#include "standins/standinreply.h"
#include "standins/standins.h"
#include "store/database.h"

namespace {

using standins::answer;
using standins::refuse;

void decide(BackendServer &server, const httplib::Request &req, httplib::Response &res)
{
    const std::string id = req.get_param_value("id");
    const bool approve = req.get_param_value("result") != "reject";
    if (id.empty())
        return refuse(res, 400, "id required");
    auto conn = server.database().acquire();
    Transaction tx(*conn);
    std::int64_t auditId = 0;
    if (id == "latest")
        auditId = conn->scalar(0, "SELECT MAX(id) FROM refund_audits WHERE status = ?",
                               refundState::waiting);
    else if (id.find_first_not_of("0123456789") == std::string::npos && id.size() < 18)
        auditId = std::stoll(id);
    if (auditId == 0 ||
        conn->scalar(0, "SELECT COUNT(*) FROM refund_audits WHERE id = ?", auditId) == 0)
        return refuse(res, 404, "no such refund request");
    try {
        refunds::decide(*conn, auditId, approve, nowMs());
    } catch (const ApiError &e) {
        return refuse(res, 409, e.what());
    }
    Query q = conn->query("SELECT seq FROM refund_audits WHERE id = ?", auditId);
    q.next();
    Json::Value body(Json::objectValue);
    body["id"] = Json::Int64(auditId);
    body["seq"] = q.text("seq");
    body["status"] = approve ? refundState::approved : refundState::refused;
    tx.commit();
    answer(res, 200, body);
}

} // namespace

void standins::registerRefundAudit(BackendServer &server)
{
    server.http().Post("/audit/refund",
                       [&server](const httplib::Request &req, httplib::Response &res) {
                           decide(server, req, res);
                       });
}

// Stand-in for the logistics worker and the cleaning factory, whose side of a bag's road no
// terminal screen drives:
//   POST /factory/collect?bag=<bag code>[&name=..&phone=..]  the logistics worker collects the
//        completed bag (on its way: status 2)                ->  {"bag": ..., "status": 2}
//   POST /factory/receive?bag=<bag code>   the factory receives it (status 3)
//                                                             ->  {"bag": ..., "status": 3}
//   POST /factory/sendBack?bag=<bag code>  the factory sends the washed garments back to the
//        store in a new batch                                ->  {"batchCode": "8…", "id": ...}
//   POST /factory/return?bag=<bag code>    whatever of the three steps is left, at once
//                                                             ->  {"batchCode": "8…", "id": ...}
// `bag=latest` takes the newest bag the step can take. A bag that is not where the step needs
// it answers 409 with the reason, an unknown one 404.

#include <httplib.h>
#include <json/value.h>

#include "domain/bags.h"
#include "domain/batches.h"
#include "domain/states.h"
#include "server/backendserver.h"
#include "server/options.h"
#include "server/registry.h"
#include "standins/standinreply.h"
#include "standins/standins.h"
#include "store/database.h"

namespace {

using standins::answer;
using standins::refuse;

enum class Step { Collect, Receive, SendBack, Return };

// The logistics worker of the demo, unless the request names another.
const char *const defaultCourier = "陈师傅";
const char *const defaultCourierPhone = "13700000001";

// Which bags a step can take, newest first: "latest" is the first of them.
const char *takenBy(Step step)
{
    switch (step) {
    case Step::Collect:
        return "b.status = ? AND b.completed_at IS NOT NULL";
    case Step::Receive:
        return "b.status = ?";
    case Step::SendBack:
        return "b.status = ? AND NOT EXISTS (SELECT 1 FROM batch_out bo WHERE bo.batch_in_id = "
               "b.id)";
    case Step::Return:
        break;
    }
    return "((b.status = ? AND b.completed_at IS NOT NULL) OR b.status = ? OR "
           "(b.status = ? AND NOT EXISTS (SELECT 1 FROM batch_out bo WHERE bo.batch_in_id = "
           "b.id)))";
}

std::int64_t latestBag(Connection &db, Step step)
{
    const std::string sql = std::string("SELECT MAX(b.id) FROM batch_in b WHERE ") + takenBy(step);
    switch (step) {
    case Step::Collect:
        return db.scalar(0, sql, bagState::open);
    case Step::Receive:
        return db.scalar(0, sql, bagState::sent);
    case Step::SendBack:
        return db.scalar(0, sql, bagState::atFactory);
    case Step::Return:
        break;
    }
    return db.scalar(0, sql, bagState::open, bagState::sent, bagState::atFactory);
}

// The bag the request names (its code, or "latest"); 0 for none.
std::int64_t namedBag(Connection &db, const std::string &bag, Step step)
{
    if (bag == "latest")
        return latestBag(db, step);
    return db.scalar(0, "SELECT id FROM batch_in WHERE bag_no = ?", bag);
}

Json::Value bagAnswer(Connection &db, std::int64_t bagId)
{
    Query q = db.query("SELECT bag_no AS bag, status FROM batch_in WHERE id = ?", bagId);
    q.next();
    Json::Value body(Json::objectValue);
    body["bag"] = q.text("bag");
    body["status"] = Json::Int64(q.integer("status") + 1); // as the terminal counts bag states
    return body;
}

// The steps `step` stands for, done on the bag; the answer of the last one.
Json::Value walk(Connection &db, std::int64_t bagId, Step step, const httplib::Request &req,
                 std::int64_t now)
{
    const auto param = [&req](const char *key, const char *fallback) {
        const std::string value = req.get_param_value(key);
        return value.empty() ? std::string(fallback) : value;
    };
    const std::int64_t state = db.scalar(0, "SELECT status FROM batch_in WHERE id = ?", bagId);
    const bool all = step == Step::Return;
    if (step == Step::Collect || (all && state == bagState::open))
        bags::collect(db, bagId, param("name", defaultCourier), param("phone", defaultCourierPhone),
                      now);
    if (step == Step::Receive || (all && state != bagState::atFactory))
        bags::receive(db, bagId, now);
    if (step == Step::SendBack || all)
        return batches::sendBack(db, bagId, now);
    return bagAnswer(db, bagId);
}

void handle(BackendServer &server, Step step, const httplib::Request &req, httplib::Response &res)
{
    const std::string bag = req.get_param_value("bag");
    if (bag.empty())
        return refuse(res, 400, "bag required");
    auto conn = server.database().acquire();
    Transaction tx(*conn);
    const std::int64_t bagId = namedBag(*conn, bag, step);
    if (bagId == 0)
        return refuse(res, 404, bag == "latest" ? "no bag waiting for this step" : "no such bag");
    try {
        const Json::Value body = walk(*conn, bagId, step, req, nowMs());
        tx.commit();
        answer(res, 200, body);
    } catch (const ApiError &e) {
        refuse(res, e.code() == codes::notFound ? 404 : 409, e.what());
    }
}

} // namespace

void standins::registerFactory(BackendServer &server)
{
    const std::pair<const char *, Step> routes[] = {{"/factory/collect", Step::Collect},
                                                    {"/factory/receive", Step::Receive},
                                                    {"/factory/sendBack", Step::SendBack},
                                                    {"/factory/return", Step::Return}};
    for (const auto &[path, step] : routes)
        server.http().Post(
            path, [&server, step = step](const httplib::Request &req, httplib::Response &res) {
                handle(server, step, req, res);
            });
}

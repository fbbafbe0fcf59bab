// tradeOrder/...: what was paid: an order's payments for the order view, or a member's
// spending in this store for the member details.

#include "api/families.h"
#include "domain/ownership.h"
#include "domain/paymeans.h"
#include "domain/refunds.h"
#include "domain/states.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// `orderId`: the order's paid parts, newest first (the balance part of a payment comes last),
// each with what it may still give back.
Json::Value ofOrder(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "orderId");
    Json::Value list(Json::arrayValue);
    for (const refunds::PaidPart &part : refunds::paidParts(call.db, orderId)) {
        Query q = call.db.query(std::string("SELECT t.id, t.trade_no AS seq, t.pay_means AS "
                                            "payMethod, ") +
                                    payMeans::textSql +
                                    " AS payMethodText, COALESCE(t.paid_at, t.created_at) AS "
                                    "tradeTime, t.amount FROM trades t LEFT JOIN dictionary dm "
                                    "ON dm.code = 'PAY_MEANS' AND dm.val = t.pay_means "
                                    "WHERE t.id = ?",
                                payMeans::other, part.tradeId);
        q.next();
        Json::Value row = q.object();
        row["refundableAmount"] = Json::Int64(part.refundable);
        list.append(row);
    }
    Json::Value data(Json::objectValue);
    data["list"] = list;
    return data;
}

// `userId`, `pageNum`, `pageSize`: the member's order payments in this store, newest first.
Json::Value ofMember(Call &call)
{
    const std::int64_t userId = ownership::owned(call, ownership::records::member, "userId");
    const Page page = call.page();
    Json::Value list(Json::arrayValue);
    Query q = call.db.query(
        std::string("SELECT t.id, '门店' AS orderOriginText, COALESCE(t.paid_at, t.created_at) "
                    "AS tradeTime, o.order_no AS orderNo, o.id AS orderId, t.trade_no AS seq, ") +
            payMeans::textSql +
            " AS payMethodText, t.amount, CASE t.status WHEN ? THEN '支付成功' WHEN ? THEN "
            "'待支付' WHEN ? THEN '支付失败' ELSE '已关闭' END AS statusText "
            "FROM trades t JOIN orders o ON o.id = t.order_id LEFT JOIN dictionary dm "
            "ON dm.code = 'PAY_MEANS' AND dm.val = t.pay_means WHERE t.kind = 1 "
            "AND t.user_id = ? AND t.store_id = ? AND t.amount > 0 "
            "ORDER BY t.id DESC LIMIT ? OFFSET ?",
        payMeans::other, tradeState::paid, tradeState::waiting, tradeState::failed, userId,
        call.storeId, page.size, page.offset());
    while (q.next())
        list.append(q.object());
    Json::Value data(Json::objectValue);
    data["list"] = list;
    return data;
}

Json::Value tradeList(Call &call)
{
    return call.optionalInteger("orderId", 0) != 0 ? ofOrder(call) : ofMember(call);
}

} // namespace

void api::tradeOrder::registerEndpoints(ApiRegistry &api)
{
    api.read("tradeOrder/list", Access::Worker, tradeList);
}

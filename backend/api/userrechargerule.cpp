// userRechargeRule/...: the merchant's recharge offers ("充500送50").

#include "api/families.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// Each offer with what it gives beside the bonus: points, a card level, coupons. The
// `isSend...` flags say which of them it gives.
Json::Value offers(Call &call)
{
    Json::Value list(Json::arrayValue);
    Query q = call.db.query(
        "SELECT r.id, r.name, r.amount, r.gift_amount AS giftAmount, r.gift_point AS giftPoint, "
        "IFNULL(c.name, '') AS cardName, r.gift_coupon_cnt AS couponCnt, "
        "r.gift_amount > 0 AS sendAmt, r.gift_point > 0 AS sendPoint, "
        "c.id IS NOT NULL AS sendCard, r.gift_coupon_id IS NOT NULL AND r.gift_coupon_cnt > 0 "
        "AS sendCoupon FROM recharge_rules r LEFT JOIN card_levels c ON c.id = r.card_level_id "
        "WHERE r.merc_id = ? ORDER BY r.sort, r.id",
        call.mercId);
    while (q.next()) {
        Json::Value offer = q.object();
        for (const char *flag : {"Amt", "Point", "Card", "Coupon"}) {
            const std::string key = std::string("send") + flag;
            offer[std::string("isSend") + flag] = q.integer(key.c_str()) != 0;
            offer.removeMember(key);
        }
        list.append(offer);
    }
    return list;
}

} // namespace

void api::userRechargeRule::registerEndpoints(ApiRegistry &api)
{
    api.read("userRechargeRule/queryRechargeList", Access::Worker, offers);
}

#pragma once

// The means money moves by, as trades, recharges and refunds record them (the dictionary's
// PAY_MEANS).
namespace payMeans {

constexpr int cash = 1;
constexpr int wechat = 2;
constexpr int alipay = 3;
constexpr int balance = 4; // the member balance
constexpr int card = 8;    // the group pay card
constexpr int other = 9;   // one of the merchant's other means (pay_signs)

// SQL of a trade's means as the worker knows it, for a query of `trades t` joined with
// `dictionary dm ON dm.code = 'PAY_MEANS' AND dm.val = t.pay_means`: the merchant's own name
// for "其他" (payMeans::other, bound as its first value), else the dictionary's.
constexpr const char *textSql =
    "CASE WHEN t.pay_means = ? AND t.pay_sign <> '' THEN COALESCE((SELECT ps.show_name FROM "
    "pay_signs ps JOIN stores s ON s.merc_id = ps.merc_id WHERE s.id = t.store_id AND "
    "ps.val = t.pay_sign), dm.text) ELSE COALESCE(dm.text, '') END";

} // namespace payMeans

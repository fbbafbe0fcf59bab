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

} // namespace payMeans

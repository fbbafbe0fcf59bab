#pragma once

// The states records move through, named once: the values the tables keep and the
// dictionaries (ORDER_STATUS, PRODUCT_STATUS, PAY_STATUS) put words to. Code and SQL use
// these names (bound as parameters), never the bare numbers; a new state is one more line here.

// An order's progress (orders.status, ORDER_STATUS).
namespace orderState {
constexpr int waiting = 0;    // 待收衣: the header exists, garments are being taken in
constexpr int takenIn = 10;   // 已收衣: intake finished, the garments wait for a factory bag
constexpr int washing = 20;   // 洗护中
constexpr int ready = 30;     // 待取衣: everything back, waiting for the customer
constexpr int handedOut = 40; // 已取衣: nothing of it left in the store's hands
constexpr int completed = 45; // 已完成
constexpr int voided = 50;    // 已作废 (also marked by orders.destroyed_at)
} // namespace orderState

// A garment's road (order_products.status, PRODUCT_STATUS). The numbers are not in road order:
// a garment passes 质检合格 (60) before it is hung (25).
namespace garmentState {
constexpr int takenIn = 10;       // 已收衣: at the counter, waiting for a factory bag
constexpr int inBag = 11;         // 已入袋
constexpr int sentToFactory = 12; // 已送厂
constexpr int washing = 15;       // 洗护中
constexpr int leftFactory = 17;   // 已出厂
constexpr int arrived = 19;       // 已到店
constexpr int onRail = 25;        // 已上挂
constexpr int rework = 30;        // 返洗中: sent back to the factory
constexpr int handedOut = 40;     // 已取衣
constexpr int refundWashed = 50;  // 已退洗: refunded unwashed
constexpr int passed = 60;        // 质检合格
} // namespace garmentState

// Whether an order is paid (orders.pay_status, PAY_STATUS).
namespace payState {
constexpr int unpaid = 0;
constexpr int paid = 1;
} // namespace payState

// A payment or recharge under way and the trades it leaves (payments.status, recharges.status,
// trades.status). The terminal reads them as "0", "1", "-1", "2" (payments::answer).
namespace tradeState {
constexpr int waiting = 0; // the wallet or the customer has yet to answer
constexpr int paid = 1;
constexpr int failed = 2; // refused by the wallet or the customer
constexpr int closed = 3; // given up by the worker, or its time ran out
} // namespace tradeState

// A member's coupon (user_coupons.use_status).
namespace couponState {
constexpr int unused = 0;
constexpr int held = 1; // chosen for an order not paid yet
constexpr int used = 2;
constexpr int expired = 3;
} // namespace couponState

// A refund request and its money parts (refund_audits.status, refunds.status).
namespace refundState {
constexpr int waiting = 0; // for the head office's approval
constexpr int approved = 1;
constexpr int refused = 2;
} // namespace refundState

// A factory bag (batch_in.status). The terminal sees it one higher (domain/bags).
namespace bagState {
constexpr int open = 0; // open, or completed and waiting for the logistics worker
constexpr int sent = 1; // on its way to the factory
constexpr int atFactory = 2;
} // namespace bagState

// A batch of garments back from the factory (batch_out.status).
namespace batchState {
constexpr int onTheWay = 0;
constexpr int received = 1; // at the store
} // namespace batchState

// A member RFID card not on a member (member_cards.status).
namespace memberCardState {
constexpr int inStock = 0;
constexpr int voided = 2;
} // namespace memberCardState

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <json/value.h>

#include "domain/states.h"

class Connection;

// The counter when the customer collects: which garments may be handed out, sent back for
// rework or refunded unwashed, and what the order still offers (payment, refund, hand-out of
// the whole order, completion, credit). The rules live here once; the order view reads them
// as the flags of orderInfo/detail, and the endpoints that act refuse what they do not allow.
namespace pickup {

// What the counter sees of an order.
struct OrderState
{
    std::int64_t id = 0;
    std::int64_t status = 0; // orderState
    bool voided = false;
    bool paid = false;
    bool credit = false;
    bool locked = false;       // a payment is under way
    bool waitingAudit = false; // a refund request waits for approval
    int garments = 0;
    std::int64_t refundable = 0; // fen that may still be asked back
    bool open() const { return !voided && status != orderState::completed; }
};

// One garment as the counter sees it.
struct GarmentState
{
    std::int64_t id = 0;
    std::int64_t status = 0; // garmentState
    bool hasRefund = false;
    bool washPending = false; // in a refund-wash request that waits for approval
    bool bagged = false;      // has been in a factory bag
    std::int64_t shelfNo = 0;
    std::string scanCode;
    std::string statusText;
};

OrderState loadOrder(Connection &db, std::int64_t orderId, std::int64_t now);
std::vector<GarmentState> loadGarments(Connection &db, std::int64_t orderId);

// Back from the factory and not handed out: arrived, checked, on the rail.
bool inStore(std::int64_t status);

// A garment in the store's hands may go to the customer once the order is paid or on credit.
bool mayHandOut(const OrderState &o, const GarmentState &g);
// A garment in the store's hands may go back to the factory.
bool mayRework(const OrderState &o, const GarmentState &g);
// A garment not at the factory and not refunded yet may be refunded unwashed.
bool mayRefundWash(const OrderState &o, const GarmentState &g);

struct OrderFlags
{
    bool pay = false, refund = false, sign = false, complete = false, credit = false;
};
OrderFlags flags(const OrderState &o, const std::vector<GarmentState> &garments);

// What orderInfo/detail adds for the counter: the five flags, `refundablePrice`,
// `creditRemark`, `originText`, the pick-up and delivery blocks, `statusList`,
// `hasRefundRecord`, and on every row of `productList` its pick-up fields.
void describe(Connection &db, std::int64_t orderId, std::int64_t now, Json::Value &data);

// Hands out the garments (all or none); with `ids` empty, every garment the order has in the
// store (orderInfo/sign). ApiError 409 with the reason when one may not go.
void handOut(Connection &db, std::int64_t orderId, const std::vector<std::int64_t> &ids,
             std::int64_t now);
// Sends the garments back to the factory (all or none). They come back to be checked again:
// the pass and the accessories' checks go with them.
void rework(Connection &db, std::int64_t orderId, const std::vector<std::int64_t> &ids,
            std::int64_t now);
// Marks the order completed; nothing more is offered afterwards.
void complete(Connection &db, std::int64_t orderId, std::int64_t now);
// Puts the unpaid order on credit for the given reason.
void credit(Connection &db, std::int64_t orderId, const std::string &remark, std::int64_t now);

// After garments changed state: an order whose garments are all handed out or refunded
// unwashed is handed out; one that had everything back and sends a garment to the factory
// again is being washed.
void settleOrder(Connection &db, std::int64_t orderId, std::int64_t now);
// A garment leaves the rail: its position is free again.
void takeOffRail(Connection &db, std::int64_t garmentId);

} // namespace pickup

#pragma once

#include <cstdint>

class Connection;

// Where garments back in the store wait for their customer: the store's rail, whose numbered
// positions hold one garment each, and the order's slot (配单号), the number under which the
// worker gathers an order's garments once they pass the check.
namespace rail {

// Hangs a garment back in the store (pickup::inStore) at position `shelfNo` of the store's
// rail; it leaves the position it held. A position holds one garment at a time (409
// "挂点已有衣物: N" while another hangs there); hanging a garment where it hangs changes
// nothing. 400 for a position the rail does not have.
void hang(Connection &db, std::int64_t storeId, std::int64_t garmentId, std::int64_t shelfNo,
          std::int64_t now);
// Hangs every garment of the order that is in the store, in intake order, at the positions
// from `firstShelfNo` on, all or none: each position must be free or held by the order.
void hangOrder(Connection &db, std::int64_t storeId, std::int64_t orderId,
               std::int64_t firstShelfNo, std::int64_t now);

// Gives the order the slot the worker typed: one order at a time holds a slot until it is
// handed out (409 "配单号已被订单<number>占用").
void setSlot(Connection &db, std::int64_t storeId, std::int64_t orderId, std::int64_t slot);
// An order without a slot gets the store's lowest free one (slots assigned automatically).
void giveSlot(Connection &db, std::int64_t storeId, std::int64_t orderId);

} // namespace rail

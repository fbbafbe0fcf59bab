#pragma once

#include <cstdint>
#include <string>

#include <json/value.h>

struct Call;
class Connection;

// The store's quality check of garments back from the factory: a garment is found by its
// code, its accessories are checked one by one or all at once, and it is passed (packed with
// its accessories) or sent back to be washed again. Only garments back in the store
// (pickup::inStore) are checked; a second pass changes nothing.
namespace quality {

// The garment a scanned code names, once it is the caller's store's: 404 "衣物不存在" for an
// unknown code, 400 "请扫描衣物条码" for an accessory's (it is checked with its garment), 403
// "非此门店衣物" for another store's.
std::int64_t garmentByCode(Call &call, const std::string &code);

// The garment as the quality test shows it (orderProductRel/queryProductInfo): its record,
// photos, accessories, whether it is packed, and the order's slot with its place among the
// order's garments passed so far.
Json::Value record(Call &call, std::int64_t garmentId);

// Passes a garment back in the store: 已到店 becomes 质检合格, a garment hung before it was
// checked stays on the rail; either is packed with its accessories. A garment passed already
// is left as it was; one that is not in the store is refused (409 with the reason).
void pass(Connection &db, std::int64_t garmentId, std::int64_t workerId, std::int64_t now);
// Passes every garment of the order that is in the store and not passed yet; 409 when there
// is none.
void passOrder(Connection &db, std::int64_t orderId, std::int64_t workerId, std::int64_t now);
// What a pass answers (station/newStoreScanCode): the garment's state, the order's slot
// (`storeShelfNo`, "" for none) and, in `map`, the garment's place among the order's garments
// passed (`proIndex`) and their number (`proTotal`): equal once the last one is passed.
Json::Value passAnswer(Connection &db, std::int64_t garmentId);

// The accessory of that code is checked; it must be one of the garment's (404 "附件不存在",
// 409 "附件不属于该衣物").
void checkAnnex(Connection &db, std::int64_t garmentId, const std::string &code,
                std::int64_t workerId, std::int64_t now);
// Every accessory of the garment is checked.
void checkAnnexes(Connection &db, std::int64_t garmentId, std::int64_t workerId, std::int64_t now);

// The order a scanned code names: its number, or a garment's or an accessory's code; once it
// is the caller's store's (404 "订单不存在", 403 "非此门店订单").
std::int64_t orderByCode(Call &call, const std::string &code);
// The order as the quality test and the rail show it (orderInfo/search): its header, customer
// and every garment followed by its accessories (`type` 2), with their states, whether each is
// packed (an accessory: checked) and each garment's rail position.
Json::Value orderView(Call &call, std::int64_t orderId);

// Sends the whole order back to the factory: every garment must be in the store and not
// refunded unwashed (409 with the reason otherwise).
void reworkOrder(Connection &db, std::int64_t orderId, std::int64_t now);

} // namespace quality

#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <json/value.h>

class Connection;

// Factory bags (table batch_in): a store's garments leave for the factory in them. A bag is
// open until it is completed; the terminal sees it as `isFinish` 0 or 1 and a `status`:
// 1 waiting for the logistics worker (open or completed), 2 on the way to the factory,
// 3 at the factory.
namespace bags {

// Which bags a list shows: `isFinish` and `status` none for any, `code` "" for any.
struct Filter
{
    std::optional<std::int64_t> isFinish;
    std::optional<std::int64_t> status;
    std::string code;
};

// The store's bags, newest first, one page: `id`, `code`, `productCnt` (garments),
// `annexCnt` (their accessories), `isFinish`, `status`, `statusText`, `storeName`,
// `factoryName`, `logisticsWorkName`, `logisticsWorkPhone`, `createTime`.
Json::Value list(Connection &db, std::int64_t storeId, const Filter &filter, std::int64_t limit,
                 std::int64_t offset);

// A new open bag of the store, for the merchant's first factory: its `id` and `code`.
Json::Value create(Connection &db, std::int64_t storeId, const std::string &storeCode,
                   std::int64_t workerId, std::int64_t now);

// Puts a garment of the bag's store into the open bag; ApiError 409 with the reason when the
// bag is completed, the order's intake is not finished or the garment is not waiting for a
// bag (taken in, or sent back for rework). Whose bag and garment they are, is the caller's check.
// The garment remembers the state it went in with.
void putIn(Connection &db, std::int64_t bagId, std::int64_t garmentId, std::int64_t now);

// --- A bag's life -----------------------------------------------------------------------------
// Whose bag and garments they are is the caller's check (ownership). Each refuses with ApiError
// 409 and the reason what the bag's state does not allow: a completed bag takes no change.

// One bag with the times of its road (orderProductBatchIn/detail): the list's fields and
// `logisticsWorkTime` (collected), `storeWorkTime` (completed), `factoryWorkTime` (received
// by the factory), each null until it happened.
Json::Value detail(Connection &db, std::int64_t bagId);
// The bag's garments, the last one put in first: `id` (the garment), `productName`,
// `orderNo`, `scanCode`, `createTime` (taken in), `proStatusText`, `subtotal` (fen),
// `serviceName`, `annexCnt`.
Json::Value contents(Connection &db, std::int64_t bagId);
// The open bag is completed and waits for the logistics worker; an empty one is refused.
void complete(Connection &db, std::int64_t bagId, std::int64_t now);
// The open bag is deleted; its garments wait for a bag again.
void remove(Connection &db, std::int64_t bagId, std::int64_t now);
// The garment leaves its open bag and waits for a bag again, in the state it went in with.
void takeOut(Connection &db, std::int64_t garmentId, std::int64_t now);
// The garment moves from its open bag into the open bag `bagId` (nothing when it is there).
void shift(Connection &db, std::int64_t bagId, std::int64_t garmentId, std::int64_t now);

// The factory's side. The logistics worker collects the completed bag: it is on its way (its
// garments 已送厂, their orders 洗护中). The factory receives it: its garments are washed.
void collect(Connection &db, std::int64_t bagId, const std::string &name, const std::string &phone,
             std::int64_t now);
void receive(Connection &db, std::int64_t bagId, std::int64_t now);

} // namespace bags

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <json/value.h>

class Connection;

// Batches back from the factory (table batch_out) and the garments' arrival in the store. The
// factory sends a bag's washed garments back in a new batch (已出厂); the store confirms each
// garment's arrival (已到店), by the batch, by the order or one by one, once. The first garment
// confirmed marks the batch received at the store; an order whose garments are all back (or
// handed out, or refunded) waits for its customer (待取衣).
//
// Whose batches, orders and garments they are is the caller's check (ownership). Refusals are
// ApiError 409 with the reason.
namespace batches {

// The factory sends the garments of the bag it received back to the bag's store in a new
// batch: `id` and `batchCode` ("8" + yyMMdd + store code + number).
Json::Value sendBack(Connection &db, std::int64_t bagId, std::int64_t now);

// The batch of that code among the merchant's; 0 for none.
std::int64_t byCode(Connection &db, std::int64_t mercId, const std::string &code);
// The batch scanned at the store: it is received there if it was on its way. `id`, `code`,
// `status` (batchState), `factoryName`, `storeName`, `factoryWorkTime` (it left the factory).
Json::Value receive(Connection &db, std::int64_t batchId, std::int64_t now);

// What the arrival lists show of garments: one element per garment, each followed by its
// accessories (`orderProType` and `type` 2, with the garment's `id` and their own `scanCode`):
// `id`, `scanCode`, `orderNo`, `productName`, `serviceName`, `orderProType`, `type`,
// `storeStatusText` ("已核对" once confirmed in the store, else "未核对").
Json::Value garmentsOfBatch(Connection &db, std::int64_t batchId);
// The order's garments back from the factory and waiting to be confirmed, or (confirmed)
// those whose latest return was confirmed.
Json::Value garmentsOfOrder(Connection &db, std::int64_t orderId, bool confirmed);

// The garments waiting to be confirmed, of a batch or of an order.
std::vector<std::int64_t> pendingOfBatch(Connection &db, std::int64_t batchId);
std::vector<std::int64_t> pendingOfOrder(Connection &db, std::int64_t orderId);

// The garment is back in the store (已到店); 409 when it is not waiting to be confirmed.
void arrive(Connection &db, std::int64_t garmentId, std::int64_t now);

// The order's latest return from the factory, for the worker confirming it: `orderId`,
// `orderNo`, `createTime` (it left the factory), `factoryName`, `storeName`, `workName` (the
// worker's name); 409 when none of its garments came back yet.
Json::Value orderReturn(Connection &db, std::int64_t orderId, std::int64_t workerId);
// The garment's latest return, for the worker confirming it: `factoryName`, `storeName`,
// `createTime`, `workName`, and `proList` (the garment as the arrival lists show it).
Json::Value garmentReturn(Connection &db, std::int64_t garmentId, std::int64_t workerId);

} // namespace batches

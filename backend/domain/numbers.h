#pragma once

#include <cstdint>
#include <string>

class Connection;

// Numbers printed as barcodes: digits only, unique, allocated inside the caller's
// transaction so a rolled-back request gives its number back.
namespace numbers {

// "260315" for a time in milliseconds (local date).
std::string dayText(std::int64_t ms);
// yyMMdd + the store's two-digit code + a four-digit daily number: 12 digits.
std::string orderNo(Connection &db, const std::string &storeCode, std::int64_t nowMs);
// "7" + store code + seven-digit running number: 10 digits, on the wash label.
std::string garmentCode(Connection &db, const std::string &storeCode);
// Accessory labels share the garment codes' sequence but start with "6".
std::string annexCode(Connection &db, const std::string &storeCode);
// "9" + yyMMdd + store code + three-digit daily number: factory bags (12 digits).
std::string bagNo(Connection &db, const std::string &storeCode, std::int64_t nowMs);
// "8" + yyMMdd + store code + three-digit daily number: batches back from the factory.
std::string batchNo(Connection &db, const std::string &storeCode, std::int64_t nowMs);
// "5" + yyMMddHHmmss + six-digit running number: payment and recharge sequence numbers.
std::string tradeNo(Connection &db, std::int64_t nowMs);

// The next value of a named sequence (starting at 1).
std::int64_t next(Connection &db, const std::string &name);

} // namespace numbers

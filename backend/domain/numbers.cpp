#include "domain/numbers.h"

#include <cstdio>
#include <ctime>

#include "domain/dates.h"
#include "store/database.h"

namespace numbers {

namespace {

std::string padded(std::int64_t value, int width)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lld", width, static_cast<long long>(value));
    return buf;
}

} // namespace

std::string dayText(std::int64_t ms)
{
    const std::tm t = dates::localTime(ms);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d%02d%02d", t.tm_year % 100, t.tm_mon + 1, t.tm_mday);
    return buf;
}

std::int64_t next(Connection &db, const std::string &name)
{
    db.exec("INSERT INTO sequences (name, value) VALUES (?, 1) "
            "ON CONFLICT (name) DO UPDATE SET value = value + 1",
            name);
    return db.scalar(0, "SELECT value FROM sequences WHERE name = ?", name);
}

std::string orderNo(Connection &db, const std::string &storeCode, std::int64_t nowMs)
{
    const std::string day = dayText(nowMs);
    return day + storeCode + padded(next(db, "order:" + storeCode + ":" + day), 4);
}

std::string garmentCode(Connection &db, const std::string &storeCode)
{
    return "7" + storeCode + padded(next(db, "garment:" + storeCode), 7);
}

std::string annexCode(Connection &db, const std::string &storeCode)
{
    return "6" + storeCode + padded(next(db, "garment:" + storeCode), 7);
}

std::string bagNo(Connection &db, const std::string &storeCode, std::int64_t nowMs)
{
    const std::string day = dayText(nowMs);
    return "9" + day + storeCode + padded(next(db, "bag:" + storeCode + ":" + day), 3);
}

std::string batchNo(Connection &db, const std::string &storeCode, std::int64_t nowMs)
{
    const std::string day = dayText(nowMs);
    return "8" + day + storeCode + padded(next(db, "batch:" + storeCode + ":" + day), 3);
}

std::string tradeNo(Connection &db, std::int64_t nowMs)
{
    const std::tm t = dates::localTime(nowMs);
    char buf[32];
    std::snprintf(buf, sizeof buf, "5%02d%02d%02d%02d%02d%02d", t.tm_year % 100, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return buf + padded(next(db, "trade"), 6);
}

} // namespace numbers

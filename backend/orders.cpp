// Order headers: the place-order screen creates an order before any garment is taken in.

#include <memory>

#include <json/json.h>

#include "apiregistry.h"
#include "database.h"
#include "endpoints.h"
#include "members.h"
#include "numbers.h"

namespace {

// 1 = the customer comes to the store, 2 = we come to the customer.
std::int64_t modeField(Call &call, const char *key)
{
    const std::int64_t mode = call.integer(key);
    if (mode != 1 && mode != 2)
        throw ApiError(codes::badRequest, std::string("参数取值错误: ") + key);
    return mode;
}

// "" (no address) or an address of the customer.
std::int64_t addressField(Call &call, const char *key, std::int64_t userId, bool required)
{
    const std::int64_t id = call.optionalInteger(key, 0);
    if (id == 0) {
        if (required)
            throw ApiError(codes::badRequest, "请选择地址");
        return 0;
    }
    if (call.db.scalar(0, "SELECT COUNT(*) FROM user_addresses WHERE id = ? AND user_id = ?", id,
                       userId) == 0)
        throw ApiError(codes::notFound, "地址不存在");
    return id;
}

std::string dateField(Call &call, const char *key, const std::string &earliest)
{
    const std::string date = call.requiredText(key);
    if (!members::isDate(date))
        throw ApiError(codes::badRequest, std::string("日期格式错误: ") + key);
    if (date < earliest)
        throw ApiError(codes::badRequest, std::string("日期不能早于") + earliest);
    return date;
}

std::string clockField(Call &call, const char *key)
{
    const std::string clock = call.requiredText(key);
    if (!members::isClock(clock))
        throw ApiError(codes::badRequest, std::string("时间格式错误: ") + key);
    return clock;
}

bool isJsonArray(const std::string &text)
{
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value out;
    std::string errors;
    return reader->parse(text.data(), text.data() + text.size(), &out, &errors) && out.isArray();
}

Json::Value addOrder(Call &call)
{
    const std::int64_t userId = members::memberOf(call, "userId");
    const std::int64_t takeMode = modeField(call, "takeMode");
    const std::int64_t sendMode = modeField(call, "sendMode");
    const std::int64_t priority = call.optionalInteger("priority", 0);
    const std::int64_t takeAddr = addressField(call, "takeAddrId", userId, takeMode == 2);
    const std::int64_t sendAddr = addressField(call, "sendAddrId", userId, sendMode == 2);
    const std::string remark = call.optionalText("remark");
    const std::string userRemark = call.optionalText("userRemark");
    const std::string mark = call.optionalText("tag");

    const std::string today = members::localDate(call.now);
    std::string takeDate, takeStart, takeEnd, sendDate;
    if (takeMode == 2) {
        takeDate = dateField(call, "takeDate", today);
        takeStart = clockField(call, "takeTimeStart");
        takeEnd = clockField(call, "takeTimeEnd");
        if (takeEnd <= takeStart)
            throw ApiError(codes::badRequest, "取件时间段错误");
    }
    if (sendMode == 2)
        sendDate = dateField(call, "sendDate", takeMode == 2 ? takeDate : today);

    std::string remarkJson = "[]";
    if (!remark.empty()) {
        remarkJson = call.optionalText("remarkJson");
        if (remarkJson.empty()) {
            Json::Value entry(Json::objectValue);
            entry["createTime"] = "";
            entry["remark"] = remark;
            entry["workId"] = reply::number(call.workerId);
            entry["workName"] = "";
            remarkJson = Json::FastWriter().write(Json::Value(Json::arrayValue).append(entry));
        } else if (!isJsonArray(remarkJson)) {
            throw ApiError(codes::badRequest, "参数格式错误: remarkJson");
        }
    }

    std::string storeCode;
    {
        Query q = call.db.query("SELECT code FROM stores WHERE id = ?", call.storeId);
        if (q.next())
            storeCode = q.text(0);
    }
    const std::int64_t discount = call.db.scalar(
        100,
        "SELECT c.discount FROM users u JOIN card_levels c ON c.id = u.card_level_id "
        "WHERE u.id = ?",
        userId);
    const std::string orderNo = numbers::orderNo(call.db, storeCode, call.now);
    // The table keeps the modes as 0 (at the store) and 1 (at the customer's address).
    call.db
        .query("INSERT INTO orders (order_no, merc_id, store_id, user_id, worker_id, status, "
               "discount, take_mode, send_mode, take_address_id, send_address_id, take_time, "
               "send_time, priority, remark_json, created_at, user_remark, mark, take_date, "
               "take_time_start, take_time_end, send_date) "
               "VALUES (?, ?, ?, ?, ?, 0, ?, ?, ?, NULLIF(?, 0), NULLIF(?, 0), ?, ?, ?, ?, ?, ?, "
               "?, ?, "
               "?, ?, ?)")
        .bindAll(orderNo, call.mercId, call.storeId, userId, call.workerId, discount, takeMode - 1,
                 sendMode - 1, takeAddr, sendAddr,
                 takeMode == 2 ? takeDate + " " + takeStart + "-" + takeEnd : std::string(),
                 sendDate, priority, remarkJson, call.now, userRemark, mark, takeDate, takeStart,
                 takeEnd, sendDate)
        .exec();
    const std::int64_t orderId = call.db.lastInsertId();
    if (!remark.empty())
        call.db.exec("INSERT INTO order_remarks (order_id, worker_id, worker_name, remark, "
                     "created_at) VALUES (?, ?, (SELECT name FROM workers WHERE id = ?), ?, ?)",
                     orderId, call.workerId, call.workerId, remark, call.now);
    return Json::Value(orderNo);
}

} // namespace

void registerOrderEndpoints(ApiRegistry &api)
{
    api.add("orderInfo/add", Access::Worker, addOrder);
}

#pragma once

#include <cstdint>
#include <string>

class Connection;

namespace orders {

// An order with its store, customer and money, as the print views and order endpoints read it.
struct Order
{
    std::int64_t id = 0;
    std::string orderNo;
    std::int64_t mercId = 0;
    std::string mercName;
    std::int64_t storeId = 0;
    std::string storeName;
    std::string storeCode;
    std::int64_t userId = 0;
    std::string userName;
    std::string userPhone;
    std::string userCardNo;
    bool isMember = false;        // has a card level
    std::int64_t userBalance = 0; // balance + gift balance, fen
    std::string userRemark;
    std::string workerName; // "" = no worker recorded
    std::int64_t status = 0;
    std::int64_t payStatus = 0;
    std::int64_t takeMode = 0; // 0 brought to the store, 1 picked up
    std::int64_t sendMode = 0; // 0 collected at the store, 1 delivered
    std::int64_t sendAddressId = 0;
    std::int64_t orderPrice = 0;
    std::int64_t discount = 100;
    std::int64_t modifyPrice = 0;
    std::int64_t carriage = 0;
    std::int64_t pickupFee = 0; // the city's pick-up fee
    std::int64_t couponAmount = 0;
    std::int64_t paidPrice = 0;
    std::int64_t refundPrice = 0;
    std::int64_t createdAt = 0;
};

// The order of that id; ApiError 404 "订单不存在" when there is none. Whose it is, is the
// caller's check (domain/ownership.h).
Order load(Connection &db, std::int64_t orderId);

// The pick-up part of the order's carriage. One carriage figure is kept per order: the
// pick-up part is the city's pick-up fee when the garments were fetched, the rest is
// delivery, so the two always add up to it.
std::int64_t takeCarriage(const Order &o);

// After its garments changed: the order's price is the sum of the garments' subtotals (which
// carry the member's discount), its carriage the city's fees for fetching and delivering
// (none once the price reaches the city's free total), and what it asks for is the price
// plus the carriage, or the total set by hand.
void refreshTotals(Connection &db, std::int64_t orderId);

// One more management note on the order, by the worker (whose name it keeps as it is now).
void addNote(Connection &db, std::int64_t orderId, std::int64_t workerId, const std::string &remark,
             std::int64_t now);

// The address as one line ("上海市徐汇区漕溪北路331弄 5号楼203室"); "" for none.
std::string addressText(Connection &db, std::int64_t addressId);

} // namespace orders

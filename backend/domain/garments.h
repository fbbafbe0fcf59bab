#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <json/value.h>

struct Call;
class Connection;

namespace garments {

// An accessory taken in with a garment (a belt, a hood), labelled with a code of its own.
struct Annex
{
    std::int64_t id = 0;
    std::int64_t annexId = 0; // catalogue accessory
    std::string name;
    std::string scanCode;
    int no = 0;
};

struct Garment
{
    std::int64_t id = 0;
    std::int64_t orderId = 0;
    std::string scanCode;
    std::string productName;
    std::string serviceName;
    std::string colorDesc, flawDesc, effectDesc, addServiceDesc;
    bool bySize = false;
    std::int64_t count = 1;
    std::int64_t serviceAmt = 0;
    std::int64_t unitPrice = -1; // price of a piece or unit at intake; -1 = not known
    std::int64_t discount = 100; // percent of the price charged
    std::int64_t subtotal = 0;
    std::int64_t status = 0;
    std::int64_t statusTime = 0;
    std::int64_t hasRefund = 0;
    std::int64_t isPackaged = 0; // passed the quality test
    std::int64_t passedAt = 0;   // when it passed (its last change of state, for older passes)
    std::int64_t shelfNo = 0;    // rail position, 0 = not hung
    std::int64_t createdAt = 0;
    int no = 0; // place among the order's pieces
    std::vector<Annex> annexes;

    // Quantity in hundredths: pieces count whole, sizes are kept in hundredths already.
    std::int64_t quantity() const { return bySize ? count : count * 100; }
    // Price of one piece or unit of the service.
    std::int64_t servicePrice() const;
};

// What a garment costs, in fen: the service amount, the same after the discount, the
// add-on services and the subtotal.
struct Amounts
{
    std::int64_t serviceAmt = 0;
    std::int64_t saleAmt = 0;
    std::int64_t addsrvAmt = 0;
    std::int64_t subtotal = 0;
};

// `unitPrice` is the price of a piece, or of one unit when the garment is priced by size;
// `count` is then its size in hundredths of the unit. `discount` is the percent charged,
// `chgSubtotal` a subtotal set by hand (-1 for none). A size's amount is rounded to the
// nearest fen and the discount rounds down, as the terminal shows them.
Amounts amounts(std::int64_t unitPrice, bool bySize, std::int64_t count, std::int64_t discount,
                std::int64_t addsrvAmt, std::int64_t chgSubtotal);

// The accessories as the list text the labels and the intake screens read:
// [{"id":"3","name":"腰带"}], id "null" for one typed in by hand.
std::string annexDesc(const Garment &g);

// The order's garments as the intake screens read them, in intake order, each followed by
// its accessories as rows of their own (`type` 2); garments are `type` 1. Ids, money (fen),
// counts and flags are numbers; `serviceAmt` is the price of a piece or unit, `saleAmt` the
// service amount after the discount, `chgSubtotal` null unless the subtotal was set by hand.
Json::Value intakeRows(Connection &db, std::int64_t orderId);
// One garment as intakeRows shows it; a null value for an unknown garment.
Json::Value intakeRow(Connection &db, std::int64_t garmentId);

// The order's garments in intake order, each followed by its accessories; `no` numbers the
// pieces that way, as the labels print it ("2" over the order's piece count).
std::vector<Garment> ofOrder(Connection &db, std::int64_t orderId);
// The order a garment belongs to (0 for an unknown garment).
std::int64_t orderOf(Connection &db, std::int64_t garmentId);
// The garment a scanned code names among the merchant's garments: its own code, or the code of
// one of its accessories (which travel with it); 0 for none.
std::int64_t byScanCode(Connection &db, std::int64_t mercId, const std::string &code);
// The garment's photos in the order they were taken, each `cameraImg`: its address under the
// backend's `baseUrl`.
Json::Value photos(Connection &db, const std::string &baseUrl, std::int64_t garmentId);

// The garments the text field `field` lists ("12,13,15"), each once; ApiError 400 "请选择衣物"
// when it lists none. Whose they are, is the caller's check.
std::vector<std::int64_t> chosen(const Call &call, const char *field);

// Garments and accessories together.
int pieceCount(const std::vector<Garment> &list);
int annexCount(const std::vector<Garment> &list);

} // namespace garments

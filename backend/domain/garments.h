#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
    std::int64_t unitPrice = -1; // the catalogue's price of the service; -1 = not in the catalogue
    std::int64_t subtotal = 0;
    std::int64_t status = 0;
    std::int64_t statusTime = 0;
    std::int64_t hasRefund = 0;
    std::int64_t isPackaged = 0; // passed the quality test
    std::int64_t shelfNo = 0;    // rail position, 0 = not hung
    std::int64_t createdAt = 0;
    int no = 0; // place among the order's pieces
    std::vector<Annex> annexes;

    // Quantity in hundredths: pieces count whole, sizes are kept in hundredths already.
    std::int64_t quantity() const { return bySize ? count : count * 100; }
    // Price of one piece or unit of the service.
    std::int64_t servicePrice() const;
};

// The order's garments in intake order, each followed by its accessories; `no` numbers the
// pieces that way, as the labels print it ("2" over the order's piece count).
std::vector<Garment> ofOrder(Connection &db, std::int64_t orderId);
// The order a garment belongs to (0 for an unknown garment).
std::int64_t orderOf(Connection &db, std::int64_t garmentId);

// Garments and accessories together.
int pieceCount(const std::vector<Garment> &list);
int annexCount(const std::vector<Garment> &list);

} // namespace garments

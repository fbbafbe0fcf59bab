#pragma once

#include <cstdint>
#include <string>

#include <json/value.h>

struct Call;
class Connection;

// The merchant's catalogue: business lines (the terminal's "projects"), garment types,
// garments with their services and prices, and the lists a garment's choices come from
// (colours, flaws, effects, brands, accessories, add-on services).
namespace catalogue {

// How an order is priced: the store's price list, or the one of company clients.
constexpr std::int64_t storePrices = 1;
constexpr std::int64_t companyPrices = 2;

// One of the choice lists: its table, what an unknown id answers, and whether its entries
// may be limited to one business line (`business_id`, NULL for every line).
struct ChoiceList
{
    const char *table;
    const char *unknown;
    bool byBusiness;
    bool withAmount; // add-ons carry their catalogue amount `amt` (fen)
};

namespace lists {
extern const ChoiceList colors;
extern const ChoiceList flaws;
extern const ChoiceList effects;
extern const ChoiceList brands;
extern const ChoiceList annexes;
extern const ChoiceList addServices;
} // namespace lists

// The page the call asks for (`pageNum`, `pageSize`, 40 a page unless it says otherwise) of
// the caller's entries whose names contain `keywords`, in catalogue order: [{id, name}].
// A list limited by business line keeps the entries of the call's `businessId` (when sent)
// and those of every line.
Json::Value choicePage(Call &call, const ChoiceList &list);
// The catalogue name of an entry of the caller's merchant; 404 with the list's message when
// there is none.
std::string choiceName(Call &call, const ChoiceList &list, std::int64_t id);

// The `keywords` of a list call, trimmed ("" for none).
std::string keywords(Call &call);
// The pricing mode of a new order of this member: company clients' members get the company
// prices.
std::int64_t pricingModeFor(Connection &db, std::int64_t userId);
// The pricing mode a call names (`pricingMode`, the store's prices when absent).
std::int64_t pricingMode(Call &call);
// The price of a service under a pricing mode: the mode's own price when the catalogue has
// one, else the service's catalogue price.
std::int64_t servicePrice(Connection &db, std::int64_t serviceId, std::int64_t mode);
// Percent of the price a garment of an order is charged: the order's member discount for a
// garment that takes member discounts, else 100.
std::int64_t saleDiscount(Connection &db, std::int64_t productId, std::int64_t orderDiscount);

} // namespace catalogue

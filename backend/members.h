#pragma once

#include <cstdint>
#include <string>

#include <json/value.h>

struct Call;

// Pieces the member, address, coupon and order endpoints share.
namespace members {

// The member named by the integer field `key`, checked to belong to the caller's merchant;
// ApiError 404 otherwise.
std::int64_t memberOf(Call &call, const char *key);

// The customer record of `userId` as the terminal reads it: {"user": {info, ext, card,
// group, unionInfo, couponCnt}}.
Json::Value record(Call &call, std::int64_t userId);

// Local calendar date "yyyy-MM-dd" of a time in milliseconds.
std::string localDate(std::int64_t ms);

// True for a real calendar date written "yyyy-MM-dd".
bool isDate(const std::string &text);

// True for "HH:mm" with HH < 24 and mm < 60.
bool isClock(const std::string &text);

} // namespace members

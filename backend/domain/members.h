#pragma once

#include <cstdint>
#include <string>

#include <json/value.h>

struct Call;

// Members (the merchant's customers), shared by every store of the merchant.
namespace members {

// The customer record of `userId` as the terminal reads it: {"user": {info, ext, card,
// group, unionInfo, couponCnt}}. Whose member it is, is the caller's check.
Json::Value record(Call &call, std::int64_t userId);
// The same, or an empty object for 0 (nobody matched), so the terminal offers a new member.
Json::Value recordOrEmpty(Call &call, std::int64_t userId);
// The member as the member screens read it: the record's `user` object with `info.createTime`
// and the member's tags as `tagList` [{userTag: {id, name}}].
Json::Value profile(Call &call, std::int64_t userId);
// The member a worker's key names: a phone, member card or RFID card number, or with
// `byOrder` the number of one of the merchant's orders; 0 for nobody.
std::int64_t find(Call &call, const std::string &key, bool byOrder);

} // namespace members

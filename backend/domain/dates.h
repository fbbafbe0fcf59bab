#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// Local calendar times of times in milliseconds since 1970.
namespace dates {

std::tm localTime(std::int64_t ms);
// "2026-03-15".
std::string localDate(std::int64_t ms);
// "2024-06-12 18:20:05".
std::string localDateTime(std::int64_t ms);
// "2024-06-12 18:20:05.0" (tenths of a second): the form the bag label prints.
std::string timestampText(std::int64_t ms);

} // namespace dates

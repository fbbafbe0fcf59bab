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
// The start of a local calendar day, in milliseconds since 1970. A day or month beyond its
// range counts on (month 13 is January of the next year, day 0 the last day of the month
// before), so the next day or month is one more.
std::int64_t localMidnight(int year, int month, int day);
// The first millisecond of the local day "yyyy-MM-dd" (a date checked already), and of the
// day after it: a day's records are those from the one up to the other.
std::int64_t dayStart(const std::string &date);
std::int64_t dayAfter(const std::string &date);

} // namespace dates

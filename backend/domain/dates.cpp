#include "domain/dates.h"

#include <cstdio>
#include <string>

namespace dates {

std::tm localTime(std::int64_t ms)
{
    const std::time_t t = static_cast<std::time_t>(ms / 1000);
    std::tm out{};
#ifdef _WIN32
    localtime_s(&out, &t);
#else
    localtime_r(&t, &out);
#endif
    return out;
}

std::string localDate(std::int64_t ms)
{
    const std::tm tm = localTime(ms);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    return buf;
}

std::string localDateTime(std::int64_t ms)
{
    const std::tm tm = localTime(ms);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

std::string timestampText(std::int64_t ms)
{
    const std::tm tm = localTime(ms);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%lld", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                  static_cast<long long>(ms % 1000 / 100));
    return buf;
}

std::int64_t localMidnight(int year, int month, int day)
{
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_isdst = -1; // whatever the local rules say for that day
    return static_cast<std::int64_t>(std::mktime(&tm)) * 1000;
}

std::int64_t dayStart(const std::string &date)
{
    return localMidnight(std::stoi(date.substr(0, 4)), std::stoi(date.substr(5, 2)),
                         std::stoi(date.substr(8, 2)));
}

std::int64_t dayAfter(const std::string &date)
{
    return localMidnight(std::stoi(date.substr(0, 4)), std::stoi(date.substr(5, 2)),
                         std::stoi(date.substr(8, 2)) + 1);
}

} // namespace dates

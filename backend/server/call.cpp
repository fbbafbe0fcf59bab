#include "server/call.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <set>

#include "server/json.h"
#include "server/registry.h"
#include "server/sessions.h"

namespace {

ApiError bad(const char *what, const char *key)
{
    return ApiError(codes::badRequest, std::string(what) + key);
}

constexpr std::int64_t smallestInteger = -std::numeric_limits<std::int64_t>::max();

bool parseInteger(const std::string &s, std::int64_t &out)
{
    if (s.empty() || s.size() > 20)
        return false;
    const size_t first = s[0] == '-' ? 1 : 0;
    if (first == s.size())
        return false;
    for (size_t k = first; k < s.size(); ++k)
        if (s[k] < '0' || s[k] > '9')
            return false;
    errno = 0;
    out = std::strtoll(s.c_str(), nullptr, 10);
    return errno == 0 && out >= smallestInteger;
}

bool digitsAt(const std::string &text, size_t from, size_t count, int &value)
{
    value = 0;
    for (size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

} // namespace

std::string trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool isDate(const std::string &text)
{
    int y = 0, m = 0, d = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !digitsAt(text, 0, 4, y) ||
        !digitsAt(text, 5, 2, m) || !digitsAt(text, 8, 2, d))
        return false;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12 || d < 1)
        return false;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= days[m - 1] + (m == 2 && leap ? 1 : 0);
}

bool isMonth(const std::string &text)
{
    int y = 0, m = 0;
    return text.size() == 7 && text[4] == '-' && digitsAt(text, 0, 4, y) &&
           digitsAt(text, 5, 2, m) && m >= 1 && m <= 12;
}

bool isClockTime(const std::string &text)
{
    int h = 0, m = 0;
    return text.size() == 5 && text[2] == ':' && digitsAt(text, 0, 2, h) &&
           digitsAt(text, 3, 2, m) && h < 24 && m < 60;
}

std::vector<std::int64_t> idList(const std::string &text, const std::string &field)
{
    std::vector<std::int64_t> ids;
    std::set<std::int64_t> seen;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        const std::string part = trimmed(text.substr(start, comma - start));
        if (part.empty() || part.size() > 18 ||
            part.find_first_not_of("0123456789") != std::string::npos)
            throw ApiError(codes::badRequest, "参数格式错误: " + field);
        const std::int64_t id = std::stoll(part);
        if (seen.insert(id).second)
            ids.push_back(id);
        start = comma + 1;
    }
    return ids;
}

bool Call::has(const char *key) const
{
    const Json::Value *v = body.find(key, key + std::char_traits<char>::length(key));
    return v && !v->isNull();
}

std::string Call::text(const char *key, size_t maxChars) const
{
    const Json::Value *v = body.find(key, key + std::char_traits<char>::length(key));
    if (!v)
        throw bad("缺少参数: ", key);
    if (!v->isString())
        throw bad("参数类型错误: ", key);
    std::string out = v->asString();
    if (json::characters(out) > maxChars)
        throw ApiError(codes::badRequest, std::string("参数过长: ") + key + "（最多" +
                                              std::to_string(maxChars) + "字）");
    return out;
}

std::string Call::requiredText(const char *key, size_t maxChars) const
{
    std::string v = text(key, maxChars);
    if (v.empty())
        throw bad("参数不能为空: ", key);
    return v;
}

std::string Call::optionalText(const char *key, size_t maxChars) const
{
    return has(key) ? text(key, maxChars) : std::string();
}

std::int64_t Call::integer(const char *key) const
{
    const Json::Value *v = body.find(key, key + std::char_traits<char>::length(key));
    if (!v)
        throw bad("缺少参数: ", key);
    // isInt64 also refuses 2^63 and beyond, and fractions.
    if (v->isInt64() && v->asInt64() >= smallestInteger)
        return v->asInt64();
    std::int64_t out = 0;
    if (v->isString() && parseInteger(v->asString(), out))
        return out;
    throw bad("参数类型错误: ", key);
}

std::optional<std::int64_t> Call::optionalInteger(const char *key) const
{
    if (!has(key) || (body[key].isString() && body[key].asString().empty()))
        return std::nullopt;
    return integer(key);
}

std::int64_t Call::optionalInteger(const char *key, std::int64_t fallback) const
{
    return optionalInteger(key).value_or(fallback);
}

std::int64_t Call::oneOf(const char *key, std::initializer_list<std::int64_t> allowed) const
{
    const std::int64_t v = integer(key);
    for (std::int64_t a : allowed)
        if (v == a)
            return v;
    throw bad("参数取值错误: ", key);
}

std::string Call::oneOf(const char *key, std::initializer_list<const char *> allowed) const
{
    const std::string v = text(key);
    for (const char *a : allowed)
        if (v == a)
            return v;
    throw bad("参数取值错误: ", key);
}

std::string Call::date(const char *key) const
{
    const std::string v = requiredText(key);
    if (!isDate(v))
        throw bad("日期格式错误: ", key);
    return v;
}

std::string Call::month(const char *key) const
{
    const std::string v = requiredText(key);
    if (!isMonth(v))
        throw bad("月份格式错误: ", key);
    return v;
}

std::string Call::clockTime(const char *key) const
{
    const std::string v = requiredText(key);
    if (!isClockTime(v))
        throw bad("时间格式错误: ", key);
    return v;
}

Json::Value Call::jsonArray(const char *key, size_t maxChars) const
{
    Json::Value out;
    if (!json::parse(text(key, maxChars), out) || !out.isArray())
        throw bad("参数格式错误: ", key);
    return out;
}

Page Call::page(std::int64_t defaultSize, std::int64_t maxSize) const
{
    constexpr std::int64_t maxPageNum = 1000000;
    Page p;
    p.num = optionalInteger("pageNum", 1);
    p.size = optionalInteger("pageSize", defaultSize);
    if (p.num < 1 || p.num > maxPageNum)
        throw ApiError(codes::badRequest,
                       "分页参数错误: pageNum 应在1到" + std::to_string(maxPageNum) + "之间");
    if (p.size < 1 || p.size > maxSize)
        throw ApiError(codes::badRequest,
                       "分页参数错误: pageSize 应在1到" + std::to_string(maxSize) + "之间");
    return p;
}

std::string Call::openSession(std::int64_t worker, const char *loginWay)
{
    issuedToken = sessions::open(*this, worker, loginWay);
    return issuedToken;
}

void Call::endSession()
{
    sessions::end(*this);
    endsSession = true;
}

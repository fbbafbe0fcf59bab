#include "apiregistry.h"

#include <cerrno>
#include <cstdlib>

namespace {

bool parseInteger(const std::string &s, std::int64_t &out)
{
    if (s.empty() || s.size() > 19)
        return false;
    size_t i = (s[0] == '-') ? 1 : 0;
    if (i == s.size())
        return false;
    for (size_t k = i; k < s.size(); ++k)
        if (s[k] < '0' || s[k] > '9')
            return false;
    errno = 0;
    out = std::strtoll(s.c_str(), nullptr, 10);
    return errno == 0;
}

} // namespace

bool Call::has(const char *key) const
{
    return body.isMember(key) && !body[key].isNull();
}

std::string Call::text(const char *key) const
{
    if (!body.isMember(key))
        throw ApiError(codes::badRequest, std::string("缺少参数: ") + key);
    const Json::Value &v = body[key];
    if (!v.isString())
        throw ApiError(codes::badRequest, std::string("参数类型错误: ") + key);
    return v.asString();
}

std::string Call::requiredText(const char *key) const
{
    std::string v = text(key);
    if (v.empty())
        throw ApiError(codes::badRequest, std::string("参数不能为空: ") + key);
    return v;
}

std::string Call::optionalText(const char *key, const std::string &fallback) const
{
    if (!has(key))
        return fallback;
    return text(key);
}

std::int64_t Call::integer(const char *key) const
{
    if (!body.isMember(key))
        throw ApiError(codes::badRequest, std::string("缺少参数: ") + key);
    const Json::Value &v = body[key];
    std::int64_t out = 0;
    if (v.isIntegral())
        return v.asInt64();
    if (v.isString() && parseInteger(v.asString(), out))
        return out;
    throw ApiError(codes::badRequest, std::string("参数类型错误: ") + key);
}

std::int64_t Call::optionalInteger(const char *key, std::int64_t fallback) const
{
    if (!has(key) || (body[key].isString() && body[key].asString().empty()))
        return fallback;
    return integer(key);
}

void ApiRegistry::add(const std::string &path, Access access, Handler handler)
{
    entries_[path] = Entry{access, std::move(handler)};
}

const ApiRegistry::Entry *ApiRegistry::find(const std::string &path) const
{
    auto it = entries_.find(path);
    return it == entries_.end() ? nullptr : &it->second;
}

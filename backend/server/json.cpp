#include "server/json.h"

#include <charconv>
#include <memory>

#include <json/json.h>

namespace json {

bool isUtf8(std::string_view text)
{
    const auto *p = reinterpret_cast<const unsigned char *>(text.data());
    const auto *end = p + text.size();
    while (p < end) {
        const unsigned c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        size_t len = 0;
        unsigned code = 0, min = 0;
        if ((c & 0xe0) == 0xc0) {
            len = 2, code = c & 0x1f, min = 0x80;
        } else if ((c & 0xf0) == 0xe0) {
            len = 3, code = c & 0x0f, min = 0x800;
        } else if ((c & 0xf8) == 0xf0) {
            len = 4, code = c & 0x07, min = 0x10000;
        } else {
            return false;
        }
        if (static_cast<size_t>(end - p) < len)
            return false;
        for (size_t k = 1; k < len; ++k) {
            if ((p[k] & 0xc0) != 0x80)
                return false;
            code = (code << 6) | (p[k] & 0x3f);
        }
        if (code < min || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
            return false;
        p += len;
    }
    return true;
}

size_t characters(std::string_view utf8)
{
    size_t n = 0;
    for (char c : utf8)
        n += (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    return n;
}

namespace {

// \u escapes can spell a lone surrogate, which the reader turns into invalid UTF-8.
bool stringsAreUtf8(const Json::Value &v)
{
    if (v.isString()) {
        const char *begin = nullptr, *end = nullptr;
        v.getString(&begin, &end);
        return isUtf8(std::string_view(begin, static_cast<size_t>(end - begin)));
    }
    if (v.isObject()) {
        for (auto it = v.begin(); it != v.end(); ++it)
            if (!isUtf8(it.name()) || !stringsAreUtf8(*it))
                return false;
    } else if (v.isArray()) {
        for (const Json::Value &e : v)
            if (!stringsAreUtf8(e))
                return false;
    }
    return true;
}

Json::CharReader &reader()
{
    // One reader per thread: building one costs more than parsing a small body.
    thread_local const std::unique_ptr<Json::CharReader> r = [] {
        Json::CharReaderBuilder builder;
        Json::CharReaderBuilder::strictMode(&builder.settings_);
        builder["stackLimit"] = maxDepth;
        return std::unique_ptr<Json::CharReader>(builder.newCharReader());
    }();
    return *r;
}

void writeString(std::string &out, const char *begin, const char *end)
{
    static const char hex[] = "0123456789abcdef";
    out += '"';
    const char *run = begin; // the start of characters that go out as they are
    for (const char *p = begin; p < end; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(run, p);
        run = p + 1;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    out.append(run, end);
    out += '"';
}

template <typename T> void writeNumber(std::string &out, T value)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, r.ptr);
}

void writeValue(std::string &out, const Json::Value &v)
{
    switch (v.type()) {
    case Json::nullValue:
        out += "null";
        break;
    case Json::intValue:
        writeNumber(out, v.asLargestInt());
        break;
    case Json::uintValue:
        writeNumber(out, v.asLargestUInt());
        break;
    case Json::realValue:
        out += Json::valueToString(v.asDouble());
        break;
    case Json::booleanValue:
        out += v.asBool() ? "true" : "false";
        break;
    case Json::stringValue: {
        const char *begin = nullptr, *end = nullptr;
        v.getString(&begin, &end);
        writeString(out, begin, end);
        break;
    }
    case Json::arrayValue: {
        out += '[';
        const Json::ArrayIndex n = v.size();
        for (Json::ArrayIndex i = 0; i < n; ++i) {
            if (i)
                out += ',';
            writeValue(out, v[i]);
        }
        out += ']';
        break;
    }
    case Json::objectValue: {
        out += '{';
        bool first = true;
        const auto last = v.end();
        for (auto it = v.begin(); it != last; ++it) {
            if (!first)
                out += ',';
            first = false;
            const char *end = nullptr;
            const char *begin = it.memberName(&end);
            writeString(out, begin, end);
            out += ':';
            writeValue(out, *it);
        }
        out += '}';
        break;
    }
    }
}

} // namespace

bool parse(std::string_view text, Json::Value &out)
{
    if (!isUtf8(text))
        return false;
    std::string errors;
    try {
        if (!reader().parse(text.data(), text.data() + text.size(), &out, &errors))
            return false;
    } catch (const Json::Exception &) {
        return false; // nested deeper than the reader's stack limit
    }
    return text.find("\\u") == std::string_view::npos || stringsAreUtf8(out);
}

std::string write(const Json::Value &value)
{
    std::string out;
    out.reserve(256);
    writeValue(out, value);
    return out;
}

} // namespace json

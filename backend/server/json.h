#pragma once

#include <string>
#include <string_view>

#include <json/value.h>

// The one way JSON is read and written in the service.
namespace json {

// Deeper bodies are refused: nothing the terminal sends nests more than a few levels.
constexpr int maxDepth = 32;

// Parses one JSON value. False for text that is not JSON, not valid UTF-8 (also through
// \u escapes), nested deeper than maxDepth, with duplicate keys or trailing text.
bool parse(std::string_view text, Json::Value &out);

// Compact UTF-8 JSON, without a trailing newline.
std::string write(const Json::Value &value);

// True for well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isUtf8(std::string_view text);
// Characters (code points) of well-formed UTF-8.
size_t characters(std::string_view utf8);

} // namespace json

#include "server/crypto.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>

#include <json/value.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

#include "server/json.h"

namespace crypto {

namespace {

using FetchedMd = std::unique_ptr<EVP_MD, decltype(&EVP_MD_free)>;

std::string digestHex(const FetchedMd &md, const std::string &bytes)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!md || EVP_Digest(bytes.data(), bytes.size(), digest, &length, md.get(), nullptr) != 1)
        throw std::runtime_error("no digest");
    return toHex(std::string(reinterpret_cast<char *>(digest), length));
}

} // namespace

// Digests are fetched once: EVP_md5() and friends look the implementation up again on every
// use, under a lock all request threads share.
std::string md5Hex(const std::string &bytes)
{
    static const FetchedMd md5(EVP_MD_fetch(nullptr, "MD5", nullptr), EVP_MD_free);
    return digestHex(md5, bytes);
}

std::string sha256Hex(const std::string &bytes)
{
    static const FetchedMd sha256(EVP_MD_fetch(nullptr, "SHA256", nullptr), EVP_MD_free);
    return digestHex(sha256, bytes);
}

std::string toLatin1(const std::string &utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        size_t len = (c & 0xe0) == 0xc0 ? 2 : (c & 0xf0) == 0xe0 ? 3 : (c & 0xf8) == 0xf0 ? 4 : 1;
        if (len == 2 && i + 1 < utf8.size()) {
            const unsigned code =
                ((c & 0x1fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3fu);
            out += code < 0x100 ? static_cast<char>(code) : '?';
        } else {
            out += '?';
        }
        // A character beyond the Basic Multilingual Plane is two UTF-16 units, hence "??".
        if (len == 4)
            out += '?';
        i += len;
    }
    return out;
}

std::string mmd5(const std::string &firstUtf8, const std::string &secondUtf8)
{
    return md5Hex(md5Hex(toLatin1(firstUtf8)) + toLatin1(secondUtf8));
}

std::string hmacSha256(const std::string &key, const std::string &message)
{
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    HMAC(EVP_sha256(), key.data(), static_cast<int>(key.size()),
         reinterpret_cast<const unsigned char *>(message.data()), message.size(), out, &length);
    return std::string(reinterpret_cast<char *>(out), length);
}

std::string toHex(const std::string &bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string fromHex(const std::string &hex)
{
    auto value = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    std::string out;
    if (hex.size() % 2)
        return out;
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int hi = value(hex[i]), lo = value(hex[i + 1]);
        if (hi < 0 || lo < 0)
            return {};
        out += static_cast<char>(hi * 16 + lo);
    }
    return out;
}

std::string randomBytes(size_t count)
{
    std::string out(count, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char *>(out.data()), static_cast<int>(count)) != 1)
        throw std::runtime_error("no random numbers");
    return out;
}

std::string randomHex(size_t bytes)
{
    return toHex(randomBytes(bytes));
}

std::string base64UrlEncode(const std::string &bytes)
{
    static const char table[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    std::string out;
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                           (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += table[(v >> 18) & 63];
        out += table[(v >> 12) & 63];
        out += table[(v >> 6) & 63];
        out += table[v & 63];
    }
    const size_t rest = bytes.size() - i;
    if (rest) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2)
            v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += table[(v >> 18) & 63];
        out += table[(v >> 12) & 63];
        if (rest == 2)
            out += table[(v >> 6) & 63];
    }
    return out;
}

std::string base64UrlDecode(const std::string &text)
{
    auto value = [](char c) -> int {
        if (c >= 'A' && c <= 'Z')
            return c - 'A';
        if (c >= 'a' && c <= 'z')
            return c - 'a' + 26;
        if (c >= '0' && c <= '9')
            return c - '0' + 52;
        if (c == '-')
            return 62;
        if (c == '_')
            return 63;
        return -1;
    };
    std::string out;
    unsigned buffer = 0;
    int bits = 0;
    for (char c : text) {
        const int v = value(c);
        if (v < 0)
            return {};
        buffer = (buffer << 6) | static_cast<unsigned>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((buffer >> bits) & 0xff);
        }
    }
    return out;
}

namespace {

std::u16string toUtf16(const std::string &utf8)
{
    std::u16string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        unsigned code = c;
        size_t len = 1;
        if ((c & 0xe0) == 0xc0) {
            code = c & 0x1fu;
            len = 2;
        } else if ((c & 0xf0) == 0xe0) {
            code = c & 0x0fu;
            len = 3;
        } else if ((c & 0xf8) == 0xf0) {
            code = c & 0x07u;
            len = 4;
        }
        for (size_t k = 1; k < len && i + k < utf8.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3fu);
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xd800 + (code >> 10));
            out += static_cast<char16_t>(0xdc00 + (code & 0x3ff));
        } else {
            out += static_cast<char16_t>(code);
        }
        i += len;
    }
    return out;
}

} // namespace

bool lessUtf16(const std::string &a, const std::string &b)
{
    return toUtf16(a) < toUtf16(b);
}

std::string requestSignature(const Json::Value &params)
{
    if (!params.isObject())
        return md5Hex({});
    // An object's members come in byte order of their UTF-8 keys, which is UTF-16 order as
    // long as no key holds a character from U+E000 up (lead bytes 0xEE and above).
    bool byteOrderIsUtf16Order = true;
    for (auto it = params.begin(); it != params.end() && byteOrderIsUtf16Order; ++it)
        for (unsigned char c : it.name())
            byteOrderIsUtf16Order = byteOrderIsUtf16Order && c < 0xee;
    std::string joined;
    auto add = [&joined](const Json::Value &v) {
        if (v.isString()) {
            const char *begin = nullptr, *end = nullptr;
            v.getString(&begin, &end);
            joined.append(begin, end);
        }
    };
    if (byteOrderIsUtf16Order) {
        for (const Json::Value &v : params)
            add(v);
    } else {
        std::vector<std::string> keys = params.getMemberNames();
        std::sort(keys.begin(), keys.end(), lessUtf16);
        for (const auto &key : keys)
            add(params[key]);
    }
    return md5Hex(joined);
}

bool equalConstantTime(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (size_t i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

} // namespace crypto

ServerKeys::ServerKeys(const std::string &keyFile)
{
    std::ifstream in(keyFile, std::ios::binary);
    std::string hex;
    if (in)
        std::getline(in, hex);
    key_ = crypto::fromHex(hex);
    if (key_.size() == 32)
        return;
    if (in)
        throw std::runtime_error("key file " + keyFile + " is damaged");
    key_ = crypto::randomBytes(32);
    const std::string temp = keyFile + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << crypto::toHex(key_) << "\n";
        if (!out)
            throw std::runtime_error("cannot write key file " + keyFile);
    }
#ifndef _WIN32
    ::chmod(temp.c_str(), 0600);
#endif
    if (std::rename(temp.c_str(), keyFile.c_str()) != 0)
        throw std::runtime_error("cannot write key file " + keyFile);
}

std::string ServerKeys::pad(const std::string &salt, size_t length) const
{
    std::string out;
    for (int block = 0; out.size() < length; ++block)
        out += crypto::hmacSha256(key_, "password-seal:" + std::to_string(block) + ":" + salt);
    out.resize(length);
    return out;
}

std::string ServerKeys::sealPasswordDigest(const std::string &salt,
                                           const std::string &md5HexDigest) const
{
    const std::string digest = crypto::fromHex(md5HexDigest);
    const std::string p = pad(salt, digest.size());
    std::string out(digest.size(), '\0');
    for (size_t i = 0; i < digest.size(); ++i)
        out[i] = static_cast<char>(digest[i] ^ p[i]);
    return out;
}

std::string ServerKeys::unsealPasswordDigest(const std::string &salt,
                                             const std::string &sealed) const
{
    const std::string p = pad(salt, sealed.size());
    std::string out(sealed.size(), '\0');
    for (size_t i = 0; i < sealed.size(); ++i)
        out[i] = static_cast<char>(sealed[i] ^ p[i]);
    return crypto::toHex(out);
}

bool ServerKeys::checkPassword(const std::string &salt, const std::string &sealed,
                               const std::string &appSecret, const std::string &sent) const
{
    if (sealed.size() != 16)
        return false;
    const std::string expected =
        crypto::md5Hex(unsealPasswordDigest(salt, sealed) + crypto::toLatin1(appSecret));
    return crypto::equalConstantTime(expected, sent);
}

std::string ServerKeys::cardHash(const std::string &cardSecret) const
{
    return crypto::toHex(crypto::hmacSha256(key_, "staff-card:" + cardSecret));
}

std::string ServerKeys::sessionToken(const std::string &requestIdentity) const
{
    return crypto::toHex(crypto::hmacSha256(key_, "session:" + requestIdentity)).substr(0, 48);
}

std::string ServerKeys::uploadToken(std::int64_t deadlineSeconds, const std::string &scope) const
{
    Json::Value policy;
    policy["scope"] = scope;
    policy["deadline"] = Json::Int64(deadlineSeconds);
    const std::string encoded = crypto::base64UrlEncode(json::write(policy));
    return crypto::base64UrlEncode(crypto::hmacSha256(key_, "upload:" + encoded)) + ":" + encoded;
}

std::string ServerKeys::checkUploadToken(const std::string &token, std::int64_t nowSeconds,
                                         std::string &scope) const
{
    const auto colon = token.find(':');
    if (colon == std::string::npos)
        return "bad token";
    const std::string mac = token.substr(0, colon), encoded = token.substr(colon + 1);
    const std::string expected =
        crypto::base64UrlEncode(crypto::hmacSha256(key_, "upload:" + encoded));
    if (!crypto::equalConstantTime(mac, expected))
        return "bad token";
    Json::Value policy;
    if (!json::parse(crypto::base64UrlDecode(encoded), policy) || !policy.isObject() ||
        !policy["deadline"].isInt64() || !policy["scope"].isString())
        return "bad token";
    if (policy["deadline"].asInt64() < nowSeconds)
        return "expired token";
    scope = policy["scope"].asString();
    return {};
}

#pragma once

#include <cstdint>
#include <string>

#include <json/value.h>

namespace crypto {

// Lowercase hexadecimal MD5 of the bytes.
std::string md5Hex(const std::string &bytes);
// Lowercase hexadecimal SHA-256 of the bytes.
std::string sha256Hex(const std::string &bytes);
// The terminal's double digest: md5hex(md5hex(first) + second), both texts as Latin-1
// (characters outside Latin-1 become '?'), given here as UTF-8.
std::string mmd5(const std::string &firstUtf8, const std::string &secondUtf8);
std::string toLatin1(const std::string &utf8);
std::string hmacSha256(const std::string &key, const std::string &message);
std::string toHex(const std::string &bytes);
std::string fromHex(const std::string &hex);
std::string randomBytes(size_t count);
std::string randomHex(size_t bytes);
std::string base64UrlEncode(const std::string &bytes);
std::string base64UrlDecode(const std::string &text);
// The request signature: the values of the flat parameter object, keys in ascending UTF-16
// order (upper case before lower case), concatenated without separators (a value that is
// not a JSON string counts as empty), as lowercase hexadecimal MD5 of the UTF-8 bytes.
std::string requestSignature(const Json::Value &params);
// Orders two UTF-8 texts as their UTF-16 code units would be ordered.
bool lessUtf16(const std::string &a, const std::string &b);
// Comparison whose time does not depend on where the texts differ.
bool equalConstantTime(const std::string &a, const std::string &b);

} // namespace crypto

// The service's own secret, kept in a file beside the database (never inside it), so a
// copied database alone reveals neither password digests nor card secrets.
class ServerKeys
{
public:
    // Loads the key file, creating it with a fresh random key (owner-only) when missing.
    explicit ServerKeys(const std::string &keyFile);

    // Passwords. The terminal proves its password as mmd5(password, appSecret), so the
    // service must know md5hex(password). It keeps that digest sealed: XOR with a pad
    // derived from the server key and the worker's own random salt.
    std::string sealPasswordDigest(const std::string &salt, const std::string &md5HexDigest) const;
    std::string unsealPasswordDigest(const std::string &salt, const std::string &sealed) const;
    bool checkPassword(const std::string &salt, const std::string &sealed,
                       const std::string &appSecret, const std::string &sent) const;

    // Staff cards: looked up by a keyed hash of the secret stored on the card.
    std::string cardHash(const std::string &cardSecret) const;

    // The access token of the session a login request opens: derived from the request itself
    // (path, serial number, timestamp, sign) under the server key, so the service keeps only
    // its hash and a verbatim repeat of the login still gets the same token back.
    std::string sessionToken(const std::string &requestIdentity) const;

    // Upload tokens for the photo store: "<mac>:<policy>", the policy holding the deadline and
    // the scope, whose keys the token may store ("store-<id>": the keys of that store).
    std::string uploadToken(std::int64_t deadlineSeconds, const std::string &scope) const;
    // Empty when valid, with `scope` set to the token's; else the reason ("bad token",
    // "expired token").
    std::string checkUploadToken(const std::string &token, std::int64_t nowSeconds,
                                 std::string &scope) const;

private:
    std::string pad(const std::string &salt, size_t length) const;
    std::string key_;
};

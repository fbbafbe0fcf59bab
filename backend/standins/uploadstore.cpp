// Stand-in for the cloud photo store: the form upload the terminal's upload client uses,
// and the stored pictures served back.
//   POST /qiniu (multipart: token, key, file)  ->  {"hash": ..., "key": ...}
//   GET  /files/<key>                           ->  the stored bytes
// A key belongs to the store whose token first stored it and is never overwritten: the same
// bytes sent again by that store (a retry whose answer was lost) are answered as stored,
// anything else under that key is refused (409).

#include <httplib.h>
#include <json/value.h>

#include "server/backendserver.h"
#include "server/crypto.h"
#include "standins/standinreply.h"
#include "standins/standins.h"
#include "store/database.h"

namespace {

using standins::answer;
using standins::refuse;

// Object keys are paths below the store: no "..", no absolute or empty parts.
bool acceptableKey(const std::string &key)
{
    if (key.empty() || key.size() > 512 || key.front() == '/' || key.back() == '/')
        return false;
    size_t start = 0;
    while (start <= key.size()) {
        const size_t end = std::min(key.find('/', start), key.size());
        const std::string part = key.substr(start, end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        start = end + 1;
    }
    for (unsigned char c : key)
        if (c < 0x20 || c == '\\')
            return false;
    return true;
}

// The store an upload token's scope names ("store-<id>"), 0 for none.
std::int64_t storeOfScope(const std::string &scope)
{
    const std::string prefix = "store-";
    const std::string digits = scope.substr(std::min(prefix.size(), scope.size()));
    if (scope.compare(0, prefix.size(), prefix) != 0 || digits.empty() || digits.size() > 18 ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return std::stoll(digits);
}

std::string mimeOf(const std::string &key, const std::string &sent)
{
    auto ends = [&](const char *ext) {
        const std::string e(ext);
        return key.size() >= e.size() &&
               std::equal(e.rbegin(), e.rend(), key.rbegin(),
                          [](char a, char b) { return a == std::tolower(b); });
    };
    if (ends(".jpg") || ends(".jpeg"))
        return "image/jpeg";
    if (ends(".png"))
        return "image/png";
    if (!sent.empty() && sent.find('\n') == std::string::npos)
        return sent;
    return "application/octet-stream";
}

void upload(BackendServer &server, const httplib::Request &req, httplib::Response &res)
{
    if (!req.is_multipart_form_data())
        return refuse(res, 400, "multipart form expected");
    if (!req.has_file("token"))
        return refuse(res, 401, "token not specified");
    const std::string token = req.get_file_value("token").content;
    std::string scope;
    const std::string reason = server.keys().checkUploadToken(token, nowMs() / 1000, scope);
    if (!reason.empty())
        return refuse(res, 401, reason);
    const std::int64_t storeId = storeOfScope(scope);
    if (storeId == 0)
        return refuse(res, 401, "bad token");
    if (!req.has_file("file"))
        return refuse(res, 400, "file not specified");
    const auto file = req.get_file_value("file");
    std::string key = req.has_file("key") ? req.get_file_value("key").content : file.filename;
    if (!acceptableKey(key))
        return refuse(res, 400, "invalid key");

    const std::string hash = crypto::md5Hex(file.content);
    auto conn = server.database().acquire();
    Transaction tx(*conn);
    Query held = conn->query("SELECT hash, IFNULL(store_id, 0) AS storeId FROM upload_files "
                             "WHERE key = ?",
                             key);
    if (held.next()) {
        if (held.integer("storeId") != storeId || held.text("hash") != hash)
            return refuse(res, 409, "file exists");
    } else {
        conn->query("INSERT INTO upload_files (key, content, mime, hash, created_at, store_id) "
                    "VALUES (?, ?, ?, ?, ?, ?)")
            .bind(1, key)
            .bindBlob(2, file.content)
            .bind(3, mimeOf(key, file.content_type))
            .bind(4, hash)
            .bind(5, nowMs())
            .bind(6, storeId)
            .exec();
        tx.commit();
    }

    Json::Value body(Json::objectValue);
    body["hash"] = hash;
    body["key"] = key;
    answer(res, 200, body);
}

void serveFile(BackendServer &server, const httplib::Request &req, httplib::Response &res)
{
    const std::string key = req.matches[1];
    auto conn = server.database().acquire(Connection::Mode::ReadOnly);
    Query q = conn->query("SELECT content, mime FROM upload_files WHERE key = ?", key);
    if (!q.next())
        return refuse(res, 404, "no such file");
    res.set_content(q.blob("content"), q.text("mime").c_str());
}

} // namespace

void standins::registerUploadStore(BackendServer &server)
{
    auto handler = [&server](const httplib::Request &req, httplib::Response &res) {
        upload(server, req, res);
    };
    server.http().Post("/qiniu", handler);
    server.http().Post("/qiniu/", handler);
    server.http().Get("/files/(.+)",
                      [&server](const httplib::Request &req, httplib::Response &res) {
                          serveFile(server, req, res);
                      });
}

// Stand-in for the cloud photo store: the form upload the terminal's upload client uses,
// and the stored pictures served back.
//   POST /qiniu (multipart: token, key, file)  ->  {"hash": ..., "key": ...}
//   GET  /files/<key>                           ->  the stored bytes

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
    const std::string reason = server.keys().checkUploadToken(token, nowMs() / 1000);
    if (!reason.empty())
        return refuse(res, 401, reason);
    if (!req.has_file("file"))
        return refuse(res, 400, "file not specified");
    const auto file = req.get_file_value("file");
    std::string key = req.has_file("key") ? req.get_file_value("key").content : file.filename;
    if (!acceptableKey(key))
        return refuse(res, 400, "invalid key");

    const std::string hash = crypto::md5Hex(file.content);
    auto conn = server.database().acquire();
    Transaction tx(*conn);
    conn->query("INSERT INTO upload_files (key, content, mime, hash, created_at) "
                "VALUES (?, ?, ?, ?, ?) ON CONFLICT (key) DO UPDATE SET "
                "content = excluded.content, mime = excluded.mime, hash = excluded.hash, "
                "created_at = excluded.created_at")
        .bind(1, key)
        .bindBlob(2, file.content)
        .bind(3, mimeOf(key, file.content_type))
        .bind(4, hash)
        .bind(5, nowMs())
        .exec();
    tx.commit();

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

#include "server/replies.h"

#include "store/database.h"

namespace replies {

namespace {

// Stands in the kept text for the token, which the service must not keep.
const std::string tokenMark = "\"@accessToken\"";

std::string replaced(std::string text, const std::string &from, const std::string &to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

bool find(Connection &db, const std::string &identity, Kept &out)
{
    Query q = db.query("SELECT body_hash AS bodyHash, IFNULL(session_hash, '') AS sessionHash, "
                       "ends_session AS endsSession, issued_token AS issuedToken, body "
                       "FROM replies WHERE key = ?",
                       identity);
    if (!q.next())
        return false;
    out.bodyHash = q.text("bodyHash");
    out.sessionHash = q.text("sessionHash");
    out.endsSession = q.integer("endsSession") != 0;
    out.issuedToken = q.integer("issuedToken") != 0;
    out.text = q.text("body");
    return true;
}

void keep(Connection &db, const std::string &identity, Kept kept, const std::string &token,
          std::int64_t expiresAt)
{
    if (!token.empty())
        kept.text = replaced(std::move(kept.text), "\"" + token + "\"", tokenMark);
    db.exec("INSERT INTO replies (key, body_hash, session_hash, ends_session, issued_token, "
            "expires_at, body) VALUES (?, ?, NULLIF(?, ''), ?, ?, ?, ?)",
            identity, kept.bodyHash, kept.sessionHash, kept.endsSession ? 1 : 0,
            token.empty() ? 0 : 1, expiresAt, kept.text);
}

std::string withToken(const std::string &text, const std::string &token)
{
    return replaced(text, tokenMark, "\"" + token + "\"");
}

void prune(Connection &db, std::int64_t now)
{
    db.exec("DELETE FROM replies WHERE expires_at < ?", now);
}

} // namespace replies

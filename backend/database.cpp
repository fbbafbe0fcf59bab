#include "database.h"

#include <sqlite3.h>

bool DbError::isConstraint() const
{
    return (code_ & 0xff) == SQLITE_CONSTRAINT;
}

Query::Query(sqlite3 *db, sqlite3_stmt *stmt, bool *inUse) : db_(db), stmt_(stmt), inUse_(inUse)
{
    if (inUse_)
        *inUse_ = true;
}

Query::Query(Query &&other) noexcept : db_(other.db_), stmt_(other.stmt_), inUse_(other.inUse_)
{
    other.stmt_ = nullptr;
    other.inUse_ = nullptr;
}

Query::~Query()
{
    if (!stmt_)
        return;
    if (!inUse_) {
        sqlite3_finalize(stmt_);
    } else {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
        *inUse_ = false;
    }
}

void Query::check(int rc) const
{
    if (rc != SQLITE_OK)
        throw DbError(rc, sqlite3_errmsg(db_));
}

Query &Query::bindInteger(int index, std::int64_t value)
{
    check(sqlite3_bind_int64(stmt_, index, value));
    return *this;
}

Query &Query::bind(int index, const std::string &value)
{
    check(sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()),
                            SQLITE_TRANSIENT));
    return *this;
}

Query &Query::bind(int index, std::nullptr_t)
{
    check(sqlite3_bind_null(stmt_, index));
    return *this;
}

Query &Query::bindBlob(int index, const std::string &bytes)
{
    check(sqlite3_bind_blob(stmt_, index, bytes.data(), static_cast<int>(bytes.size()),
                            SQLITE_TRANSIENT));
    return *this;
}

bool Query::next()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw DbError(rc, sqlite3_errmsg(db_));
}

int Query::exec()
{
    while (next()) {
    }
    return sqlite3_changes(db_);
}

std::int64_t Query::integer(int column) const
{
    return sqlite3_column_int64(stmt_, column);
}

std::string Query::text(int column) const
{
    const auto *p = sqlite3_column_text(stmt_, column);
    if (!p)
        return {};
    return std::string(reinterpret_cast<const char *>(p),
                       static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

std::string Query::blob(int column) const
{
    const void *p = sqlite3_column_blob(stmt_, column);
    if (!p)
        return {};
    return std::string(static_cast<const char *>(p),
                       static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

bool Query::isNull(int column) const
{
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

Connection::Connection(const std::string &path, std::mutex *writeLock) : writeLock_(writeLock)
{
    const int rc =
        sqlite3_open_v2(path.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string msg = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw DbError(rc, "cannot open " + path + ": " + msg);
    }
    sqlite3_busy_timeout(db_, 10000);
    script("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;");
}

Connection::~Connection()
{
    for (auto &entry : cache_)
        sqlite3_finalize(entry.second.stmt);
    sqlite3_close(db_);
}

Query Connection::prepare(const std::string &sql)
{
    auto it = cache_.find(sql);
    if (it != cache_.end() && !*it->second.inUse)
        return Query(db_, it->second.stmt, it->second.inUse.get());
    sqlite3_stmt *stmt = nullptr;
    const int rc =
        sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr);
    if (rc != SQLITE_OK)
        throw DbError(rc, std::string(sqlite3_errmsg(db_)) + " in: " + sql);
    // The same text used twice at once (nested loops) gets a private statement.
    if (it != cache_.end())
        return Query(db_, stmt, nullptr);
    Cached &entry = cache_[sql];
    entry.stmt = stmt;
    entry.inUse = std::make_unique<bool>(false);
    return Query(db_, stmt, entry.inUse.get());
}

void Connection::script(const std::string &sql)
{
    char *err = nullptr;
    const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const std::string msg = err ? err : "unknown error";
        sqlite3_free(err);
        throw DbError(rc, msg);
    }
}

std::int64_t Connection::lastInsertId() const
{
    return sqlite3_last_insert_rowid(db_);
}

Transaction::Transaction(Connection &c) : conn_(c)
{
    if (c.writeLock())
        lock_ = std::unique_lock<std::mutex>(*c.writeLock());
    conn_.script("BEGIN IMMEDIATE");
}

Transaction::~Transaction()
{
    if (open_) {
        try {
            conn_.script("ROLLBACK");
        } catch (const DbError &) {
            // Already rolled back by SQLite itself (for example after a full disk).
        }
    }
}

void Transaction::commit()
{
    conn_.script("COMMIT");
    open_ = false;
    if (lock_.owns_lock())
        lock_.unlock();
}

Savepoint::Savepoint(Connection &c) : conn_(c)
{
    conn_.script("SAVEPOINT handler");
}

Savepoint::~Savepoint()
{
    if (open_) {
        try {
            conn_.script("ROLLBACK TO handler; RELEASE handler");
        } catch (const DbError &) {
        }
    }
}

void Savepoint::release()
{
    conn_.script("RELEASE handler");
    open_ = false;
}

Database::Database(std::string path) : path_(std::move(path)) {}

Database::Lease Database::acquire()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!idle_.empty()) {
            auto c = std::move(idle_.back());
            idle_.pop_back();
            return Lease(*this, std::move(c));
        }
    }
    return Lease(*this, std::make_unique<Connection>(path_, &writeLock_));
}

void Database::giveBack(std::unique_ptr<Connection> c)
{
    std::lock_guard<std::mutex> lock(mutex_);
    idle_.push_back(std::move(c));
}

#include "store/database.h"

#include <sqlite3.h>

Connection::Connection(const std::string &path, Mode mode, std::mutex *writeLock,
                       const std::string &synchronous)
    : writeLock_(writeLock)
{
    const int flags =
        SQLITE_OPEN_NOMUTEX | (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY
                                                      : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    const int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string msg = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw DbError(rc, "cannot open " + path + ": " + msg);
    }
    sqlite3_busy_timeout(db_, 10000);
    if (mode == Mode::ReadWrite)
        script("PRAGMA journal_mode=WAL; PRAGMA synchronous=" + synchronous +
               "; PRAGMA foreign_keys=ON;");
}

Connection::~Connection()
{
    for (auto &entry : cache_)
        sqlite3_finalize(entry.second.stmt);
    sqlite3_close(db_);
}

Query Connection::prepare(std::string_view sql)
{
    auto it = cache_.find(sql);
    if (it != cache_.end() && !*it->second.inUse)
        return Query(db_, it->second.stmt, it->second.inUse.get());
    sqlite3_stmt *stmt = nullptr;
    const int rc =
        sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr);
    if (rc != SQLITE_OK)
        throw DbError(rc, std::string(sqlite3_errmsg(db_)) + " in: " + std::string(sql));
    // The same text used twice at once (nested loops) gets a private statement.
    if (it != cache_.end())
        return Query(db_, stmt, nullptr);
    Cached &entry = cache_[std::string(sql)];
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

// Transaction control goes through the statement cache: sqlite3_exec would parse the text
// again on every call.
Transaction::Transaction(Connection &c) : conn_(c)
{
    if (c.writeLock())
        lock_ = std::unique_lock<std::mutex>(*c.writeLock());
    conn_.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction()
{
    if (open_) {
        try {
            conn_.exec("ROLLBACK");
        } catch (const DbError &) {
            // Already rolled back by SQLite itself (for example after a full disk).
        }
    }
}

void Transaction::commit()
{
    conn_.exec("COMMIT");
    open_ = false;
    if (lock_.owns_lock())
        lock_.unlock();
}

ReadTransaction::ReadTransaction(Connection &c) : conn_(c)
{
    conn_.exec("BEGIN");
}

ReadTransaction::~ReadTransaction()
{
    try {
        conn_.exec("COMMIT");
    } catch (const DbError &) {
    }
}

Savepoint::Savepoint(Connection &c) : conn_(c)
{
    conn_.exec("SAVEPOINT handler");
}

Savepoint::~Savepoint()
{
    if (open_) {
        try {
            conn_.exec("ROLLBACK TO handler");
            conn_.exec("RELEASE handler");
        } catch (const DbError &) {
        }
    }
}

void Savepoint::release()
{
    conn_.exec("RELEASE handler");
    open_ = false;
}

Database::Database(std::string path, std::string synchronous)
    : path_(std::move(path)), synchronous_(std::move(synchronous))
{
    // SQLite counts its memory under one process-wide mutex that every connection's
    // allocations take; nothing here reads the count. Only possible before SQLite starts.
    static std::once_flag once;
    std::call_once(once, [] { sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0); });
}

std::vector<std::unique_ptr<Connection>> &Database::idle(Connection::Mode mode)
{
    return mode == Connection::Mode::ReadOnly ? idleReaders_ : idleWriters_;
}

Database::Lease Database::acquire(Connection::Mode mode)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto &pool = idle(mode);
        if (!pool.empty()) {
            auto c = std::move(pool.back());
            pool.pop_back();
            return Lease(*this, mode, std::move(c));
        }
    }
    return Lease(*this, mode, std::make_unique<Connection>(path_, mode, &writeLock_, synchronous_));
}

void Database::giveBack(Connection::Mode mode, std::unique_ptr<Connection> c)
{
    std::lock_guard<std::mutex> lock(mutex_);
    idle(mode).push_back(std::move(c));
}

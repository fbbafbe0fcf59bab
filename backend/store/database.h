#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "store/query.h"

// One SQLite connection with its statement cache. Used by one thread at a time.
class Connection
{
public:
    enum class Mode { ReadWrite, ReadOnly };
    // writeLock: held by every Transaction on this database, so writers queue in the process
    // instead of polling SQLite's busy handler (whose sleeps showed as 50 ms tail latency).
    // synchronous: the PRAGMA's value for a writing connection ("FULL", "NORMAL").
    Connection(const std::string &path, Mode mode = Mode::ReadWrite,
               std::mutex *writeLock = nullptr, const std::string &synchronous = "FULL");
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;
    ~Connection();

    // Prepared statements only: values always travel as bound parameters.
    Query prepare(std::string_view sql);
    template <typename... Args> Query query(std::string_view sql, Args &&...args)
    {
        Query q = prepare(sql);
        q.bindAll(std::forward<Args>(args)...);
        return q;
    }
    // Runs a statement with parameters to its end; returns the rows changed.
    template <typename... Args> int exec(std::string_view sql, Args &&...args)
    {
        return query(sql, std::forward<Args>(args)...).exec();
    }
    // A single integer (the one column of the first row), or the fallback when there is no row.
    template <typename... Args>
    std::int64_t scalar(std::int64_t fallback, std::string_view sql, Args &&...args)
    {
        Query q = query(sql, std::forward<Args>(args)...);
        return q.next() ? q.firstInteger() : fallback;
    }
    // Script without parameters (schema, pragmas).
    void script(const std::string &sql);
    std::int64_t lastInsertId() const;
    std::mutex *writeLock() const { return writeLock_; }

private:
    struct Cached
    {
        sqlite3_stmt *stmt = nullptr;
        std::unique_ptr<bool> inUse;
    };
    sqlite3 *db_ = nullptr;
    std::mutex *writeLock_;
    std::map<std::string, Cached, std::less<>> cache_; // found by the text without copying it
};

// A write transaction that rolls back unless committed. BEGIN IMMEDIATE takes the write lock
// at once, so two requests never deadlock upgrading a read lock.
class Transaction
{
public:
    explicit Transaction(Connection &c);
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    ~Transaction();
    void commit();

private:
    Connection &conn_;
    std::unique_lock<std::mutex> lock_;
    bool open_ = true;
};

// A read transaction: every query in it sees the same snapshot, and it waits for no writer.
class ReadTransaction
{
public:
    explicit ReadTransaction(Connection &c);
    ReadTransaction(const ReadTransaction &) = delete;
    ReadTransaction &operator=(const ReadTransaction &) = delete;
    ~ReadTransaction();

private:
    Connection &conn_;
};

// A savepoint inside a transaction: a failed handler undoes its own writes only.
class Savepoint
{
public:
    explicit Savepoint(Connection &c);
    Savepoint(const Savepoint &) = delete;
    Savepoint &operator=(const Savepoint &) = delete;
    ~Savepoint();
    void release();

private:
    Connection &conn_;
    bool open_ = true;
};

// The database file and two pools of connections to it (WAL, so readers never block
// writers): writing ones, and read-only ones for calls that change nothing, so such a
// call cannot write by mistake.
class Database
{
public:
    // synchronous=FULL makes every commit wait for the disk: an acknowledged call survives a
    // power cut. "NORMAL" exists only to measure what that costs.
    explicit Database(std::string path, std::string synchronous = "FULL");

    class Lease
    {
    public:
        Lease(Database &db, Connection::Mode mode, std::unique_ptr<Connection> c)
            : db_(db), mode_(mode), conn_(std::move(c))
        {
        }
        Lease(const Lease &) = delete;
        Lease &operator=(const Lease &) = delete;
        ~Lease() { db_.giveBack(mode_, std::move(conn_)); }
        Connection &operator*() { return *conn_; }
        Connection *operator->() { return conn_.get(); }

    private:
        Database &db_;
        Connection::Mode mode_;
        std::unique_ptr<Connection> conn_;
    };

    Lease acquire(Connection::Mode mode = Connection::Mode::ReadWrite);
    const std::string &path() const { return path_; }

private:
    void giveBack(Connection::Mode mode, std::unique_ptr<Connection> c);
    std::vector<std::unique_ptr<Connection>> &idle(Connection::Mode mode);

    std::string path_;
    std::string synchronous_;
    std::mutex writeLock_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Connection>> idleWriters_;
    std::vector<std::unique_ptr<Connection>> idleReaders_;
};

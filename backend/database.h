#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// SQLite failures; the server answers them with a 500 envelope and rolls back.
class DbError : public std::runtime_error
{
public:
    DbError(int code, const std::string &what) : std::runtime_error(what), code_(code) {}
    int code() const { return code_; }
    bool isConstraint() const;

private:
    int code_;
};

// One prepared statement taken from a connection's cache; reset when it goes out of scope.
class Query
{
public:
    // A cached statement carries its in-use flag; a private one (inUse null) is finalised.
    Query(sqlite3 *db, sqlite3_stmt *stmt, bool *inUse);
    Query(Query &&other) noexcept;
    Query(const Query &) = delete;
    Query &operator=(const Query &) = delete;
    Query &operator=(Query &&) = delete;
    ~Query();

    template <typename T, typename = std::enable_if_t<std::is_integral_v<T>>>
    Query &bind(int index, T value)
    {
        return bindInteger(index, static_cast<std::int64_t>(value));
    }
    Query &bind(int index, const std::string &value);
    Query &bind(int index, const char *value) { return bind(index, std::string(value)); }
    Query &bind(int index, std::nullptr_t);
    Query &bindBlob(int index, const std::string &bytes);

    template <typename... Args> Query &bindAll(Args &&...args)
    {
        int index = 0;
        (bind(++index, std::forward<Args>(args)), ...);
        return *this;
    }

    // Steps once; true while a row is available.
    bool next();
    // Steps to the end; returns the number of rows changed.
    int exec();

    std::int64_t integer(int column) const;
    std::string text(int column) const;
    std::string blob(int column) const;
    bool isNull(int column) const;

private:
    Query &bindInteger(int index, std::int64_t value);
    void check(int rc) const;

    sqlite3 *db_;
    sqlite3_stmt *stmt_;
    bool *inUse_;
};

// One SQLite connection with its statement cache. Used by one thread at a time.
class Connection
{
public:
    // writeLock: held by every Transaction on this database, so writers queue in the process
    // instead of polling SQLite's busy handler (whose sleeps showed as 50 ms tail latency).
    Connection(const std::string &path, std::mutex *writeLock = nullptr);
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;
    ~Connection();

    // Prepared statements only: values always travel as bound parameters.
    Query prepare(const std::string &sql);
    template <typename... Args> Query query(const std::string &sql, Args &&...args)
    {
        Query q = prepare(sql);
        q.bindAll(std::forward<Args>(args)...);
        return q;
    }
    // Runs a statement with parameters to its end; returns the rows changed.
    template <typename... Args> int exec(const std::string &sql, Args &&...args)
    {
        return query(sql, std::forward<Args>(args)...).exec();
    }
    // A single integer (first column of the first row), or the fallback when there is no row.
    template <typename... Args>
    std::int64_t scalar(std::int64_t fallback, const std::string &sql, Args &&...args)
    {
        Query q = query(sql, std::forward<Args>(args)...);
        return q.next() ? q.integer(0) : fallback;
    }
    // Script without parameters (schema, pragmas, transaction control).
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
    std::map<std::string, Cached> cache_;
};

// A transaction that rolls back unless committed. BEGIN IMMEDIATE takes the write lock at
// once, so two requests never deadlock upgrading a read lock.
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

// The database file and a pool of connections to it (WAL, so readers never block writers).
class Database
{
public:
    explicit Database(std::string path);

    class Lease
    {
    public:
        Lease(Database &db, std::unique_ptr<Connection> c) : db_(db), conn_(std::move(c)) {}
        Lease(const Lease &) = delete;
        Lease &operator=(const Lease &) = delete;
        ~Lease() { db_.giveBack(std::move(conn_)); }
        Connection &operator*() { return *conn_; }
        Connection *operator->() { return conn_.get(); }

    private:
        Database &db_;
        std::unique_ptr<Connection> conn_;
    };

    Lease acquire();
    const std::string &path() const { return path_; }

private:
    void giveBack(std::unique_ptr<Connection> c);

    std::string path_;
    std::mutex writeLock_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Connection>> idle_;
};

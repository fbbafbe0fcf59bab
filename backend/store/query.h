#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>

#include <json/value.h>

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
// Columns are read by their name or alias (`SELECT u.name AS userName` is "userName"), never
// by position, so a query can gain or reorder columns without shifting what is read.
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
    // A value not given is NULL.
    template <typename T> Query &bind(int index, const std::optional<T> &value)
    {
        return value ? bind(index, *value) : bind(index, nullptr);
    }
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

    // The current row's column of that name or alias; a name the statement lacks throws
    // DbError (a mistake in the code, caught by its tests).
    std::int64_t integer(const char *column) const;
    std::string text(const char *column) const;
    std::string blob(const char *column) const;
    bool isNull(const char *column) const;

    // The current row as a JSON object, one member per column named by its alias: integers
    // become numbers, text strings, NULL null. A dotted alias nests: `c.name AS "card.name"`
    // fills {"card": {"name": ...}}.
    Json::Value object() const;

    // The first column of the current row, for single-value queries (Connection::scalar).
    std::int64_t firstInteger() const;

private:
    Query &bindInteger(int index, std::int64_t value);
    void check(int rc) const;
    int column(const char *name) const;

    sqlite3 *db_;
    sqlite3_stmt *stmt_;
    bool *inUse_;
};

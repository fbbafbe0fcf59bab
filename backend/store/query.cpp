#include "store/query.h"

#include <cstring>

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

int Query::column(const char *name) const
{
    const int count = sqlite3_column_count(stmt_);
    for (int i = 0; i < count; ++i)
        if (std::strcmp(sqlite3_column_name(stmt_, i), name) == 0)
            return i;
    throw DbError(SQLITE_RANGE,
                  std::string("no column \"") + name + "\" in: " + sqlite3_sql(stmt_));
}

std::int64_t Query::integer(const char *name) const
{
    return sqlite3_column_int64(stmt_, column(name));
}

std::int64_t Query::firstInteger() const
{
    return sqlite3_column_int64(stmt_, 0);
}

std::string Query::text(const char *name) const
{
    const int i = column(name);
    const auto *p = sqlite3_column_text(stmt_, i);
    if (!p)
        return {};
    return std::string(reinterpret_cast<const char *>(p),
                       static_cast<size_t>(sqlite3_column_bytes(stmt_, i)));
}

std::string Query::blob(const char *name) const
{
    const int i = column(name);
    const void *p = sqlite3_column_blob(stmt_, i);
    if (!p)
        return {};
    return std::string(static_cast<const char *>(p),
                       static_cast<size_t>(sqlite3_column_bytes(stmt_, i)));
}

bool Query::isNull(const char *name) const
{
    return sqlite3_column_type(stmt_, column(name)) == SQLITE_NULL;
}

namespace {

Json::Value columnValue(sqlite3_stmt *stmt, int i)
{
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        return Json::Value(Json::Int64(sqlite3_column_int64(stmt, i)));
    case SQLITE_FLOAT:
        return Json::Value(sqlite3_column_double(stmt, i));
    case SQLITE_NULL:
        return Json::Value();
    default: {
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
        return Json::Value(p, p + sqlite3_column_bytes(stmt, i));
    }
    }
}

} // namespace

Json::Value Query::object() const
{
    Json::Value row(Json::objectValue);
    const int count = sqlite3_column_count(stmt_);
    for (int i = 0; i < count; ++i) {
        const char *name = sqlite3_column_name(stmt_, i);
        Json::Value *target = &row;
        for (const char *dot = std::strchr(name, '.'); dot; dot = std::strchr(name, '.')) {
            target = &(*target)[std::string(name, dot)];
            name = dot + 1;
        }
        (*target)[name] = columnValue(stmt_, i);
    }
    return row;
}

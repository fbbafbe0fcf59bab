#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "store/database.h"

// The WHERE clause of a list that the caller's filters narrow: each filter adds a condition
// with its values, and the query binds them in order, so a list gains a filter in one line.
//
//   Conditions where;
//   where.add("o.user_id = ?", userId);
//   if (!status.empty()) where.add("o.status = ?", std::stoll(status));
//   Query q = where.query(db, "SELECT ... FROM orders o", "ORDER BY o.id DESC LIMIT ? OFFSET ?",
//                         {page.size, page.offset()});
class Conditions
{
public:
    using Value = std::variant<std::int64_t, std::string>;

    // A condition with a `?` for each of its values.
    template <typename... Values> Conditions &add(const std::string &sql, Values... values)
    {
        clauses_.push_back("(" + sql + ")");
        (values_.push_back(value(values)), ...);
        return *this;
    }

    // "WHERE a AND b", or "" without conditions.
    std::string sql() const
    {
        std::string out;
        for (const std::string &c : clauses_)
            out += (out.empty() ? "WHERE " : " AND ") + c;
        return out;
    }

    // `head`, the conditions, then `tail` with its own values bound after theirs.
    Query query(Connection &db, const std::string &head, const std::string &tail = "",
                const std::vector<Value> &tailValues = {}) const
    {
        Query q = db.prepare(head + " " + sql() + " " + tail);
        int index = 0;
        for (const Value &v : values_)
            bind(q, ++index, v);
        for (const Value &v : tailValues)
            bind(q, ++index, v);
        return q;
    }

    // A text that a LIKE pattern takes literally (with ESCAPE '\').
    static std::string likeText(const std::string &text)
    {
        std::string out;
        for (char c : text) {
            if (c == '%' || c == '_' || c == '\\')
                out += '\\';
            out += c;
        }
        return out;
    }

private:
    static Value value(const std::string &v) { return v; }
    static Value value(const char *v) { return std::string(v); }
    template <typename T> static Value value(T v) { return static_cast<std::int64_t>(v); }

    static void bind(Query &q, int index, const Value &v)
    {
        if (std::holds_alternative<std::int64_t>(v))
            q.bind(index, std::get<std::int64_t>(v));
        else
            q.bind(index, std::get<std::string>(v));
    }

    std::vector<std::string> clauses_;
    std::vector<Value> values_;
};

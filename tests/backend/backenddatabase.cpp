#include "backenddatabase.h"

#include <QFile>

#include <sqlite3.h>

namespace {

// The statement with its arguments bound as text; null (with a warning) when it is wrong.
sqlite3_stmt *prepared(sqlite3 *db, const char *sql, const QStringList &args)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        qWarning("bad test statement: %s", sqlite3_errmsg(db));
        return nullptr;
    }
    for (int i = 0; i < args.size(); ++i) {
        const QByteArray a = args.at(i).toUtf8();
        sqlite3_bind_text(stmt, i + 1, a.constData(), a.size(), SQLITE_TRANSIENT);
    }
    return stmt;
}

} // namespace

BackendDatabase::~BackendDatabase()
{
    sqlite3_close(db_);
}

bool BackendDatabase::open(const QString &path)
{
    return sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READONLY,
                           nullptr) == SQLITE_OK;
}

bool BackendDatabase::openWritable(const QString &path)
{
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READWRITE,
                        nullptr) != SQLITE_OK)
        return false;
    sqlite3_busy_timeout(db_, 10000);
    return true;
}

bool BackendDatabase::exec(const char *sql, const QStringList &args)
{
    sqlite3_stmt *stmt = prepared(db_, sql, args);
    if (!stmt)
        return false;
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE)
        qWarning("test statement failed: %s", sqlite3_errmsg(db_));
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
}

QList<QStringList> BackendDatabase::rows(const char *sql, const QStringList &args) const
{
    QList<QStringList> out;
    sqlite3_stmt *stmt = prepared(db_, sql, args);
    if (!stmt)
        return out;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
            row << (text ? QString::fromUtf8(text) : QString());
        }
        out << row;
    }
    sqlite3_finalize(stmt);
    return out;
}

QString BackendDatabase::value(const char *sql, const QStringList &args) const
{
    const auto r = rows(sql, args);
    return r.isEmpty() ? QString() : r.first().value(0);
}

qint64 BackendDatabase::number(const char *sql, const QStringList &args) const
{
    return value(sql, args).toLongLong();
}

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct sqlite3;

// A backend's database file opened read-only, to compare replies with what is stored; or
// writable, for a test to lay out data no endpoint makes (an order's amount to pay).
class BackendDatabase
{
public:
    BackendDatabase() = default;
    ~BackendDatabase();
    BackendDatabase(const BackendDatabase &) = delete;
    BackendDatabase &operator=(const BackendDatabase &) = delete;

    bool open(const QString &path);
    // Writable, waiting for the backend's own writes to finish.
    bool openWritable(const QString &path);
    // Runs one statement; false (with a warning) when it fails.
    bool exec(const char *sql, const QStringList &args = {});
    // Every row of the query as texts (NULL as a null QString).
    QList<QStringList> rows(const char *sql, const QStringList &args = {}) const;
    // The first value of the first row ("" when there is none).
    QString value(const char *sql, const QStringList &args = {}) const;
    qint64 number(const char *sql, const QStringList &args = {}) const;

private:
    sqlite3 *db_ = nullptr;
};

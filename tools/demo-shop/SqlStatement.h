#pragma once

#include <QString>

#include <variant>

class ShopDb;
struct sqlite3_stmt;

// A column value on its way into the database; monostate is NULL.
using SqlValue = std::variant<std::monostate, qint64, double, QString>;

// One prepared statement with positional parameters counted from 1. Every failure throws
// TraderError with SQLite's message.
class SqlStatement {
public:
    SqlStatement(ShopDb& db, const QString& sql);
    SqlStatement(ShopDb& db, const char* sql);
    ~SqlStatement();
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;

    SqlStatement& bind(int index, const SqlValue& value);
    SqlStatement& bind(int index, qint64 value) { return bind(index, SqlValue(value)); }
    SqlStatement& bind(int index, int value) { return bind(index, SqlValue(qint64(value))); }
    SqlStatement& bind(int index, const QString& value) { return bind(index, SqlValue(value)); }

    // True while there is a row to read.
    bool next();
    // Runs a statement that returns no rows, then makes it ready for the next run.
    void run();
    void reset();

    int columnCount() const;
    const char* columnName(int column) const;
    bool isNull(int column) const;
    qint64 integer(int column) const;
    double real(int column) const;
    QString text(int column) const;

private:
    void fail() const;
    ShopDb& m_db;
    sqlite3_stmt* m_statement = nullptr;
};

#pragma once

#include "Schema.h"
#include "SqlStatement.h"

#include <vector>

class ShopDb;

// Appends rows to one of the shop's mirrored tables through one prepared statement; the
// columns not set in a row stay NULL.
class RowInserter {
public:
    RowInserter(ShopDb& db, const char* tableName);

    const Schema::Table& table() const { return *m_table; }
    // Index of a column in the table, -1 when it has none of that name.
    int columnIndex(QStringView name) const;
    RowInserter& set(const char* column, const SqlValue& value);
    RowInserter& set(const char* column, qint64 value) { return set(column, SqlValue(value)); }
    RowInserter& set(const char* column, int value) { return set(column, SqlValue(qint64(value))); }
    RowInserter& set(const char* column, const QString& value)
    {
        return set(column, SqlValue(value));
    }
    RowInserter& setAt(int index, const SqlValue& value);
    void insert();

private:
    const Schema::Table* m_table;
    SqlStatement m_statement;
    std::vector<SqlValue> m_values;
    std::size_t m_next = 0;
};

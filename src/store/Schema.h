#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The local tables as data: the creation walks it, and any code may read it (a download
// that needs a column's type, a test that checks the store against it).
namespace Schema {

enum class FieldType { Text, Short, Long, Logical, Decimal, Memo, Date, Timestamp, AutoInc };

struct Field {
    const char* name;
    FieldType type;
    int size = 0; // characters of a text field, fraction digits of a decimal one
    bool required = false;
};

struct Table {
    const char* name;
    int keyFieldCount; // the primary key is always the first fields, in this count
    std::vector<Field> fields;
};

// Indexes beyond the primary keys: they only make the desk's and the downloads' queries fast.
struct Index {
    const char* table;
    const char* field;
};

// The 27 tables in the order they are created.
const std::vector<Table>& tables();
const std::vector<Index>& indexes();
const Table* find(QStringView tableName); // matched without regard to case
// The tables mirrored from the shop's catalogue and settings, in their download order.
const QStringList& referenceTables();

// The column type the store declares for a field, e.g. "VARCHAR(255)", "REAL(2)".
QString sqlType(const Field& field);
// The CREATE TABLE statement and the CREATE INDEX statements of one table.
QString createTableSql(const Table& table);
std::vector<QString> createIndexSql(const Table& table);

} // namespace Schema

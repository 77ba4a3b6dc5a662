#pragma once

#include "Schema.h"
#include "SqlStatement.h"

#include <optional>

// A column value between the shop's database and a record attribute. The database keeps
// logical columns as 0/1, decimals as REAL, dates as "yyyy-MM-dd" and timestamps as
// "yyyy-MM-dd hh:mm:ss".
namespace RecordText {

// The attribute text of one column of the current row; nothing for NULL. A column without
// a field of the schema is written as SQLite holds it.
std::optional<QString> fromColumn(const Schema::Field* field, const SqlStatement& row, int column);
// The stored value of an attribute the trader wrote (its "local to server" forms: "12.5",
// "1"/"0", "yyyy-mm-dd hh:nn:ss"; the empty date 1899-12-30 and empty text become NULL).
SqlValue toColumn(const Schema::Field& field, QStringView text);

} // namespace RecordText

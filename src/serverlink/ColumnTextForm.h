#pragma once

#include "Schema.h"

#include <QString>
#include <QVariant>

#include <string_view>

// The text form of a column value in an XML record, both ways. A local column holds what
// the store keeps (see Schema): dates as "yyyy-MM-dd", timestamps as "yyyy-MM-dd
// hh:mm:ss", logicals as 0/1, decimals as REAL.
namespace ColumnTextForm {

// The value to store for a record's attribute (UTF-8 text as the parser gives it), or an
// invalid QVariant when the text does not convert and the column is to stay empty.
QVariant read(const Schema::Field& field, std::string_view text);

// The attribute text of a stored value; empty text when it cannot be converted.
QString write(Schema::FieldType type, const QVariant& value);
// A column the schema does not know (a query's computed column), by the value's own type.
QString writeUntyped(const QVariant& value);

} // namespace ColumnTextForm

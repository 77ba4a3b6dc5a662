#pragma once

#include "Schema.h"

#include <QString>
#include <QVariant>

#include <string>
#include <string_view>

// The text form of a column value in an XML record, both ways. A local column holds what
// the store keeps (see Schema): dates as "yyyy-MM-dd", timestamps as "yyyy-MM-dd
// hh:mm:ss", logicals as 0/1, decimals as REAL.
namespace ColumnTextForm {

// The value to store for a record's attribute (UTF-8 text as the parser gives it), or an
// invalid QVariant when the text does not convert and the column is to stay empty.
QVariant read(const Schema::Field& field, std::string_view text);

// What read() gives, in the form a statement binds it straight, so that a bulk append builds
// no QVariant and no UTF-16 copy per value.
struct StoredValue {
    enum class Kind { Empty, Integer, Real, Text };
    Kind kind = Kind::Empty;
    qint64 integer = 0;
    double real = 0;
    // Well-formed UTF-8, within the attribute's text or within `scratch` of readStored().
    std::string_view text;
};
// `scratch` holds a text that is not a part of the attribute's (a date alone as a timestamp,
// bytes that were not UTF-8 with their replacement characters); the next call overwrites it.
StoredValue readStored(const Schema::Field& field, std::string_view text, std::string& scratch);

// The attribute text of a stored value; empty text when it cannot be converted.
QString write(Schema::FieldType type, const QVariant& value);
// A column the schema does not know (a query's computed column), by the value's own type.
QString writeUntyped(const QVariant& value);

} // namespace ColumnTextForm

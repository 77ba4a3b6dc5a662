#pragma once

#include "GridColumn.h"

#include <QVariant>

// How grid cells and footers turn values into text.
namespace GridFormat {

// A number through a pattern of the form "text ###,##0.00 text": '#' and '0' are digits
// ('0' always shown), ',' asks for groups, '.' starts the fraction; the rest is literal.
QString number(const QString& pattern, const QVariant& value);
// A cell's text as its column shows it.
QString cell(const GridColumn& column, const QVariant& value);

} // namespace GridFormat

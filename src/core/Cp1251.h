#pragma once

#include <QByteArray>
#include <QString>

// windows-1251, the code page of everything on the wire. A character the code page cannot
// hold goes out as "?".
namespace Cp1251 {

QByteArray encode(QStringView text);
QString decode(QByteArrayView bytes);

// The same text as UTF-8, converted byte by byte without a QString in between: the large
// answers go to the XML parser this way. `out` has room for 3 * bytes.size() + 1 bytes (a
// character takes at most three); returns the number of bytes written.
qsizetype toUtf8(QByteArrayView bytes, char* out);

} // namespace Cp1251

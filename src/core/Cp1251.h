#pragma once

#include <QByteArray>
#include <QString>

// windows-1251, the code page of everything on the wire. A character the code page cannot
// hold goes out as "?".
namespace Cp1251 {

QByteArray encode(QStringView text);
QString decode(QByteArrayView bytes);

} // namespace Cp1251

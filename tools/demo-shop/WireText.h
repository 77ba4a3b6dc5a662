#pragma once

#include "Amount.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

// Text forms of the exchange as the shop reads and writes them.
namespace WireText {

// "yyyy-MM-dd hh:mm:ss", the form the shop keeps its times in.
QString storedTimestamp(const QDateTime& time);
// "yyyy-MM-dd" with an optional " hh:mm:ss" (or "T"); an invalid time when it is neither.
QDateTime parseDateTime(QStringView text);

// Percent-decoding of one value of a parameter list: "+" is a blank, "%XX" a byte; the
// bytes are windows-1251.
QString urlDecode(QByteArrayView bytes);
// "a=1&b=2" into decoded pairs, in order; a piece without "=" is a key with an empty value.
QList<QPair<QString, QString>> parameterList(QByteArrayView text);

// A money value as a person's regional settings write it: "," or "." as the separator,
// blanks and no-break spaces as group marks.
std::optional<Amount> parseMoney(QStringView text);
// A date in one of the usual short forms ("dd.MM.yyyy", "dd.MM.yy", "yyyy-MM-dd",
// "yyyy.MM.dd", "M/d/yy", ...); two-digit years are taken as 20xx.
QDate parseShortDate(QStringView text);
// "12.5", "100", "-3": the decimal form without trailing zeros.
QString decimalText(Amount value);

} // namespace WireText

#include "WireText.h"

#include "Cp1251.h"

namespace WireText {

QString storedTimestamp(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QDateTime parseDateTime(QStringView text)
{
    const QString trimmed = text.trimmed().toString();
    if (trimmed.size() == 10) {
        const QDate date = QDate::fromString(trimmed, QStringLiteral("yyyy-MM-dd"));
        return date.isValid() ? QDateTime(date, QTime(0, 0)) : QDateTime();
    }
    QString normal = trimmed;
    if (normal.size() > 10 && normal.at(10) == QLatin1Char('T'))
        normal[10] = QLatin1Char(' ');
    return QDateTime::fromString(normal.left(19), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

QString urlDecode(QByteArrayView bytes)
{
    QByteArray plain;
    plain.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '+') {
            plain += ' ';
        } else if (c == '%' && i + 2 < bytes.size() && hexDigit(bytes[i + 1]) >= 0 &&
                   hexDigit(bytes[i + 2]) >= 0) {
            plain += char(hexDigit(bytes[i + 1]) * 16 + hexDigit(bytes[i + 2]));
            i += 2;
        } else {
            plain += c;
        }
    }
    return Cp1251::decode(plain);
}

QList<QPair<QString, QString>> parameterList(QByteArrayView text)
{
    QList<QPair<QString, QString>> pairs;
    for (const QByteArray& piece : text.toByteArray().split('&')) {
        if (piece.isEmpty())
            continue;
        const qsizetype equals = piece.indexOf('=');
        if (equals < 0)
            pairs.append({urlDecode(piece), QString()});
        else
            pairs.append({urlDecode(piece.left(equals)), urlDecode(piece.mid(equals + 1))});
    }
    return pairs;
}

std::optional<Amount> parseMoney(QStringView text)
{
    QString plain;
    for (const QChar c : text) {
        if (c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F))
            continue;
        plain += c == QLatin1Char(',') ? QLatin1Char('.') : c;
    }
    return Amount::parseC(plain);
}

QDate parseShortDate(QStringView text)
{
    const QString trimmed = text.trimmed().toString();
    static const char* const formats[] = {"yyyy-MM-dd", "yyyy.MM.dd", "dd.MM.yyyy",
                                          "d.M.yyyy",   "dd.MM.yy",   "d.M.yy",
                                          "dd/MM/yyyy", "M/d/yyyy",   "M/d/yy"};
    for (const char* format : formats) {
        QDate date = QDate::fromString(trimmed, QLatin1String(format));
        if (!date.isValid())
            continue;
        if (date.year() < 1950)
            date = date.addYears(100);
        return date;
    }
    return QDate();
}

QString decimalText(Amount value)
{
    QString text = value.toC(4);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

} // namespace WireText

#include "ColumnTextForm.h"

#include "Amount.h"

#include <QDate>
#include <QDateTime>

#include <charconv>
#include <optional>

namespace ColumnTextForm {

namespace {

using Schema::FieldType;

std::optional<qint64> integer(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    qint64 value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

QVariant ranged(std::string_view text, qint64 low, qint64 high)
{
    const auto value = integer(text);
    if (!value || *value < low || *value > high)
        return QVariant();
    return QVariant(int(*value));
}

int digits(std::string_view text, size_t at, size_t count)
{
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::optional<QDate> date(std::string_view text)
{
    if (text.size() < 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const QDate d(digits(text, 0, 4), digits(text, 5, 2), digits(text, 8, 2));
    if (!d.isValid())
        return std::nullopt;
    return d;
}

// "yyyy-MM-dd" alone is midnight; otherwise a space and "hh:mm:ss" must follow.
std::optional<QDateTime> dateTime(std::string_view text)
{
    const auto d = date(text);
    if (!d)
        return std::nullopt;
    if (text.size() == 10)
        return QDateTime(*d, QTime(0, 0));
    if (text.size() != 19 || text[10] != ' ' || text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const QTime t(digits(text, 11, 2), digits(text, 14, 2), digits(text, 17, 2));
    if (!t.isValid())
        return std::nullopt;
    return QDateTime(*d, t);
}

QVariant logical(std::string_view text)
{
    const QByteArray lower = QByteArray(text.data(), qsizetype(text.size())).toLower();
    if (lower == "true")
        return 1;
    if (lower == "false")
        return 0;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return QVariant();
    return value != 0 ? 1 : 0;
}

QString decimalText(const QVariant& value)
{
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok)
        return QString();
    QString text = Amount::fromDouble(d).toC(4);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

bool isEmpty(const QVariant& value)
{
    return value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isEmpty());
}

QString integerText(const QVariant& value)
{
    bool ok = false;
    const qlonglong n = value.toLongLong(&ok);
    return ok ? QString::number(n) : QString();
}

} // namespace

QVariant read(const Schema::Field& field, std::string_view text)
{
    switch (field.type) {
    case FieldType::Short:
        return ranged(text, -32768, 32767);
    case FieldType::Long:
    case FieldType::AutoInc:
        return ranged(text, INT32_MIN, INT32_MAX);
    case FieldType::Logical:
        return logical(text);
    case FieldType::Decimal: {
        const auto amount = Amount::parseC(QString::fromUtf8(text.data(), qsizetype(text.size())));
        if (!amount)
            return QVariant();
        return amount->rounded(qMin(field.size, 4)).toDouble();
    }
    case FieldType::Date: {
        const auto d = dateTime(text);
        if (!d)
            return QVariant();
        return d->date().toString(QStringLiteral("yyyy-MM-dd"));
    }
    case FieldType::Timestamp: {
        const auto d = dateTime(text);
        if (!d)
            return QVariant();
        return d->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case FieldType::Text: {
        const QString s = QString::fromUtf8(text.data(), qsizetype(text.size()));
        return field.size > 0 ? s.left(field.size) : s;
    }
    case FieldType::Memo:
        break;
    }
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString write(Schema::FieldType type, const QVariant& value)
{
    const bool empty = isEmpty(value);
    switch (type) {
    case FieldType::Decimal:
        return empty ? QStringLiteral("0") : decimalText(value);
    case FieldType::Date: {
        if (empty)
            return QStringLiteral("1899-12-30");
        const auto d = dateTime(value.toString().toStdString());
        return d ? d->date().toString(QStringLiteral("yyyy-MM-dd")) : QString();
    }
    case FieldType::Timestamp: {
        if (empty)
            return QStringLiteral("1899-12-30 00:00:00");
        const auto d = dateTime(value.toString().toStdString());
        return d ? d->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
    }
    case FieldType::Logical:
        return !empty && value.toLongLong() != 0 ? QStringLiteral("1") : QStringLiteral("0");
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
        return empty ? QString() : integerText(value);
    case FieldType::Text:
    case FieldType::Memo:
        break;
    }
    return empty ? QString() : value.toString();
}

QString writeUntyped(const QVariant& value)
{
    if (isEmpty(value))
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return decimalText(value);
    default:
        return value.toString();
    }
}

} // namespace ColumnTextForm

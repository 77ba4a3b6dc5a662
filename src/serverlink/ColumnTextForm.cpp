#include "ColumnTextForm.h"

#include "Amount.h"

#include <QDate>
#include <QTime>

#include <charconv>
#include <cstring>
#include <iterator>
#include <limits>
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

// "yyyy-MM-dd" alone is midnight; otherwise a space and "hh:mm:ss" must follow. The forms
// name no zone, so a time that a local clock skips (a summer-time gap) still reads.
bool readsAsDateTime(std::string_view text)
{
    if (text.size() < 10 || text[4] != '-' || text[7] != '-' ||
        !QDate::isValid(digits(text, 0, 4), digits(text, 5, 2), digits(text, 8, 2)))
        return false;
    if (text.size() == 10)
        return true;
    return text.size() == 19 && text[10] == ' ' && text[13] == ':' && text[16] == ':' &&
           QTime::isValid(digits(text, 11, 2), digits(text, 14, 2), digits(text, 17, 2));
}

bool equalsAsciiCaseless(std::string_view text, std::string_view lowerWord)
{
    if (text.size() != lowerWord.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i] >= 'A' && text[i] <= 'Z' ? char(text[i] - 'A' + 'a') : text[i];
        if (c != lowerWord[i])
            return false;
    }
    return true;
}

std::optional<qint64> logical(std::string_view text)
{
    if (equalsAsciiCaseless(text, "true"))
        return 1;
    if (equalsAsciiCaseless(text, "false"))
        return 0;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value != 0 ? 1 : 0;
}

std::optional<qint64> ranged(std::string_view text, qint64 low, qint64 high)
{
    const auto value = integer(text);
    if (!value || *value < low || *value > high)
        return std::nullopt;
    return value;
}

std::optional<Amount> decimal(std::string_view text)
{
    // Numbers are short ASCII: read them through a stack copy rather than a QString.
    char16_t wide[64];
    if (text.size() <= std::size(wide)) {
        size_t i = 0;
        for (; i < text.size() && uchar(text[i]) < 0x80; ++i)
            wide[i] = char16_t(text[i]);
        if (i == text.size())
            return Amount::parseC(QStringView(wide, qsizetype(i)));
    }
    return Amount::parseC(QString::fromUtf8(text.data(), qsizetype(text.size())));
}

// The bytes of `text` that hold its first `units` UTF-16 code units (all of it when `units`
// is 0), one less where the cut would split a surrogate pair; nothing when the bytes are not
// well-formed UTF-8 up to the cut.
std::optional<size_t> utf8Prefix(std::string_view text, int units)
{
    const auto* bytes = reinterpret_cast<const uchar*>(text.data());
    const size_t size = text.size();
    const qint64 limit = units > 0 ? units : std::numeric_limits<qint64>::max();
    qint64 count = 0;
    size_t i = 0;
    while (i < size) {
        if (count == limit)
            return i;
        // Runs of ASCII, eight bytes at a time.
        if (limit - count >= 8) {
            while (size - i >= 8) {
                quint64 word;
                std::memcpy(&word, bytes + i, sizeof word);
                if ((word & 0x8080808080808080ULL) != 0 || limit - count < 8)
                    break;
                count += 8;
                i += 8;
            }
            if (i == size || count == limit)
                continue;
        }
        const uchar lead = bytes[i];
        if (lead < 0x80) {
            ++count;
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) { // the two-byte form that all Cyrillic takes
            if (size - i < 2 || (bytes[i + 1] & 0xC0) != 0x80)
                return std::nullopt;
            ++count;
            i += 2;
            continue;
        }
        size_t length = 0;
        if (lead >= 0xE0 && lead <= 0xEF)
            length = 3;
        else if (lead >= 0xF0 && lead <= 0xF4)
            length = 4;
        else
            return std::nullopt;
        if (size - i < length)
            return std::nullopt;
        for (size_t k = 1; k < length; ++k)
            if ((bytes[i + k] & 0xC0) != 0x80)
                return std::nullopt;
        const uchar second = bytes[i + 1];
        // Overlong forms, encoded surrogates and code points past U+10FFFF.
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
            (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
            return std::nullopt;
        const int width = length == 4 ? 2 : 1;
        if (count + width > limit)
            return i;
        count += width;
        i += length;
    }
    return size;
}

StoredValue integerValue(std::optional<qint64> value)
{
    StoredValue stored;
    if (value) {
        stored.kind = StoredValue::Kind::Integer;
        stored.integer = *value;
    }
    return stored;
}

StoredValue textValue(std::string_view text)
{
    StoredValue stored;
    stored.kind = StoredValue::Kind::Text;
    stored.text = text;
    return stored;
}

// A text or memo column: the text as it is, cut to `units` UTF-16 code units when that is
// more than 0. Bytes that are not UTF-8 (a character reference to a surrogate) become the
// replacement characters QString gives them.
StoredValue plainText(std::string_view text, int units, std::string& scratch)
{
    if (const auto cut = utf8Prefix(text, units))
        return textValue(text.substr(0, *cut));
    const QByteArray repaired = QString::fromUtf8(text.data(), qsizetype(text.size())).toUtf8();
    scratch.assign(repaired.constData(), size_t(repaired.size()));
    return textValue(
        std::string_view(scratch).substr(0, utf8Prefix(scratch, units).value_or(scratch.size())));
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

StoredValue readStored(const Schema::Field& field, std::string_view text, std::string& scratch)
{
    switch (field.type) {
    case FieldType::Short:
        return integerValue(ranged(text, -32768, 32767));
    case FieldType::Long:
    case FieldType::AutoInc:
        return integerValue(ranged(text, INT32_MIN, INT32_MAX));
    case FieldType::Logical:
        return integerValue(logical(text));
    case FieldType::Decimal: {
        StoredValue stored;
        if (const auto amount = decimal(text)) {
            stored.kind = StoredValue::Kind::Real;
            stored.real = amount->rounded(qMin(field.size, 4)).toDouble();
        }
        return stored;
    }
    // A date that reads is already in the stored form, apart from a missing time.
    case FieldType::Date:
        return readsAsDateTime(text) ? textValue(text.substr(0, 10)) : StoredValue();
    case FieldType::Timestamp: {
        if (!readsAsDateTime(text))
            return StoredValue();
        if (text.size() == 19)
            return textValue(text);
        scratch.assign(text);
        scratch += " 00:00:00";
        return textValue(scratch);
    }
    case FieldType::Text:
        return plainText(text, field.size, scratch);
    case FieldType::Memo:
        break;
    }
    return plainText(text, 0, scratch);
}

QVariant read(const Schema::Field& field, std::string_view text)
{
    std::string scratch;
    const StoredValue stored = readStored(field, text, scratch);
    switch (stored.kind) {
    case StoredValue::Kind::Empty:
        break;
    case StoredValue::Kind::Integer:
        return QVariant(int(stored.integer));
    case StoredValue::Kind::Real:
        return QVariant(stored.real);
    case StoredValue::Kind::Text:
        return QString::fromUtf8(stored.text.data(), qsizetype(stored.text.size()));
    }
    return QVariant();
}

QString write(Schema::FieldType type, const QVariant& value)
{
    const bool empty = isEmpty(value);
    switch (type) {
    case FieldType::Decimal:
        return empty ? QStringLiteral("0") : decimalText(value);
    case FieldType::Date:
    case FieldType::Timestamp: {
        if (empty)
            return type == FieldType::Date ? QStringLiteral("1899-12-30")
                                           : QStringLiteral("1899-12-30 00:00:00");
        // The written form is the stored one, which reading gives.
        const std::string text = value.toString().toStdString();
        std::string scratch;
        const StoredValue stored = readStored({"", type}, text, scratch);
        return stored.kind == StoredValue::Kind::Text
                   ? QString::fromUtf8(stored.text.data(), qsizetype(stored.text.size()))
                   : QString();
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

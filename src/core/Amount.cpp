#include "Amount.h"

#include "TraderError.h"

#include <cmath>
#include <limits>

namespace {

using Wide = __int128;

// numerator / denominator to the nearest whole number, ties to even.
Wide divideHalfEven(Wide numerator, Wide denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    Wide quotient = numerator / denominator;
    Wide remainder = numerator % denominator;
    const bool negative = remainder < 0;
    if (negative)
        remainder = -remainder;
    const Wide twice = remainder * 2;
    if (twice > denominator || (twice == denominator && (quotient % 2) != 0))
        quotient += negative ? -1 : 1;
    return quotient;
}

qint64 narrow(Wide value)
{
    if (value > std::numeric_limits<qint64>::max() || value < std::numeric_limits<qint64>::min())
        throw TraderError(QStringLiteral("Сумма слишком велика"));
    return qint64(value);
}

constexpr qint64 powerOfTen(int digits)
{
    qint64 p = 1;
    for (int i = 0; i < digits; ++i)
        p *= 10;
    return p;
}

// Digits with one optional separator, already stripped of sign and group marks.
std::optional<qint64> parseDigits(QStringView text, QChar separator)
{
    Wide whole = 0;
    Wide fraction = 0;
    int fractionDigits = 0;
    bool seenSeparator = false;
    bool seenDigit = false;
    for (const QChar c : text) {
        if (c == separator && !seenSeparator) {
            seenSeparator = true;
            continue;
        }
        if (!c.isDigit() || c.unicode() > '9')
            return std::nullopt;
        seenDigit = true;
        const int digit = c.unicode() - '0';
        if (seenSeparator) {
            fraction = fraction * 10 + digit;
            ++fractionDigits;
            if (fractionDigits > 30)
                return std::nullopt;
        } else {
            whole = whole * 10 + digit;
            if (whole > Wide(std::numeric_limits<qint64>::max() / Amount::Scale))
                return std::nullopt;
        }
    }
    if (!seenDigit)
        return std::nullopt;
    Wide raw = whole * Amount::Scale;
    if (fractionDigits <= 4) {
        raw += fraction * powerOfTen(4 - fractionDigits);
    } else {
        Wide divisor = 1;
        for (int i = 4; i < fractionDigits; ++i)
            divisor *= 10;
        raw += divideHalfEven(fraction, divisor);
    }
    if (raw > std::numeric_limits<qint64>::max())
        return std::nullopt;
    return qint64(raw);
}

std::optional<Amount> signedAmount(QStringView body, bool negative, QChar separator)
{
    const std::optional<qint64> raw = parseDigits(body, separator);
    if (!raw)
        return std::nullopt;
    return Amount::fromRaw(negative ? -*raw : *raw);
}

} // namespace

Amount Amount::fromDouble(double value)
{
    if (!std::isfinite(value))
        return Amount();
    return Amount(narrow(Wide(std::llround(value * Scale))));
}

std::optional<Amount> Amount::parseC(QStringView text)
{
    text = text.trimmed();
    bool negative = false;
    if (text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+'))) {
        negative = text.front() == QLatin1Char('-');
        text = text.mid(1);
    }
    return signedAmount(text, negative, QLatin1Char('.'));
}

std::optional<Amount> Amount::parseLocal(QStringView text, const QLocale& locale)
{
    const QString decimalPoint = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    const QString minus = locale.negativeSign();
    QString body;
    body.reserve(text.size());
    bool negative = false;
    for (const QChar c : text.trimmed()) {
        if (c.isSpace() || (!group.isEmpty() && group.contains(c) && !decimalPoint.contains(c)))
            continue;
        if (body.isEmpty() && !negative && (c == QLatin1Char('-') || minus.contains(c))) {
            negative = true;
            continue;
        }
        body += decimalPoint.contains(c) ? QChar(QLatin1Char('.')) : c;
    }
    return signedAmount(body, negative, QLatin1Char('.'));
}

Amount Amount::rounded(int decimals) const
{
    const qint64 step = powerOfTen(4 - qBound(0, decimals, 4));
    return Amount(narrow(divideHalfEven(m_raw, step) * step));
}

QString Amount::toC(int decimals) const
{
    decimals = qBound(0, decimals, 4);
    const qint64 value = rounded(decimals).m_raw;
    const quint64 magnitude = value < 0 ? quint64(0) - quint64(value) : quint64(value);
    QString text = QString::number(magnitude / Scale);
    if (decimals > 0) {
        const quint64 fraction = (magnitude % Scale) / quint64(powerOfTen(4 - decimals));
        text +=
            QLatin1Char('.') + QStringLiteral("%1").arg(fraction, decimals, 10, QLatin1Char('0'));
    }
    if (value < 0)
        text.prepend(QLatin1Char('-'));
    return text;
}

QString Amount::toLocal(int decimals, bool grouped, const QLocale& locale) const
{
    QString c = toC(decimals);
    const bool negative = c.startsWith(QLatin1Char('-'));
    if (negative)
        c.remove(0, 1);
    const qsizetype point = c.indexOf(QLatin1Char('.'));
    QString whole = point < 0 ? c : c.left(point);
    if (grouped) {
        const QString group = locale.groupSeparator();
        for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
            whole.insert(at, group);
    }
    QString text = whole;
    if (point >= 0)
        text += locale.decimalPoint() + c.mid(point + 1);
    if (negative)
        text.prepend(locale.negativeSign());
    return text;
}

Amount Amount::operator*(Amount other) const
{
    return Amount(narrow(divideHalfEven(Wide(m_raw) * other.m_raw, Scale)));
}

Amount Amount::operator/(Amount other) const
{
    if (other.m_raw == 0)
        throw TraderError(QStringLiteral("Деление на ноль"));
    return Amount(narrow(divideHalfEven(Wide(m_raw) * Scale, other.m_raw)));
}

#pragma once

#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <compare>
#include <optional>

// A money value: a signed count of ten-thousandths. Products and quotients round to four
// digits, ties to even; so does roundToCents, to two. No money is ever a double, except in
// the database column itself.
class Amount {
public:
    static constexpr qint64 Scale = 10000;

    constexpr Amount() = default;
    static constexpr Amount fromRaw(qint64 tenThousandths) { return Amount(tenThousandths); }
    static constexpr Amount fromUnits(qint64 units) { return Amount(units * Scale); }
    // A REAL column's value; it holds at most four digits, so the nearest count is exact.
    static Amount fromDouble(double value);

    // "1234.5", "-0.0001": the form of the wire and of SQL. Extra digits round half-even.
    static std::optional<Amount> parseC(QStringView text);
    // What a person types in the regional form; "." is taken as well as the regional
    // separator, and group separators and spaces are skipped.
    static std::optional<Amount> parseLocal(QStringView text, const QLocale& locale = QLocale());

    constexpr qint64 raw() const { return m_raw; }
    double toDouble() const { return double(m_raw) / Scale; }
    constexpr bool isZero() const { return m_raw == 0; }

    // Rounded half-even to the given fraction digits (0 to 4).
    QString toC(int decimals = 2) const;
    QString toLocal(int decimals = 2, bool grouped = false,
                    const QLocale& locale = QLocale()) const;

    Amount roundToCents() const { return rounded(2); }
    Amount rounded(int decimals) const;

    constexpr Amount operator-() const { return Amount(-m_raw); }
    constexpr Amount operator+(Amount other) const { return Amount(m_raw + other.m_raw); }
    constexpr Amount operator-(Amount other) const { return Amount(m_raw - other.m_raw); }
    Amount& operator+=(Amount other)
    {
        m_raw += other.m_raw;
        return *this;
    }
    Amount& operator-=(Amount other)
    {
        m_raw -= other.m_raw;
        return *this;
    }
    Amount operator*(Amount other) const;
    // Throws TraderError on a zero divisor.
    Amount operator/(Amount other) const;
    constexpr Amount operator*(qint64 count) const { return Amount(m_raw * count); }

    constexpr auto operator<=>(const Amount&) const = default;

private:
    constexpr explicit Amount(qint64 raw)
        : m_raw(raw)
    {
    }
    qint64 m_raw = 0;
};

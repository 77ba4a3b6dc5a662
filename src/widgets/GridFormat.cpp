#include "GridFormat.h"

#include "Amount.h"

#include <QDateTime>
#include <QLocale>

namespace {

bool isPatternChar(QChar c)
{
    return c == QLatin1Char('#') || c == QLatin1Char('0') || c == QLatin1Char(',') ||
           c == QLatin1Char('.');
}

QDateTime parseStoredDateTime(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime();
    const QString text = value.toString();
    for (const QString& form : {QStringLiteral("yyyy-MM-dd hh:mm:ss"),
                                QStringLiteral("yyyy-MM-dd hh:mm"), QStringLiteral("yyyy-MM-dd")}) {
        const QDateTime parsed = QDateTime::fromString(text, form);
        if (parsed.isValid())
            return parsed;
    }
    return {};
}

} // namespace

namespace GridFormat {

QString number(const QString& pattern, const QVariant& value)
{
    qsizetype start = 0;
    while (start < pattern.size() &&
           !(pattern.at(start) == QLatin1Char('#') || pattern.at(start) == QLatin1Char('0')))
        ++start;
    if (start == pattern.size())
        return pattern;
    qsizetype end = start;
    while (end < pattern.size() && isPatternChar(pattern.at(end)))
        ++end;
    const QString digits = pattern.mid(start, end - start);
    const qsizetype point = digits.indexOf(QLatin1Char('.'));
    const int decimals = point < 0 ? 0 : int(digits.size() - point - 1);
    const bool grouped = digits.contains(QLatin1Char(','));
    const Amount amount = Amount::fromDouble(value.toDouble());
    return pattern.left(start) + amount.toLocal(qBound(0, decimals, 4), grouped) + pattern.mid(end);
}

QString cell(const GridColumn& column, const QVariant& value)
{
    if (value.isNull())
        return QString();
    if (!column.valueTexts.isEmpty()) {
        const auto found = column.valueTexts.constFind(value.toLongLong());
        return found == column.valueTexts.constEnd() ? value.toString() : *found;
    }
    switch (column.kind) {
    case GridColumn::Kind::Money:
        return number(column.displayFormat.isEmpty() ? QStringLiteral("###,###,###,##0.00")
                                                     : column.displayFormat,
                      value);
    case GridColumn::Kind::Percent:
        return number(column.displayFormat.isEmpty() ? QStringLiteral("##0.00 %")
                                                     : column.displayFormat,
                      value);
    case GridColumn::Kind::Number:
        return column.displayFormat.isEmpty() ? QString::number(value.toLongLong())
                                              : number(column.displayFormat, value);
    case GridColumn::Kind::DateTime: {
        const QDateTime moment = parseStoredDateTime(value);
        if (!moment.isValid())
            return value.toString();
        return moment.toString(column.displayFormat.isEmpty() ? QStringLiteral("dd.MM.yyyy hh:mm")
                                                              : column.displayFormat);
    }
    case GridColumn::Kind::Picture:
    case GridColumn::Kind::CheckBox:
        return QString();
    case GridColumn::Kind::Text:
        break;
    }
    return value.toString();
}

} // namespace GridFormat

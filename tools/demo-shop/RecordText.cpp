#include "RecordText.h"

#include "WireText.h"

namespace RecordText {

std::optional<QString> fromColumn(const Schema::Field* field, const SqlStatement& row, int column)
{
    if (row.isNull(column))
        return std::nullopt;
    if (!field)
        return row.text(column);
    switch (field->type) {
    case Schema::FieldType::Logical:
        return row.integer(column) != 0 ? QStringLiteral("1") : QStringLiteral("0");
    case Schema::FieldType::Short:
    case Schema::FieldType::Long:
    case Schema::FieldType::AutoInc:
        return QString::number(row.integer(column));
    case Schema::FieldType::Decimal:
        return WireText::decimalText(Amount::fromDouble(row.real(column)));
    case Schema::FieldType::Timestamp: {
        const QString text = row.text(column);
        return text.endsWith(QLatin1String(" 00:00:00")) ? text.left(10) : text;
    }
    case Schema::FieldType::Date:
        return row.text(column).left(10);
    case Schema::FieldType::Text:
    case Schema::FieldType::Memo:
        break;
    }
    return row.text(column);
}

SqlValue toColumn(const Schema::Field& field, QStringView text)
{
    const QString trimmed = text.trimmed().toString();
    switch (field.type) {
    case Schema::FieldType::Logical: {
        if (trimmed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return qint64(1);
        bool ok = false;
        const qint64 number = trimmed.toLongLong(&ok);
        return qint64(ok && number != 0 ? 1 : 0);
    }
    case Schema::FieldType::Short:
    case Schema::FieldType::Long:
    case Schema::FieldType::AutoInc: {
        bool ok = false;
        const qint64 number = trimmed.toLongLong(&ok);
        return ok ? SqlValue(number) : SqlValue();
    }
    case Schema::FieldType::Decimal: {
        const std::optional<Amount> amount = Amount::parseC(trimmed);
        return amount ? SqlValue(amount->toDouble()) : SqlValue();
    }
    case Schema::FieldType::Date:
    case Schema::FieldType::Timestamp: {
        const QDateTime time = WireText::parseDateTime(trimmed);
        if (!time.isValid() || time.date() == QDate(1899, 12, 30))
            return SqlValue();
        if (field.type == Schema::FieldType::Date)
            return time.date().toString(QStringLiteral("yyyy-MM-dd"));
        return WireText::storedTimestamp(time);
    }
    case Schema::FieldType::Text:
    case Schema::FieldType::Memo:
        break;
    }
    if (text.isEmpty())
        return SqlValue();
    if (field.type == Schema::FieldType::Text && field.size > 0)
        return text.left(field.size).toString();
    return text.toString();
}

} // namespace RecordText

#include "ReferenceCommands.h"

#include "Schema.h"
#include "ShopDb.h"
#include "SqlStatement.h"
#include "WireText.h"
#include "XmlAnswer.h"

namespace ReferenceCommands {

const QStringList& referenceTables()
{
    return Schema::referenceTables();
}

namespace {

QString updateTime(ShopDb& db)
{
    SqlStatement query(db, "SELECT key_value FROM shop_values WHERE key_name='main_update_time'");
    return query.next() ? query.text(0) : QString();
}

QString keyColumns(const Schema::Table& table)
{
    QStringList key;
    for (int i = 0; i < table.keyFieldCount; ++i)
        key << QLatin1Char('"') + QLatin1String(table.fields[std::size_t(i)].name) +
                   QLatin1Char('"');
    return key.join(QLatin1Char(','));
}

} // namespace

Answer getLastUpdate(ShopContext& context, const QString& values)
{
    const QDateTime sent = WireText::parseDateTime(values);
    const QDateTime shopTime = WireText::parseDateTime(updateTime(context.db));
    if (sent.isValid() && shopTime.isValid() && sent >= shopTime)
        return Answer::returnValue(QStringLiteral("DONT_NEED_UPDATE"));
    return Answer::returnValue(QString::number(context.managerId));
}

Answer getTablesInfo(ShopContext& context)
{
    XmlAnswer xml;
    pugi::xml_node tables = xml.container("TABLES");
    for (const QString& name : referenceTables()) {
        SqlStatement count(context.db, QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(name));
        count.next();
        pugi::xml_node table = tables.append_child("TABLE");
        XmlAnswer::setAttribute(table, "Name", name);
        XmlAnswer::setAttribute(table, "Rows", QString::number(count.integer(0)));
    }
    return Answer::zipResult(context.entryName(), xml.toCp1251());
}

Answer getTableData(ShopContext& context, const QString& values)
{
    const QStringList parts = values.split(QLatin1Char(';'));
    if (parts.size() != 4)
        return Answer::error("PHP_ERROR",
                             QStringLiteral("Неверные параметры запроса таблицы: %1").arg(values));
    const QString name = parts[0].trimmed();
    const Schema::Table* table =
        referenceTables().contains(name, Qt::CaseInsensitive) ? Schema::find(name) : nullptr;
    if (!table)
        return Answer::error("SQL_ERROR", QStringLiteral("Таблица %1 не найдена").arg(name));
    bool firstOk = false;
    bool countOk = false;
    const qint64 first = parts[2].trimmed().toLongLong(&firstOk);
    const qint64 count = parts[3].trimmed().toLongLong(&countOk);
    if (!firstOk || !countOk || first < 1 || count < 0)
        return Answer::error("PHP_ERROR",
                             QStringLiteral("Неверные параметры запроса таблицы: %1").arg(values));

    // Column names are taken only from the table's own fields, never from the request.
    QStringList columns;
    const QString wanted = parts[1].trimmed();
    if (wanted == QLatin1String("*") || wanted.isEmpty()) {
        columns << QStringLiteral("*");
    } else {
        for (const QString& column : wanted.split(QLatin1Char(','))) {
            const QString trimmed = column.trimmed();
            bool known = false;
            for (const Schema::Field& field : table->fields)
                if (trimmed.compare(QLatin1String(field.name), Qt::CaseInsensitive) == 0) {
                    columns << QLatin1Char('"') + QLatin1String(field.name) + QLatin1Char('"');
                    known = true;
                }
            if (!known)
                return Answer::error(
                    "SQL_ERROR",
                    QStringLiteral("Поле %1 не найдено в таблице %2").arg(trimmed, name));
        }
    }
    SqlStatement query(
        context.db,
        QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY %3 LIMIT ? OFFSET ?")
            .arg(columns.join(QLatin1Char(',')), QLatin1String(table->name), keyColumns(*table)));
    query.bind(1, count).bind(2, first - 1);
    XmlAnswer xml;
    XmlAnswer::appendRows(xml.container("PART"), query, *table);
    return Answer::zipResult(context.entryName(), xml.toCp1251());
}

} // namespace ReferenceCommands

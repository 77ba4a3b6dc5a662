#include "RowInserter.h"

#include "TraderError.h"

#include <QStringList>

#include <cstring>

namespace {

const Schema::Table& tableNamed(const char* name)
{
    const Schema::Table* table = Schema::find(QString::fromLatin1(name));
    if (!table)
        throw TraderError(QStringLiteral("Нет таблицы %1").arg(QLatin1String(name)));
    return *table;
}

QString insertSql(const Schema::Table& table)
{
    QStringList columns;
    QStringList marks;
    for (const Schema::Field& field : table.fields) {
        columns << QLatin1Char('"') + QLatin1String(field.name) + QLatin1Char('"');
        marks << QStringLiteral("?");
    }
    return QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
        .arg(QLatin1String(table.name), columns.join(QLatin1Char(',')),
             marks.join(QLatin1Char(',')));
}

} // namespace

RowInserter::RowInserter(ShopDb& db, const char* tableName)
    : m_table(&tableNamed(tableName))
    , m_statement(db, insertSql(*m_table))
    , m_values(m_table->fields.size())
{
}

int RowInserter::columnIndex(QStringView name) const
{
    for (std::size_t i = 0; i < m_table->fields.size(); ++i)
        if (name.compare(QLatin1String(m_table->fields[i].name), Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

RowInserter& RowInserter::set(const char* column, const SqlValue& value)
{
    // Columns are mostly set in table order, so the search starts after the last one found.
    const std::size_t count = m_table->fields.size();
    for (std::size_t step = 0; step < count; ++step) {
        const std::size_t i = (m_next + step) % count;
        if (std::strcmp(m_table->fields[i].name, column) == 0) {
            m_next = i + 1;
            return setAt(int(i), value);
        }
    }
    throw TraderError(QStringLiteral("Нет поля %1 в таблице %2")
                          .arg(QLatin1String(column), QLatin1String(m_table->name)));
}

RowInserter& RowInserter::setAt(int index, const SqlValue& value)
{
    m_values[std::size_t(index)] = value;
    return *this;
}

void RowInserter::insert()
{
    for (std::size_t i = 0; i < m_values.size(); ++i)
        m_statement.bind(int(i) + 1, m_values[i]);
    m_statement.run();
    for (SqlValue& value : m_values)
        value = std::monostate();
}

#include "LocalTable.h"

#include "Sql.h"

LocalTable::LocalTable(const QSqlDatabase& db, const QString& name)
    : m_db(db)
    , m_name(name)
{
}

bool LocalTable::exists() const
{
    return Sql::scalar(m_db,
                       QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' "
                                      "AND name = ? COLLATE NOCASE"),
                       {m_name})
        .isValid();
}

QStringList LocalTable::columnNames() const
{
    QSqlQuery query = Sql::exec(
        m_db, QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid"), {m_name});
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}

qint64 LocalTable::rowCount() const
{
    return Sql::scalar(m_db, QStringLiteral("SELECT COUNT(*) FROM ") + Sql::identifier(m_name))
        .toLongLong();
}

void LocalTable::clear() const
{
    Sql::exec(m_db, QStringLiteral("DELETE FROM ") + Sql::identifier(m_name));
}

#include "LocalTable.h"

#include "Sql.h"

namespace {

QString quotedName(const QString& name)
{
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

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
    return Sql::scalar(m_db, QStringLiteral("SELECT COUNT(*) FROM ") + quotedName(m_name))
        .toLongLong();
}

void LocalTable::clear() const
{
    Sql::exec(m_db, QStringLiteral("DELETE FROM ") + quotedName(m_name));
}

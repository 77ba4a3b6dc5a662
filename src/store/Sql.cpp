#include "Sql.h"

#include "TraderError.h"

#include <QSqlError>
#include <QSqlRecord>

namespace {

[[noreturn]] void fail(const QSqlError& error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    throw TraderError(text);
}

} // namespace

namespace Sql {

QSqlQuery prepare(const QSqlDatabase& db, const QString& statement)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(statement))
        fail(query.lastError());
    return query;
}

void exec(QSqlQuery& query)
{
    if (!query.exec())
        fail(query.lastError());
}

QSqlQuery exec(const QSqlDatabase& db, const QString& statement,
               std::initializer_list<QVariant> values)
{
    QSqlQuery query = prepare(db, statement);
    for (const QVariant& value : values)
        query.addBindValue(value);
    exec(query);
    return query;
}

QVariant scalar(const QSqlDatabase& db, const QString& statement,
                std::initializer_list<QVariant> values)
{
    QSqlQuery query = exec(db, statement, values);
    return query.next() ? query.value(0) : QVariant();
}

RowSet fetchAll(QSqlQuery& query)
{
    RowSet set;
    const QSqlRecord record = query.record();
    const int count = record.count();
    for (int i = 0; i < count; ++i)
        set.fields << record.fieldName(i);
    while (query.next()) {
        QVariantList row;
        row.reserve(count);
        for (int i = 0; i < count; ++i)
            row << query.value(i);
        set.rows << row;
    }
    return set;
}

} // namespace Sql

Transaction::Transaction(const QSqlDatabase& db)
    : m_db(db)
{
    if (!m_db.transaction())
        fail(m_db.lastError());
    m_open = true;
}

Transaction::~Transaction()
{
    if (m_open)
        m_db.rollback();
}

void Transaction::commit()
{
    if (!m_db.commit())
        fail(m_db.lastError());
    m_open = false;
}

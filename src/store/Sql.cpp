#include "Sql.h"

#include "SqliteFunctions.h"
#include "TraderError.h"

#include <QHash>
#include <QSqlError>

#include <sqlite3.h>

#include <memory>
#include <vector>

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

QString identifier(const QString& name)
{
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

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

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)>;

TraderError sqliteError(sqlite3* handle)
{
    return TraderError(QString::fromUtf8(sqlite3_errmsg(handle)));
}

// The statement prepared on the connection's own handle with its values bound.
Statement bound(const QSqlDatabase& db, const QString& statement,
                std::initializer_list<QVariant> values)
{
    sqlite3* handle = sqliteHandle(db);
    if (!handle)
        throw TraderError(QStringLiteral("Локальная база данных не подключена"));
    const QByteArray text = statement.toUtf8();
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &raw, nullptr) != SQLITE_OK)
        throw sqliteError(handle);
    Statement query(raw, &sqlite3_finalize);
    int index = 0;
    for (const QVariant& value : values) {
        ++index;
        int rc = SQLITE_OK;
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(raw, index, value.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(raw, index, value.toDouble());
            break;
        default:
            if (value.isNull()) {
                rc = sqlite3_bind_null(raw, index);
            } else {
                const QByteArray bytes = value.toString().toUtf8();
                rc = sqlite3_bind_text(raw, index, bytes.constData(), int(bytes.size()),
                                       SQLITE_TRANSIENT);
            }
        }
        if (rc != SQLITE_OK)
            throw sqliteError(handle);
    }
    return query;
}

} // namespace

RowSet rows(const QSqlDatabase& db, const QString& statement,
            std::initializer_list<QVariant> values)
{
    const Statement query = bound(db, statement, values);
    sqlite3_stmt* raw = query.get();
    RowSet set;
    const int count = sqlite3_column_count(raw);
    for (int i = 0; i < count; ++i)
        set.fields << QString::fromUtf8(sqlite3_column_name(raw, i));
    // Names of deliveries, payments, managers and the like repeat from row to row: one copy
    // of each is shared, so a long list does not hold the same text a hundred thousand times.
    // A column whose texts turn out to be mostly different stops being pooled.
    constexpr int poolLimit = 2000;
    std::vector<QHash<QString, QString>> pools(static_cast<size_t>(count));
    std::vector<bool> pooled(static_cast<size_t>(count), true);
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        QVariantList row;
        row.reserve(count);
        for (int i = 0; i < count; ++i) {
            switch (sqlite3_column_type(raw, i)) {
            case SQLITE_INTEGER:
                row << QVariant(qlonglong(sqlite3_column_int64(raw, i)));
                break;
            case SQLITE_FLOAT:
                row << QVariant(sqlite3_column_double(raw, i));
                break;
            case SQLITE_NULL:
                row << QVariant();
                break;
            case SQLITE_BLOB:
                row << QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(raw, i)),
                                           sqlite3_column_bytes(raw, i)));
                break;
            default: {
                QString text =
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(raw, i)),
                                      sqlite3_column_bytes(raw, i));
                if (pooled[size_t(i)]) {
                    QHash<QString, QString>& pool = pools[size_t(i)];
                    const auto found = pool.constFind(text);
                    if (found != pool.constEnd()) {
                        text = *found;
                    } else if (pool.size() < poolLimit) {
                        pool.insert(text, text);
                    } else {
                        pooled[size_t(i)] = false;
                        pool.clear();
                    }
                }
                row << QVariant(std::move(text));
            }
            }
        }
        set.rows << std::move(row);
    }
    if (rc != SQLITE_DONE)
        throw sqliteError(sqlite3_db_handle(raw));
    return set;
}

void forEachText(const QSqlDatabase& db, const QString& statement,
                 std::initializer_list<QVariant> values,
                 const std::function<void(const std::vector<std::string_view>&)>& each)
{
    const Statement query = bound(db, statement, values);
    sqlite3_stmt* raw = query.get();
    std::vector<std::string_view> texts(size_t(sqlite3_column_count(raw)));
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        for (size_t i = 0; i < texts.size(); ++i) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, int(i)));
            texts[i] = text ? std::string_view(text, size_t(sqlite3_column_bytes(raw, int(i))))
                            : std::string_view();
        }
        each(texts);
    }
    if (rc != SQLITE_DONE)
        throw sqliteError(sqlite3_db_handle(raw));
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

#include "SqlStatement.h"

#include "ShopDb.h"
#include "TraderError.h"

#include <sqlite3.h>

SqlStatement::SqlStatement(ShopDb& db, const QString& sql)
    : SqlStatement(db, sql.toUtf8().constData())
{
}

SqlStatement::SqlStatement(ShopDb& db, const char* sql)
    : m_db(db)
{
    if (sqlite3_prepare_v2(db.handle(), sql, -1, &m_statement, nullptr) != SQLITE_OK)
        fail();
}

SqlStatement::~SqlStatement()
{
    sqlite3_finalize(m_statement);
}

void SqlStatement::fail() const
{
    throw TraderError(QString::fromUtf8(sqlite3_errmsg(m_db.handle())));
}

SqlStatement& SqlStatement::bind(int index, const SqlValue& value)
{
    int rc = SQLITE_OK;
    if (const auto* number = std::get_if<qint64>(&value)) {
        rc = sqlite3_bind_int64(m_statement, index, *number);
    } else if (const auto* real = std::get_if<double>(&value)) {
        rc = sqlite3_bind_double(m_statement, index, *real);
    } else if (const auto* text = std::get_if<QString>(&value)) {
        // A null text is NULL, as no text at all; an empty one is the empty text.
        rc = text->isNull() ? sqlite3_bind_null(m_statement, index)
                            : sqlite3_bind_text16(m_statement, index, text->utf16(),
                                                  int(text->size() * 2), SQLITE_TRANSIENT);
    } else {
        rc = sqlite3_bind_null(m_statement, index);
    }
    if (rc != SQLITE_OK)
        fail();
    return *this;
}

bool SqlStatement::next()
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        fail();
    return false;
}

void SqlStatement::run()
{
    const int rc = sqlite3_step(m_statement);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        sqlite3_reset(m_statement);
        fail();
    }
    reset();
}

void SqlStatement::reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

int SqlStatement::columnCount() const
{
    return sqlite3_column_count(m_statement);
}

const char* SqlStatement::columnName(int column) const
{
    return sqlite3_column_name(m_statement, column);
}

bool SqlStatement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

qint64 SqlStatement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

double SqlStatement::real(int column) const
{
    return sqlite3_column_double(m_statement, column);
}

QString SqlStatement::text(int column) const
{
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return bytes ? QString::fromUtf8(bytes, sqlite3_column_bytes(m_statement, column)) : QString();
}

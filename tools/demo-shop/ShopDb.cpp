#include "ShopDb.h"

#include "Schema.h"
#include "TraderError.h"

#include <sqlite3.h>

namespace {

// The tables the shop keeps beside those the trader mirrors: who may log in, the
// partners that orders name, and the notes sent to buyers with status changes.
const char* const ShopOwnTables[] = {
    "CREATE TABLE manager (id INTEGER PRIMARY KEY, login TEXT NOT NULL UNIQUE, "
    "password TEXT NOT NULL, name TEXT)",
    "CREATE TABLE partner (id INTEGER PRIMARY KEY, login TEXT NOT NULL, name TEXT)",
    "CREATE TABLE buyer_note (order_id INTEGER, note TEXT, send_email INTEGER, "
    "created TEXT)",
};

const char* const MirroredTables[] = {
    "shop_values",
    "category",
    "topic",
    "store",
    "topic_store",
    "currency",
    "param",
    "param_value",
    "store_add",
    "store_param",
    "condition",
    "payment",
    "delivery",
    "delivery_multiplex",
    "delivery_cost",
    "discount_order",
    "client_field",
    "client",
    "client_field_value",
    "client_field_set",
    "archive_basket",
    "archive_order",
    "archive_client_field",
    "provider",
};

} // namespace

ShopDb::ShopDb(const QString& path)
{
    const QByteArray name = path.isEmpty() ? QByteArray(":memory:") : path.toUtf8();
    if (sqlite3_open_v2(name.constData(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_close(m_db);
        m_db = nullptr;
        throw TraderError(
            QStringLiteral("Не удалось открыть базу магазина %1: %2").arg(path, message));
    }
    if (!path.isEmpty())
        exec("PRAGMA journal_mode=WAL");
}

ShopDb::~ShopDb()
{
    sqlite3_close(m_db);
}

void ShopDb::exec(const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : sqlite3_errmsg(m_db));
        sqlite3_free(error);
        throw TraderError(message);
    }
}

bool ShopDb::hasTables()
{
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(m_db, "SELECT 1 FROM sqlite_master WHERE type='table' AND name='manager'",
                       -1, &statement, nullptr);
    const bool found = sqlite3_step(statement) == SQLITE_ROW;
    sqlite3_finalize(statement);
    return found;
}

void ShopDb::createTables()
{
    for (const char* name : MirroredTables) {
        const Schema::Table* table = Schema::find(QString::fromLatin1(name));
        Q_ASSERT(table);
        exec(Schema::createTableSql(*table).toUtf8().constData());
    }
    for (const char* sql : ShopOwnTables)
        exec(sql);
}

void ShopDb::createIndexes()
{
    exec("CREATE INDEX archive_basket_order ON archive_basket (order_id)");
    exec("CREATE INDEX archive_client_field_order ON archive_client_field (order_id)");
    exec("CREATE INDEX archive_order_date ON archive_order (date_time)");
    exec("CREATE INDEX client_field_value_client ON client_field_value (client_id)");
}

ShopTransaction::ShopTransaction(ShopDb& db)
    : m_db(db)
{
    m_db.exec("BEGIN");
}

ShopTransaction::~ShopTransaction()
{
    if (!m_done)
        sqlite3_exec(m_db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void ShopTransaction::commit()
{
    m_db.exec("COMMIT");
    m_done = true;
}

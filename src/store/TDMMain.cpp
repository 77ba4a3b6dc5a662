#include "TDMMain.h"

#include "Schema.h"
#include "Sql.h"
#include "SqliteFunctions.h"
#include "TraderError.h"

#include <QDir>
#include <QSqlError>

#include <atomic>

namespace {

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("Dunvik Shop %1").arg(++counter);
}

} // namespace

TDMMain::TDMMain(const AppFolder& folder, QObject* parent)
    : QObject(parent)
    , m_folder(folder)
    , m_connectionName(nextConnectionName())
{
}

TDMMain::~TDMMain()
{
    if (QSqlDatabase::contains(m_connectionName)) {
        QSqlDatabase::database(m_connectionName, false).close();
        QSqlDatabase::removeDatabase(m_connectionName);
    }
}

QStringList TDMMain::tablesOpenedAtStart()
{
    return {QStringLiteral("param"),
            QStringLiteral("param_value"),
            QStringLiteral("store_add"),
            QStringLiteral("provider"),
            QStringLiteral("store"),
            QStringLiteral("client"),
            QStringLiteral("client_field_value"),
            QStringLiteral("client_field"),
            QStringLiteral("client_field_set"),
            QStringLiteral("archive_order"),
            QStringLiteral("archive_basket"),
            QStringLiteral("archive_client_field"),
            QStringLiteral("draft_order"),
            QStringLiteral("draft_basket"),
            QStringLiteral("draft_client_field"),
            QStringLiteral("shop_values")};
}

QString TDMMain::databasePath() const
{
    return QDir(m_folder.tablesPath()).filePath(databaseFileName());
}

void TDMMain::AConnectDB()
{
    configureSqlite();
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::database(m_connectionName, false).close();
    if (!QDir().mkpath(m_folder.tablesPath()))
        throw TraderError(QStringLiteral("Не удалось создать папку %1").arg(m_folder.tablesPath()));

    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
                          ? QSqlDatabase::database(m_connectionName, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    if (!db.isValid())
        throw TraderError(QStringLiteral("Драйвер базы данных SQLite недоступен"));
    db.setDatabaseName(databasePath());
    // Another copy of the program (the scheduled sync) may be writing: wait for it.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!db.open())
        throw TraderError(db.lastError().text());
    if (!installSqliteFunctions(db))
        throw TraderError(
            QStringLiteral("Не удалось настроить базу данных %1").arg(databasePath()));
    Sql::exec(db, QStringLiteral("PRAGMA journal_mode = WAL"));
    Sql::exec(db, QStringLiteral("PRAGMA synchronous = FULL"));
    // Room for the pages a download keeps returning to (the last pages of every tree it
    // fills), which the default two megabytes keep reading back from the disk.
    Sql::exec(db, QStringLiteral("PRAGMA cache_size = -16384"));

    for (const Schema::Table& table : Schema::tables()) {
        if (TableTemp(QLatin1String(table.name)).exists())
            continue;
        Transaction transaction(db);
        Sql::exec(db, Schema::createTableSql(table));
        for (const QString& statement : Schema::createIndexSql(table))
            Sql::exec(db, statement);
        transaction.commit();
    }
}

void TDMMain::openTables() const
{
    const QSqlDatabase db = database();
    for (const QString& name : tablesOpenedAtStart()) {
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("SELECT * FROM \"%1\" LIMIT 0").arg(name)))
            throw TraderError(probe.lastError().databaseText());
    }
}

bool TDMMain::isConnected() const
{
    return QSqlDatabase::contains(m_connectionName) &&
           QSqlDatabase::database(m_connectionName, false).isOpen();
}

QSqlDatabase TDMMain::database() const
{
    if (!isConnected())
        throw TraderError(QStringLiteral("Локальная база данных не подключена"));
    return QSqlDatabase::database(m_connectionName, false);
}

LocalTable TDMMain::TableTemp(const QString& tableName) const
{
    return LocalTable(database(), tableName);
}

QSqlQuery TDMMain::QTemp() const
{
    return QSqlQuery(database());
}

#include "SqliteFunctions.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <sqlite3.h>

namespace {

template <bool Upper> void foldCase(sqlite3_context* context, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int bytes = sqlite3_value_bytes(argv[0]);
    const QString value = QString::fromUtf8(text, bytes);
    const QByteArray folded = (Upper ? value.toUpper() : value.toLower()).toUtf8();
    sqlite3_result_text(context, folded.constData(), int(folded.size()), SQLITE_TRANSIENT);
}

} // namespace

void configureSqlite()
{
    // SQLite keeps statistics of its memory by default, under a lock that every allocation
    // takes; nothing here reads them, and a download allocates for every row.
    static const int once = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    Q_UNUSED(once);
}

sqlite3* sqliteHandle(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

bool installSqliteFunctions(const QSqlDatabase& db)
{
    sqlite3* connection = sqliteHandle(db);
    if (!connection)
        return false;
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    if (sqlite3_create_function_v2(connection, "UPPER", 1, flags, nullptr, &foldCase<true>, nullptr,
                                   nullptr, nullptr) != SQLITE_OK ||
        sqlite3_create_function_v2(connection, "LOWER", 1, flags, nullptr, &foldCase<false>,
                                   nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    QSqlQuery pragma(db);
    return pragma.exec(QStringLiteral("PRAGMA case_sensitive_like = ON"));
}

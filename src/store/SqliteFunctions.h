#pragma once

class QSqlDatabase;
struct sqlite3;

// The connection's own SQLite handle, for the few places that read many rows; null when the
// connection is not a SQLite one.
sqlite3* sqliteHandle(const QSqlDatabase& db);

// Settings of the SQLite library itself, which hold only when made before its first
// connection: the store's own opening makes them. Later calls change nothing.
void configureSqlite();

// SQLite folds only ASCII letters; our text is Russian. Installs Unicode UPPER and LOWER
// and a case-sensitive LIKE on the connection, so that UPPER(a) LIKE UPPER(b) is the
// case-insensitive match. Returns false when the connection is not a SQLite one.
bool installSqliteFunctions(const QSqlDatabase& db);

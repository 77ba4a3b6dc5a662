#pragma once

class QSqlDatabase;

// SQLite folds only ASCII letters; our text is Russian. Installs Unicode UPPER and LOWER
// and a case-sensitive LIKE on the connection, so that UPPER(a) LIKE UPPER(b) is the
// case-insensitive match. Returns false when the connection is not a SQLite one.
bool installSqliteFunctions(const QSqlDatabase& db);

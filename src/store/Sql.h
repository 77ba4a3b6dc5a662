#pragma once

#include "RowSet.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <functional>
#include <initializer_list>
#include <string_view>
#include <vector>

// Statements that throw TraderError with the database's own message when they fail, so
// that a command stops at its first database error. Values are always bound, never spliced.
namespace Sql {

// A table or column name as SQL text, quoted, so any name reaches the statement as a name.
QString identifier(const QString& name);

QSqlQuery prepare(const QSqlDatabase& db, const QString& statement);
void exec(QSqlQuery& query);
QSqlQuery exec(const QSqlDatabase& db, const QString& statement,
               std::initializer_list<QVariant> values = {});
// The first column of the first row, or an invalid value when there is no row.
QVariant scalar(const QSqlDatabase& db, const QString& statement,
                std::initializer_list<QVariant> values = {});

// Every row of a statement, read straight from SQLite: the lists that show whole tables.
RowSet rows(const QSqlDatabase& db, const QString& statement,
            std::initializer_list<QVariant> values = {});
// Every row of a statement as its fields' UTF-8 texts (a NULL is empty), valid during the
// call only: the long lists that are passed on as text and need no value of each field.
void forEachText(const QSqlDatabase& db, const QString& statement,
                 std::initializer_list<QVariant> values,
                 const std::function<void(const std::vector<std::string_view>&)>& each);

} // namespace Sql

// One transaction: committed by commit(), rolled back if the scope is left without it.
class Transaction {
public:
    explicit Transaction(const QSqlDatabase& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    QSqlDatabase m_db;
    bool m_open = false;
};

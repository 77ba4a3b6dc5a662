#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// One local table reached by its name, as the downloads and the maintenance reach any table.
class LocalTable {
public:
    LocalTable(const QSqlDatabase& db, const QString& name);

    QString name() const { return m_name; }
    bool exists() const;
    // The columns as the file has them, in their order (an older file keeps its own layout).
    QStringList columnNames() const;
    qint64 rowCount() const;
    void clear() const; // removes every row

private:
    QSqlDatabase m_db;
    QString m_name;
};

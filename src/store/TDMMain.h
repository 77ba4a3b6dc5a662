#pragma once

#include "AppFolder.h"
#include "LocalTable.h"

#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

// The data module: owns the connection to the local store in the Tables folder and reaches
// any table by name. Errors of the database layer are thrown as TraderError.
class TDMMain : public QObject {
    Q_OBJECT
public:
    explicit TDMMain(const AppFolder& folder, QObject* parent = nullptr);
    ~TDMMain() override;

    static QString databaseFileName() { return QStringLiteral("DunvikShop.sqlite"); }
    // The tables the start sequence opens, in its order.
    static QStringList tablesOpenedAtStart();

    // Connects to the store, creating the Tables folder, the file and every missing table.
    // A table that exists is never touched.
    void AConnectDB();
    // Opens the tables of the start sequence in order; the first that cannot be read stops
    // it with the database's message.
    void openTables() const;

    bool isConnected() const;
    QSqlDatabase database() const;
    QString databasePath() const;
    LocalTable TableTemp(const QString& tableName) const;
    // A fresh scratch query on the store.
    QSqlQuery QTemp() const;

private:
    AppFolder m_folder;
    QString m_connectionName;
};

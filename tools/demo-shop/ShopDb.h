#pragma once

#include <QString>

struct sqlite3;

// The shop's own database: one SQLite connection. Callers serialise access to it (the
// server answers one request at a time).
class ShopDb {
public:
    // An empty path opens a private in-memory database.
    explicit ShopDb(const QString& path = QString());
    ~ShopDb();
    ShopDb(const ShopDb&) = delete;
    ShopDb& operator=(const ShopDb&) = delete;

    sqlite3* handle() const { return m_db; }
    void exec(const char* sql);
    // True when the shop's tables are there (a kept database from an earlier start).
    bool hasTables();
    void createTables();
    // The indexes the commands' queries use; made after a bulk load, which is faster.
    void createIndexes();

private:
    sqlite3* m_db = nullptr;
};

// One transaction; rolled back unless commit() is reached.
class ShopTransaction {
public:
    explicit ShopTransaction(ShopDb& db);
    ~ShopTransaction();
    ShopTransaction(const ShopTransaction&) = delete;
    ShopTransaction& operator=(const ShopTransaction&) = delete;
    void commit();

private:
    ShopDb& m_db;
    bool m_done = false;
};

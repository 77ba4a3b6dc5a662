#pragma once

#include <QStringList>

struct SyncContext;

// The mirror of the shop's catalogue and settings: asks whether the shop's data changed
// since the stored update time and, when the person agrees, reloads the reference tables
// page by page. A table is replaced in one transaction with its first page, so a failure
// leaves the tables before it new, itself with its whole pages so far, and the ones after
// it as they were.
class ReferenceDownload {
public:
    explicit ReferenceDownload(SyncContext& context);

    // The reference tables in download order.
    static const QStringList& tables();

    // False when a failed exchange stopped it (the person has been told).
    bool AGetTables();
    // Forgets the stored update time first, so the shop's data is always offered.
    bool AReGetTables();

private:
    bool downloadTable(const QString& serverName, const QString& table, int rows);
    SyncContext& m_context;
};

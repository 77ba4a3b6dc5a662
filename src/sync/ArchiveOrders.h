#pragma once

#include <QList>
#include <QSqlDatabase>

// Removing whole downloaded orders: the order row with its goods lines and registration
// fields. Run inside the caller's transaction.
namespace ArchiveOrders {

void removeAll(const QSqlDatabase& db, const QList<qint64>& orderIds);

} // namespace ArchiveOrders

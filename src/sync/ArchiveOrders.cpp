#include "ArchiveOrders.h"

#include "Sql.h"

namespace ArchiveOrders {

void remove(const QSqlDatabase& db, qint64 orderId)
{
    for (const char* table : {"archive_basket", "archive_client_field"})
        Sql::exec(db, QStringLiteral("DELETE FROM %1 WHERE order_id = ?").arg(QLatin1String(table)),
                  {orderId});
    Sql::exec(db, QStringLiteral("DELETE FROM archive_order WHERE id = ?"), {orderId});
}

void removeAll(const QSqlDatabase& db, const QList<qint64>& orderIds)
{
    for (qint64 id : orderIds)
        remove(db, id);
}

} // namespace ArchiveOrders

#include "ArchiveOrders.h"

#include "Sql.h"

namespace ArchiveOrders {

void removeAll(const QSqlDatabase& db, const QList<qint64>& orderIds)
{
    if (orderIds.isEmpty())
        return;
    // One answer may replace a thousand orders: the statements are prepared once.
    QSqlQuery statements[] = {
        Sql::prepare(db, QStringLiteral("DELETE FROM archive_basket WHERE order_id = ?")),
        Sql::prepare(db, QStringLiteral("DELETE FROM archive_client_field WHERE order_id = ?")),
        Sql::prepare(db, QStringLiteral("DELETE FROM archive_order WHERE id = ?"))};
    for (qint64 id : orderIds) {
        for (QSqlQuery& statement : statements) {
            statement.addBindValue(id);
            Sql::exec(statement);
        }
    }
}

} // namespace ArchiveOrders

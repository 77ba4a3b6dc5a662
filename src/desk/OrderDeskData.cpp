#include "OrderDeskData.h"

#include "Sql.h"
#include "TDMMain.h"

OrderDeskData::OrderDeskData(const TDMMain& dm)
    : m_dm(dm)
{
}

QString OrderDeskData::ordersSql(int tab)
{
    if (tab == 0)
        return QStringLiteral("SELECT archive_order.*, archive_order.id AS order_id "
                              "FROM archive_order ORDER BY date_time DESC");
    return QStringLiteral("SELECT * FROM draft_order WHERE folder = ?\nORDER BY date_time DESC");
}

QString OrderDeskData::goodsSql(int tab)
{
    return QStringLiteral("SELECT %1.*, new_price*how AS itogo, (price-new_price) AS disc_suma, "
                          "(price*how-new_price*how) AS itogo_disc, part_value*how AS part_itogo "
                          "FROM %1 WHERE order_id=?\nORDER BY id")
        .arg(tab == 0 ? QStringLiteral("archive_basket") : QStringLiteral("draft_basket"));
}

QString OrderDeskData::clientFieldsSql(int tab)
{
    return QStringLiteral("SELECT * FROM %1 WHERE order_id=?\nORDER BY absindex")
        .arg(tab == 0 ? QStringLiteral("archive_client_field")
                      : QStringLiteral("draft_client_field"));
}

RowSet OrderDeskData::orders(int tab) const
{
    return tab == 0 ? Sql::rows(m_dm.database(), ordersSql(tab))
                    : Sql::rows(m_dm.database(), ordersSql(tab), {tab});
}

RowSet OrderDeskData::goods(int tab, const QVariant& orderId) const
{
    return Sql::rows(m_dm.database(), goodsSql(tab), {orderId});
}

RowSet OrderDeskData::clientFields(int tab, const QVariant& orderId) const
{
    return Sql::rows(m_dm.database(), clientFieldsSql(tab), {orderId});
}

QString OrderDeskData::baseCurrencyName() const
{
    return Sql::scalar(m_dm.database(),
                       QStringLiteral("SELECT key_value FROM shop_values WHERE key_name = ?"),
                       {QStringLiteral("main_base_curr")})
        .toString();
}

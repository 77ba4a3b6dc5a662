#pragma once

#include "Answer.h"
#include "ShopContext.h"

#include <QByteArray>

#include <pugixml.hpp>

// The order archive: the download by comparison, the status upload and the internal note.
namespace OrderCommands {

// values: period start ";" period end; payload: "0=0&id=time&...", the trader's orders.
Answer compareArchiveOrders(ShopContext& context, const QString& values, const QByteArray& payload);
// payload: four lists "id=value;..." joined by ":": status, payment, note, e-mail.
Answer updateOrdersArchive(ShopContext& context, const QByteArray& payload);
// values: the order id; payload: the note text.
Answer saveOrderNote(ShopContext& context, const QString& values, const QByteArray& payload);

// The shared pieces of every answer that carries whole orders.
void appendOrderRecords(ShopContext& context, qint64 orderId, pugi::xml_node orders,
                        pugi::xml_node clients, pugi::xml_node goods);
void deleteOrder(ShopContext& context, qint64 orderId);
// A change time later than the order's last one, so a trader that holds the old time
// always sees the order as changed.
QString nextUpdateTime(ShopContext& context, qint64 orderId);

} // namespace OrderCommands

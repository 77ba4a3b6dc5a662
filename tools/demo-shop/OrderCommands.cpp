#include "OrderCommands.h"

#include "Cp1251.h"
#include "ShopDb.h"
#include "SqlStatement.h"
#include "WireText.h"
#include "XmlAnswer.h"

#include <QHash>
#include <QList>

#include <map>
#include <optional>

namespace OrderCommands {

namespace {

const Schema::Table& table(const char* name)
{
    return *Schema::find(QString::fromLatin1(name));
}

struct ChangeItem {
    qint64 orderId;
    QByteArray value;
};

// "15=3;20=1;" into items; nothing when an item is malformed.
std::optional<QList<ChangeItem>> changeItems(const QByteArray& list)
{
    QList<ChangeItem> items;
    for (const QByteArray& item : list.split(';')) {
        if (item.isEmpty())
            continue;
        const qsizetype equals = item.indexOf('=');
        bool ok = false;
        const qint64 id = equals > 0 ? item.left(equals).toLongLong(&ok) : 0;
        if (!ok)
            return std::nullopt;
        items.append({id, item.mid(equals + 1)});
    }
    return items;
}

bool orderExists(ShopContext& context, qint64 orderId)
{
    SqlStatement query(context.db, "SELECT 1 FROM archive_order WHERE id=?");
    query.bind(1, orderId);
    return query.next();
}

} // namespace

void appendOrderRecords(ShopContext& context, qint64 orderId, pugi::xml_node orders,
                        pugi::xml_node clients, pugi::xml_node goods)
{
    SqlStatement order(context.db, "SELECT * FROM archive_order WHERE id=?");
    order.bind(1, orderId);
    XmlAnswer::appendRows(orders, order, table("archive_order"));
    SqlStatement fields(context.db,
                        "SELECT * FROM archive_client_field WHERE order_id=? ORDER BY absindex");
    fields.bind(1, orderId);
    XmlAnswer::appendRows(clients, fields, table("archive_client_field"));
    SqlStatement lines(context.db, "SELECT * FROM archive_basket WHERE order_id=? ORDER BY id");
    lines.bind(1, orderId);
    XmlAnswer::appendRows(goods, lines, table("archive_basket"));
}

void deleteOrder(ShopContext& context, qint64 orderId)
{
    for (const char* sql : {"DELETE FROM archive_basket WHERE order_id=?",
                            "DELETE FROM archive_client_field WHERE order_id=?",
                            "DELETE FROM archive_order WHERE id=?"}) {
        SqlStatement statement(context.db, sql);
        statement.bind(1, orderId).run();
    }
}

QString nextUpdateTime(ShopContext& context, qint64 orderId)
{
    QDateTime next = context.now();
    next.setTime(QTime(next.time().hour(), next.time().minute(), next.time().second()));
    SqlStatement query(context.db, "SELECT update_time FROM archive_order WHERE id=?");
    query.bind(1, orderId);
    if (query.next()) {
        const QDateTime last = WireText::parseDateTime(query.text(0));
        if (last.isValid() && last >= next)
            next = last.addSecs(1);
    }
    return WireText::storedTimestamp(next);
}

Answer compareArchiveOrders(ShopContext& context, const QString& values, const QByteArray& payload)
{
    const QStringList period = values.split(QLatin1Char(';'));
    const QDateTime start = WireText::parseDateTime(period.value(0));
    const QDateTime end = WireText::parseDateTime(period.value(1));
    if (period.size() != 2 || !start.isValid() || !end.isValid())
        return Answer::error("PHP_ERROR",
                             QStringLiteral("Неверно задан период заказов: %1").arg(values));

    // The trader's list: order id and the change time it holds.
    std::map<qint64, QDateTime> known;
    for (const auto& [key, time] : WireText::parameterList(payload)) {
        bool ok = false;
        const qint64 id = key.toLongLong(&ok);
        if (ok && id > 0)
            known[id] = WireText::parseDateTime(time);
    }

    QList<qint64> toSend;
    SqlStatement inPeriod(context.db,
                          "SELECT id, update_time FROM archive_order WHERE date_time >= ? AND "
                          "date_time <= ? ORDER BY date_time, id");
    inPeriod.bind(1, WireText::storedTimestamp(start)).bind(2, WireText::storedTimestamp(end));
    while (inPeriod.next()) {
        const auto held = known.find(inPeriod.integer(0));
        if (held == known.end() || held->second != WireText::parseDateTime(inPeriod.text(1)))
            toSend.append(inPeriod.integer(0));
    }

    XmlAnswer xml;
    pugi::xml_node ghosts = xml.container("GHOST");
    for (const auto& entry : known)
        if (!orderExists(context, entry.first))
            XmlAnswer::setAttribute(ghosts.append_child("ROW"), "id", QString::number(entry.first));
    pugi::xml_node orders = xml.container("ORDER");
    pugi::xml_node clients = xml.container("CLIENT");
    pugi::xml_node goods = xml.container("GOODS");
    const qsizetype transfer = std::min<qsizetype>(toSend.size(), context.transferLimit);
    for (qsizetype i = 0; i < transfer; ++i)
        appendOrderRecords(context, toSend[i], orders, clients, goods);
    pugi::xml_node info = xml.container("INFO");
    XmlAnswer::setAttribute(info, "total", QString::number(toSend.size()));
    XmlAnswer::setAttribute(info, "transfer", QString::number(transfer));
    return Answer::zipResult(context.entryName(), xml.toCp1251());
}

Answer updateOrdersArchive(ShopContext& context, const QByteArray& payload)
{
    const QList<QByteArray> lists = payload.split(':');
    std::optional<QList<ChangeItem>> parsed[4];
    for (int i = 0; i < 4 && i < lists.size(); ++i)
        parsed[i] = changeItems(lists[i]);
    if (lists.size() != 4 || !parsed[0] || !parsed[1] || !parsed[2] || !parsed[3])
        return Answer::error("PHP_ERROR", QStringLiteral("Неверный список изменений статусов"));
    for (const ChangeItem& item : *parsed[0]) {
        bool ok = false;
        const int status = item.value.toInt(&ok);
        if (!ok || status < 0 || status > 5)
            return Answer::error("PHP_ERROR", QStringLiteral("Неверный статус заказа %1: %2")
                                                  .arg(item.orderId)
                                                  .arg(Cp1251::decode(item.value)));
    }
    for (const ChangeItem& item : *parsed[1]) {
        if (item.value != "1" && item.value != "2")
            return Answer::error("PHP_ERROR", QStringLiteral("Неверный статус оплаты заказа %1: %2")
                                                  .arg(item.orderId)
                                                  .arg(Cp1251::decode(item.value)));
    }
    QHash<qint64, QString> notes;
    for (const ChangeItem& item : *parsed[2])
        notes.insert(item.orderId, WireText::urlDecode(item.value));
    QHash<qint64, bool> emails;
    for (const ChangeItem& item : *parsed[3])
        emails.insert(item.orderId, item.value == "1");

    ShopTransaction transaction(context.db);
    for (const ChangeItem& item : *parsed[0]) {
        if (!orderExists(context, item.orderId))
            continue;
        const int status = item.value.toInt();
        SqlStatement note(context.db, "INSERT INTO buyer_note (order_id, note, send_email, "
                                      "created) VALUES (?,?,?,?)");
        note.bind(1, item.orderId)
            .bind(2, notes.value(item.orderId))
            .bind(3, emails.value(item.orderId) ? 1 : 0)
            .bind(4, WireText::storedTimestamp(context.now()))
            .run();
        if (status == 5) {
            deleteOrder(context, item.orderId);
            continue;
        }
        SqlStatement update(context.db, "UPDATE archive_order SET status=?, status_was=?, "
                                        "update_time=? WHERE id=?");
        update.bind(1, status)
            .bind(2, status)
            .bind(3, nextUpdateTime(context, item.orderId))
            .bind(4, item.orderId)
            .run();
    }
    for (const ChangeItem& item : *parsed[1]) {
        if (!orderExists(context, item.orderId))
            continue;
        const int payment = item.value.toInt();
        SqlStatement update(context.db, "UPDATE archive_order SET get_payment=?, payment_was=?, "
                                        "update_time=? WHERE id=?");
        update.bind(1, payment)
            .bind(2, payment)
            .bind(3, nextUpdateTime(context, item.orderId))
            .bind(4, item.orderId)
            .run();
    }
    transaction.commit();
    return Answer::queryExecuted();
}

Answer saveOrderNote(ShopContext& context, const QString& values, const QByteArray& payload)
{
    bool ok = false;
    const qint64 orderId = values.trimmed().toLongLong(&ok);
    if (!ok || !orderExists(context, orderId))
        return Answer::error("SQL_ERROR", QStringLiteral("Заказ %1 не найден").arg(values));
    const QString note = Cp1251::decode(payload);
    SqlStatement update(context.db,
                        "UPDATE archive_order SET inside_note=?, update_time=? WHERE id=?");
    update.bind(1, note.isEmpty() ? SqlValue() : SqlValue(note))
        .bind(2, nextUpdateTime(context, orderId))
        .bind(3, orderId)
        .run();
    return Answer::queryExecuted();
}

} // namespace OrderCommands

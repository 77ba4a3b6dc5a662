#include "DraftCommands.h"

#include "OrderCommands.h"
#include "RecordText.h"
#include "RowInserter.h"
#include "ShopDb.h"
#include "SqlStatement.h"
#include "WireText.h"
#include "XmlAnswer.h"

#include <QCryptographicHash>
#include <QSet>

#include <cstring>

namespace DraftCommands {

namespace {

struct Outcome {
    QString result;
    QString goodsName;
    QString goodsHow;
};

qint64 integerAttribute(pugi::xml_node node, const char* name)
{
    return XmlAnswer::attribute(node, name).trimmed().toLongLong();
}

bool exists(ShopContext& context, const char* sql, qint64 id)
{
    SqlStatement query(context.db, sql);
    query.bind(1, id);
    return query.next();
}

QString textOf(ShopContext& context, const char* sql, qint64 id)
{
    SqlStatement query(context.db, sql);
    query.bind(1, id);
    return query.next() ? query.text(0) : QString();
}

// The stock a line may take: the goods' own, or that of the chosen variant when the goods
// has one for that value. Nothing when the goods (or the variant) is not sold.
std::optional<qint64> stockFor(ShopContext& context, qint64 storeId, qint64 paramValueId)
{
    if (paramValueId > 0) {
        SqlStatement variant(context.db, "SELECT how, status FROM store_add WHERE store_id=? AND "
                                         "param_value_id=?");
        variant.bind(1, storeId).bind(2, paramValueId);
        if (variant.next()) {
            if (variant.integer(1) == 4)
                return std::nullopt;
            return variant.integer(0);
        }
    }
    SqlStatement goods(context.db, "SELECT how FROM store WHERE id=?");
    goods.bind(1, storeId);
    if (!goods.next())
        return std::nullopt;
    return goods.integer(0);
}

Outcome check(ShopContext& context, pugi::xml_node order)
{
    const qint64 partnerId = integerAttribute(order, "partner_id");
    if (partnerId > 0 && !exists(context, "SELECT 1 FROM partner WHERE id=?", partnerId))
        return {QStringLiteral("ErrorPartner"), {}, {}};
    const qint64 managerId = integerAttribute(order, "manager_id");
    if (managerId > 0 && !exists(context, "SELECT 1 FROM manager WHERE id=?", managerId))
        return {QStringLiteral("ErrorManager"), {}, {}};
    const qint64 orderId = integerAttribute(order, "order_id");
    if (orderId > 0) {
        SqlStatement current(context.db, "SELECT manager_id FROM archive_order WHERE id=?");
        current.bind(1, orderId);
        if (current.next() && current.integer(0) > 0 && current.integer(0) != context.managerId)
            return {QStringLiteral("ErrorManagerExists"), {}, {}};
    }
    const qint64 clientId = integerAttribute(order, "client_id");
    if (clientId > 0 && !exists(context, "SELECT 1 FROM client WHERE id=?", clientId))
        return {QStringLiteral("ErrorClient"), {}, {}};
    const bool ignoreAbsent = integerAttribute(order, "error_ignore") != 0;
    for (pugi::xml_node line : order.child("STORE").children()) {
        const QString name = XmlAnswer::attribute(line, "name");
        const std::optional<qint64> stock = stockFor(context, integerAttribute(line, "store_id"),
                                                     integerAttribute(line, "param_value_id"));
        if (!stock) {
            if (ignoreAbsent)
                continue;
            return {QStringLiteral("ErrorGoodsAbsent"), name, {}};
        }
        if (integerAttribute(line, "how") > *stock)
            return {QStringLiteral("ErrorGoodsHow"), name, QString::number(*stock)};
    }
    return {QStringLiteral("OK"), {}, {}};
}

// A buyer known only by e-mail becomes a client of the shop (or is found by that e-mail),
// registered with the fields the order carries.
qint64 clientForEmail(ShopContext& context, const QString& email, pugi::xml_node fields)
{
    SqlStatement known(context.db, "SELECT id FROM client WHERE lower(email)=lower(?)");
    known.bind(1, email);
    if (known.next())
        return known.integer(0);
    SqlStatement last(context.db, "SELECT COALESCE(MAX(id),0)+1 FROM client");
    last.next();
    const qint64 id = last.integer(0);
    RowInserter client(context.db, "client");
    client.set("id", id)
        .set("do", 0)
        .set("login", email.section(QLatin1Char('@'), 0, 0))
        .set("pass", QString::fromLatin1(
                         QCryptographicHash::hash(email.toUtf8(), QCryptographicHash::Md5).toHex()))
        .set("email", email)
        .set("proc", SqlValue(0.0))
        .set("suma", SqlValue(0.0))
        .set("category_id", 0)
        .set("orders_suma", SqlValue(0.0))
        .set("reg_date", context.now().date().toString(QStringLiteral("yyyy-MM-dd")))
        .set("rules_allow", 1)
        .insert();
    RowInserter value(context.db, "client_field_value");
    QSet<qint64> seen;
    for (pugi::xml_node field : fields.children()) {
        const qint64 fieldId = integerAttribute(field, "field_id");
        if (fieldId <= 0 || seen.contains(fieldId))
            continue;
        seen.insert(fieldId);
        const bool folder = integerAttribute(field, "isfolder") != 0 ||
                            XmlAnswer::attribute(field, "isfolder").toLower() == u"true";
        value.set("client_id", id)
            .set("id", fieldId)
            .set("name", XmlAnswer::attribute(field, "name"))
            .set("isfolder", folder ? 1 : 0)
            .set("absindex", integerAttribute(field, "absindex"));
        if (!folder && !XmlAnswer::attribute(field, "value_text").isEmpty())
            value.set("value_text", XmlAnswer::attribute(field, "value_text"));
        value.insert();
    }
    return id;
}

// Copies the attributes that name columns of the table, except those the shop decides.
void copyAttributes(RowInserter& row, pugi::xml_node node, const QSet<QString>& shopOwned)
{
    for (pugi::xml_attribute attribute : node.attributes()) {
        const QString name = QString::fromUtf8(attribute.name());
        const int index = row.columnIndex(name);
        if (index < 0 || shopOwned.contains(name.toLower()))
            continue;
        row.setAt(index, RecordText::toColumn(row.table().fields[std::size_t(index)],
                                              QString::fromUtf8(attribute.value())));
    }
}

qint64 store(ShopContext& context, pugi::xml_node draft, bool& changed)
{
    qint64 orderId = integerAttribute(draft, "order_id");
    changed = orderId > 0 && exists(context, "SELECT 1 FROM archive_order WHERE id=?", orderId);
    QString code;
    QString sid;
    QString updateTime;
    if (changed) {
        updateTime = OrderCommands::nextUpdateTime(context, orderId);
        SqlStatement current(context.db, "SELECT code, sid FROM archive_order WHERE id=?");
        current.bind(1, orderId);
        current.next();
        code = current.text(0);
        sid = current.text(1);
        OrderCommands::deleteOrder(context, orderId);
    } else {
        SqlStatement last(context.db, "SELECT COALESCE(MAX(id),0)+1 FROM archive_order");
        last.next();
        orderId = last.integer(0);
        updateTime = OrderCommands::nextUpdateTime(context, orderId);
        code = QStringLiteral("ДШ-%1").arg(orderId, 6, 10, QLatin1Char('0'));
        sid = QString::fromLatin1(
            QCryptographicHash::hash(code.toUtf8(), QCryptographicHash::Md5).toHex());
    }
    qint64 clientId = integerAttribute(draft, "client_id");
    const QString email = XmlAnswer::attribute(draft, "client_email").trimmed();
    if (clientId <= 0 && !email.isEmpty())
        clientId = clientForEmail(context, email, draft.child("CLIENT"));

    RowInserter order(context.db, "archive_order");
    copyAttributes(order, draft,
                   {QStringLiteral("id"), QStringLiteral("sid"), QStringLiteral("code"),
                    QStringLiteral("status_was"), QStringLiteral("payment_was"),
                    QStringLiteral("update_time"), QStringLiteral("manager_name"),
                    QStringLiteral("partner_login"), QStringLiteral("send_note"),
                    QStringLiteral("send_email")});
    const qint64 managerId = integerAttribute(draft, "manager_id");
    const qint64 partnerId = integerAttribute(draft, "partner_id");
    const int status = int(integerAttribute(draft, "status"));
    const int payment = int(integerAttribute(draft, "get_payment"));
    QDateTime orderTime = WireText::parseDateTime(XmlAnswer::attribute(draft, "date_time"));
    if (!orderTime.isValid() || orderTime.date() == QDate(1899, 12, 30))
        orderTime = context.now();
    order.set("id", orderId)
        .set("sid", sid)
        .set("code", code)
        .set("client_id", clientId)
        .set("status_was", status)
        .set("payment_was", payment)
        .set("date_time", WireText::storedTimestamp(orderTime))
        .set("manager_name", textOf(context, "SELECT name FROM manager WHERE id=?", managerId))
        .set("partner_login", textOf(context, "SELECT login FROM partner WHERE id=?", partnerId))
        .set("send_email", 1)
        .set("update_time", updateTime)
        .insert();

    SqlStatement lastLine(context.db, "SELECT COALESCE(MAX(id),0) FROM archive_basket");
    lastLine.next();
    qint64 lineId = lastLine.integer(0);
    RowInserter line(context.db, "archive_basket");
    for (pugi::xml_node goods : draft.child("STORE").children()) {
        copyAttributes(line, goods, {QStringLiteral("id"), QStringLiteral("order_id")});
        line.set("id", ++lineId).set("order_id", orderId).insert();
    }
    RowInserter field(context.db, "archive_client_field");
    QSet<qint64> fieldIds;
    for (pugi::xml_node value : draft.child("CLIENT").children()) {
        // A field twice in one draft would break the order's key; the first one counts.
        const qint64 fieldId = integerAttribute(value, "field_id");
        if (fieldIds.contains(fieldId))
            continue;
        fieldIds.insert(fieldId);
        copyAttributes(field, value, {QStringLiteral("order_id")});
        field.set("order_id", orderId).insert();
    }
    return orderId;
}

} // namespace

Answer applyOrdersUpdate(ShopContext& context, const QByteArray& payload)
{
    pugi::xml_document document;
    if (!XmlAnswer::parseCp1251(document, payload) ||
        std::strcmp(document.document_element().name(), "VUZUDOVAZE") != 0)
        return Answer::error("PHP_ERROR", QStringLiteral("Неверный документ заказов"));

    XmlAnswer xml;
    ShopTransaction transaction(context.db);
    for (pugi::xml_node draft : document.document_element().children("ORDER")) {
        const Outcome outcome = check(context, draft);
        pugi::xml_node result = xml.root().append_child("ROW");
        XmlAnswer::setAttribute(result, "id", XmlAnswer::attribute(draft, "id"));
        if (outcome.result != QLatin1String("OK")) {
            XmlAnswer::setAttribute(result, "result", outcome.result);
            XmlAnswer::setAttribute(result, "order_id", XmlAnswer::attribute(draft, "order_id"));
            XmlAnswer::setAttribute(result, "order_code", XmlAnswer::attribute(draft, "code"));
            XmlAnswer::setAttribute(result, "order_date_time",
                                    XmlAnswer::attribute(draft, "date_time"));
            if (!outcome.goodsName.isNull())
                XmlAnswer::setAttribute(result, "goods_name", outcome.goodsName);
            if (!outcome.goodsHow.isNull())
                XmlAnswer::setAttribute(result, "goods_how", outcome.goodsHow);
            continue;
        }
        bool changed = false;
        const qint64 orderId = store(context, draft, changed);
        SqlStatement stored(context.db, "SELECT code, date_time FROM archive_order WHERE id=?");
        stored.bind(1, orderId);
        stored.next();
        XmlAnswer::setAttribute(result, "result",
                                changed ? QStringLiteral("EditOK") : QStringLiteral("AddOK"));
        XmlAnswer::setAttribute(result, "order_id", QString::number(orderId));
        XmlAnswer::setAttribute(result, "order_code", stored.text(0));
        XmlAnswer::setAttribute(result, "order_date_time", stored.text(1));
        OrderCommands::appendOrderRecords(context, orderId, result.append_child("ORDER"),
                                          result.append_child("CLIENT"),
                                          result.append_child("GOODS"));
    }
    transaction.commit();
    return Answer::zipResult(context.entryName(), xml.toCp1251());
}

} // namespace DraftCommands

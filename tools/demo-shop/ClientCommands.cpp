#include "ClientCommands.h"

#include "Cp1251.h"
#include "ShopDb.h"
#include "SqlStatement.h"
#include "WireText.h"
#include "XmlAnswer.h"

#include <QHash>
#include <QList>

#include <optional>

namespace ClientCommands {

namespace {

const Schema::Table& table(const char* name)
{
    return *Schema::find(QString::fromLatin1(name));
}

// A comparison of the criteria form: an empty operator asks for nothing.
template <typename T>
bool compares(const QString& oper, const std::optional<T>& value, const T& wanted)
{
    if (oper.isEmpty())
        return true;
    if (!value)
        return false;
    if (oper == QLatin1String("="))
        return *value == wanted;
    if (oper == QLatin1String("<"))
        return *value < wanted;
    if (oper == QLatin1String(">"))
        return *value > wanted;
    if (oper == QLatin1String("<>"))
        return *value != wanted;
    return false;
}

struct Criteria {
    QHash<QString, QString> values;

    QString text(const char* key) const { return values.value(QLatin1String(key)); }
    qint64 integer(const char* key) const { return text(key).trimmed().toLongLong(); }
    Amount money(const char* key) const
    {
        return WireText::parseMoney(text(key)).value_or(Amount());
    }
};

std::optional<Amount> moneyColumn(const SqlStatement& row, int column)
{
    if (row.isNull(column))
        return std::nullopt;
    return Amount::fromDouble(row.real(column)).roundToCents();
}

std::optional<QDate> dateColumn(const SqlStatement& row, int column)
{
    const QDate date = QDate::fromString(row.text(column).left(10), QStringLiteral("yyyy-MM-dd"));
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

bool fieldMatches(ShopContext& context, qint64 clientId, qint64 fieldId, const QString& text)
{
    SqlStatement values(context.db, fieldId > 0 ? "SELECT value_text FROM client_field_value WHERE "
                                                  "client_id=? AND id=?"
                                                : "SELECT value_text FROM client_field_value WHERE "
                                                  "client_id=? AND id<>?");
    values.bind(1, clientId).bind(2, fieldId);
    while (values.next())
        if (values.text(0).contains(text, Qt::CaseInsensitive))
            return true;
    return false;
}

// The ids of the clients the criteria select, newest registration first.
QList<qint64> matchingClients(ShopContext& context, const std::optional<Criteria>& criteria)
{
    SqlStatement clients(context.db,
                         "SELECT id, login, email, proc, suma, category_id, orders_suma, "
                         "reg_date, last_date, rules_allow FROM client "
                         "ORDER BY reg_date DESC, id DESC");
    QList<qint64> ids;
    while (clients.next()) {
        const qint64 id = clients.integer(0);
        if (criteria) {
            const Criteria& c = *criteria;
            const QString wantedId = c.text("id").trimmed();
            const qint64 categoryId = c.integer("category_id");
            const qint64 rules = c.integer("rules_allow");
            const QString fieldText = c.text("field_value");
            const bool matches =
                (wantedId.isEmpty() || wantedId == QString::number(id)) &&
                clients.text(1).contains(c.text("login"), Qt::CaseInsensitive) &&
                clients.text(2).contains(c.text("email"), Qt::CaseInsensitive) &&
                compares(c.text("proc_oper"), moneyColumn(clients, 3), c.money("proc_value")) &&
                compares(c.text("suma_oper"), moneyColumn(clients, 4), c.money("suma_value")) &&
                (categoryId <= 0 || clients.integer(5) == categoryId) &&
                compares(c.text("orders_suma_oper"), moneyColumn(clients, 6),
                         c.money("orders_suma_value")) &&
                compares(c.text("reg_date_oper"), dateColumn(clients, 7),
                         WireText::parseShortDate(c.text("reg_date_value"))) &&
                compares(c.text("last_date_oper"), dateColumn(clients, 8),
                         WireText::parseShortDate(c.text("last_date_value"))) &&
                (rules != 0 && rules != 1 ? true
                                          : !clients.isNull(9) && clients.integer(9) == rules) &&
                (fieldText.isEmpty() ||
                 fieldMatches(context, id, c.integer("field_id"), fieldText));
            if (!matches)
                continue;
        }
        ids.append(id);
    }
    return ids;
}

Answer clientList(ShopContext& context, const std::optional<Criteria>& criteria)
{
    const QList<qint64> ids = matchingClients(context, criteria);
    const qsizetype transfer = std::min<qsizetype>(ids.size(), context.transferLimit);
    XmlAnswer xml;
    pugi::xml_node clients = xml.container("CLIENTS");
    XmlAnswer::setAttribute(clients, "total", QString::number(ids.size()));
    XmlAnswer::setAttribute(clients, "transfer", QString::number(transfer));
    pugi::xml_node fields = xml.container("CLIENTFIELD");
    SqlStatement client(context.db, "SELECT * FROM client WHERE id=?");
    SqlStatement values(context.db,
                        "SELECT * FROM client_field_value WHERE client_id=? ORDER BY absindex");
    for (qsizetype i = 0; i < transfer; ++i) {
        client.reset();
        client.bind(1, ids[i]);
        XmlAnswer::appendRows(clients, client, table("client"));
        values.reset();
        values.bind(1, ids[i]);
        XmlAnswer::appendRows(fields, values, table("client_field_value"));
    }
    return Answer::zipResult(context.entryName(), xml.toCp1251());
}

void addField(pugi::xml_node fields, const QString& orderId, qint64 fieldId, const QString& name,
              int level, qint64 absindex, bool folder, const QString& value)
{
    pugi::xml_node row = fields.append_child("ROW");
    XmlAnswer::setAttribute(row, "order_id", orderId);
    XmlAnswer::setAttribute(row, "field_id", QString::number(fieldId));
    XmlAnswer::setAttribute(row, "name", name);
    XmlAnswer::setAttribute(row, "tab_name",
                            QString(level * 4, QLatin1Char(' ')) +
                                (folder ? QString() : QStringLiteral("· ")) + name);
    XmlAnswer::setAttribute(row, "tlevel", QString::number(level));
    XmlAnswer::setAttribute(row, "absindex", QString::number(absindex));
    XmlAnswer::setAttribute(row, "isfolder", folder ? QStringLiteral("1") : QStringLiteral("0"));
    if (!value.isEmpty())
        XmlAnswer::setAttribute(row, "value_text", value);
}

// One column of a change record. An empty text empties the column; a text that does not
// read leaves no change, so the shop keeps what it has.
struct Change {
    QString column;
    SqlValue value;
};

} // namespace

Answer getClientFields(ShopContext& context, const QString& values)
{
    QString orderId;
    qint64 clientId = 0;
    for (const auto& [key, value] : WireText::parameterList(Cp1251::encode(values))) {
        if (key == QLatin1String("order_id"))
            orderId = value;
        else if (key == QLatin1String("client_id"))
            clientId = value.toLongLong();
    }
    SqlStatement client(context.db, "SELECT login, email, category_name FROM client WHERE id=?");
    client.bind(1, clientId);
    if (!client.next())
        return Answer::error("SQL_ERROR", QStringLiteral("Покупатель %1 не найден").arg(clientId));

    XmlAnswer xml;
    pugi::xml_node fields = xml.container("FIELDS");
    addField(fields, orderId, -3, QStringLiteral("Логин"), 0, 0, false, client.text(0));
    addField(fields, orderId, -2, QStringLiteral("E-mail"), 0, 1, false, client.text(1));
    addField(fields, orderId, -1, QStringLiteral("Категория скидки"), 0, 2, false, client.text(2));
    SqlStatement catalogue(context.db,
                           "SELECT f.id, f.name, f.tlevel, f.absindex, f.isfolder, v.value_text "
                           "FROM client_field f LEFT JOIN client_field_value v "
                           "ON v.id=f.id AND v.client_id=? ORDER BY f.absindex");
    catalogue.bind(1, clientId);
    while (catalogue.next())
        addField(fields, orderId, catalogue.integer(0), catalogue.text(1),
                 int(catalogue.integer(2)), catalogue.integer(3) + 3, catalogue.integer(4) != 0,
                 catalogue.text(5));
    return Answer::zipResult(context.entryName(), xml.toCp1251());
}

Answer searchClients(ShopContext& context, const QByteArray& payload)
{
    Criteria criteria;
    for (const auto& [key, value] : WireText::parameterList(payload))
        criteria.values.insert(key, value);
    return clientList(context, criteria);
}

Answer getAllClients(ShopContext& context)
{
    return clientList(context, std::nullopt);
}

Answer saveClientParam(ShopContext& context, const QByteArray& payload)
{
    struct Record {
        qint64 id;
        int mark;
        QList<Change> changes;
    };
    QList<Record> records;
    for (const QByteArray& text : payload.split(';')) {
        if (text.trimmed().isEmpty())
            continue;
        const QStringList parts = Cp1251::decode(text).split(QLatin1Char('|'));
        bool idOk = false;
        bool markOk = false;
        const qint64 id = parts.value(0).trimmed().toLongLong(&idOk);
        const int mark = parts.value(1).trimmed().toInt(&markOk);
        if (parts.size() != 9 || !idOk || !markOk || (mark != 1 && mark != 2))
            return Answer::error("PHP_ERROR",
                                 QStringLiteral("Неверная запись изменений покупателя: %1")
                                     .arg(Cp1251::decode(text)));
        Record record{id, mark, {}};
        const auto money = [&](const char* column, const QString& value) {
            if (value.trimmed().isEmpty())
                record.changes.append({QLatin1String(column), SqlValue()});
            else if (const std::optional<Amount> amount = WireText::parseMoney(value))
                record.changes.append({QLatin1String(column), amount->toDouble()});
        };
        const auto integer = [&](const char* column, const QString& value) {
            bool ok = false;
            const qint64 number = value.trimmed().toLongLong(&ok);
            if (value.trimmed().isEmpty())
                record.changes.append({QLatin1String(column), SqlValue()});
            else if (ok)
                record.changes.append({QLatin1String(column), number});
        };
        const auto date = [&](const char* column, const QString& value) {
            const QDate parsed = WireText::parseShortDate(value);
            if (value.trimmed().isEmpty())
                record.changes.append({QLatin1String(column), SqlValue()});
            else if (parsed.isValid())
                record.changes.append(
                    {QLatin1String(column), parsed.toString(QStringLiteral("yyyy-MM-dd"))});
        };
        money("proc", parts[2]);
        money("suma", parts[3]);
        integer("category_id", parts[4]);
        money("orders_suma", parts[5]);
        integer("rules_allow", parts[6]);
        date("reg_date", parts[7]);
        date("last_date", parts[8]);
        records.append(record);
    }

    ShopTransaction transaction(context.db);
    for (const Record& record : records) {
        if (record.mark == 2) {
            for (const char* sql : {"DELETE FROM client_field_value WHERE client_id=?",
                                    "DELETE FROM client WHERE id=?"}) {
                SqlStatement remove(context.db, sql);
                remove.bind(1, record.id).run();
            }
            continue;
        }
        // The column names are the fixed ones above, never text from the request.
        for (const Change& change : record.changes) {
            SqlStatement update(
                context.db,
                QStringLiteral("UPDATE client SET \"%1\"=? WHERE id=?").arg(change.column));
            update.bind(1, change.value).bind(2, record.id).run();
        }
        SqlStatement category(context.db,
                              "UPDATE client SET category_name=(SELECT name FROM category WHERE "
                              "category.id=client.category_id) WHERE id=?");
        category.bind(1, record.id).run();
    }
    transaction.commit();
    return Answer::queryExecuted();
}

} // namespace ClientCommands

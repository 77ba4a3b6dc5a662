#include "Cp1251.h"
#include "ReferenceCommands.h"
#include "Schema.h"
#include "ShopHarness.h"
#include "SqlStatement.h"

#include <QRegularExpression>
#include <QTest>

#include <set>
#include <sstream>

using Changes = QMap<QString, QString>;

namespace {

QByteArray w(const char* utf8)
{
    return Cp1251::encode(QString::fromUtf8(utf8));
}

QString attr(pugi::xml_node node, const char* name)
{
    return QString::fromUtf8(node.attribute(name).value());
}

QString text(const QByteArray& cp1251)
{
    return Cp1251::decode(cp1251);
}

QList<qint64> ids(SqlStatement& query)
{
    QList<qint64> list;
    while (query.next())
        list.append(query.integer(0));
    return list;
}

// The criteria list exactly as the client manager sends it with its initial values, with
// some keys replaced.
QByteArray criteria(const QMap<QString, QString>& changes)
{
    const char* const keys[][2] = {{"login", ""},
                                   {"email", ""},
                                   {"id", ""},
                                   {"proc_oper", ""},
                                   {"suma_oper", ""},
                                   {"proc_value", "0%2C00"},
                                   {"suma_value", "0%2C00"},
                                   {"category_id", "0"},
                                   {"orders_suma_oper", ""},
                                   {"orders_suma_value", "0%2C00"},
                                   {"reg_date_oper", ""},
                                   {"reg_date_value", "2026.06.15"},
                                   {"last_date_oper", ""},
                                   {"last_date_value", "2026.06.15"},
                                   {"rules_allow", "2"},
                                   {"field_id", "0"},
                                   {"field_value", ""}};
    QStringList pairs;
    for (const auto& key : keys) {
        const QString name = QLatin1String(key[0]);
        pairs << name + QLatin1Char('=') + changes.value(name, QLatin1String(key[1]));
    }
    return pairs.join(QLatin1Char('&')).toLatin1();
}

} // namespace

class tst_DemoShopCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<ShopHarness> shop;

    pugi::xml_document answerDocument(const QByteArray& command, const QByteArray& values = {},
                                      const std::optional<QByteArray>& data = std::nullopt)
    {
        const ShopHarness::Reply reply = shop->post(command, values, data);
        pugi::xml_document document;
        if (!ShopHarness::load(document, ShopHarness::zipResult(reply.body)))
            qWarning("the answer of %s is no XML", command.constData());
        return document;
    }

    QByteArray draft(const QMap<QString, QString>& order,
                     const QList<QMap<QString, QString>>& lines);

private slots:
    void init() { shop = std::make_unique<ShopHarness>(); }
    void cleanup() { shop.reset(); }

    void lastUpdate_data();
    void lastUpdate();
    void tablesInfoAndPages();
    void tableDataColumns();
    void tableDataRefused_data();
    void tableDataRefused();
    void compareSendsEveryOrderInTransfers();
    void compareSendsChangedOrdersAndGhosts();
    void statusUpload();
    void statusUploadRefusesMalformedLists_data();
    void statusUploadRefusesMalformedLists();
    void orderNote();
    void drafts();
    void clientFields();
    void searchClients_data();
    void searchClients();
    void allClients();
    void saveClientParam();
    void otherCommands_data();
    void otherCommands();
};

void tst_DemoShopCommands::lastUpdate_data()
{
    QTest::addColumn<QByteArray>("values");
    QTest::addColumn<QByteArray>("login");
    QTest::addColumn<QByteArray>("answer");
    // The seeded shop's data time is its clock's: 2026-06-15 12:00:00.
    QTest::newRow("ten years old") << QByteArray("2016-06-15 12:00:00") << QByteArray("manager")
                                   << QByteArray("RETURN_VALUE 1");
    QTest::newRow("one second old") << QByteArray("2026-06-15 11:59:59") << QByteArray("manager")
                                    << QByteArray("RETURN_VALUE 1");
    QTest::newRow("same time") << QByteArray("2026-06-15 12:00:00") << QByteArray("manager")
                               << QByteArray("RETURN_VALUE DONT_NEED_UPDATE");
    QTest::newRow("newer, date alone") << QByteArray("2026-06-16") << QByteArray("manager")
                                       << QByteArray("RETURN_VALUE DONT_NEED_UPDATE");
    QTest::newRow("another manager")
        << QByteArray("2016-06-15") << QByteArray("olga") << QByteArray("RETURN_VALUE 2");
    QTest::newRow("no time") << QByteArray() << QByteArray("manager")
                             << QByteArray("RETURN_VALUE 1");
}

void tst_DemoShopCommands::lastUpdate()
{
    QFETCH(QByteArray, values);
    QFETCH(QByteArray, login);
    QFETCH(QByteArray, answer);
    const ShopHarness::Reply reply = shop->post("GET_LAST_UPDATE", values, std::nullopt, login);
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.body, answer);
}

void tst_DemoShopCommands::tablesInfoAndPages()
{
    const pugi::xml_document info = answerDocument("GET_TABLES_INFO");
    const QList<QMap<QString, QString>> tables = ShopHarness::records(info, "TABLES");
    QStringList names;
    for (const auto& table : tables)
        names << table.value(QStringLiteral("Name"));
    QCOMPARE(names, ReferenceCommands::referenceTables());

    const QRegularExpression decimal(QStringLiteral("^-?\\d+(\\.\\d*[1-9])?$"));
    for (const auto& table : tables) {
        const QString name = table.value(QStringLiteral("Name"));
        const qint64 rows = table.value(QStringLiteral("Rows")).toLongLong();
        SqlStatement count(shop->db(), QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(name));
        count.next();
        QCOMPARE(rows, count.integer(0));
        QVERIFY2(rows > 0, qPrintable(name));

        // Odd pages, so that the last one is short; one more page past the end is empty.
        const Schema::Table* schema = Schema::find(name);
        std::set<QString> keys;
        qint64 received = 0;
        for (qint64 first = 1; first <= rows + 1; first += 7) {
            const pugi::xml_document page = answerDocument(
                "GET_TABLE_DATA", QStringLiteral("%1;*;%2;7").arg(name).arg(first).toLatin1());
            const QList<QMap<QString, QString>> part = ShopHarness::records(page, "PART");
            QCOMPARE(part.size(), int(std::min<qint64>(7, std::max<qint64>(0, rows - first + 1))));
            for (const auto& row : part) {
                QString key;
                for (int i = 0; i < schema->keyFieldCount; ++i)
                    key += row.value(QLatin1String(schema->fields[std::size_t(i)].name)) +
                           QLatin1Char('/');
                QVERIFY2(keys.insert(key).second, qPrintable(name + QLatin1Char(' ') + key));
                for (auto it = row.begin(); it != row.end(); ++it) {
                    const Schema::Field* field = nullptr;
                    for (const Schema::Field& f : schema->fields)
                        if (it.key() == QLatin1String(f.name))
                            field = &f;
                    QVERIFY2(field, qPrintable(name + QLatin1Char('.') + it.key()));
                    if (field->type == Schema::FieldType::Decimal)
                        QVERIFY2(decimal.match(it.value()).hasMatch(), qPrintable(it.value()));
                    if (field->type == Schema::FieldType::Logical)
                        QVERIFY(it.value() == QLatin1String("0") ||
                                it.value() == QLatin1String("1"));
                }
            }
            received += part.size();
        }
        QCOMPARE(received, rows);
    }

    // Russian text arrives as windows-1251 and reads back as it was seeded.
    const pugi::xml_document values = answerDocument("GET_TABLE_DATA", "shop_values;*;1;10");
    bool found = false;
    for (const auto& row : ShopHarness::records(values, "PART"))
        if (row.value(QStringLiteral("key_name")) == QLatin1String("main_base_curr"))
            found = row.value(QStringLiteral("key_value")) == QString::fromUtf8("руб.");
    QVERIFY(found);
}

void tst_DemoShopCommands::tableDataColumns()
{
    const pugi::xml_document page = answerDocument("GET_TABLE_DATA", "STORE;id, Name;3;2");
    const QList<QMap<QString, QString>> part = ShopHarness::records(page, "PART");
    QCOMPARE(part.size(), 2);
    QCOMPARE(part[0].keys(), (QStringList{QStringLiteral("id"), QStringLiteral("name")}));
    QCOMPARE(part[0].value(QStringLiteral("id")), QStringLiteral("3"));
    QCOMPARE(part[1].value(QStringLiteral("id")), QStringLiteral("4"));
}

void tst_DemoShopCommands::tableDataRefused_data()
{
    QTest::addColumn<QByteArray>("values");
    QTest::addColumn<QByteArray>("word");
    QTest::newRow("unknown table") << QByteArray("nosuch;*;1;10") << QByteArray("SQL_ERROR ");
    QTest::newRow("orders are no reference table")
        << QByteArray("archive_order;*;1;10") << QByteArray("SQL_ERROR ");
    QTest::newRow("rows count from 1") << QByteArray("store;*;0;10") << QByteArray("PHP_ERROR ");
    QTest::newRow("count missing") << QByteArray("store;*;1") << QByteArray("PHP_ERROR ");
    QTest::newRow("SQL as a column")
        << QByteArray("store;id FROM client --;1;10") << QByteArray("SQL_ERROR ");
}

void tst_DemoShopCommands::tableDataRefused()
{
    QFETCH(QByteArray, values);
    QFETCH(QByteArray, word);
    const ShopHarness::Reply reply = shop->post("GET_TABLE_DATA", values);
    QVERIFY2(reply.body.startsWith(word), reply.body.constData());
    QVERIFY(reply.body.size() > word.size());
}

void tst_DemoShopCommands::compareSendsEveryOrderInTransfers()
{
    const QByteArray period = "2026-03-15 12:00:00;2026-06-15 12:00:00";
    SqlStatement inPeriod(shop->db(),
                          "SELECT id FROM archive_order WHERE date_time >= '2026-03-15 12:00:00' "
                          "AND date_time <= '2026-06-15 12:00:00' ORDER BY id");
    const QList<qint64> expected = ids(inPeriod);
    QVERIFY(expected.size() > 50);

    QMap<qint64, QString> held; // what the trader would hold after each answer
    int answers = 0;
    for (;;) {
        QByteArray list = "0=0";
        for (auto it = held.begin(); it != held.end(); ++it)
            list += '&' + QByteArray::number(it.key()) + '=' + it.value().toLatin1();
        const pugi::xml_document answer = answerDocument("COMPARE_ARCHIVE_ORDERS", period, list);
        ++answers;
        const pugi::xml_node info = answer.document_element().child("INFO");
        const int total = info.attribute("total").as_int();
        const int transfer = info.attribute("transfer").as_int();
        QCOMPARE(total, int(expected.size() - held.size()));
        QCOMPARE(transfer, std::min(total, 25));
        QVERIFY(ShopHarness::records(answer, "GHOST").isEmpty());

        const auto orders = ShopHarness::records(answer, "ORDER");
        QCOMPARE(orders.size(), transfer);
        std::set<QString> sent;
        for (const auto& order : orders) {
            const qint64 id = order.value(QStringLiteral("id")).toLongLong();
            QVERIFY2(!held.contains(id), "an order the trader holds came again");
            QCOMPARE(order.value(QStringLiteral("status_was")),
                     order.value(QStringLiteral("status")));
            QCOMPARE(order.value(QStringLiteral("payment_was")),
                     order.value(QStringLiteral("get_payment")));
            QVERIFY(!order.value(QStringLiteral("sid")).isEmpty());
            held.insert(id, order.value(QStringLiteral("update_time")));
            sent.insert(order.value(QStringLiteral("id")));
        }
        int lines = 0;
        for (const auto& line : ShopHarness::records(answer, "GOODS")) {
            QVERIFY(sent.count(line.value(QStringLiteral("order_id"))));
            ++lines;
        }
        for (const auto& field : ShopHarness::records(answer, "CLIENT"))
            QVERIFY(sent.count(field.value(QStringLiteral("order_id"))));
        QVERIFY(lines >= transfer);
        if (total == transfer)
            break;
        QVERIFY(answers < 100);
    }
    QCOMPARE(held.keys(), expected);
    QCOMPARE(answers, int((expected.size() + 24) / 25));
}

void tst_DemoShopCommands::compareSendsChangedOrdersAndGhosts()
{
    SqlStatement all(shop->db(), "SELECT id, update_time FROM archive_order ORDER BY id");
    QByteArray list = "0=0";
    while (all.next()) {
        const qint64 id = all.integer(0);
        // Order 2 the trader holds with an older time; its empty time is the trader's 1899-12-30.
        const QString time = id == 2 ? QStringLiteral("1899-12-30") : all.text(1);
        list += '&' + QByteArray::number(id) + '=' + time.toLatin1();
    }
    list += "&999999=2026-01-01 10:00:00";
    const pugi::xml_document answer =
        answerDocument("COMPARE_ARCHIVE_ORDERS", "2025-01-01;2026-06-15 12:00:00", list);
    const auto orders = ShopHarness::records(answer, "ORDER");
    QCOMPARE(orders.size(), 1);
    QCOMPARE(orders[0].value(QStringLiteral("id")), QStringLiteral("2"));
    const auto ghosts = ShopHarness::records(answer, "GHOST");
    QCOMPARE(ghosts.size(), 1);
    QCOMPARE(ghosts[0].value(QStringLiteral("id")), QStringLiteral("999999"));
    const pugi::xml_node info = answer.document_element().child("INFO");
    QCOMPARE(info.attribute("total").as_int(), 1);
    QCOMPARE(info.attribute("transfer").as_int(), 1);

    const ShopHarness::Reply wrongPeriod =
        shop->post("COMPARE_ARCHIVE_ORDERS", "2026-01-01", "0=0");
    QVERIFY(wrongPeriod.body.startsWith("PHP_ERROR "));
}

void tst_DemoShopCommands::statusUpload()
{
    const QString oldTime1 = shop->queryText("SELECT update_time FROM archive_order WHERE id=1");
    QCOMPARE(shop->queryNumber("SELECT status FROM archive_order WHERE id=1"), 0);
    QCOMPARE(shop->queryNumber("SELECT get_payment FROM archive_order WHERE id=2"), 1);
    QVERIFY(shop->queryNumber("SELECT COUNT(*) FROM archive_basket WHERE order_id=3") > 0);

    // Order 1 accepted with a note, order 2 paid, order 3 deleted (status 5).
    const QByteArray note =
        "%C2%E0%F8+%E7%E0%EA%E0%E7+%EF%F0%E8%ED%FF%F2%21"; // "Ваш заказ принят!"
    const ShopHarness::Reply reply =
        shop->post("UPDATE_ORDERS_ARCHIVE", {}, "1=1;3=5;:2=2;:1=" + note + ";3=;:1=1;3=0;");
    QCOMPARE(reply.body, QByteArray("QUERY_EXECUTE"));

    QCOMPARE(shop->queryNumber("SELECT status FROM archive_order WHERE id=1"), 1);
    QCOMPARE(shop->queryNumber("SELECT status_was FROM archive_order WHERE id=1"), 1);
    QVERIFY(shop->queryText("SELECT update_time FROM archive_order WHERE id=1") > oldTime1);
    QCOMPARE(shop->queryNumber("SELECT get_payment FROM archive_order WHERE id=2"), 2);
    QCOMPARE(shop->queryNumber("SELECT payment_was FROM archive_order WHERE id=2"), 2);
    QCOMPARE(shop->queryNumber("SELECT COUNT(*) FROM archive_order WHERE id=3"), 0);
    QCOMPARE(shop->queryNumber("SELECT COUNT(*) FROM archive_basket WHERE order_id=3"), 0);
    QCOMPARE(shop->queryNumber("SELECT COUNT(*) FROM archive_client_field WHERE order_id=3"), 0);
    QCOMPARE(shop->queryText("SELECT note FROM buyer_note WHERE order_id=1"),
             QString::fromUtf8("Ваш заказ принят!"));
    QCOMPARE(shop->queryNumber("SELECT send_email FROM buyer_note WHERE order_id=1"), 1);

    // A trader that still holds the old times gets the two orders again, and order 3 as gone.
    SqlStatement held(shop->db(), "SELECT id FROM archive_order WHERE id > 3 ORDER BY id");
    QByteArray list = "0=0&1=" + oldTime1.toLatin1() + "&2=2000-01-01&3=2000-01-01";
    while (held.next()) {
        SqlStatement time(shop->db(), "SELECT update_time FROM archive_order WHERE id=?");
        time.bind(1, held.integer(0));
        time.next();
        list += '&' + QByteArray::number(held.integer(0)) + '=' + time.text(0).toLatin1();
    }
    const pugi::xml_document answer =
        answerDocument("COMPARE_ARCHIVE_ORDERS", "2025-01-01;2026-06-15 12:00:00", list);
    QStringList sent;
    for (const auto& order : ShopHarness::records(answer, "ORDER"))
        sent << order.value(QStringLiteral("id"));
    QCOMPARE(sent, (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    QCOMPARE(ShopHarness::records(answer, "GHOST").value(0).value(QStringLiteral("id")),
             QStringLiteral("3"));
}

void tst_DemoShopCommands::statusUploadRefusesMalformedLists_data()
{
    QTest::addColumn<QByteArray>("lists");
    QTest::newRow("one list only") << QByteArray("1=1;");
    QTest::newRow("status out of range") << QByteArray("1=1;4=9;:::");
    QTest::newRow("id not a number") << QByteArray("1=1;x=1;:::");
    QTest::newRow("payment 3") << QByteArray("1=1;:2=3;::");
}

void tst_DemoShopCommands::statusUploadRefusesMalformedLists()
{
    QFETCH(QByteArray, lists);
    const ShopHarness::Reply reply = shop->post("UPDATE_ORDERS_ARCHIVE", {}, lists);
    QVERIFY2(reply.body.startsWith("PHP_ERROR "), reply.body.constData());
    // Nothing of a refused upload is applied, not even its valid items.
    QCOMPARE(shop->queryNumber("SELECT status FROM archive_order WHERE id=1"), 0);
    QCOMPARE(shop->queryNumber("SELECT COUNT(*) FROM buyer_note"), 0);
}

void tst_DemoShopCommands::orderNote()
{
    const QString oldTime = shop->queryText("SELECT update_time FROM archive_order WHERE id=4");
    QCOMPARE(shop->post("SAVE_ORDER_NOTE", "4", w("Перезвонить после обеда, 100%")).body,
             QByteArray("QUERY_EXECUTE"));
    QCOMPARE(shop->queryText("SELECT inside_note FROM archive_order WHERE id=4"),
             QString::fromUtf8("Перезвонить после обеда, 100%"));
    QVERIFY(shop->queryText("SELECT update_time FROM archive_order WHERE id=4") > oldTime);

    // An empty note comes without a file and empties the note.
    QCOMPARE(shop->post("SAVE_ORDER_NOTE", "4").body, QByteArray("QUERY_EXECUTE"));
    QCOMPARE(shop->queryNumber("SELECT inside_note IS NULL FROM archive_order WHERE id=4"), 1);

    QVERIFY(shop->post("SAVE_ORDER_NOTE", "999999", "x").body.startsWith("SQL_ERROR "));
}

QByteArray tst_DemoShopCommands::draft(const QMap<QString, QString>& order,
                                       const QList<QMap<QString, QString>>& lines)
{
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("VUZUDOVAZE");
    root.append_attribute("Version") = "1.0.0";
    pugi::xml_node element = root.append_child("ORDER");
    for (auto it = order.begin(); it != order.end(); ++it)
        element.append_attribute(it.key().toUtf8().constData()) = it.value().toUtf8().constData();
    pugi::xml_node store = element.append_child("STORE");
    for (const auto& line : lines) {
        pugi::xml_node goods = store.append_child("GOODS");
        for (auto it = line.begin(); it != line.end(); ++it)
            goods.append_attribute(it.key().toUtf8().constData()) = it.value().toUtf8().constData();
    }
    pugi::xml_node client = element.append_child("CLIENT");
    for (int fieldId : {2, 3}) {
        pugi::xml_node field = client.append_child("FIELD");
        field.append_attribute("order_id") = order.value(QStringLiteral("id")).toUtf8().constData();
        field.append_attribute("field_id") = fieldId;
        field.append_attribute("name") = fieldId == 2 ? "Фамилия" : "Имя";
        field.append_attribute("value_text") = fieldId == 2 ? "Сидорова" : "Вера";
    }
    std::ostringstream out;
    document.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    return Cp1251::encode(QString::fromStdString(out.str()));
}

void tst_DemoShopCommands::drafts()
{
    // A goods without variants that is in stock, and a variant with its own stock.
    SqlStatement plain(shop->db(),
                       "SELECT id, name, how FROM store WHERE status=0 AND how>=3 AND id NOT IN "
                       "(SELECT store_id FROM store_add) ORDER BY id LIMIT 1");
    QVERIFY(plain.next());
    const QString goodsId = plain.text(0);
    const QString goodsName = plain.text(1);
    const qint64 stock = plain.integer(2);
    SqlStatement variant(shop->db(), "SELECT store_id, param_value_id, how FROM store_add WHERE "
                                     "status=0 AND how>0 ORDER BY store_id LIMIT 1");
    QVERIFY(variant.next());
    const qint64 ownOrder =
        shop->queryNumber("SELECT id FROM archive_order WHERE manager_id=1 ORDER BY id LIMIT 1");
    const qint64 othersOrder =
        shop->queryNumber("SELECT id FROM archive_order WHERE manager_id=2 ORDER BY id LIMIT 1");
    QVERIFY(ownOrder > 0 && othersOrder > 0);

    struct Case {
        const char* name;
        QMap<QString, QString> order;
        QMap<QString, QString> line;
        const char* result;
        const char* goodsHow;
    };
    const QMap<QString, QString> order = {
        {QStringLiteral("order_id"), QStringLiteral("0")},
        {QStringLiteral("code"), QString::fromUtf8("Новый заказ")},
        {QStringLiteral("client_id"), QStringLiteral("1")},
        {QStringLiteral("manager_id"), QStringLiteral("0")},
        {QStringLiteral("partner_id"), QStringLiteral("0")},
        {QStringLiteral("status"), QStringLiteral("1")},
        {QStringLiteral("get_payment"), QStringLiteral("1")},
        {QStringLiteral("date_time"), QStringLiteral("2026-06-14 10:30:00")},
        {QStringLiteral("itogo_sum"), QStringLiteral("2500")},
        {QStringLiteral("error_ignore"), QStringLiteral("0")}};
    const QMap<QString, QString> line = {{QStringLiteral("id"), QStringLiteral("1")},
                                         {QStringLiteral("store_id"), goodsId},
                                         {QStringLiteral("name"), goodsName},
                                         {QStringLiteral("price"), QStringLiteral("1250.5")},
                                         {QStringLiteral("new_price"), QStringLiteral("1250.5")},
                                         {QStringLiteral("how"), QStringLiteral("2")},
                                         {QStringLiteral("itogo"), QStringLiteral("2501")}};
    const auto with = [](QMap<QString, QString> map, const char* key, const QString& value) {
        map.insert(QLatin1String(key), value);
        return map;
    };
    const QString absent = QString::fromUtf8("Снятый с продажи товар");
    const std::vector<Case> cases = {
        {"new order", order, line, "AddOK", nullptr},
        {"change of own order", with(order, "order_id", QString::number(ownOrder)), line, "EditOK",
         nullptr},
        {"unknown partner", with(order, "partner_id", QStringLiteral("99")), line, "ErrorPartner",
         nullptr},
        {"unknown manager", with(order, "manager_id", QStringLiteral("99")), line, "ErrorManager",
         nullptr},
        {"another manager's order", with(order, "order_id", QString::number(othersOrder)), line,
         "ErrorManagerExists", nullptr},
        {"unknown client", with(order, "client_id", QStringLiteral("9999")), line, "ErrorClient",
         nullptr},
        {"absent goods", order,
         with(with(line, "store_id", QStringLiteral("999999")), "name", absent), "ErrorGoodsAbsent",
         nullptr},
        {"absent goods, errors ignored", with(order, "error_ignore", QStringLiteral("1")),
         with(line, "store_id", QStringLiteral("999999")), "AddOK", nullptr},
        {"above stock", order, with(line, "how", QString::number(stock + 1)), "ErrorGoodsHow",
         "stock"},
        {"above the variant's stock", order,
         with(with(with(line, "store_id", variant.text(0)), "param_value_id", variant.text(1)),
              "how", QString::number(variant.integer(2) + 1)),
         "ErrorGoodsHow", "variant"},
        {"new buyer by e-mail",
         with(with(order, "client_id", QStringLiteral("0")), "client_email",
              QStringLiteral("vera.sidorova@example.ru")),
         line, "AddOK", nullptr},
    };

    // All drafts in one document: a refused one does not stop the others.
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("VUZUDOVAZE");
    for (std::size_t i = 0; i < cases.size(); ++i) {
        pugi::xml_document one;
        QVERIFY(ShopHarness::load(
            one, draft(with(cases[i].order, "id", QString::number(i + 1)), {cases[i].line})));
        root.append_copy(one.document_element().child("ORDER"));
    }
    std::ostringstream out;
    document.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    const qint64 linesBefore =
        shop->queryNumber(qPrintable(QStringLiteral("SELECT COUNT(*) FROM archive_basket WHERE "
                                                    "order_id=%1")
                                         .arg(ownOrder)));
    QVERIFY(linesBefore > 0);
    const QString ownCode = shop->queryText(
        qPrintable(QStringLiteral("SELECT code FROM archive_order WHERE id=%1").arg(ownOrder)));
    const qint64 maxOrder = shop->queryNumber("SELECT MAX(id) FROM archive_order");

    const pugi::xml_document answer = answerDocument(
        "APPLY_ORDERS_UPDATE", {}, Cp1251::encode(QString::fromStdString(out.str())));
    const pugi::xml_node results = answer.document_element();
    QCOMPARE(int(std::distance(results.children().begin(), results.children().end())),
             int(cases.size()));
    std::size_t i = 0;
    for (pugi::xml_node result : results.children()) {
        const Case& c = cases[i++];
        const QString name = QLatin1String(c.name);
        QCOMPARE(attr(result, "result"), QLatin1String(c.result));
        QCOMPARE(attr(result, "id"), QString::number(i));
        const QString orderId = attr(result, "order_id");
        if (QByteArray(c.result).endsWith("OK")) {
            const auto orders = QList<pugi::xml_node>(result.child("ORDER").children().begin(),
                                                      result.child("ORDER").children().end());
            QCOMPARE(orders.size(), 1);
            QCOMPARE(attr(orders[0], "id"), orderId);
            QCOMPARE(attr(orders[0], "status_was"), QStringLiteral("1"));
            QCOMPARE(attr(orders[0], "code"), attr(result, "order_code"));
            QCOMPARE(int(std::distance(result.child("GOODS").children().begin(),
                                       result.child("GOODS").children().end())),
                     1);
            QCOMPARE(int(std::distance(result.child("CLIENT").children().begin(),
                                       result.child("CLIENT").children().end())),
                     2);
            QCOMPARE(attr(result.child("GOODS").first_child(), "order_id"), orderId);
            QCOMPARE(attr(result.child("CLIENT").first_child(), "value_text"),
                     QString::fromUtf8("Сидорова"));
            if (name == QLatin1String("change of own order")) {
                QCOMPARE(orderId, QString::number(ownOrder));
                QCOMPARE(attr(result, "order_code"), ownCode);
            } else {
                QVERIFY2(orderId.toLongLong() > maxOrder, qPrintable(name));
                QVERIFY(attr(result, "order_code").startsWith(QString::fromUtf8("ДШ-")));
            }
        } else {
            QCOMPARE(attr(result, "order_code"), QString::fromUtf8("Новый заказ"));
            QCOMPARE(attr(result, "order_date_time"), QStringLiteral("2026-06-14 10:30:00"));
            QVERIFY(result.child("ORDER").empty());
        }
        if (name == QLatin1String("absent goods"))
            QCOMPARE(attr(result, "goods_name"), absent);
        if (c.goodsHow)
            QCOMPARE(
                attr(result, "goods_how"),
                QString::number(QByteArray(c.goodsHow) == "stock" ? stock : variant.integer(2)));
    }
    // The changed order holds the draft's one line in place of its old ones.
    QCOMPARE(
        shop->queryNumber(qPrintable(
            QStringLiteral("SELECT COUNT(*) FROM archive_basket WHERE order_id=%1").arg(ownOrder))),
        1);
    QCOMPARE(shop->queryNumber("SELECT COUNT(*) FROM client WHERE "
                               "email='vera.sidorova@example.ru'"),
             1);
    // The new buyer is registered with the fields the order brought.
    QCOMPARE(shop->queryText("SELECT group_concat(value_text, ' ') FROM (SELECT value_text FROM "
                             "client_field_value v JOIN client c ON c.id=v.client_id WHERE "
                             "c.email='vera.sidorova@example.ru' ORDER BY v.id)"),
             QString::fromUtf8("Сидорова Вера"));

    QVERIFY(shop->post("APPLY_ORDERS_UPDATE", {}, "<ORDERS/>").body.startsWith("PHP_ERROR "));
    QVERIFY(shop->post("APPLY_ORDERS_UPDATE", {}, "not xml").body.startsWith("PHP_ERROR "));
}

void tst_DemoShopCommands::clientFields()
{
    const pugi::xml_document answer = answerDocument("GET_CLIENT_FIELDS", "order_id=7&client_id=3");
    const auto fields = ShopHarness::records(answer, "FIELDS");
    QCOMPARE(fields.size(), 3 + 13);
    for (const auto& field : fields)
        QCOMPARE(field.value(QStringLiteral("order_id")), QStringLiteral("7"));
    QCOMPARE(fields[0].value(QStringLiteral("field_id")), QStringLiteral("-3"));
    QCOMPARE(fields[0].value(QStringLiteral("value_text")),
             shop->queryText("SELECT login FROM client WHERE id=3"));
    QCOMPARE(fields[3].value(QStringLiteral("isfolder")), QStringLiteral("1"));
    QCOMPARE(fields[3].value(QStringLiteral("tab_name")), QString::fromUtf8("Контактные данные"));
    QCOMPARE(fields[4].value(QStringLiteral("tab_name")), QString::fromUtf8("    · Фамилия"));
    QCOMPARE(fields[4].value(QStringLiteral("value_text")),
             shop->queryText("SELECT value_text FROM client_field_value WHERE client_id=3 AND "
                             "id=2"));

    QVERIFY(
        shop->post("GET_CLIENT_FIELDS", "order_id=7&client_id=9999").body.startsWith("SQL_ERROR "));
}

void tst_DemoShopCommands::searchClients_data()
{
    QTest::addColumn<Changes>("changes");
    QTest::addColumn<QString>("where");
    const auto c = [](std::initializer_list<std::pair<const char*, const char*>> pairs) {
        QMap<QString, QString> map;
        for (const auto& [key, value] : pairs)
            map.insert(QLatin1String(key), QLatin1String(value));
        return map;
    };
    QTest::newRow("initial values") << c({}) << QStringLiteral("1=1");
    QTest::newRow("after the reset")
        << c({{"category_id", "-1"}, {"field_id", "-1"}}) << QStringLiteral("1=1");
    QTest::newRow("login part in capitals")
        << c({{"login", "IVAN"}}) << QStringLiteral("lower(login) LIKE '%ivan%'");
    QTest::newRow("e-mail") << c({{"email", "yandex"}}) << QStringLiteral("email LIKE '%yandex%'");
    QTest::newRow("id") << c({{"id", "3"}}) << QStringLiteral("id=3");
    QTest::newRow("percent above")
        << c({{"proc_oper", "%3E"}, {"proc_value", "3%2C00"}}) << QStringLiteral("proc > 3");
    QTest::newRow("sum not zero") << c({{"suma_oper", "%3C%3E"}, {"suma_value", "0.00"}})
                                  << QStringLiteral("suma <> 0");
    QTest::newRow("category") << c({{"category_id", "2"}}) << QStringLiteral("category_id=2");
    QTest::newRow("orders below") << c({{"orders_suma_oper", "%3C"},
                                        {"orders_suma_value", "50+000%2C50"}})
                                  << QStringLiteral("orders_suma < 50000.5");
    QTest::newRow("registered before")
        << c({{"reg_date_oper", "%3C"}, {"reg_date_value", "2025.06.15"}})
        << QStringLiteral("reg_date < '2025-06-15'");
    QTest::newRow("last order this month")
        << c({{"last_date_oper", "%3E"}, {"last_date_value", "2026.06.01"}})
        << QStringLiteral("last_date > '2026-06-01'");
    QTest::newRow("discounts forbidden")
        << c({{"rules_allow", "0"}}) << QStringLiteral("rules_allow=0");
    // "Москва" and "моск" in windows-1251.
    QTest::newRow("city field")
        << c({{"field_id", "8"}, {"field_value", "%CC%EE%F1%EA%E2%E0"}})
        << QStringLiteral("id IN (SELECT client_id FROM client_field_value WHERE id=8 AND "
                          "value_text LIKE '%Москва%')");
    QTest::newRow("any field, small letters")
        << c({{"field_value", "%EC%EE%F1%EA"}})
        << QStringLiteral("id IN (SELECT client_id FROM client_field_value WHERE value_text "
                          "LIKE '%Моск%')");
    QTest::newRow("two criteria") << c({{"rules_allow", "1"}, {"category_id", "1"}})
                                  << QStringLiteral("rules_allow=1 AND category_id=1");
}

void tst_DemoShopCommands::searchClients()
{
    QFETCH(Changes, changes);
    QFETCH(QString, where);
    SqlStatement query(shop->db(),
                       QStringLiteral("SELECT id FROM client WHERE %1 ORDER BY reg_date DESC, "
                                      "id DESC")
                           .arg(where));
    const QList<qint64> expected = ids(query);

    const pugi::xml_document answer = answerDocument("SEARCH_CLIENTS", {}, criteria(changes));
    const pugi::xml_node clients = answer.document_element().child("CLIENTS");
    QCOMPARE(clients.attribute("total").as_int(), int(expected.size()));
    QCOMPARE(clients.attribute("transfer").as_int(), std::min(int(expected.size()), 25));
    QList<qint64> sent;
    for (const auto& client : ShopHarness::records(answer, "CLIENTS"))
        sent.append(client.value(QStringLiteral("id")).toLongLong());
    QCOMPARE(sent, expected.mid(0, 25));
    for (const auto& field : ShopHarness::records(answer, "CLIENTFIELD"))
        QVERIFY(sent.contains(field.value(QStringLiteral("client_id")).toLongLong()));
}

void tst_DemoShopCommands::allClients()
{
    const pugi::xml_document answer = answerDocument("GET_ALL_CLIENTS");
    const pugi::xml_node clients = answer.document_element().child("CLIENTS");
    QCOMPARE(clients.attribute("total").as_int(), 40);
    QCOMPARE(clients.attribute("transfer").as_int(), 25);
    const auto rows = ShopHarness::records(answer, "CLIENTS");
    QCOMPARE(rows.size(), 25);
    QCOMPARE(rows[0].value(QStringLiteral("do")), QStringLiteral("0"));
    QVERIFY(rows[0].value(QStringLiteral("reg_date")) >=
            rows[24].value(QStringLiteral("reg_date")));
    QVERIFY(!ShopHarness::records(answer, "CLIENTFIELD").isEmpty());
}

void tst_DemoShopCommands::saveClientParam()
{
    QVERIFY(shop->queryNumber("SELECT COUNT(*) FROM client_field_value WHERE client_id=8") > 0);
    const QByteArray refused = "7|1|5||3|120,5|1|01.03.10|02.04.11;8|2|0|0;";
    QVERIFY(shop->post("SAVE_CLIENT_PARAM", {}, refused).body.startsWith("PHP_ERROR "));
    QVERIFY(shop->queryNumber("SELECT COUNT(*) FROM client WHERE id=8") == 1);

    const QByteArray changes = "7|1|5||3|120,5|1|01.03.10|02.04.11;8|2|0|0|0|0|0|1/5/25|1/5/25;";
    QCOMPARE(shop->post("SAVE_CLIENT_PARAM", {}, changes).body, QByteArray("QUERY_EXECUTE"));
    QCOMPARE(shop->queryText("SELECT proc || '|' || (suma IS NULL) || '|' || category_id || '|' "
                             "|| category_name || '|' || orders_suma || '|' || rules_allow || "
                             "'|' || reg_date || '|' || last_date FROM client WHERE id=7"),
             QString::fromUtf8("5.0|1|3|VIP-клиент|120.5|1|2010-03-01|2011-04-02"));
    QCOMPARE(shop->queryNumber("SELECT COUNT(*) FROM client WHERE id=8"), 0);
    QCOMPARE(shop->queryNumber("SELECT COUNT(*) FROM client_field_value WHERE client_id=8"), 0);
}

void tst_DemoShopCommands::otherCommands_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("none") << QByteArray() << w("PHP_ERROR Не задана команда");
    QTest::newRow("unknown") << QByteArray("DROP_ALL")
                             << w("PHP_ERROR Неизвестная команда: DROP_ALL");
    QTest::newRow("in small letters")
        << QByteArray("get_tables_info") << w("PHP_ERROR Неизвестная команда: get_tables_info");
}

void tst_DemoShopCommands::otherCommands()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, answer);
    QCOMPARE(text(shop->post(command).body), text(answer));
}

QTEST_GUILESS_MAIN(tst_DemoShopCommands)
#include "tst_DemoShopCommands.moc"

#include "DataGrid.h"
#include "OrderCommandRules.h"
#include "OrderDesk.h"
#include "ScriptedPrompter.h"
#include "Sql.h"
#include "TDMMain.h"
#include "TFFormDesign.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList orderCommands = {
    QStringLiteral("ARefreshData"),        QStringLiteral("AArchiveUpdate"),
    QStringLiteral("ANewOrder"),           QStringLiteral("ACopyOrder"),
    QStringLiteral("ANewCopyOrder"),       QStringLiteral("ASetStatusAccept"),
    QStringLiteral("ASetStatusDelivery"),  QStringLiteral("ASetStatusExecuted"),
    QStringLiteral("ASetStatusNil"),       QStringLiteral("ASetStatusDel"),
    QStringLiteral("ASetPaymentAccept"),   QStringLiteral("ASetPaymentNil"),
    QStringLiteral("AReportSelectOrders"), QStringLiteral("AReportOrderSys"),
    QStringLiteral("AInvoiceOrder"),       QStringLiteral("AResetStatus"),
    QStringLiteral("AResetStatusAll"),     QStringLiteral("AExportXML"),
    QStringLiteral("AOrderDublicate"),     QStringLiteral("AOrderSearch")};

void sendKey(QWidget* target, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent event(type, key, modifiers);
    QApplication::sendEvent(target, &event);
}

} // namespace

class TestOrderDesk : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void rules_data();
    void rules();
    void exchangeLocks();
    void tabsShowTheirOrders();
    void goodsLinesAndFooters();
    void currencyLabelsDoNotRepeat();
    void refreshAfterDeletingTheCurrentOrder();
    void shiftSelectionLoadsDetailsOnce();
    void unbuiltCommandsStayDisabled();
    void designerKeepsPictureColumns();
    void brokenTableIsReported();

private:
    void makeDesk(const QSet<QString>& built);
    QStringList enabled() const;
    void exec(const QString& sql) { Sql::exec(m_dm->database(), sql); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TDMMain> m_dm;
    ScriptedPrompter m_prompter;
    std::unique_ptr<QWidget> m_window;
    QList<QAction*> m_actions;
    OrderDesk* m_desk = nullptr;
};

void TestOrderDesk::init()
{
    QLocale::setDefault(QLocale::c());
    m_dir = std::make_unique<QTemporaryDir>();
    m_dm = std::make_unique<TDMMain>(AppFolder(m_dir->path()));
    m_dm->AConnectDB();
    exec(QStringLiteral(
        "INSERT INTO archive_order (id, code, status, status_was, get_payment, itogo_sum, "
        "disc_sum, total_sum, date_time, notice, inside_note) VALUES "
        "(10, 'A-10', 1, 1, 1, 1000.5, 10, 990.5, '2026-12-01 10:00:00', 'Позвонить', 'Срочно'),"
        "(11, 'A-11', 3, 3, 2, 200, 0, 200, '2026-12-03 09:30:00', '', ''),"
        "(12, 'A-12', 0, 0, 1, 50.25, 0, 50.25, '2026-11-20 18:15:00', '', '')"));
    exec(QStringLiteral(
        "INSERT INTO archive_basket (id, order_id, store_id, code, name, price, new_price, "
        "how, status, part_value) VALUES "
        "(1, 10, 501, 'Ч-1', 'Чайник', 600, 550.5, 1, 0, 5),"
        "(2, 10, 502, 'К-2', 'Кружка', 100, 100, 4, 2, 0),"
        "(3, 10, 503, 'П-3', 'Пакет', 0, 0, 1, 10, 0),"
        "(4, 11, 501, 'Ч-1', 'Чайник', 200, 200, 1, 1, 0)"));
    exec(QStringLiteral("INSERT INTO archive_client_field (order_id, field_id, tab_name, "
                        "absindex, isfolder, value_text) VALUES "
                        "(10, 2, 'Имя', 2, 0, 'Анна'), (10, 1, 'Контакты', 1, 1, NULL)"));
    exec(QStringLiteral("INSERT INTO draft_order (folder, code, order_id, date_time) VALUES "
                        "(2, 'Ч-1', 0, '2026-12-05 12:00:00'), (2, 'Ч-2', 11, "
                        "'2026-12-06 12:00:00'), (3, 'Ч-3', 0, '2026-12-07 12:00:00')"));
    QSet<QString> all(orderCommands.begin(), orderCommands.end());
    makeDesk(all);
}

void TestOrderDesk::makeDesk(const QSet<QString>& built)
{
    m_window.reset();
    m_actions.clear();
    m_window = std::make_unique<QWidget>();
    for (const QString& name : orderCommands) {
        auto* action = new QAction(name, m_window.get());
        action->setObjectName(name);
        m_actions << action;
    }
    auto* designer = new TFFormDesign(m_window.get());
    m_desk = new OrderDesk(*m_dm, m_prompter, m_actions, built, *designer, m_window.get());
    m_desk->resize(1000, 700);
    m_window->resize(1000, 700);
    m_window->show();
    m_desk->openLists();
}

void TestOrderDesk::cleanup()
{
    m_window.reset();
    m_dm.reset();
    m_dir.reset();
    m_prompter.shown.clear();
}

QStringList TestOrderDesk::enabled() const
{
    QStringList names;
    for (QAction* action : m_actions)
        if (action->isEnabled())
            names << action->objectName();
    return names;
}

void TestOrderDesk::rules_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("marked");
    QTest::addColumn<int>("statusWas");
    QTest::addColumn<QStringList>("on");
    QTest::addColumn<QStringList>("off");

    const QStringList status = {
        QStringLiteral("ASetStatusAccept"), QStringLiteral("ASetStatusDelivery"),
        QStringLiteral("ASetStatusExecuted"), QStringLiteral("ASetStatusNil")};
    QStringList emptyOff = orderCommands;
    emptyOff.removeAll(QStringLiteral("ARefreshData"));
    emptyOff.removeAll(QStringLiteral("ANewOrder"));
    QTest::newRow("empty archive")
        << 0 << 0 << 0 << 0
        << QStringList{QStringLiteral("ARefreshData"), QStringLiteral("ANewOrder")} << emptyOff;
    QTest::newRow("draft tab")
        << 2 << 2 << 0 << 0
        << QStringList{QStringLiteral("ASetStatusDel"), QStringLiteral("ACopyOrder"),
                       QStringLiteral("ANewCopyOrder"), QStringLiteral("AReportOrderSys")}
        << (QStringList{QStringLiteral("AArchiveUpdate"), QStringLiteral("ASetPaymentAccept"),
                        QStringLiteral("ASetPaymentNil"), QStringLiteral("AReportSelectOrders"),
                        QStringLiteral("AInvoiceOrder"), QStringLiteral("AResetStatus"),
                        QStringLiteral("AResetStatusAll"), QStringLiteral("AExportXML"),
                        QStringLiteral("AOrderSearch"), QStringLiteral("AOrderDublicate")}
            << status);
    QTest::newRow("orders to send keep the upload")
        << 1 << 1 << 0 << 0 << QStringList{QStringLiteral("AArchiveUpdate")} << status;
    QTest::newRow("one marked finished order")
        << 0 << 3 << 1 << 3 << QStringList{QStringLiteral("ASetPaymentAccept")} << status;
    QTest::newRow("current finished order, no marks")
        << 0 << 3 << 0 << 3 << (QStringList{QStringLiteral("AArchiveUpdate")} << status)
        << QStringList{QStringLiteral("ASetStatusDel")};
    QTest::newRow("two marked, one finished") << 0 << 3 << 2 << 4 << status << QStringList();
    QTest::newRow("one marked open order") << 0 << 3 << 1 << 2 << status << QStringList();
}

void TestOrderDesk::rules()
{
    QFETCH(int, tab);
    QFETCH(int, rows);
    QFETCH(int, marked);
    QFETCH(int, statusWas);
    QFETCH(QStringList, on);
    QFETCH(QStringList, off);
    const QHash<QString, bool> states =
        OrderCommandRules::refreshButtons({tab, rows, marked, statusWas});
    for (const QString& name : on)
        QVERIFY2(states.value(name, false), qPrintable(name));
    for (const QString& name : off)
        QVERIFY2(states.contains(name) && !states.value(name), qPrintable(name));
}

void TestOrderDesk::exchangeLocks()
{
    m_desk->AButtonDisable();
    QVERIFY(enabled().isEmpty());
    m_desk->AButtonEnabel();
    QStringList expected = orderCommands;
    for (const char* name : {"ANewCopyOrder", "AOrderDublicate", "AOrderSearch"})
        expected.removeAll(QLatin1String(name));
    QCOMPARE(enabled(), expected);
}

void TestOrderDesk::tabsShowTheirOrders()
{
    DataGrid* orders = m_desk->DBOrders();
    QCOMPARE(orders->rowCount(), 3);
    // Newest first.
    QCOMPARE(orders->value(0, QStringLiteral("code")).toString(), QStringLiteral("A-11"));
    QCOMPARE(orders->value(2, QStringLiteral("code")).toString(), QStringLiteral("A-12"));
    QCOMPARE(orders->value(0, QStringLiteral("order_id")).toInt(), 11);
    QCOMPARE(orders->footerText(2), QStringLiteral("Число заказов: 3"));
    QCOMPARE(orders->footerText(3), QStringLiteral("ID: 11"));
    QCOMPARE(orders->footerText(4), QStringLiteral("1,250.75"));
    QCOMPARE(orders->view()->model()->index(0, 2).data().toString(),
             QStringLiteral("03.12.2026 09:30"));

    m_desk->setCurrentTab(2);
    QCOMPARE(orders->rowCount(), 2);
    QCOMPARE(orders->value(0, QStringLiteral("code")).toString(), QStringLiteral("Ч-2"));
    // On a draft tab the order id is the server order the draft changes.
    QCOMPARE(orders->footerText(3), QStringLiteral("ID: 11"));
    QVERIFY(enabled().contains(QStringLiteral("ASetStatusDel")));
    QVERIFY(!enabled().contains(QStringLiteral("AArchiveUpdate")));
    m_desk->setCurrentTab(1);
    QCOMPARE(orders->rowCount(), 0);
    QCOMPARE(enabled(), QStringList({QStringLiteral("ARefreshData"), QStringLiteral("ANewOrder")}));
    m_desk->setCurrentTab(3);
    QCOMPARE(orders->rowCount(), 1);
}

void TestOrderDesk::goodsLinesAndFooters()
{
    DataGrid* orders = m_desk->DBOrders();
    QVERIFY(orders->locateKey(QStringLiteral("10")));
    DataGrid* goods = m_desk->DBGoods();
    QCOMPARE(goods->rowCount(), 3);
    QAbstractItemModel* model = goods->view()->model();
    // Computed columns: line total, discount per unit, line discount, partner total.
    QCOMPARE(goods->value(0, QStringLiteral("itogo")).toDouble(), 550.5);
    QCOMPARE(goods->value(0, QStringLiteral("disc_suma")).toDouble(), 49.5);
    QCOMPARE(goods->value(0, QStringLiteral("itogo_disc")).toDouble(), 49.5);
    QCOMPARE(goods->value(0, QStringLiteral("part_itogo")).toDouble(), 5.0);
    QCOMPARE(goods->footerText(1), QStringLiteral("Всего товаров: 3"));
    QCOMPARE(goods->footerText(0), QStringLiteral("ID: 501"));
    QCOMPARE(goods->footerText(goods->columnOf(QStringLiteral("how"))), QStringLiteral("6"));
    QCOMPARE(goods->footerText(goods->columnOf(QStringLiteral("itogo"))), QStringLiteral("950.50"));

    const int status = goods->columnOf(QStringLiteral("status"));
    QCOMPARE(model->index(1, status).data().toString(), QStringLiteral("Ожидается"));
    QCOMPARE(model->index(1, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(152, 152, 0));
    QCOMPARE(model->index(2, status).data().toString(), QStringLiteral("Подарок"));
    QVERIFY(!model->index(2, 1).data(Qt::ForegroundRole).isValid());
    QVERIFY(!model->index(0, 1).data(Qt::ForegroundRole).isValid());

    DataGrid* client = m_desk->DBClient();
    QCOMPARE(client->rowCount(), 2);
    QCOMPARE(client->value(0, QStringLiteral("tab_name")).toString(), QStringLiteral("Контакты"));
    QVERIFY(client->view()->model()->index(0, 0).data(Qt::FontRole).value<QFont>().bold());
    QVERIFY(!client->view()->model()->index(1, 0).data(Qt::FontRole).isValid());

    QVERIFY(orders->locateKey(QStringLiteral("11")));
    QCOMPARE(goods->rowCount(), 1);
    QCOMPARE(goods->view()->model()->index(0, 1).data(Qt::ForegroundRole).value<QColor>(),
             QColor(152, 0, 0));
}

void TestOrderDesk::currencyLabelsDoNotRepeat()
{
    m_desk->ACurrUpdate();
    QCOMPARE(m_desk->BaseCurrencyName(), QString());
    QCOMPARE(m_desk->DBOrders()->columns()[4].title, QStringLiteral("Итого"));
    exec(QStringLiteral("INSERT INTO shop_values VALUES ('main_base_curr', 'руб.')"));
    m_desk->ACurrUpdate();
    m_desk->ACurrUpdate();
    QCOMPARE(m_desk->BaseCurrencyName(), QStringLiteral("руб."));
    DataGrid* orders = m_desk->DBOrders();
    QCOMPARE(orders->columns()[orders->columnOf(QStringLiteral("itogo_sum"))].title,
             QStringLiteral("Итого, руб."));
    QCOMPARE(orders->columns()[orders->columnOf(QStringLiteral("deliv_cost"))].title,
             QStringLiteral("Доставка|Сумма, руб."));
    QCOMPARE(orders->columns()[orders->columnOf(QStringLiteral("payment_cost"))].title,
             QStringLiteral("Оплата|Сумма"));
    DataGrid* goods = m_desk->DBGoods();
    QCOMPARE(goods->columns()[goods->columnOf(QStringLiteral("part_itogo"))].title,
             QStringLiteral("Партнерские расчеты|Итого, руб."));
}

void TestOrderDesk::refreshAfterDeletingTheCurrentOrder()
{
    DataGrid* orders = m_desk->DBOrders();
    QVERIFY(orders->locateKey(QStringLiteral("10")));
    exec(QStringLiteral("UPDATE archive_order SET code = 'A-10*' WHERE id = 10"));
    m_desk->AOrdersRefresh();
    QCOMPARE(orders->currentKey(), QStringLiteral("10"));
    QCOMPARE(orders->currentValue(QStringLiteral("code")).toString(), QStringLiteral("A-10*"));
    exec(QStringLiteral("DELETE FROM archive_order WHERE id = 10"));
    m_desk->AOrdersRefresh();
    QCOMPARE(orders->currentRow(), 0);
    QCOMPARE(orders->currentKey(), QStringLiteral("11"));
}

void TestOrderDesk::shiftSelectionLoadsDetailsOnce()
{
    for (int i = 0; i < 5; ++i)
        exec(QStringLiteral("INSERT INTO archive_order (id, code, date_time) VALUES "
                            "(%1, 'B', '2025-01-0%2 00:00:00')")
                 .arg(100 + i)
                 .arg(i + 1));
    m_desk->AOrdersRefresh();
    DataGrid* orders = m_desk->DBOrders();
    orders->setCurrentRow(0);
    QSignalSpy loads(m_desk, &OrderDesk::detailsLoaded);
    QWidget* view = orders->view();
    sendKey(view, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    for (int i = 0; i < 5; ++i) {
        sendKey(view, QEvent::KeyPress, Qt::Key_Down, Qt::ShiftModifier);
        sendKey(view, QEvent::KeyRelease, Qt::Key_Down, Qt::ShiftModifier);
    }
    QCOMPARE(loads.size(), 0);
    QCOMPARE(m_desk->DBGoods()->rowCount(), 0);
    sendKey(view, QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
    QCOMPARE(loads.size(), 1);
    QCOMPARE(orders->markedCount(), 5);
    QCOMPARE(orders->currentRow(), 5);

    // A plain key reloads at once.
    sendKey(view, QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QCOMPARE(loads.size(), 2);
}

void TestOrderDesk::unbuiltCommandsStayDisabled()
{
    makeDesk({QStringLiteral("ARefreshData"), QStringLiteral("ASetStatusAccept")});
    QCOMPARE(enabled(),
             QStringList({QStringLiteral("ARefreshData"), QStringLiteral("ASetStatusAccept")}));
    m_desk->setCurrentTab(1);
    QCOMPARE(enabled(), QStringList({QStringLiteral("ARefreshData")}));
}

void TestOrderDesk::designerKeepsPictureColumns()
{
    TFFormDesign dialog(nullptr);
    dialog.fill(m_desk->DBOrders());
    QCOMPARE(dialog.list()->count(), 19);
    QCOMPARE(dialog.list()->item(0)->text(), QStringLiteral("Статус заказа"));
    for (int row : {0, 1})
        QVERIFY(!(dialog.list()->item(row)->flags() & Qt::ItemIsUserCheckable));
    QVERIFY(dialog.list()->item(5)->flags() & Qt::ItemIsUserCheckable);
}

void TestOrderDesk::brokenTableIsReported()
{
    exec(QStringLiteral("DROP TABLE archive_basket"));
    DataGrid* orders = m_desk->DBOrders();
    QVERIFY(orders->locateKey(QStringLiteral("10")));
    QVERIFY(!m_prompter.shown.isEmpty());
    QCOMPARE(m_prompter.last().icon, Prompter::Icon::Error);
    QVERIFY(m_prompter.last().text.contains(QLatin1String("archive_basket")));
    QCOMPARE(orders->rowCount(), 3);
}

QTEST_MAIN(TestOrderDesk)
#include "tst_OrderDesk.moc"

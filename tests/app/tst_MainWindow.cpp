#include "DataGrid.h"
#include "LocalTable.h"
#include "OrderDesk.h"
#include "ProgramInfo.h"
#include "ScriptedPrompter.h"
#include "TDMMain.h"
#include "TFLogView.h"
#include "TFMain.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

#include <QAction>
#include <QFile>
#include <QMenuBar>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

// A menu as text: one item a line, "---" for a separator, the shortcut in brackets.
QStringList describe(const QMenu* menu, const QString& indent = QString())
{
    QStringList lines;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            lines << indent + QStringLiteral("---");
            continue;
        }
        QString line = indent + action->text();
        if (!action->shortcut().isEmpty())
            line += QStringLiteral(" [") + action->shortcut().toString() + QLatin1Char(']');
        lines << line;
        if (action->menu())
            lines << describe(action->menu(), indent + QStringLiteral("  "));
    }
    return lines;
}

QString toolBarText(const QToolBar* bar)
{
    QStringList names;
    for (QAction* action : bar->actions()) {
        if (action->isSeparator()) {
            names << QStringLiteral("|");
            continue;
        }
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
        if (!button) {
            names << QStringLiteral("<not a button>");
            continue;
        }
        QString name = button->defaultAction()->objectName();
        if (button->menu()) {
            QStringList entries;
            for (QAction* entry : button->menu()->actions())
                entries << (entry->isSeparator() ? QStringLiteral("-") : entry->objectName());
            name += QLatin1Char('(') + entries.join(QLatin1Char(' ')) + QLatin1Char(')');
        }
        names << name;
    }
    return names.join(QLatin1Char(' '));
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstStartInAnEmptyFolder();
    void secondStartKeepsRows();
    void menus();
    void toolBarAndBottomBar();
    void onlyBuiltCommandsAreEnabled();
    void documentsAndAddresses();
    void storeFailureStopsTheStart();
    void settingsReachTheCaption();
    void f12Closes();
    void layoutSurvivesARestart();
    void closingWithUnsentMarks();
    void serverButtonAndConnectionDialog();
    void statusMarkCarriesTheBuyerNote();

private:
    void start();
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<TFMain> m_window;
};

void TestMainWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_prompter = std::make_unique<ScriptedPrompter>();
}

void TestMainWindow::cleanup()
{
    m_window.reset();
    m_prompter.reset();
    m_dir.reset();
}

void TestMainWindow::start()
{
    m_window.reset();
    m_window =
        std::make_unique<TFMain>(AppFolder(m_dir->path()), *m_prompter,
                                 PasswordStore(m_dir->filePath(QStringLiteral("passwords.ini"))));
    m_window->show();
    QTRY_VERIFY_WITH_TIMEOUT(m_window->isStarted(), 10000);
}

void TestMainWindow::firstStartInAnEmptyFolder()
{
    start();
    QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("Temp"))).isDir());
    QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("Tables"))).isDir());
    QVERIFY(m_prompter->shown.isEmpty());
    QCOMPARE(m_window->windowTitle(),
             QStringLiteral("Dunvik Shop Trader v1.0.0.1 [http://127.0.0.1:8047]"));
    QCOMPARE(ProgramInfo::ProgramTitle(), QStringLiteral("Dunvik Shop Trader v1.0.0.1"));
    for (const QString& table : TDMMain::tablesOpenedAtStart())
        QVERIFY(m_window->dm().TableTemp(table).exists());
    QCOMPARE(m_window->startSettings().recordPerSession, 1125);
    QVERIFY(m_window->startSettings().period.autoClear);
    auto* about = m_window->findChild<QWidget*>(QStringLiteral("TFAbout"));
    QVERIFY(about && !about->isVisible());
    // Reading the settings created no settings file.
    QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("Vendrix.ini"))));
}

void TestMainWindow::secondStartKeepsRows()
{
    start();
    QSqlQuery(m_window->dm().database())
        .exec(QStringLiteral("INSERT INTO archive_order (id, code) VALUES (1, 'A')"));
    start();
    QCOMPARE(m_window->dm().TableTemp(QStringLiteral("archive_order")).rowCount(), 1);
    QVERIFY(m_prompter->shown.isEmpty());
}

void TestMainWindow::menus()
{
    start();
    QStringList all;
    for (QAction* top : m_window->menuBar()->actions()) {
        all << top->text();
        all << describe(top->menu(), QStringLiteral("  "));
    }
    const QStringList expected = {
        QStringLiteral("Магазин"),
        QStringLiteral("  Загрузить/обновить заказы с сервера [Ctrl+R]"),
        QStringLiteral("  Параметры получения заказов с сервера"),
        QStringLiteral("  ---"),
        QStringLiteral("  Принудительно обновить локальную базу магазина"),
        QStringLiteral("  Очистить и загрузить все заказы заново"),
        QStringLiteral("  ---"),
        QStringLiteral("  Отправить данные на сервер [Ctrl+S]"),
        QStringLiteral("  Работа с сервером"),
        QStringLiteral("    Параметры подключения"),
        QStringLiteral("    Журнал"),
        QStringLiteral("  ---"),
        QStringLiteral("  Проверка целостности локальных таблиц с данными"),
        QStringLiteral("  ---"),
        QStringLiteral("  Выход [F12]"),
        QStringLiteral("Заказы"),
        QStringLiteral("  Поиск заказов [Ctrl+F]"),
        QStringLiteral("  ---"),
        QStringLiteral("  Создать новый заказ [Ins]"),
        QStringLiteral("  Редактировать заказ [F4]"),
        QStringLiteral("  Создать новый заказ на основе текущего [F5]"),
        QStringLiteral("  Удалить заказ [Del]"),
        QStringLiteral("  ---"),
        QStringLiteral("  Назначить статус \"Принят к выполнению\" [Ctrl+F1]"),
        QStringLiteral("  Назначить статус \"В процессе доставки\" [Ctrl+F2]"),
        QStringLiteral("  Назначить статус \"Выполнен\" [Ctrl+F3]"),
        QStringLiteral("  Назначить статус \"Аннулирован\" [Ctrl+F4]"),
        QStringLiteral("  ---"),
        QStringLiteral("  Назначить статус \"Оплата принята\" [Ctrl+F5]"),
        QStringLiteral("  Назначить статус \"Оплата не принята\" [Ctrl+F6]"),
        QStringLiteral("  ---"),
        QStringLiteral("  Вернуть исходные статусы текущего заказа [F9]"),
        QStringLiteral("  Вернуть исходные статусы всех заказов [Shift+F9]"),
        QStringLiteral("Отчеты"),
        QStringLiteral("  Служебный отчет о выбранном заказе"),
        QStringLiteral("  Редактировать макет служебного отчета"),
        QStringLiteral("  ---"),
        QStringLiteral("  Совокупный отчет заказов [F10]"),
        QStringLiteral("Дополнительно"),
        QStringLiteral("  Каталог покупателей [F2]"),
        QStringLiteral("  Каталог товаров [F3]"),
        QStringLiteral("  ---"),
        QStringLiteral("  Создать копию заказа в интернет-магазине [Ctrl+F9]"),
        QStringLiteral("  Показать счет заказа [F8]"),
        QStringLiteral("  ---"),
        QStringLiteral("  Экспортировать заказы в формате DS5 [F7]"),
        QStringLiteral("Справка"),
        QStringLiteral("  О программе"),
        QStringLiteral("  Сайт компании Dunvik"),
        QStringLiteral("  Лицензионное соглашение"),
        QStringLiteral("  ---"),
        QStringLiteral("  Тех.поддержка"),
    };
    QCOMPARE(all, expected);
    for (QAction* action : m_window->actions().all())
        QCOMPARE(action->toolTip(), action->text());
    QCOMPARE(m_window->actions().AHelp->shortcut(), QKeySequence(Qt::Key_F1));
}

void TestMainWindow::toolBarAndBottomBar()
{
    start();
    auto* bar = m_window->findChild<QToolBar*>(QStringLiteral("ToolBar"));
    QVERIFY(bar);
    QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    QCOMPARE(
        toolBarText(bar),
        QStringLiteral("ARefreshData(ARefreshData AOrderGetParam - AReGetTables AReGetOrders) "
                       "AArchiveUpdate | AConnectParam | ANewOrder ACopyOrder ANewCopyOrder "
                       "ASetStatusDel | ASetStatusAccept ASetStatusDelivery ASetStatusExecuted "
                       "ASetStatusNil | ASetPaymentAccept ASetPaymentNil "
                       "AResetStatus(AResetStatus AResetStatusAll) | AOrderSearch AClientCat "
                       "AGoodsSelect | AReportOrderSys(AReportOrderSys AEditReportSys) "
                       "AReportSelectOrders | AOrderDublicate AInvoiceOrder | AExportXML"));
    for (QAction* action : bar->actions())
        QVERIFY(action->isSeparator() || !qobject_cast<QToolButton*>(bar->widgetForAction(action))
                                              ->defaultAction()
                                              ->icon()
                                              .isNull());

    auto* server = m_window->findChild<QToolButton*>(QStringLiteral("TBServer"));
    QVERIFY(server);
    QCOMPARE(server->text(), QStringLiteral("Работа с сервером"));
    QCOMPARE(server->menu()->actions(),
             QList<QAction*>({m_window->actions().ALogView, m_window->actions().AConnectParam}));
    for (const char* name : {"ProgressBar", "PBSimple"}) {
        auto* progress = m_window->findChild<QProgressBar*>(QLatin1String(name));
        QVERIFY(progress);
        QVERIFY(!progress->isVisible());
    }
}

void TestMainWindow::onlyBuiltCommandsAreEnabled()
{
    start();
    QStringList enabled;
    for (QAction* action : m_window->actions().all())
        if (action->isEnabled())
            enabled << action->objectName();
    enabled.sort();
    // An empty archive: the downloads, and the commands that need no order.
    QCOMPARE(enabled, QStringList({QStringLiteral("AAbout"), QStringLiteral("AClose"),
                                   QStringLiteral("AConnectParam"), QStringLiteral("AHelp"),
                                   QStringLiteral("ALicense"), QStringLiteral("ALogView"),
                                   QStringLiteral("AOrderGetParam"), QStringLiteral("AReGetOrders"),
                                   QStringLiteral("AReGetTables"), QStringLiteral("ARefreshData"),
                                   QStringLiteral("ASiteDunvik"), QStringLiteral("ASupport")}));
}

void TestMainWindow::documentsAndAddresses()
{
    start();
    // A missing manual reports nothing and opens nothing.
    m_window->actions().AHelp->trigger();
    m_window->actions().ALicense->trigger();
    QVERIFY(m_prompter->openedUrls.isEmpty());
    QVERIFY(m_prompter->shown.isEmpty());

    for (const char* name : {"help.html", "license.html"}) {
        QFile file(m_dir->filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    m_window->actions().AHelp->trigger();
    m_window->actions().ALicense->trigger();
    m_window->actions().ASiteDunvik->trigger();
    m_window->actions().ASupport->trigger();
    QCOMPARE(m_prompter->openedUrls,
             QList<QUrl>({QUrl::fromLocalFile(m_dir->filePath(QStringLiteral("help.html"))),
                          QUrl::fromLocalFile(m_dir->filePath(QStringLiteral("license.html"))),
                          QUrl(TFMain::siteAddress()), QUrl(TFMain::supportAddress())}));
}

void TestMainWindow::storeFailureStopsTheStart()
{
    // A plain file where the Tables folder belongs.
    QFile blocker(m_dir->filePath(QStringLiteral("Tables")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QFile ini(m_dir->filePath(QStringLiteral("Vendrix.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Connect]\nShopUrl=http://shop.example\n");
    ini.close();
    start();
    QCOMPARE(m_prompter->shown.size(), 1);
    QCOMPARE(m_prompter->last().icon, Prompter::Icon::Error);
    QCOMPARE(m_prompter->last().caption, ProgramInfo::ProgramTitle());
    QVERIFY(m_prompter->last().text.contains(QLatin1String("Tables")));
    // The start stopped before the settings: the caption has no shop address.
    QCOMPARE(m_window->windowTitle(), ProgramInfo::ProgramTitle());
    QVERIFY(m_window->isVisible());
    QVERIFY(!m_window->findChild<QWidget*>(QStringLiteral("TFAbout"))->isVisible());
}

void TestMainWindow::settingsReachTheCaption()
{
    QFile ini(m_dir->filePath(QStringLiteral("Vendrix.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[connect]\nshopurl=https://магазин.example\nLogin=anna\n"
              "[Options]\nRecordPerSession=abc\n[ArchiveOrders]\nGetOrderAutoTo=true\n");
    ini.close();
    start();
    QCOMPARE(m_window->windowTitle(),
             QStringLiteral("Dunvik Shop Trader v1.0.0.1 [https://магазин.example]"));
    QCOMPARE(m_window->startSettings().connection.login, QStringLiteral("anna"));
    QCOMPARE(m_window->startSettings().recordPerSession, 1125);
    QVERIFY(!m_window->startSettings().period.autoTo);
    QVERIFY(m_window->startSettings().period.autoFrom);
}

void TestMainWindow::f12Closes()
{
    start();
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTest::keyClick(m_window.get(), Qt::Key_F12);
    QTRY_VERIFY(!m_window->isVisible());
}

void TestMainWindow::layoutSurvivesARestart()
{
    start();
    DataGrid* orders = m_window->desk().DBOrders();
    const int discount = orders->columnOf(QStringLiteral("disc_sum"));
    orders->setColumnHidden(discount, true);
    DataGrid* goods = m_window->desk().DBGoods();
    const int price = goods->columnOf(QStringLiteral("price"));
    goods->moveColumn(price, 0);
    m_window->close();
    QVERIFY(QFileInfo::exists(m_dir->filePath(QStringLiteral("FormDesign.ini"))));

    start();
    QVERIFY(m_window->desk().DBOrders()->isColumnHidden(discount));
    QVERIFY(!m_window->desk().DBOrders()->isColumnHidden(discount + 1));
    QCOMPARE(m_window->desk().DBGoods()->columnsInViewOrder().first(), price);
    QVERIFY(m_window->desk().DBGoods()->isFrozenColumn(price));
}

void TestMainWindow::closingWithUnsentMarks()
{
    start();
    QSqlQuery(m_window->dm().database())
        .exec(QStringLiteral("INSERT INTO archive_order (id, status, status_was, date_time) "
                             "VALUES (1, 2, 1, '2026-12-01 10:00:00')"));
    m_window->desk().AOrdersRefresh();
    m_prompter->answers = {Prompter::Answer::Cancel};
    m_window->close();
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_prompter->last().text,
             QStringLiteral("Были установлены новые статусы для заказов, передать их на сервер?"));
    QCOMPARE(m_prompter->last().buttons, Prompter::Buttons::YesNoCancel);
    m_prompter->answers = {Prompter::Answer::No};
    m_window->close();
    QVERIFY(!m_window->isVisible());
    // The mark stays pending in the store.
    QCOMPARE(m_window->dm().TableTemp(QStringLiteral("archive_order")).rowCount(), 1);
}

void TestMainWindow::serverButtonAndConnectionDialog()
{
    start();
    TFLogView& log = m_window->logView();
    QVERIFY(!log.isVisible());
    m_window->findChild<QToolButton*>(QStringLiteral("TBServer"))->click();
    QVERIFY(log.isVisible());
    QCOMPARE(log.busyIndicator(), m_window->findChild<QToolButton*>(QStringLiteral("TBServer")));
    QCOMPARE(m_window->request().ScriptPath, QStringLiteral("/admin/trader.php"));

    // The dialog edits the address; "Отмена" keeps it, and the caption is set anew.
    QTimer::singleShot(0, this, [] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            if (auto* url = dialog->findChild<QLineEdit*>(QStringLiteral("EURL")))
                url->setText(QStringLiteral("shop.example"));
            QTest::keyClick(dialog, Qt::Key_Escape);
        }
    });
    m_window->actions().AConnectParam->trigger();
    QCOMPARE(m_window->connection().shopUrl, QStringLiteral("http://127.0.0.1:8047"));
    QCOMPARE(m_window->windowTitle(),
             QStringLiteral("Dunvik Shop Trader v1.0.0.1 [http://127.0.0.1:8047]"));
}

void TestMainWindow::statusMarkCarriesTheBuyerNote()
{
    start();
    QSqlQuery insert(m_window->dm().database());
    QVERIFY(insert.exec(QStringLiteral(
        "INSERT INTO archive_order (id, status, status_was, manager_id, send_note, send_email, "
        "date_time) VALUES (1, 0, 0, 0, 'заметка первого', 1, '2026-12-03 10:00:00'), "
        "(2, 3, 3, 0, NULL, 0, '2026-12-02 10:00:00'), "
        "(3, 4, 4, 0, NULL, 0, '2026-12-01 10:00:00')")));
    m_window->desk().AOrdersRefresh();
    DataGrid* orders = m_window->desk().DBOrders();
    for (int row = 0; row < 3; ++row)
        orders->setMarked(row, true);
    orders->setCurrentRow(0);

    QString shownNote;
    QTimer::singleShot(0, this, [&shownNote] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        auto* text = dialog->findChild<QPlainTextEdit*>();
        shownNote = text->toPlainText();
        text->setPlainText(QStringLiteral("Ваш заказ выполнен"));
        for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
            if (b->text() == QLatin1String("OK"))
                b->click();
    });
    m_window->actions().ASetStatusExecuted->trigger();
    QCOMPARE(shownNote, QStringLiteral("заметка первого"));
    // Only the open order takes the status; the finished ones keep theirs.
    QSqlQuery q(m_window->dm().database());
    QVERIFY(q.exec(QStringLiteral("SELECT id, status, send_note FROM archive_order ORDER BY id")));
    QList<QStringList> rows;
    while (q.next())
        rows << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
    QCOMPARE(rows, (QList<QStringList>{{QStringLiteral("1"), QStringLiteral("3"),
                                        QStringLiteral("Ваш заказ выполнен")},
                                       {QStringLiteral("2"), QStringLiteral("3"), QString()},
                                       {QStringLiteral("3"), QStringLiteral("4"), QString()}}));
    QVERIFY(m_prompter->shown.isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_MainWindow.moc"

#include "ConnectionParams.h"
#include "DemoShopProcess.h"
#include "DeskOperations.h"
#include "OrderNotes.h"
#include "OrderPeriod.h"
#include "OrdersDownload.h"
#include "ReferenceDownload.h"
#include "Schema.h"
#include "ScriptedPrompter.h"
#include "ServerRequest.h"
#include "SettingsFile.h"
#include "Sql.h"
#include "StatusChanges.h"
#include "SyncContext.h"
#include "SyncProgress.h"
#include "TDMMain.h"
#include "XmlRecords.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// The order desk as the synchronisation sees it: it only counts what it is asked to do.
class RecordingDesk : public DeskOperations {
public:
    int refreshes = 0;
    int locks = 0;
    int unlocks = 0;
    int currencyUpdates = 0;
    void TCOrdersChange() override {}
    void AOrdersRefresh() override { ++refreshes; }
    void ARefreshButton() override {}
    void AButtonDisable() override { ++locks; }
    void AButtonEnabel() override { ++unlocks; }
    void ACurrUpdate() override { ++currencyUpdates; }
    QString BaseCurrencyName() const override { return {}; }
};

// One program folder with its store, talking to one demonstration shop.
struct Trader {
    QTemporaryDir dir;
    TDMMain dm{AppFolder(dir.path())};
    SettingsFile settings{AppFolder(dir.path()).settingsFile()};
    ConnectionParams connection;
    ScriptedPrompter prompter;
    RecordingDesk desk;
    NoProgress progress;
    StartSettings start;
    QDateTime now = QDateTime::currentDateTime();
    std::unique_ptr<ServerRequest> request;
    std::unique_ptr<SyncContext> context;
    std::unique_ptr<ReferenceDownload> reference;
    std::unique_ptr<StatusChanges> status;
    std::unique_ptr<OrdersDownload> orders;

    explicit Trader(const QString& shopUrl)
    {
        dm.AConnectDB();
        connection.shopUrl = shopUrl;
        connection.login = QStringLiteral("manager");
        connection.password = QStringLiteral("secret");
        request = std::make_unique<ServerRequest>(connection, AppFolder(dir.path()), prompter);
        request->AInitiate();
        request->ScriptPath = QStringLiteral("/admin/trader.php");
        start = StartSettings::read(settings, now.date());
        context = std::make_unique<SyncContext>(SyncContext{
            dm, *request, prompter, desk, settings, progress, start, [this] { return now; },
            [] { return QStringLiteral("Dunvik Shop Trader"); }});
        reference = std::make_unique<ReferenceDownload>(*context);
        status = std::make_unique<StatusChanges>(*context);
        orders = std::make_unique<OrdersDownload>(*context, *reference, *status);
    }

    qint64 count(const QString& table) const { return dm.TableTemp(table).rowCount(); }
    QVariant scalar(const QString& sql) const { return Sql::scalar(dm.database(), sql); }
    void exec(const QString& sql) const { Sql::exec(dm.database(), sql); }
};

using Answer = Prompter::Answer;

} // namespace

class TestSyncFlows : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { m_shop.stop(); }
    void period_data();
    void period();
    void compareListNamesEveryOrderOfThePeriod();
    void firstAndSecondDownload();
    void continuationNo();
    void statusUploadAndManagerCheck();
    void failedPageLeavesEarlierTablesNew();
    void pendingMarksTest();
    void internalNotes();
    void fullReloadAsksAboutDrafts();

private:
    DemoShopProcess m_shop;
};

void TestSyncFlows::period_data()
{
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("values");

    QTest::newRow("both automatic, end of May")
        << true << QDateTime(QDate(2011, 5, 31), QTime(10, 0))
        << "2011-02-28 10:00:00;2011-05-31 10:00:00";
    QTest::newRow("both automatic, mid-month")
        << true << QDateTime(QDate(2011, 7, 15), QTime(0, 0)) << "2011-04-15;2011-07-15";
    QTest::newRow("fixed dates") << false << QDateTime(QDate(2011, 5, 31), QTime(10, 0))
                                 << "2011-03-01;2011-03-31 23:59:59";
}

void TestSyncFlows::period()
{
    QFETCH(bool, automatic);
    QFETCH(QDateTime, now);
    QFETCH(QString, values);
    OrderPeriodSettings settings;
    settings.autoFrom = settings.autoTo = automatic;
    settings.from = QDate(2011, 3, 1);
    settings.to = QDate(2011, 3, 31);
    const OrderPeriod period = OrderPeriod::at(settings, now);
    QCOMPARE(XmlRecords::ServerDateTime(period.start) + QLatin1Char(';') +
                 XmlRecords::ServerDateTime(period.end),
             values);
}

// The shop's own time form goes as it is stored (a midnight time without its time); any
// other form is read as a moment first, and what does not read is the earliest moment.
void TestSyncFlows::compareListNamesEveryOrderOfThePeriod()
{
    Trader trader(QStringLiteral("http://127.0.0.1:1"));
    const QString inside = OrderPeriod::storageText(trader.now.addDays(-1));
    const QString outside = OrderPeriod::storageText(trader.now.addYears(-2));
    const QList<std::pair<int, QVariant>> stored = {{1, QStringLiteral("2011-05-31 10:20:30")},
                                                    {2, QStringLiteral("2011-05-31 00:00:00")},
                                                    {3, QStringLiteral("2011-05-31")},
                                                    {4, QStringLiteral("31.05.2011 10:20")},
                                                    {5, QVariant()},
                                                    {6, QStringLiteral("2011-06-01 08:00:00")}};
    for (const auto& [id, changed] : stored)
        Sql::exec(trader.dm.database(),
                  QStringLiteral("INSERT INTO archive_order (id, date_time, update_time) VALUES "
                                 "(?, ?, ?)"),
                  {id, id == 6 ? outside : inside, changed});
    QStringList entries =
        trader.orders->compareList(OrderPeriod::at(trader.start.period, trader.now))
            .split(QLatin1Char('&'));
    QCOMPARE(entries.takeFirst(), QStringLiteral("0=0"));
    entries.sort();
    QCOMPARE(entries,
             QStringList({QStringLiteral("1=2011-05-31 10:20:30"), QStringLiteral("2=2011-05-31"),
                          QStringLiteral("3=1899-12-30"), QStringLiteral("4=1899-12-30"),
                          QStringLiteral("5=1899-12-30")}));
}

void TestSyncFlows::firstAndSecondDownload()
{
    QTemporaryDir shopData;
    QVERIFY(m_shop.start({QStringLiteral("--data"), shopData.path(), QStringLiteral("--orders"),
                          QStringLiteral("250")}));
    Trader trader(m_shop.url());
    // An empty archive sends only "0=0".
    QCOMPARE(trader.orders->compareList(OrderPeriod::at(trader.start.period, trader.now)),
             QStringLiteral("0=0"));
    // A local order the shop does not know: it comes back as a ghost.
    trader.exec(QStringLiteral("INSERT INTO archive_order (id, date_time) VALUES (999999, '%1')")
                    .arg(OrderPeriod::storageText(trader.now.addDays(-1))));
    trader.prompter.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
    QVERIFY(trader.orders->ARefreshData());
    for (const QString& table : ReferenceDownload::tables())
        QVERIFY2(trader.count(table) > 0, qPrintable(table));
    QVERIFY(trader
                .scalar(QStringLiteral("SELECT key_value FROM shop_values WHERE key_name = "
                                       "'main_update_time'"))
                .isValid());
    QCOMPARE(trader.scalar(QStringLiteral("SELECT COUNT(*) FROM archive_order WHERE id = 999999"))
                 .toInt(),
             0);
    const qint64 archived = trader.count(QStringLiteral("archive_order"));
    QVERIFY(archived > 100);
    QVERIFY(trader.count(QStringLiteral("archive_basket")) >= archived);
    QVERIFY(trader.count(QStringLiteral("archive_client_field")) > 0);
    QCOMPARE(trader.prompter.last().text,
             QStringLiteral("Обновление заказов с сервера успешно завершено."));
    QCOMPARE(trader.desk.currencyUpdates, 1);
    QCOMPARE(trader.desk.locks, trader.desk.unlocks);
    QCOMPARE(
        trader.settings.ReadSetting(QStringLiteral("Main"), QStringLiteral("ManagerID"), QString())
            .isEmpty(),
        false);

    // The shop's staff changes three orders; the next download brings those three only.
    m_shop.stop();
    QVERIFY(m_shop.start({QStringLiteral("--data"), shopData.path(),
                          QStringLiteral("--touch-orders"), QStringLiteral("3")}));
    trader.connection.shopUrl = m_shop.url();
    trader.exec(QStringLiteral("UPDATE archive_order SET inside_note = 'мой'"));
    trader.prompter.shown.clear();
    QVERIFY(trader.orders->ARefreshData());
    QCOMPARE(trader.count(QStringLiteral("archive_order")), archived);
    QCOMPARE(trader
                 .scalar(QStringLiteral("SELECT COUNT(*) FROM archive_order WHERE inside_note "
                                        "IS NOT 'мой'"))
                 .toInt(),
             3);
    // The reference tables were current: no question about them.
    QCOMPARE(trader.prompter.shown.size(), 1);
    m_shop.stop();
}

void TestSyncFlows::continuationNo()
{
    QVERIFY(m_shop.start({QStringLiteral("--orders"), QStringLiteral("250"),
                          QStringLiteral("--transfer-limit"), QStringLiteral("100")}));
    Trader trader(m_shop.url());
    trader.prompter.answers = {Answer::No, Answer::No};
    QVERIFY(trader.orders->ARefreshData());
    QCOMPARE(trader.count(QStringLiteral("store")), 0); // the reference question was answered No
    QCOMPARE(trader.count(QStringLiteral("archive_order")), 100);
    QCOMPARE(trader.prompter.last().text,
             QStringLiteral("Не удалось за одно обращение к серверу загрузить всю информацию. "
                            "Загружать дальше?"));
    // The next download goes on from there.
    trader.prompter.answers = {Answer::No, Answer::No};
    QVERIFY(trader.orders->ARefreshData());
    QCOMPARE(trader.count(QStringLiteral("archive_order")), 200);
    m_shop.stop();
}

void TestSyncFlows::statusUploadAndManagerCheck()
{
    QVERIFY(m_shop.start({QStringLiteral("--orders"), QStringLiteral("60")}));
    Trader trader(m_shop.url());
    trader.prompter.answers = {Answer::No};
    QVERIFY(trader.orders->ARefreshData());
    QVERIFY(trader.count(QStringLiteral("archive_order")) > 10);

    // Nothing pending: nothing is sent.
    QVERIFY(!trader.status->AUpdateStatus());
    QCOMPARE(trader.prompter.last().text, QStringLiteral("Не заданно ни одного нового статуса!"));
    QCOMPARE(trader.prompter.last().icon, Prompter::Icon::Error);

    QSqlQuery open = Sql::exec(trader.dm.database(),
                               QStringLiteral("SELECT id FROM archive_order WHERE status_was < 3 "
                                              "ORDER BY id LIMIT 2"));
    QStringList ids;
    while (open.next())
        ids << open.value(0).toString();
    const QString finished =
        trader.scalar(QStringLiteral("SELECT id FROM archive_order WHERE status_was >= 3 LIMIT 1"))
            .toString();
    QCOMPARE(ids.size(), 2);
    QVERIFY(!finished.isEmpty());
    trader.status->apply(StatusChanges::Mark::Executed, {ids[0], finished},
                         QStringLiteral("Ок, ждём"), true);
    trader.status->apply(StatusChanges::Mark::PaymentAccept, {ids[1]}, QString(), false);
    trader.exec(QStringLiteral("UPDATE archive_order SET status = 5 WHERE id = %1").arg(ids[1]));
    const QString lists = trader.status->changeLists();
    QVERIFY2(lists.startsWith(ids[0] + QStringLiteral("=3;")), qPrintable(lists));
    QVERIFY2(
        lists.contains(QStringLiteral(":") + ids[0] + QStringLiteral("=%CE%EA%2C+%E6%E4%B8%EC;")),
        qPrintable(lists));
    QVERIFY(!lists.contains(finished + QStringLiteral("=3")));

    QVERIFY(trader.status->AUpdateStatus());
    QCOMPARE(trader.prompter.last().text, QStringLiteral("Обновление статусов заказов выполнено."));
    QCOMPARE(trader
                 .scalar(QStringLiteral("SELECT COUNT(*) FROM archive_order WHERE status <> "
                                        "status_was OR get_payment <> payment_was"))
                 .toInt(),
             0);
    QCOMPARE(
        trader
            .scalar(QStringLiteral("SELECT COUNT(*) FROM archive_order WHERE id = %1").arg(ids[1]))
            .toInt(),
        0);
    QCOMPARE(trader
                 .scalar(QStringLiteral("SELECT COUNT(*) FROM archive_basket WHERE order_id = %1")
                             .arg(ids[1]))
                 .toInt(),
             0);
    QCOMPARE(trader
                 .scalar(QStringLiteral("SELECT COUNT(*) FROM archive_order WHERE send_email = 0 "
                                        "OR send_note IS NOT NULL"))
                 .toInt(),
             0);

    // The manager check.
    trader.settings.WriteSetting(QStringLiteral("Main"), QStringLiteral("ManagerID"),
                                 QStringLiteral("7"));
    QVERIFY(trader.status->managerAllows(0));
    QVERIFY(trader.status->managerAllows(7));
    trader.settings.WriteSetting(QStringLiteral("Main"), QStringLiteral("ManagerID"),
                                 QStringLiteral("0"));
    QVERIFY(!trader.status->managerAllows(7));
    QCOMPARE(trader.prompter.last().text,
             QStringLiteral("Операцию выполнить нельзя! Заказ уже принят другим менеджером!"));
    m_shop.stop();
}

void TestSyncFlows::failedPageLeavesEarlierTablesNew()
{
    QTemporaryDir shopData;
    QVERIFY(m_shop.start({QStringLiteral("--data"), shopData.path()}));
    // What a whole download brings, table by table.
    QHash<QString, qint64> full;
    {
        Trader reference(m_shop.url());
        reference.prompter.answers = {Answer::Yes};
        QVERIFY(reference.reference->AGetTables());
        for (const QString& table : ReferenceDownload::tables())
            full.insert(table, reference.count(table));
    }
    const int pageSize = 7;
    // The third page of the first table after the first two that has three pages fails.
    int request = 0;
    int failingTable = -1;
    for (int t = 0; t < ReferenceDownload::tables().size() && failingTable < 0; ++t) {
        const qint64 pages = (full[ReferenceDownload::tables()[t]] + pageSize - 1) / pageSize;
        if (t >= 2 && pages >= 3) {
            request += 3;
            failingTable = t;
        } else {
            request += int(pages);
        }
    }
    QVERIFY(failingTable > 0);
    m_shop.stop();
    QVERIFY(m_shop.start({QStringLiteral("--data"), shopData.path(), QStringLiteral("--fault"),
                          QStringLiteral("GET_TABLE_DATA@%1=HTTP_500").arg(request)}));

    Trader trader(m_shop.url());
    trader.start.recordPerSession = pageSize;
    // Old rows in every table, so it shows which tables were replaced.
    for (const QString& table : ReferenceDownload::tables()) {
        const QString key = table == QLatin1String("shop_values") ? QStringLiteral("'old'")
                                                                  : QStringLiteral("987654");
        const QString column = QLatin1String(Schema::find(table)->fields.front().name);
        trader.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, column, key));
    }
    trader.prompter.answers = {Answer::Yes};
    QVERIFY(!trader.reference->AGetTables());
    for (int t = 0; t < ReferenceDownload::tables().size(); ++t) {
        const QString table = ReferenceDownload::tables()[t];
        if (t < failingTable)
            QCOMPARE(trader.count(table), full[table]);
        else if (t == failingTable)
            QCOMPARE(trader.count(table), qint64(2 * pageSize));
        else
            QCOMPARE(trader.count(table), qint64(1));
    }
    QCOMPARE(trader.desk.currencyUpdates, 0);
    QCOMPARE(trader.desk.locks, trader.desk.unlocks);
    m_shop.stop();
}

void TestSyncFlows::pendingMarksTest()
{
    QVERIFY(m_shop.start({QStringLiteral("--orders"), QStringLiteral("20")}));
    Trader trader(m_shop.url());
    trader.prompter.answers = {Answer::No};
    QVERIFY(trader.orders->ARefreshData());
    const QString id =
        trader.scalar(QStringLiteral("SELECT id FROM archive_order WHERE status_was < 3"))
            .toString();
    trader.status->apply(StatusChanges::Mark::Accept, {id}, QString(), false);
    trader.status->apply(StatusChanges::Mark::Delivery, {id}, QString(), false);

    trader.prompter.answers = {Answer::Cancel};
    trader.status->AStatusTest();
    QVERIFY(trader.status->StatusTestCancelled());
    trader.prompter.answers = {Answer::No};
    trader.status->AStatusTest();
    QVERIFY(!trader.status->StatusTestCancelled());
    QCOMPARE(trader.scalar(QStringLiteral("SELECT status FROM archive_order WHERE id = %1").arg(id))
                 .toInt(),
             2);
    // A cancelled test stops the download before it sends anything.
    trader.prompter.answers = {Answer::Cancel};
    QVERIFY(trader.orders->ARefreshData());
    QCOMPARE(trader.scalar(QStringLiteral("SELECT status FROM archive_order WHERE id = %1").arg(id))
                 .toInt(),
             2);
    trader.prompter.answers = {Answer::Yes};
    trader.status->AStatusTest();
    QVERIFY(!trader.status->StatusTestCancelled());
    QCOMPARE(
        trader.scalar(QStringLiteral("SELECT status_was FROM archive_order WHERE id = %1").arg(id))
            .toInt(),
        2);
    m_shop.stop();
}

void TestSyncFlows::internalNotes()
{
    QVERIFY(
        m_shop.start({QStringLiteral("--orders"), QStringLiteral("10"), QStringLiteral("--fault"),
                      QStringLiteral("SAVE_ORDER_NOTE@2=SQL_ERROR:нет связи")}));
    Trader trader(m_shop.url());
    trader.prompter.answers = {Answer::No};
    QVERIFY(trader.orders->ARefreshData());
    OrderNotes notes(trader.dm, *trader.request, trader.desk);
    const qint64 id =
        trader.scalar(QStringLiteral("SELECT MIN(id) FROM archive_order")).toLongLong();
    const auto note = [&] {
        return trader.scalar(
            QStringLiteral("SELECT inside_note FROM archive_order WHERE id = %1").arg(id));
    };
    QVERIFY(notes.saveInsideNote(id, QStringLiteral("Перезвонить в пятницу")));
    QCOMPARE(note().toString(), QStringLiteral("Перезвонить в пятницу"));
    // The shop refuses: the local note stays as it was, and the commands are unlocked.
    const int unlocks = trader.desk.unlocks;
    QVERIFY(!notes.saveInsideNote(id, QStringLiteral("другое")));
    QCOMPARE(note().toString(), QStringLiteral("Перезвонить в пятницу"));
    QCOMPARE(trader.desk.unlocks, unlocks + 1);
    // An empty note empties the local one.
    QVERIFY(notes.saveInsideNote(id, QString()));
    QVERIFY(note().isNull());
    // A draft's note stays local, whatever its number.
    trader.exec(QStringLiteral("INSERT INTO draft_order (folder, inside_note) VALUES (3, 'x')"));
    const qint64 draft =
        trader.scalar(QStringLiteral("SELECT MAX(id) FROM draft_order")).toLongLong();
    notes.saveDraftNote(draft, QStringLiteral("черновик"));
    QCOMPARE(
        trader
            .scalar(QStringLiteral("SELECT inside_note FROM draft_order WHERE id = %1").arg(draft))
            .toString(),
        QStringLiteral("черновик"));
    m_shop.stop();
}

void TestSyncFlows::fullReloadAsksAboutDrafts()
{
    QVERIFY(m_shop.start({QStringLiteral("--orders"), QStringLiteral("30")}));
    Trader trader(m_shop.url());
    trader.exec(QStringLiteral("INSERT INTO archive_order (id, date_time) VALUES (999999, '%1')")
                    .arg(OrderPeriod::storageText(trader.now.addDays(-1))));
    trader.exec(QStringLiteral("INSERT INTO draft_order (folder) VALUES (1)"));
    trader.exec(QStringLiteral("INSERT INTO draft_basket (order_id, store_id) VALUES (1, 5)"));
    const QString question = QStringLiteral(
        "Внимание! У вас есть заказы, не отправленные на сервер! Уничтожить их тоже?");

    // Cancel: nothing is emptied and nothing is downloaded.
    trader.prompter.answers = {Answer::Cancel};
    QVERIFY(trader.orders->AReGetOrders());
    QCOMPARE(trader.count(QStringLiteral("archive_order")), qint64(1));
    QCOMPARE(trader.prompter.last().text, question);

    // No: the drafts stay, the archive is downloaded anew.
    trader.prompter.answers = {Answer::No, Answer::No};
    QVERIFY(trader.orders->AReGetOrders());
    QCOMPARE(trader.count(QStringLiteral("draft_order")), qint64(1));
    QCOMPARE(trader.count(QStringLiteral("draft_basket")), qint64(1));
    QCOMPARE(trader.scalar(QStringLiteral("SELECT COUNT(*) FROM archive_order WHERE id = 999999"))
                 .toInt(),
             0);
    QCOMPARE(trader.count(QStringLiteral("archive_order")), qint64(30));

    // Yes: the drafts go too.
    trader.prompter.answers = {Answer::Yes, Answer::No};
    QVERIFY(trader.orders->AReGetOrders());
    QCOMPARE(trader.count(QStringLiteral("draft_order")), qint64(0));
    QCOMPARE(trader.count(QStringLiteral("draft_basket")), qint64(0));
    QCOMPARE(trader.count(QStringLiteral("archive_order")), qint64(30));
    m_shop.stop();
}

QTEST_MAIN(TestSyncFlows)
#include "tst_SyncFlows.moc"

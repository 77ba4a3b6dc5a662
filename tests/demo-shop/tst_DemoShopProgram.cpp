#include "ShopDb.h"
#include "ShopHarness.h"
#include "ShopSeeder.h"
#include "SqlStatement.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// The program started as a child, on a free port; the port is read from its one line.
struct Running {
    QProcess process;
    int port = 0;
    QByteArray line;

    bool start(const QStringList& arguments)
    {
        process.start(QStringLiteral(DEMO_SHOP_BINARY),
                      QStringList{QStringLiteral("--port"), QStringLiteral("0")} + arguments);
        if (!process.waitForStarted())
            return false;
        while (!process.canReadLine())
            if (!process.waitForReadyRead(60000))
                return false;
        line = process.readLine();
        const QRegularExpressionMatch match =
            QRegularExpression(
                QStringLiteral("^demo-shop listening on http://127\\.0\\.0\\.1:(\\d+)\\n$"))
                .match(QString::fromLatin1(line));
        port = match.hasMatch() ? match.captured(1).toInt() : 0;
        return port > 0;
    }
    bool stop(int signal)
    {
        ::kill(pid_t(process.processId()), signal);
        return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }
    QByteArray post(const QByteArray& command, const QByteArray& values,
                    const std::optional<QByteArray>& data = std::nullopt)
    {
        return ShopHarness::postTo(port,
                                   ShopHarness::formBody(ShopHarness::Boundary, command, values,
                                                         data, "manager", "demo"),
                                   ShopHarness::Boundary)
            .body;
    }
};

// Every row of every table, in key order, hashed.
QByteArray dump(ShopDb& db)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    SqlStatement tables(db, "SELECT name FROM sqlite_master WHERE type='table' ORDER BY name");
    while (tables.next()) {
        SqlStatement rows(db,
                          QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1, 2").arg(tables.text(0)));
        while (rows.next())
            for (int c = 0; c < rows.columnCount(); ++c)
                hash.addData(rows.text(c).toUtf8() + '|');
    }
    return hash.result();
}

} // namespace

class tst_DemoShopProgram : public QObject {
    Q_OBJECT

private slots:
    void servesAndStops_data();
    void servesAndStops();
    void keepsItsDataFolder();
    void refusesBadArguments_data();
    void refusesBadArguments();
    void seedIsDeterministicAndComplete();
};

void tst_DemoShopProgram::servesAndStops_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void tst_DemoShopProgram::servesAndStops()
{
    QFETCH(int, signal);
    Running shop;
    QVERIFY2(
        shop.start({QStringLiteral("--goods"), QStringLiteral("20"), QStringLiteral("--orders"),
                    QStringLiteral("30"), QStringLiteral("--clients"), QStringLiteral("5")}),
        shop.line.constData());
    QCOMPARE(shop.post("GET_LAST_UPDATE", "2016-01-01"), QByteArray("RETURN_VALUE 1"));
    QVERIFY(shop.stop(signal));
}

void tst_DemoShopProgram::keepsItsDataFolder()
{
    QTemporaryDir folder;
    const QString data = folder.filePath(QStringLiteral("shop"));
    // What an interrupted first seed leaves behind is thrown away.
    const QString part = QDir(data).filePath(QStringLiteral("demo-shop.sqlite.part"));
    QVERIFY(QDir().mkpath(data));
    {
        QFile stale(part);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("half a shop");
    }
    {
        Running shop;
        QVERIFY(shop.start(
            {QStringLiteral("--data"), data, QStringLiteral("--orders"), QStringLiteral("40")}));
        QVERIFY(shop.process.readAllStandardError().contains("seeded"));
        QVERIFY(!QFile::exists(part));
        QCOMPARE(shop.post("SAVE_ORDER_NOTE", "5", "kept"), QByteArray("QUERY_EXECUTE"));
        QVERIFY(shop.stop(SIGTERM));
    }
    const auto changeTimes = [&] {
        ShopDb db(QDir(data).filePath(QStringLiteral("demo-shop.sqlite")));
        SqlStatement orders(db, "SELECT id, update_time FROM archive_order ORDER BY id");
        QMap<qint64, QString> times;
        while (orders.next())
            times.insert(orders.integer(0), orders.text(1));
        return times;
    };
    const QMap<qint64, QString> before = changeTimes();
    {
        // Seeded once only; the touched orders get change times of this start.
        Running shop;
        QVERIFY(shop.start({QStringLiteral("--data"), data, QStringLiteral("--touch-orders"),
                            QStringLiteral("3")}));
        QVERIFY(shop.stop(SIGTERM));
        QVERIFY(!shop.process.readAllStandardError().contains("seeded"));
    }
    ShopDb db(QDir(data).filePath(QStringLiteral("demo-shop.sqlite")));
    SqlStatement note(db, "SELECT inside_note FROM archive_order WHERE id=5");
    QVERIFY(note.next());
    QCOMPARE(note.text(0), QStringLiteral("kept"));
    SqlStatement count(db, "SELECT COUNT(*) FROM archive_order");
    count.next();
    QCOMPARE(count.integer(0), 40);
    const QMap<qint64, QString> after = changeTimes();
    QCOMPARE(after.keys(), before.keys());
    int touched = 0;
    for (auto it = after.begin(); it != after.end(); ++it)
        if (it.value() != before.value(it.key())) {
            QVERIFY(it.value() > before.value(it.key()));
            ++touched;
        }
    QVERIFY2(touched >= 1 && touched <= 3, qPrintable(QString::number(touched)));
}

void tst_DemoShopProgram::refusesBadArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("output");
    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0
                          << QByteArray("--fault RULE");
    QTest::newRow("port not a number") << QStringList{QStringLiteral("--port"), QStringLiteral("x")}
                                       << 2 << QByteArray("--port needs a number");
    QTest::newRow("unknown fault") << QStringList{QStringLiteral("--fault"), QStringLiteral("OOPS")}
                                   << 2 << QByteArray("unknown fault: OOPS");
    QTest::newRow("password alone")
        << QStringList{QStringLiteral("--password"), QStringLiteral("p")} << 2
        << QByteArray("--password needs --login");
    QTest::newRow("unknown option")
        << QStringList{QStringLiteral("--verbose")} << 2 << QByteArray("--verbose");
}

void tst_DemoShopProgram::refusesBadArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, output);
    QProcess process;
    process.start(QStringLiteral(DEMO_SHOP_BINARY), arguments);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), exitCode);
    const QByteArray all = process.readAllStandardOutput() + process.readAllStandardError();
    QVERIFY2(all.contains(output), all.constData());
}

void tst_DemoShopProgram::seedIsDeterministicAndComplete()
{
    const ShopSeeder::Size size{60, 120, 20};
    ShopDb first;
    ShopSeeder(first, size, ShopHarness::fixedNow()).seed();
    ShopDb second;
    ShopSeeder(second, size, ShopHarness::fixedNow()).seed();
    QCOMPARE(dump(first), dump(second));

    const auto number = [&](const char* sql) {
        SqlStatement query(first, sql);
        query.next();
        return query.integer(0);
    };
    QCOMPARE(number("SELECT COUNT(*) FROM store"), 60);
    QCOMPARE(number("SELECT COUNT(*) FROM archive_order"), 120);
    QCOMPARE(number("SELECT COUNT(*) FROM client"), 20);
    QCOMPARE(number("SELECT COUNT(DISTINCT status || '/' || get_payment) FROM archive_order"), 10);
    QCOMPARE(number("SELECT COUNT(*) FROM archive_order WHERE date_time < '2026-03-15 12:00:00' "
                    "OR date_time > '2026-06-15 12:00:00'"),
             0);
    QCOMPARE(number("SELECT COUNT(*) FROM store WHERE id NOT IN (SELECT store_id FROM "
                    "topic_store)"),
             0);
    QVERIFY(number("SELECT COUNT(*) FROM (SELECT store_id FROM topic_store GROUP BY store_id "
                   "HAVING COUNT(*) > 1)") > 0);
    QVERIFY(number("SELECT COUNT(*) FROM store_add") > 0);
    QVERIFY(number("SELECT COUNT(*) FROM archive_basket WHERE param_personal=1") > 0);
    QCOMPARE(number("SELECT COUNT(*) FROM archive_order WHERE NOT EXISTS (SELECT 1 FROM "
                    "archive_basket b WHERE b.order_id=archive_order.id)"),
             0);
    QCOMPARE(number("SELECT COUNT(*) FROM payment WHERE division=1 AND curr_name='USD'"), 1);
    QCOMPARE(number("SELECT COUNT(*) FROM shop_values WHERE key_name='main_base_curr'"), 1);
    // Every order adds up: goods less discount plus delivery and services.
    QCOMPARE(number("SELECT COUNT(*) FROM archive_order WHERE abs(itogo_sum - disc_sum + "
                    "deliv_cost + cond_cost - total_sum) > 0.001"),
             0);
    QCOMPARE(number("SELECT COUNT(*) FROM archive_order o WHERE abs(itogo_sum - (SELECT "
                    "SUM(new_price * how) FROM archive_basket b WHERE b.order_id=o.id)) > 0.001"),
             0);
}

QTEST_GUILESS_MAIN(tst_DemoShopProgram)
#include "tst_DemoShopProgram.moc"

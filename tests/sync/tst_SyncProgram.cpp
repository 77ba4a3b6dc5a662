#include "DemoShopProcess.h"

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString output;
};

// The scheduled program on its own folder, with a per-user store of its own.
class SyncProgram {
public:
    QTemporaryDir folder;
    QTemporaryDir home;

    explicit SyncProgram(const QString& shopUrl)
    {
        QFile ini(QDir(folder.path()).filePath(QStringLiteral("Vendrix.ini")));
        ini.open(QIODevice::WriteOnly);
        ini.write("[Connect]\nShopUrl=" + shopUrl.toUtf8() + "\nLogin=manager\n");
    }

    void start(QProcess& process, const QStringList& arguments) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setStandardInputFile(QProcess::nullDevice());
        process.start(QStringLiteral(SYNC_PROGRAM),
                      QStringList{QStringLiteral("--folder"), folder.path()} + arguments);
    }

    Run run(const QStringList& arguments) const
    {
        QProcess process;
        start(process, arguments);
        Run result;
        if (!process.waitForFinished(300000))
            return result;
        result.exitCode = process.exitCode();
        result.output = QString::fromLocal8Bit(process.readAll());
        return result;
    }

    QVariant scalar(const QString& sql) const
    {
        QVariant value;
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe"));
            db.setDatabaseName(
                QDir(folder.path()).filePath(QStringLiteral("Tables/DunvikShop.sqlite")));
            if (db.open()) {
                QSqlQuery query(db);
                if (query.exec(sql) && query.next())
                    value = query.value(0);
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("probe"));
        return value;
    }
};

} // namespace

class TestSyncProgram : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { m_shop.stop(); }
    void refreshAnswersFromTheCommandLine();
    void failedExchangeEndsWithStatusOne();
    void killedRefreshLeavesAnIntactStore();

private:
    DemoShopProcess m_shop;
};

void TestSyncProgram::refreshAnswersFromTheCommandLine()
{
    QVERIFY(m_shop.start({QStringLiteral("--orders"), QStringLiteral("150")}));
    SyncProgram program(m_shop.url());
    // No terminal and no --yes: every question is answered No.
    Run run = program.run({QStringLiteral("refresh")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.output.contains(QStringLiteral("выполнить обновление? — Нет")),
             qPrintable(run.output));
    QVERIFY2(run.output.contains(QStringLiteral("Загружать дальше? — Нет")),
             qPrintable(run.output));
    QCOMPARE(program.scalar(QStringLiteral("SELECT COUNT(*) FROM store")).toInt(), 0);
    QCOMPARE(program.scalar(QStringLiteral("SELECT COUNT(*) FROM archive_order")).toInt(), 100);

    run = program.run({QStringLiteral("refresh"), QStringLiteral("--yes")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.output.contains(QStringLiteral("Обновление заказов с сервера успешно завершено.")),
             qPrintable(run.output));
    QVERIFY(program.scalar(QStringLiteral("SELECT COUNT(*) FROM store")).toInt() > 0);
    QCOMPARE(program.scalar(QStringLiteral("SELECT COUNT(*) FROM archive_order")).toInt(), 150);

    run = program.run({QStringLiteral("upload")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.output.contains(QStringLiteral("Не заданно ни одного нового статуса!")));
    QCOMPARE(program.run({QStringLiteral("sideways")}).exitCode, 2);
}

void TestSyncProgram::failedExchangeEndsWithStatusOne()
{
    QVERIFY(m_shop.start({QStringLiteral("--fault"), QStringLiteral("SHOP_IS_LOCK")}));
    SyncProgram program(m_shop.url());
    const Run run = program.run({QStringLiteral("reget-tables"), QStringLiteral("--yes")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(!run.output.trimmed().isEmpty(), qPrintable(run.output));
}

void TestSyncProgram::killedRefreshLeavesAnIntactStore()
{
    QVERIFY(m_shop.start({QStringLiteral("--orders"), QStringLiteral("1500"),
                          QStringLiteral("--delay-ms"), QStringLiteral("30")}));
    SyncProgram program(m_shop.url());
    QProcess victim;
    program.start(victim, {QStringLiteral("refresh"), QStringLiteral("--yes")});
    QVERIFY(victim.waitForStarted());
    // Kill it while it writes: once the archive has some orders, but not all.
    QTRY_VERIFY_WITH_TIMEOUT(
        program.scalar(QStringLiteral("SELECT COUNT(*) FROM archive_order")).toInt() > 0, 120000);
    victim.kill();
    QVERIFY(victim.waitForFinished());
    QCOMPARE(victim.exitStatus(), QProcess::CrashExit);
    QCOMPARE(program.scalar(QStringLiteral("PRAGMA integrity_check")).toString(),
             QStringLiteral("ok"));
    QVERIFY(program.scalar(QStringLiteral("SELECT COUNT(*) FROM archive_order")).toInt() < 1500);

    const Run again = program.run({QStringLiteral("refresh"), QStringLiteral("--yes")});
    QCOMPARE(again.exitCode, 0);
    QCOMPARE(program.scalar(QStringLiteral("PRAGMA integrity_check")).toString(),
             QStringLiteral("ok"));
    QCOMPARE(program.scalar(QStringLiteral("SELECT COUNT(*) FROM archive_order")).toInt(), 1500);
    // Every order has its lines: no order was left half-written.
    QCOMPARE(program
                 .scalar(QStringLiteral("SELECT COUNT(*) FROM archive_order o WHERE NOT EXISTS "
                                        "(SELECT 1 FROM archive_basket b WHERE b.order_id = o.id)"))
                 .toInt(),
             0);
}

QTEST_GUILESS_MAIN(TestSyncProgram)
#include "tst_SyncProgram.moc"

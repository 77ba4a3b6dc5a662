#include "Cp1251.h"
#include "ShopHarness.h"

#include <QTest>

// Each fault the shop can be told to answer with, and the login check.
class tst_DemoShopFaults : public QObject {
    Q_OBJECT

private slots:
    void faultAnswers_data();
    void faultAnswers();
    void damagedArchives_data();
    void damagedArchives();
    void httpError();
    void closedConnection_data();
    void closedConnection();
    void delays();
    void faultTargets_data();
    void faultTargets();
    void loginCheck_data();
    void loginCheck();
    void brokenUpload();
};

void tst_DemoShopFaults::faultAnswers_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("wrong password")
        << QStringLiteral("WRONG_PASSWORD") << QByteArray("WRONG_PASSWORD");
    QTest::newRow("wrong cwd") << QStringLiteral("WRONG_CWD") << QByteArray("WRONG_CWD");
    QTest::newRow("shop locked") << QStringLiteral("SHOP_IS_LOCK") << QByteArray("SHOP_IS_LOCK");
    QTest::newRow("ip blocked") << QStringLiteral("ip_blocked") << QByteArray("IP_BLOCKED");
    QTest::newRow("sql error") << QStringLiteral("SQL_ERROR")
                               << Cp1251::encode(QString::fromUtf8(
                                      "SQL_ERROR Демонстрационная ошибка магазина"));
    QTest::newRow("php error with text")
        << QString::fromUtf8("PHP_ERROR:Нет файла config.php, a=b")
        << Cp1251::encode(QString::fromUtf8("PHP_ERROR Нет файла config.php, a=b"));
    QTest::newRow("unknown word") << QStringLiteral("UNKNOWN")
                                  << QByteArray("DEMO_SHOP_UNKNOWN_ANSWER");
    QTest::newRow("unknown text") << QStringLiteral("UNKNOWN:QUERY_EXECUTE ")
                                  << QByteArray("QUERY_EXECUTE ");
}

void tst_DemoShopFaults::faultAnswers()
{
    QFETCH(QString, rule);
    QFETCH(QByteArray, answer);
    ShopHarness::Options options;
    options.faults = {rule};
    ShopHarness shop(options);
    for (const QByteArray command : {"GET_TABLES_INFO", "SAVE_ORDER_NOTE"}) {
        const ShopHarness::Reply reply = shop.post(command, "1", "note");
        QCOMPARE(reply.status, 200);
        QCOMPARE(reply.body, answer);
    }
    // A fault takes the place of the work: the note was not saved.
    QVERIFY(shop.queryText("SELECT inside_note FROM archive_order WHERE id=1") !=
            QLatin1String("note"));
}

void tst_DemoShopFaults::damagedArchives_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<bool>("isZip");
    QTest::newRow("damaged") << QStringLiteral("BAD_ZIP") << false;
    QTest::newRow("entry missing") << QStringLiteral("NO_ENTRY") << true;
}

void tst_DemoShopFaults::damagedArchives()
{
    QFETCH(QString, rule);
    QFETCH(bool, isZip);
    ShopHarness::Options options;
    options.faults = {QStringLiteral("GET_TABLES_INFO=") + rule};
    ShopHarness shop(options);
    const QByteArray body = shop.post("GET_TABLES_INFO").body;
    QVERIFY(body.startsWith("ZIP_RESULT"));
    QVERIFY(body.size() > 42);
    for (char c : body.mid(10, 32))
        QVERIFY(std::isxdigit(static_cast<unsigned char>(c)));
    QCOMPARE(body.mid(42).startsWith("PK\x03\x04"), true);
    // Whatever the archive is, it does not hold the entry its name promises.
    QVERIFY(!ShopHarness::zipEntry(body));
    QCOMPARE(body.contains("PK\x05\x06"), isZip); // a whole archive ends with its directory
}

void tst_DemoShopFaults::httpError()
{
    ShopHarness::Options options;
    options.faults = {QStringLiteral("HTTP_500")};
    ShopHarness shop(options);
    const ShopHarness::Reply reply = shop.post("GET_LAST_UPDATE", "2020-01-01");
    QCOMPARE(reply.status, 500);
    QVERIFY(reply.error != QNetworkReply::NoError);
}

void tst_DemoShopFaults::closedConnection_data()
{
    QTest::addColumn<QString>("rule");
    // Qt resends a request whose connection closed before it read any answer byte, and a
    // busy machine may see a cut answer so, so both faults hold for the resent ones too.
    QTest::newRow("dropped") << QStringLiteral("GET_LAST_UPDATE=DROP");
    QTest::newRow("cut short") << QStringLiteral("GET_LAST_UPDATE=CUT");
}

void tst_DemoShopFaults::closedConnection()
{
    QFETCH(QString, rule);
    ShopHarness::Options options;
    options.faults = {rule};
    ShopHarness shop(options);
    const ShopHarness::Reply reply = shop.post("GET_LAST_UPDATE", "2020-01-01");
    QCOMPARE(reply.error, QNetworkReply::RemoteHostClosedError);
    QVERIFY(!reply.body.startsWith("RETURN_VALUE"));
    // The shop goes on serving.
    QCOMPARE(shop.post("GET_TABLES_INFO").status, 200);
}

void tst_DemoShopFaults::delays()
{
    ShopHarness::Options options;
    options.delayMs = 300;
    options.faults = {QStringLiteral("GET_TABLES_INFO=DELAY:500")};
    ShopHarness shop(options);
    const ShopHarness::Reply plain = shop.post("GET_LAST_UPDATE", "2020-01-01");
    QCOMPARE(plain.body, QByteArray("RETURN_VALUE 1"));
    QVERIFY2(plain.elapsedMs >= 300, qPrintable(QString::number(plain.elapsedMs)));
    const ShopHarness::Reply delayed = shop.post("GET_TABLES_INFO");
    QVERIFY(delayed.body.startsWith("ZIP_RESULT"));
    QVERIFY2(delayed.elapsedMs >= 800, qPrintable(QString::number(delayed.elapsedMs)));
}

void tst_DemoShopFaults::faultTargets_data()
{
    QTest::addColumn<QStringList>("rules");
    QTest::addColumn<QString>("expected"); // per request: "-" normal, "S" SQL_ERROR, "L" locked
    // Requests: GET_TABLE_DATA five times, with a GET_TABLES_INFO between the second and third.
    QTest::newRow("one command") << QStringList{QStringLiteral("GET_TABLE_DATA=SHOP_IS_LOCK")}
                                 << QStringLiteral("LL-LLL");
    QTest::newRow("third page only")
        << QStringList{QStringLiteral("GET_TABLE_DATA@3=SQL_ERROR:x")} << QStringLiteral("---S--");
    QTest::newRow("third page on")
        << QStringList{QStringLiteral("GET_TABLE_DATA@3+=SQL_ERROR:x")} << QStringLiteral("---SSS");
    QTest::newRow("every command, third request")
        << QStringList{QStringLiteral("*@3=SHOP_IS_LOCK")} << QStringLiteral("--L---");
    QTest::newRow("first rule wins") << QStringList{QStringLiteral("GET_TABLE_DATA@2=SQL_ERROR:x"),
                                                    QStringLiteral("GET_TABLE_DATA=SHOP_IS_LOCK")}
                                     << QStringLiteral("LS-LLL");
}

void tst_DemoShopFaults::faultTargets()
{
    QFETCH(QStringList, rules);
    QFETCH(QString, expected);
    ShopHarness::Options options;
    options.faults = rules;
    ShopHarness shop(options);
    QString seen;
    for (int i = 0; i < 6; ++i) {
        const QByteArray body = i == 2 ? shop.post("GET_TABLES_INFO").body
                                       : shop.post("GET_TABLE_DATA", "store;*;1;2").body;
        seen += body.startsWith("ZIP_RESULT")        ? QLatin1Char('-')
                : body.startsWith("SQL_ERROR x")     ? QLatin1Char('S')
                : body == QByteArray("SHOP_IS_LOCK") ? QLatin1Char('L')
                                                     : QLatin1Char('?');
    }
    QCOMPARE(seen, expected);
}

void tst_DemoShopFaults::loginCheck_data()
{
    QTest::addColumn<QByteArray>("login");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("right") << Cp1251::encode(QString::fromUtf8("Кассир")) << QByteArray("p@ss%1")
                           << true;
    QTest::newRow("wrong password")
        << Cp1251::encode(QString::fromUtf8("Кассир")) << QByteArray("p@ss%2") << false;
    QTest::newRow("wrong login") << QByteArray("manager") << QByteArray("p@ss%1") << false;
    QTest::newRow("both empty") << QByteArray() << QByteArray() << false;
}

void tst_DemoShopFaults::loginCheck()
{
    QFETCH(QByteArray, login);
    QFETCH(QByteArray, code);
    QFETCH(bool, accepted);
    ShopHarness::Options options;
    options.login = QString::fromUtf8("Кассир");
    options.password = QStringLiteral("p@ss%1");
    ShopHarness shop(options);
    const QByteArray body =
        shop.post("GET_LAST_UPDATE", "2020-01-01", std::nullopt, login, code).body;
    // The shop's own login works as its first manager.
    QCOMPARE(body, accepted ? QByteArray("RETURN_VALUE 1") : QByteArray("WRONG_PASSWORD"));
}

void tst_DemoShopFaults::brokenUpload()
{
    ShopHarness shop;
    const QByteArray boundary = "---------------------------061526120000001";
    const QByteArray body =
        "--" + boundary +
        "\r\nContent-Disposition: form-data; name=\"command\"\r\n\r\n"
        "SAVE_ORDER_NOTE\r\n--" +
        boundary + "\r\nContent-Disposition: form-data; name=\"values\"\r\n\r\n1\r\n--" + boundary +
        "\r\nContent-Disposition: form-data; name=\"string_file\"; "
        "filename=\"x.zip\"\r\nContent-Type: application/msword\r\n\r\n"
        "not a zip\r\n--" +
        boundary + "--\r\n";
    const ShopHarness::Reply reply = shop.postBody(body, boundary);
    QVERIFY2(reply.body.startsWith("PHP_ERROR "), reply.body.constData());
    const ShopHarness::Reply otherEntry =
        shop.postBody(QByteArray(body).replace(
                          "not a zip", ShopHarness::zip(QStringLiteral("Other.xml"), "note")),
                      boundary);
    QVERIFY(otherEntry.body.startsWith("PHP_ERROR "));
}

QTEST_GUILESS_MAIN(tst_DemoShopFaults)
#include "tst_DemoShopFaults.moc"

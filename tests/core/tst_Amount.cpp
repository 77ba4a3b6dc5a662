#include "Amount.h"
#include "TraderError.h"

#include <QTest>

class TestAmount : public QObject {
    Q_OBJECT
private slots:
    void rounding_data();
    void rounding();
    void parseC_data();
    void parseC();
    void local();
    void errors();
};

void TestAmount::rounding_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("expected");

    // Products and quotients to four digits, ties to even; cents likewise to two.
    QTest::newRow("mul exact") << "12.50"
                               << "*"
                               << "3"
                               << "37.5000";
    QTest::newRow("mul tie down to even") << "0.0125"
                                          << "*"
                                          << "0.5"
                                          << "0.0062";
    QTest::newRow("mul tie up to even") << "0.0135"
                                        << "*"
                                        << "0.5"
                                        << "0.0068";
    QTest::newRow("mul above tie") << "0.0125"
                                   << "*"
                                   << "0.5001"
                                   << "0.0063";
    QTest::newRow("mul negative tie") << "-0.0125"
                                      << "*"
                                      << "0.5"
                                      << "-0.0062";
    QTest::newRow("mul negative odd tie") << "-0.0135"
                                          << "*"
                                          << "0.5"
                                          << "-0.0068";
    QTest::newRow("mul rate") << "1999.99"
                              << "*"
                              << "0.0345"
                              << "68.9997";
    QTest::newRow("mul large") << "900000000000"
                               << "*"
                               << "10"
                               << "9000000000000.0000";
    QTest::newRow("div third") << "1"
                               << "/"
                               << "3"
                               << "0.3333";
    QTest::newRow("div two thirds") << "2"
                                    << "/"
                                    << "3"
                                    << "0.6667";
    QTest::newRow("div tie to even") << "0.0001"
                                     << "/"
                                     << "2"
                                     << "0.0000";
    QTest::newRow("div tie to even up") << "0.0003"
                                        << "/"
                                        << "2"
                                        << "0.0002";
    QTest::newRow("div negative") << "-10"
                                  << "/"
                                  << "4"
                                  << "-2.5000";
    QTest::newRow("div by negative") << "1"
                                     << "/"
                                     << "-3"
                                     << "-0.3333";
    QTest::newRow("div rate") << "100"
                              << "/"
                              << "27.5"
                              << "3.6364";
    QTest::newRow("cents tie down") << "2.345"
                                    << "c"
                                    << ""
                                    << "2.3400";
    QTest::newRow("cents tie up") << "2.355"
                                  << "c"
                                  << ""
                                  << "2.3600";
    QTest::newRow("cents above tie") << "2.3451"
                                     << "c"
                                     << ""
                                     << "2.3500";
    QTest::newRow("cents negative tie") << "-2.345"
                                        << "c"
                                        << ""
                                        << "-2.3400";
    QTest::newRow("cents negative odd") << "-0.015"
                                        << "c"
                                        << ""
                                        << "-0.0200";
    QTest::newRow("cents whole") << "7"
                                 << "c"
                                 << ""
                                 << "7.0000";
}

void TestAmount::rounding()
{
    QFETCH(QString, a);
    QFETCH(QString, op);
    QFETCH(QString, b);
    QFETCH(QString, expected);
    const Amount x = *Amount::parseC(a);
    Amount result;
    if (op == QLatin1String("c"))
        result = x.roundToCents();
    else if (op == QLatin1String("*"))
        result = x * *Amount::parseC(b);
    else
        result = x / *Amount::parseC(b);
    QCOMPARE(result.toC(4), expected);
}

void TestAmount::parseC_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("raw");

    QTest::newRow("whole") << "15" << true << qint64(150000);
    QTest::newRow("fraction") << "1234.5" << true << qint64(12345000);
    QTest::newRow("four digits") << "-0.0001" << true << qint64(-1);
    QTest::newRow("leading point") << ".25" << true << qint64(2500);
    QTest::newRow("trailing point") << "3." << true << qint64(30000);
    QTest::newRow("spaces") << " 2.50 " << true << qint64(25000);
    QTest::newRow("five digits tie even") << "0.00005" << true << qint64(0);
    QTest::newRow("five digits tie odd") << "0.00015" << true << qint64(2);
    QTest::newRow("plus") << "+1" << true << qint64(10000);
    QTest::newRow("empty") << "" << false << qint64(0);
    QTest::newRow("sign only") << "-" << false << qint64(0);
    QTest::newRow("comma") << "1,5" << false << qint64(0);
    QTest::newRow("two points") << "1.2.3" << false << qint64(0);
    QTest::newRow("letters") << "12abc" << false << qint64(0);
    QTest::newRow("exponent") << "1e5" << false << qint64(0);
    QTest::newRow("arabic digits") << QString::fromUtf8("١٢") << false << qint64(0);
    QTest::newRow("too large") << "99999999999999999999" << false << qint64(0);
}

void TestAmount::parseC()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qint64, raw);
    const std::optional<Amount> amount = Amount::parseC(text);
    QCOMPARE(amount.has_value(), valid);
    if (valid)
        QCOMPARE(amount->raw(), raw);
}

void TestAmount::local()
{
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    const Amount a = *Amount::parseC(u"-1234567.895");
    QCOMPARE(a.toLocal(2, false, ru), QStringLiteral("-1234567,90"));
    QCOMPARE(a.toLocal(2, true, ru),
             QString(QStringLiteral("-1") + ru.groupSeparator() + QStringLiteral("234") +
                     ru.groupSeparator() + QStringLiteral("567,90")));
    QCOMPARE(Amount::parseC(u"0.5")->toLocal(4, false, ru), QStringLiteral("0,5000"));
    QCOMPARE(Amount::parseC(u"12")->toC(0), QStringLiteral("12"));

    const QLocale c(QLocale::C);
    QCOMPARE(a.toLocal(2, true, c), QStringLiteral("-1,234,567.90"));

    // What a person types: the regional separator or a point, groups and spaces skipped.
    QCOMPARE(Amount::parseLocal(u"1 234,56", ru)->raw(), qint64(12345600));
    QCOMPARE(Amount::parseLocal(u"1234.56", ru)->raw(), qint64(12345600));
    QCOMPARE(Amount::parseLocal(
                 QString(QStringLiteral("1") + ru.groupSeparator() + QStringLiteral("000,5")), ru)
                 ->raw(),
             qint64(10005000));
    QCOMPARE(Amount::parseLocal(u"-0,01", ru)->raw(), qint64(-100));
    QCOMPARE(Amount::parseLocal(u"1,234.5", c)->raw(), qint64(12345000));
    QVERIFY(!Amount::parseLocal(u"", ru));
    QVERIFY(!Amount::parseLocal(u"1,2,3", ru));
    QVERIFY(!Amount::parseLocal(u"--1", ru));

    QCOMPARE(Amount::fromDouble(0.1).raw(), qint64(1000));
    QCOMPARE(Amount::fromDouble(-19.9999).raw(), qint64(-199999));
    QCOMPARE(Amount::fromDouble(qQNaN()).raw(), qint64(0));
}

void TestAmount::errors()
{
    QVERIFY_THROWS_EXCEPTION(TraderError, Amount::fromUnits(1) / Amount());
    const Amount huge = Amount::fromRaw(std::numeric_limits<qint64>::max() / 2);
    QVERIFY_THROWS_EXCEPTION(TraderError, huge * Amount::fromUnits(3));
}

QTEST_GUILESS_MAIN(TestAmount)
#include "tst_Amount.moc"

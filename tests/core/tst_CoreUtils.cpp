#include "Cp1251.h"
#include "ReplaceAll.h"
#include "RunAndWait.h"
#include "TraderError.h"

#include <QTest>

class TestCoreUtils : public QObject {
    Q_OBJECT
private slots:
    void replaceAll_data();
    void replaceAll();
    void codePage();
    void runAndWait();
};

void TestCoreUtils::replaceAll_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("expected");

    QTest::newRow("percent to star") << "скидка 5% и 10%% всем"
                                     << "%"
                                     << "*"
                                     << "скидка 5* и 10** всем";
    QTest::newRow("quote to apostrophe") << "\"А\" и \"Б\""
                                         << "\""
                                         << "'"
                                         << "'А' и 'Б'";
    QTest::newRow("replacement not searched again") << "aba"
                                                    << "a"
                                                    << "aa"
                                                    << "aabaa";
    QTest::newRow("empty pattern") << "abc"
                                   << ""
                                   << "x"
                                   << "abc";
    QTest::newRow("no match") << "abc"
                              << "z"
                              << "x"
                              << "abc";
    QTest::newRow("case-sensitive") << "Aa"
                                    << "a"
                                    << "b"
                                    << "Ab";
    QTest::newRow("overlapping") << "aaa"
                                 << "aa"
                                 << "b"
                                 << "ba";
    QTest::newRow("whole source") << "abc"
                                  << "abc"
                                  << ""
                                  << "";
}

void TestCoreUtils::replaceAll()
{
    QFETCH(QString, source);
    QFETCH(QString, pattern);
    QFETCH(QString, replacement);
    QFETCH(QString, expected);
    QCOMPARE(ReplaceAll(source, pattern, replacement), expected);
}

void TestCoreUtils::codePage()
{
    const QString russian = QStringLiteral("Ёжик №5 «тест» — ok");
    const QByteArray bytes = Cp1251::encode(russian);
    QCOMPARE(bytes, QByteArray("\xa8\xe6\xe8\xea \xb9\x35 \xab\xf2\xe5\xf1\xf2\xbb \x97 ok"));
    QCOMPARE(Cp1251::decode(bytes), russian);

    // What the code page cannot hold becomes one "?" per character, surrogate pairs included.
    QCOMPARE(Cp1251::encode(QStringLiteral("a☃b😀c")), QByteArray("a?b?c"));
    QCOMPARE(Cp1251::encode(QString(QChar(0xD800))), QByteArray("?"));

    QByteArray all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    QCOMPARE(Cp1251::encode(Cp1251::decode(all)), all);

    // Straight to UTF-8, as the decoded text would be: every byte, and runs of plain ASCII
    // long enough to be copied eight at a time, between and after three-byte characters.
    const auto utf8 = [](const QByteArray& text) {
        QByteArray out(3 * text.size() + 1, '\0');
        out.truncate(Cp1251::toUtf8(text, out.data()));
        return out;
    };
    for (const QByteArray& text : {all, QByteArray("\x99 plain ascii run\x85\x96 and more ascii"),
                                   QByteArray("12345678\x88"), QByteArray()})
        QCOMPARE(utf8(text), Cp1251::decode(text).toUtf8());
}

void TestCoreUtils::runAndWait()
{
    QCOMPARE(RunAndWait(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exit 3")}), 3);
    QCOMPARE(RunAndWait(QStringLiteral("true"), {}), 0);
    // Arguments reach the program untouched: no shell splits or expands them.
    QCOMPARE(RunAndWait(QStringLiteral("sh"),
                        {QStringLiteral("-c"), QStringLiteral("test \"$0\" = 'a b;$HOME'"),
                         QStringLiteral("a b;$HOME")}),
             0);
    try {
        RunAndWait(QStringLiteral("/nonexistent/DBUtil"), {});
        QFAIL("no error");
    } catch (const TraderError& e) {
        QCOMPARE(e.message(), QStringLiteral("Error during CreateProcess"));
    }
    try {
        RunAndWait(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("kill -9 $$")});
        QFAIL("no error");
    } catch (const TraderError& e) {
        QCOMPARE(e.message(), QStringLiteral("Error in GetExitCodeProcess"));
    }
}

QTEST_GUILESS_MAIN(TestCoreUtils)
#include "tst_CoreUtils.moc"

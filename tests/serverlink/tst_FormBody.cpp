#include "TMsMultiPartFormDataStream.h"
#include "TraderError.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestFormBody : public QObject {
    Q_OBJECT
private slots:
    void boundaryFromLocalTime_data();
    void boundaryFromLocalTime();
    void onlyEmptyLoginAndCode();
    void fullBodyWithFilePart();
    void valuesGoOutAsTyped_data();
    void valuesGoOutAsTyped();
    void unreadableFileThrows();

private:
    static QDateTime moment() { return QDateTime(QDate(2011, 3, 5), QTime(14, 7, 9, 42)); }
};

void TestFormBody::boundaryFromLocalTime_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("digits");
    QTest::newRow("afternoon") << moment() << QStringLiteral("030511140709042");
    QTest::newRow("midnight, new year")
        << QDateTime(QDate(2009, 1, 1), QTime(0, 0)) << QStringLiteral("010109000000000");
    QTest::newRow("last millisecond") << QDateTime(QDate(2029, 12, 31), QTime(23, 59, 59, 999))
                                      << QStringLiteral("123129235959999");
}

void TestFormBody::boundaryFromLocalTime()
{
    QFETCH(QDateTime, now);
    QFETCH(QString, digits);
    const TMsMultiPartFormDataStream body(now);
    QCOMPARE(body.Boundary(), QString(27, QLatin1Char('-')) + digits);
    QCOMPARE(body.Boundary().size(), 42);
    QCOMPARE(body.ContentType(),
             QStringLiteral("multipart/form-data; boundary=") + body.Boundary());
    QVERIFY(body.FirstPart());
    QVERIFY(body.bytes().isEmpty());
}

void TestFormBody::onlyEmptyLoginAndCode()
{
    TMsMultiPartFormDataStream body(moment());
    body.AddField(QStringLiteral("login"), QString());
    QVERIFY(!body.FirstPart());
    body.AddField(QStringLiteral("code"), QString());
    body.Finish();
    QVERIFY(body.FirstPart());

    const QByteArray b = "---------------------------030511140709042";
    const QByteArray expected =
        "--" + b + "\r\n" + "Content-Disposition: form-data; name=\"login\"\r\n\r\n" + "\r\n--" +
        b + "\r\n" + "Content-Disposition: form-data; name=\"code\"\r\n\r\n" + "\r\n--" + b +
        "--\r\n";
    QCOMPARE(body.bytes(), expected);
}

void TestFormBody::fullBodyWithFilePart()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TempZipFile.zip"));
    const QByteArray content("PK\x03\x04\x00\r\n\xff", 9);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    TMsMultiPartFormDataStream body(moment());
    body.AddField(QStringLiteral("login"), QStringLiteral("менеджер"));
    body.AddField(QStringLiteral("code"), QStringLiteral("secret"));
    body.AddField(QStringLiteral("command"), QStringLiteral("GET_TABLE_DATA"));
    body.AddField(QStringLiteral("values"), QStringLiteral("store;1;1125"));
    // A Windows path travels with its backslashes, unescaped.
    const QString shownPath = QStringLiteral("C:\\Trader\\Temp\\TempZipFile.zip");
    QVERIFY(QFile::copy(path, dir.filePath(shownPath)));
    body.AddFilePart(QStringLiteral("string_file"), dir.filePath(shownPath),
                     QStringLiteral("application/msword"));
    body.Finish();

    const QByteArray b = "---------------------------030511140709042";
    QByteArray expected;
    expected += "--" + b + "\r\nContent-Disposition: form-data; name=\"login\"\r\n\r\n" +
                QByteArray("\xec\xe5\xed\xe5\xe4\xe6\xe5\xf0");
    expected += "\r\n--" + b + "\r\nContent-Disposition: form-data; name=\"code\"\r\n\r\nsecret";
    expected +=
        "\r\n--" + b + "\r\nContent-Disposition: form-data; name=\"command\"\r\n\r\nGET_TABLE_DATA";
    expected +=
        "\r\n--" + b + "\r\nContent-Disposition: form-data; name=\"values\"\r\n\r\nstore;1;1125";
    expected += "\r\n--" + b +
                "\r\nContent-Disposition: form-data; name=\"string_file\"; filename=\"" +
                dir.filePath(shownPath).toUtf8() +
                "\"\r\nContent-Type: application/msword\r\n\r\n" + content;
    expected += "\r\n--" + b + "--\r\n";
    QCOMPARE(body.bytes(), expected);
}

void TestFormBody::valuesGoOutAsTyped_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("percent") << QStringLiteral("100%") << QByteArray("100%");
    QTest::newRow("format mark") << QStringLiteral("%s%d") << QByteArray("%s%d");
    QTest::newRow("quotes and line break")
        << QStringLiteral("a\"b\r\nc") << QByteArray("a\"b\r\nc");
    QTest::newRow("cyrillic") << QStringLiteral("Ёж") << QByteArray("\xa8\xe6");
    QTest::newRow("outside the code page") << QStringLiteral("a€☃") << QByteArray("a\x88?");
}

void TestFormBody::valuesGoOutAsTyped()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, bytes);
    TMsMultiPartFormDataStream body(moment());
    body.AddField(QStringLiteral("values"), value);
    QVERIFY(body.bytes().endsWith("\r\n\r\n" + bytes));
}

void TestFormBody::unreadableFileThrows()
{
    TMsMultiPartFormDataStream body(moment());
    body.AddField(QStringLiteral("login"), QString());
    const QByteArray before = body.bytes();
    QVERIFY_THROWS_EXCEPTION(TraderError,
                             body.AddFilePart(QStringLiteral("string_file"),
                                              QStringLiteral("/nonexistent/TempZipFile.zip"),
                                              QStringLiteral("application/msword")));
    QCOMPARE(body.bytes(), before);
}

QTEST_GUILESS_MAIN(TestFormBody)
#include "tst_FormBody.moc"

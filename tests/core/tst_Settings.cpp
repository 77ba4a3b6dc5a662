#include "SettingsFile.h"
#include "StartSettings.h"
#include "TraderError.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void init();
    void missingFileGivesDefaultAndCreatesNothing();
    void writeThenReadIgnoresCase();
    void eachWriteReachesTheDisk();
    void handWrittenFile();
    void unwritableFileThrows();
    void startDefaults();
    void startValues_data();
    void startValues();
    void dateRoundTrip();

private:
    void writeIni(const QByteArray& text);
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_path = m_dir->filePath(QStringLiteral("Vendrix.ini"));
}

void TestSettings::writeIni(const QByteArray& text)
{
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

void TestSettings::missingFileGivesDefaultAndCreatesNothing()
{
    const SettingsFile settings(m_path);
    QCOMPARE(settings.ReadSetting(QStringLiteral("Connect"), QStringLiteral("Login"),
                                  QStringLiteral("x")),
             QStringLiteral("x"));
    QVERIFY(!QFileInfo::exists(m_path));
}

void TestSettings::writeThenReadIgnoresCase()
{
    const SettingsFile settings(m_path);
    settings.WriteSetting(QStringLiteral("Connect"), QStringLiteral("Login"),
                          QStringLiteral("менеджер"));
    QVERIFY(QFileInfo::exists(m_path));
    QCOMPARE(settings.ReadSetting(QStringLiteral("CONNECT"), QStringLiteral("login"), QString()),
             QStringLiteral("менеджер"));
    // A write under another spelling replaces the value instead of adding a second key.
    settings.WriteSetting(QStringLiteral("connect"), QStringLiteral("LOGIN"), QStringLiteral("b"));
    QCOMPARE(settings.ReadSetting(QStringLiteral("Connect"), QStringLiteral("Login"), QString()),
             QStringLiteral("b"));
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QCOMPARE(text.count("[Connect]"), 1);
    QCOMPARE(text.count("Login="), 1);
    QVERIFY(!text.contains("LOGIN"));
}

void TestSettings::eachWriteReachesTheDisk()
{
    // Two objects on one file share nothing: the second sees the first's write at once.
    const SettingsFile writer(m_path);
    const SettingsFile reader(m_path);
    writer.WriteSetting(QStringLiteral("Main"), QStringLiteral("ManagerID"), QStringLiteral("7"));
    QCOMPARE(reader.ReadSetting(QStringLiteral("Main"), QStringLiteral("ManagerID"),
                                QStringLiteral("0")),
             QStringLiteral("7"));
    writeIni("[Main]\nManagerID=12\n");
    QCOMPARE(reader.ReadSetting(QStringLiteral("main"), QStringLiteral("managerid"),
                                QStringLiteral("0")),
             QStringLiteral("12"));
}

void TestSettings::handWrittenFile()
{
    writeIni("[connect]\nshopurl=http://a,b\nlogin = x y \n");
    const SettingsFile settings(m_path);
    QCOMPARE(settings.ReadSetting(QStringLiteral("Connect"), QStringLiteral("ShopUrl"), QString()),
             QStringLiteral("http://a,b"));
    QCOMPARE(settings.ReadSetting(QStringLiteral("Connect"), QStringLiteral("Login"), QString()),
             QStringLiteral("x y"));
}

void TestSettings::unwritableFileThrows()
{
    // A folder that cannot exist: its parent is a plain file.
    writeIni("[Main]\n");
    const SettingsFile settings(m_path + QStringLiteral("/Vendrix.ini"));
    QVERIFY_THROWS_EXCEPTION(TraderError, settings.WriteSetting(QStringLiteral("Main"),
                                                                QStringLiteral("ManagerID"),
                                                                QStringLiteral("1")));
}

void TestSettings::startDefaults()
{
    const QDate today(2026, 5, 31);
    const StartSettings s = StartSettings::read(SettingsFile(m_path), today);
    QCOMPARE(s.connection.shopUrl, QStringLiteral("http://127.0.0.1:8047"));
    QVERIFY(s.connection.login.isEmpty());
    QVERIFY(s.connection.proxy.isEmpty());
    QVERIFY(s.connection.proxyPort.isEmpty());
    QCOMPARE(s.recordPerSession, 1125);
    QCOMPARE(s.period.from, QDate(2026, 2, 28));
    QCOMPARE(s.period.to, today);
    QVERIFY(s.period.autoFrom && s.period.autoTo && s.period.autoClear);
    QVERIFY(!QFileInfo::exists(m_path));
}

void TestSettings::startValues_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("records");
    QTest::addColumn<bool>("autoTo");
    QTest::addColumn<bool>("autoClear");
    QTest::addColumn<QDate>("from");

    const QString from = SettingsFile::dateText(QDate(2025, 12, 1));
    QTest::newRow("set values")
        << QByteArray("[Options]\nRecordPerSession=500\n[ArchiveOrders]\nGetOrderAutoTo=True\n"
                      "GetOrderAutoClear=False\nGetOrderFrom=") +
               from.toUtf8() + "\n"
        << 500 << true << false << QDate(2025, 12, 1);
    QTest::newRow("lower-case true is false")
        << QByteArray("[ArchiveOrders]\nGetOrderAutoTo=true\nGetOrderAutoClear=TRUE\n") << 1125
        << false << false << QDate(2026, 2, 10);
    QTest::newRow("records not a number") << QByteArray("[Options]\nRecordPerSession=many\n")
                                          << 1125 << true << true << QDate(2026, 2, 10);
    QTest::newRow("records below one") << QByteArray("[Options]\nRecordPerSession=0\n") << 1125
                                       << true << true << QDate(2026, 2, 10);
    QTest::newRow("unreadable date") << QByteArray("[ArchiveOrders]\nGetOrderFrom=31 февраля\n")
                                     << 1125 << true << true << QDate(2026, 2, 10);
}

void TestSettings::startValues()
{
    QFETCH(QByteArray, ini);
    QFETCH(int, records);
    QFETCH(bool, autoTo);
    QFETCH(bool, autoClear);
    QFETCH(QDate, from);
    writeIni(ini);
    const StartSettings s = StartSettings::read(SettingsFile(m_path), QDate(2026, 5, 10));
    QCOMPARE(s.recordPerSession, records);
    QCOMPARE(s.period.autoTo, autoTo);
    QCOMPARE(s.period.autoClear, autoClear);
    QCOMPARE(s.period.from, from);
}

void TestSettings::dateRoundTrip()
{
    for (const QLocale& locale : {QLocale(QLocale::Russian, QLocale::Russia),
                                  QLocale(QLocale::English, QLocale::UnitedStates)}) {
        QLocale::setDefault(locale);
        const QDate date(2031, 1, 9);
        const QString text = SettingsFile::dateText(date);
        QVERIFY2(text.contains(QLatin1String("2031")), qPrintable(text));
        QCOMPARE(SettingsFile::parseDate(text), date);
    }
    // A file written in the plain short form with a two-digit year still reads this century.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(SettingsFile::parseDate(QStringLiteral("1/9/31")), QDate(2031, 1, 9));
    QVERIFY(!SettingsFile::parseDate(QStringLiteral("2031-13-40")).isValid());
    QLocale::setDefault(QLocale::system());
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_Settings.moc"

#include "ConnectionParams.h"
#include "Cp1251.h"
#include "PasswordStore.h"
#include "ScriptedPrompter.h"
#include "ServerRequest.h"
#include "SettingsFile.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <zlib.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QByteArray zlibStream(const QByteArray& bytes)
{
    uLongf size = compressBound(uLong(bytes.size()));
    QByteArray out(qsizetype(size), '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size,
              reinterpret_cast<const Bytef*>(bytes.constData()), uLong(bytes.size()), 9);
    out.resize(qsizetype(size));
    return out;
}

using Values = QList<std::pair<QString, QVariant>>;

} // namespace

class TestConnection : public QObject {
    Q_OBJECT
private slots:
    void init();

    void addressRule_data();
    void addressRule();
    void proxyPort_data();
    void proxyPort();
    void noProxyWhenNoneIsSet();
    void storeReadsBothForms_data();
    void storeReadsBothForms();
    void storeIsPerUserAndOwnerOnly();
    void saveWritesFileProxyAndStore();
    void startReadingJoinsFileAndStore();
    void captionNamesTheShop();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_storePath;
};

void TestConnection::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_storePath = m_dir->filePath(QStringLiteral("store/Trader.conf"));
}

void TestConnection::addressRule_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("bare name") << u"myshop"_s << u"http://myshop"_s;
    QTest::newRow("http, mixed case") << u"Http://x"_s << u"Http://x"_s;
    QTest::newRow("https stays https") << u"https://x"_s << u"https://x"_s;
    QTest::newRow("https, upper case, trailing slash")
        << u"HTTPS://Shop.ru/"_s << u"HTTPS://Shop.ru/"_s;
    QTest::newRow("scheme later in the text")
        << u"shop.ru/?u=http://x"_s << u"http://shop.ru/?u=http://x"_s;
    QTest::newRow("another scheme") << u"ftp://x"_s << u"http://ftp://x"_s;
    QTest::newRow("blanks are kept") << u" shop "_s << u"http:// shop "_s;
    QTest::newRow("empty") << u""_s << u"http://"_s;
}

void TestConnection::addressRule()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QCOMPARE(ConnectionParams::normalizedShopUrl(typed), stored);
}

void TestConnection::proxyPort_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("port");
    QTest::newRow("number") << u"3128"_s << 3128;
    QTest::newRow("letters") << u"abc"_s << 80;
    QTest::newRow("empty") << u""_s << 80;
    QTest::newRow("number then letters") << u"8080x"_s << 80;
    QTest::newRow("beyond the port range") << u"70000"_s << 80;
    QTest::newRow("negative") << u"-1"_s << 80;
}

void TestConnection::proxyPort()
{
    QFETCH(QString, typed);
    QFETCH(int, port);
    ConnectionParams p;
    p.proxy = QStringLiteral("proxy.local");
    p.proxyPort = typed;
    p.proxyLogin = QStringLiteral("user");
    p.proxyPassword = QStringLiteral("pass");
    QCOMPARE(p.proxyPortNumber(), port);
    const QNetworkProxy proxy = p.networkProxy();
    QCOMPARE(proxy.type(), QNetworkProxy::HttpProxy);
    QCOMPARE(proxy.port(), quint16(port));
    QCOMPARE(proxy.user(), QStringLiteral("user"));
    QCOMPARE(proxy.password(), QStringLiteral("pass"));
}

void TestConnection::noProxyWhenNoneIsSet()
{
    ConnectionParams p;
    p.proxyPort = QStringLiteral("3128");
    p.proxyLogin = QStringLiteral("user");
    QCOMPARE(p.networkProxy().type(), QNetworkProxy::NoProxy);
}

void TestConnection::storeReadsBothForms_data()
{
    QTest::addColumn<Values>("values");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("proxyLogin");
    QTest::addColumn<QString>("proxyPassword");

    const QByteArray secret = Cp1251::encode(QStringLiteral("пароль-1"));
    const QByteArray stream = zlibStream(secret);
    const QString streamText = Cp1251::decode(stream);

    QTest::newRow("empty store") << Values{} << u""_s << u""_s << u""_s;
    QTest::newRow("password without its size")
        << Values{{u"Password"_s, u"p"_s}, {u"ProxyPass"_s, u"q"_s}} << u""_s << u""_s << u""_s;
    QTest::newRow("plain") << Values{{u"Password"_s, u"пароль"_s},
                                     {u"PasswordSize"_s, 0},
                                     {u"ProxyLogin"_s, u"вход"_s},
                                     {u"ProxyPass"_s, u"q"_s},
                                     {u"ProxyPassSize"_s, 0}}
                           << u"пароль"_s << u"вход"_s << u"q"_s;
    QTest::newRow("negative size is plain")
        << Values{{u"ProxyPass"_s, u"q"_s}, {u"ProxyPassSize"_s, -1}} << u""_s << u""_s << u"q"_s;
    QTest::newRow("size without its value")
        << Values{{u"PasswordSize"_s, 0}} << u""_s << u""_s << u""_s;
    QTest::newRow("zlib stream as text") << Values{{u"Password"_s, streamText},
                                                   {u"PasswordSize"_s, int(secret.size())},
                                                   {u"ProxyPass"_s, streamText},
                                                   {u"ProxyPassSize"_s, int(secret.size())}}
                                         << u"пароль-1"_s << u""_s << u"пароль-1"_s;
    QTest::newRow("zlib stream as bytes")
        << Values{{u"Password"_s, stream}, {u"PasswordSize"_s, int(secret.size())}} << u"пароль-1"_s
        << u""_s << u""_s;
    QTest::newRow("size shorter than the stream takes the first bytes")
        << Values{{u"Password"_s, streamText}, {u"PasswordSize"_s, 6}} << u"пароль"_s << u""_s
        << u""_s;
    QTest::newRow("size longer than the stream")
        << Values{{u"Password"_s, streamText}, {u"PasswordSize"_s, int(secret.size()) + 1}} << u""_s
        << u""_s << u""_s;
    QTest::newRow("no zlib stream")
        << Values{{u"Password"_s, u"plain"_s}, {u"PasswordSize"_s, 5}} << u""_s << u""_s << u""_s;
    QTest::newRow("absurd size") << Values{{u"Password"_s, streamText},
                                           {u"PasswordSize"_s, 2000000000}}
                                 << u""_s << u""_s << u""_s;
}

void TestConnection::storeReadsBothForms()
{
    QFETCH(Values, values);
    QFETCH(QString, password);
    QFETCH(QString, proxyLogin);
    QFETCH(QString, proxyPassword);
    {
        QSettings ini(m_storePath, QSettings::IniFormat);
        for (const auto& [name, value] : values)
            ini.setValue(name, value);
    }
    const PasswordStore::Secrets s = PasswordStore(m_storePath).read();
    QCOMPARE(s.password, password);
    QCOMPARE(s.proxyLogin, proxyLogin);
    QCOMPARE(s.proxyPassword, proxyPassword);
}

void TestConnection::storeIsPerUserAndOwnerOnly()
{
    QCOMPARE(PasswordStore::organisation(), QStringLiteral("Dunvik Shop 1.0.0"));
    QVERIFY(PasswordStore().location().contains(QStringLiteral("Dunvik Shop 1.0.0")));

    const PasswordStore store(m_storePath);
    store.write({QStringLiteral("пароль"), QStringLiteral("вход"), QStringLiteral("секрет")});
    // Owner and user are the same person here: nobody else may read the file.
    QCOMPARE(QFile::permissions(m_storePath), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ReadUser | QFileDevice::WriteUser);
    QSettings ini(m_storePath, QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("Password")).toString(), QStringLiteral("пароль"));
    QCOMPARE(ini.value(QStringLiteral("PasswordSize")).toInt(), 0);
    QCOMPARE(ini.value(QStringLiteral("ProxyLogin")).toString(), QStringLiteral("вход"));
    QCOMPARE(ini.value(QStringLiteral("ProxyPass")).toString(), QStringLiteral("секрет"));
    QCOMPARE(ini.value(QStringLiteral("ProxyPassSize")).toInt(), 0);
}

void TestConnection::saveWritesFileProxyAndStore()
{
    const SettingsFile file(m_dir->filePath(QStringLiteral("Vendrix.ini")));
    const PasswordStore store(m_storePath);
    ConnectionParams current;
    ScriptedPrompter prompter;
    ServerRequest request(current, AppFolder(m_dir->path()), prompter);
    request.AInitiate();
    QCOMPARE(request.proxy().type(), QNetworkProxy::NoProxy);

    current.shopUrl = QStringLiteral("shop.example");
    current.login = QStringLiteral("менеджер");
    current.password = QStringLiteral("секрет1");
    current.proxy = QStringLiteral("proxy.local");
    current.proxyPort = QStringLiteral("abc");
    current.proxyLogin = QStringLiteral("вход2");
    current.proxyPassword = QStringLiteral("тайна3");
    current.save(file, request, store);

    QCOMPARE(current.shopUrl, QStringLiteral("http://shop.example"));
    const QString connect = QStringLiteral("Connect");
    QCOMPARE(file.ReadSetting(connect, QStringLiteral("ShopUrl"), QString()),
             QStringLiteral("http://shop.example"));
    QCOMPARE(file.ReadSetting(connect, QStringLiteral("Login"), QString()),
             QStringLiteral("менеджер"));
    QCOMPARE(file.ReadSetting(connect, QStringLiteral("EProxy"), QString()),
             QStringLiteral("proxy.local"));
    QCOMPARE(file.ReadSetting(connect, QStringLiteral("EPort"), QString()), QStringLiteral("abc"));
    QCOMPARE(request.proxy().hostName(), QStringLiteral("proxy.local"));
    QCOMPARE(request.proxy().port(), quint16(80));
    QCOMPARE(request.proxy().user(), QStringLiteral("вход2"));
    QCOMPARE(request.proxy().password(), QStringLiteral("тайна3"));
    const PasswordStore::Secrets s = store.read();
    QCOMPARE(s.password, QStringLiteral("секрет1"));
    QCOMPARE(s.proxyLogin, QStringLiteral("вход2"));
    QCOMPARE(s.proxyPassword, QStringLiteral("тайна3"));
    // Nothing secret lands in the settings file, which travels with the program.
    QFile ini(file.path());
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(ini.readAll());
    for (const QString& secret : {s.password, s.proxyLogin, s.proxyPassword})
        QVERIFY2(!text.contains(secret), qPrintable(text));
}

void TestConnection::startReadingJoinsFileAndStore()
{
    PasswordStore(m_storePath)
        .write({QStringLiteral("p1"), QStringLiteral("pl"), QStringLiteral("pp")});
    const ConnectionParams p = ConnectionParams::fromStart(
        ConnectionSettings{QStringLiteral("https://shop"), QStringLiteral("l"),
                           QStringLiteral("proxy"), QStringLiteral("3128")},
        PasswordStore(m_storePath));
    QCOMPARE(p.shopUrl, QStringLiteral("https://shop"));
    QCOMPARE(p.login, QStringLiteral("l"));
    QCOMPARE(p.password, QStringLiteral("p1"));
    QCOMPARE(p.proxy, QStringLiteral("proxy"));
    QCOMPARE(p.proxyPort, QStringLiteral("3128"));
    QCOMPARE(p.proxyLogin, QStringLiteral("pl"));
    QCOMPARE(p.proxyPassword, QStringLiteral("pp"));
}

void TestConnection::captionNamesTheShop()
{
    ConnectionParams p;
    p.shopUrl = QStringLiteral("https://shop.example/");
    QCOMPARE(p.programCaption(),
             QStringLiteral("Dunvik Shop Trader v1.0.0.1 [https://shop.example/]"));
}

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_Connection.moc"

#include "ConnectionParams.h"
#include "PasswordStore.h"
#include "ScriptedPrompter.h"
#include "ServerRequest.h"
#include "SettingsFile.h"
#include "TFConnectParam.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

ConnectionParams remembered()
{
    ConnectionParams p;
    p.shopUrl = u"http://shop.example"_s;
    p.login = u"менеджер"_s;
    p.password = u"секрет"_s;
    p.proxy = u"proxy.local"_s;
    p.proxyPort = u"3128"_s;
    p.proxyLogin = u"вход"_s;
    p.proxyPassword = u"тайна"_s;
    return p;
}

const QStringList EditNames = {u"EURL"_s,  u"ELogin"_s,  u"EPassword"_s, u"EProxy"_s,
                               u"EPort"_s, u"EPLogin"_s, u"EPPass"_s};

} // namespace

class TestTFConnectParam : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void showsEachValueWithItsLabel_data();
    void showsEachValueWithItsLabel();
    void enterSavesFromAnyControl_data();
    void enterSavesFromAnyControl();
    void cancelLeavesTheValuesAsTheyWere_data();
    void cancelLeavesTheValuesAsTheyWere();
    void failedSaveChangesNothingAndStaysOpen_data();
    void failedSaveChangesNothingAndStaysOpen();
    void runDialogTellsWhetherSaved_data();
    void runDialogTellsWhetherSaved();

private:
    QLineEdit* edit(const QString& name) const;
    void makeDialog(const QString& settingsPath, const QString& storePath);
    void typeIntoEveryEdit();

    std::unique_ptr<QTemporaryDir> m_dir;
    ConnectionParams m_connection;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<SettingsFile> m_settings;
    std::unique_ptr<PasswordStore> m_store;
    std::unique_ptr<ServerRequest> m_request;
    std::unique_ptr<TFConnectParam> m_dialog;
};

void TestTFConnectParam::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_connection = remembered();
    m_prompter = std::make_unique<ScriptedPrompter>();
    makeDialog(m_dir->filePath(u"Vendrix.ini"_s), m_dir->filePath(u"store/Trader.conf"_s));
}

void TestTFConnectParam::cleanup()
{
    m_dialog.reset();
    m_request.reset();
}

void TestTFConnectParam::makeDialog(const QString& settingsPath, const QString& storePath)
{
    m_dialog.reset();
    m_request.reset();
    m_settings = std::make_unique<SettingsFile>(settingsPath);
    m_store = std::make_unique<PasswordStore>(storePath);
    m_request =
        std::make_unique<ServerRequest>(m_connection, AppFolder(m_dir->path()), *m_prompter);
    m_request->setProxy(m_connection.networkProxy());
    m_dialog = std::make_unique<TFConnectParam>(m_connection, *m_settings, *m_request, *m_store,
                                                *m_prompter);
}

QLineEdit* TestTFConnectParam::edit(const QString& name) const
{
    auto* e = m_dialog->findChild<QLineEdit*>(name);
    if (!e)
        qFatal("no edit %s", qPrintable(name));
    return e;
}

void TestTFConnectParam::typeIntoEveryEdit()
{
    for (const QString& name : EditNames) {
        edit(name)->selectAll();
        QTest::keyClicks(edit(name), u"new "_s + name);
    }
    edit(u"EURL"_s)->setText(u"myshop"_s);
}

void TestTFConnectParam::showsEachValueWithItsLabel_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("masked");
    QTest::addColumn<QString>("value");

    const ConnectionParams p = remembered();
    QTest::newRow("EURL") << u"EURL"_s << u"Адрес интернет-магазина"_s << QString() << false
                          << p.shopUrl;
    QTest::newRow("ELogin") << u"ELogin"_s << u"Логин"_s << QString() << false << p.login;
    QTest::newRow("EPassword") << u"EPassword"_s << u"Пароль"_s << QString() << true << p.password;
    QTest::newRow("EProxy") << u"EProxy"_s << u"Адрес сервера"_s << u"Прокси-сервер"_s << false
                            << p.proxy;
    QTest::newRow("EPort") << u"EPort"_s << u"Порт"_s << u"Прокси-сервер"_s << false << p.proxyPort;
    QTest::newRow("EPLogin") << u"EPLogin"_s << u"Логин"_s << u"Прокси-авторизация"_s << false
                             << p.proxyLogin;
    QTest::newRow("EPPass") << u"EPPass"_s << u"Пароль"_s << u"Прокси-авторизация"_s << true
                            << p.proxyPassword;
}

void TestTFConnectParam::showsEachValueWithItsLabel()
{
    QFETCH(QString, name);
    QFETCH(QString, label);
    QFETCH(QString, group);
    QFETCH(bool, masked);
    QFETCH(QString, value);

    // Values changed since the dialog was made are what it shows when it opens.
    m_connection.proxyPort = u"8080"_s;
    if (name == u"EPort"_s)
        value = u"8080"_s;
    m_dialog->show();

    QCOMPARE(m_dialog->windowTitle(), u"Параметры подключения"_s);
    QCOMPARE(m_dialog->findChild<QPushButton*>(u"BSave"_s)->text(), u"Сохранить"_s);
    QCOMPARE(m_dialog->findChild<QPushButton*>(u"BClose"_s)->text(), u"Отмена"_s);
    QLineEdit* e = edit(name);
    QCOMPARE(e->text(), value);
    QCOMPARE(e->echoMode(), masked ? QLineEdit::Password : QLineEdit::Normal);
    QString labelText;
    for (QLabel* l : m_dialog->findChildren<QLabel*>())
        if (l->buddy() == e)
            labelText = l->text();
    QCOMPARE(labelText, label);
    auto* box = qobject_cast<QGroupBox*>(e->parentWidget());
    QCOMPARE(box ? box->title() : QString(), group);
}

void TestTFConnectParam::enterSavesFromAnyControl_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");

    QTest::newRow("Return in EURL") << u"EURL"_s << int(Qt::Key_Return);
    QTest::newRow("keypad Enter in EPPass") << u"EPPass"_s << int(Qt::Key_Enter);
    QTest::newRow("Return on Отмена") << u"BClose"_s << int(Qt::Key_Return);
    QTest::newRow("Return on Сохранить") << u"BSave"_s << int(Qt::Key_Return);
}

void TestTFConnectParam::enterSavesFromAnyControl()
{
    QFETCH(QString, control);
    QFETCH(int, key);

    m_dialog->show();
    typeIntoEveryEdit();
    QTest::keyClick(m_dialog->findChild<QWidget*>(control), Qt::Key(key));

    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_connection.shopUrl, u"http://myshop"_s);
    QCOMPARE(m_connection.proxyPassword, u"new EPPass"_s);
    // Saved through: the settings file, the per-user store and the request's proxy.
    QCOMPARE(m_settings->ReadSetting(u"Connect"_s, u"ShopUrl"_s, QString()), u"http://myshop"_s);
    QCOMPARE(m_settings->ReadSetting(u"Connect"_s, u"EPort"_s, QString()), u"new EPort"_s);
    QCOMPARE(m_store->read().password, u"new EPassword"_s);
    QCOMPARE(m_request->proxy().hostName(), u"new EProxy"_s);
    QCOMPARE(m_request->proxy().port(), quint16(80));
    QCOMPARE(m_connection.programCaption().endsWith(u" [http://myshop]"_s), true);
    // Opened again, it shows the address as it was stored.
    m_dialog->show();
    QCOMPARE(edit(u"EURL"_s)->text(), u"http://myshop"_s);
}

void TestTFConnectParam::cancelLeavesTheValuesAsTheyWere_data()
{
    QTest::addColumn<QString>("how");

    QTest::newRow("Esc in an edit") << u"esc-edit"_s;
    QTest::newRow("Esc on Сохранить") << u"esc-save"_s;
    QTest::newRow("Отмена") << u"cancel"_s;
    QTest::newRow("close button") << u"close"_s;
}

void TestTFConnectParam::cancelLeavesTheValuesAsTheyWere()
{
    QFETCH(QString, how);

    m_dialog->show();
    typeIntoEveryEdit();
    if (how == u"esc-edit"_s)
        QTest::keyClick(edit(u"EPLogin"_s), Qt::Key_Escape);
    else if (how == u"esc-save"_s)
        QTest::keyClick(m_dialog->findChild<QPushButton*>(u"BSave"_s), Qt::Key_Escape);
    else if (how == u"cancel"_s)
        QTest::mouseClick(m_dialog->findChild<QPushButton*>(u"BClose"_s), Qt::LeftButton);
    else
        m_dialog->close();

    QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
    QVERIFY(!m_dialog->isVisible());
    QVERIFY(m_connection == remembered());
    QVERIFY(!QFile::exists(m_settings->path()));
    QVERIFY(!QFile::exists(m_store->location()));
    QCOMPARE(m_request->proxy().port(), quint16(3128));
    QCOMPARE(m_request->proxy().user(), u"вход"_s);
    // The edits show the remembered values again, even before the next opening.
    for (const QString& name : EditNames)
        QVERIFY2(!edit(name)->text().startsWith(u"new"_s), qPrintable(name));
    QCOMPARE(edit(u"EURL"_s)->text(), u"http://shop.example"_s);
}

void TestTFConnectParam::failedSaveChangesNothingAndStaysOpen_data()
{
    QTest::addColumn<bool>("settingsWritable");

    QTest::newRow("settings file unwritable") << false;
    QTest::newRow("password store unwritable") << true;
}

void TestTFConnectParam::failedSaveChangesNothingAndStaysOpen()
{
    QFETCH(bool, settingsWritable);

    // A plain file where a folder should be: nothing can be written beneath it.
    const QString blocker = m_dir->filePath(u"blocker"_s);
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    makeDialog(settingsWritable ? m_dir->filePath(u"Vendrix.ini"_s) : blocker + u"/Vendrix.ini"_s,
               blocker + u"/Trader.conf"_s);

    m_dialog->show();
    typeIntoEveryEdit();
    QTest::keyClick(edit(u"EURL"_s), Qt::Key_Return);

    QCOMPARE(m_prompter->shown.size(), 1);
    QCOMPARE(m_prompter->last().caption, u"Параметры подключения"_s);
    QCOMPARE(m_prompter->last().icon, Prompter::Icon::Error);
    QVERIFY2(!m_prompter->last().text.isEmpty(), "the box says what failed");
    QVERIFY(m_dialog->isVisible());
    QVERIFY(m_connection == remembered());
    // The store failed after the proxy had been applied: the exchange keeps the old one.
    QCOMPARE(m_request->proxy().hostName(), u"proxy.local"_s);
    QCOMPARE(m_request->proxy().port(), quint16(3128));
    // What was typed stays for another try; "Отмена" then leaves the values as they were.
    QCOMPARE(edit(u"EPLogin"_s)->text(), u"new EPLogin"_s);
    QTest::keyClick(edit(u"EURL"_s), Qt::Key_Escape);
    QVERIFY(m_connection == remembered());
    QVERIFY(!m_dialog->isVisible());
}

void TestTFConnectParam::runDialogTellsWhetherSaved_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("saved");

    QTest::newRow("Enter") << int(Qt::Key_Return) << true;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << false;
}

void TestTFConnectParam::runDialogTellsWhetherSaved()
{
    QFETCH(int, key);
    QFETCH(bool, saved);

    QTimer::singleShot(0, m_dialog.get(), [&] {
        QVERIFY(m_dialog->isModal());
        edit(u"ELogin"_s)->setText(u"другой"_s);
        QTest::keyClick(edit(u"ELogin"_s), Qt::Key(key));
    });
    QCOMPARE(m_dialog->runDialog(), saved);
    QCOMPARE(m_connection.login, saved ? u"другой"_s : u"менеджер"_s);
}

QTEST_MAIN(TestTFConnectParam)
#include "tst_TFConnectParam.moc"

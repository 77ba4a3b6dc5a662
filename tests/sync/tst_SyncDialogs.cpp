#include "SettingsFile.h"
#include "StartSettings.h"
#include "TFOrderSendNote.h"
#include "TFOrdersGetParam.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Presses a key in the dialog that opens next.
void answerNextDialog(QObject* context, const std::function<void(QWidget*)>& act)
{
    QTimer::singleShot(0, context, [act] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            act(dialog);
    });
}

} // namespace

class TestSyncDialogs : public QObject {
    Q_OBJECT
private slots:
    void periodDialog();
    void buyerNoteDialog();
};

void TestSyncDialogs::periodDialog()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QTemporaryDir dir;
    const SettingsFile file(dir.filePath(QStringLiteral("Vendrix.ini")));
    TFOrdersGetParam dialog(nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Параметры получения заказов "));
    OrderPeriodSettings period;
    period.from = QDate(2026, 3, 1);
    period.to = QDate(2026, 3, 31);
    period.autoFrom = true;
    period.autoTo = false;
    dialog.fill(period);
    auto* from = dialog.findChild<QDateEdit*>(QStringLiteral("DTFrom"));
    auto* to = dialog.findChild<QDateEdit*>(QStringLiteral("DTTo"));
    auto* autoTo = dialog.findChild<QCheckBox*>(QStringLiteral("CBAutoTo"));
    QVERIFY(!from->isEnabled());
    QVERIFY(to->isEnabled());
    autoTo->click();
    QVERIFY(!to->isEnabled());

    // "Отмена" changes nothing and writes nothing.
    answerNextDialog(this, [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
    QVERIFY(!dialog.edit(period, file));
    QVERIFY(!period.autoTo);
    QVERIFY(!QFileInfo::exists(file.path()));

    // "ОК" takes the dialog's values and writes all five keys.
    answerNextDialog(this, [](QWidget* d) {
        d->findChild<QCheckBox*>(QStringLiteral("CBAutoFrom"))->click();
        d->findChild<QDateEdit*>(QStringLiteral("DTFrom"))->setDate(QDate(2026, 2, 1));
        d->findChild<QCheckBox*>(QStringLiteral("CBAutoClear"))->setChecked(false);
        QTest::keyClick(d, Qt::Key_Return);
    });
    QVERIFY(dialog.edit(period, file));
    QVERIFY(!period.autoFrom);
    QCOMPARE(period.from, QDate(2026, 2, 1));
    const auto read = [&file](const char* key) {
        return file.ReadSetting(QStringLiteral("ArchiveOrders"), QLatin1String(key), QString());
    };
    QCOMPARE(read("GetOrderFrom"), QStringLiteral("01.02.2026"));
    QCOMPARE(read("GetOrderTo"), QStringLiteral("31.03.2026"));
    QCOMPARE(read("GetOrderAutoFrom"), QStringLiteral("False"));
    QCOMPARE(read("GetOrderAutoTo"), QStringLiteral("False"));
    QCOMPARE(read("GetOrderAutoClear"), QStringLiteral("False"));
    QCOMPARE(StartSettings::read(file, QDate(2026, 12, 11)).period.from, QDate(2026, 2, 1));
    QLocale::setDefault(QLocale::system());
}

void TestSyncDialogs::buyerNoteDialog()
{
    TFOrderSendNote dialog(nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Примечание для покупателя"));
    BuyerNote note{QStringLiteral("прежний"), false};
    answerNextDialog(this, [](QWidget* d) {
        QCOMPARE(d->findChild<QPlainTextEdit*>()->toPlainText(), QStringLiteral("Ждём оплату"));
        QVERIFY(d->findChild<QCheckBox*>()->isChecked());
        QTest::keyClick(d, Qt::Key_Escape);
    });
    QVERIFY(!dialog.AEditSendNote(QStringLiteral("Ждём оплату"), true, note));
    QCOMPARE(note.SendNoteText, QStringLiteral("прежний"));

    answerNextDialog(this, [](QWidget* d) {
        d->findChild<QPlainTextEdit*>()->setPlainText(QStringLiteral("Отправлено"));
        d->findChild<QCheckBox*>()->setChecked(false);
        for (QAbstractButton* b : d->findChildren<QAbstractButton*>())
            if (b->text() == QLatin1String("OK"))
                b->click();
    });
    QVERIFY(dialog.AEditSendNote(QStringLiteral("Ждём оплату"), true, note));
    QCOMPARE(note.SendNoteText, QStringLiteral("Отправлено"));
    QVERIFY(!note.SendNoteEmail);
}

QTEST_MAIN(TestSyncDialogs)
#include "tst_SyncDialogs.moc"

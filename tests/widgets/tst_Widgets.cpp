#include "QtPrompter.h"
#include "TRusClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestWidgets : public QObject {
    Q_OBJECT
private slots:
    void prompterShowsWhatItIsAsked_data();
    void prompterShowsWhatItIsAsked();
    void clipboardKeepsCyrillic();
};

void TestWidgets::prompterShowsWhatItIsAsked_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("click");
    QTest::addColumn<int>("answer");

    using B = Prompter::Buttons;
    using A = Prompter::Answer;
    QTest::newRow("ok") << int(B::Ok) << QStringList{QStringLiteral("OK")} << QStringLiteral("OK")
                        << int(A::Ok);
    QTest::newRow("yes") << int(B::YesNo)
                         << QStringList{QStringLiteral("Да"), QStringLiteral("Нет")}
                         << QStringLiteral("Да") << int(A::Yes);
    QTest::newRow("no") << int(B::YesNo) << QStringList{QStringLiteral("Да"), QStringLiteral("Нет")}
                        << QStringLiteral("Нет") << int(A::No);
    QTest::newRow("cancel") << int(B::YesNoCancel)
                            << QStringList{QStringLiteral("Да"), QStringLiteral("Нет"),
                                           QStringLiteral("Отмена")}
                            << QStringLiteral("Отмена") << int(A::Cancel);
    QTest::newRow("escape on yes/no is no")
        << int(B::YesNo) << QStringList{QStringLiteral("Да"), QStringLiteral("Нет")} << QString()
        << int(A::No);
}

void TestWidgets::prompterShowsWhatItIsAsked()
{
    QFETCH(int, buttons);
    QFETCH(QStringList, labels);
    QFETCH(QString, click);
    QFETCH(int, answer);

    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList seen;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        for (QAbstractButton* b : box->buttons())
            seen << b->text();
        if (click.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton* b : box->buttons())
            if (b->text() == click)
                b->click();
    });
    QtPrompter prompter;
    const Prompter::Answer got =
        prompter.show(QStringLiteral("Заголовок"), QStringLiteral("Текст?"),
                      Prompter::Icon::Question, Prompter::Buttons(buttons));
    QCOMPARE(int(got), answer);
    QCOMPARE(caption, QStringLiteral("Заголовок"));
    QCOMPARE(text, QStringLiteral("Текст?"));
    QCOMPARE(icon, QMessageBox::Question);
    seen.sort();
    labels.sort();
    QCOMPARE(seen, labels);
}

void TestWidgets::clipboardKeepsCyrillic()
{
    TRusClipboard::setText(QStringLiteral("Заказ №15 — Ёлка"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Заказ №15 — Ёлка"));
}

QTEST_MAIN(TestWidgets)
#include "tst_Widgets.moc"

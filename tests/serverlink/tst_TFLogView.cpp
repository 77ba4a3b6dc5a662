#include "ConnectionParams.h"
#include "ScriptedPrompter.h"
#include "ScriptedResponder.h"
#include "TFLogView.h"
#include "TraderIcons.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using Direction = ServerRequest::Direction;
using TraderIcons::Indicator;

Q_DECLARE_METATYPE(ServerRequest::Direction)
Q_DECLARE_METATYPE(TraderIcons::Indicator)

namespace {

const QString SendTitle = u"+++++++++++++++++++++Send+++++++++++++++++++++"_s;
const QString ReceiveTitle = u"+++++++++++++++++++++Receive+++++++++++++++++++++"_s;

bool shows(const QToolButton* button, Indicator picture)
{
    return button->icon().cacheKey() == TraderIcons::indicator(picture).cacheKey();
}

} // namespace

class TestTFLogView : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsHiddenAndInitiateResetsIt();
    void exchangeWhileHiddenIsLoggedAndShownLater();
    void escHidesFromAnyControl_data();
    void escHidesFromAnyControl();
    void monitorRecordsOnlyWhileItsTabIsActive();
    void lampsStayLitUntilTheHoldAfterTheirTransfer_data();
    void lampsStayLitUntilTheHoldAfterTheirTransfer();
    void gaugeShowsProgressAgainstTheExpectedSize_data();
    void gaugeShowsProgressAgainstTheExpectedSize();
    void exchangeShowsBusyOnTheServerButtonAndCursor();
    void indicatorButtonsExplainThemselves_data();
    void indicatorButtonsExplainThemselves();
    void placedAtTheBottomLeftOfTheWorkArea_data();
    void placedAtTheBottomLeftOfTheWorkArea();

private:
    template <typename T> T* child(const QString& name) const
    {
        T* found = m_view->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QPlainTextEdit* memo(const char* name) const
    {
        return child<QPlainTextEdit>(QLatin1String(name));
    }
    void exchange();
    void clickTab(int index);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedResponder> m_server;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    ConnectionParams m_connection;
    std::unique_ptr<TFLogView> m_view;
};

void TestTFLogView::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_server = std::make_unique<ScriptedResponder>();
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_connection = ConnectionParams();
    m_connection.shopUrl = m_server->url();
    m_connection.login = u"manager"_s;
    m_view = std::make_unique<TFLogView>(m_connection, AppFolder(m_dir->path()), *m_prompter);
    m_view->request().AInitiate();
    m_view->request().ScriptPath = u"/admin/trader.php"_s;
}

void TestTFLogView::cleanup()
{
    m_view.reset();
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestTFLogView::exchange()
{
    m_view->request().Command = u"GET_LAST_UPDATE"_s;
    m_view->request().ADoQuery();
}

void TestTFLogView::clickTab(int index)
{
    QTabBar* bar = child<QTabWidget>(u"PageControl"_s)->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

void TestTFLogView::startsHiddenAndInitiateResetsIt()
{
    QVERIFY(!m_view->isVisible());
    QCOMPARE(m_view->windowTitle(), u"Журнал Интернет-соединений"_s);
    QVERIFY(m_view->windowFlags().testFlag(Qt::Tool));
    QVERIFY(m_view->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    auto* tabs = child<QTabWidget>(u"PageControl"_s);
    QCOMPARE(tabs->tabText(0), u"Диалог с сервером"_s);
    QCOMPARE(tabs->tabText(1), u"Мониторинг"_s);
    QVERIFY(memo("MLog")->isReadOnly());
    QVERIFY(memo("MMonitor")->isReadOnly());
    QCOMPARE(child<QToolButton>(u"TBRD"_s)->text(), u"RD"_s);
    QCOMPARE(child<QToolButton>(u"TBTD"_s)->text(), u"TD"_s);

    // Whatever the window went through, the start's reset makes it new again.
    m_view->showLog();
    clickTab(1);
    exchange();
    emit m_view->request().transferBegin(Direction::Receive, 500);
    emit m_view->request().transferProgress(Direction::Receive, 100);
    m_view->request().AInitiate();

    QCOMPARE(memo("MLog")->toPlainText(), QString());
    QCOMPARE(memo("MMonitor")->toPlainText(),
             u"Мониторинг передаваемых данных ведется, только если данная закладка активна!"_s);
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(!m_view->request().isMonitoring());
    QCOMPARE(child<QProgressBar>(u"GServer"_s)->value(), 0);
    QVERIFY(shows(child<QToolButton>(u"TBRD"_s), Indicator::ReceiveIdle));
    QVERIFY(shows(child<QToolButton>(u"TBTD"_s), Indicator::SendIdle));
}

void TestTFLogView::exchangeWhileHiddenIsLoggedAndShownLater()
{
    exchange();

    const QStringList lines = memo("MLog")->toPlainText().split(u'\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[0].endsWith(u"] Request => Command: [GET_LAST_UPDATE]"_s), qPrintable(lines[0]));
    QVERIFY2(lines[1].endsWith(u"] Answer => QUERY_EXECUTE"_s), qPrintable(lines[1]));
    QVERIFY(!m_view->isVisible());

    m_view->showLog();
    QVERIFY(m_view->isVisible());
    QTest::keyClick(memo("MLog"), Qt::Key_Escape);
    QVERIFY(!m_view->isVisible());
    m_view->showLog();
    QCOMPARE(memo("MLog")->toPlainText().split(u'\n'), lines);
}

void TestTFLogView::escHidesFromAnyControl_data()
{
    QTest::addColumn<QString>("control");

    QTest::newRow("MLog") << u"MLog"_s;
    QTest::newRow("MMonitor") << u"MMonitor"_s;
    QTest::newRow("TBRD") << u"TBRD"_s;
    QTest::newRow("window") << u"TFLogView"_s;
    QTest::newRow("close button") << QString();
}

void TestTFLogView::escHidesFromAnyControl()
{
    QFETCH(QString, control);

    m_view->showLog();
    QWidget* target = control == m_view->objectName() ? m_view.get() : child<QWidget>(control);
    QTest::keyClick(target, Qt::Key_Escape);
    QVERIFY(!m_view->isVisible());
}

void TestTFLogView::monitorRecordsOnlyWhileItsTabIsActive()
{
    m_view->showLog();
    exchange();
    QCOMPARE(memo("MMonitor")->toPlainText(),
             u"Мониторинг передаваемых данных ведется, только если данная закладка активна!"_s);

    clickTab(1);
    QVERIFY(m_view->request().isMonitoring());
    exchange();
    const QString text = memo("MMonitor")->toPlainText();
    QCOMPARE(text.count(SendTitle), 1);
    QVERIFY(text.count(ReceiveTitle) >= 1);
    const qsizetype send = text.indexOf(SendTitle);
    const qsizetype receive = text.indexOf(ReceiveTitle);
    QVERIFY(send < receive);
    // The request as it went out, head and form, then the answer as it came in.
    const QString sent = text.mid(send, receive - send);
    QVERIFY2(sent.contains(u"\nPOST /admin/trader.php HTTP/1.1\n"_s), qPrintable(sent));
    QVERIFY(sent.contains(u"User-Agent: Mozilla/3.0 (compatible; Indy Library)"_s));
    QVERIFY(sent.contains(u"name=\"command\"\n\nGET_LAST_UPDATE"_s));
    QVERIFY(text.mid(receive).contains(u"HTTP/1.1 200"_s));
    QVERIFY(text.endsWith(u"QUERY_EXECUTE"_s));

    // Hidden with the tab in front, it keeps recording; back on the log tab it stops.
    m_view->hide();
    exchange();
    QCOMPARE(memo("MMonitor")->toPlainText().count(SendTitle), 2);
    m_view->showLog();
    clickTab(0);
    QVERIFY(!m_view->request().isMonitoring());
    const QString before = memo("MMonitor")->toPlainText();
    exchange();
    QCOMPARE(memo("MMonitor")->toPlainText(), before);
}

void TestTFLogView::lampsStayLitUntilTheHoldAfterTheirTransfer_data()
{
    QTest::addColumn<Direction>("direction");
    QTest::addColumn<QString>("lamp");
    QTest::addColumn<QString>("other");
    QTest::addColumn<Indicator>("lit");
    QTest::addColumn<Indicator>("idle");

    QTest::newRow("sending") << Direction::Send << u"TBTD"_s << u"TBRD"_s << Indicator::Sending
                             << Indicator::SendIdle;
    QTest::newRow("receiving") << Direction::Receive << u"TBRD"_s << u"TBTD"_s
                               << Indicator::Receiving << Indicator::ReceiveIdle;
}

void TestTFLogView::lampsStayLitUntilTheHoldAfterTheirTransfer()
{
    QFETCH(Direction, direction);
    QFETCH(QString, lamp);
    QFETCH(QString, other);
    QFETCH(Indicator, lit);
    QFETCH(Indicator, idle);

    ServerRequest& request = m_view->request();
    auto* button = child<QToolButton>(lamp);
    auto* gauge = child<QProgressBar>(u"GServer"_s);
    emit request.transferBegin(direction, 1000);
    QVERIFY(shows(button, lit));
    QVERIFY(!shows(child<QToolButton>(other), lit));
    emit request.transferProgress(direction, 400);
    QCOMPARE(gauge->value(), 400);
    emit request.transferEnd(direction);
    QVERIFY(shows(button, lit));

    // A second transfer right after the first: the first one's hold must not put it out.
    emit request.transferBegin(direction, 1000);
    QTest::qWait(TFLogView::IndicatorHoldMs + 150);
    QVERIFY(shows(button, lit));
    emit request.transferEnd(direction);
    QVERIFY(shows(button, lit));
    QTRY_VERIFY(shows(button, idle));
    QCOMPARE(gauge->value(), 0);
}

void TestTFLogView::gaugeShowsProgressAgainstTheExpectedSize_data()
{
    QTest::addColumn<qint64>("expected");
    QTest::addColumn<qint64>("done");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");

    QTest::newRow("known size") << qint64(1000) << qint64(400) << 1000 << 400;
    QTest::newRow("more than announced") << qint64(100) << qint64(150) << 150 << 150;
    QTest::newRow("unknown size runs") << qint64(0) << qint64(700) << 0 << 0;
    QTest::newRow("beyond the gauge's range")
        << (qint64(5) << 30) << (qint64(5) << 29) << (5 << 20) << (5 << 19);
}

void TestTFLogView::gaugeShowsProgressAgainstTheExpectedSize()
{
    QFETCH(qint64, expected);
    QFETCH(qint64, done);
    QFETCH(int, maximum);
    QFETCH(int, value);

    auto* gauge = child<QProgressBar>(u"GServer"_s);
    emit m_view->request().transferBegin(Direction::Receive, expected);
    emit m_view->request().transferProgress(Direction::Receive, done);
    QCOMPARE(gauge->maximum(), maximum);
    if (maximum > 0)
        QCOMPARE(gauge->value(), value);
    emit m_view->request().transferEnd(Direction::Receive);
    QTRY_VERIFY(shows(child<QToolButton>(u"TBRD"_s), Indicator::ReceiveIdle));
    // Idle again: an empty gauge, not a running one.
    QVERIFY(gauge->maximum() > 0);
    QCOMPARE(gauge->value(), 0);
}

void TestTFLogView::exchangeShowsBusyOnTheServerButtonAndCursor()
{
    QToolButton server;
    m_view->setBusyIndicator(&server);
    QVERIFY(shows(&server, Indicator::ServerIdle));

    struct Seen {
        bool serverBusy;
        int cursor;
        bool sending;
    };
    QList<Seen> seen;
    // What the window shows as the request starts to go out.
    connect(&m_view->request(), &ServerRequest::transferBegin, this, [&](Direction direction) {
        if (direction != Direction::Send)
            return;
        const QCursor* cursor = QApplication::overrideCursor();
        seen << Seen{shows(&server, Indicator::ServerBusy), cursor ? int(cursor->shape()) : -1,
                     shows(child<QToolButton>(u"TBTD"_s), Indicator::Sending)};
    });
    exchange();

    QCOMPARE(seen.size(), 1);
    QVERIFY(seen.first().serverBusy);
    QCOMPARE(seen.first().cursor, int(Qt::BusyCursor));
    QVERIFY(seen.first().sending);
    QVERIFY(shows(&server, Indicator::ServerIdle));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    // Both lamps are still lit for a moment after the exchange, then go out.
    QVERIFY(shows(child<QToolButton>(u"TBRD"_s), Indicator::Receiving));
    QTRY_VERIFY(shows(child<QToolButton>(u"TBRD"_s), Indicator::ReceiveIdle));
    QVERIFY(shows(child<QToolButton>(u"TBTD"_s), Indicator::SendIdle));

    // Handed to another window's button, the busy state shows there; a button that has
    // gone away, or none at all, is no fault.
    auto other = std::make_unique<QToolButton>();
    m_view->setBusyIndicator(other.get());
    emit m_view->request().busyChanged(true);
    QVERIFY(shows(other.get(), Indicator::ServerBusy));
    other.reset();
    emit m_view->request().busyChanged(false);
    QCOMPARE(m_view->busyIndicator(), nullptr);
    m_view->setBusyIndicator(nullptr);
    exchange();
    QVERIFY(shows(&server, Indicator::ServerIdle));
}

void TestTFLogView::indicatorButtonsExplainThemselves_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("text");

    QTest::newRow("RD") << u"TBRD"_s << u"Индикатор приема данных сервером"_s;
    QTest::newRow("TD") << u"TBTD"_s << u"Индикатор передачи данных серверу"_s;
}

void TestTFLogView::indicatorButtonsExplainThemselves()
{
    QFETCH(QString, button);
    QFETCH(QString, text);

    m_view->showLog();
    QTest::mouseClick(child<QToolButton>(button), Qt::LeftButton);

    QCOMPARE(m_prompter->shown.size(), 1);
    QCOMPARE(m_prompter->last().caption, u"Журнал Интернет-соединений"_s);
    QCOMPARE(m_prompter->last().text, text);
    QCOMPARE(m_prompter->last().icon, Prompter::Icon::Information);
    QCOMPARE(m_prompter->last().buttons, Prompter::Buttons::Ok);
}

void TestTFLogView::placedAtTheBottomLeftOfTheWorkArea_data()
{
    QTest::addColumn<QRect>("workArea");

    QTest::newRow("work area above a task bar") << QRect(0, 0, 1600, 860);
    QTest::newRow("second screen, panel on top") << QRect(1600, 30, 1280, 994);
}

void TestTFLogView::placedAtTheBottomLeftOfTheWorkArea()
{
    QFETCH(QRect, workArea);

    m_view->resize(600, 300);
    m_view->placeAtBottomLeft(workArea);
    const QRect frame = m_view->frameGeometry();
    QCOMPARE(frame.left(), workArea.left());
    QCOMPARE(frame.bottom(), workArea.bottom());
}

QTEST_MAIN(TestTFLogView)
#include "tst_TFLogView.moc"

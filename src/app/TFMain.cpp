#include "TFMain.h"

#include "CommandGuard.h"
#include "DataGrid.h"
#include "LayoutStorage.h"
#include "MainProgress.h"
#include "OrderDesk.h"
#include "ProgramInfo.h"
#include "Prompter.h"
#include "ServerRequest.h"
#include "SyncCommands.h"
#include "TDMMain.h"
#include "TFAbout.h"
#include "TFConnectParam.h"
#include "TFFormDesign.h"
#include "TFLogView.h"
#include "TraderIcons.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

QToolButton* dropDownButton(QAction* main, const QList<QAction*>& entries, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setDefaultAction(main);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    auto* menu = new QMenu(button);
    for (QAction* entry : entries) {
        if (entry)
            menu->addAction(entry);
        else
            menu->addSeparator();
    }
    button->setMenu(menu);
    return button;
}

} // namespace

TFMain::TFMain(const AppFolder& folder, Prompter& prompter, const PasswordStore& passwords,
               QWidget* parent)
    : QMainWindow(parent)
    , m_folder(folder)
    , m_prompter(prompter)
    , m_settings(folder.settingsFile())
    , m_actions(this)
    , m_dm(new TDMMain(folder, this))
    , m_about(new TFAbout(this))
    , m_formDesign(new TFFormDesign(this))
    , m_layout(std::make_unique<LayoutStorage>(folder.layoutFile()))
    , m_passwords(passwords)
    // The log window owns the one request object, so it comes before the connection dialog
    // that applies the proxy to it.
    , m_logView(new TFLogView(m_connection, folder, prompter, this))
    , m_connectParam(new TFConnectParam(m_connection, m_settings, m_logView->request(), m_passwords,
                                        prompter, this))
{
    setObjectName(QStringLiteral("TFMain"));
    setWindowTitle(ProgramInfo::ProgramName());
    resize(1200, 800);
    buildMenus();
    buildToolBar();
    buildBottomBar();
    connectActions();
    m_desk =
        new OrderDesk(*m_dm, m_prompter, m_actions.all(), builtCommands(), *m_formDesign, this);
    setCentralWidget(m_desk);
    m_progress = std::make_unique<MainProgress>(ProgressBar, PBSimple);
    m_sync = new SyncCommands(m_actions, *m_desk,
                              SyncContext{*m_dm, m_logView->request(), m_prompter, *m_desk,
                                          m_settings, *m_progress, m_startSettings,
                                          [] { return QDateTime::currentDateTime(); },
                                          [this] { return windowTitle(); }},
                              this);
    m_placedByLayout = m_layout->load(this);

    // The Temp folder holds the store's scratch files and the exchange's temporary archives.
    m_sessionOpen = QDir().mkpath(m_folder.tempPath());
    if (m_sessionOpen) {
        qputenv("SQLITE_TMPDIR", QFile::encodeName(m_folder.tempPath()));
    } else {
        m_prompter.error(ProgramInfo::ProgramName(),
                         QStringLiteral("Не удалось создать папку %1").arg(m_folder.tempPath()));
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
}

TFMain::~TFMain() = default;

void TFMain::buildMenus()
{
    const TFMainActions& a = m_actions;
    QMenu* shop = menuBar()->addMenu(QStringLiteral("Магазин"));
    shop->addActions({a.ARefreshData, a.AOrderGetParam});
    shop->addSeparator();
    shop->addActions({a.AReGetTables, a.AReGetOrders});
    shop->addSeparator();
    shop->addAction(a.AArchiveUpdate);
    QMenu* server = shop->addMenu(QStringLiteral("Работа с сервером"));
    server->addActions({a.AConnectParam, a.ALogView});
    shop->addSeparator();
    shop->addAction(a.ADBUtil);
    shop->addSeparator();
    shop->addAction(a.AClose);

    QMenu* orders = menuBar()->addMenu(QStringLiteral("Заказы"));
    orders->addAction(a.AOrderSearch);
    orders->addSeparator();
    orders->addActions({a.ANewOrder, a.ACopyOrder, a.ANewCopyOrder, a.ASetStatusDel});
    orders->addSeparator();
    orders->addActions(
        {a.ASetStatusAccept, a.ASetStatusDelivery, a.ASetStatusExecuted, a.ASetStatusNil});
    orders->addSeparator();
    orders->addActions({a.ASetPaymentAccept, a.ASetPaymentNil});
    orders->addSeparator();
    orders->addActions({a.AResetStatus, a.AResetStatusAll});

    QMenu* reports = menuBar()->addMenu(QStringLiteral("Отчеты"));
    reports->addActions({a.AReportOrderSys, a.AEditReportSys});
    reports->addSeparator();
    reports->addAction(a.AReportSelectOrders);

    QMenu* extra = menuBar()->addMenu(QStringLiteral("Дополнительно"));
    extra->addActions({a.AClientCat, a.AGoodsSelect});
    extra->addSeparator();
    extra->addActions({a.AOrderDublicate, a.AInvoiceOrder});
    extra->addSeparator();
    extra->addAction(a.AExportXML);

    QMenu* help = menuBar()->addMenu(QStringLiteral("Справка"));
    help->addActions({a.AAbout, a.ASiteDunvik, a.ALicense});
    help->addSeparator();
    help->addAction(a.ASupport);

    // F1 has no menu item; the window itself carries the shortcut.
    addAction(a.AHelp);
}

void TFMain::buildToolBar()
{
    const TFMainActions& a = m_actions;
    QToolBar* bar = addToolBar(QStringLiteral("Панель инструментов"));
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setIconSize(QSize(24, 24));
    bar->addWidget(dropDownButton(
        a.ARefreshData, {a.ARefreshData, a.AOrderGetParam, nullptr, a.AReGetTables, a.AReGetOrders},
        bar));
    bar->addAction(a.AArchiveUpdate);
    bar->addSeparator();
    bar->addAction(a.AConnectParam);
    bar->addSeparator();
    bar->addActions({a.ANewOrder, a.ACopyOrder, a.ANewCopyOrder, a.ASetStatusDel});
    bar->addSeparator();
    bar->addActions(
        {a.ASetStatusAccept, a.ASetStatusDelivery, a.ASetStatusExecuted, a.ASetStatusNil});
    bar->addSeparator();
    bar->addActions({a.ASetPaymentAccept, a.ASetPaymentNil});
    bar->addWidget(dropDownButton(a.AResetStatus, {a.AResetStatus, a.AResetStatusAll}, bar));
    bar->addSeparator();
    bar->addActions({a.AOrderSearch, a.AClientCat, a.AGoodsSelect});
    bar->addSeparator();
    bar->addWidget(dropDownButton(a.AReportOrderSys, {a.AReportOrderSys, a.AEditReportSys}, bar));
    bar->addAction(a.AReportSelectOrders);
    bar->addSeparator();
    bar->addActions({a.AOrderDublicate, a.AInvoiceOrder});
    bar->addSeparator();
    bar->addAction(a.AExportXML);
}

void TFMain::buildBottomBar()
{
    QStatusBar* bottom = statusBar();
    bottom->setSizeGripEnabled(false);

    TBServer = new QToolButton(bottom);
    TBServer->setObjectName(QStringLiteral("TBServer"));
    TBServer->setText(QStringLiteral("Работа с сервером"));
    TBServer->setToolTip(QStringLiteral("Работа с сервером"));
    TBServer->setIcon(TraderIcons::action(QStringLiteral("ALogView")));
    TBServer->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    TBServer->setAutoRaise(true);
    TBServer->setPopupMode(QToolButton::MenuButtonPopup);
    auto* menu = new QMenu(TBServer);
    menu->addActions({m_actions.ALogView, m_actions.AConnectParam});
    TBServer->setMenu(menu);
    // A click runs the first entry of the list.
    connect(TBServer, &QToolButton::clicked, m_actions.ALogView, &QAction::trigger);
    bottom->addWidget(TBServer);

    ProgressBar = new QProgressBar(bottom);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    PBSimple = new QProgressBar(bottom);
    PBSimple->setObjectName(QStringLiteral("PBSimple"));
    for (QProgressBar* bar : {ProgressBar, PBSimple}) {
        bar->setMaximumWidth(300);
        bar->hide();
        bottom->addPermanentWidget(bar);
    }
}

QSet<QString> TFMain::builtCommands()
{
    return QSet<QString>{QStringLiteral("AClose"),        QStringLiteral("AAbout"),
                         QStringLiteral("ASiteDunvik"),   QStringLiteral("ALicense"),
                         QStringLiteral("ASupport"),      QStringLiteral("AHelp"),
                         QStringLiteral("AConnectParam"), QStringLiteral("ALogView")} +
           SyncCommands::commands();
}

void TFMain::showAsLastTime()
{
    if (m_placedByLayout)
        show();
    else
        showMaximized();
}

void TFMain::connectActions()
{
    const TFMainActions& a = m_actions;
    const QSet<QString> built = builtCommands();
    for (QAction* action : a.all())
        action->setEnabled(built.contains(action->objectName()));

    connect(a.AClose, &QAction::triggered, this, &QWidget::close);
    connect(a.ALogView, &QAction::triggered, this, [this] { m_logView->showLog(); });
    connect(a.AConnectParam, &QAction::triggered, this, [this] {
        m_connectParam->runDialog();
        setWindowTitle(m_connection.programCaption());
    });
    connect(a.AAbout, &QAction::triggered, this, [this] {
        m_about->centreOnOwner();
        m_about->exec();
    });
    connect(a.ASiteDunvik, &QAction::triggered, this,
            [this] { m_prompter.openUrl(QUrl(siteAddress())); });
    connect(a.ASupport, &QAction::triggered, this,
            [this] { m_prompter.openUrl(QUrl(supportAddress())); });
    connect(a.AHelp, &QAction::triggered, this,
            [this] { openProgramDocument(QStringLiteral("help.html")); });
    connect(a.ALicense, &QAction::triggered, this,
            [this] { openProgramDocument(QStringLiteral("license.html")); });
}

void TFMain::openProgramDocument(const QString& fileName)
{
    const QString path = m_folder.file(fileName);
    if (QFileInfo::exists(path))
        m_prompter.openUrl(QUrl::fromLocalFile(path));
}

void TFMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_startScheduled && m_sessionOpen) {
        m_startScheduled = true;
        QTimer::singleShot(0, this, &TFMain::runStart);
    }
}

void TFMain::runStart()
{
    const QString title = ProgramInfo::ProgramTitle();
    setWindowTitle(title);

    m_about->centreOnOwner();
    m_about->show();
    QCoreApplication::processEvents();
    QEventLoop pause;
    QTimer::singleShot(300, &pause, &QEventLoop::quit);
    pause.exec(QEventLoop::ExcludeUserInputEvents);

    if (AInit()) {
        setWindowTitle(title + QStringLiteral(" [") + m_startSettings.connection.shopUrl +
                       QLatin1Char(']'));
        m_desk->ACurrUpdate();
    }
    // The splash goes even when the start stopped at an error, so the window can be used.
    m_about->close();
    m_desk->DBOrders()->view()->setFocus();
    m_started = true;
    emit startFinished();
}

bool TFMain::AInit()
{
    return runGuarded(m_prompter, [this] {
        m_dm->AConnectDB();
        QCoreApplication::processEvents();
        m_dm->openTables();
        m_logView->placeAtBottomLeft();
        m_logView->setBusyIndicator(TBServer);
        m_startSettings = StartSettings::read(m_settings, QDate::currentDate());
        m_connection = ConnectionParams::fromStart(m_startSettings.connection, m_passwords);
        m_logView->request().AInitiate();
        m_logView->request().ScriptPath = QStringLiteral("/admin/trader.php");
        ProgressBar->hide();
        m_desk->openLists();
    });
}

ServerRequest& TFMain::request() const
{
    return m_logView->request();
}

void TFMain::closeEvent(QCloseEvent* event)
{
    m_about->close();
    m_logView->hide();
    // Unsent marks are offered for sending; a cancel keeps the window open.
    if (m_dm->isConnected() && !m_sync->allowClose()) {
        event->ignore();
        return;
    }
    m_desk->closeLists();
    m_layout->save(this);
    event->accept();
}

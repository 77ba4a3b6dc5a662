#include "TFLogView.h"

#include "ConnectionParams.h"
#include "Cp1251.h"
#include "Prompter.h"
#include "TraderIcons.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <limits>
#include <utility>

namespace {

using Direction = ServerRequest::Direction;
using TraderIcons::Indicator;

QToolButton* newIndicator(const char* name, const QString& text, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

QPlainTextEdit* newMemo(const char* name, QWidget* parent)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QLatin1String(name));
    memo->setReadOnly(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    return memo;
}

// The raw bytes as single-byte text, line by line. Control bytes of a zipped payload
// would garble the memo, so they show as dots, as a byte viewer shows them.
QString trafficText(const QByteArray& block)
{
    QString text = Cp1251::decode(block);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (QChar& c : text)
        if (c.unicode() < 0x20 && c != QLatin1Char('\n') && c != QLatin1Char('\t'))
            c = QLatin1Char('.');
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

} // namespace

TFLogView::TFLogView(const ConnectionParams& connection, const AppFolder& folder,
                     Prompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_request(new ServerRequest(connection, folder, prompter, this))
    , m_prompter(prompter)
{
    setObjectName(QStringLiteral("TFLogView"));
    setWindowTitle(ServerRequest::caption());
    resize(640, 320);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("PageControl"));
    MLog = newMemo("MLog", m_tabs);
    MMonitor = newMemo("MMonitor", m_tabs);
    m_tabs->addTab(MLog, QStringLiteral("Диалог с сервером"));
    m_tabs->addTab(MMonitor, QStringLiteral("Мониторинг"));

    m_bar = new QToolBar(this);
    m_bar->setObjectName(QStringLiteral("ToolBar"));
    m_bar->setIconSize(QSize(16, 16));
    TBRD = newIndicator("TBRD", QStringLiteral("RD"), m_bar);
    TBTD = newIndicator("TBTD", QStringLiteral("TD"), m_bar);
    GServer = new QProgressBar(m_bar);
    GServer->setObjectName(QStringLiteral("GServer"));
    GServer->setTextVisible(false);
    GServer->setMaximumHeight(16);
    GServer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    GServer->setStyleSheet(
        QStringLiteral("QProgressBar { background: white; border: 1px solid #a0a0a0; }"
                       "QProgressBar::chunk { background: rgb(65, 105, 225); }"));
    m_bar->addWidget(TBRD);
    m_bar->addWidget(TBTD);
    m_bar->addWidget(GServer);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tabs);
    layout->addWidget(m_bar);

    TimerRD = new QTimer(this);
    TimerTD = new QTimer(this);
    for (QTimer* timer : {TimerRD, TimerTD}) {
        timer->setSingleShot(true);
        timer->setInterval(IndicatorHoldMs);
    }
    connect(TimerRD, &QTimer::timeout, this, [this] { onIndicatorTimeout(Direction::Receive); });
    connect(TimerTD, &QTimer::timeout, this, [this] { onIndicatorTimeout(Direction::Send); });

    // Esc hides the window whichever control has the focus.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    // The recorder runs exactly while "Мониторинг" is the tab in front.
    connect(m_tabs, &QTabWidget::currentChanged, this,
            [this](int index) { m_request->setMonitoring(index == 1); });
    connect(TBRD, &QToolButton::clicked, this, [this] {
        m_prompter.inform(ServerRequest::caption(),
                          QStringLiteral("Индикатор приема данных сервером"));
    });
    connect(TBTD, &QToolButton::clicked, this, [this] {
        m_prompter.inform(ServerRequest::caption(),
                          QStringLiteral("Индикатор передачи данных серверу"));
    });

    connect(m_request, &ServerRequest::logCleared, this, &TFLogView::reset);
    connect(m_request, &ServerRequest::logLine, MLog, &QPlainTextEdit::appendPlainText);
    connect(m_request, &ServerRequest::busyChanged, this, &TFLogView::onBusyChanged);
    connect(m_request, &ServerRequest::transferBegin, this, &TFLogView::onTransferBegin);
    connect(m_request, &ServerRequest::transferProgress, this, &TFLogView::onTransferProgress);
    connect(m_request, &ServerRequest::transferEnd, this, &TFLogView::onTransferEnd);
    connect(m_request, &ServerRequest::trafficSent, this, [this](const QByteArray& block) {
        addTraffic(QStringLiteral("+++++++++++++++++++++Send+++++++++++++++++++++"), block);
    });
    connect(m_request, &ServerRequest::trafficReceived, this, [this](const QByteArray& block) {
        addTraffic(QStringLiteral("+++++++++++++++++++++Receive+++++++++++++++++++++"), block);
    });

    reset();
}

TFLogView::~TFLogView()
{
    if (m_busy)
        QApplication::restoreOverrideCursor();
}

void TFLogView::showLog()
{
    show();
    raise();
    activateWindow();
}

void TFLogView::placeAtBottomLeft()
{
    QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen();
    if (where)
        placeAtBottomLeft(where->availableGeometry());
}

void TFLogView::placeAtBottomLeft(const QRect& workArea)
{
    // The frame (title bar included) is what must end at the work area's bottom. Before the
    // window is first shown its title bar is not known, so it is placed once more then.
    const int height = frameGeometry().height();
    move(workArea.left(), workArea.top() + workArea.height() - height);
    if (!m_shownOnce)
        m_placeOnFirstShow = workArea;
}

void TFLogView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    const std::optional<QRect> area = std::exchange(m_placeOnFirstShow, std::nullopt);
    if (!area)
        return;
    // The window manager tells the frame's size a moment after the window appears.
    auto* watch = new QTimer(this);
    watch->setInterval(50);
    connect(watch, &QTimer::timeout, this, [this, watch, area, tries = 0]() mutable {
        if (frameGeometry().height() > height() || ++tries == 20) {
            placeAtBottomLeft(*area);
            watch->deleteLater();
            watch->stop();
        }
    });
    watch->start();
}

void TFLogView::setBusyIndicator(QToolButton* button)
{
    m_busyIndicator = button;
    showBusyPicture();
}

void TFLogView::showBusyPicture()
{
    if (!m_busyIndicator)
        return;
    m_busyIndicator->setIcon(
        TraderIcons::indicator(m_busy ? Indicator::ServerBusy : Indicator::ServerIdle));
    m_busyIndicator->repaint();
}

void TFLogView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TFLogView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        hide();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFLogView::reset()
{
    MLog->clear();
    MMonitor->setPlainText(monitorHint());
    m_tabs->setCurrentIndex(0);
    TimerRD->stop();
    TimerTD->stop();
    GServer->setRange(0, 100);
    GServer->setValue(0);
    setLit(Direction::Send, false);
    setLit(Direction::Receive, false);
}

void TFLogView::onBusyChanged(bool busy)
{
    if (busy && !m_busy)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else if (!busy && m_busy)
        QApplication::restoreOverrideCursor();
    m_busy = busy;
    showBusyPicture();
}

void TFLogView::setLit(Direction direction, bool lit)
{
    if (direction == Direction::Send) {
        m_sendLit = lit;
        TBTD->setIcon(TraderIcons::indicator(lit ? Indicator::Sending : Indicator::SendIdle));
    } else {
        m_receiveLit = lit;
        TBRD->setIcon(TraderIcons::indicator(lit ? Indicator::Receiving : Indicator::ReceiveIdle));
    }
}

void TFLogView::onTransferBegin(Direction direction, qint64 expected)
{
    // A new transfer keeps its lamp lit: the hold of the one before must not put it out.
    (direction == Direction::Send ? TimerTD : TimerRD)->stop();
    m_gaugeShift = 0;
    while ((expected >> m_gaugeShift) > std::numeric_limits<int>::max())
        m_gaugeShift += 10;
    // An answer of unknown size gets the gauge's running bar.
    GServer->setRange(0, int(qMax<qint64>(expected, 0) >> m_gaugeShift));
    GServer->setValue(0);
    setLit(direction, true);
    m_bar->repaint();
}

void TFLogView::onTransferProgress(Direction, qint64 done)
{
    const int value = int(qMin<qint64>(done >> m_gaugeShift, std::numeric_limits<int>::max()));
    if (GServer->maximum() > 0 && value > GServer->maximum())
        GServer->setMaximum(value);
    GServer->setValue(value);
}

void TFLogView::onTransferEnd(Direction direction)
{
    (direction == Direction::Send ? TimerTD : TimerRD)->start();
}

void TFLogView::onIndicatorTimeout(Direction direction)
{
    setLit(direction, false);
    // A running bar stops only when neither lamp is lit any more.
    if (!m_sendLit && !m_receiveLit)
        GServer->setRange(0, 100);
    GServer->setValue(0);
}

void TFLogView::addTraffic(const QString& title, const QByteArray& block)
{
    MMonitor->appendPlainText(title);
    MMonitor->appendPlainText(trafficText(block));
}

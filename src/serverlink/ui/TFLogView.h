#pragma once

#include "ServerRequest.h"

#include <QPointer>
#include <QToolButton>
#include <QWidget>

#include <optional>

class AppFolder;
class Prompter;
class QPlainTextEdit;
class QProgressBar;
class QTabWidget;
class QTimer;
class QToolBar;
struct ConnectionParams;

// "Журнал Интернет-соединений": the visible face of the one request object, which it owns.
// It keeps the log of every exchange, shows the raw traffic while its "Мониторинг" tab is
// the active one, lights "TD" and "RD" while a request goes out and an answer comes in, and
// switches the busy cursor and the current server button's picture during an exchange.
// It is made once at start, hidden rather than closed, and shows whatever happened while
// it was hidden.
class TFLogView : public QWidget {
    Q_OBJECT
public:
    TFLogView(const ConnectionParams& connection, const AppFolder& folder, Prompter& prompter,
              QWidget* parent = nullptr);
    ~TFLogView() override;

    static QString monitorHint()
    {
        return QStringLiteral(
            "Мониторинг передаваемых данных ведется, только если данная закладка активна!");
    }
    // Each indicator stays lit this long after its transfer ends.
    static constexpr int IndicatorHoldMs = 200;

    ServerRequest& request() { return *m_request; }

    // "Журнал": shows the window without modality, above every other window.
    void showLog();
    // The window's place at start: the bottom-left corner of the work area.
    void placeAtBottomLeft();
    void placeAtBottomLeft(const QRect& workArea);
    // The "Работа с сервером" button that shows an exchange as busy: the main window's at
    // start, the client manager's or the order editor's while one of them is open; none
    // when null. The button gets its idle picture at once.
    void setBusyIndicator(QToolButton* button);
    QToolButton* busyIndicator() const { return m_busyIndicator; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reset();
    void onBusyChanged(bool busy);
    void onTransferBegin(ServerRequest::Direction direction, qint64 expected);
    void onTransferProgress(ServerRequest::Direction direction, qint64 done);
    void onTransferEnd(ServerRequest::Direction direction);
    void onIndicatorTimeout(ServerRequest::Direction direction);
    void setLit(ServerRequest::Direction direction, bool lit);
    void addTraffic(const QString& title, const QByteArray& block);
    void showBusyPicture();

    ServerRequest* m_request;
    Prompter& m_prompter;
    QPointer<QToolButton> m_busyIndicator;
    bool m_busy = false;
    bool m_sendLit = false;
    bool m_receiveLit = false;
    int m_gaugeShift = 0;
    bool m_shownOnce = false;
    std::optional<QRect>
        m_placeOnFirstShow; // a transfer past the gauge's range is shown in KiB or MiB

    QTabWidget* m_tabs;
    QPlainTextEdit* MLog;
    QPlainTextEdit* MMonitor;
    QToolBar* m_bar;
    QToolButton* TBRD;
    QToolButton* TBTD;
    QProgressBar* GServer;
    QTimer* TimerRD;
    QTimer* TimerTD;
};

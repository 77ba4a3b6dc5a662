#pragma once

#include "AppFolder.h"
#include "ConnectionParams.h"
#include "PasswordStore.h"
#include "SettingsFile.h"
#include "StartSettings.h"
#include "TFMainActions.h"

#include <QMainWindow>
#include <QSet>

#include <memory>

class LayoutStorage;
class MainProgress;
class ServerRequest;
class SyncCommands;
class OrderDesk;
class Prompter;
class QProgressBar;
class QToolButton;
class TDMMain;
class TFAbout;
class TFConnectParam;
class TFLogView;
class TFFormDesign;

// The main window: the shell around the order desk. It builds the menus, the tool bar and
// the bottom bar, runs the start sequence when first shown and ends the program on close.
// The commands' own work lives in their subsystems.
class TFMain : public QMainWindow {
    Q_OBJECT
public:
    TFMain(const AppFolder& folder, Prompter& prompter, const PasswordStore& passwords,
           QWidget* parent = nullptr);
    ~TFMain() override;

    static QString siteAddress() { return QStringLiteral("https://dunvik.ru/"); }
    static QString supportAddress() { return QStringLiteral("https://dunvik.ru/support/"); }

    const TFMainActions& actions() const { return m_actions; }
    OrderDesk& desk() const { return *m_desk; }
    // Shows the window where the layout file last saw it, or maximised on a first start.
    void showAsLastTime();
    TDMMain& dm() const { return *m_dm; }
    const StartSettings& startSettings() const { return m_startSettings; }
    bool isStarted() const { return m_started; }
    const ConnectionParams& connection() const { return m_connection; }
    ServerRequest& request() const;
    TFLogView& logView() const { return *m_logView; }

signals:
    // The start sequence has run (to its end, or to the step that failed).
    void startFinished();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The commands whose work exists; the others stay disabled whatever the desk's rules say.
    static QSet<QString> builtCommands();
    void buildMenus();
    void buildToolBar();
    void buildBottomBar();
    void connectActions();
    void runStart();
    bool AInit();
    void openProgramDocument(const QString& fileName);

    AppFolder m_folder;
    Prompter& m_prompter;
    SettingsFile m_settings;
    TFMainActions m_actions;
    TDMMain* m_dm;
    TFAbout* m_about;
    TFFormDesign* m_formDesign;
    OrderDesk* m_desk;
    std::unique_ptr<LayoutStorage> m_layout;
    PasswordStore m_passwords;
    ConnectionParams m_connection;
    TFLogView* m_logView;
    TFConnectParam* m_connectParam;
    std::unique_ptr<MainProgress> m_progress;
    SyncCommands* m_sync = nullptr;
    bool m_placedByLayout = false;
    QToolButton* TBServer = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QProgressBar* PBSimple = nullptr;
    StartSettings m_startSettings;
    bool m_sessionOpen = false;
    bool m_startScheduled = false;
    bool m_started = false;
};

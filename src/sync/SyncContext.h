#pragma once

#include "StartSettings.h"

#include <QDateTime>
#include <QString>

#include <functional>

class DeskOperations;
class Prompter;
class ServerRequest;
class SettingsFile;
class SyncProgress;
class TDMMain;

// What the synchronisation commands work with, handed over by the window or by the
// headless program.
struct SyncContext {
    TDMMain& dm;
    ServerRequest& request;
    Prompter& prompter;
    DeskOperations& desk;
    const SettingsFile& settings;
    SyncProgress& progress;
    // The values the start sequence read; the period dialog changes the period.
    StartSettings& start;
    std::function<QDateTime()> now;
    // The main window's caption, which message boxes carry.
    std::function<QString()> caption;
};

// Locks the order commands and shows the busy cursor for one exchange; the scope's end
// unlocks them again, also when an error ends the command.
class ExchangeLock {
public:
    explicit ExchangeLock(SyncContext& context);
    ~ExchangeLock();
    ExchangeLock(const ExchangeLock&) = delete;
    ExchangeLock& operator=(const ExchangeLock&) = delete;
    void release();

private:
    SyncContext& m_context;
    bool m_held = true;
};

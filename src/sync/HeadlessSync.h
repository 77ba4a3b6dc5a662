#pragma once

#include "AppFolder.h"
#include "ConnectionParams.h"
#include "HeadlessDesk.h"
#include "OrdersDownload.h"
#include "ReferenceDownload.h"
#include "ServerRequest.h"
#include "SettingsFile.h"
#include "StatusChanges.h"
#include "SyncContext.h"
#include "SyncProgress.h"
#include "TDMMain.h"

class PasswordStore;
class Prompter;

// The synchronisation on one program folder without windows: its store, settings, saved
// connection and the very commands the window runs.
class HeadlessSync {
public:
    // Opens the folder's store (creating what is missing); throws TraderError.
    HeadlessSync(const AppFolder& folder, Prompter& prompter, const PasswordStore& passwords);

    ConnectionParams& connection() { return m_connection; }
    ServerRequest& request() { return m_request; }
    ReferenceDownload& reference() { return m_reference; }
    StatusChanges& status() { return m_status; }
    OrdersDownload& orders() { return m_orders; }

private:
    static AppFolder prepared(const AppFolder& folder);

    AppFolder m_folder;
    TDMMain m_dm;
    SettingsFile m_settings;
    StartSettings m_start;
    ConnectionParams m_connection;
    ServerRequest m_request;
    HeadlessDesk m_desk;
    NoProgress m_progress;
    SyncContext m_context;
    ReferenceDownload m_reference;
    StatusChanges m_status;
    OrdersDownload m_orders;
};

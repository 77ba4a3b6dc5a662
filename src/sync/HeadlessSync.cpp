#include "HeadlessSync.h"

#include "TraderError.h"

#include <QDir>

AppFolder HeadlessSync::prepared(const AppFolder& folder)
{
    if (!QDir().mkpath(folder.tempPath()))
        throw TraderError(QStringLiteral("Не удалось создать папку %1").arg(folder.tempPath()));
    qputenv("SQLITE_TMPDIR", QFile::encodeName(folder.tempPath()));
    return folder;
}

HeadlessSync::HeadlessSync(const AppFolder& folder, Prompter& prompter,
                           const PasswordStore& passwords)
    : m_folder(prepared(folder))
    , m_dm(m_folder)
    , m_settings(m_folder.settingsFile())
    , m_start(StartSettings::read(m_settings, QDate::currentDate()))
    , m_connection(ConnectionParams::fromStart(m_start.connection, passwords))
    , m_request(m_connection, m_folder, prompter)
    , m_context{m_dm,
                m_request,
                prompter,
                m_desk,
                m_settings,
                m_progress,
                m_start,
                [] { return QDateTime::currentDateTime(); },
                [this] { return m_connection.programCaption(); }}
    , m_reference(m_context)
    , m_status(m_context)
    , m_orders(m_context, m_reference, m_status)
{
    m_dm.AConnectDB();
    m_dm.openTables();
    m_request.AInitiate();
    m_request.ScriptPath = QStringLiteral("/admin/trader.php");
}

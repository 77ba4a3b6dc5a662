#include "SyncCommands.h"

#include "CommandGuard.h"
#include "DataGrid.h"
#include "OrderDesk.h"
#include "OrdersDownload.h"
#include "ReferenceDownload.h"
#include "StatusChanges.h"
#include "TFMainActions.h"
#include "TFOrderNote.h"
#include "TFOrderSendNote.h"
#include "TFOrdersGetParam.h"

#include <QAction>
#include <QToolButton>

SyncCommands::SyncCommands(const TFMainActions& actions, OrderDesk& desk, SyncContext context,
                           QWidget* window)
    : QObject(window)
    , m_desk(desk)
    , m_context(std::move(context))
    , m_reference(std::make_unique<ReferenceDownload>(m_context))
    , m_status(std::make_unique<StatusChanges>(m_context))
    , m_orders(std::make_unique<OrdersDownload>(m_context, *m_reference, *m_status))
    , m_notes(std::make_unique<OrderNotes>(m_context.dm, m_context.request, m_context.desk))
    , m_window(window)
{
    const auto on = [this](QAction* action, std::function<void()> command) {
        connect(action, &QAction::triggered, this, [this, command] { run(command); });
    };
    on(actions.ARefreshData, [this] { m_orders->ARefreshData(); });
    on(actions.AReGetTables, [this] { m_reference->AReGetTables(); });
    on(actions.AReGetOrders, [this] { m_orders->AReGetOrders(); });
    on(actions.AOrderGetParam, [this] {
        if (!m_periodDialog)
            m_periodDialog = new TFOrdersGetParam(m_window);
        m_periodDialog->edit(m_context.start.period, m_context.settings);
    });
    on(actions.AArchiveUpdate, [this] {
        m_desk.reattach();
        if (m_desk.currentTab() == 0)
            m_status->AUpdateStatus();
    });
    const std::pair<QAction*, StatusChanges::Mark> marks[] = {
        {actions.ASetStatusAccept, StatusChanges::Mark::Accept},
        {actions.ASetStatusDelivery, StatusChanges::Mark::Delivery},
        {actions.ASetStatusExecuted, StatusChanges::Mark::Executed},
        {actions.ASetStatusNil, StatusChanges::Mark::Nil},
        {actions.ASetPaymentAccept, StatusChanges::Mark::PaymentAccept},
        {actions.ASetPaymentNil, StatusChanges::Mark::PaymentNil}};
    for (const auto& [action, kind] : marks)
        on(action, [this, kind = kind] { mark(int(kind)); });
    on(actions.AResetStatus, [this] {
        if (m_desk.DBOrders()->rowCount() > 0)
            m_status->reset(m_desk.takeSelection());
    });
    on(actions.AResetStatusAll, [this] { m_status->resetAll(); });
    on(actions.ASetStatusDel, [this] { deleteOrders(); });
    connect(m_desk.insideNoteButton(), &QToolButton::clicked, this,
            [this] { run([this] { saveInsideNote(); }); });
}

SyncCommands::~SyncCommands() = default;

QSet<QString> SyncCommands::commands()
{
    return {QStringLiteral("ARefreshData"),       QStringLiteral("AOrderGetParam"),
            QStringLiteral("AReGetTables"),       QStringLiteral("AReGetOrders"),
            QStringLiteral("AArchiveUpdate"),     QStringLiteral("ASetStatusAccept"),
            QStringLiteral("ASetStatusDelivery"), QStringLiteral("ASetStatusExecuted"),
            QStringLiteral("ASetStatusNil"),      QStringLiteral("ASetPaymentAccept"),
            QStringLiteral("ASetPaymentNil"),     QStringLiteral("AResetStatus"),
            QStringLiteral("AResetStatusAll"),    QStringLiteral("ASetStatusDel"),
            QStringLiteral("BInsideNoteSave")};
}

void SyncCommands::run(const std::function<void()>& command)
{
    runGuarded(m_context.prompter, command);
}

bool SyncCommands::allowClose()
{
    bool allowed = true;
    run([&] {
        m_status->AStatusTest();
        allowed = !m_status->StatusTestCancelled();
    });
    return allowed;
}

void SyncCommands::mark(int kind)
{
    if (m_desk.DBOrders()->rowCount() == 0)
        return;
    if (!m_status->managerAllows(m_desk.currentOrderValue(QStringLiteral("manager_id"))))
        return;
    const QStringList ids = m_desk.takeSelection();
    if (!m_sendNoteDialog)
        m_sendNoteDialog = new TFOrderSendNote(m_window);
    if (!m_sendNoteDialog->AEditSendNote(
            m_desk.currentOrderValue(QStringLiteral("send_note")).toString(),
            m_desk.currentOrderValue(QStringLiteral("send_email")).toBool(), m_buyerNote))
        return;
    m_status->apply(StatusChanges::Mark(kind), ids, m_buyerNote.SendNoteText,
                    m_buyerNote.SendNoteEmail);
}

void SyncCommands::deleteOrders()
{
    if (m_desk.DBOrders()->rowCount() == 0)
        return;
    const QStringList ids = m_desk.takeSelection();
    if (m_desk.currentTab() == 0)
        m_context.desk.AOrdersRefresh();
    else
        m_status->deleteDrafts(ids);
}

void SyncCommands::saveInsideNote()
{
    if (m_desk.DBOrders()->rowCount() == 0)
        return;
    QString note = m_desk.currentOrderValue(QStringLiteral("inside_note")).toString();
    if (!m_noteDialog)
        m_noteDialog = new TFOrderNote(m_window);
    if (!m_noteDialog->edit(note))
        return;
    const qint64 id = m_desk.currentOrderValue(QStringLiteral("id")).toLongLong();
    if (m_desk.currentTab() == 0)
        m_notes->saveInsideNote(id, note);
    else
        m_notes->saveDraftNote(id, note);
}

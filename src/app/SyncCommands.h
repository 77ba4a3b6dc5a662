#pragma once

#include "OrderNotes.h"
#include "SyncContext.h"

#include <QObject>
#include <QSet>

#include <memory>

class OrderDesk;
class OrdersDownload;
class ReferenceDownload;
class StatusChanges;
class TFOrderNote;
class TFOrderSendNote;
class TFOrdersGetParam;
struct TFMainActions;

// The main window's downloads, uploads, status marks and notes: it connects the window's
// commands to the synchronisation and the desk, and owns their dialogs.
class SyncCommands : public QObject {
    Q_OBJECT
public:
    SyncCommands(const TFMainActions& actions, OrderDesk& desk, SyncContext context,
                 QWidget* window);
    ~SyncCommands() override;

    // The commands this builds, by name.
    static QSet<QString> commands();
    // The test for unsent marks before the program ends: false when it must not end.
    bool allowClose();

    const BuyerNote& buyerNote() const { return m_buyerNote; }

private:
    void mark(int kind);
    void deleteOrders();
    void saveInsideNote();
    void run(const std::function<void()>& command);

    OrderDesk& m_desk;
    SyncContext m_context;
    std::unique_ptr<ReferenceDownload> m_reference;
    std::unique_ptr<StatusChanges> m_status;
    std::unique_ptr<OrdersDownload> m_orders;
    std::unique_ptr<OrderNotes> m_notes;
    TFOrdersGetParam* m_periodDialog = nullptr;
    TFOrderNote* m_noteDialog = nullptr;
    TFOrderSendNote* m_sendNoteDialog = nullptr;
    QWidget* m_window;
    BuyerNote m_buyerNote;
};

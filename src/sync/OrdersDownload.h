#pragma once

#include <QString>

class ReferenceDownload;
class StatusChanges;
struct OrderPeriod;
struct SyncContext;

// The local order archive mirrors the shop's orders of the chosen period: the shop is sent
// every local order's id and last change, and answers with the new and changed orders and
// the ids it no longer has. One answer is applied in one transaction.
class OrdersDownload {
public:
    OrdersDownload(SyncContext& context, ReferenceDownload& reference, StatusChanges& status);

    // "0=0" and "&id=time" for every local order of the period.
    QString compareList(const OrderPeriod& period) const;

    // False when a failed exchange stopped it.
    bool ARefreshData();
    // Empties the archive (and the drafts when the person says so) and downloads anew.
    bool AReGetOrders();

private:
    enum class Outcome { Done, More, Failed, Stopped };
    Outcome downloadOnce();

    SyncContext& m_context;
    ReferenceDownload& m_reference;
    StatusChanges& m_status;
};

#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

struct SyncContext;

// The order status and payment marks: set locally on the chosen orders, sent to the shop
// in one upload, and tested for before a download or the end of the program.
class StatusChanges {
public:
    enum class Mark { Accept, Delivery, Executed, Nil, PaymentAccept, PaymentNil };

    explicit StatusChanges(SyncContext& context);

    static QString statusCaption(int status); // "Новый заказ" ... "Аннулирован", or empty
    static QString paymentCaption(int payment); // "Не оплачен", "Оплачен", or empty

    // Another manager's order takes no mark: false, after the person has been told.
    bool managerAllows(const QVariant& orderManagerId);
    // Sets the mark with the note to the buyer on each order; a finished order (status as
    // received 3 or more) takes no new status. One transaction.
    void apply(Mark mark, const QStringList& orderIds, const QString& note, bool email);
    void reset(const QStringList& orderIds);
    void resetAll();
    // Removes the drafts with their lines and fields, after asking.
    void deleteDrafts(const QStringList& draftIds);

    // The four change lists of the upload: statuses, payments, notes and e-mail flags.
    QString changeLists() const;
    // False when there was nothing to send or the exchange failed.
    bool AUpdateStatus();
    // Offers to send pending marks; sets StatusTestCancelled when what ran it must stop.
    void AStatusTest();
    bool StatusTestCancelled() const { return m_cancelled; }

private:
    SyncContext& m_context;
    bool m_cancelled = false;
};

#pragma once

#include <QString>

class DeskOperations;
class ServerRequest;
class TDMMain;

// The staff's internal note of an order: saved on the shop first, then locally. A draft's
// note is the draft's own and stays local: a draft's id is no order of the shop.
class OrderNotes {
public:
    OrderNotes(const TDMMain& dm, ServerRequest& request, DeskOperations& desk);

    // False when the exchange failed; the local note is then left as it was.
    bool saveInsideNote(qint64 orderId, const QString& text);
    void saveDraftNote(qint64 draftId, const QString& text);

private:
    const TDMMain& m_dm;
    ServerRequest& m_request;
    DeskOperations& m_desk;
};

// The note to the buyer that goes with the next status or payment mark.
struct BuyerNote {
    QString SendNoteText;
    bool SendNoteEmail = false;
};

#include "OrderNotes.h"

#include "DeskOperations.h"
#include "ServerRequest.h"
#include "Sql.h"
#include "TDMMain.h"

OrderNotes::OrderNotes(const TDMMain& dm, ServerRequest& request, DeskOperations& desk)
    : m_dm(dm)
    , m_request(request)
    , m_desk(desk)
{
}

bool OrderNotes::saveInsideNote(qint64 orderId, const QString& text)
{
    m_request.Command = QStringLiteral("SAVE_ORDER_NOTE");
    m_request.Values = QString::number(orderId);
    m_request.StringData = text;
    m_desk.AButtonDisable();
    m_request.ADoQuery();
    if (!m_request.ErrorKind.isEmpty()) {
        m_desk.AButtonEnabel();
        m_desk.ARefreshButton();
        return false;
    }
    Sql::exec(m_dm.database(),
              QStringLiteral("UPDATE archive_order SET inside_note = ? WHERE id = ?"),
              {text.isEmpty() ? QVariant() : QVariant(text), orderId});
    m_desk.AButtonEnabel();
    m_desk.AOrdersRefresh();
    return true;
}

void OrderNotes::saveDraftNote(qint64 draftId, const QString& text)
{
    Sql::exec(m_dm.database(),
              QStringLiteral("UPDATE draft_order SET inside_note = ? WHERE id = ?"),
              {text.isEmpty() ? QVariant() : QVariant(text), draftId});
    m_desk.AOrdersRefresh();
}

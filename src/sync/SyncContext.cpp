#include "SyncContext.h"

#include "DeskOperations.h"
#include "SyncProgress.h"

ExchangeLock::ExchangeLock(SyncContext& context)
    : m_context(context)
{
    m_context.desk.AButtonDisable();
    m_context.progress.setBusy(true);
}

ExchangeLock::~ExchangeLock()
{
    release();
}

void ExchangeLock::release()
{
    if (!m_held)
        return;
    m_held = false;
    m_context.progress.hideOverall();
    m_context.progress.setBusy(false);
    m_context.desk.AButtonEnabel();
    m_context.desk.ARefreshButton();
}

#include "ReferenceDownload.h"

#include "DeskOperations.h"
#include "Prompter.h"
#include "Schema.h"
#include "ServerRequest.h"
#include "SettingsFile.h"
#include "Sql.h"
#include "SyncContext.h"
#include "SyncProgress.h"
#include "TDMMain.h"
#include "XmlRecords.h"

#include <QCoreApplication>

namespace {

struct TableEntry {
    QString table;      // our name
    QString serverName; // as the shop spells it
    int rows = 0;
};

} // namespace

ReferenceDownload::ReferenceDownload(SyncContext& context)
    : m_context(context)
{
}

const QStringList& ReferenceDownload::tables()
{
    return Schema::referenceTables();
}

bool ReferenceDownload::AReGetTables()
{
    Sql::exec(m_context.dm.database(), QStringLiteral("DELETE FROM shop_values WHERE key_name = ?"),
              {QStringLiteral("main_update_time")});
    return AGetTables();
}

bool ReferenceDownload::AGetTables()
{
    const QSqlDatabase db = m_context.dm.database();
    QVariant stored =
        Sql::scalar(db, QStringLiteral("SELECT key_value FROM shop_values WHERE key_name = ?"),
                    {QStringLiteral("main_update_time")});
    const QString since = stored.isValid()
                              ? stored.toString()
                              : XmlRecords::ServerDateTime(m_context.now().addYears(-10));

    ServerRequest& request = m_context.request;
    ExchangeLock lock(m_context);
    request.Command = QStringLiteral("GET_LAST_UPDATE");
    request.Values = since;
    request.ADoQuery();
    if (!request.ErrorKind.isEmpty())
        return false;
    if (request.Answer() == QLatin1String("DONT_NEED_UPDATE"))
        return true;
    m_context.settings.WriteSetting(QStringLiteral("Main"), QStringLiteral("ManagerID"),
                                    request.Answer());
    m_context.progress.setBusy(false);
    if (m_context.prompter.show(m_context.caption(),
                                QStringLiteral("Обнаружено изменение базы данных магазина на "
                                               "сервере, выполнить обновление?"),
                                Prompter::Icon::Information,
                                Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
        return true;

    m_context.progress.setBusy(true);
    request.Command = QStringLiteral("GET_TABLES_INFO");
    request.ADoQuery();
    if (!request.ErrorKind.isEmpty())
        return false;

    QList<TableEntry> entries;
    for (const QString& table : tables())
        entries.append({table, table, 0});
    pugi::xml_document document;
    XmlRecords::loadAnswer(document, request);
    qint64 total = 0;
    for (pugi::xml_node info : document.document_element().child("TABLES").children()) {
        const QString name = QString::fromUtf8(info.attribute("Name").value());
        for (TableEntry& entry : entries) {
            if (entry.table.compare(name, Qt::CaseInsensitive) != 0)
                continue;
            entry.serverName = name;
            entry.rows = qMax(0, QString::fromUtf8(info.attribute("Rows").value()).toInt());
            total += entry.rows;
        }
    }

    m_context.progress.showOverall(int(qMin<qint64>(total, INT_MAX)), 1);
    for (const TableEntry& entry : entries)
        if (!downloadTable(entry.serverName, entry.table, entry.rows))
            return false;
    lock.release();
    m_context.desk.ACurrUpdate();
    return true;
}

bool ReferenceDownload::downloadTable(const QString& serverName, const QString& table, int rows)
{
    const QSqlDatabase db = m_context.dm.database();
    ServerRequest& request = m_context.request;
    const int pageSize = qMax(1, m_context.start.recordPerSession);
    if (rows == 0) {
        m_context.dm.TableTemp(table).clear();
        return true;
    }
    XmlRecords::RowAppender appender(db, table);
    int first = 1;
    for (int left = rows; left > 0;) {
        const int count = qMin(left, pageSize);
        request.Command = QStringLiteral("GET_TABLE_DATA");
        request.Values = QStringLiteral("%1;*;%2;%3").arg(serverName).arg(first).arg(count);
        request.ADoQuery();
        if (!request.ErrorKind.isEmpty())
            return false;
        pugi::xml_document document;
        XmlRecords::loadAnswer(document, request);
        // The table's old rows go in the same transaction as its first page arrives.
        Transaction transaction(db);
        if (first == 1)
            m_context.dm.TableTemp(table).clear();
        appender.append(document.document_element().child("PART"), m_context.progress.rows());
        transaction.commit();
        first += count;
        left -= count;
        m_context.progress.advanceOverall(count);
        QCoreApplication::processEvents();
    }
    return true;
}

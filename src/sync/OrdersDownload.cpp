#include "OrdersDownload.h"

#include "ArchiveOrders.h"
#include "DeskOperations.h"
#include "OrderPeriod.h"
#include "Prompter.h"
#include "ReferenceDownload.h"
#include "ServerRequest.h"
#include "Sql.h"
#include "StatusChanges.h"
#include "SyncContext.h"
#include "SyncProgress.h"
#include "TDMMain.h"
#include "XmlRecords.h"

#include <algorithm>

namespace {

QList<qint64> ids(pugi::xml_node container)
{
    QList<qint64> list;
    for (pugi::xml_node item : container.children())
        list << QString::fromUtf8(item.attribute("id").value()).toLongLong();
    return list;
}

int countOf(pugi::xml_node container)
{
    return int(std::distance(container.begin(), container.end()));
}

} // namespace

OrdersDownload::OrdersDownload(SyncContext& context, ReferenceDownload& reference,
                               StatusChanges& status)
    : m_context(context)
    , m_reference(reference)
    , m_status(status)
{
}

QString OrdersDownload::compareList(const OrderPeriod& period) const
{
    // The list holds every order of the period and goes out at every continuation: it is
    // built from the stored texts directly, all of which are ASCII.
    QByteArray list = "0=0";
    const QDateTime never(QDate(1899, 12, 30), QTime(0, 0));
    Sql::forEachText(
        m_context.dm.database(),
        QStringLiteral(
            "SELECT id, update_time FROM archive_order WHERE date_time >= ? AND date_time <= ?"),
        {OrderPeriod::storageText(period.start), OrderPeriod::storageText(period.end)},
        [&](const std::vector<std::string_view>& row) {
            const std::string_view id = row[0];
            const std::string_view changed = row[1];
            list.append('&').append(id.data(), qsizetype(id.size())).append('=');
            // The store keeps the shop's own form, so it is sent as it is (with a midnight
            // time left out); anything else is read as a moment first.
            const bool shopForm =
                changed.size() == 19 && changed[4] == '-' && changed[10] == ' ' &&
                std::all_of(changed.begin(), changed.end(), [](char c) { return uchar(c) < 0x80; });
            if (shopForm) {
                const bool midnight = changed.substr(10) == " 00:00:00";
                list.append(changed.data(), midnight ? 10 : 19);
                return;
            }
            const QDateTime moment =
                QDateTime::fromString(QString::fromUtf8(changed.data(), qsizetype(changed.size())),
                                      QStringLiteral("yyyy-MM-dd hh:mm:ss"));
            list.append(XmlRecords::ServerDateTime(moment.isValid() ? moment : never).toLatin1());
        });
    return QString::fromLatin1(list);
}

bool OrdersDownload::ARefreshData()
{
    for (;;) {
        switch (downloadOnce()) {
        case Outcome::Failed:
            return false;
        case Outcome::Done:
        case Outcome::Stopped:
            return true;
        case Outcome::More:
            break;
        }
    }
}

OrdersDownload::Outcome OrdersDownload::downloadOnce()
{
    m_reference.AGetTables();
    m_status.AStatusTest();
    if (m_status.StatusTestCancelled())
        return Outcome::Stopped;

    const QSqlDatabase db = m_context.dm.database();
    ServerRequest& request = m_context.request;
    pugi::xml_document document;
    {
        ExchangeLock lock(m_context);
        const OrderPeriod period = OrderPeriod::at(m_context.start.period, m_context.now());
        const QString start = OrderPeriod::storageText(period.start);
        const QString end = OrderPeriod::storageText(period.end);
        if (m_context.start.period.autoClear) {
            QList<qint64> outside;
            QSqlQuery query = Sql::exec(
                db,
                QStringLiteral("SELECT id FROM archive_order WHERE date_time < ? OR date_time > ?"),
                {start, end});
            while (query.next())
                outside << query.value(0).toLongLong();
            Transaction transaction(db);
            ArchiveOrders::removeAll(db, outside);
            transaction.commit();
        }

        request.Command = QStringLiteral("COMPARE_ARCHIVE_ORDERS");
        request.Values = XmlRecords::ServerDateTime(period.start) + QLatin1Char(';') +
                         XmlRecords::ServerDateTime(period.end);
        request.StringData = compareList(period);
        request.ADoQuery();
        if (!request.ErrorKind.isEmpty())
            return Outcome::Failed;

        XmlRecords::loadAnswer(document, request);
        const pugi::xml_node root = document.document_element();
        const pugi::xml_node orders = root.child("ORDER");
        m_context.progress.showOverall(countOf(orders), 0);
        // Orders that are gone and orders that come anew lose their old rows, and the new
        // rows arrive, all at once or not at all.
        Transaction transaction(db);
        ArchiveOrders::removeAll(db, ids(root.child("GHOST")));
        ArchiveOrders::removeAll(db, ids(orders));
        RowProgress* rows = m_context.progress.rows();
        XmlRecords::XmlToRows(orders, db, QStringLiteral("archive_order"), rows);
        XmlRecords::XmlToRows(root.child("CLIENT"), db, QStringLiteral("archive_client_field"),
                              rows);
        XmlRecords::XmlToRows(root.child("GOODS"), db, QStringLiteral("archive_basket"), rows);
        transaction.commit();
    }
    m_context.desk.AOrdersRefresh();

    const pugi::xml_node info = document.document_element().child("INFO");
    const qint64 total = QString::fromUtf8(info.attribute("total").value()).toLongLong();
    const qint64 transfer = QString::fromUtf8(info.attribute("transfer").value()).toLongLong();
    if (total == transfer) {
        m_context.prompter.inform(
            m_context.caption(), QStringLiteral("Обновление заказов с сервера успешно завершено."));
        return Outcome::Done;
    }
    if (m_context.prompter.ask(m_context.caption(),
                               QStringLiteral("Не удалось за одно обращение к серверу загрузить "
                                              "всю информацию. Загружать дальше?")) ==
        Prompter::Answer::Yes)
        return Outcome::More;
    return Outcome::Stopped;
}

bool OrdersDownload::AReGetOrders()
{
    m_status.AStatusTest();
    if (m_status.StatusTestCancelled())
        return true;
    const QSqlDatabase db = m_context.dm.database();
    const bool drafts =
        Sql::scalar(db, QStringLiteral("SELECT 1 FROM draft_order LIMIT 1")).isValid();
    bool dropDrafts = false;
    if (drafts) {
        switch (
            m_context.prompter.ask(m_context.caption(),
                                   QStringLiteral("Внимание! У вас есть заказы, не "
                                                  "отправленные на сервер! Уничтожить их тоже?"),
                                   Prompter::Buttons::YesNoCancel)) {
        case Prompter::Answer::Cancel:
            return true;
        case Prompter::Answer::Yes:
            dropDrafts = true;
            break;
        default:
            break;
        }
    }
    Transaction transaction(db);
    QStringList tables = {QStringLiteral("archive_order"), QStringLiteral("archive_basket"),
                          QStringLiteral("archive_client_field")};
    if (dropDrafts)
        tables << QStringLiteral("draft_order") << QStringLiteral("draft_basket")
               << QStringLiteral("draft_client_field");
    for (const QString& table : tables)
        Sql::exec(db, QStringLiteral("DELETE FROM ") + table);
    transaction.commit();
    m_context.desk.AOrdersRefresh();
    return ARefreshData();
}

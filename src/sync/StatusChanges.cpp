#include "StatusChanges.h"

#include "ArchiveOrders.h"
#include "DeskOperations.h"
#include "Prompter.h"
#include "ServerRequest.h"
#include "SettingsFile.h"
#include "Sql.h"
#include "SyncContext.h"
#include "TDMMain.h"
#include "XmlRecords.h"

namespace {

// Empty values count as 0.
const char* pendingStatus = "IFNULL(status, 0) <> IFNULL(status_was, 0)";
const char* pendingPayment = "IFNULL(get_payment, 0) <> IFNULL(payment_was, 0)";

int statusValue(StatusChanges::Mark mark)
{
    switch (mark) {
    case StatusChanges::Mark::Accept:
        return 1;
    case StatusChanges::Mark::Delivery:
        return 2;
    case StatusChanges::Mark::Executed:
        return 3;
    case StatusChanges::Mark::Nil:
        return 4;
    case StatusChanges::Mark::PaymentAccept:
        return 2;
    case StatusChanges::Mark::PaymentNil:
        return 1;
    }
    return 0;
}

bool isPayment(StatusChanges::Mark mark)
{
    return mark == StatusChanges::Mark::PaymentAccept || mark == StatusChanges::Mark::PaymentNil;
}

} // namespace

StatusChanges::StatusChanges(SyncContext& context)
    : m_context(context)
{
}

QString StatusChanges::statusCaption(int status)
{
    switch (status) {
    case 0:
        return QStringLiteral("Новый заказ");
    case 1:
        return QStringLiteral("Принят к выполнению");
    case 2:
        return QStringLiteral("В процессе доставки");
    case 3:
        return QStringLiteral("Выполнен");
    case 4:
        return QStringLiteral("Аннулирован");
    default:
        return QString();
    }
}

QString StatusChanges::paymentCaption(int payment)
{
    switch (payment) {
    case 1:
        return QStringLiteral("Не оплачен");
    case 2:
        return QStringLiteral("Оплачен");
    default:
        return QString();
    }
}

bool StatusChanges::managerAllows(const QVariant& orderManagerId)
{
    const qint64 manager = orderManagerId.toLongLong();
    const QString mine = m_context.settings.ReadSetting(
        QStringLiteral("Main"), QStringLiteral("ManagerID"), QStringLiteral("0"));
    if (manager > 0 && QString::number(manager) != mine) {
        m_context.prompter.error(m_context.caption(),
                                 QStringLiteral("Операцию выполнить нельзя! Заказ уже принят "
                                                "другим менеджером!"));
        return false;
    }
    return true;
}

void StatusChanges::apply(Mark mark, const QStringList& orderIds, const QString& note, bool email)
{
    const QSqlDatabase db = m_context.dm.database();
    const QString statement =
        isPayment(mark)
            ? QStringLiteral("UPDATE archive_order SET get_payment = ?, send_note = ?, "
                             "send_email = ? WHERE id = ?")
            : QStringLiteral("UPDATE archive_order SET status = ?, send_note = ?, send_email = ? "
                             "WHERE id = ? AND IFNULL(status_was, 0) < 3");
    Transaction transaction(db);
    QSqlQuery query = Sql::prepare(db, statement);
    for (const QString& id : orderIds) {
        query.addBindValue(statusValue(mark));
        query.addBindValue(note.isEmpty() ? QVariant() : QVariant(note));
        query.addBindValue(email ? 1 : 0);
        query.addBindValue(id.toLongLong());
        Sql::exec(query);
    }
    transaction.commit();
    m_context.desk.AOrdersRefresh();
}

void StatusChanges::reset(const QStringList& orderIds)
{
    const QSqlDatabase db = m_context.dm.database();
    Transaction transaction(db);
    QSqlQuery query = Sql::prepare(
        db, QStringLiteral("UPDATE archive_order SET status = status_was, get_payment = "
                           "payment_was WHERE id = ?"));
    for (const QString& id : orderIds) {
        query.addBindValue(id.toLongLong());
        Sql::exec(query);
    }
    transaction.commit();
    m_context.desk.AOrdersRefresh();
}

void StatusChanges::resetAll()
{
    Sql::exec(
        m_context.dm.database(),
        QStringLiteral("UPDATE archive_order SET status = status_was, get_payment = payment_was"));
    m_context.desk.AOrdersRefresh();
}

void StatusChanges::deleteDrafts(const QStringList& draftIds)
{
    if (draftIds.isEmpty())
        return;
    if (m_context.prompter.ask(m_context.caption(),
                               QStringLiteral("Действительно хотите удалить выбранные заказы?")) ==
        Prompter::Answer::No) {
        m_context.desk.AOrdersRefresh();
        return;
    }
    const QSqlDatabase db = m_context.dm.database();
    Transaction transaction(db);
    for (const QString& id : draftIds)
        for (const char* statement : {"DELETE FROM draft_basket WHERE order_id = ?",
                                      "DELETE FROM draft_client_field WHERE order_id = ?",
                                      "DELETE FROM draft_order WHERE id = ?"})
            Sql::exec(db, QLatin1String(statement), {id.toLongLong()});
    transaction.commit();
    m_context.desk.AOrdersRefresh();
}

QString StatusChanges::changeLists() const
{
    QSqlQuery query =
        Sql::exec(m_context.dm.database(),
                  QStringLiteral("SELECT id, status, get_payment, send_note, send_email, %1, %2 "
                                 "FROM archive_order ORDER BY id")
                      .arg(QLatin1String(pendingStatus), QLatin1String(pendingPayment)));
    QString statuses, payments, notes, emails;
    while (query.next()) {
        const QString id = query.value(0).toString() + QLatin1Char('=');
        if (query.value(5).toBool()) {
            statuses += id + QString::number(query.value(1).toLongLong()) + QLatin1Char(';');
            notes += id + XmlRecords::UrlEncode(query.value(3).toString()) + QLatin1Char(';');
            emails += id + (query.value(4).toBool() ? QLatin1Char('1') : QLatin1Char('0')) +
                      QLatin1Char(';');
        }
        if (query.value(6).toBool())
            payments += id + QString::number(query.value(2).toLongLong()) + QLatin1Char(';');
    }
    if (statuses.isEmpty() && payments.isEmpty())
        return QString();
    return statuses + QLatin1Char(':') + payments + QLatin1Char(':') + notes + QLatin1Char(':') +
           emails;
}

bool StatusChanges::AUpdateStatus()
{
    const QString lists = changeLists();
    if (lists.isEmpty()) {
        m_context.prompter.error(m_context.caption(),
                                 QStringLiteral("Не заданно ни одного нового статуса!"));
        return false;
    }
    ServerRequest& request = m_context.request;
    {
        ExchangeLock lock(m_context);
        request.Command = QStringLiteral("UPDATE_ORDERS_ARCHIVE");
        request.Values.clear();
        request.StringData = lists;
        request.ADoQuery();
        if (!request.ErrorKind.isEmpty())
            return false;

        const QSqlDatabase db = m_context.dm.database();
        Transaction transaction(db);
        QList<qint64> removed;
        QSqlQuery gone =
            Sql::exec(db, QStringLiteral("SELECT id FROM archive_order WHERE status = 5"));
        while (gone.next())
            removed << gone.value(0).toLongLong();
        ArchiveOrders::removeAll(db, removed);
        Sql::exec(db, QStringLiteral("UPDATE archive_order SET status_was = status, payment_was = "
                                     "get_payment, send_email = 1, send_note = NULL"));
        transaction.commit();
    }
    m_context.prompter.inform(m_context.caption(),
                              QStringLiteral("Обновление статусов заказов выполнено."));
    m_context.desk.AOrdersRefresh();
    return true;
}

void StatusChanges::AStatusTest()
{
    m_cancelled = false;
    const bool pending =
        Sql::scalar(m_context.dm.database(),
                    QStringLiteral("SELECT 1 FROM archive_order WHERE %1 OR %2 LIMIT 1")
                        .arg(QLatin1String(pendingStatus), QLatin1String(pendingPayment)))
            .isValid();
    if (!pending)
        return;
    switch (m_context.prompter.ask(
        m_context.caption(),
        QStringLiteral("Были установлены новые статусы для заказов, передать их на сервер?"),
        Prompter::Buttons::YesNoCancel)) {
    case Prompter::Answer::Cancel:
        m_cancelled = true;
        break;
    case Prompter::Answer::Yes:
        if (!AUpdateStatus())
            m_cancelled = true;
        break;
    default:
        break;
    }
}

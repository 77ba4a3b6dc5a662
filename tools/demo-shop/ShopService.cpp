#include "ShopService.h"

#include "ClientCommands.h"
#include "Cp1251.h"
#include "DraftCommands.h"
#include "OrderCommands.h"
#include "ReferenceCommands.h"
#include "SqlStatement.h"
#include "TraderError.h"
#include "ZipPayload.h"

#include <QCryptographicHash>

ShopService::ShopService(ShopDb& db, Config config)
    : m_db(db)
    , m_config(std::move(config))
{
}

QString ShopService::nextEntryName()
{
    const QByteArray seed = QByteArray::number(++m_answers) + '/' +
                            QByteArray::number(m_config.now().toMSecsSinceEpoch());
    return QString::fromLatin1(QCryptographicHash::hash(seed, QCryptographicHash::Md5).toHex());
}

qint64 ShopService::managerIdFor(const QString& login)
{
    if (!m_config.login.isEmpty() && login == m_config.login)
        return 1;
    SqlStatement query(m_db, "SELECT id FROM manager WHERE login=?");
    query.bind(1, login);
    // Anyone may work an open demonstration shop; an unknown login works as its first manager.
    return query.next() ? query.integer(0) : 1;
}

Answer ShopService::handle(const ShopRequest& request)
{
    std::lock_guard lock(m_mutex);
    if (!m_config.login.isEmpty() && (request.login != Cp1251::encode(m_config.login) ||
                                      request.code != Cp1251::encode(m_config.password)))
        return Answer::word("WRONG_PASSWORD");
    try {
        QByteArray payload;
        if (request.archive) {
            const std::optional<QByteArray> content =
                ZipPayload::unpack(*request.archive, QStringLiteral("SomeData.xml"));
            if (!content)
                return Answer::error("PHP_ERROR", QStringLiteral("Архив string_file повреждён или "
                                                                 "не содержит SomeData.xml"));
            payload = *content;
        }
        return dispatch(request, payload);
    } catch (const TraderError& error) {
        return Answer::error("SQL_ERROR", error.message());
    }
}

Answer ShopService::dispatch(const ShopRequest& request, const QByteArray& payload)
{
    ShopContext context{m_db, managerIdFor(Cp1251::decode(request.login)), m_config.now,
                        m_config.transferLimit, [this] { return nextEntryName(); }};
    const QByteArray& command = request.command;
    const QString values = Cp1251::decode(request.values);
    if (command == "GET_LAST_UPDATE")
        return ReferenceCommands::getLastUpdate(context, values);
    if (command == "GET_TABLES_INFO")
        return ReferenceCommands::getTablesInfo(context);
    if (command == "GET_TABLE_DATA")
        return ReferenceCommands::getTableData(context, values);
    if (command == "COMPARE_ARCHIVE_ORDERS")
        return OrderCommands::compareArchiveOrders(context, values, payload);
    if (command == "UPDATE_ORDERS_ARCHIVE")
        return OrderCommands::updateOrdersArchive(context, payload);
    if (command == "SAVE_ORDER_NOTE")
        return OrderCommands::saveOrderNote(context, values, payload);
    if (command == "APPLY_ORDERS_UPDATE")
        return DraftCommands::applyOrdersUpdate(context, payload);
    if (command == "GET_CLIENT_FIELDS")
        return ClientCommands::getClientFields(context, values);
    if (command == "SEARCH_CLIENTS")
        return ClientCommands::searchClients(context, payload);
    if (command == "GET_ALL_CLIENTS")
        return ClientCommands::getAllClients(context);
    if (command == "SAVE_CLIENT_PARAM")
        return ClientCommands::saveClientParam(context, payload);
    if (command.isEmpty())
        return Answer::error("PHP_ERROR", QStringLiteral("Не задана команда"));
    return Answer::error("PHP_ERROR",
                         QStringLiteral("Неизвестная команда: %1").arg(Cp1251::decode(command)));
}

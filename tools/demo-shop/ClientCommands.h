#pragma once

#include "Answer.h"
#include "ShopContext.h"

#include <QByteArray>

// The shop's clients: search, the registration fields of one buyer, and the manager's
// changes of discounts and removals.
namespace ClientCommands {

// values: "order_id=N&client_id=N".
Answer getClientFields(ShopContext& context, const QString& values);
// payload: the criteria list "login=...&email=...&id=...&proc_oper=...&...".
Answer searchClients(ShopContext& context, const QByteArray& payload);
Answer getAllClients(ShopContext& context);
// payload: records "id|do|proc|suma|category_id|orders_suma|rules_allow|reg_date|last_date;".
Answer saveClientParam(ShopContext& context, const QByteArray& payload);

} // namespace ClientCommands

#pragma once

#include "Answer.h"
#include "ShopContext.h"

#include <QStringList>

// The reference data: the update check, the table list and the pages of one table.
namespace ReferenceCommands {

// The tables the trader mirrors, in the order it downloads them.
const QStringList& referenceTables();

Answer getLastUpdate(ShopContext& context, const QString& values);
Answer getTablesInfo(ShopContext& context);
// values: table name ";" columns ("*" or names joined by ",") ";" first row from 1 ";" count
Answer getTableData(ShopContext& context, const QString& values);

} // namespace ReferenceCommands

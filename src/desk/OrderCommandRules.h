#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// Which order commands the desk enables, as plain rules over what the list shows.
namespace OrderCommandRules {

struct DeskState {
    int tab = 0;              // 0 the archive, 1 to 3 the draft folders
    int rowCount = 0;         // orders in the list
    int markedCount = 0;      // marked orders
    int currentStatusWas = 0; // the current order's status as last received
};

// The commands locked during a server exchange, and those unlocked after it.
const QStringList& lockedDuringExchange();
const QStringList& unlockedAfterExchange();

// The commands whose state follows from the list, each with whether it is enabled. Commands
// not named keep their state.
QHash<QString, bool> refreshButtons(const DeskState& state);

} // namespace OrderCommandRules

#pragma once

#include <QString>

// What the order desk offers the rest of the program: the synchronisation and the editor
// refresh the list and lock its commands through this, without knowing the window.
class DeskOperations {
public:
    virtual ~DeskOperations() = default;

    virtual void TCOrdersChange() = 0; // applies the current tab
    virtual void AOrdersRefresh() = 0; // reloads the list, keeping the current order
    virtual void ARefreshButton() = 0; // recomputes which order commands are enabled
    virtual void AButtonDisable() = 0; // locks the commands for a server exchange
    virtual void AButtonEnabel() = 0;  // unlocks them afterwards
    virtual void ACurrUpdate() = 0;    // labels the money columns with the base currency
    virtual QString BaseCurrencyName() const = 0;
};

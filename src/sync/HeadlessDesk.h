#pragma once

#include "DeskOperations.h"

// The desk's operations where there is no window: nothing to refresh or to lock.
class HeadlessDesk : public DeskOperations {
public:
    void TCOrdersChange() override {}
    void AOrdersRefresh() override {}
    void ARefreshButton() override {}
    void AButtonDisable() override {}
    void AButtonEnabel() override {}
    void ACurrUpdate() override {}
    QString BaseCurrencyName() const override { return {}; }
};

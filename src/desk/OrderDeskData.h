#pragma once

#include "RowSet.h"

#include <QString>

class TDMMain;

// The three lists of the order desk, read from the local store: the orders of a tab, and
// the goods lines and buyer's registration fields of one order.
class OrderDeskData {
public:
    explicit OrderDeskData(const TDMMain& dm);

    static QString ordersSql(int tab);
    static QString goodsSql(int tab);
    static QString clientFieldsSql(int tab);

    RowSet orders(int tab) const;
    RowSet goods(int tab, const QVariant& orderId) const;
    RowSet clientFields(int tab, const QVariant& orderId) const;
    // The shop's base currency name, empty when the shop has not reported one.
    QString baseCurrencyName() const;

private:
    const TDMMain& m_dm;
};

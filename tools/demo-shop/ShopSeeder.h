#pragma once

#include <QDateTime>

class ShopDb;

// Fills an empty shop with a realistic Russian demonstration shop: catalogue, prices,
// delivery and payment, clients and three months of orders. The same sizes and "now" give
// the same shop.
class ShopSeeder {
public:
    struct Size {
        int goods = 150;
        int orders = 300;
        int clients = 40;
    };

    ShopSeeder(ShopDb& db, Size size, QDateTime now);
    // Everything in one transaction, into a database that nothing else uses yet; a seed that
    // fails leaves that database to be thrown away.
    void seed();

    // Changes count random orders on the server now (a new status or payment and a new
    // change time), as if the shop's staff had worked them.
    static void touchOrders(ShopDb& db, int count, const QDateTime& now, quint64 seed);

private:
    ShopDb& m_db;
    Size m_size;
    QDateTime m_now;
};

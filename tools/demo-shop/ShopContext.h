#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

class ShopDb;

// What every command handler works with: the database, the caller's manager id, the
// shop's clock and the limits of one answer.
struct ShopContext {
    ShopDb& db;
    qint64 managerId = 0;
    std::function<QDateTime()> now;
    int transferLimit = 100;
    // A fresh 32-character name for the entry of a zipped answer.
    std::function<QString()> entryName;
};

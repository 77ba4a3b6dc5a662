#pragma once

#include "FaultPlan.h"

#include <QString>
#include <QStringList>

// The command line of demo-shop.
struct DemoOptions {
    int port = 8047;
    QString dataDir;
    QString login;
    QString password;
    int goods = 150;
    int orders = 300;
    int clients = 40;
    int transferLimit = 100;
    int touchOrders = 0;
    int delayMs = 0;
    bool help = false;
    FaultPlan faults;

    // False, with the reason in error, when the arguments (without the program name) are wrong.
    bool parse(const QStringList& arguments, QString* error);
    static QString helpText();
};

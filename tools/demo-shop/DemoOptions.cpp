#include "DemoOptions.h"

#include <limits>

bool DemoOptions::parse(const QStringList& arguments, QString* error)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& option = arguments[i];
        if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
            help = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            *error = QStringLiteral("unknown option or missing value: %1").arg(option);
            return false;
        }
        const QString value = arguments[++i];
        const auto number = [&](int* target, int low, int high) {
            bool ok = false;
            const int parsed = value.toInt(&ok);
            if (!ok || parsed < low || parsed > high) {
                *error = QStringLiteral("%1 needs a number from %2 to %3, not \"%4\"")
                             .arg(option)
                             .arg(low)
                             .arg(high)
                             .arg(value);
                return false;
            }
            *target = parsed;
            return true;
        };
        constexpr int Many = std::numeric_limits<int>::max();
        bool ok = true;
        if (option == QLatin1String("--port"))
            ok = number(&port, 0, 65535);
        else if (option == QLatin1String("--data"))
            dataDir = value;
        else if (option == QLatin1String("--login"))
            login = value;
        else if (option == QLatin1String("--password"))
            password = value;
        else if (option == QLatin1String("--goods"))
            ok = number(&goods, 1, Many);
        else if (option == QLatin1String("--orders"))
            ok = number(&orders, 0, Many);
        else if (option == QLatin1String("--clients"))
            ok = number(&clients, 0, Many);
        else if (option == QLatin1String("--transfer-limit"))
            ok = number(&transferLimit, 1, Many);
        else if (option == QLatin1String("--touch-orders"))
            ok = number(&touchOrders, 0, Many);
        else if (option == QLatin1String("--delay-ms"))
            ok = number(&delayMs, 0, Many);
        else if (option == QLatin1String("--fault"))
            ok = faults.add(value, error);
        else {
            *error = QStringLiteral("unknown option: %1").arg(option);
            return false;
        }
        if (!ok)
            return false;
    }
    if (!password.isEmpty() && login.isEmpty()) {
        *error = QStringLiteral("--password needs --login");
        return false;
    }
    return true;
}

QString DemoOptions::helpText()
{
    return QStringLiteral(
               "Usage: demo-shop [options]\n"
               "A demonstration web shop for Dunvik Shop Trader: answers POST /admin/trader.php\n"
               "on 127.0.0.1 with a seeded shop of goods, clients and orders. Stops on SIGINT or\n"
               "SIGTERM.\n\n"
               "  --port N              port to listen on (default 8047; 0 picks a free one)\n"
               "  --data DIR            keep the shop's database in DIR (created and seeded on\n"
               "                        the first start, kept afterwards); without it a fresh\n"
               "                        shop lives in memory\n"
               "  --login L --password P\n"
               "                        accept only this login and password (others get\n"
               "                        WRONG_PASSWORD); without them every login is accepted\n"
               "  --goods N             goods to seed (default 150)\n"
               "  --orders N            orders to seed, over the last three months (default 300)\n"
               "  --clients N           clients to seed (default 40)\n"
               "  --transfer-limit N    most orders, and most clients, in one answer (default "
               "100)\n"
               "  --touch-orders N      change N random orders at start, as the shop's staff\n"
               "                        would, so the next download brings them again\n"
               "  --delay-ms N          wait N milliseconds before every answer\n") +
           FaultPlan::help() + QStringLiteral("  --help                this text\n");
}

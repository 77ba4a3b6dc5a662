#include "DemoOptions.h"
#include "Platform.h"
#include "ShopDb.h"
#include "ShopSeeder.h"
#include "ShopServer.h"
#include "ShopService.h"
#include "TraderError.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

namespace {

void seed(ShopDb& db, const DemoOptions& options, const QDateTime& now)
{
    QElapsedTimer timer;
    timer.start();
    ShopSeeder(db, {options.goods, options.orders, options.clients}, now).seed();
    std::fprintf(stderr, "demo-shop: seeded %d goods, %d orders, %d clients in %.1f s\n",
                 options.goods, options.orders, options.clients, double(timer.elapsed()) / 1000);
}

// The kept database of the data folder, seeded on the first start; a fresh one in memory
// without a folder. A first seed is written beside the database and renamed into place
// only when it is complete, so an interrupted start leaves nothing half-made.
std::unique_ptr<ShopDb> openShop(const DemoOptions& options, const QDateTime& now)
{
    if (options.dataDir.isEmpty()) {
        auto db = std::make_unique<ShopDb>();
        seed(*db, options, now);
        return db;
    }
    if (!QDir().mkpath(options.dataDir))
        throw TraderError(QStringLiteral("cannot create %1").arg(options.dataDir));
    const QString path = QDir(options.dataDir).filePath(QStringLiteral("demo-shop.sqlite"));
    if (!QFile::exists(path)) {
        const QString part = path + QStringLiteral(".part");
        for (const QString& stale :
             {part, part + QStringLiteral("-wal"), part + QStringLiteral("-shm"),
              part + QStringLiteral("-journal")})
            QFile::remove(stale);
        {
            ShopDb fresh(part);
            seed(fresh, options, now);
        }
        if (!QFile::rename(part, path))
            throw TraderError(QStringLiteral("cannot rename %1 to %2").arg(part, path));
    }
    auto db = std::make_unique<ShopDb>(path);
    if (!db->hasTables())
        throw TraderError(QStringLiteral("%1 holds no demonstration shop").arg(path));
    return db;
}

} // namespace

int main(int argc, char** argv)
{
    // Before any thread starts, so the stop signals reach only the thread that waits for them.
    Platform::blockStopSignals();

    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    DemoOptions options;
    QString error;
    if (!options.parse(arguments, &error)) {
        std::fprintf(stderr, "demo-shop: %s\n\n%s", error.toLocal8Bit().constData(),
                     DemoOptions::helpText().toLocal8Bit().constData());
        return 2;
    }
    if (options.help) {
        std::fputs(DemoOptions::helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }

    try {
        const QDateTime now = QDateTime::currentDateTime();
        const std::unique_ptr<ShopDb> db = openShop(options, now);
        if (options.touchOrders > 0)
            ShopSeeder::touchOrders(*db, options.touchOrders, now,
                                    quint64(now.toMSecsSinceEpoch()));

        ShopService service(*db, {options.login, options.password, options.transferLimit});
        ShopServer server(service, options.faults, options.delayMs);
        const int port = server.bind(options.port);
        if (port < 0)
            throw TraderError(QStringLiteral("cannot listen on 127.0.0.1:%1").arg(options.port));
        std::printf("demo-shop listening on http://127.0.0.1:%d\n", port);
        std::fflush(stdout);

        std::atomic<bool> signalled = false;
        std::thread waiter([&] {
            Platform::waitForStopSignal();
            signalled = true;
            server.stop();
        });
        server.run();
        // The server ended on its own: wake the waiter so it can be joined.
        if (!signalled)
            Platform::raiseStopSignal();
        waiter.join();
    } catch (const TraderError& failure) {
        std::fprintf(stderr, "demo-shop: %s\n", failure.message().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}

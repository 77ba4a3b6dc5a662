// A first refresh of a realistic shop (100 000 goods, 20 000 orders) from the demonstration
// shop, beside the raw cost of storing the same orders with prepared statements.
#include "DemoShopProcess.h"
#include "FastestRuns.h"
#include "HeadlessSync.h"
#include "PasswordStore.h"
#include "ProcessMemory.h"
#include "Sql.h"
#include "TerminalPrompter.h"

#include <QCoreApplication>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

// The demonstration shop of a realistic size, started once for the whole run.
const DemoShopProcess& shop()
{
    static DemoShopProcess instance;
    static const bool started = instance.start(
        {QStringLiteral("--goods"), QStringLiteral("100000"), QStringLiteral("--orders"),
         QStringLiteral("20000"), QStringLiteral("--transfer-limit"), QStringLiteral("1000")});
    Q_UNUSED(started);
    return instance;
}

// A first refresh into an empty program folder.
void refresh(const QString& folderPath)
{
    FILE* quiet = std::fopen("/dev/null", "w");
    TerminalPrompter prompter(true, false, quiet);
    const PasswordStore passwords(folderPath + QStringLiteral("/passwords.ini"));
    HeadlessSync sync{AppFolder(folderPath), prompter, passwords};
    sync.connection().shopUrl = shop().url();
    sync.orders().ARefreshData();
    std::fclose(quiet);
}

// The folder of the last timed refresh, which the baseline reads its rows from.
std::unique_ptr<QTemporaryDir>& lastRefreshed()
{
    static std::unique_ptr<QTemporaryDir> folder;
    return folder;
}

const QTemporaryDir& refreshedFolder()
{
    if (!lastRefreshed()) {
        lastRefreshed() = std::make_unique<QTemporaryDir>();
        refresh(lastRefreshed()->path());
    }
    return *lastRefreshed();
}

void BM_RefreshFromDemoShop_Orders20k(benchmark::State& state)
{
    if (shop().url().isEmpty()) {
        state.SkipWithError("the demonstration shop did not start");
        return;
    }
    for (auto _ : state) {
        auto folder = std::make_unique<QTemporaryDir>();
        refresh(folder->path());
        lastRefreshed() = std::move(folder);
    }
}

void BM_Baseline_SqliteInsert_Orders20k(benchmark::State& state)
{
    // The rows a refresh stored, read back once.
    TDMMain source{AppFolder(refreshedFolder().path())};
    source.AConnectDB();
    const QStringList tables = {QStringLiteral("archive_order"), QStringLiteral("archive_basket"),
                                QStringLiteral("archive_client_field")};
    QList<RowSet> rows;
    for (const QString& table : tables) {
        rows << Sql::rows(source.database(), QStringLiteral("SELECT * FROM ") + table);
    }
    for (auto _ : state) {
        QTemporaryDir folder;
        TDMMain target{AppFolder(folder.path())};
        target.AConnectDB();
        const QSqlDatabase db = target.database();
        Transaction transaction(db);
        for (int t = 0; t < tables.size(); ++t) {
            QStringList marks;
            for (int i = 0; i < rows[t].fields.size(); ++i)
                marks << QStringLiteral("?");
            QSqlQuery insert = Sql::prepare(db, QStringLiteral("INSERT INTO %1 VALUES (%2)")
                                                    .arg(tables[t], marks.join(QLatin1Char(','))));
            for (const QVariantList& row : rows[t].rows) {
                for (const QVariant& value : row)
                    insert.addBindValue(value);
                Sql::exec(insert);
            }
        }
        transaction.commit();
    }
    state.counters["orders"] = double(rows[0].rows.size());
    state.counters["lines"] = double(rows[1].rows.size());
    state.counters["fields"] = double(rows[2].rows.size());
}

} // namespace

// "Time" is the wall clock, the server's work and the network included; "CPU" is this
// process alone, the trader's own work.
BENCHMARK(BM_RefreshFromDemoShop_Orders20k)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_Baseline_SqliteInsert_Orders20k)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

namespace {

// After the table, the one figure that matters: the trader's own processor time against the
// baseline's, the fastest repetition of each.
class RatioReporter : public FastestRuns {
public:
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const double refresh = fastestCpu("BM_RefreshFromDemoShop_Orders20k");
        const double baseline = fastestCpu("BM_Baseline_SqliteInsert_Orders20k");
        if (refresh > 0 && baseline > 0)
            std::printf("\nfirst refresh %.0f ms CPU / baseline %.0f ms CPU = %.2f (target: at "
                        "most 3.00)\n",
                        refresh, baseline, refresh / baseline);
    }
};

} // namespace

int main(int argc, char** argv)
{
    ProcessMemory::keepFreedBlocks(); // as the programs do
    QCoreApplication app(argc, argv);
    // The machine's speed drifts over the minutes a run takes: the repetitions of the two
    // benchmarks take turns, so that the fastest of each saw the same machine.
    std::vector<char*> args(argv, argv + argc + 1); // with the closing null
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    RatioReporter reporter;
    return runBenchmarks(argc + 1, args.data(), reporter);
}

// The reference download's heaviest page: 100 000 goods as one windows-1251 XML answer,
// appended to an empty "store" table. Measured beside what it cannot be faster than: the
// XML parser reading the same text, and SQLite inserting the same rows with one prepared
// statement in one transaction.

#include "AppFolder.h"
#include "Cp1251.h"
#include "ProcessMemory.h"
#include "Schema.h"
#include "Sql.h"
#include "TDMMain.h"
#include "XmlRecords.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include "FastestRuns.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int RowCount = 100000;

const Schema::Table& storeTable()
{
    const Schema::Table* table = Schema::find(u"store");
    if (!table) {
        std::fprintf(stderr, "no store table in the schema\n");
        std::abort();
    }
    return *table;
}

// One filled value of every column of a goods row, as the shop's script writes them.
std::string columnText(const Schema::Field& field, int i)
{
    const std::string name = field.name;
    const std::string n = std::to_string(i);
    if (name == "id")
        return std::to_string(i + 1);
    if (name == "code")
        return "ТВ-" + std::to_string(100000 + i);
    if (name == "meas")
        return "шт.";
    if (name == "name")
        return "Чайник электрический «Витязь» ВТ-" + n + ", 1,7 л, нержавеющая сталь";
    if (name == "descr")
        return "Корпус из нержавеющей стали, скрытый нагревательный элемент мощностью 2200 Вт, "
               "автоматическое отключение при закипании и при снятии с подставки, фильтр от "
               "накипи, индикатор уровня воды. Гарантия производителя 12 месяцев. Артикул " +
               n + ".";
    if (name == "seo_title")
        return "Купить чайник «Витязь» ВТ-" + n + " недорого";
    if (name == "seo_descr")
        return "Электрический чайник «Витязь» ВТ-" + n + " с доставкой по России";
    if (name == "seo_keywords")
        return "чайник, электрический чайник, Витязь, ВТ-" + n;
    if (name == "seo_link" || name == "seo_psu")
        return "chaynik-vityaz-vt-" + n;
    if (name == "seo_alt")
        return "Чайник «Витязь» ВТ-" + n;
    switch (field.type) {
    case Schema::FieldType::Decimal:
        return std::to_string(100 + i % 9000) + "." + std::to_string(10 + i % 90);
    case Schema::FieldType::Logical:
        return i % 7 == 0 ? "0" : "1";
    case Schema::FieldType::Short:
        return std::to_string(i % 300);
    default:
        return std::to_string(1 + i % 5000);
    }
}

// The answer as it lies in memory once unpacked: windows-1251 bytes.
const QByteArray& answerText()
{
    static const QByteArray text = [] {
        pugi::xml_document document;
        pugi::xml_node part = document.append_child("TABLE_DATA").append_child("PART");
        for (int i = 0; i < RowCount; ++i) {
            pugi::xml_node row = part.append_child("store");
            for (const Schema::Field& field : storeTable().fields)
                row.append_attribute(field.name).set_value(columnText(field, i).c_str());
        }
        return Cp1251::encode(XmlRecords::documentText(document));
    }();
    return text;
}

// The same rows as the store keeps them, ready to bind.
struct Value {
    enum class Kind { Integer, Real, Text } kind;
    sqlite3_int64 integer = 0;
    double real = 0;
    std::string text;
};

const std::vector<std::vector<Value>>& storeRows()
{
    static const std::vector<std::vector<Value>> rows = [] {
        std::vector<std::vector<Value>> all(RowCount);
        for (int i = 0; i < RowCount; ++i)
            for (const Schema::Field& field : storeTable().fields) {
                const std::string text = columnText(field, i);
                switch (field.type) {
                case Schema::FieldType::Decimal:
                    all[size_t(i)].push_back({Value::Kind::Real, 0, std::stod(text), {}});
                    break;
                case Schema::FieldType::Short:
                case Schema::FieldType::Long:
                case Schema::FieldType::Logical:
                    all[size_t(i)].push_back({Value::Kind::Integer, std::stoll(text), 0, {}});
                    break;
                default:
                    all[size_t(i)].push_back({Value::Kind::Text, 0, 0, text});
                }
            }
        return all;
    }();
    return rows;
}

void check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::abort();
    }
}

void BM_XmlToRows_Store100k(benchmark::State& state)
{
    const QByteArray& bytes = answerText();
    QTemporaryDir dir;
    TDMMain store{AppFolder(dir.path())};
    store.AConnectDB();
    const QSqlDatabase db = store.database();
    for (auto _ : state) {
        state.PauseTiming();
        Sql::exec(db, QStringLiteral("DELETE FROM store"));
        Sql::exec(db, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        state.ResumeTiming();

        // What a download does with an unpacked answer.
        pugi::xml_document document;
        XmlRecords::loadAnswer(document, QByteArrayView(bytes));
        const int appended = XmlRecords::XmlToRows(document.document_element().child("PART"), db,
                                                   QStringLiteral("store"));
        if (appended != RowCount)
            state.SkipWithError("not every record was appended");
    }
    state.SetItemsProcessed(state.iterations() * RowCount);
}

void BM_Baseline_ParseXml_Store100k(benchmark::State& state)
{
    const QByteArray& bytes = answerText();
    for (auto _ : state) {
        pugi::xml_document document;
        const pugi::xml_parse_result result =
            document.load_buffer(bytes.constData(), size_t(bytes.size()));
        if (!result)
            state.SkipWithError(result.description());
        benchmark::DoNotOptimize(document.first_child());
    }
    state.SetItemsProcessed(state.iterations() * RowCount);
}

void BM_Baseline_SqliteInsert_Store100k(benchmark::State& state)
{
    const auto& rows = storeRows();
    const Schema::Table& table = storeTable();
    QTemporaryDir dir;
    const QByteArray path = dir.filePath(QStringLiteral("baseline.sqlite")).toUtf8();
    sqlite3* db = nullptr;
    check(sqlite3_open(path.constData(), &db), db);
    const auto run = [db](const QString& sql) {
        check(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), db);
    };
    // The store's own settings and the table with its indexes.
    run(QStringLiteral("PRAGMA journal_mode = WAL"));
    run(QStringLiteral("PRAGMA synchronous = FULL"));
    run(Schema::createTableSql(table));
    for (const QString& statement : Schema::createIndexSql(table))
        run(statement);
    std::string insert = "INSERT INTO store VALUES (";
    for (size_t i = 0; i < table.fields.size(); ++i)
        insert += i == 0 ? "?" : ",?";
    insert += ")";

    for (auto _ : state) {
        state.PauseTiming();
        run(QStringLiteral("DELETE FROM store"));
        run(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        state.ResumeTiming();

        sqlite3_stmt* statement = nullptr;
        run(QStringLiteral("BEGIN"));
        check(sqlite3_prepare_v2(db, insert.c_str(), -1, &statement, nullptr), db);
        for (const std::vector<Value>& row : rows) {
            for (size_t c = 0; c < row.size(); ++c) {
                const Value& v = row[c];
                const int at = int(c) + 1;
                if (v.kind == Value::Kind::Integer)
                    sqlite3_bind_int64(statement, at, v.integer);
                else if (v.kind == Value::Kind::Real)
                    sqlite3_bind_double(statement, at, v.real);
                else
                    sqlite3_bind_text(statement, at, v.text.c_str(), int(v.text.size()),
                                      SQLITE_STATIC);
            }
            check(sqlite3_step(statement), db);
            sqlite3_reset(statement);
        }
        sqlite3_finalize(statement);
        run(QStringLiteral("COMMIT"));
    }
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * RowCount);
}

} // namespace

BENCHMARK(BM_XmlToRows_Store100k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_ParseXml_Store100k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_SqliteInsert_Store100k)->Unit(benchmark::kMillisecond);

namespace {

// After the table, the one figure that matters: the append against its baselines.
class RatioReporter : public FastestRuns {
public:
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto of = [this](const char* name) { return fastest(name); };
        const double append = of("BM_XmlToRows_Store100k");
        const double baselines =
            of("BM_Baseline_ParseXml_Store100k") + of("BM_Baseline_SqliteInsert_Store100k");
        if (append > 0 && baselines > 0)
            std::printf("\nXmlToRows %.0f ms / (parse + insert) %.0f ms = %.2f (target: at most "
                        "1.50)\n",
                        append, baselines, append / baselines);
    }
};

} // namespace

// The store reaches SQLite through Qt's driver plugin, which needs an application object.
int main(int argc, char** argv)
{
    ProcessMemory::keepFreedBlocks(); // as the programs do
    QCoreApplication app(argc, argv);
    RatioReporter reporter;
    return runBenchmarks(argc, argv, reporter);
}

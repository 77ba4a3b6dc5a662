// The order desk on a large archive (100 000 orders, 1 000 000 goods lines): opening the
// archive tab, moving the cursor, marking all, sorting and filtering, beside a bare SQLite
// read of the same order columns into memory in the same process.
#include "DataGrid.h"
#include "GridFooter.h"
#include "OrderCommandRules.h"
#include "OrderDesk.h"
#include "ProcessMemory.h"
#include "Prompter.h"
#include "TDMMain.h"
#include "TFFormDesign.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>

#include "FastestRuns.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <variant>
#include <vector>

namespace {

constexpr int OrderCount = 100000;
constexpr int LineCount = 1000000;
// The filter text: codes run "Д-000001" … "Д-100000", so this leaves one order in a hundred.
const char* const FilterText = "Д-012";

const QString& ordersSql()
{
    static const QString sql =
        QStringLiteral("SELECT archive_order.*, archive_order.id AS order_id FROM archive_order "
                       "ORDER BY date_time DESC");
    return sql;
}

// ---------------------------------------------------------------------------------------
// The store generator

void check(int rc, sqlite3* db, const char* what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "desk_bench: %s: %s\n", what, sqlite3_errmsg(db));
        std::exit(2);
    }
}

class Insert {
public:
    Insert(sqlite3* db, const char* sql)
        : m_db(db)
    {
        check(sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr), db, sql);
    }
    ~Insert() { sqlite3_finalize(m_stmt); }
    Insert(const Insert&) = delete;
    Insert& operator=(const Insert&) = delete;

    template <typename... Values> void operator()(const Values&... values)
    {
        int index = 0;
        (bind(++index, values), ...);
        check(sqlite3_step(m_stmt), m_db, "insert");
        sqlite3_reset(m_stmt);
    }

private:
    void bind(int i, int v) { sqlite3_bind_int64(m_stmt, i, v); }
    void bind(int i, sqlite3_int64 v) { sqlite3_bind_int64(m_stmt, i, v); }
    void bind(int i, double v) { sqlite3_bind_double(m_stmt, i, v); }
    // Empty means NULL in the store.
    void bind(int i, const std::string& v)
    {
        if (v.empty())
            sqlite3_bind_null(m_stmt, i);
        else
            sqlite3_bind_text(m_stmt, i, v.data(), int(v.size()), SQLITE_TRANSIENT);
    }
    void bind(int i, const char* v) { sqlite3_bind_text(m_stmt, i, v, -1, SQLITE_TRANSIENT); }

    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

template <typename... Args> std::string format(const char* pattern, Args... args)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, pattern, args...);
    return buffer;
}

// Money is drawn in kopecks and stored with two decimals, as the shop sends it.
double rub(sqlite3_int64 kopecks)
{
    return double(kopecks) / 100.0;
}

std::string timestamp(std::int64_t secondsSinceStart)
{
    // A year from 2025-12-01; days of the months walked by hand so the store needs no clock.
    static const int monthDays[] = {31, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int year = 2025, month = 12, day = 1;
    std::int64_t days = secondsSinceStart / 86400;
    const std::int64_t rest = secondsSinceStart % 86400;
    int m = 0;
    while (days >= monthDays[m]) {
        days -= monthDays[m++];
        if (++month > 12) {
            month = 1;
            ++year;
        }
    }
    day += int(days);
    return format("%04d-%02d-%02d %02d:%02d:%02d", year, month, day, int(rest / 3600),
                  int(rest / 60 % 60), int(rest % 60));
}

template <size_t N> const char* pick(std::mt19937& random, const char* const (&list)[N])
{
    return list[std::uniform_int_distribution<size_t>(0, N - 1)(random)];
}

void fillStore(sqlite3* db)
{
    static const char* const goods[] = {"Чайник электрический",  "Кружка керамическая",
                                        "Сковорода чугунная",    "Набор ножей",
                                        "Полотенце махровое",    "Плед шерстяной",
                                        "Светильник настольный", "Термос стальной",
                                        "Доска разделочная",     "Кастрюля эмалированная",
                                        "Блокнот в клетку",      "Ручка шариковая",
                                        "Рюкзак городской",      "Зонт складной",
                                        "Перчатки кожаные",      "Шарф вязаный"};
    static const char* const colours[] = {"красный", "синий", "зелёный", "чёрный",
                                          "белый",   "серый", "бежевый"};
    static const char* const measures[] = {"шт.", "шт.", "шт.", "уп.", "компл."};
    static const char* const deliveries[] = {"Курьером по городу", "Почта России",
                                             "Самовывоз со склада", "Транспортная компания"};
    static const char* const services[] = {"Подарочная упаковка", "Сборка на месте",
                                           "Страхование груза", "Без дополнительных услуг"};
    static const char* const payments[] = {"Наличными курьеру", "Банковской картой",
                                           "Безналичный расчёт", "Электронные деньги"};
    static const char* const managers[] = {"Ольга Смирнова", "Дмитрий Кузнецов", "Елена Попова",
                                           "Андрей Волков",  "Наталья Соколова", "Сергей Морозов"};
    static const char* const notices[] = {
        "Позвонить за час до доставки", "Домофон не работает, звонить на мобильный",
        "Доставка после 18:00", "Оставить у консьержа", "Нужен чек и гарантийный талон"};
    static const char* const insideNotes[] = {"Клиент постоянный", "Проверить оплату",
                                              "Уточнить наличие на складе",
                                              "Отправить вместе со следующим заказом"};
    static const char* const surnames[] = {"Иванов",  "Петров",  "Сидоров",  "Козлов",
                                           "Новиков", "Фёдоров", "Михайлов", "Беляев"};
    static const char* const names[] = {"Алексей", "Мария",    "Иван",    "Татьяна",
                                        "Павел",   "Светлана", "Николай", "Анна"};
    static const char* const towns[] = {"Москва",       "Санкт-Петербург", "Казань", "Самара",
                                        "Екатеринбург", "Новосибирск",     "Тверь"};
    static const char* const streets[] = {"ул. Ленина", "пр. Мира", "ул. Садовая", "ул. Гагарина",
                                          "наб. Речная"};

    std::mt19937 random(20261211);
    const auto between = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };

    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
    Insert order(db,
                 "INSERT INTO archive_order (id, sid, code, client_id, manager_id, partner_id, "
                 "status, status_was, disc_sum, cond_name, cond_cost, deliv_name, deliv_cost, "
                 "payment_name, payment_cost, payment_curr, payment_id, itogo_sum, total_sum, "
                 "get_payment, payment_was, date_time, notice, partner_sum, partner_login, "
                 "manager_name, deliv_id, cond_code, inside_note, send_note, send_email, "
                 "update_time) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                 "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    Insert line(db, "INSERT INTO archive_basket (id, order_id, store_id, code, meas, name, "
                    "param_name, param_personal, param_value_id, price, new_price, status, how, "
                    "part_proc, part_value, modify_code, prov_price, provider_id, tax, "
                    "inside_disc) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                    "?, ?)");
    Insert field(db, "INSERT INTO archive_client_field (order_id, field_id, name, tab_name, "
                     "tlevel, absindex, isfolder, value_text) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");

    // Lines per order: 1 to 19, then evened out so that the total is exactly LineCount.
    std::vector<int> lines(OrderCount);
    sqlite3_int64 placed = 0;
    for (int& count : lines)
        placed += count = between(1, 19);
    for (int i = 0; placed != LineCount; i = (i + 1) % OrderCount) {
        if (placed < LineCount && lines[i] < 19) {
            ++lines[i];
            ++placed;
        } else if (placed > LineCount && lines[i] > 1) {
            --lines[i];
            --placed;
        }
    }

    sqlite3_int64 lineId = 0;
    for (int id = 1; id <= OrderCount; ++id) {
        sqlite3_int64 itogo = 0;
        sqlite3_int64 partnerPart = 0;
        for (int n = 0; n < lines[id - 1]; ++n) {
            const int storeId = between(1, 100000);
            const sqlite3_int64 price = sqlite3_int64(between(50, 6000)) * 100 + between(0, 99);
            const int discount = between(0, 3) == 0 ? between(5, 20) : 0;
            const sqlite3_int64 newPrice = price * (100 - discount) / 100;
            const int how = between(1, 3);
            static const int rare[] = {1, 2, 3, 10};
            const int status = between(0, 20) < 17 ? 0 : rare[between(0, 3)];
            const int partPercent = between(0, 4) == 0 ? 5 : 0;
            const sqlite3_int64 part = newPrice * partPercent / 100;
            itogo += newPrice * how;
            partnerPart += part * how;
            line(++lineId, id, storeId, format("Т-%05d", storeId), pick(random, measures),
                 std::string(pick(random, goods)) + format(" №%d", storeId % 500),
                 std::string("Цвет: ") + pick(random, colours), 0, between(1, 3000), rub(price),
                 rub(newPrice), status, how, double(partPercent), rub(part),
                 format("М-%04d", between(1, 9999)), rub(price * 7 / 10), between(1, 40), 20.0,
                 rub(price - newPrice));
        }
        const int status = between(0, 5);
        const int payment = between(1, 2);
        const sqlite3_int64 disc = between(0, 4) == 0 ? itogo / 20 : 0;
        const sqlite3_int64 deliv = sqlite3_int64(between(0, 6)) * 5000;
        const sqlite3_int64 cond = between(0, 3) == 0 ? sqlite3_int64(between(1, 10)) * 1000 : 0;
        const sqlite3_int64 paymentCost = between(0, 5) == 0 ? 9900 : 0;
        const int partner = between(0, 3) == 0 ? between(1, 100) : 0;
        const std::int64_t moment = std::int64_t(between(0, 364)) * 86400 + between(0, 86399);
        const int manager = between(0, 5);
        order(id,
              format("%08x%08x%08x%08x", unsigned(random()), unsigned(random()), unsigned(random()),
                     unsigned(id)),
              format("Д-%06d", id), between(1, 30000), manager + 1, partner, status, status,
              rub(disc), pick(random, services), rub(cond), pick(random, deliveries), rub(deliv),
              pick(random, payments), rub(paymentCost), "руб.", between(1, 4), rub(itogo),
              rub(itogo - disc + deliv + cond + paymentCost), payment, payment, timestamp(moment),
              pick(random, notices), rub(partner ? partnerPart : 0),
              partner ? format("partner%03d", partner) : std::string(), managers[manager],
              between(1, 4), format("У-%d", between(1, 4)), pick(random, insideNotes),
              "Заказ передан в службу доставки", between(0, 1), timestamp(moment + 3600));

        const int fieldCount = between(6, 10);
        const char* surname = pick(random, surnames);
        const char* name = pick(random, names);
        const std::string values[] = {
            "",
            surname,
            name,
            format("+7 (9%02d) %03d-%02d-%02d", between(0, 99), between(0, 999), between(0, 99),
                   between(0, 99)),
            format("client%d@example.ru", id),
            pick(random, towns),
            format("%s, д. %d, кв. %d", pick(random, streets), between(1, 120), between(1, 300)),
            format("%06d", between(100000, 699999)),
            "Юридическое лицо",
            "Через терминал"};
        static const char* const tabs[] = {"Контактные данные",
                                           "Фамилия",
                                           "Имя",
                                           "Телефон",
                                           "E-mail",
                                           "Город",
                                           "Адрес",
                                           "Индекс",
                                           "Тип покупателя",
                                           "Способ связи"};
        for (int f = 0; f < fieldCount; ++f)
            field(id, f + 1, format("field_%d", f + 1), tabs[f], f == 0 ? 0 : 1, f + 1,
                  f == 0 ? 1 : 0, values[f]);
    }
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
}

// The store is built once per size and kept under /tmp; a half-built one is never used.
QString storeFolder()
{
    const QString path = QDir::temp().filePath(
        QStringLiteral("dunvik-desk-store-%1-%2").arg(OrderCount).arg(LineCount));
    if (QFile::exists(QDir(path).filePath(QStringLiteral("complete"))))
        return path;
    QDir(path).removeRecursively();
    std::fprintf(stderr, "desk_bench: generating the store in %s …\n", qPrintable(path));
    {
        TDMMain dm{AppFolder(path)};
        dm.AConnectDB();
    }
    sqlite3* db = nullptr;
    const QByteArray file = QDir(QDir(path).filePath(QStringLiteral("Tables")))
                                .filePath(TDMMain::databaseFileName())
                                .toUtf8();
    check(sqlite3_open(file.constData(), &db), db, "open");
    check(sqlite3_exec(db, "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr), db, "pragma");
    fillStore(db);
    check(sqlite3_exec(db, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr), db,
          "checkpoint");
    sqlite3_close(db);
    QFile marker(QDir(path).filePath(QStringLiteral("complete")));
    marker.open(QIODevice::WriteOnly);
    return path;
}

// ---------------------------------------------------------------------------------------
// The desk as the main window holds it

// Any message the desk shows is a fault here: it is printed and fails the benchmark.
class CountingPrompter : public Prompter {
public:
    Answer show(const QString& caption, const QString& text, Icon, Buttons) override
    {
        std::fprintf(stderr, "desk_bench: message \"%s\": %s\n", qPrintable(caption),
                     qPrintable(text));
        ++shown;
        return Answer::Ok;
    }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    void openUrl(const QUrl&) override {}
    int shown = 0;
};

// Counts the paints of a widget, so a benchmark can tell that its screen was really drawn.
class PaintCounter : public QObject {
public:
    using QObject::QObject;
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The order commands the desk enables and locks.
const QStringList& orderCommands()
{
    return OrderCommandRules::lockedDuringExchange();
}

struct Desk {
    Desk()
        : dm(AppFolder(storeFolder()))
    {
        dm.AConnectDB();
        QList<QAction*> actions;
        for (const QString& name : orderCommands()) {
            auto* action = new QAction(name, &window);
            action->setObjectName(name);
            actions << action;
        }
        auto* designer = new TFFormDesign(&window);
        const QSet<QString> built(orderCommands().begin(), orderCommands().end());
        desk = new OrderDesk(dm, prompter, actions, built, *designer, &window);
        window.resize(1280, 960);
        desk->resize(1280, 960);
        window.show();
        orders()->view()->setFocus();
        footer = orders()->findChild<GridFooter*>();
        if (footer)
            footer->installEventFilter(&footerPaints);
        // The start sequence opens the archive once (it warms the file cache too); then an
        // almost empty tab, so that a benchmark opens the archive itself.
        desk->openLists();
        showScreen();
        desk->setCurrentTab(3);
        showScreen();
    }

    DataGrid* orders() const { return desk->DBOrders(); }

    // What the event loop does after a command: pending layouts, then the paint of whatever
    // the command invalidated.
    void showScreen()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(orders()->view(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(orders()->view(), &release);
    }

    QLineEdit* filterOf(const QString& field) const
    {
        const QList<QLineEdit*> edits =
            orders()->view()->horizontalHeader()->findChildren<QLineEdit*>();
        return edits.value(orders()->columnOf(field));
    }

    // The archive tab open, nothing marked, no filter, the cursor on the first row.
    void openArchive()
    {
        if (desk->currentTab() != 0)
            desk->setCurrentTab(0);
        if (QLineEdit* edit = filterOf(QStringLiteral("code")); edit && !edit->text().isEmpty())
            edit->clear();
        key(Qt::Key_Escape);
        orders()->setCurrentRow(0);
        showScreen();
    }

    TDMMain dm;
    CountingPrompter prompter;
    QWidget window;
    OrderDesk* desk = nullptr;
    GridFooter* footer = nullptr;
    PaintCounter footerPaints;
};

std::unique_ptr<Desk> theDesk;

Desk& desk()
{
    if (!theDesk)
        theDesk = std::make_unique<Desk>();
    return *theDesk;
}

double statusKb(const char* name)
{
    FILE* file = std::fopen("/proc/self/status", "r");
    if (!file)
        return 0;
    char text[256];
    double kb = 0;
    const size_t length = std::strlen(name);
    while (std::fgets(text, sizeof text, file))
        if (std::strncmp(text, name, length) == 0 && text[length] == ':')
            kb = std::atof(text + length + 1);
    std::fclose(file);
    return kb;
}

void report(benchmark::State& state, const Desk* d)
{
    state.counters["peak_rss_MB"] = statusKb("VmHWM") / 1024.0;
    state.counters["rss_MB"] = statusKb("VmRSS") / 1024.0;
    if (!d)
        return;
    state.counters["rows"] = d->orders()->rowCount();
    state.counters["goods"] = d->desk->DBGoods()->rowCount();
    if (d->prompter.shown > 0)
        state.SkipWithError("the desk showed a message");
}

// ---------------------------------------------------------------------------------------
// The benchmarks

using Value = std::variant<std::monostate, sqlite3_int64, double, std::string>;

void BM_BaselineReadOrders(benchmark::State& state)
{
    const QByteArray file =
        QDir(AppFolder(storeFolder()).tablesPath()).filePath(TDMMain::databaseFileName()).toUtf8();
    sqlite3* db = nullptr;
    check(sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READONLY, nullptr), db, "open");
    const QByteArray sql = ordersSql().toUtf8();
    size_t rows = 0;
    for (auto _ : state) {
        std::vector<std::vector<Value>> table;
        sqlite3_stmt* stmt = nullptr;
        check(sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr), db, "prepare");
        const int columns = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            std::vector<Value>& row = table.emplace_back(size_t(columns));
            for (int c = 0; c < columns; ++c) {
                switch (sqlite3_column_type(stmt, c)) {
                case SQLITE_INTEGER:
                    row[c] = sqlite3_column_int64(stmt, c);
                    break;
                case SQLITE_FLOAT:
                    row[c] = sqlite3_column_double(stmt, c);
                    break;
                case SQLITE_TEXT:
                    row[c] =
                        std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                    size_t(sqlite3_column_bytes(stmt, c)));
                    break;
                default:
                    break;
                }
            }
        }
        sqlite3_finalize(stmt);
        rows = table.size();
        benchmark::DoNotOptimize(table.data());
    }
    sqlite3_close(db);
    report(state, nullptr);
    state.counters["rows"] = double(rows);
}

// Apply tab 0 from the almost empty drafts tab and draw the first screen, footers included.
void BM_DeskOpenArchive(benchmark::State& state)
{
    Desk& d = desk();
    int paints = 0;
    for (auto _ : state) {
        state.PauseTiming();
        d.desk->setCurrentTab(3);
        d.showScreen();
        const int before = d.footerPaints.paints;
        state.ResumeTiming();
        d.desk->setCurrentTab(0);
        d.showScreen();
        state.PauseTiming();
        paints += d.footerPaints.paints - before;
        state.ResumeTiming();
    }
    report(state, &d);
    state.counters["footer_paints"] = double(paints) / double(state.iterations());
    const DataGrid* orders = d.orders();
    std::fprintf(stderr, "desk_bench: footers \"%s\", \"%s\", \"%s\"\n",
                 qPrintable(orders->footerText(orders->columnOf(QStringLiteral("date_time")))),
                 qPrintable(orders->footerText(orders->columnOf(QStringLiteral("code")))),
                 qPrintable(orders->footerText(orders->columnOf(QStringLiteral("total_sum")))));
}

// One row down with the Down key; the goods and registration fields follow.
void BM_DeskMoveCursor(benchmark::State& state)
{
    Desk& d = desk();
    d.openArchive();
    for (auto _ : state) {
        d.key(Qt::Key_Down);
        d.showScreen();
    }
    report(state, &d);
    state.counters["current"] = d.orders()->currentRow();
}

// Ctrl+A marks every order.
void BM_DeskSelectAll(benchmark::State& state)
{
    Desk& d = desk();
    for (auto _ : state) {
        state.PauseTiming();
        d.openArchive();
        state.ResumeTiming();
        d.key(Qt::Key_A, Qt::ControlModifier);
        d.showScreen();
    }
    report(state, &d);
    state.counters["marked"] = d.orders()->markedCount();
    d.key(Qt::Key_Escape);
}

// A filter-row text in "Код" that leaves one order in a hundred, entered at once as a paste
// does; each typed key costs one such pass.
void BM_DeskFilter(benchmark::State& state)
{
    Desk& d = desk();
    QLineEdit* edit = d.filterOf(QStringLiteral("code"));
    if (!edit) {
        state.SkipWithError("no filter-row editor for \"code\"");
        return;
    }
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        d.openArchive();
        state.ResumeTiming();
        edit->setText(QString::fromUtf8(FilterText));
        d.showScreen();
        state.PauseTiming();
        rows = d.orders()->rowCount();
        state.ResumeTiming();
    }
    report(state, &d);
    state.counters["rows"] = rows;
    edit->clear();
    d.showScreen();
}

// The reload after a download, with the archive on the screen in date order: the old rows
// are still held while the new ones are read, so this is where the resident size peaks.
void BM_DeskRefreshArchive(benchmark::State& state)
{
    Desk& d = desk();
    d.openArchive();
    for (auto _ : state) {
        d.desk->AOrdersRefresh();
        d.showScreen();
    }
    report(state, &d);
}

// A click on the title "Всего": ascending, then descending on the next click, and so on.
void BM_DeskSortByTotal(benchmark::State& state)
{
    Desk& d = desk();
    d.openArchive();
    QHeaderView* header = d.orders()->view()->horizontalHeader();
    const int column = d.orders()->columnOf(QStringLiteral("total_sum"));
    for (auto _ : state) {
        emit header->sectionClicked(column);
        d.showScreen();
    }
    report(state, &d);
}

} // namespace

BENCHMARK(BM_BaselineReadOrders)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DeskOpenArchive)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DeskMoveCursor)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_DeskSelectAll)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DeskFilter)->Unit(benchmark::kMillisecond)->Iterations(3);
// Before the sort: a sorted grid stays sorted, and a refresh would sort again.
BENCHMARK(BM_DeskRefreshArchive)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_DeskSortByTotal)->Unit(benchmark::kMillisecond)->Iterations(4);

namespace {

// After the table, each desk benchmark against the baseline, and the peak resident size of
// the whole run.
class RatioReporter : public FastestRuns {
public:
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto baseline = all().find("BM_BaselineReadOrders");
        if (baseline == all().end() || baseline->second <= 0)
            return;
        std::printf("\nAgainst BM_BaselineReadOrders (%.1f ms), target at most 2.00:\n",
                    baseline->second);
        for (const auto& [name, ms] : all())
            if (name != baseline->first)
                std::printf("  %-22s %9.1f ms  %6.2f\n", name.c_str(), ms, ms / baseline->second);
        std::printf("Peak resident size: %.0f MB (target: under 400 MB)\n",
                    statusKb("VmHWM") / 1024.0);
    }
};

} // namespace

int main(int argc, char** argv)
{
    ProcessMemory::keepFreedBlocks(); // as the programs do
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    RatioReporter reporter;
    const int code = runBenchmarks(argc, argv, reporter);
    theDesk.reset();
    return code;
}

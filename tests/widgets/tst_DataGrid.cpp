#include "DataGrid.h"
#include "GridFormat.h"
#include "LayoutStorage.h"
#include "TFFormDesign.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

RowSet goods(const QList<QVariantList>& rows)
{
    RowSet set;
    set.fields = {QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("price"),
                  QStringLiteral("how"), QStringLiteral("status")};
    set.rows = rows;
    return set;
}

QIcon picture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::red);
    return QIcon(pixmap);
}

void typeText(QWidget* target, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
    }
}

// One key event as the keyboard sends it, without the modifier presses QTest adds.
void sendKey(QWidget* target, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent event(type, key, modifiers);
    QApplication::sendEvent(target, &event);
}

RowSet sample()
{
    return goods({{1, QStringLiteral("Чайник"), 1500.5, 2, 0},
                  {2, QStringLiteral("Кофеварка"), 3200.0, 1, 2},
                  {3, QStringLiteral("чашка"), 99.99, 6, 10},
                  {4, QStringLiteral("Блюдце"), 45.0, 6, 1}});
}

QList<GridColumn> columns()
{
    GridColumn status;
    status.field = QStringLiteral("status");
    status.title = QStringLiteral("Статус");
    status.kind = GridColumn::Kind::Picture;
    status.pictures = {picture(4), picture(5)};
    status.pictureIndex = [](const QVariant& v) { return v.toInt() == 2 ? 1 : 0; };
    status.visibilityFixed = true;
    status.sortable = false;
    GridColumn name;
    name.field = QStringLiteral("name");
    name.title = QStringLiteral("Наименование");
    name.footer = GridColumn::Footer::Count;
    name.footerFormat = QStringLiteral("Всего товаров: ###");
    GridColumn price;
    price.field = QStringLiteral("price");
    price.title = QStringLiteral("Цена|Базовая");
    price.kind = GridColumn::Kind::Money;
    price.footer = GridColumn::Footer::Sum;
    GridColumn how;
    how.field = QStringLiteral("how");
    how.title = QStringLiteral("Цена|Кол-во");
    how.kind = GridColumn::Kind::Number;
    how.editable = true;
    how.pickList = {QStringLiteral("1"), QStringLiteral("2")};
    how.footer = GridColumn::Footer::Sum;
    how.footerFormat = QStringLiteral("###");
    GridColumn id;
    id.field = QStringLiteral("id");
    id.title = QStringLiteral("ID");
    id.footer = GridColumn::Footer::CurrentValue;
    id.footerFormat = QStringLiteral("ID: ###");
    return {status, name, price, how, id};
}

QStringList names(const DataGrid& grid)
{
    QStringList list;
    for (int row = 0; row < grid.rowCount(); ++row)
        list << grid.value(row, QStringLiteral("name")).toString();
    return list;
}

} // namespace

class TestDataGrid : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void formats_data();
    void formats();
    void modelPassesTheTester();
    void marksSurviveRefreshAndSort();
    void footers();
    void filterRowIsCaseInsensitive();
    void sortingByTitle();
    void cellsShowStylesPicturesAndEdits();
    void incrementalSearch();
    void keysAndNavigationSignals();
    void layoutRoundTrip();
    void designer();

private:
    std::unique_ptr<DataGrid> m_grid;
};

void TestDataGrid::init()
{
    QLocale::setDefault(QLocale::c());
    m_grid = std::make_unique<DataGrid>();
    m_grid->setObjectName(QStringLiteral("DBGoods"));
    m_grid->setColumns(columns());
    m_grid->setMultiSelect(true);
    m_grid->setFooterVisible(true);
    m_grid->setFilterRowVisible(true);
    m_grid->setFrozenColumns(1);
    m_grid->setIncrementalSearch(true);
    m_grid->resize(700, 300);
    m_grid->setRows(sample(), QStringLiteral("id"));
    m_grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
}

void TestDataGrid::cleanup()
{
    m_grid.reset();
}

void TestDataGrid::formats_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("money grouped") << "###,###,###,##0.00" << 1234567.895 << "1,234,567.90";
    QTest::newRow("money small") << "###,###,###,##0.00" << 0.5 << "0.50";
    QTest::newRow("money negative") << "###,###,###,##0.00" << -1234.5 << "-1,234.50";
    QTest::newRow("percent") << "##0.00 %" << 12.5 << "12.50 %";
    QTest::newRow("count") << "Число заказов: ###" << 17.0 << "Число заказов: 17";
    QTest::newRow("count zero") << "Число заказов: ###" << 0.0 << "Число заказов: 0";
    QTest::newRow("id") << "ID: ###" << 1024.0 << "ID: 1024";
    QTest::newRow("no pattern") << "текст" << 3.0 << "текст";
}

void TestDataGrid::formats()
{
    QFETCH(QString, pattern);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(GridFormat::number(pattern, value), expected);

    GridColumn moment;
    moment.kind = GridColumn::Kind::DateTime;
    moment.displayFormat = QStringLiteral("dd.MM.yyyy hh:mm");
    QCOMPARE(GridFormat::cell(moment, QStringLiteral("2026-12-01 09:05:33")),
             QStringLiteral("01.12.2026 09:05"));
    GridColumn words;
    words.valueTexts = {{0, QStringLiteral("На складе")}, {10, QStringLiteral("Подарок")}};
    QCOMPARE(GridFormat::cell(words, 10), QStringLiteral("Подарок"));
    QCOMPARE(GridFormat::cell(words, 7), QStringLiteral("7"));
}

void TestDataGrid::modelPassesTheTester()
{
    GridModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setColumns(columns());
    model.setRows(sample(), QStringLiteral("id"));
    model.setRows(RowSet(), QString());
}

void TestDataGrid::marksSurviveRefreshAndSort()
{
    m_grid->setMarked(1, true);
    m_grid->setMarked(3, true);
    QCOMPARE(m_grid->markedKeys(), QStringList({QStringLiteral("2"), QStringLiteral("4")}));
    m_grid->setCurrentRow(2);

    // The same rows in another order: marks and the current row follow their keys.
    RowSet reordered = sample();
    std::reverse(reordered.rows.begin(), reordered.rows.end());
    m_grid->setRows(reordered, QStringLiteral("id"));
    QCOMPARE(m_grid->markedCount(), 2);
    QCOMPARE(m_grid->currentKey(), QStringLiteral("3"));
    QVERIFY(m_grid->isMarked(2)); // key 2 now third

    m_grid->view()->horizontalHeader()->sectionClicked(1);
    QCOMPARE(m_grid->currentKey(), QStringLiteral("3"));
    QCOMPARE(m_grid->markedCount(), 2);

    // Rows that went away take their marks with them.
    m_grid->setRows(goods({{1, QStringLiteral("Чайник"), 1.0, 1, 0}}), QStringLiteral("id"));
    QCOMPARE(m_grid->markedCount(), 0);
    QCOMPARE(m_grid->currentRow(), 0);
}

void TestDataGrid::footers()
{
    QCOMPARE(m_grid->footerText(1), QStringLiteral("Всего товаров: 4"));
    QCOMPARE(m_grid->footerText(2), QStringLiteral("4,845.49"));
    m_grid->setCurrentRow(1);
    QCOMPARE(m_grid->footerText(4), QStringLiteral("ID: 2"));
    QCOMPARE(m_grid->footerText(0), QString());
    m_grid->clearRows();
    QCOMPARE(m_grid->footerText(1), QStringLiteral("Всего товаров: 0"));
    QCOMPARE(m_grid->footerText(4), QString());
}

void TestDataGrid::filterRowIsCaseInsensitive()
{
    QList<QLineEdit*> edits = m_grid->view()->horizontalHeader()->findChildren<QLineEdit*>();
    QCOMPARE(edits.size(), 5);
    QVERIFY(!edits[0]->isEnabled() || columns()[0].filterable);
    edits[1]->setText(QStringLiteral("ЧА"));
    QCOMPARE(names(*m_grid), QStringList({QStringLiteral("Чайник"), QStringLiteral("чашка")}));
    QCOMPARE(m_grid->footerText(1), QStringLiteral("Всего товаров: 2"));
    QCOMPARE(m_grid->footerText(2), QStringLiteral("1,600.49"));
    edits[1]->clear();
    QCOMPARE(m_grid->rowCount(), 4);
}

void TestDataGrid::sortingByTitle()
{
    QHeaderView* header = m_grid->view()->horizontalHeader();
    emit header->sectionClicked(2);
    QCOMPARE(names(*m_grid), QStringList({QStringLiteral("Блюдце"), QStringLiteral("чашка"),
                                          QStringLiteral("Чайник"), QStringLiteral("Кофеварка")}));
    QVERIFY(header->isSortIndicatorShown());
    emit header->sectionClicked(2);
    QCOMPARE(names(*m_grid).first(), QStringLiteral("Кофеварка"));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    // A title that does not sort leaves the order alone.
    emit header->sectionClicked(0);
    QCOMPARE(names(*m_grid).first(), QStringLiteral("Кофеварка"));
    QCOMPARE(header->sortIndicatorSection(), 2);
}

void TestDataGrid::cellsShowStylesPicturesAndEdits()
{
    m_grid->setRowStyler([](const GridModel& model, int row) {
        RowStyle style;
        if (model.value(row, QStringLiteral("status")).toInt() == 2)
            style.text = QColor(152, 152, 0);
        style.bold = model.value(row, QStringLiteral("how")).toInt() == 6;
        return style;
    });
    QAbstractItemModel* model = m_grid->view()->model();
    QCOMPARE(model->index(1, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(152, 152, 0));
    QVERIFY(!model->index(0, 1).data(Qt::ForegroundRole).isValid());
    QVERIFY(model->index(2, 1).data(Qt::FontRole).value<QFont>().bold());
    QCOMPARE(model->index(1, 0).data(Qt::DecorationRole).value<QIcon>().availableSizes(),
             columns()[0].pictures[1].availableSizes());
    QCOMPARE(model->index(0, 2).data().toString(), QStringLiteral("1,500.50"));

    QVERIFY(model->flags(model->index(0, 3)) & Qt::ItemIsEditable);
    QVERIFY(!(model->flags(model->index(0, 1)) & Qt::ItemIsEditable));
    QVERIFY(model->setData(model->index(0, 3), 5, Qt::EditRole));
    QCOMPARE(m_grid->value(0, QStringLiteral("how")).toInt(), 5);
    // An edited quantity reaches the footer's sum.
    QCOMPARE(m_grid->footerText(3), QStringLiteral("18"));
    QVERIFY(model->setData(model->index(1, 3), 4, Qt::EditRole));
    QCOMPARE(m_grid->footerText(3), QStringLiteral("21"));
}

void TestDataGrid::incrementalSearch()
{
    m_grid->setCurrentRow(0);
    m_grid->view()->setCurrentIndex(m_grid->view()->model()->index(0, 1));
    typeText(m_grid->view(), QStringLiteral("бл"));
    QCOMPARE(m_grid->currentKey(), QStringLiteral("4"));
}

void TestDataGrid::keysAndNavigationSignals()
{
    QSignalSpy started(m_grid.get(), &DataGrid::navigationStarted);
    QSignalSpy finished(m_grid.get(), &DataGrid::navigationFinished);
    QSignalSpy activated(m_grid.get(), &DataGrid::activated);
    m_grid->setCurrentRow(0);
    QWidget* view = m_grid->view();
    sendKey(view, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    for (int i = 0; i < 3; ++i) {
        sendKey(view, QEvent::KeyPress, Qt::Key_Down, Qt::ShiftModifier);
        sendKey(view, QEvent::KeyRelease, Qt::Key_Down, Qt::ShiftModifier);
    }
    QCOMPARE(started.size(), 1);
    QCOMPARE(finished.size(), 0);
    sendKey(view, QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(m_grid->markedCount(), 3);
    QCOMPARE(m_grid->currentRow(), 3);

    QTest::keyClick(m_grid->view(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(m_grid->markedCount(), 4);
    QTest::keyClick(m_grid->view(), Qt::Key_Escape);
    QCOMPARE(m_grid->markedCount(), 0);
    QCOMPARE(started.size(), 3);
    QCOMPARE(finished.size(), 3);
    QTest::keyClick(m_grid->view(), Qt::Key_Return);
    QCOMPARE(activated.size(), 1);
}

void TestDataGrid::layoutRoundTrip()
{
    QTemporaryDir dir;
    const LayoutStorage storage(dir.filePath(QStringLiteral("FormDesign.ini")));
    QWidget window;
    window.setObjectName(QStringLiteral("TFTest"));
    m_grid->setParent(&window);
    m_grid->setColumnHidden(2, true);
    m_grid->moveColumn(4, 1);
    m_grid->view()->horizontalHeader()->resizeSection(1, 177);
    storage.save(&window);
    m_grid->setParent(nullptr);

    DataGrid fresh(&window);
    fresh.setObjectName(QStringLiteral("DBGoods"));
    fresh.setColumns(columns());
    fresh.setFrozenColumns(1);
    storage.load(&window);
    QVERIFY(fresh.isColumnHidden(2));
    QCOMPARE(fresh.columnsInViewOrder(), QList<int>({0, 4, 1, 2, 3}));
    QCOMPARE(fresh.view()->horizontalHeader()->sectionSize(1), 177);

    // The column that stands first is the frozen one.
    QVERIFY(fresh.isFrozenColumn(0));
    fresh.moveColumn(3, 0);
    QCOMPARE(fresh.columnsInViewOrder().first(), 3);
    QVERIFY(fresh.isFrozenColumn(3));
    QVERIFY(!fresh.isFrozenColumn(0));
}

void TestDataGrid::designer()
{
    TFFormDesign dialog(nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Дизайнер таблицы"));
    m_grid->setColumnHidden(3, true);
    dialog.fill(m_grid.get());
    QListWidget* list = dialog.list();
    QCOMPARE(list->count(), 5);
    QCOMPARE(list->item(2)->text(), QStringLiteral("Цена | Базовая"));
    QCOMPARE(list->item(3)->checkState(), Qt::Unchecked);
    // The fixed picture column cannot be switched.
    QVERIFY(!(list->item(0)->flags() & Qt::ItemIsUserCheckable));
    list->item(0)->setCheckState(Qt::Unchecked);
    list->item(1)->setCheckState(Qt::Unchecked);
    list->item(3)->setCheckState(Qt::Checked);
    dialog.apply(m_grid.get());
    QVERIFY(!m_grid->isColumnHidden(0));
    QVERIFY(m_grid->isColumnHidden(1));
    QVERIFY(!m_grid->isColumnHidden(3));
}

QTEST_MAIN(TestDataGrid)
#include "tst_DataGrid.moc"

#include "OrderDesk.h"

#include "CommandGuard.h"
#include "DataGrid.h"
#include "OrderCommandRules.h"
#include "OrderDeskColumns.h"
#include "TFFormDesign.h"
#include "TraderIcons.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

DataGrid* makeGrid(const QString& name, const QList<GridColumn>& columns, QWidget* parent)
{
    auto* grid = new DataGrid(parent);
    grid->setObjectName(name);
    grid->setColumns(columns);
    return grid;
}

QWidget* captioned(const QString& caption, QWidget* content, QWidget* parent)
{
    auto* panel = new QWidget(parent);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* label = new QLabel(caption, panel);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    layout->addWidget(label);
    layout->addWidget(content, 1);
    return panel;
}

QSplitter* splitter(Qt::Orientation orientation, const QString& name, QWidget* parent)
{
    auto* s = new QSplitter(orientation, parent);
    s->setObjectName(name);
    s->setChildrenCollapsible(false);
    return s;
}

} // namespace

OrderDesk::OrderDesk(const TDMMain& dm, Prompter& prompter, const QList<QAction*>& commands,
                     const QSet<QString>& builtCommands, TFFormDesign& designer, QWidget* parent)
    : QWidget(parent)
    , m_data(dm)
    , m_prompter(prompter)
    , m_built(builtCommands)
    , m_designer(designer)
    , TCOrders(new QTabBar(this))
    , m_orders(makeGrid(QStringLiteral("DBOrders"), OrderDeskColumns::orders(), this))
    , m_goods(makeGrid(QStringLiteral("DBGoods"), OrderDeskColumns::goods(), this))
    , m_client(makeGrid(QStringLiteral("DBClient"), OrderDeskColumns::clientFields(), this))
    , m_notice(new QPlainTextEdit(this))
    , m_insideNote(new QPlainTextEdit(this))
    , BInsideNoteSave(new QToolButton(this))
    , m_designOrder(new QAction(QStringLiteral("Видимость столбцов"), this))
    , m_designGoods(new QAction(QStringLiteral("Видимость столбцов"), this))
{
    setObjectName(QStringLiteral("OrderDesk"));
    for (QAction* action : commands) {
        m_commands.insert(action->objectName(), action);
        if (!m_built.contains(action->objectName()))
            action->setEnabled(false);
    }
    m_designOrder->setObjectName(QStringLiteral("AFormDesignOrder"));
    m_designGoods->setObjectName(QStringLiteral("AFormDesignGoods"));

    TCOrders->setObjectName(QStringLiteral("TCOrders"));
    for (const char* caption : {"Оформленные заказы", "Заказы на отправку",
                                "Предварительные заказы", "Черновики заказов"})
        TCOrders->addTab(QString::fromUtf8(caption));

    m_orders->setMultiSelect(true);
    m_orders->setFrozenColumns(2);
    m_orders->setFooterVisible(true);
    m_orders->setFilterRowVisible(true);
    m_goods->setFrozenColumns(1);
    m_goods->setFooterVisible(true);
    m_goods->setIncrementalSearch(true);
    m_goods->setRowStyler(&OrderDeskColumns::goodsStyle);
    m_client->setIncrementalSearch(true);
    m_client->setFitColumnsToWidth(true);
    m_client->setColumnsMovable(false);
    m_client->setRowStyler(&OrderDeskColumns::clientFieldStyle);
    for (const QString& field : OrderDeskColumns::orderMoneyFields())
        m_titleHints.insert(QStringLiteral("o:") + field,
                            m_orders->columns()[m_orders->columnOf(field)].title);
    for (const QString& field : OrderDeskColumns::goodsMoneyFields())
        m_titleHints.insert(QStringLiteral("g:") + field,
                            m_goods->columns()[m_goods->columnOf(field)].title);

    for (QPlainTextEdit* note : {m_notice, m_insideNote}) {
        note->setReadOnly(true);
        note->setMinimumHeight(40);
    }
    m_notice->setObjectName(QStringLiteral("MNotice"));
    m_insideNote->setObjectName(QStringLiteral("MInsideNote"));
    BInsideNoteSave->setObjectName(QStringLiteral("BInsideNoteSave"));
    BInsideNoteSave->setToolTip(QStringLiteral("Редактировать примечание"));
    BInsideNoteSave->setIcon(TraderIcons::action(QStringLiteral("ACopyOrder")));
    BInsideNoteSave->setAutoRaise(true);
    BInsideNoteSave->setEnabled(false);
    m_notesBuilt = m_built.contains(QStringLiteral("BInsideNoteSave"));

    QSplitter* goodsSplit = splitter(Qt::Vertical, QStringLiteral("SplitterGoods"), this);
    goodsSplit->addWidget(captioned(QStringLiteral("Список товаров"), m_goods, goodsSplit));
    QWidget* insidePanel = buildNotePanel(QStringLiteral("Внутреннее примечание к заказу"),
                                          m_insideNote, BInsideNoteSave);
    goodsSplit->addWidget(insidePanel);
    goodsSplit->setStretchFactor(0, 1);
    goodsSplit->setStretchFactor(1, 0);
    goodsSplit->setSizes({300, 80});

    QSplitter* clientSplit = splitter(Qt::Vertical, QStringLiteral("SplitterClient"), this);
    clientSplit->addWidget(
        captioned(QStringLiteral("Информация о покупателе"), m_client, clientSplit));
    QWidget* noticePanel =
        buildNotePanel(QStringLiteral("Примечание покупателя к заказу"), m_notice, nullptr);
    clientSplit->addWidget(noticePanel);
    clientSplit->setStretchFactor(0, 1);
    clientSplit->setStretchFactor(1, 0);
    clientSplit->setSizes({300, 80});
    clientSplit->setMinimumWidth(300);

    QSplitter* detailSplit = splitter(Qt::Horizontal, QStringLiteral("SplitterDetails"), this);
    detailSplit->addWidget(goodsSplit);
    detailSplit->addWidget(clientSplit);
    detailSplit->setStretchFactor(0, 3);
    detailSplit->setStretchFactor(1, 1);
    detailSplit->setMinimumHeight(200);

    QSplitter* mainSplit = splitter(Qt::Vertical, QStringLiteral("SplitterOrders"), this);
    mainSplit->addWidget(m_orders);
    mainSplit->addWidget(detailSplit);
    mainSplit->setStretchFactor(0, 3);
    mainSplit->setStretchFactor(1, 2);
    mainSplit->setSizes({500, 330});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    layout->addWidget(TCOrders);
    layout->addWidget(mainSplit, 1);

    auto* ordersMenu = new QMenu(this);
    const auto addCommands = [this, ordersMenu](std::initializer_list<const char*> names) {
        for (const char* name : names)
            if (QAction* action = command(QLatin1String(name)))
                ordersMenu->addAction(action);
        ordersMenu->addSeparator();
    };
    addCommands({"ANewOrder", "ACopyOrder", "ANewCopyOrder", "ASetStatusDel"});
    addCommands({"ASetStatusAccept", "ASetStatusDelivery", "ASetStatusExecuted", "ASetStatusNil"});
    addCommands({"ASetPaymentAccept", "ASetPaymentNil"});
    addCommands({"AResetStatus", "AResetStatusAll"});
    addCommands({"AReportOrderSys", "AOrderDublicate", "AInvoiceOrder"});
    ordersMenu->addAction(m_designOrder);
    auto* goodsMenu = new QMenu(this);
    goodsMenu->addAction(m_designGoods);
    for (auto [grid, menu] : {std::pair{m_orders, ordersMenu}, std::pair{m_goods, goodsMenu}}) {
        grid->view()->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(grid->view(), &QWidget::customContextMenuRequested, menu,
                [grid = grid, menu = menu](const QPoint& at) {
                    menu->popup(grid->view()->viewport()->mapToGlobal(at));
                });
    }
    connect(m_designOrder, &QAction::triggered, this, [this] { m_designer.editColumns(m_orders); });
    connect(m_designGoods, &QAction::triggered, this, [this] { m_designer.editColumns(m_goods); });

    connect(TCOrders, &QTabBar::currentChanged, this, [this] {
        if (m_open)
            TCOrdersChange();
    });
    connect(m_orders, &DataGrid::navigationStarted, this, &OrderDesk::detach);
    connect(m_orders, &DataGrid::navigationFinished, this, &OrderDesk::attach);
    connect(m_orders, &DataGrid::currentRowChanged, this, [this] {
        if (m_detached || m_refilling)
            return;
        loadDetails();
        ARefreshButton();
    });
    connect(m_orders, &DataGrid::marksChanged, this, [this] {
        if (!m_detached && !m_refilling)
            ARefreshButton();
    });
    connect(m_orders, &DataGrid::activated, this, [this] {
        QAction* report = command(QStringLiteral("AReportOrderSys"));
        if (report && report->isEnabled())
            report->trigger();
    });
    connect(m_goods, &DataGrid::activated, this, [this] {
        QAction* edit = command(QStringLiteral("ACopyOrder"));
        if (m_orders->rowCount() > 0 && edit && edit->isEnabled())
            edit->trigger();
    });
}

QWidget* OrderDesk::buildNotePanel(const QString& caption, QPlainTextEdit* note,
                                   QToolButton* button)
{
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(2);
    auto* title = new QHBoxLayout;
    title->addWidget(new QLabel(caption, panel), 1);
    if (button)
        title->addWidget(button);
    layout->addLayout(title);
    layout->addWidget(note, 1);
    panel->setMinimumHeight(60);
    return panel;
}

QAction* OrderDesk::command(const QString& name) const
{
    return m_commands.value(name);
}

void OrderDesk::setCommand(const QString& name, bool enabled)
{
    if (QAction* action = command(name))
        action->setEnabled(enabled && m_built.contains(name));
}

int OrderDesk::currentTab() const
{
    return TCOrders->currentIndex();
}

void OrderDesk::setCurrentTab(int tab)
{
    TCOrders->setCurrentIndex(tab);
}

void OrderDesk::openLists()
{
    m_open = true;
    const QSignalBlocker block(TCOrders);
    TCOrders->setCurrentIndex(0);
    TCOrdersChange();
}

void OrderDesk::closeLists()
{
    m_open = false;
    m_orders->clearRows();
    m_goods->clearRows();
    m_client->clearRows();
}

void OrderDesk::TCOrdersChange()
{
    loadOrders();
    ARefreshButton();
}

void OrderDesk::loadOrders()
{
    const int tab = currentTab();
    runGuarded(m_prompter, [&] {
        const RowSet orders = m_data.orders(tab);
        // One detail load for the whole refill, not one per row change on the way.
        m_refilling = true;
        m_orders->setRows(orders, QStringLiteral("id"));
        m_refilling = false;
        loadDetails();
    });
}

void OrderDesk::AOrdersRefresh()
{
    setUpdatesEnabled(false);
    loadOrders();
    setUpdatesEnabled(true);
    ARefreshButton();
}

void OrderDesk::loadDetails()
{
    const QVariant id = m_orders->currentValue(QStringLiteral("id"));
    const int tab = currentTab();
    if (!id.isValid()) {
        m_goods->clearRows();
        m_client->clearRows();
    } else {
        runGuarded(m_prompter, [&] {
            m_goods->setRows(m_data.goods(tab, id), QStringLiteral("id"));
            m_client->setRows(m_data.clientFields(tab, id), QStringLiteral("field_id"));
        });
    }
    showNotes();
    emit detailsLoaded();
}

void OrderDesk::showNotes()
{
    m_notice->setPlainText(m_orders->currentValue(QStringLiteral("notice")).toString());
    m_insideNote->setPlainText(m_orders->currentValue(QStringLiteral("inside_note")).toString());
}

void OrderDesk::detach()
{
    m_detached = true;
    m_goods->clearRows();
    m_client->clearRows();
}

void OrderDesk::attach()
{
    m_detached = false;
    loadDetails();
    ARefreshButton();
}

void OrderDesk::ARefreshButton()
{
    if (!m_open)
        return;
    OrderCommandRules::DeskState state;
    state.tab = currentTab();
    state.rowCount = m_orders->rowCount();
    state.markedCount = m_orders->markedCount();
    state.currentStatusWas = m_orders->currentValue(QStringLiteral("status_was")).toInt();
    QHash<QString, bool> states = OrderCommandRules::refreshButtons(state);
    // On the draft tabs the upload sends drafts, which is work of its own.
    if (state.tab != 0 && !m_built.contains(QStringLiteral("ASendOrders")))
        states.insert(QStringLiteral("AArchiveUpdate"), false);
    BInsideNoteSave->setEnabled(m_notesBuilt && state.rowCount > 0);
    for (auto it = states.constBegin(); it != states.constEnd(); ++it)
        setCommand(it.key(), it.value());
}

QStringList OrderDesk::takeSelection()
{
    if (m_orders->markedCount() == 0 && m_orders->currentRow() >= 0)
        m_orders->setMarked(m_orders->currentRow(), true);
    return m_orders->markedKeys();
}

QVariant OrderDesk::currentOrderValue(const QString& field) const
{
    return m_orders->currentValue(field);
}

void OrderDesk::AButtonDisable()
{
    for (const QString& name : OrderCommandRules::lockedDuringExchange())
        setCommand(name, false);
}

void OrderDesk::AButtonEnabel()
{
    for (const QString& name : OrderCommandRules::unlockedAfterExchange())
        setCommand(name, true);
}

void OrderDesk::ACurrUpdate()
{
    m_baseCurrency.clear();
    runGuarded(m_prompter, [this] { m_baseCurrency = m_data.baseCurrencyName(); });
    const auto label = [this](DataGrid* grid, const QString& prefix, const QStringList& fields) {
        for (const QString& field : fields) {
            const QString hint = m_titleHints.value(prefix + field);
            grid->setColumnTitle(field, m_baseCurrency.isEmpty()
                                            ? hint
                                            : hint + QStringLiteral(", ") + m_baseCurrency);
        }
    };
    label(m_orders, QStringLiteral("o:"), OrderDeskColumns::orderMoneyFields());
    label(m_goods, QStringLiteral("g:"), OrderDeskColumns::goodsMoneyFields());
}

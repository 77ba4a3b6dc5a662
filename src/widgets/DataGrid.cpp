#include "DataGrid.h"

#include "Amount.h"
#include "GridDelegate.h"
#include "GridFooter.h"
#include "GridFormat.h"
#include "GridHeader.h"
#include "GridProxy.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

namespace {

void configureView(QTableView* view, GridHeader* header, GridDelegate* delegate)
{
    view->setHorizontalHeader(header);
    view->setItemDelegate(delegate);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::SelectedClicked);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view->setWordWrap(false);
    view->setTextElideMode(Qt::ElideRight);
    view->setSortingEnabled(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    header->setSortIndicatorShown(false);
}

} // namespace

DataGrid::DataGrid(QWidget* parent)
    : QWidget(parent)
    , m_model(new GridModel(this))
    , m_proxy(new GridProxy(this))
    , m_view(new QTableView(this))
    , m_frozen(new QTableView(m_view))
    , m_header(new GridHeader(m_model, m_proxy, m_view))
    , m_frozenHeader(new GridHeader(m_model, m_proxy, m_frozen))
    , m_footer(new GridFooter(this))
{
    m_proxy->setSourceModel(m_model);
    auto* delegate = new GridDelegate(this);
    m_view->setModel(m_proxy);
    m_frozen->setModel(m_proxy);
    configureView(m_view, m_header, delegate);
    configureView(m_frozen, m_frozenHeader, delegate);
    m_frozen->setSelectionModel(m_view->selectionModel());
    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->setFrameShape(QFrame::NoFrame);
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setStyleSheet(QStringLiteral("QTableView { border-right: 1px solid palette(mid); }"));
    m_frozen->hide();
    m_frozenHeader->setSectionsMovable(false);
    m_header->setSectionsMovable(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view);
    layout->addWidget(m_footer);
    m_footer->hide();

    for (QTableView* view : {m_view, m_frozen}) {
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
    }

    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        m_view->viewport()->update();
        m_frozen->viewport()->update();
        m_footer->update();
        emit currentRowChanged();
    });
    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, m_frozen->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(m_frozen->verticalScrollBar(), &QScrollBar::valueChanged, m_view->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(m_view->horizontalScrollBar(), &QScrollBar::valueChanged, m_footer,
            qOverload<>(&QWidget::update));
    for (GridHeader* header : {m_header, m_frozenHeader})
        connect(header, &QHeaderView::sectionClicked, this, &DataGrid::sortBy);
    connect(m_header, &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (m_frozenColumns.contains(column) && m_frozenHeader->sectionSize(column) != size)
            m_frozenHeader->resizeSection(column, size);
        updateFrozenGeometry();
        m_footer->update();
    });
    connect(m_frozenHeader, &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        // Hiding a column in the overlay is no resize of the column itself.
        if (m_frozenColumns.contains(column) && !m_frozenHeader->isSectionHidden(column) &&
            m_header->sectionSize(column) != size)
            m_header->resizeSection(column, size);
    });
    // Whatever stands first is frozen, so a column dragged to the front stays in view.
    connect(m_header, &QHeaderView::sectionMoved, this, &DataGrid::syncFrozen);
    connect(m_proxy, &QAbstractItemModel::layoutChanged, m_footer, qOverload<>(&QWidget::update));
    connect(m_model, &QAbstractItemModel::dataChanged, this, &DataGrid::invalidateFooter);
    connect(m_proxy, &GridProxy::filterChanged, this, [this] {
        if (currentRow() < 0 && rowCount() > 0)
            setCurrentRow(0);
        invalidateFooter();
        emit rowsChanged();
    });
}

DataGrid::~DataGrid() = default;

void DataGrid::setColumns(const QList<GridColumn>& columns)
{
    m_model->setColumns(columns);
    for (int column = 0; column < columns.size(); ++column)
        m_header->resizeSection(column, columns[column].width);
    m_header->rebuildFilters();
    m_frozenHeader->rebuildFilters();
    invalidateFooter();
    syncFrozen();
}

void DataGrid::setColumnTitle(const QString& field, const QString& title)
{
    const int column = m_model->columnOf(field);
    if (column >= 0)
        m_model->setColumnTitle(column, title);
}

void DataGrid::setRows(const RowSet& rows, const QString& keyField)
{
    const QString current = currentKey();
    m_model->setRows(rows, keyField);
    if (m_header->isSortIndicatorShown())
        m_proxy->sort(m_header->sortIndicatorSection(), m_header->sortIndicatorOrder());
    pruneMarks();
    invalidateFooter();
    if ((current.isEmpty() || !locateKey(current)) && rowCount() > 0)
        setCurrentRow(0);
    if (m_fitColumns)
        m_header->resizeSections(QHeaderView::Stretch);
    emit rowsChanged();
    emit currentRowChanged();
}

void DataGrid::clearRows()
{
    setRows(RowSet(), QString());
}

void DataGrid::setRowStyler(GridModel::RowStyler styler)
{
    m_model->setRowStyler(std::move(styler));
}

void DataGrid::setFooterVisible(bool visible)
{
    m_footer->setVisible(visible);
}

void DataGrid::setFilterRowVisible(bool visible)
{
    m_header->setFilterRowVisible(visible);
    m_frozenHeader->setFilterRowVisible(visible);
    updateFrozenGeometry();
}

void DataGrid::setFrozenColumns(int count)
{
    m_frozenCount = count;
    syncFrozen();
}

void DataGrid::setColumnsMovable(bool movable)
{
    m_header->setSectionsMovable(movable);
}

void DataGrid::setFitColumnsToWidth(bool fit)
{
    m_fitColumns = fit;
    m_header->setSectionResizeMode(fit ? QHeaderView::Stretch : QHeaderView::Interactive);
}

void DataGrid::syncFrozen()
{
    m_frozenColumns.clear();
    m_frozen->setVisible(m_frozenCount > 0);
    if (m_frozenCount > 0) {
        m_frozenHeader->restoreState(m_header->saveState());
        for (int visual = 0; visual < m_header->count(); ++visual) {
            const int column = m_header->logicalIndex(visual);
            if (m_header->isSectionHidden(column))
                continue;
            if (m_frozenColumns.size() < m_frozenCount)
                m_frozenColumns.insert(column);
            else
                m_frozen->setColumnHidden(column, true);
        }
    }
    updateFrozenGeometry();
    m_footer->update();
}

void DataGrid::updateFrozenGeometry()
{
    if (m_frozenCount == 0)
        return;
    int width = 0;
    for (int column : m_frozenColumns)
        width += m_header->sectionSize(column);
    const int frame = m_view->frameWidth();
    m_frozen->setGeometry(frame, frame, width, m_view->viewport()->height() + m_header->height());
    m_frozen->raise();
}

void DataGrid::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    updateFrozenGeometry();
}

int DataGrid::rowCount() const
{
    return m_proxy->rowCount();
}

int DataGrid::currentRow() const
{
    const QModelIndex index = m_view->currentIndex();
    return index.isValid() ? index.row() : -1;
}

int DataGrid::firstVisibleColumn() const
{
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int logical = m_header->logicalIndex(visual);
        if (!m_header->isSectionHidden(logical))
            return logical;
    }
    return 0;
}

void DataGrid::setCurrentRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    const QModelIndex current = m_view->currentIndex();
    const int column = current.isValid() ? current.column() : firstVisibleColumn();
    const QModelIndex target = m_proxy->index(row, column);
    m_view->selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
    m_view->scrollTo(target);
}

QString DataGrid::rowKey(int row) const
{
    return m_model->key(m_proxy->mapToSource(m_proxy->index(row, 0)).row());
}

bool DataGrid::isMarked(int row) const
{
    return !m_marks.isEmpty() && m_marks.contains(rowKey(row));
}

void DataGrid::setMarked(int row, bool marked)
{
    if (row < 0 || row >= rowCount())
        return;
    const QString key = rowKey(row);
    if (m_marks.contains(key) == marked)
        return;
    if (marked)
        m_marks.insert(key);
    else
        m_marks.remove(key);
    marksTouched();
}

void DataGrid::marksTouched()
{
    if (m_markBatch > 0) {
        m_marksDirty = true;
        return;
    }
    m_view->viewport()->update();
    m_frozen->viewport()->update();
    emit marksChanged();
}

QStringList DataGrid::markedKeys() const
{
    QStringList keys;
    for (int row = 0; row < rowCount(); ++row)
        if (isMarked(row))
            keys << rowKey(row);
    return keys;
}

void DataGrid::pruneMarks()
{
    if (m_marks.isEmpty())
        return;
    QSet<QString> present;
    for (int row = 0; row < m_model->rowCount(); ++row)
        present.insert(m_model->key(row));
    const qsizetype before = m_marks.size();
    m_marks.intersect(present);
    if (m_marks.size() != before)
        emit marksChanged();
}

int DataGrid::visibleRowCount() const
{
    const int rowHeight = qMax(1, m_view->verticalHeader()->defaultSectionSize());
    return m_view->viewport()->height() / rowHeight + 1 + (m_footer->isVisible() ? 1 : 0);
}

QVariant DataGrid::value(int row, const QString& field) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return m_model->value(m_proxy->mapToSource(m_proxy->index(row, 0)).row(), field);
}

QString DataGrid::currentKey() const
{
    const int row = currentRow();
    return row < 0 ? QString() : rowKey(row);
}

bool DataGrid::locateKey(const QString& key)
{
    const int source = m_model->rowOfKey(key);
    if (source < 0)
        return false;
    const QModelIndex index = m_proxy->mapFromSource(m_model->index(source, 0));
    if (!index.isValid())
        return false;
    setCurrentRow(index.row());
    return true;
}

bool DataGrid::isColumnHidden(int column) const
{
    return m_header->isSectionHidden(column);
}

void DataGrid::setColumnHidden(int column, bool hidden)
{
    m_header->setSectionHidden(column, hidden);
    syncFrozen();
}

QList<int> DataGrid::columnsInViewOrder() const
{
    QList<int> order;
    for (int visual = 0; visual < m_header->count(); ++visual)
        order << m_header->logicalIndex(visual);
    return order;
}

void DataGrid::moveColumn(int column, int toPosition)
{
    m_header->moveSection(m_header->visualIndex(column), toPosition);
}

QByteArray DataGrid::saveLayout() const
{
    return m_header->saveState();
}

bool DataGrid::restoreLayout(const QByteArray& state)
{
    if (state.isEmpty() || !m_header->restoreState(state))
        return false;
    // What the design fixes wins over what the file says.
    for (int column = 0; column < m_model->columnCount(); ++column)
        if (m_model->columns()[column].visibilityFixed)
            m_header->setSectionHidden(column, false);
    m_header->setSortIndicatorShown(false);
    syncFrozen();
    return true;
}

QString DataGrid::footerText(int column) const
{
    const GridColumn& c = m_model->columns()[column];
    const auto pattern = [&c](const QString& fallback) {
        return c.footerFormat.isEmpty() ? fallback : c.footerFormat;
    };
    switch (c.footer) {
    case GridColumn::Footer::None:
        return {};
    case GridColumn::Footer::Count:
        if (!m_footerTotals.contains(column))
            m_footerTotals.insert(column,
                                  GridFormat::number(pattern(QStringLiteral("###")), rowCount()));
        return m_footerTotals.value(column);
    case GridColumn::Footer::CurrentValue: {
        const QVariant v = currentValue(c.footerField.isEmpty() ? c.field : c.footerField);
        if (currentRow() < 0)
            return {};
        if (c.footerFormat.isEmpty())
            return GridFormat::cell(c, v);
        return GridFormat::number(c.footerFormat, v);
    }
    case GridColumn::Footer::Sum: {
        const auto cached = m_footerTotals.constFind(column);
        if (cached != m_footerTotals.constEnd())
            return *cached;
        Amount sum;
        const int rows = rowCount();
        const bool all = rows == m_model->rowCount();
        for (int row = 0; row < rows; ++row) {
            const int source = all ? row : m_proxy->mapToSource(m_proxy->index(row, 0)).row();
            sum += Amount::fromDouble(m_model->raw(source, column).toDouble());
        }
        const QString text = c.footerFormat.isEmpty()
                                 ? GridFormat::cell(c, sum.toDouble())
                                 : GridFormat::number(c.footerFormat, sum.toDouble());
        m_footerTotals.insert(column, text);
        return text;
    }
    }
    return {};
}

void DataGrid::sortBy(int column)
{
    if (column < 0 || column >= m_model->columnCount() || !m_model->columns()[column].sortable)
        return;
    Qt::SortOrder order = Qt::AscendingOrder;
    if (m_header->isSortIndicatorShown() && m_header->sortIndicatorSection() == column &&
        m_header->sortIndicatorOrder() == Qt::AscendingOrder)
        order = Qt::DescendingOrder;
    const QString current = currentKey();
    for (GridHeader* header : {m_header, m_frozenHeader}) {
        header->setSortIndicatorShown(true);
        header->setSortIndicator(column, order);
    }
    m_proxy->sort(column, order);
    if (!current.isEmpty())
        locateKey(current);
    m_footer->update();
}

void DataGrid::beginNavigation(NavigationSource source)
{
    const bool idle = m_navigation == 0;
    m_navigation |= source;
    if (idle)
        emit navigationStarted();
}

void DataGrid::endNavigation(NavigationSource source)
{
    if (!(m_navigation & source))
        return;
    m_navigation &= ~source;
    if (m_navigation == 0)
        emit navigationFinished();
}

bool DataGrid::incrementalSearch(const QString& text)
{
    if (!m_searchClock.isValid() || m_searchClock.elapsed() > 1500)
        m_search.clear();
    m_searchClock.restart();
    m_search += text;
    const QModelIndex current = m_view->currentIndex();
    const int column = current.isValid() ? current.column() : firstVisibleColumn();
    for (int row = 0; row < rowCount(); ++row) {
        if (m_proxy->index(row, column)
                .data()
                .toString()
                .startsWith(m_search, Qt::CaseInsensitive)) {
            setCurrentRow(row);
            return true;
        }
    }
    return true;
}

void DataGrid::invalidateFooter()
{
    m_footerTotals.clear();
    m_footer->update();
}

bool DataGrid::handleKey(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (currentRow() >= 0)
            emit activated();
        return true;
    }
    if (key == Qt::Key_Shift) {
        if (!event->isAutoRepeat())
            beginNavigation(ShiftKey);
        return false;
    }
    if (key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta)
        return false;

    beginNavigation(Keys);
    bool consumed = false;
    if (m_multiSelect) {
        int remaining = key;
        ++m_markBatch;
        GridSelectionKeys(*this, event->modifiers(), remaining);
        --m_markBatch;
        if (std::exchange(m_marksDirty, false))
            marksTouched();
        consumed = remaining == 0 || remaining == Qt::Key_Space;
    }
    const QString text = event->text();
    if (!consumed && m_incrementalSearch && !text.isEmpty() && text.at(0).isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        consumed = incrementalSearch(text);
    endNavigation(Keys);
    return consumed;
}

bool DataGrid::eventFilter(QObject* watched, QEvent* event)
{
    const bool onView = watched == m_view || watched == m_frozen;
    const bool onViewport = watched == m_view->viewport() || watched == m_frozen->viewport();
    switch (event->type()) {
    case QEvent::KeyPress:
        if (onView)
            return handleKey(static_cast<QKeyEvent*>(event));
        break;
    case QEvent::KeyRelease:
        if (onView && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Shift &&
            !static_cast<QKeyEvent*>(event)->isAutoRepeat())
            endNavigation(ShiftKey);
        break;
    case QEvent::FocusOut:
        if (watched == m_view) {
            endNavigation(ShiftKey);
            endNavigation(Mouse);
        }
        break;
    case QEvent::MouseButtonPress:
        if (onViewport) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            auto* view = watched == m_view->viewport() ? m_view : m_frozen;
            const int row = view->indexAt(mouse->position().toPoint()).row();
            // Only the left button selects; the right one opens a menu that takes the release.
            if (mouse->button() != Qt::LeftButton)
                break;
            beginNavigation(Mouse);
            if (m_multiSelect && row >= 0) {
                if (mouse->modifiers() & Qt::ControlModifier) {
                    setMarked(row, !isMarked(row));
                } else if ((mouse->modifiers() & Qt::ShiftModifier) && currentRow() >= 0) {
                    const int from = qMin(row, currentRow());
                    const int to = qMax(row, currentRow());
                    ++m_markBatch;
                    for (int r = from; r <= to; ++r)
                        setMarked(r, true);
                    --m_markBatch;
                    if (std::exchange(m_marksDirty, false))
                        marksTouched();
                }
            }
            if (view == m_frozen)
                m_view->setFocus();
        }
        break;
    case QEvent::MouseButtonRelease:
        if (onViewport && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            endNavigation(Mouse);
        break;
    case QEvent::MouseButtonDblClick:
        if (onViewport) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            auto* view = watched == m_view->viewport() ? m_view : m_frozen;
            const QModelIndex index = view->indexAt(mouse->position().toPoint());
            if (index.isValid() && !(index.flags() & Qt::ItemIsEditable))
                emit activated();
        }
        break;
    case QEvent::Resize:
        if (watched == m_view->viewport())
            updateFrozenGeometry();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

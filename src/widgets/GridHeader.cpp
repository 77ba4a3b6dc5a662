#include "GridHeader.h"

#include "GridModel.h"
#include "GridProxy.h"

#include <QHelpEvent>
#include <QLineEdit>
#include <QPainter>
#include <QToolTip>

GridHeader::GridHeader(GridModel* model, GridProxy* proxy, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
    , m_model(model)
    , m_proxy(proxy)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
    setTextElideMode(Qt::ElideRight);
    connect(this, &QHeaderView::sectionResized, this, &GridHeader::placeFilters);
    connect(this, &QHeaderView::sectionMoved, this, &GridHeader::placeFilters);
    connect(this, &QHeaderView::geometriesChanged, this, &GridHeader::placeFilters);
    connect(m_proxy, &GridProxy::filterChanged, this, [this](int column, const QString& text) {
        if (column < m_filters.size() && m_filters[column]->text() != text)
            m_filters[column]->setText(text);
    });
}

void GridHeader::setFilterRowVisible(bool visible)
{
    m_filterRow = visible;
    rebuildFilters();
    updateGeometry();
}

void GridHeader::rebuildFilters()
{
    qDeleteAll(m_filters);
    m_filters.clear();
    if (m_filterRow) {
        for (int column = 0; column < m_model->columns().size(); ++column) {
            auto* edit = new QLineEdit(viewport());
            edit->setFrame(false);
            edit->setPlaceholderText(QStringLiteral("…"));
            edit->setEnabled(m_model->columns()[column].filterable);
            edit->setText(m_proxy->columnFilter(column));
            connect(edit, &QLineEdit::textChanged, this, [this, column](const QString& text) {
                m_proxy->setColumnFilter(column, text);
            });
            m_filters << edit;
        }
    }
    placeFilters();
}

int GridHeader::lineHeight() const
{
    return fontMetrics().height() + 8;
}

bool GridHeader::twoLevel() const
{
    for (const GridColumn& column : m_model->columns())
        if (column.isTwoLevel())
            return true;
    return false;
}

int GridHeader::titleHeight() const
{
    return lineHeight() * (twoLevel() ? 2 : 1);
}

QSize GridHeader::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    const int filter = m_filterRow ? fontMetrics().height() + 8 : 0;
    size.setHeight(titleHeight() + filter);
    return size;
}

void GridHeader::placeFilters()
{
    const int top = titleHeight();
    const int height = viewport()->height() - top;
    for (int column = 0; column < m_filters.size(); ++column) {
        QLineEdit* edit = m_filters[column];
        if (isSectionHidden(column) || height <= 0) {
            edit->hide();
            continue;
        }
        edit->setGeometry(sectionViewportPosition(column) + 1, top + 1, sectionSize(column) - 2,
                          height - 2);
        edit->show();
    }
}

void GridHeader::updateGeometries()
{
    QHeaderView::updateGeometries();
    placeFilters();
}

void GridHeader::resizeEvent(QResizeEvent* event)
{
    QHeaderView::resizeEvent(event);
    placeFilters();
}

void GridHeader::drawTitleCell(QPainter* painter, const QRect& rect, const QString& text,
                               const QIcon& picture, bool sortMarker) const
{
    // The style caches section pictures by size, and a zero-sized one cannot be painted.
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = 0;
    option.textAlignment = Qt::AlignCenter;
    option.position = QStyleOptionHeader::Middle;
    option.sortIndicator = QStyleOptionHeader::None;
    if (sortMarker)
        option.sortIndicator = sortIndicatorOrder() == Qt::AscendingOrder
                                   ? QStyleOptionHeader::SortDown
                                   : QStyleOptionHeader::SortUp;
    const int marker = sortMarker ? 14 : 0;
    if (!picture.isNull()) {
        option.icon = picture;
        option.iconAlignment = Qt::AlignCenter;
    } else {
        option.text = fontMetrics().elidedText(text, Qt::ElideRight, rect.width() - 8 - marker);
    }
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
}

void GridHeader::paintSection(QPainter* painter, const QRect& rect, int section) const
{
    if (section < 0 || section >= m_model->columns().size())
        return;
    const GridColumn& column = m_model->columns()[section];
    const bool sorted = isSortIndicatorShown() && sortIndicatorSection() == section;
    const QRect titleRect(rect.left(), rect.top(), rect.width(), titleHeight());
    painter->save();
    painter->setClipRect(titleRect);
    if (column.isTwoLevel()) {
        // The upper part spans the visible neighbours that share it.
        const QString upper = column.upperTitle();
        const auto shares = [&](int visual) {
            const int logical = logicalIndex(visual);
            return logical >= 0 && m_model->columns()[logical].isTwoLevel() &&
                   m_model->columns()[logical].upperTitle() == upper;
        };
        int first = visualIndex(section);
        int last = first;
        for (int v = first - 1; v >= 0 && (isSectionHidden(logicalIndex(v)) || shares(v)); --v)
            if (!isSectionHidden(logicalIndex(v)))
                first = v;
        for (int v = last + 1; v < count() && (isSectionHidden(logicalIndex(v)) || shares(v)); ++v)
            if (!isSectionHidden(logicalIndex(v)))
                last = v;
        const int left = sectionViewportPosition(logicalIndex(first));
        const int right =
            sectionViewportPosition(logicalIndex(last)) + sectionSize(logicalIndex(last));
        const int half = lineHeight();
        drawTitleCell(painter, QRect(left, rect.top(), right - left, half), upper, QIcon(), false);
        drawTitleCell(
            painter, QRect(rect.left(), rect.top() + half, rect.width(), titleRect.height() - half),
            column.lowerTitle(), QIcon(), sorted);
    } else {
        drawTitleCell(painter, titleRect, column.title, column.titlePicture, sorted);
    }
    painter->restore();
    if (m_filterRow) {
        const QRect filterRect(rect.left(), titleRect.bottom() + 1, rect.width(),
                               rect.height() - titleRect.height());
        painter->fillRect(filterRect, palette().base());
        painter->setPen(palette().mid().color());
        painter->drawRect(filterRect.adjusted(0, 0, -1, -1));
    }
}

bool GridHeader::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int logical = logicalIndexAt(help->pos());
        if (logical >= 0 && logical < m_model->columns().size() &&
            help->pos().y() < titleHeight()) {
            QString hint = m_model->columns()[logical].title;
            hint.replace(QLatin1Char('|'), QLatin1String(" | "));
            QToolTip::showText(help->globalPos(), hint, this);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QHeaderView::viewportEvent(event);
}

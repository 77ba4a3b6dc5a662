#include "GridFooter.h"

#include "DataGrid.h"
#include "GridHeader.h"

#include <QHeaderView>
#include <QPainter>
#include <QTableView>

GridFooter::GridFooter(DataGrid* grid)
    : QWidget(grid)
    , m_grid(grid)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize GridFooter::sizeHint() const
{
    return QSize(100, fontMetrics().height() + 8);
}

void GridFooter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().button());
    const QTableView* view = m_grid->m_view;
    const QHeaderView* header = view->horizontalHeader();
    const QHeaderView* frozenHeader = m_grid->m_frozen->horizontalHeader();
    const int origin = view->frameWidth();
    int frozenRight = origin;
    for (int column : m_grid->m_frozenColumns)
        frozenRight = qMax(frozenRight, origin + frozenHeader->sectionViewportPosition(column) +
                                            frozenHeader->sectionSize(column));
    const int columns = int(m_grid->columns().size());
    for (int column = 0; column < columns; ++column) {
        if (header->isSectionHidden(column))
            continue;
        const bool frozen = m_grid->isFrozenColumn(column);
        const int x = origin + (frozen ? frozenHeader->sectionViewportPosition(column)
                                       : header->sectionViewportPosition(column));
        const QRect cell(x, 0, header->sectionSize(column), height());
        painter.save();
        if (!frozen)
            painter.setClipRect(QRect(frozenRight, 0, width() - frozenRight, height()));
        painter.setPen(palette().mid().color());
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        const QString text = m_grid->footerText(column);
        if (!text.isEmpty()) {
            painter.setPen(palette().buttonText().color());
            const Qt::Alignment align =
                m_grid->columns()[column].alignment & Qt::AlignHorizontal_Mask;
            painter.drawText(cell.adjusted(4, 0, -4, 0), int(align | Qt::AlignVCenter),
                             fontMetrics().elidedText(text, Qt::ElideRight, cell.width() - 8));
        }
        painter.restore();
    }
}

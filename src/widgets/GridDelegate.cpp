#include "GridDelegate.h"

#include "DataGrid.h"

#include <QComboBox>
#include <QPainter>

GridDelegate::GridDelegate(DataGrid* grid)
    : QStyledItemDelegate(grid)
    , m_grid(grid)
{
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const
{
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const GridColumn& column = m_grid->columns()[index.column()];
    const bool marked = m_grid->isKeyMarked(index.data(GridModel::KeyRole).toString());
    const bool current = index.row() == m_grid->currentRow();
    item.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    if (marked)
        item.state |= QStyle::State_Selected | QStyle::State_Active;
    else if (current)
        item.backgroundBrush = QColor(0xdc, 0xe8, 0xf6);
    if (column.kind == GridColumn::Kind::Picture) {
        item.decorationAlignment = Qt::AlignCenter;
        item.decorationPosition = QStyleOptionViewItem::Top;
        item.decorationSize = QSize(16, 16);
        item.features &= ~QStyleOptionViewItem::HasDisplay;
        item.text.clear();
    }
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : nullptr;
    if (!style)
        return QStyledItemDelegate::paint(painter, option, index);
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    if (current) {
        painter->save();
        painter->setPen(QColor(0x1f, 0x6f, 0xb5));
        painter->drawLine(option.rect.topLeft(), option.rect.topRight());
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    const GridColumn& column = m_grid->columns()[index.column()];
    if (column.pickList.isEmpty())
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->addItems(column.pickList);
    return box;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        box->setCurrentText(index.data(Qt::EditRole).toString());
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const
{
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        model->setData(index, box->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

#pragma once

#include <QStyledItemDelegate>

class DataGrid;

// Draws a DataGrid's cells: marked rows highlighted, the current row tinted and framed,
// pictures centred; edits a column with a drop-down list in a combo box.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(DataGrid* grid);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    DataGrid* m_grid;
};

#pragma once

#include <QDialog>

class DataGrid;
class QListWidget;

// "Дизайнер таблицы": switches a grid's columns on and off. Columns whose visibility the
// design fixes are listed but cannot be switched.
class TFFormDesign : public QDialog {
    Q_OBJECT
public:
    explicit TFFormDesign(QWidget* owner);

    // Lists the grid's columns in their current order and shows the dialog; "Готово" applies
    // the check boxes. Returns whether it was applied.
    bool editColumns(DataGrid* grid);
    // The same without showing anything: the dialog as filled for the grid.
    void fill(const DataGrid* grid);
    void apply(DataGrid* grid) const;
    QListWidget* list() const { return m_list; }

private:
    QListWidget* m_list;
};

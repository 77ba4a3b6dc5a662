#pragma once

#include <QWidget>

class DataGrid;

// The footer row of a DataGrid: one cell under each column, aligned with the titles.
class GridFooter : public QWidget {
    Q_OBJECT
public:
    explicit GridFooter(DataGrid* grid);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    DataGrid* m_grid;
};

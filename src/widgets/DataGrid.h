#pragma once

#include "GridColumn.h"
#include "GridModel.h"
#include "GridSelectionKeys.h"
#include "RowSet.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QWidget>

class GridFooter;
class GridHeader;
class GridProxy;
class QTableView;

// The one grid of the program. It shows rows handed to it (it knows no SQL) with a current
// row and a set of marked rows kept by key, so marks survive a refresh and a re-sort; the
// selection keys; a footer; two-level titles; a filter row; sorting by a clicked title;
// frozen leading columns; per-row styles; pictures and check boxes; incremental search;
// editable cells with a drop-down list; and a layout that can be saved and restored.
// Rows are counted in the order the grid shows them.
class DataGrid : public QWidget, public SelectableRows {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const { return m_model->columns(); }
    int columnOf(const QString& field) const { return m_model->columnOf(field); }
    void setColumnTitle(const QString& field, const QString& title);

    // Keeps the current row and the marks on the same keys; the first row when the current
    // key is gone.
    void setRows(const RowSet& rows, const QString& keyField);
    void clearRows();
    void setRowStyler(GridModel::RowStyler styler);

    void setMultiSelect(bool on) { m_multiSelect = on; }
    void setFooterVisible(bool visible);
    void setFilterRowVisible(bool visible);
    void setFrozenColumns(int count);
    void setIncrementalSearch(bool on) { m_incrementalSearch = on; }
    void setColumnsMovable(bool movable);
    void setFitColumnsToWidth(bool fit);

    // SelectableRows
    int rowCount() const override;
    int currentRow() const override;
    void setCurrentRow(int row) override;
    bool isMarked(int row) const override;
    void setMarked(int row, bool marked) override;
    int visibleRowCount() const override;

    QVariant value(int row, const QString& field) const;
    QVariant currentValue(const QString& field) const { return value(currentRow(), field); }
    QString currentKey() const;
    bool locateKey(const QString& key);
    int markedCount() const { return int(m_marks.size()); }
    QStringList markedKeys() const;

    // The layout designer's view of the columns.
    bool isColumnHidden(int column) const;
    void setColumnHidden(int column, bool hidden);
    QList<int> columnsInViewOrder() const;
    void moveColumn(int column, int toPosition);

    QByteArray saveLayout() const;
    bool restoreLayout(const QByteArray& state);

    // The footer cell of a column as it is shown.
    QString footerText(int column) const;
    QTableView* view() const { return m_view; }
    bool isKeyMarked(const QString& key) const { return m_marks.contains(key); }
    bool isFrozenColumn(int column) const { return m_frozenColumns.contains(column); }

signals:
    void currentRowChanged();
    void marksChanged();
    void rowsChanged();
    // Enter, or a double click on a row.
    void activated();
    // A mouse button or a navigation key went down, or Shift is held; finished when it is
    // all released. Detail lists stay still meanwhile.
    void navigationStarted();
    void navigationFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    enum NavigationSource { Mouse = 1, Keys = 2, ShiftKey = 4 };
    void beginNavigation(NavigationSource source);
    void endNavigation(NavigationSource source);
    bool handleKey(QKeyEvent* event);
    bool incrementalSearch(const QString& text);
    void sortBy(int column);
    void syncFrozen();
    void updateFrozenGeometry();
    void pruneMarks();
    QString rowKey(int row) const;
    void marksTouched();
    void invalidateFooter();
    int firstVisibleColumn() const;

    GridModel* m_model;
    GridProxy* m_proxy;
    QTableView* m_view;
    QTableView* m_frozen;
    GridHeader* m_header;
    GridHeader* m_frozenHeader;
    GridFooter* m_footer;
    QSet<QString> m_marks;
    QSet<int> m_frozenColumns;
    // A key press may mark every row; the grid repaints and tells once, at its end.
    int m_markBatch = 0;
    bool m_marksDirty = false;
    // Sums and counts over all rows, kept until the rows or the filter change.
    mutable QHash<int, QString> m_footerTotals;
    int m_frozenCount = 0;
    int m_navigation = 0;
    bool m_multiSelect = false;
    bool m_incrementalSearch = false;
    bool m_fitColumns = false;
    QString m_search;
    QElapsedTimer m_searchClock;
    friend class GridFooter;
};

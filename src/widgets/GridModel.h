#pragma once

#include "GridColumn.h"
#include "RowSet.h"

#include <QAbstractTableModel>
#include <QColor>

#include <functional>

// How one row is drawn; an invalid colour keeps the grid's own.
struct RowStyle {
    QColor text;
    QColor background;
    bool bold = false;
    bool italic = false;
    bool strikeOut = false;
};

// The rows a DataGrid shows, one model column per grid column. Cells show formatted text;
// RawValueRole gives the stored value, by which the grid sorts and sums.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role { RawValueRole = Qt::UserRole + 1, KeyRole };
    using RowStyler = std::function<RowStyle(const GridModel& model, int row)>;

    explicit GridModel(QObject* parent = nullptr);

    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const { return m_columns; }
    // Rows are matched across refreshes by the key field's value.
    void setRows(const RowSet& rows, const QString& keyField);
    void setRowStyler(RowStyler styler) { m_styler = std::move(styler); }
    void setColumnTitle(int column, const QString& title);

    int columnOf(const QString& field) const;
    QVariant value(int row, const QString& field) const;
    // The stored value of a cell, without a copy; a null value where the row has none.
    const QVariant& raw(int row, int column) const;
    QString key(int row) const;
    int rowOfKey(const QString& key) const; // -1 when no row has it

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // A person changed an editable cell.
    void cellEdited(int row, const QString& field, const QVariant& value);

private:
    QList<GridColumn> m_columns;
    QList<int> m_fieldOfColumn; // the RowSet field each column shows, -1 when absent
    RowSet m_rows;
    int m_keyField = -1;
    RowStyler m_styler;
    void mapColumns();
};

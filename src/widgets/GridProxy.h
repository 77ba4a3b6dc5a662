#pragma once

#include <QHash>
#include <QSortFilterProxyModel>

// The rows a grid shows of its model: filtered by the filter row's texts (each a
// case-insensitive part of the cell's text) and sorted by stored values.
class GridProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit GridProxy(QObject* parent = nullptr);

    void setColumnFilter(int column, const QString& text);
    QString columnFilter(int column) const { return m_filters.value(column); }
    void clearFilters();

signals:
    void filterChanged(int column, const QString& text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    QHash<int, QString> m_filters;
};

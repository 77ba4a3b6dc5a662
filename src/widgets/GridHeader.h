#pragma once

#include <QHeaderView>
#include <QList>

class GridModel;
class GridProxy;
class QLineEdit;

// The title row of a DataGrid: two-level titles ("Доставка|Сумма" spans its neighbours
// with the same first part), titles cut with an ellipsis and shown whole as the hint,
// pictures for titles, and the filter row under the titles.
class GridHeader : public QHeaderView {
    Q_OBJECT
public:
    GridHeader(GridModel* model, GridProxy* proxy, QWidget* parent);

    void setFilterRowVisible(bool visible);
    bool isFilterRowVisible() const { return m_filterRow; }
    // The editors of the filter row follow the columns; call after the columns change.
    void rebuildFilters();
    int titleHeight() const;

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int section) const override;
    bool viewportEvent(QEvent* event) override;
    void updateGeometries() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void drawTitleCell(QPainter* painter, const QRect& rect, const QString& text,
                       const QIcon& picture, bool sortMarker) const;
    bool twoLevel() const;
    int lineHeight() const;
    void placeFilters();

    GridModel* m_model;
    GridProxy* m_proxy;
    QList<QLineEdit*> m_filters;
    bool m_filterRow = false;
};

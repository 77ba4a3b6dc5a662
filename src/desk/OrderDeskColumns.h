#pragma once

#include "GridColumn.h"
#include "GridModel.h"

#include <QList>
#include <QStringList>

// The columns of the order desk's three grids.
namespace OrderDeskColumns {

QList<GridColumn> orders();
QList<GridColumn> goods();
QList<GridColumn> clientFields();

// The money columns that carry the base currency in their titles.
const QStringList& orderMoneyFields();
const QStringList& goodsMoneyFields();

// Goods lines coloured by their availability; registration groups in bold.
RowStyle goodsStyle(const GridModel& model, int row);
RowStyle clientFieldStyle(const GridModel& model, int row);

} // namespace OrderDeskColumns

#include "GridProxy.h"

#include "GridFormat.h"
#include "GridModel.h"

GridProxy::GridProxy(QObject* parent)
    : QSortFilterProxyModel(parent)
{
    setSortRole(GridModel::RawValueRole);
    setSortLocaleAware(true);
    setDynamicSortFilter(false);
}

void GridProxy::setColumnFilter(int column, const QString& text)
{
    if (m_filters.value(column) == text)
        return;
    if (text.isEmpty())
        m_filters.remove(column);
    else
        m_filters.insert(column, text);
    invalidateRowsFilter();
    emit filterChanged(column, text);
}

void GridProxy::clearFilters()
{
    const QList<int> columns = m_filters.keys();
    m_filters.clear();
    invalidateRowsFilter();
    for (int column : columns)
        emit filterChanged(column, QString());
}

bool GridProxy::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    for (auto it = m_filters.constBegin(); it != m_filters.constEnd(); ++it) {
        const QString text = sourceModel()
                                 ->index(sourceRow, it.key(), sourceParent)
                                 .data(Qt::DisplayRole)
                                 .toString();
        if (!text.contains(it.value(), Qt::CaseInsensitive))
            return false;
    }
    return true;
}

bool GridProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const auto* model = static_cast<const GridModel*>(sourceModel());
    const QVariant& a = model->raw(left.row(), left.column());
    const QVariant& b = model->raw(right.row(), right.column());
    if (a.isNull() || b.isNull())
        return a.isNull() && !b.isNull();
    const auto isNumber = [](const QVariant& v) {
        const int type = v.typeId();
        return type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::Double ||
               type == QMetaType::UInt || type == QMetaType::ULongLong;
    };
    if (isNumber(a) && isNumber(b))
        return a.toDouble() < b.toDouble();
    return a.toString().localeAwareCompare(b.toString()) < 0;
}

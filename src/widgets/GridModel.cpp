#include "GridModel.h"

#include "GridFormat.h"

#include <QFont>

GridModel::GridModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void GridModel::setColumns(const QList<GridColumn>& columns)
{
    beginResetModel();
    m_columns = columns;
    mapColumns();
    endResetModel();
}

void GridModel::setRows(const RowSet& rows, const QString& keyField)
{
    beginResetModel();
    m_rows = rows;
    m_keyField = m_rows.fieldIndex(keyField);
    mapColumns();
    endResetModel();
}

void GridModel::mapColumns()
{
    m_fieldOfColumn.clear();
    for (const GridColumn& column : m_columns)
        m_fieldOfColumn << m_rows.fieldIndex(column.field);
}

void GridModel::setColumnTitle(int column, const QString& title)
{
    m_columns[column].title = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

int GridModel::columnOf(const QString& field) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant GridModel::value(int row, const QString& field) const
{
    const int index = m_rows.fieldIndex(field);
    if (row < 0 || row >= m_rows.rows.size() || index < 0)
        return {};
    return m_rows.rows[row].value(index);
}

const QVariant& GridModel::raw(int row, int column) const
{
    static const QVariant none;
    const int field = m_fieldOfColumn.value(column, -1);
    if (field < 0 || row < 0 || row >= m_rows.rows.size())
        return none;
    const QVariantList& values = m_rows.rows[row];
    return field < values.size() ? values[field] : none;
}

QString GridModel::key(int row) const
{
    if (row < 0 || row >= m_rows.rows.size())
        return {};
    return m_keyField < 0 ? QString::number(row) : m_rows.rows[row].value(m_keyField).toString();
}

int GridModel::rowOfKey(const QString& key) const
{
    for (int row = 0; row < m_rows.rows.size(); ++row)
        if (this->key(row) == key)
            return row;
    return -1;
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.rows.size());
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const GridColumn& column = m_columns[index.column()];
    const QVariant& raw = this->raw(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return GridFormat::cell(column, raw);
    case Qt::EditRole:
    case RawValueRole:
        return raw;
    case KeyRole:
        return key(index.row());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(column.alignment);
    case Qt::DecorationRole:
        if (column.kind == GridColumn::Kind::Picture && column.pictureIndex) {
            const int picture = column.pictureIndex(raw);
            if (picture >= 0 && picture < column.pictures.size())
                return column.pictures[picture];
        }
        return {};
    case Qt::CheckStateRole:
        if (column.kind == GridColumn::Kind::CheckBox)
            return raw.toBool() ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::ForegroundRole:
    case Qt::BackgroundRole:
    case Qt::FontRole: {
        if (!m_styler)
            return {};
        const RowStyle style = m_styler(*this, index.row());
        if (role == Qt::ForegroundRole)
            return style.text.isValid() ? QVariant(style.text) : QVariant();
        if (role == Qt::BackgroundRole)
            return style.background.isValid() ? QVariant(style.background) : QVariant();
        if (!style.bold && !style.italic && !style.strikeOut)
            return {};
        QFont font;
        font.setBold(style.bold);
        font.setItalic(style.italic);
        font.setStrikeOut(style.strikeOut);
        return font;
    }
    default:
        return {};
    }
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || !m_columns[index.column()].editable)
        return false;
    const int field = m_fieldOfColumn[index.column()];
    if (field < 0)
        return false;
    QVariant stored = value;
    if (role == Qt::CheckStateRole)
        stored = value.toInt() == Qt::Checked ? 1 : 0;
    else if (role != Qt::EditRole)
        return false;
    m_rows.rows[index.row()][field] = stored;
    emit dataChanged(index, index);
    emit cellEdited(index.row(), m_columns[index.column()].field, stored);
    return true;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return m_columns[section].title;
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (!index.isValid())
        return flags;
    const GridColumn& column = m_columns[index.column()];
    if (column.editable)
        flags |= column.kind == GridColumn::Kind::CheckBox ? Qt::ItemIsUserCheckable
                                                           : Qt::ItemIsEditable;
    return flags;
}

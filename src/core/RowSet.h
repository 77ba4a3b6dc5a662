#pragma once

#include <QList>
#include <QStringList>
#include <QVariant>

// Rows as a query returned them: the field names and one list of values per row. Grids show
// them; nothing about them knows SQL.
struct RowSet {
    QStringList fields;
    QList<QVariantList> rows;

    int fieldIndex(const QString& field) const
    {
        for (int i = 0; i < fields.size(); ++i)
            if (fields[i].compare(field, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
};

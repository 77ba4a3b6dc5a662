#include "XmlRecords.h"

#include "ColumnTextForm.h"
#include "Schema.h"

#include <QSqlField>

namespace XmlRecords {

void RowToXml(const QSqlRecord& row, pugi::xml_node element, const QString& tableName)
{
    const Schema::Table* table = Schema::find(tableName);
    for (int i = 0; i < row.count(); ++i) {
        const QString name = row.fieldName(i);
        const Schema::Field* field = nullptr;
        if (table)
            for (const Schema::Field& f : table->fields)
                if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0)
                    field = &f;
        const QVariant value = row.value(i);
        const QString text =
            field ? ColumnTextForm::write(field->type, value) : ColumnTextForm::writeUntyped(value);
        element.append_attribute(name.toUtf8().constData()).set_value(text.toUtf8().constData());
    }
}

} // namespace XmlRecords

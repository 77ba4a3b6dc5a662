#include "XmlRecords.h"

#include "ColumnTextForm.h"
#include "LocalTable.h"
#include "RowProgress.h"
#include "Schema.h"
#include "Sql.h"
#include "TraderError.h"

#include <QHash>
#include <QStringList>

#include <cstring>
#include <vector>

namespace XmlRecords {

namespace {

QString quoted(const QString& name)
{
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

// A savepoint rather than BEGIN, so that the append also runs inside a caller's own
// transaction (a download that deletes the orders it replaces first).
class Savepoint {
public:
    explicit Savepoint(const QSqlDatabase& db)
        : m_db(db)
    {
        Sql::exec(m_db, QStringLiteral("SAVEPOINT xml_to_rows"));
    }
    ~Savepoint()
    {
        if (m_open) {
            QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK TO xml_to_rows"));
            QSqlQuery(m_db).exec(QStringLiteral("RELEASE xml_to_rows"));
        }
    }
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;
    void release()
    {
        Sql::exec(m_db, QStringLiteral("RELEASE xml_to_rows"));
        m_open = false;
    }

private:
    QSqlDatabase m_db;
    bool m_open = true;
};

class ProgressScope {
public:
    ProgressScope(RowProgress* progress, int maximum)
        : m_progress(progress)
    {
        if (m_progress)
            m_progress->begin(maximum);
    }
    ~ProgressScope()
    {
        if (m_progress)
            m_progress->end();
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;
    void step(int position) const
    {
        if (m_progress)
            m_progress->step(position);
    }

private:
    RowProgress* m_progress;
};

// The table's columns as its file has them, each with the type the schema gives it; a
// column the schema does not know is taken as plain text.
struct Columns {
    std::vector<Schema::Field> fields;
    QStringList names;
    QHash<QByteArray, int> byName;

    Columns(const QSqlDatabase& db, const QString& tableName)
    {
        const Schema::Table* table = Schema::find(tableName);
        names = LocalTable(db, tableName).columnNames();
        for (const QString& name : names) {
            Schema::Field field{"", Schema::FieldType::Memo};
            if (table)
                for (const Schema::Field& f : table->fields)
                    if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0)
                        field = f;
            byName.insert(name.toLower().toUtf8(), int(fields.size()));
            fields.push_back(field);
        }
    }

    int find(const char* attribute) const
    {
        const QByteArray key =
            QByteArray::fromRawData(attribute, qsizetype(std::strlen(attribute)));
        const auto it = byName.constFind(key);
        if (it != byName.constEnd())
            return *it;
        return byName.value(key.toLower(), -1);
    }
};

} // namespace

int XmlToRows(const pugi::xml_node& container, const QSqlDatabase& db, const QString& tableName,
              RowProgress* progress)
{
    int maximum = 0;
    for (pugi::xml_node record = container.first_child(); record; record = record.next_sibling())
        if (record.type() == pugi::node_element)
            ++maximum;
    const ProgressScope scope(progress, maximum);
    if (maximum == 0)
        return 0;

    const Columns columns(db, tableName);
    if (columns.names.isEmpty())
        throw TraderError(QStringLiteral("Таблица %1 не найдена").arg(tableName));
    QStringList quotedNames;
    for (const QString& name : columns.names)
        quotedNames << quoted(name);
    const QString placeholders =
        QStringList(QList<QString>(columns.names.size(), QStringLiteral("?")))
            .join(QLatin1Char(','));

    Savepoint savepoint(db);
    QSqlQuery insert = Sql::prepare(
        db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(quoted(tableName), quotedNames.join(QLatin1Char(',')), placeholders));
    std::vector<QVariant> values(columns.fields.size());
    int position = 0;
    for (pugi::xml_node record = container.first_child(); record; record = record.next_sibling()) {
        if (record.type() != pugi::node_element)
            continue;
        scope.step(++position);
        std::fill(values.begin(), values.end(), QVariant());
        for (pugi::xml_attribute a = record.first_attribute(); a; a = a.next_attribute()) {
            const int column = columns.find(a.name());
            if (column >= 0)
                values[size_t(column)] =
                    ColumnTextForm::read(columns.fields[size_t(column)], a.value());
        }
        for (size_t i = 0; i < values.size(); ++i)
            insert.bindValue(int(i), values[i]);
        Sql::exec(insert);
    }
    savepoint.release();
    return position;
}

} // namespace XmlRecords

#include "XmlRecords.h"

#include "ColumnTextForm.h"
#include "LocalTable.h"
#include "RowProgress.h"
#include "Schema.h"
#include "Sql.h"
#include "TraderError.h"

#include <QHash>
#include <QSqlDriver>
#include <QStringList>

#include <sqlite3.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace XmlRecords {

namespace {

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

// Records of one answer name their attributes alike and in the same order: remembering the
// column of each attribute position saves the look-up for nearly every value.
class ColumnCache {
public:
    explicit ColumnCache(const Columns& columns)
        : m_columns(columns)
    {
    }
    int find(size_t position, const char* attribute)
    {
        if (position >= m_seen.size())
            m_seen.resize(position + 1);
        Seen& seen = m_seen[position];
        if (!seen.known || seen.name != attribute) {
            seen.name = attribute;
            seen.column = m_columns.find(attribute);
            seen.known = true;
        }
        return seen.column;
    }

private:
    struct Seen {
        std::string name;
        int column = -1;
        bool known = false;
    };
    const Columns& m_columns;
    std::vector<Seen> m_seen;
};

sqlite3* connectionOf(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0 ||
        !*static_cast<sqlite3* const*>(handle.constData()))
        throw TraderError(QStringLiteral("Локальная база данных не открыта"));
    return *static_cast<sqlite3* const*>(handle.constData());
}

// The insert statement, bound straight to SQLite: Qt's binding would copy every value into a
// QVariant and every text into UTF-16, which SQLite then turns back into UTF-8.
class Insert {
public:
    Insert(sqlite3* connection, const QString& sql)
        : m_connection(connection)
    {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v3(m_connection, text.constData(), int(text.size()), 0, &m_statement,
                               nullptr) != SQLITE_OK)
            fail();
    }
    ~Insert() { sqlite3_finalize(m_statement); }
    Insert(const Insert&) = delete;
    Insert& operator=(const Insert&) = delete;

    void clear()
    {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
    // `scratch` is the buffer readStored() wrote, which the next value overwrites; any other
    // text lies in the document, which outlives the statement's use of it.
    void bind(int column, const ColumnTextForm::StoredValue& value, const std::string& scratch)
    {
        using Kind = ColumnTextForm::StoredValue::Kind;
        const int at = column + 1;
        int rc = SQLITE_OK;
        switch (value.kind) {
        case Kind::Empty:
            rc = sqlite3_bind_null(m_statement, at);
            break;
        case Kind::Integer:
            rc = sqlite3_bind_int64(m_statement, at, value.integer);
            break;
        case Kind::Real:
            rc = sqlite3_bind_double(m_statement, at, value.real);
            break;
        case Kind::Text:
            rc = sqlite3_bind_text64(m_statement, at, value.text.data(), value.text.size(),
                                     value.text.data() == scratch.data() ? SQLITE_TRANSIENT
                                                                         : SQLITE_STATIC,
                                     SQLITE_UTF8);
            break;
        }
        if (rc != SQLITE_OK)
            fail();
    }
    void step()
    {
        if (sqlite3_step(m_statement) != SQLITE_DONE)
            fail();
    }

private:
    [[noreturn]] void fail() const
    {
        throw TraderError(QString::fromUtf8(sqlite3_errmsg(m_connection)));
    }

    sqlite3* m_connection;
    sqlite3_stmt* m_statement = nullptr;
};

} // namespace

// Everything that depends on the table alone, made on the first record and kept for the
// next containers.
struct RowAppender::Prepared {
    Columns columns;
    Insert insert;
    ColumnCache cache;

    Prepared(const QSqlDatabase& db, const QString& tableName, sqlite3* connection)
        : columns(db, tableName)
        , insert(connection, insertSql(tableName, columns.names))
        , cache(columns)
    {
    }

    static QString insertSql(const QString& tableName, const QStringList& names)
    {
        if (names.isEmpty())
            throw TraderError(QStringLiteral("Таблица %1 не найдена").arg(tableName));
        QStringList quotedNames;
        for (const QString& name : names)
            quotedNames << Sql::identifier(name);
        const QString placeholders =
            QStringList(QList<QString>(names.size(), QStringLiteral("?"))).join(QLatin1Char(','));
        return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(Sql::identifier(tableName), quotedNames.join(QLatin1Char(',')), placeholders);
    }
};

RowAppender::RowAppender(const QSqlDatabase& db, const QString& tableName)
    : m_db(db)
    , m_tableName(tableName)
{
}

RowAppender::~RowAppender() = default;

int RowAppender::append(const pugi::xml_node& container, RowProgress* progress)
{
    int maximum = 0;
    for (pugi::xml_node record = container.first_child(); record; record = record.next_sibling())
        if (record.type() == pugi::node_element)
            ++maximum;
    const ProgressScope scope(progress, maximum);
    if (maximum == 0)
        return 0;
    if (!m_prepared)
        m_prepared = std::make_unique<Prepared>(m_db, m_tableName, connectionOf(m_db));
    Prepared& p = *m_prepared;

    Savepoint savepoint(m_db);
    {
        // Reset before the savepoint ends, so that the statement holds nothing between
        // containers, whether the rows went in or one was refused.
        const struct ResetLater {
            Insert& insert;
            ~ResetLater() { insert.clear(); }
        } resetLater{p.insert};
        std::string scratch;
        int position = 0;
        for (pugi::xml_node record = container.first_child(); record;
             record = record.next_sibling()) {
            if (record.type() != pugi::node_element)
                continue;
            scope.step(++position);
            p.insert.clear();
            size_t attributeAt = 0;
            for (pugi::xml_attribute a = record.first_attribute(); a;
                 a = a.next_attribute(), ++attributeAt) {
                const int column = p.cache.find(attributeAt, a.name());
                if (column < 0)
                    continue;
                const char* value = a.value();
                p.insert.bind(column,
                              ColumnTextForm::readStored(
                                  p.columns.fields[size_t(column)],
                                  std::string_view(value, std::strlen(value)), scratch),
                              scratch);
            }
            p.insert.step();
        }
    }
    savepoint.release();
    return maximum;
}

int XmlToRows(const pugi::xml_node& container, const QSqlDatabase& db, const QString& tableName,
              RowProgress* progress)
{
    return RowAppender(db, tableName).append(container, progress);
}

} // namespace XmlRecords

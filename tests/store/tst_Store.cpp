#include "Schema.h"
#include "Sql.h"
#include "TDMMain.h"
#include "TraderError.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Column {
    QString name;
    QString type;
    bool notNull;
    int keyPosition;
};

QList<Column> columnsOf(const QSqlDatabase& db, const QString& table)
{
    QSqlQuery q = Sql::exec(db,
                            QStringLiteral("SELECT name, type, \"notnull\", pk FROM "
                                           "pragma_table_info(?) ORDER BY cid"),
                            {table});
    QList<Column> columns;
    while (q.next())
        columns.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toBool(),
                        q.value(3).toInt()});
    return columns;
}

QString createSqlOf(const QSqlDatabase& db, const QString& table)
{
    return Sql::scalar(db, QStringLiteral("SELECT sql FROM sqlite_master WHERE name = ?"), {table})
        .toString();
}

// Inserts one row that sets the key fields (and every required field) to the given number.
bool insertKeyRow(const QSqlDatabase& db, const Schema::Table& table, int value,
                  QString* error = nullptr)
{
    QStringList names;
    QStringList marks;
    for (int i = 0; i < table.keyFieldCount; ++i) {
        names << QLatin1Char('"') + QLatin1String(table.fields[i].name) + QLatin1Char('"');
        marks << QStringLiteral("?");
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                  .arg(QLatin1String(table.name), names.join(QLatin1Char(',')),
                       marks.join(QLatin1Char(','))));
    for (int i = 0; i < table.keyFieldCount; ++i)
        q.addBindValue(table.fields[i].type == Schema::FieldType::Text
                           ? QVariant(QStringLiteral("k%1").arg(value))
                           : QVariant(value));
    const bool ok = q.exec();
    if (error)
        *error = q.lastError().databaseText();
    return ok;
}

} // namespace

class TestStore : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstStartCreatesEveryTable();
    void schemaByHand();
    void secondStartChangesNothing();
    void droppedTableComesBackAloneAndEmpty();
    void olderLayoutIsKept();
    void everyTableRefusesDuplicateKeys();
    void autoincrementAndRequiredFields();
    void textFunctions_data();
    void textFunctions();
    void openTablesReportsAMissingTable();
    void readingWholeLists();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TDMMain> m_dm;
    void connect();
};

void TestStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    connect();
}

void TestStore::cleanup()
{
    m_dm.reset();
    m_dir.reset();
}

void TestStore::connect()
{
    m_dm = std::make_unique<TDMMain>(AppFolder(m_dir->path()));
    m_dm->AConnectDB();
}

void TestStore::firstStartCreatesEveryTable()
{
    QVERIFY(QFileInfo::exists(m_dir->filePath(QStringLiteral("Tables/DunvikShop.sqlite"))));
    const QSqlDatabase db = m_dm->database();
    QCOMPARE(Sql::scalar(db, QStringLiteral("PRAGMA journal_mode")).toString(),
             QStringLiteral("wal"));
    QCOMPARE(Sql::scalar(db, QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = "
                                            "'table' AND name <> 'sqlite_sequence'"))
                 .toInt(),
             27);
    for (const Schema::Table& table : Schema::tables()) {
        const QList<Column> columns = columnsOf(db, QLatin1String(table.name));
        QCOMPARE(columns.size(), qsizetype(table.fields.size()));
        const bool autoKey = table.fields.front().type == Schema::FieldType::AutoInc;
        for (size_t i = 0; i < table.fields.size(); ++i) {
            const Schema::Field& field = table.fields[i];
            QCOMPARE(columns[i].name, QLatin1String(field.name));
            QCOMPARE(columns[i].type, Schema::sqlType(field));
            QCOMPARE(columns[i].notNull, field.required);
            const int expectedKey =
                autoKey ? (i == 0 ? 1 : 0) : (int(i) < table.keyFieldCount ? int(i) + 1 : 0);
            QCOMPARE(columns[i].keyPosition, expectedKey);
        }
        QCOMPARE(m_dm->TableTemp(QLatin1String(table.name)).rowCount(), 0);
    }
}

void TestStore::schemaByHand()
{
    // A few expectations written out, so that the check above is not the schema read back.
    const QSqlDatabase db = m_dm->database();
    const QList<std::pair<const char*, int>> fieldCounts = {
        {"shop_values", 2},        {"topic", 34},         {"store", 34},
        {"archive_basket", 20},    {"archive_order", 32}, {"draft_order", 33},
        {"draft_client_field", 8}, {"provider", 6}};
    for (const auto& [table, count] : fieldCounts)
        QCOMPARE(columnsOf(db, QLatin1String(table)).size(), count);

    QCOMPARE(Schema::tables().front().name, "shop_values");
    QCOMPARE(Schema::tables().back().name, "provider");

    const QList<Column> shop = columnsOf(db, QStringLiteral("shop_values"));
    QCOMPARE(shop[0].type, QStringLiteral("VARCHAR(30)"));
    QVERIFY(shop[0].notNull);
    QCOMPARE(shop[0].keyPosition, 1);

    const QList<Column> order = columnsOf(db, QStringLiteral("archive_order"));
    QCOMPARE(order[1].name, QStringLiteral("sid"));
    QCOMPARE(order[1].type, QStringLiteral("VARCHAR(32)"));
    QCOMPARE(order[8].type, QStringLiteral("REAL(2)"));
    QCOMPARE(order[21].name, QStringLiteral("date_time"));
    QCOMPARE(order[21].type, QStringLiteral("TIMESTAMP"));
    QCOMPARE(order[31].name, QStringLiteral("update_time"));
    QCOMPARE(columnsOf(db, QStringLiteral("currency"))[2].type, QStringLiteral("REAL(4)"));
    QCOMPARE(columnsOf(db, QStringLiteral("client"))[10].type, QStringLiteral("DATE"));

    const QList<Column> basket = columnsOf(db, QStringLiteral("topic_store"));
    QCOMPARE(basket[0].keyPosition, 1);
    QCOMPARE(basket[1].keyPosition, 2);
    QCOMPARE(basket[2].keyPosition, 0);

    QVERIFY(createSqlOf(db, QStringLiteral("draft_basket"))
                .contains(QLatin1String("\"id\" INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL")));
    QVERIFY(createSqlOf(db, QStringLiteral("draft_basket"))
                .contains(QLatin1String("UNIQUE (\"id\",\"order_id\",\"store_id\")")));
    QVERIFY(Sql::scalar(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' "
                                           "AND tbl_name = 'archive_basket' AND sql LIKE "
                                           "'%order_id%'"))
                .isValid());
}

void TestStore::secondStartChangesNothing()
{
    const QSqlDatabase db = m_dm->database();
    Sql::exec(db, QStringLiteral("INSERT INTO shop_values VALUES ('main_base_curr', 'руб.')"));
    Sql::exec(db, QStringLiteral("INSERT INTO archive_order (id, code) VALUES (5, 'A-5')"));
    const QString before = createSqlOf(db, QStringLiteral("archive_order"));
    connect();
    const QSqlDatabase again = m_dm->database();
    QCOMPARE(Sql::scalar(again, QStringLiteral("SELECT key_value FROM shop_values")).toString(),
             QStringLiteral("руб."));
    QCOMPARE(Sql::scalar(again, QStringLiteral("SELECT code FROM archive_order WHERE id = 5"))
                 .toString(),
             QStringLiteral("A-5"));
    QCOMPARE(createSqlOf(again, QStringLiteral("archive_order")), before);
}

void TestStore::droppedTableComesBackAloneAndEmpty()
{
    const QSqlDatabase db = m_dm->database();
    Sql::exec(db, QStringLiteral("INSERT INTO store (id, name) VALUES (1, 'Чайник')"));
    Sql::exec(db, QStringLiteral("INSERT INTO provider (id, name) VALUES (1, 'Поставщик')"));
    Sql::exec(db, QStringLiteral("DROP TABLE store"));
    connect();
    QVERIFY(m_dm->TableTemp(QStringLiteral("store")).exists());
    QCOMPARE(m_dm->TableTemp(QStringLiteral("store")).rowCount(), 0);
    QCOMPARE(m_dm->TableTemp(QStringLiteral("provider")).rowCount(), 1);
}

void TestStore::olderLayoutIsKept()
{
    m_dm.reset();
    m_dir = std::make_unique<QTemporaryDir>();
    {
        QDir().mkpath(m_dir->filePath(QStringLiteral("Tables")));
        QSqlDatabase raw =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        raw.setDatabaseName(m_dir->filePath(QStringLiteral("Tables/DunvikShop.sqlite")));
        QVERIFY(raw.open());
        Sql::exec(raw, QStringLiteral("CREATE TABLE category (id INTEGER, name TEXT)"));
        raw.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    connect();
    QCOMPARE(m_dm->TableTemp(QStringLiteral("category")).columnNames(),
             QStringList({QStringLiteral("id"), QStringLiteral("name")}));
    QCOMPARE(m_dm->TableTemp(QStringLiteral("topic")).columnNames().size(), 34);
}

void TestStore::everyTableRefusesDuplicateKeys()
{
    const QSqlDatabase db = m_dm->database();
    for (const Schema::Table& table : Schema::tables()) {
        QString error;
        QVERIFY2(insertKeyRow(db, table, 1, &error), qPrintable(error));
        QVERIFY2(!insertKeyRow(db, table, 1, &error), table.name);
        QVERIFY2(error.contains(QLatin1String("UNIQUE")), qPrintable(error));
        QVERIFY2(insertKeyRow(db, table, 2, &error), qPrintable(error));
    }
}

void TestStore::autoincrementAndRequiredFields()
{
    const QSqlDatabase db = m_dm->database();
    for (const char* table : {"draft_order", "draft_basket"}) {
        const QString name = QLatin1String(table);
        Sql::exec(db, QStringLiteral("INSERT INTO %1 (order_id) VALUES (0)").arg(name));
        Sql::exec(db, QStringLiteral("INSERT INTO %1 (order_id) VALUES (0)").arg(name));
        QCOMPARE(Sql::scalar(db, QStringLiteral("SELECT MAX(id) FROM %1").arg(name)).toInt(), 2);
        // A freed number is not handed out again.
        Sql::exec(db, QStringLiteral("DELETE FROM %1 WHERE id = 2").arg(name));
        Sql::exec(db, QStringLiteral("INSERT INTO %1 (order_id) VALUES (0)").arg(name));
        QCOMPARE(Sql::scalar(db, QStringLiteral("SELECT MAX(id) FROM %1").arg(name)).toInt(), 3);
    }
    QVERIFY_THROWS_EXCEPTION(
        TraderError,
        Sql::exec(db, QStringLiteral("INSERT INTO shop_values (key_value) VALUES ('x')")));
    // Other fields may stay empty.
    Sql::exec(db, QStringLiteral("INSERT INTO shop_values (key_name) VALUES ('main_update_time')"));
    QVERIFY(Sql::scalar(db, QStringLiteral("SELECT key_value FROM shop_values")).isNull());
}

void TestStore::textFunctions_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("upper cyrillic")
        << "UPPER('ёжик Ψ straße')" << QVariant(QStringLiteral("ЁЖИК Ψ STRASSE"));
    QTest::newRow("lower cyrillic")
        << "LOWER('ПРИВЕТ, Мир')" << QVariant(QStringLiteral("привет, мир"));
    QTest::newRow("upper null") << "UPPER(NULL) IS NULL" << QVariant(1);
    QTest::newRow("like is case-sensitive") << "'abc' LIKE 'ABC'" << QVariant(0);
    QTest::newRow("like cyrillic case-sensitive") << "'Чай' LIKE 'чай'" << QVariant(0);
    QTest::newRow("case-insensitive form")
        << "UPPER('Чайник синий') LIKE UPPER('%СИН%')" << QVariant(1);
}

void TestStore::textFunctions()
{
    QFETCH(QString, expression);
    QFETCH(QVariant, expected);
    const QVariant value = Sql::scalar(m_dm->database(), QStringLiteral("SELECT ") + expression);
    if (expected.typeId() == QMetaType::Int)
        QCOMPARE(value.toInt(), expected.toInt());
    else
        QCOMPARE(value.toString(), expected.toString());
}

void TestStore::openTablesReportsAMissingTable()
{
    m_dm->openTables();
    Sql::exec(m_dm->database(), QStringLiteral("DROP TABLE client_field"));
    try {
        m_dm->openTables();
        QFAIL("no error");
    } catch (const TraderError& e) {
        QVERIFY2(e.message().contains(QLatin1String("client_field")), qPrintable(e.message()));
    }
}

void TestStore::readingWholeLists()
{
    const QSqlDatabase db = m_dm->database();
    Sql::exec(db, QStringLiteral("INSERT INTO archive_order (id, code, total_sum, notice) VALUES "
                                 "(7, 'Ж-7', 12.5, NULL), (8, 'Ж-8', 3, 'ок')"));
    const RowSet set = Sql::rows(
        db,
        QStringLiteral("SELECT id, code, total_sum, notice FROM archive_order WHERE id >= ? "
                       "AND code LIKE ? ORDER BY id"),
        {7, QStringLiteral("Ж-%")});
    QCOMPARE(set.fields, QStringList({QStringLiteral("id"), QStringLiteral("code"),
                                      QStringLiteral("total_sum"), QStringLiteral("notice")}));
    QCOMPARE(set.rows.size(), 2);
    QCOMPARE(set.rows[0][0].toLongLong(), 7);
    QCOMPARE(set.rows[0][1].toString(), QStringLiteral("Ж-7"));
    QCOMPARE(set.rows[0][2].toDouble(), 12.5);
    QVERIFY(set.rows[0][3].isNull());
    QCOMPARE(set.rows[1][3].toString(), QStringLiteral("ок"));
    QVERIFY_THROWS_EXCEPTION(TraderError,
                             Sql::rows(db, QStringLiteral("SELECT nothing FROM nowhere")));
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_Store.moc"

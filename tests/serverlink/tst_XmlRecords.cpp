#include "ColumnTextForm.h"
#include "Cp1251.h"
#include "RowProgress.h"
#include "Sql.h"
#include "TDMMain.h"
#include "TraderError.h"
#include "XmlRecords.h"

#include <QScopeGuard>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>
#include <memory>

using namespace Qt::StringLiterals;
using Schema::FieldType;

Q_DECLARE_METATYPE(Schema::FieldType)

namespace {

struct RecordingProgress : RowProgress {
    QStringList calls;
    void begin(int maximum) override { calls << u"begin %1"_s.arg(maximum); }
    void step(int position) override { calls << u"step %1"_s.arg(position); }
    void end() override { calls << u"end"_s; }
};

} // namespace

class TestXmlRecords : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void readForms_data();
    void readForms();
    void writeForms_data();
    void writeForms();

    void appendsEveryRecordWithItsColumns();
    void missingOrEmptyContainerAppendsNothing();
    void refusedRowStopsAndKeepsNothingOfTheContainer();
    void appendJoinsTheCallersTransaction();
    void appenderServesPageAfterPage();
    void textsAreStoredAsTheAnswerGivesThem();
    void dateTimesDoNotDependOnTheLocalClock();
    void rowToXmlWritesEveryColumn();

    void serverDateTime_data();
    void serverDateTime();
    void urlEncode_data();
    void urlEncode();
    void documentsTravelAsWindows1251();
    void malformedAnswerThrowsTheParsersMessage();

private:
    QVariantList row(const QString& sql);
    TDMMain* store();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TDMMain> m_store;
};

void TestXmlRecords::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestXmlRecords::cleanup()
{
    m_store.reset();
}

// Made only where a case needs it: creating the 27 tables is the slow part of these tests.
TDMMain* TestXmlRecords::store()
{
    if (!m_store) {
        m_store = std::make_unique<TDMMain>(AppFolder(m_dir->path()));
        store()->AConnectDB();
    }
    return m_store.get();
}

QVariantList TestXmlRecords::row(const QString& sql)
{
    QSqlQuery q = Sql::exec(store()->database(), sql);
    QVariantList values;
    if (q.next())
        for (int i = 0; i < q.record().count(); ++i)
            values << q.value(i);
    return values;
}

void TestXmlRecords::readForms_data()
{
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QVariant>("stored"); // invalid: the column stays empty

    const QVariant empty;
    QTest::newRow("decimal") << FieldType::Decimal << 2 << QByteArray("12.5") << QVariant(12.5);
    QTest::newRow("decimal negative")
        << FieldType::Decimal << 2 << QByteArray("-3") << QVariant(-3.0);
    QTest::newRow("decimal rounds to its digits, ties to even")
        << FieldType::Decimal << 2 << QByteArray("0.125") << QVariant(0.12);
    QTest::newRow("decimal of four digits")
        << FieldType::Decimal << 4 << QByteArray("26.1234") << QVariant(26.1234);
    QTest::newRow("decimal comma") << FieldType::Decimal << 2 << QByteArray("1,5") << empty;
    QTest::newRow("decimal grouped") << FieldType::Decimal << 2 << QByteArray("1 000") << empty;
    QTest::newRow("decimal empty") << FieldType::Decimal << 2 << QByteArray() << empty;
    QTest::newRow("date") << FieldType::Date << 0 << QByteArray("2011-03-05")
                          << QVariant(u"2011-03-05"_s);
    QTest::newRow("date with a time")
        << FieldType::Date << 0 << QByteArray("2011-03-05 14:07:09") << QVariant(u"2011-03-05"_s);
    QTest::newRow("date of zeros") << FieldType::Date << 0 << QByteArray("0000-00-00") << empty;
    QTest::newRow("date-time of zeros")
        << FieldType::Date << 0 << QByteArray("0000-00-00 00:00:00") << empty;
    QTest::newRow("date that does not exist")
        << FieldType::Date << 0 << QByteArray("2011-02-30") << empty;
    QTest::newRow("date in the regional form")
        << FieldType::Date << 0 << QByteArray("05.03.2011") << empty;
    QTest::newRow("timestamp") << FieldType::Timestamp << 0 << QByteArray("2011-03-05 14:07:09")
                               << QVariant(u"2011-03-05 14:07:09"_s);
    QTest::newRow("timestamp, date alone is midnight")
        << FieldType::Timestamp << 0 << QByteArray("2011-03-05")
        << QVariant(u"2011-03-05 00:00:00"_s);
    QTest::newRow("timestamp past the day")
        << FieldType::Timestamp << 0 << QByteArray("2011-03-05 24:00:00") << empty;
    QTest::newRow("timestamp of zeros")
        << FieldType::Timestamp << 0 << QByteArray("0000-00-00 00:00:00") << empty;
    QTest::newRow("logical 1") << FieldType::Logical << 0 << QByteArray("1") << QVariant(1);
    QTest::newRow("logical 0") << FieldType::Logical << 0 << QByteArray("0") << QVariant(0);
    QTest::newRow("logical TRUE") << FieldType::Logical << 0 << QByteArray("TRUE") << QVariant(1);
    QTest::newRow("logical false") << FieldType::Logical << 0 << QByteArray("false") << QVariant(0);
    QTest::newRow("logical other number")
        << FieldType::Logical << 0 << QByteArray("-2") << QVariant(1);
    QTest::newRow("logical fraction")
        << FieldType::Logical << 0 << QByteArray("0.5") << QVariant(1);
    QTest::newRow("logical word") << FieldType::Logical << 0 << QByteArray("yes") << empty;
    QTest::newRow("short") << FieldType::Short << 0 << QByteArray("-32768") << QVariant(-32768);
    QTest::newRow("short too large") << FieldType::Short << 0 << QByteArray("32768") << empty;
    QTest::newRow("long") << FieldType::Long << 0 << QByteArray("2147483647")
                          << QVariant(2147483647);
    QTest::newRow("long with a fraction") << FieldType::Long << 0 << QByteArray("1.5") << empty;
    QTest::newRow("long empty") << FieldType::Long << 0 << QByteArray() << empty;
    QTest::newRow("text cut to its size")
        << FieldType::Text << 5 << QByteArray("абвгдеж") << QVariant(u"абвгд"_s);
    QTest::newRow("text empty") << FieldType::Text << 5 << QByteArray() << QVariant(u""_s);
    QTest::newRow("text not cut inside a surrogate pair")
        << FieldType::Text << 5 << QByteArray("abcd\xF0\x9F\x98\x80") << QVariant(u"abcd"_s);
    QTest::newRow("memo") << FieldType::Memo << 0 << QByteArray("a\nb & <c>")
                          << QVariant(u"a\nb & <c>"_s);
}

void TestXmlRecords::readForms()
{
    QFETCH(FieldType, type);
    QFETCH(int, size);
    QFETCH(QByteArray, text);
    QFETCH(QVariant, stored);
    const Schema::Field field{"column", type, size};
    const QVariant value =
        ColumnTextForm::read(field, std::string_view(text.constData(), size_t(text.size())));
    QCOMPARE(value.isValid(), stored.isValid());
    if (stored.typeId() == QMetaType::Double)
        QCOMPARE(value.toDouble(), stored.toDouble());
    else if (stored.isValid())
        QCOMPARE(value, stored);
}

void TestXmlRecords::writeForms_data()
{
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("text");

    const QVariant null;
    QTest::newRow("decimal with a fraction") << FieldType::Decimal << QVariant(12.5) << u"12.5"_s;
    QTest::newRow("decimal whole") << FieldType::Decimal << QVariant(100.0) << u"100"_s;
    QTest::newRow("decimal below one") << FieldType::Decimal << QVariant(0.25) << u"0.25"_s;
    QTest::newRow("decimal negative") << FieldType::Decimal << QVariant(-3.0) << u"-3"_s;
    QTest::newRow("decimal large, no groups")
        << FieldType::Decimal << QVariant(1234567.89) << u"1234567.89"_s;
    QTest::newRow("decimal empty") << FieldType::Decimal << null << u"0"_s;
    QTest::newRow("date") << FieldType::Date << QVariant(u"2011-03-05"_s) << u"2011-03-05"_s;
    QTest::newRow("date empty") << FieldType::Date << null << u"1899-12-30"_s;
    QTest::newRow("date unreadable") << FieldType::Date << QVariant(u"junk"_s) << u""_s;
    QTest::newRow("timestamp") << FieldType::Timestamp << QVariant(u"2011-03-05 04:07:09"_s)
                               << u"2011-03-05 04:07:09"_s;
    QTest::newRow("timestamp empty") << FieldType::Timestamp << null << u"1899-12-30 00:00:00"_s;
    QTest::newRow("logical true") << FieldType::Logical << QVariant(1) << u"1"_s;
    QTest::newRow("logical false") << FieldType::Logical << QVariant(0) << u"0"_s;
    QTest::newRow("logical empty") << FieldType::Logical << null << u"0"_s;
    QTest::newRow("long") << FieldType::Long << QVariant(42) << u"42"_s;
    QTest::newRow("long empty") << FieldType::Long << null << u""_s;
    QTest::newRow("text") << FieldType::Text << QVariant(u"Ёж \"1\""_s) << u"Ёж \"1\""_s;
    QTest::newRow("memo empty") << FieldType::Memo << null << u""_s;
}

void TestXmlRecords::writeForms()
{
    QFETCH(FieldType, type);
    QFETCH(QVariant, stored);
    QFETCH(QString, text);
    QCOMPARE(ColumnTextForm::write(type, stored), text);
}

void TestXmlRecords::appendsEveryRecordWithItsColumns()
{
    pugi::xml_document doc;
    XmlRecords::loadAnswer(
        doc, u"<?xml version=\"1.0\" encoding=\"windows-1251\"?><R><CLIENTS>"
             "<C id=\"7\" login=\"Иванов\" pass=\"0123456789012345678901234567890123456789\" "
             "proc=\"2.5\" reg_date=\"0000-00-00\" last_date=\"2011-03-05 10:00:00\" "
             "orders_suma=\"\" foo=\"bar\" DO=\"1\"/>"
             "<!-- a comment is no record -->"
             "<C id=\"8\"/></CLIENTS></R>"_s);
    RecordingProgress progress;
    const int appended = XmlRecords::XmlToRows(doc.document_element().child("CLIENTS"),
                                               store()->database(), u"client"_s, &progress);
    QCOMPARE(appended, 2);
    QCOMPARE(progress.calls, QStringList({u"begin 2"_s, u"step 1"_s, u"step 2"_s, u"end"_s}));

    const QVariantList first = row(u"SELECT id, login, pass, proc, reg_date, last_date, "
                                   "orders_suma, \"do\" FROM client WHERE id = 7"_s);
    QCOMPARE(first.value(0).toInt(), 7);
    QCOMPARE(first.value(1).toString(), u"Иванов"_s);
    QCOMPARE(first.value(2).toString(), u"01234567890123456789012345678901"_s);
    QCOMPARE(first.value(3).toDouble(), 2.5);
    QVERIFY(first.value(4).isNull());
    QCOMPARE(first.value(5).toString(), u"2011-03-05"_s);
    QVERIFY(first.value(6).isNull());
    QCOMPARE(first.value(7).toInt(), 1);
    const QVariantList second = row(u"SELECT login, proc FROM client WHERE id = 8"_s);
    QVERIFY(second.value(0).isNull());
    QVERIFY(second.value(1).isNull());
}

void TestXmlRecords::missingOrEmptyContainerAppendsNothing()
{
    pugi::xml_document doc;
    XmlRecords::loadAnswer(doc, u"<R><PART/></R>"_s);
    for (const char* name : {"PART", "MISSING"}) {
        RecordingProgress progress;
        QCOMPARE(XmlRecords::XmlToRows(doc.document_element().child(name), store()->database(),
                                       u"provider"_s, &progress),
                 0);
        QCOMPARE(progress.calls, QStringList({u"begin 0"_s, u"end"_s}));
    }
    QCOMPARE(store()->TableTemp(u"provider"_s).rowCount(), 0);
}

void TestXmlRecords::refusedRowStopsAndKeepsNothingOfTheContainer()
{
    pugi::xml_document doc;
    XmlRecords::loadAnswer(doc, u"<R><PART><P id=\"1\" name=\"a\"/><P id=\"2\"/><P id=\"1\" "
                                "name=\"again\"/><P id=\"3\"/></PART></R>"_s);
    RecordingProgress progress;
    try {
        XmlRecords::XmlToRows(doc.document_element().child("PART"), store()->database(),
                              u"provider"_s, &progress);
        QFAIL("a duplicate key must stop the append");
    } catch (const TraderError& e) {
        QVERIFY2(e.message().contains(u"UNIQUE"_s), qPrintable(e.message()));
    }
    QCOMPARE(progress.calls.last(), u"end"_s);
    QCOMPARE(store()->TableTemp(u"provider"_s).rowCount(), 0);
    // The store is usable afterwards: no transaction is left open.
    XmlRecords::loadAnswer(doc, u"<R><PART><P id=\"1\"/></PART></R>"_s);
    QCOMPARE(XmlRecords::XmlToRows(doc.document_element().child("PART"), store()->database(),
                                   u"provider"_s),
             1);
    QCOMPARE(store()->TableTemp(u"provider"_s).rowCount(), 1);
}

void TestXmlRecords::appendJoinsTheCallersTransaction()
{
    pugi::xml_document doc;
    XmlRecords::loadAnswer(doc, u"<R><PART><P id=\"1\"/><P id=\"2\"/></PART></R>"_s);
    {
        Transaction outer(store()->database());
        Sql::exec(store()->database(), u"INSERT INTO provider (id) VALUES (9)"_s);
        QCOMPARE(XmlRecords::XmlToRows(doc.document_element().child("PART"), store()->database(),
                                       u"provider"_s),
                 2);
        // Not committed: the caller's rollback takes the appended rows too.
    }
    QCOMPARE(store()->TableTemp(u"provider"_s).rowCount(), 0);
}

// One appender for the pages of a download: a refused page takes back only its own rows, and
// a later page that names its attributes in another order still fills the right columns.
void TestXmlRecords::appenderServesPageAfterPage()
{
    const QSqlDatabase db = store()->database();
    XmlRecords::RowAppender appender(db, u"provider"_s);
    const auto page = [&](const QString& records) {
        pugi::xml_document doc;
        XmlRecords::loadAnswer(doc, u"<R><PART>"_s + records + u"</PART></R>"_s);
        Transaction transaction(db);
        const int appended = appender.append(doc.document_element().child("PART"));
        transaction.commit();
        return appended;
    };
    QCOMPARE(page(u"<P id=\"1\" name=\"a\"/><P id=\"2\" name=\"b\"/>"_s), 2);
    QVERIFY_THROWS_EXCEPTION(TraderError, page(u"<P id=\"3\" name=\"c\"/><P id=\"1\"/>"_s));
    QCOMPARE(page(u"<P name=\"d\" id=\"4\"/>"_s), 1);
    QCOMPARE(Sql::rows(db, u"SELECT id, name FROM provider ORDER BY id"_s).rows,
             QList<QVariantList>({{1, u"a"_s}, {2, u"b"_s}, {4, u"d"_s}}));
}

// Characters SQLite would take for a byte-order mark when handed UTF-16 text.
void TestXmlRecords::textsAreStoredAsTheAnswerGivesThem()
{
    pugi::xml_document doc;
    XmlRecords::loadAnswer(doc, u"<R><PART><P id=\"1\" name=\"&#xFEFF;Ёж\"/>"
                                "<P id=\"2\" name=\"&#xFFFE;ab\"/></PART></R>"_s);
    QCOMPARE(XmlRecords::XmlToRows(doc.document_element().child("PART"), store()->database(),
                                   u"provider"_s),
             2);
    // As bytes: read back as UTF-16, SQLite gives U+FFFD for the second.
    QCOMPARE(row(u"SELECT hex(name) FROM provider WHERE id = 1"_s).value(0).toString(),
             u"EFBBBFD081D0B6"_s);
    QCOMPARE(row(u"SELECT hex(name) FROM provider WHERE id = 2"_s).value(0).toString(),
             u"EFBFBE6162"_s);
}

// 02:30 of that day does not exist on a Central European clock; the text forms name no zone.
void TestXmlRecords::dateTimesDoNotDependOnTheLocalClock()
{
    const bool hadZone = qEnvironmentVariableIsSet("TZ");
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    const auto restore = qScopeGuard([&] {
        if (hadZone)
            qputenv("TZ", zone);
        else
            qunsetenv("TZ");
        tzset();
    });
    const std::string_view text("2011-03-27 02:30:00");
    QCOMPARE(ColumnTextForm::read({"c", FieldType::Timestamp}, text),
             QVariant(u"2011-03-27 02:30:00"_s));
    QCOMPARE(ColumnTextForm::read({"c", FieldType::Date}, text), QVariant(u"2011-03-27"_s));
    QCOMPARE(ColumnTextForm::write(FieldType::Timestamp, u"2011-03-27 02:30:00"_s),
             u"2011-03-27 02:30:00"_s);
}

void TestXmlRecords::rowToXmlWritesEveryColumn()
{
    Sql::exec(store()->database(),
              u"INSERT INTO archive_order (id, sid, disc_sum, date_time, status) "
              "VALUES (5, 'Ёж', 12.5, '2011-03-05 14:07:09', 2)"_s);
    QSqlQuery q = Sql::exec(store()->database(),
                            u"SELECT id, sid, disc_sum, cond_cost, date_time, status, notice, "
                            "disc_sum * 3 AS itogo FROM archive_order"_s);
    QVERIFY(q.next());
    pugi::xml_document doc;
    pugi::xml_node element = doc.append_child("ORDER");
    XmlRecords::RowToXml(q.record(), element, u"archive_order"_s);
    std::ostringstream out;
    element.print(out, "", pugi::format_raw);
    QCOMPARE(QString::fromStdString(out.str()),
             u"<ORDER id=\"5\" sid=\"Ёж\" disc_sum=\"12.5\" cond_cost=\"0\" "
             "date_time=\"2011-03-05 14:07:09\" status=\"2\" notice=\"\" itogo=\"37.5\"/>"_s);
}

void TestXmlRecords::serverDateTime_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("text");
    const QDate d(2011, 3, 5);
    QTest::newRow("midnight") << QDateTime(d, QTime(0, 0)) << u"2011-03-05"_s;
    QTest::newRow("midnight and milliseconds")
        << QDateTime(d, QTime(0, 0, 0, 999)) << u"2011-03-05"_s;
    QTest::newRow("one second past") << QDateTime(d, QTime(0, 0, 1)) << u"2011-03-05 00:00:01"_s;
    QTest::newRow("afternoon") << QDateTime(d, QTime(14, 7, 9)) << u"2011-03-05 14:07:09"_s;
}

void TestXmlRecords::serverDateTime()
{
    QFETCH(QDateTime, moment);
    QFETCH(QString, text);
    QCOMPARE(XmlRecords::ServerDateTime(moment), text);
}

void TestXmlRecords::urlEncode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("encoded");
    QTest::newRow("blank and ampersand") << u"a b&c"_s << u"a+b%26c"_s;
    QTest::newRow("percent") << u"100%"_s << u"100%25"_s;
    QTest::newRow("kept as they are") << u"Ab-1.2_(x)!$'*@"_s << u"Ab-1.2_(x)!$'*@"_s;
    QTest::newRow("cyrillic as its code page bytes") << u"Ёж я"_s << u"%A8%E6+%FF"_s;
    QTest::newRow("reserved signs") << u"=/?#+~"_s << u"%3D%2F%3F%23%2B%7E"_s;
    QTest::newRow("a zero ends it") << u"ab\u0000cd"_s << u"ab"_s;
    QTest::newRow("empty") << u""_s << u""_s;
}

void TestXmlRecords::urlEncode()
{
    QFETCH(QString, text);
    QFETCH(QString, encoded);
    QCOMPARE(XmlRecords::UrlEncode(text), encoded);
}

void TestXmlRecords::documentsTravelAsWindows1251()
{
    pugi::xml_document doc;
    doc.append_child(pugi::node_declaration).append_attribute("version").set_value("1.0");
    doc.append_child("VUZUDOVAZE")
        .append_attribute("note")
        .set_value(u"Ёлка & \"шар\""_s.toUtf8().constData());
    const QString text = XmlRecords::documentText(doc);
    QCOMPARE(text, u"<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n"
                   "<VUZUDOVAZE note=\"Ёлка &amp; &quot;шар&quot;\"/>"_s);
    // What the server gets back is read as the same document.
    pugi::xml_document back;
    XmlRecords::loadAnswer(back, Cp1251::decode(Cp1251::encode(text)));
    QCOMPARE(QString::fromUtf8(back.child("VUZUDOVAZE").attribute("note").value()),
             u"Ёлка & \"шар\""_s);
}

void TestXmlRecords::malformedAnswerThrowsTheParsersMessage()
{
    pugi::xml_document doc;
    QVERIFY_THROWS_EXCEPTION(TraderError, XmlRecords::loadAnswer(doc, u"<R><PART></R>"_s));
}

QTEST_GUILESS_MAIN(TestXmlRecords)
#include "tst_XmlRecords.moc"

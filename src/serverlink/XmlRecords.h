#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>

#include <pugixml.hpp>

#include <memory>

class RowProgress;
class ServerRequest;

// Table rows as XML records: one element per row, one attribute per column named like the
// local column, each value in its column type's text form (ColumnTextForm). Answers arrive
// as windows-1251 text, turned into UTF-8 before they reach the parser; documents we send
// carry a windows-1251 declaration and are encoded so on the way out.
namespace XmlRecords {

// Appends one row per record element of `container` to the local table, all in one
// transaction (nested inside the caller's, when it has one). An attribute that names no
// column, or whose text does not convert, leaves that column empty; a text longer than
// its column is cut. A null container appends nothing. A row the table refuses rolls the
// whole container back and throws TraderError with the database's message. Returns the
// number of rows appended.
int XmlToRows(const pugi::xml_node& container, const QSqlDatabase& db, const QString& tableName,
              RowProgress* progress = nullptr);

// XmlToRows for one table, container after container (the pages of a download): the
// table's columns are read and its statement is prepared once, with the first record.
class RowAppender {
public:
    RowAppender(const QSqlDatabase& db, const QString& tableName);
    ~RowAppender();
    RowAppender(const RowAppender&) = delete;
    RowAppender& operator=(const RowAppender&) = delete;

    int append(const pugi::xml_node& container, RowProgress* progress = nullptr);

private:
    struct Prepared;
    QSqlDatabase m_db;
    QString m_tableName;
    std::unique_ptr<Prepared> m_prepared;
};

// Sets one attribute per column of `row`, in its order, in the written text form of the
// column's type in `tableName`; columns that table lacks (computed ones) by their value.
void RowToXml(const QSqlRecord& row, pugi::xml_node element, const QString& tableName);

// "yyyy-MM-dd hh:mm:ss", or the date alone at midnight (milliseconds ignored).
QString ServerDateTime(const QDateTime& moment);

// The windows-1251 bytes of `text`, URL-encoded for a parameter list: letters, digits and
// ! $ ' ( ) * - . @ _ stay, a space becomes "+", every other byte "%XX". A zero byte ends it.
QString UrlEncode(const QString& text);

// Loads an answer's XML text; throws TraderError with the parser's message when it is not
// well-formed.
void loadAnswer(pugi::xml_document& document, const QString& text);
// The same for the text as it came, in windows-1251.
void loadAnswer(pugi::xml_document& document, QByteArrayView windows1251);
// The last answer of `request`: a ZIP_RESULT's XML as it came, any other answer's text.
void loadAnswer(pugi::xml_document& document, const ServerRequest& request);
// The document as text with the declaration <?xml version="1.0" encoding="windows-1251"?>,
// ready to be sent as StringData.
QString documentText(const pugi::xml_document& document);

} // namespace XmlRecords

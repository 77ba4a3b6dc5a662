#pragma once

#include "Schema.h"

#include <QByteArray>
#include <QString>

#include <pugixml.hpp>

class SqlStatement;

// The XML document of a zipped answer: a root element whose children are the record
// containers. Written out as windows-1251 text.
class XmlAnswer {
public:
    XmlAnswer();

    pugi::xml_node root() { return m_root; }
    pugi::xml_node container(const char* name) { return m_root.append_child(name); }
    QByteArray toCp1251() const;

    static void setAttribute(pugi::xml_node node, const char* name, const QString& value);
    // One "ROW" element per row of the query, one attribute per non-NULL column; the column
    // types come from the table the query reads.
    static void appendRows(pugi::xml_node container, SqlStatement& query,
                           const Schema::Table& table);
    // A windows-1251 document from the trader (its XML writer's text in the code page).
    static bool parseCp1251(pugi::xml_document& document, QByteArrayView text);
    static QString attribute(pugi::xml_node node, const char* name);

private:
    pugi::xml_document m_document;
    pugi::xml_node m_root;
};

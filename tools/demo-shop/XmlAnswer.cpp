#include "XmlAnswer.h"

#include "Cp1251.h"
#include "RecordText.h"
#include "SqlStatement.h"

#include <cstring>
#include <sstream>

XmlAnswer::XmlAnswer()
{
    pugi::xml_node declaration = m_document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "windows-1251";
    m_root = m_document.append_child("DATA");
}

QByteArray XmlAnswer::toCp1251() const
{
    std::ostringstream out;
    m_document.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    const std::string utf8 = out.str();
    return Cp1251::encode(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

void XmlAnswer::setAttribute(pugi::xml_node node, const char* name, const QString& value)
{
    node.append_attribute(name).set_value(value.toUtf8().constData());
}

void XmlAnswer::appendRows(pugi::xml_node container, SqlStatement& query,
                           const Schema::Table& table)
{
    const int columns = query.columnCount();
    std::vector<const Schema::Field*> fields(std::size_t(columns), nullptr);
    for (int c = 0; c < columns; ++c)
        for (const Schema::Field& field : table.fields)
            if (std::strcmp(field.name, query.columnName(c)) == 0)
                fields[std::size_t(c)] = &field;
    while (query.next()) {
        pugi::xml_node row = container.append_child("ROW");
        for (int c = 0; c < columns; ++c)
            if (const std::optional<QString> text =
                    RecordText::fromColumn(fields[std::size_t(c)], query, c))
                setAttribute(row, query.columnName(c), *text);
    }
}

bool XmlAnswer::parseCp1251(pugi::xml_document& document, QByteArrayView text)
{
    const QByteArray utf8 = Cp1251::decode(text).toUtf8();
    return document.load_buffer(utf8.constData(), std::size_t(utf8.size()), pugi::parse_default,
                                pugi::encoding_utf8);
}

QString XmlAnswer::attribute(pugi::xml_node node, const char* name)
{
    return QString::fromUtf8(node.attribute(name).value());
}

#include "XmlRecords.h"

#include "Cp1251.h"
#include "ServerRequest.h"
#include "TraderError.h"

#include <QStringEncoder>

#include <cstring>
#include <new>
#include <optional>
#include <sstream>

namespace XmlRecords {

QString ServerDateTime(const QDateTime& moment)
{
    const QTime t = moment.time();
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return moment.date().toString(QStringLiteral("yyyy-MM-dd"));
    return moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString UrlEncode(const QString& text)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    const QByteArray bytes = Cp1251::encode(text);
    QString out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const uchar b = uchar(c);
        if (b == 0)
            break;
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
            std::strchr("!$'()*-.@_", b) != nullptr) {
            out += QLatin1Char(c);
        } else if (b == ' ') {
            out += QLatin1Char('+');
        } else {
            out += QLatin1Char('%');
            out += QLatin1Char(Hex[b >> 4]);
            out += QLatin1Char(Hex[b & 0x0f]);
        }
    }
    return out;
}

namespace {

// The UTF-8 text in a buffer the document takes over, so that a large answer is neither
// copied again by the parser nor held twice. Only text that encodes cleanly goes this way:
// a lone surrogate becomes "?" in QString::toUtf8, which the caller then uses instead.
std::optional<pugi::xml_parse_result> loadOwned(pugi::xml_document& document, const QString& text)
{
    QStringEncoder encoder(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
    const qsizetype capacity = encoder.requiredSpace(text.size());
    auto* buffer = static_cast<char*>(pugi::get_memory_allocation_function()(size_t(capacity) + 1));
    if (!buffer)
        return std::nullopt;
    const char* end = encoder.appendToBuffer(buffer, text);
    if (encoder.hasError()) {
        pugi::get_memory_deallocation_function()(buffer);
        return std::nullopt;
    }
    return document.load_buffer_inplace_own(buffer, size_t(end - buffer), pugi::parse_default,
                                            pugi::encoding_utf8);
}

void checkLoaded(const pugi::xml_parse_result& result)
{
    if (!result)
        throw TraderError(QStringLiteral("Ошибка в XML-ответе сервера: %1 (позиция %2)")
                              .arg(QString::fromUtf8(result.description()))
                              .arg(result.offset));
}

} // namespace

void loadAnswer(pugi::xml_document& document, const QString& text)
{
    std::optional<pugi::xml_parse_result> loaded = loadOwned(document, text);
    if (!loaded) {
        const QByteArray utf8 = text.toUtf8();
        loaded = document.load_buffer(utf8.constData(), size_t(utf8.size()), pugi::parse_default,
                                      pugi::encoding_utf8);
    }
    checkLoaded(*loaded);
}

void loadAnswer(pugi::xml_document& document, QByteArrayView windows1251)
{
    auto* buffer = static_cast<char*>(
        pugi::get_memory_allocation_function()(3 * size_t(windows1251.size()) + 1));
    if (!buffer)
        throw std::bad_alloc();
    const qsizetype size = Cp1251::toUtf8(windows1251, buffer);
    checkLoaded(document.load_buffer_inplace_own(buffer, size_t(size), pugi::parse_default,
                                                 pugi::encoding_utf8));
}

void loadAnswer(pugi::xml_document& document, const ServerRequest& request)
{
    if (request.AnswerXml().isEmpty())
        loadAnswer(document, request.Answer());
    else
        loadAnswer(document, QByteArrayView(request.AnswerXml()));
}

QString documentText(const pugi::xml_document& document)
{
    std::ostringstream out;
    out << R"(<?xml version="1.0" encoding="windows-1251"?>)" << '\n';
    for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling())
        if (node.type() != pugi::node_declaration)
            node.print(out, "", pugi::format_raw, pugi::encoding_utf8);
    return QString::fromStdString(out.str());
}

} // namespace XmlRecords

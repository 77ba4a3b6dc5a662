#include "Cp1251.h"

#include <QHash>
#include <QStringDecoder>

#include <array>

namespace {

// The code page's 256 characters, read once from the converter; encoding then maps by
// table, because the converter itself puts SUB (0x1A), not "?", for what it cannot hold.
struct Tables {
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, char> fromUnicode;

    Tables()
    {
        QByteArray all(256, '\0');
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        QStringDecoder decoder("windows-1251");
        const QString chars = decoder.decode(all);
        Q_ASSERT(decoder.isValid() && chars.size() == 256);
        for (int i = 0; i < 256; ++i) {
            toUnicode[i] = chars.at(i).unicode();
            fromUnicode.insert(toUnicode[i], char(i));
        }
    }
};

const Tables& tables()
{
    static const Tables t;
    return t;
}

} // namespace

namespace Cp1251 {

QByteArray encode(QStringView text)
{
    const Tables& t = tables();
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x80) {
            out.append(char(c));
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text.at(i + 1).unicode()))
            ++i; // one "?" for the whole code point
        const auto it = t.fromUnicode.constFind(c);
        out.append(it == t.fromUnicode.constEnd() ? '?' : *it);
    }
    return out;
}

QString decode(QByteArrayView bytes)
{
    const Tables& t = tables();
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = QChar(t.toUnicode[uchar(bytes[i])]);
    return out;
}

} // namespace Cp1251

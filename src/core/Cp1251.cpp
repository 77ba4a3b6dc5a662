#include "Cp1251.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// The code page's 256 characters, read once from the converter; encoding then maps by
// table, because the converter itself puts SUB (0x1A), not "?", for what it cannot hold.
struct Tables {
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, char> fromUnicode;
    // Each byte's UTF-8 form: up to three bytes (the code page lies in the BMP) and a length.
    std::array<std::array<char, 4>, 256> utf8{};

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
            const QByteArray bytes = QString(chars.at(i)).toUtf8();
            Q_ASSERT(bytes.size() >= 1 && bytes.size() <= 3);
            std::copy(bytes.begin(), bytes.end(), utf8[i].begin());
            utf8[i][3] = char(bytes.size());
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

namespace {

// Eight bytes of plain ASCII at `at`, the common case of an answer's markup and numbers.
bool asciiWord(const char* at)
{
    quint64 word;
    std::memcpy(&word, at, sizeof word);
    return (word & 0x8080808080808080ULL) == 0;
}

} // namespace

qsizetype toUtf8(QByteArrayView bytes, char* out)
{
    const Tables& t = tables();
    const char* p = bytes.data();
    const qsizetype n = bytes.size();
    char* const start = out;
    for (qsizetype i = 0; i < n;) {
        if (n - i >= 8 && asciiWord(p + i)) {
            std::memcpy(out, p + i, 8);
            out += 8;
            i += 8;
            continue;
        }
        // All four bytes of the form at once; the next character overwrites what is not its.
        const std::array<char, 4>& form = t.utf8[uchar(p[i++])];
        std::memcpy(out, form.data(), form.size());
        out += form[3];
    }
    return out - start;
}

} // namespace Cp1251

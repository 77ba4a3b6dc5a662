#include "ReplaceAll.h"

QString ReplaceAll(const QString& source, const QString& pattern, const QString& replacement)
{
    if (pattern.isEmpty())
        return source;
    QString result;
    qsizetype from = 0;
    for (qsizetype at = source.indexOf(pattern); at >= 0; at = source.indexOf(pattern, from)) {
        result += QStringView(source).mid(from, at - from);
        result += replacement;
        from = at + pattern.size();
    }
    result += QStringView(source).mid(from);
    return result;
}

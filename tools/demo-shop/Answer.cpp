#include "Answer.h"

#include "Cp1251.h"
#include "ZipPayload.h"

Answer Answer::word(const char* word)
{
    return Answer{QByteArray(word)};
}

Answer Answer::error(const char* word, const QString& message)
{
    return Answer{QByteArray(word) + ' ' + Cp1251::encode(message)};
}

Answer Answer::returnValue(const QString& value)
{
    return Answer{QByteArray("RETURN_VALUE ") + Cp1251::encode(value)};
}

Answer Answer::queryExecuted()
{
    return word("QUERY_EXECUTE");
}

Answer Answer::zipResult(const QString& entryName, const QByteArray& xml)
{
    Q_ASSERT(entryName.size() == 32);
    return Answer{QByteArray("ZIP_RESULT") + entryName.toLatin1() +
                  ZipPayload::pack(entryName + QStringLiteral(".xml"), xml)};
}

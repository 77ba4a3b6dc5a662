#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The error kinds of an exchange, exactly as callers compare them ("UnknowAnswer" is
// spelled so on purpose), and the box each one shows.
namespace ErrorKinds {

inline QString NoAnswer()
{
    return QStringLiteral("NoAnswer");
}
inline QString WrongPassword()
{
    return QStringLiteral("WrongPassword");
}
inline QString WrongCWD()
{
    return QStringLiteral("WrongCWD");
}
inline QString ShopIsLock()
{
    return QStringLiteral("ShopIsLock");
}
inline QString IPBlocked()
{
    return QStringLiteral("IPBlocked");
}
inline QString SqlError()
{
    return QStringLiteral("SqlError");
}
inline QString PHPError()
{
    return QStringLiteral("PHPError");
}
inline QString WrongZip()
{
    return QStringLiteral("WrongZip");
}
inline QString UnknowAnswer()
{
    return QStringLiteral("UnknowAnswer");
}

// The text of the box that an error kind shows; `answer` fills the two that quote it.
QString message(const QString& errorKind, const QString& answer);

} // namespace ErrorKinds

// What one answer text says, before any archive in it is unpacked. The answer words are
// compared byte for byte and case-sensitively.
struct ServerAnswer {
    enum class Payload { None, ZipFile, ZipResult };

    QString errorKind;             // "UnknowAnswer" when no word matched
    std::optional<QString> answer; // the new Answer; none keeps the initial one
    QString logText;               // the answer line's text
    Payload payload = Payload::None;
    QByteArray archive;  // the zip bytes of ZIP_FILE and ZIP_RESULT
    QString resultEntry; // ZIP_RESULT: the 32-character entry name, without ".xml"

    static ServerAnswer recognize(const QByteArray& reply);
};

#pragma once

#include <QByteArray>
#include <QString>

// What the shop sends back for one request: the answer text (windows-1251 bytes), or an
// HTTP error status, or a connection that ends without the whole answer.
struct Answer {
    enum class Ending {
        Complete,
        Closed,   // closed before a byte of the answer
        CutShort, // closed after the headers and the first bytes of the body
    };
    QByteArray body;
    int httpStatus = 200;
    Ending ending = Ending::Complete;

    static Answer word(const char* word);
    // "SQL_ERROR" or "PHP_ERROR", a blank and the message.
    static Answer error(const char* word, const QString& message);
    static Answer returnValue(const QString& value);
    static Answer queryExecuted();
    // "ZIP_RESULT", the 32-character entry name, then a zip archive holding the XML text
    // as the entry named after those characters plus ".xml".
    static Answer zipResult(const QString& entryName, const QByteArray& xml);
};

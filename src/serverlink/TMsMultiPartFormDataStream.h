#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The body of one request to the shop's script: a multipart form built in memory. The
// script parses these bytes itself, so every delimiter and line break is fixed; values go
// out as windows-1251 bytes and are never formatted or escaped ("100%" stays "100%").
class TMsMultiPartFormDataStream {
public:
    // The boundary is made from "now"; the exchange passes its clock so that tests know it.
    explicit TMsMultiPartFormDataStream(const QDateTime& now = QDateTime::currentDateTime());

    const QString& Boundary() const { return m_boundary; }
    const QString& ContentType() const { return m_contentType; }
    bool FirstPart() const { return m_firstPart; }

    void AddField(const QString& name, const QString& value);
    // The part's file name is the path as given; the content is the whole file. Throws
    // TraderError when the file cannot be read.
    void AddFilePart(const QString& fieldName, const QString& filePath, const QString& contentType);
    // The closing delimiter; afterwards the body is read from its first byte.
    void Finish();

    const QByteArray& bytes() const { return m_bytes; }

private:
    QString m_boundary;
    QString m_contentType;
    bool m_firstPart = true;
    QByteArray m_bytes;
};

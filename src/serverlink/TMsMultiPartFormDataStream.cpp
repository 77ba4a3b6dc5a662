#include "TMsMultiPartFormDataStream.h"

#include "Cp1251.h"
#include "TraderError.h"

#include <QFile>

namespace {

const QByteArray CrLf = QByteArrayLiteral("\r\n");

// 27 hyphens and the moment as month, day, two-digit year, hours, minutes, seconds and
// milliseconds: 42 characters.
QString boundaryFor(const QDateTime& now)
{
    return QString(27, QLatin1Char('-')) + now.toString(QStringLiteral("MMddyyHHmmsszzz"));
}

} // namespace

TMsMultiPartFormDataStream::TMsMultiPartFormDataStream(const QDateTime& now)
    : m_boundary(boundaryFor(now))
    , m_contentType(QStringLiteral("multipart/form-data; boundary=") + m_boundary)
{
}

void TMsMultiPartFormDataStream::AddField(const QString& name, const QString& value)
{
    if (!m_firstPart)
        m_bytes += CrLf;
    m_bytes += "--" + Cp1251::encode(m_boundary) + CrLf;
    m_bytes += "Content-Disposition: form-data; name=\"" + Cp1251::encode(name) + '"';
    m_bytes += CrLf + CrLf;
    m_bytes += Cp1251::encode(value);
    m_firstPart = false;
}

void TMsMultiPartFormDataStream::AddFilePart(const QString& fieldName, const QString& filePath,
                                             const QString& contentType)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        throw TraderError(QStringLiteral("Не удалось открыть файл %1").arg(filePath));
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TraderError(QStringLiteral("Не удалось прочитать файл %1").arg(filePath));

    m_bytes += CrLf;
    m_bytes += "--" + Cp1251::encode(m_boundary) + CrLf;
    m_bytes += "Content-Disposition: form-data; name=\"" + Cp1251::encode(fieldName) +
               "\"; filename=\"" + Cp1251::encode(filePath) + '"';
    m_bytes += CrLf;
    m_bytes += "Content-Type: " + Cp1251::encode(contentType) + CrLf + CrLf;
    m_bytes += content;
}

void TMsMultiPartFormDataStream::Finish()
{
    m_bytes += CrLf + "--" + Cp1251::encode(m_boundary) + "--" + CrLf;
    m_firstPart = true;
}

#include "ZipPayload.h"

#include "TraderError.h"

#include <QBuffer>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

namespace ZipPayload {

QByteArray pack(const QString& entryName, const QByteArray& content)
{
    QByteArray archive;
    QBuffer buffer(&archive);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdCreate))
        throw TraderError(QStringLiteral("Не удалось создать архив"));
    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::WriteOnly, QuaZipNewInfo(entryName)) ||
        entry.write(content) != content.size())
        throw TraderError(QStringLiteral("Не удалось записать архив"));
    entry.close();
    zip.close();
    if (zip.getZipError() != 0)
        throw TraderError(QStringLiteral("Не удалось закрыть архив"));
    return archive;
}

std::optional<QByteArray> unpack(const QByteArray& archive, const QString& entryName)
{
    QByteArray copy = archive;
    QBuffer buffer(&copy);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip))
        return std::nullopt;
    if (!zip.setCurrentFile(entryName))
        return std::nullopt;
    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray content = entry.readAll();
    entry.close();
    if (entry.getZipError() != 0)
        return std::nullopt;
    return content;
}

} // namespace ZipPayload

#include "ZipPayload.h"

#include "TraderError.h"

#include <QFile>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>
#include <quazip/quazipnewinfo.h>

#include <zlib.h>

namespace ZipPayload {

namespace {

constexpr quint32 WindowsArchiveAttribute = 0x20;

[[noreturn]] void cannotWrite(const QString& path)
{
    throw TraderError(QStringLiteral("Не удалось записать файл %1").arg(path));
}

} // namespace

void writeSingleEntry(const QString& archivePath, const QString& entryName,
                      const QByteArray& content)
{
    if (QFile::exists(archivePath) && !QFile::remove(archivePath))
        cannotWrite(archivePath);
    QuaZip zip(archivePath);
    if (!zip.open(QuaZip::mdCreate))
        cannotWrite(archivePath);
    QuaZipNewInfo info(entryName);
    info.externalAttr = WindowsArchiveAttribute;
    QuaZipFile entry(&zip);
    bool ok = entry.open(QIODevice::WriteOnly, info, nullptr, 0, Z_DEFLATED, Z_DEFAULT_COMPRESSION);
    if (ok) {
        ok = entry.write(content) == content.size();
        entry.close();
        ok = ok && entry.getZipError() == ZIP_OK;
    }
    zip.close();
    if (!ok || zip.getZipError() != ZIP_OK)
        cannotWrite(archivePath);
}

std::optional<QByteArray> readEntry(const QString& archivePath, const QString& entryName,
                                    qint64 limit)
{
    QuaZip zip(archivePath);
    if (!zip.open(QuaZip::mdUnzip))
        return std::nullopt;
    if (!zip.setCurrentFile(entryName, QuaZip::csInsensitive))
        return std::nullopt;
    QuaZipFileInfo64 info;
    if (!zip.getCurrentFileInfo(&info) || info.uncompressedSize > quint64(limit))
        return std::nullopt;

    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray data;
    data.reserve(qsizetype(qMin<quint64>(info.uncompressedSize, 16 << 20)));
    char chunk[64 * 1024];
    for (;;) {
        const qint64 n = entry.read(chunk, sizeof chunk);
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        // The header's size is checked above; this holds against one that lies.
        if (data.size() + n > limit)
            return std::nullopt;
        data.append(chunk, qsizetype(n));
    }
    entry.close();
    if (entry.getZipError() != UNZ_OK)
        return std::nullopt; // a wrong checksum shows here
    return data;
}

} // namespace ZipPayload

#include "ZipPayload.h"

#include "TraderError.h"

#include <QBuffer>
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

std::optional<QByteArray> readEntry(const QByteArray& archive, const QString& entryName,
                                    qint64 limit)
{
    QBuffer device;
    device.setData(archive);
    QuaZip zip(&device);
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
    // Inflated straight into its place, in steps, so that a header claiming a huge size
    // reserves no more than the data fills; one byte more shows a header claiming too little.
    const qint64 size = qint64(info.uncompressedSize);
    QByteArray data;
    qint64 filled = 0;
    while (filled < size) {
        if (filled == data.size())
            data.resize(qsizetype(qMin(size, qMax<qint64>(2 * filled, 16 << 20))));
        const qint64 n = entry.read(data.data() + filled, data.size() - filled);
        if (n <= 0)
            return std::nullopt;
        filled += n;
    }
    char extra;
    if (entry.read(&extra, 1) != 0)
        return std::nullopt;
    entry.close();
    if (entry.getZipError() != UNZ_OK)
        return std::nullopt; // a wrong checksum shows here
    return data;
}

} // namespace ZipPayload

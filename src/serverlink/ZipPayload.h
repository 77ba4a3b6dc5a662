#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The zip archives of the exchange: the one-entry archive a text payload travels in, and
// the entry of a zipped answer.
namespace ZipPayload {

// No answer entry may inflate past this: a larger one is treated as a damaged archive.
constexpr qint64 MaxEntrySize = qint64(1) << 30;

// Replaces `archivePath` with an archive holding `content` as its one entry `entryName`
// (deflate, normal level, archive attribute). Throws TraderError when it cannot be written.
void writeSingleEntry(const QString& archivePath, const QString& entryName,
                      const QByteArray& content);

// The bytes of `entryName` (letter case ignored) in `archive`, or nothing when it is no
// archive, the entry is missing or damaged, or it would inflate past `limit` bytes.
std::optional<QByteArray> readEntry(const QByteArray& archive, const QString& entryName,
                                    qint64 limit = MaxEntrySize);

} // namespace ZipPayload

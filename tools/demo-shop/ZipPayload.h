#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Zip archives with one named entry, held in memory.
namespace ZipPayload {

QByteArray pack(const QString& entryName, const QByteArray& content);
// The entry's bytes; nothing when the data is no zip archive or lacks the entry.
std::optional<QByteArray> unpack(const QByteArray& archive, const QString& entryName);

} // namespace ZipPayload

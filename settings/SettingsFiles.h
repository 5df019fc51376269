// Reading and writing settings files on disk. Writes are atomic: the bytes
// go to a temporary file in the same folder, which replaces the old file
// only once it is complete, so a failed write leaves the old file as it was.
#pragma once

#include <QByteArray>
#include <QString>

// Writes `bytes` to `path`; on failure `reason` says why.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString& reason);

// Reads the whole file, up to `maxSize` bytes; on failure (missing,
// unreadable, a folder, a pipe or device, larger than maxSize) `reason`
// says why.
bool readWholeFile(const QString& path, qint64 maxSize, QByteArray& bytes, QString& reason);

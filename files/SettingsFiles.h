// Writing files on disk: the plug-in's settings files and autosaves, and
// the stand-in host's projects. Usually a write is atomic: the bytes go to
// a temporary file in the same folder, which replaces the old file only
// once every byte is known to be on disk, so a failed write (a full disk
// included) leaves the old file as it was and no temporary file behind. The
// temporary file of a save that was cut off (the program killed) is removed
// by the next save of the same file. A temporary name that would be too long
// for the folder is made from the start of the file's name.
//
// Links are followed to the end of their chain. Only a regular file is ever
// replaced: a device or a pipe is written into (a link to /dev/null switches
// a file off), a pipe without a reader is refused rather than waited for; a
// device or a pipe that takes only part of the bytes has taken that part. A
// file nobody may write (0444) is refused, also for an administrator. The
// replacement keeps the old file's permissions, owner and group; where a new
// file cannot take them (a file shared with other users), or no new file may
// be made in the folder, the old file is written where it is, which cannot
// be atomic: its bytes are made in memory first and the room for them
// claimed before the first is written, so that only a disk failing during
// those writes (or the program killed) leaves it changed, and the writer
// says so. A file of several names (hard links) is not written where it is,
// which would change them all.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

#include <sys/types.h>

// Writes `bytes` to `path`; on failure `reason` says why, and `changed` (when
// given) whether the previous file is changed all the same: only when the
// disk failed while it was written over where it is.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString& reason, bool* changed = nullptr);

// Takes one piece of a file's bytes; false once the file takes no more.
using FilePiece = std::function<bool(const char* data, qint64 size)>;
// Hands a file's bytes, piece by piece, to `put`, and stops when it returns
// false; returns whether every piece was taken.
using FileContents = std::function<bool(const FilePiece& put)>;
// The same for bytes made as they are written, so that a large file never
// exists in memory all at once (but for one written where it is).
// Contents that stop of their own accord are a failure.
bool writeFileAtomically(const QString& path, const FileContents& contents, QString& reason,
                         bool* changed = nullptr);

// Copies the regular file `from` to `to` as writeFileAtomically writes a
// file; a new `to` takes the permissions of `from` (less the umask). On
// failure `reason` says why, a failure to read `from` included.
bool copyFileAtomically(const QString& from, const QString& to, QString& reason);

// Renames `path` (a link itself, not what it names) to `aside`, a new name
// in its folder that the next save of `path` removes once this process is
// gone; true with `aside` empty when nothing has that name, false with
// `reason` when it is a folder (never set aside) or cannot be renamed.
bool setFileAside(const QString& path, QString& aside, QString& reason);

// The file that `path` finally names, its links followed one after the
// other (the path itself when it is no link, whether or not it exists);
// false with `reason` when they lead round in a circle or cannot be read.
bool finalFileName(const QString& path, QString& target, QString& reason);

// The system calls the writer makes, in the order it makes them. Tests put
// failing ones in their place; each returns what its system call returns
// and sets errno on failure.
struct FileWriteCalls
{
    ssize_t (*write)(int fd, const void* data, size_t size);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
    // posix_fallocate, which claims the room of a file written where it is
    // (before its first write); nullptr: the system's.
    int (*claim)(int fd, off_t offset, off_t length) = nullptr;
};
// Replaces the calls in use; setFileWriteCalls(nullptr) restores the
// system's.
void setFileWriteCalls(const FileWriteCalls* calls);

// Reads the whole file, up to `maxSize` bytes; on failure (missing,
// unreadable, a folder, a pipe or device, larger than maxSize) `reason`
// says why.
bool readWholeFile(const QString& path, qint64 maxSize, QByteArray& bytes, QString& reason);

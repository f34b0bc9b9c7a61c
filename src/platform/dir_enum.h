#pragma once
// Reading folders fast, and file names as the file system holds them.
//
// A Linux file name is a string of bytes, not necessarily valid UTF-8. The program keeps names
// as QString, so a name is decoded as UTF-8 where it is valid and each byte of an invalid
// sequence becomes the lone surrogate U+DC00 + byte; encoding turns those back into the same
// bytes. Every name a folder holds thus survives the round trip and the path found opens again
// (Qt's own QFile::decodeName replaces such bytes by U+FFFD, and the file is lost).

#include <QByteArray>
#include <QString>
#include <atomic>
#include <cstdint>
#include <vector>

namespace platform {

// The name (or path) for file-system bytes, and the bytes for a name; the two round-trip.
QString DecodeFileName(const char* bytes, qsizetype size);
QString DecodeFileName(const QByteArray& bytes);
QByteArray EncodeFileName(const QString& name);

// What a folder entry is, as the entry itself says: a symbolic link is reported as a link,
// whatever it points to.
enum class EntryType : std::uint8_t { File, Folder, Symlink, Other };

struct DirEntry {
  QString Name;
  EntryType Type = EntryType::Other;
};

// Hidden entries are those whose name begins with ".".
inline bool IsHiddenName(const QString& name) {
  return !name.isEmpty() && name.front() == QLatin1Char('.');
}

// Appends the entries of `folder` other than "." and "..", in the order the file system gives
// them, to `entries`. The type comes from the directory itself where the file system records
// it; only the others cost a look at the entry. When `stop` is given and becomes set, reading
// ends after the entry at hand. False when the folder cannot be opened.
bool ReadFolder(const QString& folder, std::vector<DirEntry>& entries,
                const std::atomic<bool>* stop = nullptr);

// What a path names after following every symbolic link.
enum class PathKind : std::uint8_t { None, File, Folder, Other };
PathKind KindOfPath(const QString& path);

// Whether the path itself is a symbolic link (dangling or not).
bool IsLinkPath(const QString& path);

// The absolute path without symbolic links, "." or ".." components; empty when the path, or a
// link on the way, does not lead to an existing entry (also for a link loop).
QString CanonicalPath(const QString& path);

}  // namespace platform

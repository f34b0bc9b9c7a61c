#pragma once
// Whole-file input and output and the few file-system facts the program asks for.

#include <QByteArray>
#include <QString>
#include <cstddef>

namespace platform {

// Largest file the program reads into memory in one piece. Sizes are kept in 32-bit signed
// integers by the byte buffer, so a larger file is refused instead of overflowing them.
inline constexpr qint64 kMaxWholeFileSize = 0x7FFFFFFF;

// Reads the whole file. False when it cannot be opened, is larger than kMaxWholeFileSize, or
// cannot be read completely; `out` is then untouched.
bool ReadWholeFile(const QString& path, QByteArray& out);

// Writes `size` bytes as the whole new contents of `path`. The bytes go to a temporary file in
// the same folder, which is then renamed over the target: a crash, a kill or a full disk leaves
// either the old file or the new one, never a truncated one. False (old file whole) on failure.
bool WriteWholeFile(const QString& path, const char* data, qint64 size);
inline bool WriteWholeFile(const QString& path, const QByteArray& data) {
  return WriteWholeFile(path, data.constData(), data.size());
}

// True only for an existing file (or a link to one); false for folders and missing paths.
bool FileExists(const QString& path);
// True for an existing folder (or a link to one).
bool DirectoryExists(const QString& path);
// Creates the folder and every missing parent. True when the folder exists afterwards.
bool ForceDirectories(const QString& path);
// True when the path itself is a symbolic link (dangling or not).
bool IsSymbolicLink(const QString& path);
// The final target of a symbolic link, or the empty text when it dangles or is not a link.
QString ResolveSymbolicLink(const QString& path);
// Folder of the running executable, without a trailing separator.
QString ExecutableFolder();

}  // namespace platform

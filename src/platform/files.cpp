#include "platform/files.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace platform {

bool ReadWholeFile(const QString& path, QByteArray& out) {
  // Only regular files: opening a FIFO would wait for a writer and freeze the window, and a
  // device has no length to read.
  struct stat info;
  if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
    return false;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const qint64 length = file.size();
  if (length < 0 || length > kMaxWholeFileSize) return false;
  QByteArray bytes;
  try {
    bytes.resize(length);
  } catch (const std::bad_alloc&) {
    return false;
  }
  qint64 done = 0;
  while (done < length) {
    const qint64 got = file.read(bytes.data() + done, length - done);
    if (got <= 0) return false;
    done += got;
  }
  out = std::move(bytes);
  return true;
}

bool WriteWholeFile(const QString& path, const char* data, qint64 size) {
  if (size < 0 || (size > 0 && data == nullptr)) return false;
  QSaveFile file(path);
  // Writing straight into the target when the folder forbids a temporary file would defeat the
  // point of the temporary file; refuse instead.
  file.setDirectWriteFallback(false);
  if (!file.open(QIODevice::WriteOnly)) return false;
  qint64 done = 0;
  while (done < size) {
    const qint64 wrote = file.write(data + done, size - done);
    if (wrote <= 0) {
      file.cancelWriting();
      return false;
    }
    done += wrote;
  }
  return file.commit();
}

bool FileExists(const QString& path) {
  if (path.isEmpty()) return false;
  const QFileInfo info(path);
  return info.exists() && !info.isDir();
}

bool DirectoryExists(const QString& path) {
  if (path.isEmpty()) return false;
  return QFileInfo(path).isDir();
}

bool ForceDirectories(const QString& path) {
  if (path.isEmpty()) return false;
  if (DirectoryExists(path)) return true;
  return QDir().mkpath(path) && DirectoryExists(path);
}

bool IsSymbolicLink(const QString& path) { return QFileInfo(path).isSymLink(); }

QString ResolveSymbolicLink(const QString& path) {
  const QFileInfo info(path);
  if (!info.isSymLink()) return QString();
  const QString target = info.canonicalFilePath();  // empty when the chain dangles or loops
  return target;
}

QString ExecutableFolder() { return QCoreApplication::applicationDirPath(); }

}  // namespace platform

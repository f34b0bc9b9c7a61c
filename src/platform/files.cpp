#include "platform/files.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "platform/dir_enum.h"

namespace platform {

bool ReadWholeFile(const QString& path, QByteArray& out) {
  // Opened by its bytes, so that a name holding bytes that are not UTF-8 (kept as they were by
  // the folder scan) still opens. Only regular files: opening a FIFO would wait for a writer
  // and freeze the window, and a device has no length to read.
  const QByteArray name = EncodeFileName(path);
  const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxWholeFileSize) {
    ::close(fd);
    return false;
  }
  QByteArray bytes;
  try {
    bytes.resize(static_cast<qsizetype>(info.st_size));
  } catch (const std::bad_alloc&) {
    ::close(fd);
    return false;
  }
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += got;
  }
  ::close(fd);
  if (done != bytes.size()) return false;
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

namespace {
// The file-system facts of a path by its bytes; follows links.
bool StatPath(const QString& path, struct stat& info) {
  return !path.isEmpty() && ::stat(EncodeFileName(path).constData(), &info) == 0;
}
}  // namespace

bool FileExists(const QString& path) {
  struct stat info;
  return StatPath(path, info) && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const QString& path) {
  struct stat info;
  return StatPath(path, info) && S_ISDIR(info.st_mode);
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

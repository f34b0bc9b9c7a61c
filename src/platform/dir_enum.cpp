#include "platform/dir_enum.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // U+DC80..U+DCFF stand for the bytes 0x80..0xFF

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence at s[0], or 0 when it is not valid: overlong forms,
// encoded surrogates and code points beyond U+10FFFF are invalid, as the standard says.
int ValidSequenceLength(const unsigned char* s, qsizetype left) {
  const unsigned char b = s[0];
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) return left >= 2 && IsContinuation(s[1]) ? 2 : 0;
  if (b >= 0xE0 && b <= 0xEF) {
    if (left < 3 || !IsContinuation(s[2])) return 0;
    const unsigned char lo = b == 0xE0 ? 0xA0 : 0x80;
    const unsigned char hi = b == 0xED ? 0x9F : 0xBF;
    return s[1] >= lo && s[1] <= hi ? 3 : 0;
  }
  if (b >= 0xF0 && b <= 0xF4) {
    if (left < 4 || !IsContinuation(s[2]) || !IsContinuation(s[3])) return 0;
    const unsigned char lo = b == 0xF0 ? 0x90 : 0x80;
    const unsigned char hi = b == 0xF4 ? 0x8F : 0xBF;
    return s[1] >= lo && s[1] <= hi ? 4 : 0;
  }
  return 0;
}

void AppendCodePoint(QString& out, char32_t cp) {
  if (cp < 0x10000) {
    out.append(QChar(static_cast<char16_t>(cp)));
  } else {
    cp -= 0x10000;
    out.append(QChar(static_cast<char16_t>(0xD800 + (cp >> 10))));
    out.append(QChar(static_cast<char16_t>(0xDC00 + (cp & 0x3FF))));
  }
}

void AppendUtf8(QByteArray& out, char32_t cp) {
  if (cp < 0x80) {
    out.append(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.append(static_cast<char>(0xC0 | (cp >> 6)));
    out.append(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.append(static_cast<char>(0xE0 | (cp >> 12)));
    out.append(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.append(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.append(static_cast<char>(0xF0 | (cp >> 18)));
    out.append(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.append(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.append(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

EntryType TypeFromMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryType::File;
  if (S_ISDIR(mode)) return EntryType::Folder;
  if (S_ISLNK(mode)) return EntryType::Symlink;
  return EntryType::Other;
}

}  // namespace

QString DecodeFileName(const char* bytes, qsizetype size) {
  const auto* s = reinterpret_cast<const unsigned char*>(bytes);
  qsizetype i = 0;
  while (i < size && s[i] < 0x80) ++i;
  // Most names are plain ASCII; the rest are usually valid UTF-8 throughout.
  if (i == size) return QString::fromLatin1(bytes, size);
  QString out;
  out.reserve(size);
  out.append(QLatin1String(bytes, i));
  while (i < size) {
    const int n = ValidSequenceLength(s + i, size - i);
    if (n == 0) {
      out.append(QChar(static_cast<char16_t>(kEscapeBase + s[i])));
      ++i;
      continue;
    }
    char32_t cp;
    switch (n) {
      case 1:
        cp = s[i];
        break;
      case 2:
        cp = ((s[i] & 0x1F) << 6) | (s[i + 1] & 0x3F);
        break;
      case 3:
        cp = ((s[i] & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
        break;
      default:
        cp = ((s[i] & 0x07) << 18) | ((s[i + 1] & 0x3F) << 12) | ((s[i + 2] & 0x3F) << 6) |
             (s[i + 3] & 0x3F);
        break;
    }
    AppendCodePoint(out, cp);
    i += n;
  }
  return out;
}

QString DecodeFileName(const QByteArray& bytes) {
  return DecodeFileName(bytes.constData(), bytes.size());
}

QByteArray EncodeFileName(const QString& name) {
  const char16_t* s = reinterpret_cast<const char16_t*>(name.utf16());
  const qsizetype n = name.size();
  bool surrogates = false;
  for (qsizetype i = 0; i < n && !surrogates; ++i) surrogates = QChar::isSurrogate(s[i]);
  if (!surrogates) return name.toUtf8();
  QByteArray out;
  out.reserve(n * 3);
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = s[i];
    if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
      AppendUtf8(out, QChar::surrogateToUcs4(c, s[i + 1]));
      ++i;
    } else if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
      out.append(static_cast<char>(c - kEscapeBase));
    } else if (QChar::isSurrogate(c)) {
      AppendUtf8(out, 0xFFFD);  // a lone surrogate no decoded name holds
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

bool ReadFolder(const QString& folder, std::vector<DirEntry>& entries,
                const std::atomic<bool>* stop) {
  DIR* dir = ::opendir(EncodeFileName(folder).constData());
  if (!dir) return false;
  const int fd = ::dirfd(dir);
  while (const dirent* e = ::readdir(dir)) {
    const char* name = e->d_name;
    if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
    EntryType type;
    switch (e->d_type) {
      case DT_REG:
        type = EntryType::File;
        break;
      case DT_DIR:
        type = EntryType::Folder;
        break;
      case DT_LNK:
        type = EntryType::Symlink;
        break;
      case DT_UNKNOWN: {
        struct stat st;
        type = ::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 ? TypeFromMode(st.st_mode)
                                                                  : EntryType::Other;
        break;
      }
      default:
        type = EntryType::Other;
        break;
    }
    entries.push_back({DecodeFileName(name, static_cast<qsizetype>(std::strlen(name))), type});
    if (stop && stop->load(std::memory_order_relaxed)) break;
  }
  ::closedir(dir);
  return true;
}

PathKind KindOfPath(const QString& path) {
  if (path.isEmpty()) return PathKind::None;
  struct stat st;
  if (::stat(EncodeFileName(path).constData(), &st) != 0) return PathKind::None;
  if (S_ISREG(st.st_mode)) return PathKind::File;
  if (S_ISDIR(st.st_mode)) return PathKind::Folder;
  return PathKind::Other;
}

bool IsLinkPath(const QString& path) {
  if (path.isEmpty()) return false;
  struct stat st;
  return ::lstat(EncodeFileName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

QString CanonicalPath(const QString& path) {
  if (path.isEmpty()) return QString();
  char* resolved = ::realpath(EncodeFileName(path).constData(), nullptr);
  if (!resolved) return QString();
  const QString result = DecodeFileName(resolved, static_cast<qsizetype>(std::strlen(resolved)));
  std::free(resolved);
  return result;
}

}  // namespace platform

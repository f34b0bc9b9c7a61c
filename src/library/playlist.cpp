#include "library/playlist.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStringView>
#include <algorithm>
#include <climits>
#include <limits>
#include <vector>

#include "platform/files.h"
#include "settings/settings.h"
#include "text/stock.h"
#include "text/text_lines.h"

namespace {

constexpr QChar kSlash = u'/';
constexpr QChar kBackslash = u'\\';

// The longest path the kernel accepts in a file-system call, in bytes without the final zero.
// A longer path names no file that could be opened by it, so it is not even looked up: a
// playlist of very long lines then costs no system call per line.
constexpr qsizetype kMaxPathBytes = PATH_MAX - 1;

// Whether the UTF-8 form of `path` (the form file-system calls take) is too long to name a
// file. Counted low: an unpaired surrogate counts as one byte, so no path that could name a
// file is ever refused.
bool TooLongForFileSystem(const QString& path) {
  if (path.size() > kMaxPathBytes) return true;
  qsizetype bytes = 0;
  for (const QChar c : path) {
    const char16_t u = c.unicode();
    bytes += u < 0x80 ? 1 : u < 0x800 ? 2 : (u >= 0xD800 && u <= 0xDFFF) ? 1 : 3;
  }
  // A surrogate pair is four bytes in UTF-8; counting it as two keeps the count low.
  return bytes > kMaxPathBytes;
}

// Every character of code 32 or less (blanks, tabs, CR, other controls) removed from both ends,
// the trimming the lines themselves get.
QString TrimControls(QStringView text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text[begin].unicode() <= 32) ++begin;
  while (end > begin && text[end - 1].unicode() <= 32) --end;
  return text.mid(begin, end - begin).toString();
}

// An absolute path with its "." and ".." components resolved and empty ones dropped, so that
// "/M/./Album//01.mp3" is "/M/Album/01.mp3" and ".." above the root stays at the root (QDir's
// cleanPath would keep "/../a"). One pass, so a line of thousands of components costs no more
// than its length.
QString NormalizeAbsolutePath(QStringView path) {
  QString out;
  out.reserve(path.size());
  std::vector<qsizetype> starts;  // where each component kept so far begins in `out`
  const qsizetype n = path.size();
  qsizetype i = 0;
  while (i < n) {
    while (i < n && path[i] == kSlash) ++i;
    qsizetype j = i;
    while (j < n && path[j] != kSlash) ++j;
    const QStringView part = path.mid(i, j - i);
    if (part.isEmpty() || part == u".") {
      // nothing to keep
    } else if (part == u"..") {
      if (!starts.empty()) {
        out.truncate(starts.back());
        starts.pop_back();
      }
    } else {
      starts.push_back(out.size());
      out += kSlash;
      out += part;
    }
    i = j;
  }
  if (out.isEmpty()) out = kSlash;
  return out;
}

// The folder a playlist lies in, absolute and normalised.
QString PlaylistFolder(const QString& path) {
  return NormalizeAbsolutePath(QFileInfo(path).absolutePath());
}

// Whether the file name of `path` ends exactly in ".pls": the extension from the last "." of the
// name, case included, so list.PLS is read as M3U.
bool IsPlsPath(const QString& path) { return path.endsWith(QLatin1String(".pls")); }

// The PLS entry key expected next, "file" and the entry number.
QString PlsKey(int number) { return QStringLiteral("file") + QString::number(number); }

// File-existence tests for the lines of one playlist. A folder is looked up once a line in it
// names no file, and remembered: the other lines in a missing folder then cost no look-up, so
// a playlist whose album was moved costs one look-up per folder instead of one per line, and
// lines naming existing files still cost one each.
class CTrackLookup {
 public:
  bool Exists(const QString& path) {
    if (TooLongForFileSystem(path)) return false;
    const qsizetype slash = path.lastIndexOf(kSlash);
    const QString folder = path.left(slash > 0 ? slash : 1);
    const auto known = folders_.constFind(folder);
    if (known != folders_.cend() && !known.value()) return false;
    if (platform::FileExists(path)) return true;
    if (known == folders_.cend()) {
      // Garbage gives a new folder on nearly every line; the memory stays bounded.
      if (folders_.size() >= kMaxFolders) folders_.clear();
      folders_.insert(folder, platform::DirectoryExists(folder));
    }
    return false;
  }

 private:
  static constexpr qsizetype kMaxFolders = 4096;
  QHash<QString, bool> folders_;  // folder -> whether it exists
};

}  // namespace

QString PlaylistLinePath(const QString& folder, const QString& line) {
  QString path = line;
  path.replace(kBackslash, kSlash);
  if (!path.startsWith(kSlash)) path = folder + kSlash + path;
  return NormalizeAbsolutePath(path);
}

bool ReadPlaylist(const QString& path, QStringList& tracks, TextEncoding fallbackEncoding,
                  LineEnding fallbackLineEnding) {
  // Only regular files: reading a FIFO named as a playlist would block until a writer comes,
  // and a device could be read for ever.
  if (!QFileInfo(path).isFile()) return false;

  QStringList lines;
  {
    CStock text(CStock::kTextMode);
    {
      // The file's bytes are let go as soon as they are decoded; a large playlist is then held
      // only once as text and once as lines.
      CStock bytes(CStock::kByteMode);
      if (!bytes.LoadFromFile(path)) return false;
      TextEncoding encoding = fallbackEncoding;
      LineEnding lineEnding = fallbackLineEnding;
      if (!DecodeText(text, bytes, encoding, lineEnding)) return false;
    }
    SplitTextLines(lines, text);
  }

  const bool pls = IsPlsPath(path);
  const QString folder = PlaylistFolder(path);
  const qsizetype before = tracks.size();
  CTrackLookup lookup;
  int entry = 1;  // the PLS entry number expected next
  QString key = PlsKey(entry);
  for (QString& line : lines) {
    QString name;
    if (pls) {
      // Entries are taken in increasing order only; the test is on the start of the key, so
      // File10 counts as File1 when File1 is expected.
      if (!line.startsWith(key, Qt::CaseInsensitive)) continue;
      const qsizetype equals = line.indexOf(u'=') + 1;  // position counted from 1, 0 for none
      // A value of one character, or none, is no entry and does not use up the number.
      if (line.size() - 1 <= equals) continue;
      name = TrimControls(QStringView(line).mid(equals));
      key = PlsKey(++entry);
    } else {
      if (line.size() < 5 || line.startsWith(u'#')) continue;
      name = std::move(line);
    }
    QString full = PlaylistLinePath(folder, name);
    if (lookup.Exists(full)) tracks.append(std::move(full));
  }
  return tracks.size() > before;
}

bool ReadPlaylist(const QString& path, QStringList& tracks, const Settings& settings) {
  return ReadPlaylist(path, tracks, EncodingFromName(settings.m3uCharacterSet),
                      LineEndingFromName(settings.m3uCRCode));
}

QStringList CPlaylistReader::ReadPlaylist(const QString& path) {
  QStringList tracks;
  ::ReadPlaylist(path, tracks, settings_);
  return tracks;
}

QString RelativePlaylistLine(const QString& folder, const QString& track) {
  if (!track.startsWith(kSlash) || !folder.startsWith(kSlash)) return track;
  // Both normalised first: an empty or "." component would otherwise be written as a
  // component of its own and the line would name another file.
  const QStringList base = NormalizeAbsolutePath(folder).split(kSlash, Qt::SkipEmptyParts);
  QStringList parts = NormalizeAbsolutePath(track).split(kSlash, Qt::SkipEmptyParts);
  if (parts.isEmpty()) return track;  // the root itself names no file
  const QString fileName = parts.takeLast();
  qsizetype common = 0;
  while (common < base.size() && common < parts.size() && base[common] == parts[common]) ++common;
  QString line;
  for (qsizetype i = common; i < base.size(); ++i) line += QLatin1String("../");
  for (qsizetype i = common; i < parts.size(); ++i) line += parts[i] + kSlash;
  line += fileName;
  // A line that a reader of this format would skip (a "#" comment, one shorter than five
  // characters) or trim (a leading blank) gets "./" in front, which names the same file.
  while (line.startsWith(u'#') || line.at(0).unicode() <= 32 || line.size() < 5)
    line.prepend(QLatin1String("./"));
  return line;
}

QString ParentPath(const QString& path, int levels) {
  if (levels <= 0) return path;
  QString p = path;
  if (p.endsWith(kSlash)) p.chop(1);
  // The root has no parent: it stays the root, as a drive root does.
  if (p.isEmpty()) return path.isEmpty() ? QString() : QString(kSlash);
  // i counts characters from 1; the first character is never examined, so a walk that has
  // used up every separator after it stops at the root "/".
  qsizetype i = p.size();
  while (i > 1 && levels > 0) {
    if (p.at(i - 1) == kSlash) --levels;
    --i;
  }
  return p.left(i);
}

QString ResolveRelativePath(const QString& base, const QString& relative) {
  if (relative.isEmpty()) return QString();
  QString line = relative;
  line.replace(kBackslash, kSlash);
  if (line.startsWith(kSlash)) return line;
  QString folder = base;
  const qsizetype n = line.size();
  qsizetype i = 0;
  for (;;) {
    if (i >= n) return folder;
    if (line.at(i) == u'.') {
      qsizetype dots = 0;
      while (i < n && line.at(i) == u'.') {
        ++dots;
        ++i;
      }
      // ".." goes one folder up, "..." two; a single "." stays.
      if (dots >= 2)
        folder = ParentPath(folder, static_cast<int>(std::min<qsizetype>(
                                        dots - 1, std::numeric_limits<int>::max())));
    } else if (line.at(i) == kSlash) {
      while (i < n && line.at(i) == kSlash) ++i;
    } else {
      return folder + (folder.endsWith(kSlash) ? QString() : QString(kSlash)) + line.mid(i);
    }
  }
}

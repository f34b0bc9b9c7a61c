#include "library/folder_scan.h"

#include <QCoreApplication>
#include <vector>

#include "library/mask_list.h"
#include "platform/app_events.h"
#include "platform/dir_enum.h"
#include "platform/paths.h"

using platform::DirEntry;
using platform::EntryType;
using platform::PathKind;

namespace {

QString Join(const QString& a, const QString& b) {
  QString r;
  r.reserve(a.size() + b.size() + 1);
  r.append(a).append(b);
  return r;
}

QString WithSlash(const QString& folder) {
  return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// The visited-list key of a folder given with its trailing "/" (the root stays "/").
QString FolderKey(const QString& folderWithSlash) {
  return platform::SamePathKey(folderWithSlash.size() > 1 ? folderWithSlash.chopped(1)
                                                          : folderWithSlash);
}

bool IsEveryName(const QString& mask) {
  return mask == QLatin1String("*") || mask == QLatin1String("*.*");
}

// The target of a link entry, looked up once however many steps ask for it.
struct LinkTarget {
  QString path;
  PathKind kind = PathKind::None;
  bool resolved = false;
};

class Scanner {
 public:
  Scanner(QStringList& results, const QString& mask, const QString& pattern, QSet<QString>& visited,
          const std::atomic<bool>* cancel, const FolderEnteredFn& entered)
      : results_(results),
        mask_(mask),
        everyFile_(IsEveryName(mask)),
        pattern_(pattern),
        everyName_(IsEveryName(pattern)),
        visited_(visited),
        cancel_(cancel),
        entered_(entered) {}

  // `dir` is the folder as the results show it, `realDir` the same folder without links;
  // both end in "/".
  void ScanDir(const QString& dir, const QString& realDir, int depth) {
    if (entered_) entered_(dir);
    if (Cancelled()) return;
    std::vector<DirEntry> entries;
    platform::ReadFolder(dir, entries, cancel_);
    std::vector<LinkTarget> links;

    if (depth != 0 && !Cancelled()) {
      const int below = depth < 0 ? -1 : depth - 1;
      // Real subfolders first, in the order listed; hidden ones are never entered.
      for (const DirEntry& e : entries) {
        if (e.Type == EntryType::Folder && !platform::IsHiddenName(e.Name)) {
          const QString real = Join(realDir, e.Name);
          if (Visit(platform::SamePathKey(real)))
            ScanDir(Join(dir, e.Name) + QLatin1Char('/'), real + QLatin1Char('/'), below);
        }
        if (Cancelled()) break;
      }
      // Then the folders that links lead to, hidden links included.
      for (std::size_t i = 0; i < entries.size() && !Cancelled(); ++i) {
        if (entries[i].Type != EntryType::Symlink) continue;
        const LinkTarget& t = Target(links, entries, dir, i);
        if (t.kind != PathKind::Folder) continue;
        const QString folder = WithSlash(t.path);
        if (Visit(FolderKey(folder))) ScanDir(folder, folder, below);
      }
    }
    if (Cancelled()) return;

    // The folder's own files, hidden ones included.
    for (std::size_t i = 0; i < entries.size() && !Cancelled(); ++i) {
      const DirEntry& e = entries[i];
      if (e.Type != EntryType::File && e.Type != EntryType::Symlink) continue;
      if (!everyName_ && !MatchesMask(e.Name, pattern_)) continue;
      if (e.Type == EntryType::File) {
        if (everyFile_ || MatchesMaskList(e.Name, mask_)) results_.append(Join(dir, e.Name));
        continue;
      }
      // A link to a file stands for its target; links to folders were followed above and
      // dangling links lead nowhere.
      const LinkTarget& t = Target(links, entries, dir, i);
      if (t.kind == PathKind::File && (everyFile_ || MatchesMaskList(t.path, mask_)))
        results_.append(t.path);
    }
  }

  // Marks a folder as scanned; false when it already was.
  bool Visit(const QString& key) {
    const qsizetype before = visited_.size();
    visited_.insert(key);
    return visited_.size() != before;
  }

 private:
  bool Cancelled() const { return cancel_ && cancel_->load(std::memory_order_relaxed); }

  static const LinkTarget& Target(std::vector<LinkTarget>& links,
                                  const std::vector<DirEntry>& entries, const QString& dir,
                                  std::size_t i) {
    if (links.empty()) links.resize(entries.size());
    LinkTarget& t = links[i];
    if (!t.resolved) {
      t.resolved = true;
      t.path = platform::CanonicalPath(Join(dir, entries[i].Name));
      t.kind = platform::KindOfPath(t.path);
    }
    return t;
  }

  QStringList& results_;
  const QString& mask_;
  const bool everyFile_;
  const QString pattern_;
  const bool everyName_;
  QSet<QString>& visited_;
  const std::atomic<bool>* cancel_;
  const FolderEnteredFn& entered_;
};

}  // namespace

QString ResolveShortcut(const QString& path) {
  if (!platform::IsLinkPath(path)) return QString();
  return platform::CanonicalPath(path);
}

void ScanFolder(const QString& path, QStringList& results, const QString& mask, int depth,
                QSet<QString>& visited, const std::atomic<bool>* cancel,
                const FolderEnteredFn& entered) {
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  const QString dir = path.left(slash + 1);
  const QString pattern = path.mid(slash + 1);
  Scanner scanner(results, mask, pattern, visited, cancel, entered);
  // The folder itself counts as scanned, so that a link inside it back to it ends there.
  const QString real = platform::CanonicalPath(dir);
  const QString realDir = real.isEmpty() ? dir : WithSlash(real);
  scanner.Visit(FolderKey(realDir));
  scanner.ScanDir(dir, realDir, depth);
}

void CDirectScanner::Scan(const QString& scanPath, QStringList& results, const QString& mask,
                          int depth) {
  QSet<QString> visited;
  ScanFolder(scanPath, results, mask, depth, visited, nullptr);
}

CProcessThread::CProcessThread(QObject* window) : window_(window) {}

void CProcessThread::run() {
  if (Results) {
    QSet<QString> visited;
    ScanFolder(Path, *Results, Mask, Depth, visited, Cancel, [this](const QString& folder) {
      CurrentFolder = folder;
      emit FolderEntered(folder);
    });
  }
  // The end message waits until the window has handled it, like the label updates.
  QObject* window = window_;
  QMetaObject::invokeMethod(
      window,
      [window] {
        platform::AppEvent ended(platform::AppMessage::ScanEnded);
        QCoreApplication::sendEvent(window, &ended);
      },
      Qt::BlockingQueuedConnection);
}

#pragma once
// The folder scan: the files below a folder that match a mask list, to a given depth, and the
// worker thread that runs it while the progress window is shown.
//
// Shortcuts are symbolic links here. A scan enters real folders as it enumerates them and
// reaches linked folders only through their links, each at most once: every folder entered is
// remembered by its path without links, so a link back to a folder already scanned (a link
// loop, or a second link to the same folder) is not followed again.

#include <QSet>
#include <QString>
#include <QStringList>
#include <QThread>
#include <atomic>
#include <functional>

// The final target of a symbolic link, without links on its way; empty when `path` is not a
// link or the link dangles.
QString ResolveShortcut(const QString& path);

// Called with each folder (ending in "/") as the scan enters it.
using FolderEnteredFn = std::function<void(const QString& folder)>;

// Scans `path`, a folder, a "/" and a name pattern ("*.*" and "*" take every name).
// `depth` is the number of folder levels below it still to enter: 0 reads the folder's own
// files only, -1 every level. Appends to `results`, depth first: the files of the subfolders
// (in the order the file system lists them), then those of the folders reached through links,
// then the folder's own files. A file is taken when its name matches `mask` (a mask list, "*"
// and "*.*" meaning every file); a link to a file is replaced by its target, taken when the
// target's full path matches. Hidden folders (name beginning with ".") are not entered, but
// hidden files are found and links to hidden folders are followed. Only regular files and
// links to them are results: pipes, sockets and devices are not.
// `visited` holds the folders already scanned (paths without links); `cancel`, when set,
// ends the scan after the entry at hand, keeping what was found. Unreadable folders give
// nothing.
void ScanFolder(const QString& path, QStringList& results, const QString& mask, int depth,
                QSet<QString>& visited, const std::atomic<bool>* cancel,
                const FolderEnteredFn& entered = {});

// Runs one folder scan to its end: the program's shows the progress window while a worker
// scans. Nested calls (an open started while a scan runs) must work.
class IFolderScanner {
 public:
  virtual ~IFolderScanner() = default;
  virtual void Scan(const QString& scanPath, QStringList& results, const QString& mask,
                    int depth) = 0;
};

// Scans on the calling thread, without a window: for tools and benchmarks.
class CDirectScanner final : public IFolderScanner {
 public:
  void Scan(const QString& scanPath, QStringList& results, const QString& mask, int depth) override;
};

// The worker of one scan, created for it and started once. It reports each folder entered
// through FolderEntered, which its window connects with a blocking queued connection (the
// worker waits until the label shows the folder), and its end by sending the window the
// ScanEnded message, again waiting until the window has handled it. So the window closes
// before run() returns, and nothing touches the results after that.
class CProcessThread : public QThread {
  Q_OBJECT

 public:
  // `window` receives the end message; it must live until the thread has finished.
  explicit CProcessThread(QObject* window);

  QString CurrentFolder;  // the folder being read
  QString Path;
  QStringList* Results = nullptr;
  QString Mask;
  int Depth = -1;
  const std::atomic<bool>* Cancel = nullptr;

 signals:
  void FolderEntered(const QString& folder);

 protected:
  void run() override;

 private:
  QObject* window_;
};

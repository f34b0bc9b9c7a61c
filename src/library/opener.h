#pragma once
// Opening files and folders: the one way in for opened, dropped, command-line, group and timer
// paths. Folders are expanded by a scan (shown in the progress window), shortcuts (symbolic
// links) are replaced by their targets, and what was found is sorted by kind: playlists and
// file-list files fill the file list, group files the group list and timer files the timer
// list; when none of those were found media files go to the music list, and pictures to the
// album-art copy when there are no media either. The opened paths can be kept in the group
// list, and the settings are written after every open that found something.

#include <QString>
#include <QStringList>
#include <memory>

#include "library/folder_scan.h"
#include "library/group_list.h"
#include "library/open_hooks.h"
#include "timers/timer_list.h"

class CFileMusicLists;
class ISettingsStore;
class QWidget;
struct Settings;

// The kinds of the files an open finds, by the extension of the name (the text from its last
// ".", compared exactly, case included); media and pictures by the masks of the settings.
enum class OpenKind { GroupFile, TimerFile, ListFile, Playlist, Media, Picture, Other };
OpenKind KindOfFoundFile(const QString& path, const Settings& settings);
// The extension of the last component of `path`, from its last "."; empty without one.
QString ExtensionOf(const QString& path);

// The masks of a folder scan: mode 0 takes pictures, playlists, list files and media, mode 1
// media only. Mask lists are joined with ";", so a list whose last mask lacks its ";" still
// keeps that mask.
QString ScanMaskForMode(const Settings& settings, int mode);

// Calls of an open into parts of the program that live elsewhere.
class IOpenerHooks {
 public:
  virtual ~IOpenerHooks() = default;
  // Stops a running search and empties its results and their list box.
  virtual void ClearSearchResults() = 0;
  // Merges the timers of timer files into the timer list: appended, or replacing it.
  virtual void MergeTimers(const TimerList& timers, bool append) = 0;
  // Hands the pictures an open found to the album-art copy (the flag: also as Folder.jpg).
  virtual void CopyPicturesToTrackFolder(const QStringList& pictures, bool copyFolderJpeg) = 0;
  // Shows the file page (MusicTS).
  virtual void ShowFilePage() = 0;
  // The path of the file loaded in the player; empty when none.
  virtual QString PlayerMediaName() = 0;
};

class NoOpenerHooks final : public IOpenerHooks {
 public:
  void ClearSearchResults() override {}
  void MergeTimers(const TimerList&, bool) override {}
  void CopyPicturesToTrackFolder(const QStringList&, bool) override {}
  void ShowFilePage() override {}
  QString PlayerMediaName() override { return QString(); }
};

// One open-file dialog.
struct OpenDialogRequest {
  QString Name;         // OpenFilesDialog, MusicOpenDialog
  QString StartFolder;  // empty: wherever the dialog was last
  QString Filter;       // "Caption|patterns|Caption|patterns"
  bool MultiSelect = true;
  bool Resizable = true;
};

class IOpenDialogs {
 public:
  virtual ~IOpenDialogs() = default;
  // The chosen files; none when the dialog was cancelled.
  virtual QStringList OpenFileNames(const OpenDialogRequest& request) = 0;
};

// The real dialogs: QFileDialog, modal to the window of `anchor`.
class COpenDialogs final : public IOpenDialogs {
 public:
  explicit COpenDialogs(QWidget* anchor) : anchor_(anchor) {}
  QStringList OpenFileNames(const OpenDialogRequest& request) override;

 private:
  QWidget* anchor_;
};

// What a COpener uses; a null pointer means the do-nothing version, except for the dialogs
// (the real ones, anchored to FileLB) and the scanner (a scan on the calling thread, without a
// window: the program gives its TProcessForm). Not owned; they must outlive the opener.
struct OpenerHooks {
  IListTransport* Transport = nullptr;
  IOpenerHooks* Parts = nullptr;
  ISettingsStore* SettingsStore = nullptr;
  IOpenDialogs* Dialogs = nullptr;
  IFolderScanner* Scanner = nullptr;
};

class COpener final : public IPathOpener, public IGroupOpener {
 public:
  // The settings, the lists and the group list must outlive the opener.
  COpener(Settings& settings, CFileMusicLists& lists, CGroupList& groups,
          const OpenerHooks& hooks = {});
  ~COpener() override;

  void SetHooks(const OpenerHooks& hooks);

  // The open operation. Returns 0 when nothing was found, 1 when playlists, file-list files,
  // group files or timer files were opened, 2 when media were added to the music list, 3 when
  // only pictures (or nothing usable) were found. `paths` is changed in place: links are
  // replaced by their targets (dangling ones removed), and with NoAddFolderToGroup the
  // folders are removed before the paths join the group list.
  int OpenPaths(QStringList& paths) override;
  void OpenPaths(const QStringList& paths) override;
  // OpenPaths, then playback by PlayWhenOpen: the open button and a drop.
  void OpenPathsWithAutoPlay(const QStringList& paths) override;
  // The media files among the paths (folders scanned with the media mask) appended to the
  // music list, without a duplicate test.
  void AddMediaToMusicList(const QStringList& paths) override;
  void ShowFilePage() override;

  // Replaces folders by the files found in them (mode 0: every kind, mode 1: media); a .qlt
  // file is read as a file-list file whose entries replace everything collected so far; other
  // paths are passed on unchanged.
  void ExpandPaths(QStringList& out, const QStringList& paths, int mode);
  // Replaces the links among `paths` by their targets; dangling links are removed.
  static void ResolveShortcuts(QStringList& paths);

  // The open button OpenSB and the music-list menu's "メディアを追加(&L)".
  void OpenSBClick();
  void MnMusicAddClick();

  // The dialog filters of the two commands.
  QString OpenFilesFilter() const;
  QString MusicOpenFilter() const;

 private:
  IListTransport& Transport();
  IOpenerHooks& Parts();
  IOpenDialogs& Dialogs();
  IFolderScanner& Scanner();
  void SaveSettings();
  // Appends every path that passes the media mask (full path) to the music list, writes the
  // settings and shows the music list.
  void AppendMedia(const QStringList& files);

  Settings& settings_;
  CFileMusicLists& lists_;
  CGroupList& groups_;
  OpenerHooks hooks_;
  // Set while OpenPathsWithAutoPlay or AddMediaToMusicList runs: a call that finds its marker
  // set (an open started from the events of an open) lets the waiting events run once.
  bool openMarker_ = false;
  bool addMarker_ = false;

  NoListTransport noTransport_;
  NoOpenerHooks noParts_;
  CDirectScanner directScanner_;
  std::unique_ptr<COpenDialogs> dialogs_;
};

#pragma once
// TMainForm: the main window. It owns the program's state for the whole run (the settings, the
// lists, the subsystems) and routes events to them; the work itself lives in the subsystems.
//
// Start-up is split in two so that the progress windows exist before anything can open a
// folder: the constructor builds the window from its design, the entry point then creates the
// scan and transfer windows, and Startup runs the rest (the command line, the ini file, the
// paths to open). Closing the window only minimises it; the tray menu's exit and the end of
// the session shut down in order.

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/main_form_ui.h"
#include "library/group_list.h"
#include "library/open_hooks.h"
#include "library/opener.h"
#include "playback/playback_hooks.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "timers/timer_list.h"

class CFileMusicLists;
class CShellCommands;
class COptionPages;
class CPlaybackFrame;
class CSettingsHost;
class QMimeData;
class TExportForm;
class TMainForm;
class TProcessForm;
namespace platform {
class SessionWatcher;
}

// The subsystems the main window is made of, each behind its interface. Members left empty get
// the version that does nothing until the subsystem exists.
struct MainFormParts {
  std::unique_ptr<ISettingsStore> SettingsStore;
  std::unique_ptr<IPathOpener> Opener;
  std::unique_ptr<IPlaybackFrame> Playback;
  std::unique_ptr<IPlaylistReader> Playlists;
  std::unique_ptr<IListFiles> ListFiles;
  std::unique_ptr<ITextFiles> TextFiles;
  std::unique_ptr<IListDialogs> ListDialogs;  // empty: the real dialogs

  // Parts that reach the window's own state or anchor their dialogs to it are made once the
  // window exists; each is used only when the part above it is empty.
  std::function<std::unique_ptr<ISettingsStore>(TMainForm&)> MakeSettingsStore;
  std::function<std::unique_ptr<IListFiles>(TMainForm&)> MakeListFiles;
  std::function<std::unique_ptr<IPlaylistReader>(TMainForm&)> MakePlaylists;
  std::function<std::unique_ptr<IPathOpener>(TMainForm&)> MakeOpener;
  // The player with its backends, made once the window's components exist.
  std::function<std::unique_ptr<CPlaybackFrame>(TMainForm&)> MakePlayback;
};

// The parts of the real program that exist so far: the ini file, the list files, the text
// files, the playlist reader and playback. The others are left empty.
MainFormParts ProgramParts();

// The question asked at start when the MP3 component is loaded and another output is chosen.
class IStartupQuestions {
 public:
  virtual ~IStartupQuestions() = default;
  virtual bool AskYesNo(const QString& text) = 0;
};

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(MainFormParts parts = {}, QWidget* parent = nullptr);
  ~TMainForm() override;

  // Steps after the design: InitMainWindow, the profile, the MP3 component, the command line,
  // LoadSettings, the page shown, the paths opened, the marks of the current entries, the tray.
  void Startup(const QStringList& arguments);
  void SetProgressWindows(TProcessForm* process, TExportForm* exporter);
  void SetStartupQuestions(IStartupQuestions* questions) { questions_ = questions; }

  void InitMainWindow();
  void FinalizeMainWindow();
  // The tray menu's exit: the one command that really ends the program.
  void ExitTMClick();
  void TrayIconClick();
  void FormShow();
  void FormCloseQuery(bool& canClose);
  void FormKeyDown(int key);
  void FormResize();
  // Files dropped on the window, in the order given: opened, or with Shift held added to the
  // music list. Nothing happens when no local path is among them. True when something was.
  bool DropFiles(const QMimeData* data);
  void Splitter1Moved();
  void Splitter2Moved();
  // Redraws the album art after the panel changed its size. Nothing is drawn until album art
  // is shown.
  void DrawAlbumArt();

  TMainFormUi ui;
  Settings settings;
  bool AllowClose = false;
  // The timers, in the order of the rows of TimerLB.
  ::TimerList TimerList;
  // The audio output device names, in enumeration order.
  QStringList OutputDeviceNames;
  CFileMusicLists* Lists() const { return lists_.get(); }
  CGroupList* Groups() const { return groups_.get(); }
  // What an opener of this window works with: the transport, the settings write, the scan
  // window and the window's own parts.
  OpenerHooks OpenerWiring();
  COptionPages& OptionPages() { return *optionPages_; }
  // The window's side of the ini file.
  CSettingsHost& SettingsHost() { return *settingsHost_; }
  ISettingsStore& SettingsStore() { return *parts_.SettingsStore; }
  IPathOpener& Opener() { return *parts_.Opener; }
  IPlaybackFrame& Playback() { return *parts_.Playback; }
  // The program's own playback frame; null when another one was given.
  CPlaybackFrame* PlaybackFrame() const { return playbackFrame_; }
  TProcessForm* ProcessForm() const { return processForm_; }
  TExportForm* ExportForm() const { return exportForm_; }
  bool Finalized() const { return finalized_; }

 signals:
  // The window has closed through the shutdown; the application may end.
  void ShutDown();

 protected:
  bool event(QEvent* event) override;  // the program's own messages
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void ConnectComponents();
  void AttachPopupMenu(QWidget* listBox, QMenu* menu);
  void EndSession();
  bool AskYesNo(const QString& text);

  MainFormParts parts_;
  // The playback frame when it is the program's own (it then also takes part in the window's
  // initialisation); owned by parts_.Playback.
  CPlaybackFrame* playbackFrame_ = nullptr;
  std::unique_ptr<CFileMusicLists> lists_;
  std::unique_ptr<COptionPages> optionPages_;
  std::unique_ptr<CGroupList> groups_;
  std::unique_ptr<IOpenerHooks> openerParts_;
  std::unique_ptr<CShellCommands> shell_;
  std::unique_ptr<CSettingsHost> settingsHost_;
  platform::SessionWatcher* session_ = nullptr;
  TProcessForm* processForm_ = nullptr;
  TExportForm* exportForm_ = nullptr;
  IStartupQuestions* questions_ = nullptr;
  bool closing_ = false;
  bool finalized_ = false;
};

// Where a window at `window` (its outer frame) goes to lie within `workArea`: moved right and
// down onto the area first, then left and up, so a window larger than the area ends aligned to
// its right and bottom edges.
QPoint KeepInWorkArea(const QRect& window, const QRect& workArea);

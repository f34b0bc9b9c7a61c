#include "app/main_form.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "app/command_line.h"
#include "app/playback_frame.h"
#include "app/settings_host.h"
#include "library/file_music_lists.h"
#include "library/playlist.h"
#include "library/playlist_save.h"
#include "library/process_form.h"
#include "library/shell_commands.h"
#include "platform/app_events.h"
#include "platform/files.h"
#include "platform/keystate.h"
#include "platform/random.h"
#include "platform/session_end.h"
#include "playback/player.h"
#include "settings/list_files.h"
#include "settings/option_pages.h"
#include "settings/settings_file.h"
#include "text/text_lines.h"

namespace {

const QString kDefaultDirectSound = QStringLiteral("Default DirectSound Device");

template <typename T>
std::unique_ptr<T> OrElse(std::unique_ptr<T> given, std::unique_ptr<T> fallback) {
  return given ? std::move(given) : std::move(fallback);
}

OptionControls OptionPageControls(const TMainFormUi& ui) {
  OptionControls c;
  c.EnableAddGroupCB = ui.EnableAddGroupCB;
  c.NoAddFolderToGroupCB = ui.NoAddFolderToGroupCB;
  c.RepeatMode0RB = ui.RepeatMode0RB;
  c.RepeatMode1RB = ui.RepeatMode1RB;
  c.RepeatMode2RB = ui.RepeatMode2RB;
  c.RepeatMode3RB = ui.RepeatMode3RB;
  c.RandomMusicCB = ui.RandomMusicCB;
  c.WhenOpenSortFileRandomCB = ui.WhenOpenSortFileRandomCB;
  c.WhenOpenSelectFileRandomCB = ui.WhenOpenSelectFileRandomCB;
  c.RandomPreviousFileCB = ui.RandomPreviousFileCB;
  c.SearchFileDepthNE = ui.SearchFileDepthNE;
  c.SearchFileDepthAllCB = ui.SearchFileDepthAllCB;
  c.MediaMaskEdit = ui.MediaMaskEdit;
  c.MnMediaMaskDefaultButton = ui.MnMediaMaskDefaultButton;
  c.LoadPreviousFilesCB = ui.LoadPreviousFilesCB;
  c.PlayWhenExecuteCB = ui.PlayWhenExecuteCB;
  c.PlayWhenOpenCB = ui.PlayWhenOpenCB;
  c.EnablePreviousTimerCB = ui.EnablePreviousTimerCB;
  c.ShowFLLvlNE = ui.ShowFLLvlNE;
  c.ShowFLAllCB = ui.ShowFLAllCB;
  c.m3uCharacterSetCB = ui.m3uCharacterSetCB;
  c.m3uCRCodeCB = ui.m3uCRCodeCB;
  c.ExportFolderNE = ui.ExportFolderNE;
  c.ExportCharacterSetCB = ui.ExportCharacterSetCB;
  c.ExportCRCodeCB = ui.ExportCRCodeCB;
  c.ExportOtherExtEdit = ui.ExportOtherExtEdit;
  c.OMExtDefaultButton = ui.OMExtDefaultButton;
  c.CopyFolderJpegCB = ui.CopyFolderJpegCB;
  return c;
}

// Text files read through LoadTextLines, with encoding detection.
class CTextLineFiles final : public ITextFiles {
 public:
  QStringList LoadTextLines(const QString& path) override {
    QStringList lines;
    ::LoadTextLines(lines, path);
    return lines;
  }
};

// The list files with their dialogs modal to the main window.
class CWindowListFiles final : public IListFiles {
 public:
  explicit CWindowListFiles(QWidget* window) : dialogs_(window), files_(dialogs_) {}
  void SaveFileListFile(const QStringList& fileList) override { files_.SaveFileListFile(fileList); }
  QStringList ReadFileBlock(const QStringList& lines) override {
    return files_.ReadFileBlock(lines);
  }

 private:
  CListFileDialogs dialogs_;
  CListFiles files_;
};

// The window's own parts an open reaches: the file page. The search, the timer merge and the
// album-art copy join when they exist; until then they do nothing.
class CWindowOpenerParts final : public IOpenerHooks {
 public:
  explicit CWindowOpenerParts(TMainForm& form) : form_(form) {}
  void ClearSearchResults() override {}
  void MergeTimers(const TimerList&, bool) override {}
  void CopyPicturesToTrackFolder(const QStringList&, bool) override {}
  void ShowFilePage() override { form_.ui.PageControl->setCurrentWidget(form_.ui.MusicTS); }
  QString PlayerMediaName() override {
    CPlaybackFrame* playback = form_.PlaybackFrame();
    return playback ? playback->Player().PlayerMediaName() : QString();
  }

 private:
  TMainForm& form_;
};

}  // namespace

MainFormParts ProgramParts() {
  MainFormParts parts;
  parts.TextFiles = std::make_unique<CTextLineFiles>();
  parts.MakeListFiles = [](TMainForm& form) { return std::make_unique<CWindowListFiles>(&form); };
  parts.MakeSettingsStore = [](TMainForm& form) {
    return std::make_unique<CSettingsFile>(form.SettingsHost());
  };
  parts.MakePlaylists = [](TMainForm& form) {
    return std::make_unique<CPlaylistReader>(form.settings);
  };
  parts.MakeOpener = [](TMainForm& form) -> std::unique_ptr<IPathOpener> {
    return std::make_unique<COpener>(form.settings, *form.Lists(), *form.Groups(),
                                     form.OpenerWiring());
  };
  parts.MakePlayback = [](TMainForm& form) {
    return std::make_unique<CPlaybackFrame>(form, RealPlaybackBackends());
  };
  return parts;
}

QPoint KeepInWorkArea(const QRect& window, const QRect& workArea) {
  int left = window.left();
  int top = window.top();
  if (workArea.left() > left) left = workArea.left();
  if (workArea.top() > top) top = workArea.top();
  // QRect::right() is the last pixel inside; the edge is one beyond it.
  const int areaRight = workArea.left() + workArea.width();
  const int areaBottom = workArea.top() + workArea.height();
  if (left + window.width() > areaRight) left = areaRight - window.width();
  if (top + window.height() > areaBottom) top = areaBottom - window.height();
  return QPoint(left, top);
}

TMainForm::TMainForm(MainFormParts parts, QWidget* parent) : QMainWindow(parent) {
  parts_.Playlists = std::move(parts.Playlists);
  if (!parts_.Playlists && parts.MakePlaylists) parts_.Playlists = parts.MakePlaylists(*this);
  if (!parts_.Playlists) parts_.Playlists = std::make_unique<NoPlaylistReader>();
  parts_.TextFiles =
      OrElse<ITextFiles>(std::move(parts.TextFiles), std::make_unique<NoTextFiles>());
  parts_.ListDialogs = std::move(parts.ListDialogs);

  // The window from its design; the string fields start empty.
  ui.setupUi(this);

  // Playback works on the components, so it comes after them.
  parts_.Playback = std::move(parts.Playback);
  if (!parts_.Playback && parts.MakePlayback) {
    std::unique_ptr<CPlaybackFrame> frame = parts.MakePlayback(*this);
    playbackFrame_ = frame.get();
    parts_.Playback = std::move(frame);
  }
  if (!parts_.Playback) parts_.Playback = std::make_unique<NoPlaybackFrame>();

  parts_.ListFiles = std::move(parts.ListFiles);
  if (!parts_.ListFiles && parts.MakeListFiles) parts_.ListFiles = parts.MakeListFiles(*this);
  if (!parts_.ListFiles) parts_.ListFiles = std::make_unique<NoListFiles>();

  FileListHooks hooks;
  hooks.Transport = parts_.Playback.get();
  hooks.Playlists = parts_.Playlists.get();
  hooks.ListFiles = parts_.ListFiles.get();
  hooks.TextFiles = parts_.TextFiles.get();
  hooks.Dialogs = parts_.ListDialogs.get();
  lists_ = std::make_unique<CFileMusicLists>(settings, ui.FileLB, ui.MusicLB, hooks);
  groups_ = std::make_unique<CGroupList>(settings, ui.GroupLB, ui.TimerCB, lists_.get());

  settingsHost_ = std::make_unique<CSettingsHost>(*this);
  OptionRedraws redraws;
  redraws.ShowFileList = [this] { lists_->ShowFileList(); };
  redraws.ShowGroupList = [this] { settingsHost_->ShowGroupList(); };
  optionPages_ = std::make_unique<COptionPages>(settings, OptionPageControls(ui), redraws);

  parts_.SettingsStore = std::move(parts.SettingsStore);
  if (!parts_.SettingsStore && parts.MakeSettingsStore)
    parts_.SettingsStore = parts.MakeSettingsStore(*this);
  if (!parts_.SettingsStore) parts_.SettingsStore = std::make_unique<NoSettingsStore>();

  openerParts_ = std::make_unique<CWindowOpenerParts>(*this);
  parts_.Opener = std::move(parts.Opener);
  if (!parts_.Opener && parts.MakeOpener) parts_.Opener = parts.MakeOpener(*this);
  if (!parts_.Opener) parts_.Opener = std::make_unique<NoPathOpener>();
  GroupListHooks groupHooks;
  groupHooks.Transport = parts_.Playback.get();
  groupHooks.Opener = dynamic_cast<IGroupOpener*>(parts_.Opener.get());
  groupHooks.Dialogs = parts_.ListDialogs.get();
  groups_->SetHooks(groupHooks);
  shell_ = std::make_unique<CShellCommands>(*lists_, *groups_);

  ConnectComponents();
}

OpenerHooks TMainForm::OpenerWiring() {
  OpenerHooks hooks;
  hooks.Transport = parts_.Playback.get();
  hooks.Parts = openerParts_.get();
  hooks.SettingsStore = parts_.SettingsStore.get();
  hooks.Scanner = processForm_;
  return hooks;
}

TMainForm::~TMainForm() = default;

void TMainForm::SetProgressWindows(TProcessForm* process, TExportForm* exporter) {
  processForm_ = process;
  exportForm_ = exporter;
  // Folder scans run in the scan window from now on.
  if (auto* opener = dynamic_cast<COpener*>(parts_.Opener.get())) opener->SetHooks(OpenerWiring());
}

void TMainForm::ConnectComponents() {
  CFileMusicLists* lists = lists_.get();
  IPlaybackFrame* playback = parts_.Playback.get();

  // The file page.
  AttachPopupMenu(ui.FileLB, ui.FileListPM);
  AttachPopupMenu(ui.MusicLB, ui.MusicListPM);
  AttachPopupMenu(ui.GroupLB, ui.GroupListPM);
  connect(ui.MnFileSelectAll, &QAction::triggered, lists, &CFileMusicLists::MnFileSelectAllClick);
  connect(ui.MnFileDelete, &QAction::triggered, lists, &CFileMusicLists::MnFileDeleteClick);
  connect(ui.MnClear, &QAction::triggered, lists, &CFileMusicLists::MnClearClick);
  connect(ui.MnFileSort, &QAction::triggered, lists, &CFileMusicLists::MnFileSortClick);
  connect(ui.MnFileRandom, &QAction::triggered, lists, &CFileMusicLists::MnFileRandomClick);
  connect(ui.MnFileOpen, &QAction::triggered, lists, &CFileMusicLists::MnFileOpenClick);
  connect(ui.MnFileSave, &QAction::triggered, lists, &CFileMusicLists::MnFileSaveClick);
  connect(ui.MnMusicDelete, &QAction::triggered, lists, &CFileMusicLists::MnMusicDeleteClick);
  connect(ui.MnMusicClear, &QAction::triggered, lists, &CFileMusicLists::MnMusicClearClick);
  connect(ui.MnMusicSortByName, &QAction::triggered, lists,
          &CFileMusicLists::MnMusicSortByNameClick);
  connect(ui.MnMusicRandom, &QAction::triggered, lists, &CFileMusicLists::MnMusicRandomClick);
  connect(ui.MnSavePlayList, &QAction::triggered, this,
          [this] { MnSavePlayListClick(*lists_, settings); });
  connect(ui.FileRandomSB, &QToolButton::clicked, lists, &CFileMusicLists::FileRandomSBClick);
  connect(ui.OpenSB, &QToolButton::clicked, this, [this] {
    if (auto* opener = dynamic_cast<COpener*>(parts_.Opener.get())) opener->OpenSBClick();
  });
  connect(ui.MnMusicAdd, &QAction::triggered, this, [this] {
    if (auto* opener = dynamic_cast<COpener*>(parts_.Opener.get())) opener->MnMusicAddClick();
  });

  // The group page.
  CGroupList* groups = groups_.get();
  connect(ui.MnGroupSelectAll, &QAction::triggered, groups, &CGroupList::MnGroupSelectAllClick);
  connect(ui.MnGroupDelete, &QAction::triggered, groups, &CGroupList::MnGroupDeleteClick);
  connect(ui.MnGroupClear, &QAction::triggered, groups, &CGroupList::MnGroupClearClick);
  connect(ui.MnGroupSort, &QAction::triggered, groups, &CGroupList::MnGroupSortClick);
  connect(ui.MnGroupOpen, &QAction::triggered, groups, &CGroupList::MnGroupOpenClick);
  connect(ui.MnGroupSave, &QAction::triggered, groups, &CGroupList::MnGroupSaveClick);
  connect(ui.ClearGroupButton, &QPushButton::clicked, groups, &CGroupList::ClearGroupButtonClick);
  connect(ui.LoadGroupButton, &QPushButton::clicked, groups, &CGroupList::LoadGroupButtonClick);
  connect(ui.SaveGroupButton, &QPushButton::clicked, groups, &CGroupList::SaveGroupButtonClick);

  // Copying names and showing items in the file manager.
  CShellCommands* shell = shell_.get();
  connect(ui.MnFileCopy, &QAction::triggered, this, [shell] { shell->MnFileCopyClick(); });
  connect(ui.MnFileExplorerOpen, &QAction::triggered, this,
          [shell] { shell->MnFileExplorerOpenClick(); });
  connect(ui.MnMusicCopy, &QAction::triggered, this, [shell] { shell->MnMusicCopyClick(); });
  connect(ui.MnMusicOpenExplorer, &QAction::triggered, this,
          [shell] { shell->MnMusicOpenExplorerClick(); });
  connect(ui.MnGroupCopy, &QAction::triggered, this, [shell] { shell->MnGroupCopyClick(); });
  connect(ui.MnGroupExplorerOpen, &QAction::triggered, this,
          [shell] { shell->MnGroupExplorerOpenClick(); });
  connect(ui.MusicRandomSB, &QToolButton::clicked, lists, &CFileMusicLists::MusicRandomSBClick);
  connect(ui.SaveSB, &QToolButton::clicked, lists, &CFileMusicLists::SaveSBClick);

  // The transport bar and the tray menu.
  connect(ui.PlayPauseSB, &QToolButton::clicked, this,
          [playback] { playback->PlayPauseSBClick(); });
  connect(ui.StopSB, &QToolButton::clicked, this, [playback] { playback->StopTrack(); });
  connect(ui.PreviousTrackSB, &QToolButton::clicked, this,
          [playback] { playback->PreviousTrackSBClick(); });
  connect(ui.NextTrackSB, &QToolButton::clicked, this,
          [playback] { playback->NextTrackSBClick(); });
  connect(ui.PlayPausePM, &QAction::triggered, this, [playback] { playback->PlayPauseSBClick(); });
  connect(ui.StopTM, &QAction::triggered, this, [playback] { playback->StopTrack(); });
  connect(ui.PreviousTM, &QAction::triggered, this,
          [playback] { playback->PreviousTrackSBClick(); });
  connect(ui.NextTM, &QAction::triggered, this, [playback] { playback->NextTrackSBClick(); });
  connect(ui.PreviousAlbumTM, &QAction::triggered, this,
          [playback] { playback->PreviousAlbumTMClick(); });
  connect(ui.NextAlbumTM, &QAction::triggered, this, [playback] { playback->NextAlbumTMClick(); });
  connect(ui.ExitTM, &QAction::triggered, this, &TMainForm::ExitTMClick);
  connect(ui.TrayIcon, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
              TrayIconClick();
          });

  // The global timer switch; the scheduler's part of it comes with the scheduler.
  connect(ui.TimerSB, &QToolButton::clicked, this, [this] { settingsHost_->TimerSBClick(); });

  // The splitters change the album-art panel's size.
  connect(ui.Splitter1, &QSplitter::splitterMoved, this, &TMainForm::Splitter1Moved);
  connect(ui.Splitter2, &QSplitter::splitterMoved, this, &TMainForm::Splitter2Moved);

  // Focus follows the mouse: entering the volume bar or the file list, and moving over the
  // music list or the group list, gives that control the keyboard focus, so that the wheel
  // reaches what is under the pointer.
  ui.VolumePanel->installEventFilter(this);
  ui.FileLB->installEventFilter(this);
  for (QListWidget* list : {ui.MusicLB, ui.GroupLB}) {
    list->viewport()->setMouseTracking(true);
    list->viewport()->installEventFilter(this);
  }
}

void TMainForm::AttachPopupMenu(QWidget* listBox, QMenu* menu) {
  listBox->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(listBox, &QWidget::customContextMenuRequested, this, [listBox, menu](const QPoint& at) {
    QPoint where = at;
    if (auto* view = qobject_cast<QAbstractScrollArea*>(listBox))
      where = view->viewport()->mapToGlobal(at);
    else
      where = listBox->mapToGlobal(at);
    menu->popup(where);
  });
}

void TMainForm::Startup(const QStringList& arguments) {
  InitMainWindow();
  settings.AppName = QStringLiteral("quomm3u");
  settings.AppDataDir = QStringLiteral("/quomm3u");

  // The MP3 component is used only when it lies beside the program.
  parts_.Playback->LoadMp3Library(platform::ExecutableFolder());

  QStringList paths = ReadCommandLine(arguments, settings.AppName);

  parts_.SettingsStore->LoadSettings(settings.AppName);

  // The MP3 component plays on the sound server's default output only; offer to make that the
  // output of everything else too. Only the setting changes, so the new device is used from
  // the next start on.
  if (parts_.Playback->Mp3LibraryLoaded() && settings.OutputDeviceName != kDefaultDirectSound) {
    if (AskYesNo(QStringLiteral("libvbmp3.so が読み込まれています。\n"
                                "出力を Default DirectSound Device に切り替えますか？")))
      settings.OutputDeviceName = kDefaultDirectSound;
  }

  ui.PageControl->setCurrentWidget(settings.LoadPreviousFiles ? ui.MusicTS : ui.GroupTS);

  if (!paths.isEmpty()) parts_.Opener->OpenPaths(paths);
  lists_->HighlightCurrent();

  ui.TrayIcon->setToolTip(QString());
  ui.TrayIcon->show();
}

void TMainForm::InitMainWindow() {
  platform::SeedRandomFromClock();
  lists_->FileIndex = -1;
  lists_->MusicIndex = -1;
  settings = Settings{};
  settings.DisplayLevel = ComputeDisplayLevel(settings);
  setAcceptDrops(true);
  session_ = new platform::SessionWatcher(this);
  connect(session_, &platform::SessionWatcher::SessionEnding, this, &TMainForm::EndSession);
  connect(session_, &platform::SessionWatcher::Resumed, this,
          [this] { parts_.Playback->PlayerReopen(); });
  // The GStreamer backend starts with this window as the receiver of its messages, and the
  // output devices are read before the settings choose one.
  if (playbackFrame_) playbackFrame_->InitMainWindow();
  if (ui.ExportCharacterSetCB->count() > 0) ui.ExportCharacterSetCB->setCurrentIndex(0);
  if (ui.ExportCRCodeCB->count() > 0) ui.ExportCRCodeCB->setCurrentIndex(0);
  AllowClose = false;
}

bool TMainForm::AskYesNo(const QString& text) {
  if (questions_) return questions_->AskYesNo(text);
  return QMessageBox::question(this, QApplication::applicationName(), text,
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TMainForm::EndSession() {
  AllowClose = true;
  // A modal box or a scan window may be waiting (the start-up question, a folder scan): close
  // it first, which answers No or cancels the scan, and shut down once its loop has returned,
  // so that no dialog is left waiting for a user who has gone.
  if (QWidget* modal = QApplication::activeModalWidget()) {
    modal->close();
    QTimer::singleShot(0, this, &TMainForm::EndSession);
    return;
  }
  close();
}

void TMainForm::ExitTMClick() {
  AllowClose = true;
  close();
}

void TMainForm::TrayIconClick() {
  show();
  showNormal();
  raise();
  activateWindow();
}

void TMainForm::FormShow() {
  const QScreen* where = screen();
  if (!where) return;
  const QPoint target = KeepInWorkArea(frameGeometry(), where->availableGeometry());
  if (target != frameGeometry().topLeft()) move(target);
}

void TMainForm::FormCloseQuery(bool& canClose) {
  if (!AllowClose) {
    // The close button only minimises; the tray icon brings the window back.
    canClose = false;
    showMinimized();
    return;
  }
  if (closing_ || finalized_) {
    canClose = finalized_;
    return;
  }
  closing_ = true;
  ui.Timer->stop();
  ui.ClockTimer->stop();
  QCoreApplication::processEvents();
  parts_.SettingsStore->SaveSettings(settings.AppName);
  FinalizeMainWindow();
  closing_ = false;
  canClose = true;
}

void TMainForm::FinalizeMainWindow() {
  parts_.Playback->PlayerClose();
  setAcceptDrops(false);
  if (session_) {
    delete session_;
    session_ = nullptr;
  }
  parts_.Playback->Finalize();
  finalized_ = true;
}

void TMainForm::FormKeyDown(int key) {
  if (ui.PageControl->currentWidget() == ui.MusicTS && key == Qt::Key_Space)
    parts_.Playback->PlayPauseSBClick();
}

void TMainForm::FormResize() {
  parts_.Playback->Resized();
  DrawAlbumArt();
}

void TMainForm::Splitter1Moved() { DrawAlbumArt(); }
void TMainForm::Splitter2Moved() { DrawAlbumArt(); }
void TMainForm::DrawAlbumArt() {}

bool TMainForm::event(QEvent* e) {
  using platform::AppEvent;
  using platform::AppMessage;
  if (AppEvent::Is(e, AppMessage::MediaEvents)) {
    parts_.Playback->HandleMediaEvents(static_cast<AppEvent*>(e)->payload());
    return true;
  }
  if (AppEvent::Is(e, AppMessage::Mp3Ended)) {
    parts_.Playback->HandleMp3Ended();
    return true;
  }
  if (AppEvent::Is(e, AppMessage::SearchEnded)) return true;
  return QMainWindow::event(e);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::Enter && (watched == ui.VolumePanel || watched == ui.FileLB)) {
    static_cast<QWidget*>(watched)->setFocus(Qt::MouseFocusReason);
  } else if (e->type() == QEvent::MouseMove) {
    if (watched == ui.MusicLB->viewport()) ui.MusicLB->setFocus(Qt::MouseFocusReason);
    if (watched == ui.GroupLB->viewport()) ui.GroupLB->setFocus(Qt::MouseFocusReason);
  }
  return QMainWindow::eventFilter(watched, e);
}

void TMainForm::closeEvent(QCloseEvent* e) {
  bool canClose = false;
  FormCloseQuery(canClose);
  if (!canClose) {
    e->ignore();
    return;
  }
  e->accept();
  emit ShutDown();
}

void TMainForm::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  FormShow();
}

void TMainForm::keyPressEvent(QKeyEvent* e) {
  FormKeyDown(e->key());
  QMainWindow::keyPressEvent(e);
}

void TMainForm::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  FormResize();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* e) {
  if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* e) {
  if (DropFiles(e->mimeData())) e->acceptProposedAction();
}

bool TMainForm::DropFiles(const QMimeData* data) {
  QStringList paths;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) paths.append(url.toLocalFile());
  if (paths.isEmpty()) return false;
  // Shift, read as the drop lands, adds the media to the music list instead of opening.
  if (platform::KeyState().ShiftDown())
    parts_.Opener->AddMediaToMusicList(paths);
  else
    parts_.Opener->OpenPathsWithAutoPlay(paths);
  return true;
}

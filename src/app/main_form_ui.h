#pragma once
// The component tree of the main window, built by hand in the manner of a designer form: one
// public pointer for every component, named as the component is named, and setupUi, which
// builds them all on a QMainWindow. Every widget and action also carries its name as its
// objectName, so code and tests can find it with findChild.
//
// setupUi only builds and places: no signal is connected, no pop-up menu is attached to its
// list (the tray menu excepted, which belongs to the tray icon), the tray icon stays hidden and
// both timers stay stopped. The window that owns the struct wires the behaviour.

// Like a designer form's header it brings in the classes of all its members, so the window
// that owns it can use every component at once.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

#include "app/bar_widgets.h"
#include "controls/number_edit.h"

struct TMainFormUi {
  QWidget* CentralWidget = nullptr;
  QTabWidget* PageControl = nullptr;

  // Group page "グループ".
  QWidget* GroupTS = nullptr;
  QListWidget* GroupLB = nullptr;
  QPushButton* ClearGroupButton = nullptr;
  QPushButton* LoadGroupButton = nullptr;
  QPushButton* SaveGroupButton = nullptr;
  QCheckBox* NoAddFolderToGroupCB = nullptr;
  QCheckBox* EnableAddGroupCB = nullptr;

  // File page "ファイル": the file list beside the album art above the music list.
  QWidget* MusicTS = nullptr;
  QFrame* Panel = nullptr;
  QSplitter* Splitter1 = nullptr;
  QListWidget* FileLB = nullptr;
  QFrame* Panel1 = nullptr;
  QSplitter* Splitter2 = nullptr;
  QFrame* AlbumArtPanel = nullptr;
  QLabel* Image = nullptr;
  QListWidget* MusicLB = nullptr;

  // Search page "検索".
  QWidget* SearchTab = nullptr;
  QComboBox* SearchCB = nullptr;
  QPushButton* SearchButton = nullptr;
  QLabel* SearchLabel = nullptr;
  QListWidget* FoundLB = nullptr;

  // Timer page "タイマー".
  QWidget* TimerTS = nullptr;
  QToolButton* SpeedButton = nullptr;
  QListWidget* TimerLB = nullptr;
  QGroupBox* AlarmFileGB = nullptr;
  QComboBox* TimerCB = nullptr;
  QPushButton* AlarmFileReferButton = nullptr;
  QCheckBox* OnlyStopCB = nullptr;
  QCheckBox* SelectFromGroupCB = nullptr;
  QGroupBox* AlarmWeekDayGB = nullptr;
  QComboBox* TimerHourCB = nullptr;
  QLabel* TimerColonLabel = nullptr;
  QComboBox* TimerMinCB = nullptr;
  TNumberEdit* TimerMinSubNE = nullptr;
  QPushButton* TimerMinSubButton = nullptr;
  QCheckBox* ExecuteNowCB = nullptr;
  QCheckBox* WeekDayAllCB = nullptr;
  QCheckBox* WeekDay0CB = nullptr;  // Sunday
  QCheckBox* WeekDay1CB = nullptr;
  QCheckBox* WeekDay2CB = nullptr;
  QCheckBox* WeekDay3CB = nullptr;
  QCheckBox* WeekDay4CB = nullptr;
  QCheckBox* WeekDay5CB = nullptr;
  QCheckBox* WeekDay6CB = nullptr;  // Saturday
  QGroupBox* AlarmPlayOptionGB = nullptr;
  QCheckBox* TimerPlayFileRandomCB = nullptr;
  QCheckBox* TimerPlayMusicRandomCB = nullptr;
  QCheckBox* TimerRandomFileCB = nullptr;
  QCheckBox* TimerRandomMusicCB = nullptr;
  QRadioButton* TimerPlayTiming0RB = nullptr;
  QRadioButton* TimerPlayTiming1RB = nullptr;
  QComboBox* TimerPlayTimingCB = nullptr;
  QLabel* TimerPlayTimingLabel = nullptr;
  QLineEdit* TimerSettingNameEdit = nullptr;
  TNumberEdit* TimerTimesNE = nullptr;
  QLabel* AlarmTimesSubLabel = nullptr;
  QPushButton* TimerSaveButton = nullptr;
  QPushButton* TimerDeleteButton = nullptr;

  // Playback options page "再生オプション".
  QWidget* Option1TS = nullptr;
  QGroupBox* RepeatGB = nullptr;
  QRadioButton* RepeatMode0RB = nullptr;
  QRadioButton* RepeatMode1RB = nullptr;
  QRadioButton* RepeatMode2RB = nullptr;
  QRadioButton* RepeatMode3RB = nullptr;
  QGroupBox* RandomGB = nullptr;
  QCheckBox* RandomMusicCB = nullptr;
  QCheckBox* WhenOpenSortFileRandomCB = nullptr;
  QCheckBox* WhenOpenSelectFileRandomCB = nullptr;
  QCheckBox* RandomPreviousFileCB = nullptr;

  // Other options page "その他オプション" and its inner pages.
  QWidget* Option2TS = nullptr;
  QTabWidget* OptionPageControl = nullptr;
  // "ファイル設定"
  QWidget* FileSettingTS = nullptr;
  QLabel* SearchFileDepthLabel = nullptr;
  TNumberEdit* SearchFileDepthNE = nullptr;
  QCheckBox* SearchFileDepthAllCB = nullptr;
  QLabel* MediaMaskLabel = nullptr;
  QLineEdit* MediaMaskEdit = nullptr;
  QPushButton* MnMediaMaskDefaultButton = nullptr;
  QCheckBox* LoadPreviousFilesCB = nullptr;
  QCheckBox* PlayWhenExecuteCB = nullptr;
  QCheckBox* PlayWhenOpenCB = nullptr;
  QCheckBox* EnablePreviousTimerCB = nullptr;
  QLabel* ShowFLLvlLabel = nullptr;
  TNumberEdit* ShowFLLvlNE = nullptr;
  QCheckBox* ShowFLAllCB = nullptr;
  QLabel* m3uCharacterSetLabel = nullptr;
  QComboBox* m3uCharacterSetCB = nullptr;
  QComboBox* m3uCRCodeCB = nullptr;
  // "メディア転送設定"
  QWidget* MediaExportTS = nullptr;
  QLabel* ExportFolderLabel = nullptr;
  TNumberEdit* ExportFolderNE = nullptr;
  QLabel* ExportFolderSubLabel = nullptr;
  QLabel* ExportCharacterSetLabel = nullptr;
  QComboBox* ExportCharacterSetCB = nullptr;
  QComboBox* ExportCRCodeCB = nullptr;
  QLabel* ExportOtherExtLabel = nullptr;
  QLineEdit* ExportOtherExtEdit = nullptr;
  QPushButton* OMExtDefaultButton = nullptr;
  // "その他の詳細設定"
  QWidget* DetailTS = nullptr;
  QCheckBox* CopyFolderJpegCB = nullptr;
  QLabel* OutputDeviceLabel = nullptr;
  QComboBox* OutputDeviceNamesCB = nullptr;
  QPushButton* RefreshDeviceButton = nullptr;

  // The transport bar at the bottom of the window.
  QFrame* InterfacePanel = nullptr;
  QFrame* TrackPanel = nullptr;
  TShape* TrackShape = nullptr;
  TKnobButton* TrackSB = nullptr;
  QToolButton* OpenSB = nullptr;
  QToolButton* SaveSB = nullptr;
  QToolButton* PlayPauseSB = nullptr;
  QToolButton* PreviousTrackSB = nullptr;
  QToolButton* StopSB = nullptr;
  QToolButton* NextTrackSB = nullptr;
  QToolButton* FileRandomSB = nullptr;
  QToolButton* MusicRandomSB = nullptr;
  QToolButton* TimerSB = nullptr;
  QFrame* VolumePanel = nullptr;
  TShape* VolumeShape = nullptr;
  TKnobButton* VolumeSB = nullptr;

  // Components without a window.
  QTimer* Timer = nullptr;       // 100 ms, stopped
  QTimer* ClockTimer = nullptr;  // 60 s, stopped
  QSystemTrayIcon* TrayIcon = nullptr;
  // 0 play, 1 pause, 2 timers on, 3 timers off; 32 × 32 on a transparent background.
  QList<QPixmap> ImageList;

  QMenu* TrayPM = nullptr;
  QAction* PlayPausePM = nullptr;
  QAction* StopTM = nullptr;
  QAction* PreviousTM = nullptr;
  QAction* NextTM = nullptr;
  QAction* PreviousAlbumTM = nullptr;
  QAction* NextAlbumTM = nullptr;
  QAction* ExitTM = nullptr;

  QMenu* FileListPM = nullptr;
  QAction* MnFileSelectAll = nullptr;
  QAction* MnFileDelete = nullptr;
  QAction* MnClear = nullptr;
  QAction* MnFileSort = nullptr;
  QAction* MnFileRandom = nullptr;
  QAction* MnFileOpen = nullptr;
  QAction* MnFileSave = nullptr;
  QAction* MnFileCopy = nullptr;
  QAction* MnFileExplorerOpen = nullptr;
  QAction* MnFileExport = nullptr;
  QAction* MnGetCopySize = nullptr;

  QMenu* MusicListPM = nullptr;
  QAction* MnMusicDelete = nullptr;
  QAction* MnMusicClear = nullptr;
  QAction* MnMusicSortByName = nullptr;
  QAction* MnMusicRandom = nullptr;
  QAction* MnMusicAdd = nullptr;
  QAction* MnSavePlayList = nullptr;
  QAction* MnMusicCopy = nullptr;
  QAction* MnMusicOpenExplorer = nullptr;

  QMenu* GroupListPM = nullptr;
  QAction* MnGroupSelectAll = nullptr;
  QAction* MnGroupDelete = nullptr;
  QAction* MnGroupClear = nullptr;
  QAction* MnGroupSort = nullptr;
  QAction* MnGroupOpen = nullptr;
  QAction* MnGroupSave = nullptr;
  QAction* MnGroupCopy = nullptr;
  QAction* MnGroupExplorerOpen = nullptr;

  QMenu* FoundPM = nullptr;
  QAction* MnFouldClear = nullptr;
  QAction* MnFoundExplorerOpen = nullptr;
  QAction* MnFoundAdd = nullptr;

  QMenu* TimerListPM = nullptr;
  QAction* MnTimerSelectAll = nullptr;
  QAction* MnTimerDelete = nullptr;
  QAction* MnTimerClear = nullptr;
  QAction* MnTimerSort = nullptr;
  QAction* MnTimerOpen = nullptr;
  QAction* MnTimerSave = nullptr;
  QAction* MnTimerTest = nullptr;

  void setupUi(QMainWindow* form);

 private:
  void SetupGroupPage();
  void SetupMusicPage();
  void SetupSearchPage();
  void SetupTimerPage();
  void SetupPlaybackOptionsPage();
  void SetupOtherOptionsPage();
  void SetupInterfacePanel();
  void SetupMenus(QMainWindow* form);
  // Adds one item to a menu; the caption "-" makes a separator, named N1, N2, … in the order
  // the form makes them.
  QAction* AddItem(QMenu* menu, const char* name, const QString& caption);

  int separators_ = 0;
};

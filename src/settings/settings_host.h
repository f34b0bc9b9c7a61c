#pragma once
// What reading and writing the ini file needs of the main window: its layout, the lists it
// owns, the list boxes that show them, the player and the parts that are drawn from the
// settings. The main window implements it; tests give a recording fake. Everything here runs on
// the user-interface thread.

#include <QRect>
#include <QString>
#include <QStringList>

#include "timers/timer_list.h"

struct Settings;

class ISettingsHost {
 public:
  virtual ~ISettingsHost() = default;

  // The settings record of the main window.
  virtual Settings& GetSettings() = 0;

  // ---- Layout ----
  // The main window's left, top, width and height.
  virtual QRect WindowGeometry() const = 0;
  // The window keeps its least size: smaller values are raised to it.
  virtual void SetWindowSize(int width, int height) = 0;
  virtual void SetWindowPosition(int left, int top) = 0;
  virtual int FileListWidth() const = 0;
  virtual void SetFileListWidth(int width) = 0;
  virtual int AlbumArtPanelHeight() const = 0;
  virtual void SetAlbumArtPanelHeight(int height) = 0;

  // ---- The search box's history, in list order ----
  virtual QStringList SearchHistory() const = 0;
  virtual void AddSearchHistory(const QString& text) = 0;

  // ---- The group list ----
  virtual QStringList& GroupList() = 0;
  // Redraws the group list box from the group list at the current display level.
  virtual void ShowGroupList() = 0;

  // ---- The file list and the music list ----
  virtual const QStringList& FileList() const = 0;
  virtual int FileIndex() const = 0;
  virtual void SetFileIndex(int index) = 0;
  virtual const QStringList& MusicList() const = 0;
  virtual int MusicIndex() const = 0;
  virtual void SetMusicIndex(int index) = 0;
  // Puts entries into the file list, skipping those already in it (replacing empties it
  // first). The list box is not touched.
  virtual void AddToFileList(const QStringList& entries, bool append) = 0;
  // Random order, with the program's one random source. False when the list is empty.
  virtual bool ShuffleList(QStringList& list) = 0;
  virtual void ShowFileList() = 0;
  // Fills the music list from the current entry's playlist and shows it.
  virtual bool LoadMusicList() = 0;
  // Makes `row` the focused and only selected row of the file list box.
  virtual void SelectFileRow(int row) = 0;
  // Makes `row` the focused row of the file list box with no row selected.
  virtual void FocusFileRowWithoutSelection(int row) = 0;
  virtual int MusicRowCount() const = 0;
  // Makes `row` the selected (and focused) row of the music list box.
  virtual void SelectMusicRow(int row) = 0;

  // ---- The player ----
  // The position of the open track; negative when nothing is open.
  virtual double PlayerGetPosition() = 0;
  virtual void PlayerSetPosition(double position) = 0;
  // Opens the track at MusicIndex.
  virtual void OpenCurrentTrack() = 0;
  // Starts the current track at `position`.
  virtual void PlayTrack(double position) = 0;
  // The position bar shows `position`.
  virtual void ShowPosition(double position) = 0;
  // The volume bar shows `volume`.
  virtual void ShowVolume(int volume) = 0;

  // ---- Output devices ----
  // Fills the device box and settles OutputDeviceName on a listed name.
  virtual void FillDeviceList() = 0;
  // Hands OutputDeviceName to the backend.
  virtual void SelectOutputDevice(const QString& name) = 0;

  // ---- Timers ----
  virtual ::TimerList& TimerList() = 0;
  // Rows of the timer list box: the timer block holds one line per row.
  virtual int TimerRowCount() const = 0;
  // Brings the timer list box in line with the timer list, then schedules.
  virtual void RefreshTimerList() = 0;
  virtual void RunPreviousTimer() = 0;
  // The pressed state of the global timer button, and its click handler.
  virtual void SetTimerButtonDown(bool down) = 0;
  virtual void TimerSBClick() = 0;

  // ---- Controls drawn from the settings ----
  // The group page's two check boxes from EnableAddGroup and NoAddFolderToGroup.
  virtual void ShowGroupOptions() = 0;
  // Every option page control from the settings.
  virtual void ShowOptionSettings() = 0;

  // A modal message box.
  virtual void ShowMessage(const QString& text) = 0;
};

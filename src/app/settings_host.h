#pragma once
// The main window's side of the ini file: its layout, its lists and list boxes, the player and
// the controls drawn from the settings, as the settings file reads and writes them. Calls into
// parts that are not built yet (the device enumeration, the volume bar, the timer scheduler)
// go to the playback frame or do the part that concerns the window and nothing more.

#include <functional>

#include "settings/settings_host.h"

class TMainForm;

class CSettingsHost final : public ISettingsHost {
 public:
  // The window must outlive this object.
  explicit CSettingsHost(TMainForm& form) : form_(form) {}

  // Replaces the message box (tests); empty shows the real one.
  std::function<void(const QString&)> MessageHook;

  Settings& GetSettings() override;

  QRect WindowGeometry() const override;
  void SetWindowSize(int width, int height) override;
  void SetWindowPosition(int left, int top) override;
  int FileListWidth() const override;
  void SetFileListWidth(int width) override;
  int AlbumArtPanelHeight() const override;
  void SetAlbumArtPanelHeight(int height) override;

  QStringList SearchHistory() const override;
  void AddSearchHistory(const QString& text) override;

  QStringList& GroupList() override;
  void ShowGroupList() override;

  const QStringList& FileList() const override;
  int FileIndex() const override;
  void SetFileIndex(int index) override;
  const QStringList& MusicList() const override;
  int MusicIndex() const override;
  void SetMusicIndex(int index) override;
  void AddToFileList(const QStringList& entries, bool append) override;
  bool ShuffleList(QStringList& list) override;
  void ShowFileList() override;
  bool LoadMusicList() override;
  void SelectFileRow(int row) override;
  void FocusFileRowWithoutSelection(int row) override;
  int MusicRowCount() const override;
  void SelectMusicRow(int row) override;

  double PlayerGetPosition() override;
  void PlayerSetPosition(double position) override;
  void OpenCurrentTrack() override;
  void PlayTrack(double position) override;
  void ShowPosition(double position) override;
  void ShowVolume(int volume) override;

  void FillDeviceList() override;
  void SelectOutputDevice(const QString& name) override;

  ::TimerList& TimerList() override;
  int TimerRowCount() const override;
  void RefreshTimerList() override;
  void RunPreviousTimer() override;
  void SetTimerButtonDown(bool down) override;
  void TimerSBClick() override;

  void ShowGroupOptions() override;
  void ShowOptionSettings() override;

  void ShowMessage(const QString& text) override;

 private:
  TMainForm& form_;
};

#pragma once
// The option pages: the controls that edit the settings (the playback options, the files,
// media transfer and details pages, and the group page's two check boxes). Each control's
// handler copies its state into its setting as soon as it changes; ShowOptionSettings copies
// the settings into the controls. No handler writes the ini file: a change reaches it with the
// next save.
//
// Check boxes, radio buttons and edits report programmatic changes as well as the user's, so
// ShowOptionSettings runs their handlers too; those then store the value the setting already
// has, and the parts marked "guarded" are skipped while UpdatingOptionControls is set. The
// combo boxes react to the user's choice only (activated), so selecting an item from the
// settings never changes a setting that matched no item.

#include <QObject>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TNumberEdit;
struct Settings;

// DisplayLevel from ShowFileListAll and ShowFileListLevel: -1 (whole paths) or the level.
void RecomputeDisplayLevel(Settings& settings);

// The controls of the option pages, not owned. All must be given.
struct OptionControls {
  // The group page.
  QCheckBox* EnableAddGroupCB = nullptr;
  QCheckBox* NoAddFolderToGroupCB = nullptr;
  // Playback options.
  QRadioButton* RepeatMode0RB = nullptr;
  QRadioButton* RepeatMode1RB = nullptr;
  QRadioButton* RepeatMode2RB = nullptr;
  QRadioButton* RepeatMode3RB = nullptr;
  QCheckBox* RandomMusicCB = nullptr;
  QCheckBox* WhenOpenSortFileRandomCB = nullptr;
  QCheckBox* WhenOpenSelectFileRandomCB = nullptr;
  QCheckBox* RandomPreviousFileCB = nullptr;
  // Files.
  TNumberEdit* SearchFileDepthNE = nullptr;
  QCheckBox* SearchFileDepthAllCB = nullptr;
  QLineEdit* MediaMaskEdit = nullptr;
  QPushButton* MnMediaMaskDefaultButton = nullptr;
  QCheckBox* LoadPreviousFilesCB = nullptr;
  QCheckBox* PlayWhenExecuteCB = nullptr;
  QCheckBox* PlayWhenOpenCB = nullptr;
  QCheckBox* EnablePreviousTimerCB = nullptr;
  TNumberEdit* ShowFLLvlNE = nullptr;
  QCheckBox* ShowFLAllCB = nullptr;
  QComboBox* m3uCharacterSetCB = nullptr;
  QComboBox* m3uCRCodeCB = nullptr;
  // Media transfer.
  TNumberEdit* ExportFolderNE = nullptr;
  QComboBox* ExportCharacterSetCB = nullptr;
  QComboBox* ExportCRCodeCB = nullptr;
  QLineEdit* ExportOtherExtEdit = nullptr;
  QPushButton* OMExtDefaultButton = nullptr;
  // Details.
  QCheckBox* CopyFolderJpegCB = nullptr;
};

// The lists drawn by display level, redrawn when it changes.
struct OptionRedraws {
  std::function<void()> ShowFileList;
  std::function<void()> ShowGroupList;
};

class COptionPages : public QObject {
  Q_OBJECT

 public:
  // Connects every control to its handler. Empty encoding and line-end boxes get their names
  // in order. The settings and the controls must outlive this object.
  COptionPages(Settings& settings, const OptionControls& controls, OptionRedraws redraws = {},
               QObject* parent = nullptr);

  // Copies every option setting into its control.
  void ShowOptionSettings();
  // True only while ShowOptionSettings runs.
  bool UpdatingOptionControls() const { return updating_; }

  // The group page's two check boxes from their settings.
  void ShowGroupOptions();

  // The handlers, one per control event.
  void EnableAddGroupCBClick();
  void NoAddFolderToGroupCBClick();
  void RepeatModeRBClick(int mode);
  void RandomMusicCBClick();
  void WhenOpenSortFileRandomCBClick();
  void WhenOpenSelectFileRandomCBClick();
  void RandomPreviousFileCBClick();
  void SearchFileDepthNEChange();
  void SearchFileDepthAllCBClick();
  void MediaMaskEditChange();
  void MnMediaMaskDefaultButtonClick();
  void LoadPreviousFilesCBClick();
  void PlayWhenExecuteCBClick();
  void PlayWhenOpenCBClick();
  void EnablePreviousTimerCBClick();
  void ShowFLLvlNEChange();
  void ShowFLAllCBClick();
  void m3uCharacterSetCBChange();
  void m3uCRCodeCBChange();
  void ExportFolderNEChange();
  void ExportCharacterSetCBChange();
  void ExportCRCodeCBChange();
  void ExportOtherExtEditChange();
  void OMExtDefaultButtonClick();
  void CopyFolderJpegCBClick();

 private:
  void Connect();
  void DisplayLevelChanged();
  QRadioButton* RepeatButton(int mode) const;

  Settings& settings_;
  OptionControls c_;
  OptionRedraws redraws_;
  bool updating_ = false;
};

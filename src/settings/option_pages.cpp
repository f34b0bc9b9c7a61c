#include "settings/option_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "controls/number_edit.h"
#include "settings/settings.h"
#include "text/encoding.h"

namespace {

const QString kDefaultMediaMask = QStringLiteral("*.mp3;*.mp4;*.m4a;*.flac;*.wma;*.wav;");
const QString kDefaultOtherExt = QStringLiteral("*.jpg;*.jpeg;");

void FillIfEmpty(QComboBox* box, const QStringList& names) {
  if (box->count() > 0) return;
  box->addItems(names);
  box->setCurrentIndex(0);
}

// Selects the item whose text equals `text` regardless of case, else the first one. No
// handler runs: the setting keeps its text even when no item matched.
void SelectItem(QComboBox* box, const QString& text) {
  const int at = box->findText(text, Qt::MatchFixedString);
  box->setCurrentIndex(at >= 0 ? at : (box->count() > 0 ? 0 : -1));
}

int ToInt(std::int64_t value) { return static_cast<int>(value); }

}  // namespace

void RecomputeDisplayLevel(Settings& settings) {
  settings.DisplayLevel = ComputeDisplayLevel(settings);
}

COptionPages::COptionPages(Settings& settings, const OptionControls& controls,
                           OptionRedraws redraws, QObject* parent)
    : QObject(parent), settings_(settings), c_(controls), redraws_(std::move(redraws)) {
  FillIfEmpty(c_.m3uCharacterSetCB, EncodingNames());
  FillIfEmpty(c_.ExportCharacterSetCB, EncodingNames());
  FillIfEmpty(c_.m3uCRCodeCB, LineEndingNames());
  FillIfEmpty(c_.ExportCRCodeCB, LineEndingNames());
  Connect();
}

void COptionPages::Connect() {
  auto onToggle = [this](QCheckBox* box, void (COptionPages::*handler)()) {
    connect(box, &QCheckBox::toggled, this, [this, handler] { (this->*handler)(); });
  };
  onToggle(c_.EnableAddGroupCB, &COptionPages::EnableAddGroupCBClick);
  onToggle(c_.NoAddFolderToGroupCB, &COptionPages::NoAddFolderToGroupCBClick);
  onToggle(c_.RandomMusicCB, &COptionPages::RandomMusicCBClick);
  onToggle(c_.WhenOpenSortFileRandomCB, &COptionPages::WhenOpenSortFileRandomCBClick);
  onToggle(c_.WhenOpenSelectFileRandomCB, &COptionPages::WhenOpenSelectFileRandomCBClick);
  onToggle(c_.RandomPreviousFileCB, &COptionPages::RandomPreviousFileCBClick);
  onToggle(c_.SearchFileDepthAllCB, &COptionPages::SearchFileDepthAllCBClick);
  onToggle(c_.LoadPreviousFilesCB, &COptionPages::LoadPreviousFilesCBClick);
  onToggle(c_.PlayWhenExecuteCB, &COptionPages::PlayWhenExecuteCBClick);
  onToggle(c_.PlayWhenOpenCB, &COptionPages::PlayWhenOpenCBClick);
  onToggle(c_.EnablePreviousTimerCB, &COptionPages::EnablePreviousTimerCBClick);
  onToggle(c_.ShowFLAllCB, &COptionPages::ShowFLAllCBClick);
  onToggle(c_.CopyFolderJpegCB, &COptionPages::CopyFolderJpegCBClick);

  for (int mode = 0; mode < 4; ++mode) {
    // A radio button reports its checking; the one that loses the check has nothing to store.
    connect(RepeatButton(mode), &QRadioButton::toggled, this, [this, mode](bool checked) {
      if (checked) RepeatModeRBClick(mode);
    });
  }

  connect(c_.SearchFileDepthNE, &TNumberEdit::Changed, this,
          &COptionPages::SearchFileDepthNEChange);
  connect(c_.ShowFLLvlNE, &TNumberEdit::Changed, this, &COptionPages::ShowFLLvlNEChange);
  connect(c_.ExportFolderNE, &TNumberEdit::Changed, this, &COptionPages::ExportFolderNEChange);
  connect(c_.MediaMaskEdit, &QLineEdit::textChanged, this, &COptionPages::MediaMaskEditChange);
  connect(c_.ExportOtherExtEdit, &QLineEdit::textChanged, this,
          &COptionPages::ExportOtherExtEditChange);
  connect(c_.MnMediaMaskDefaultButton, &QPushButton::clicked, this,
          &COptionPages::MnMediaMaskDefaultButtonClick);
  connect(c_.OMExtDefaultButton, &QPushButton::clicked, this,
          &COptionPages::OMExtDefaultButtonClick);

  connect(c_.m3uCharacterSetCB, &QComboBox::activated, this,
          &COptionPages::m3uCharacterSetCBChange);
  connect(c_.m3uCRCodeCB, &QComboBox::activated, this, &COptionPages::m3uCRCodeCBChange);
  connect(c_.ExportCharacterSetCB, &QComboBox::activated, this,
          &COptionPages::ExportCharacterSetCBChange);
  connect(c_.ExportCRCodeCB, &QComboBox::activated, this, &COptionPages::ExportCRCodeCBChange);
}

QRadioButton* COptionPages::RepeatButton(int mode) const {
  switch (mode) {
    case 0:
      return c_.RepeatMode0RB;
    case 1:
      return c_.RepeatMode1RB;
    case 2:
      return c_.RepeatMode2RB;
    case 3:
      return c_.RepeatMode3RB;
    default:
      return nullptr;
  }
}

void COptionPages::ShowOptionSettings() {
  const Settings& s = settings_;
  updating_ = true;

  c_.SearchFileDepthNE->setText(QString::number(s.SearchFileDepth));
  c_.SearchFileDepthAllCB->setChecked(s.SearchFileDepthAll);
  c_.SearchFileDepthNE->setEnabled(!s.SearchFileDepthAll);

  c_.PlayWhenOpenCB->setChecked(s.PlayWhenOpen);
  c_.EnablePreviousTimerCB->setChecked(s.EnablePreviousTimer);
  c_.LoadPreviousFilesCB->setChecked(s.LoadPreviousFiles);
  // A box already in the state of its setting reports no change, so the states that follow
  // from a box are set here as well.
  c_.RandomPreviousFileCB->setEnabled(s.LoadPreviousFiles);
  c_.PlayWhenExecuteCB->setChecked(s.PlayWhenExecute);

  c_.MediaMaskEdit->setText(s.MediaMask);

  c_.ShowFLLvlNE->setText(QString::number(s.ShowFileListLevel));
  c_.ShowFLAllCB->setChecked(s.ShowFileListAll);
  c_.ShowFLLvlNE->setEnabled(!s.ShowFileListAll);

  SelectItem(c_.m3uCharacterSetCB, s.m3uCharacterSet);
  SelectItem(c_.m3uCRCodeCB, s.m3uCRCode);

  if (QRadioButton* button = RepeatButton(s.RepeatMode)) {
    button->setChecked(true);
  } else {
    // Exclusive buttons cannot all be cleared while they are exclusive.
    for (int mode = 0; mode < 4; ++mode) {
      QRadioButton* b = RepeatButton(mode);
      b->setAutoExclusive(false);
      b->setChecked(false);
      b->setAutoExclusive(true);
    }
  }

  c_.WhenOpenSortFileRandomCB->setChecked(s.WhenOpenSortFileRandom);
  c_.WhenOpenSelectFileRandomCB->setChecked(s.WhenOpenSelectFileRandom);
  c_.RandomMusicCB->setChecked(s.RandomMusic);
  c_.RandomPreviousFileCB->setChecked(s.RandomPreviousFile);

  c_.ExportFolderNE->setText(QString::number(s.ExportFolderLevel));
  SelectItem(c_.ExportCharacterSetCB, s.ExportCharacterSet);
  SelectItem(c_.ExportCRCodeCB, s.ExportCRCode);
  c_.ExportOtherExtEdit->setText(s.ExportOtherExt);
  c_.CopyFolderJpegCB->setChecked(s.CopyFolderJpeg);

  updating_ = false;
}

void COptionPages::ShowGroupOptions() {
  c_.EnableAddGroupCB->setChecked(settings_.EnableAddGroup);
  c_.NoAddFolderToGroupCB->setChecked(settings_.NoAddFolderToGroup);
}

void COptionPages::DisplayLevelChanged() {
  RecomputeDisplayLevel(settings_);
  if (redraws_.ShowFileList) redraws_.ShowFileList();
  if (redraws_.ShowGroupList) redraws_.ShowGroupList();
}

void COptionPages::EnableAddGroupCBClick() {
  settings_.EnableAddGroup = c_.EnableAddGroupCB->isChecked();
}

void COptionPages::NoAddFolderToGroupCBClick() {
  settings_.NoAddFolderToGroup = c_.NoAddFolderToGroupCB->isChecked();
}

void COptionPages::RepeatModeRBClick(int mode) { settings_.RepeatMode = mode; }

void COptionPages::RandomMusicCBClick() { settings_.RandomMusic = c_.RandomMusicCB->isChecked(); }

void COptionPages::WhenOpenSortFileRandomCBClick() {
  settings_.WhenOpenSortFileRandom = c_.WhenOpenSortFileRandomCB->isChecked();
}

void COptionPages::WhenOpenSelectFileRandomCBClick() {
  settings_.WhenOpenSelectFileRandom = c_.WhenOpenSelectFileRandomCB->isChecked();
}

void COptionPages::RandomPreviousFileCBClick() {
  settings_.RandomPreviousFile = c_.RandomPreviousFileCB->isChecked();
}

void COptionPages::SearchFileDepthNEChange() {
  if (updating_) return;
  settings_.SearchFileDepth = ToInt(c_.SearchFileDepthNE->GetIntegerValue());
}

void COptionPages::SearchFileDepthAllCBClick() {
  c_.SearchFileDepthNE->setEnabled(!c_.SearchFileDepthAllCB->isChecked());
  if (updating_) return;
  settings_.SearchFileDepthAll = c_.SearchFileDepthAllCB->isChecked();
}

void COptionPages::MediaMaskEditChange() {
  // An empty mask would match nothing; "*" keeps every file. Setting the text runs this
  // handler again, which stores it.
  if (c_.MediaMaskEdit->text().isEmpty()) c_.MediaMaskEdit->setText(QStringLiteral("*"));
  settings_.MediaMask = c_.MediaMaskEdit->text();
}

void COptionPages::MnMediaMaskDefaultButtonClick() { c_.MediaMaskEdit->setText(kDefaultMediaMask); }

void COptionPages::LoadPreviousFilesCBClick() {
  settings_.LoadPreviousFiles = c_.LoadPreviousFilesCB->isChecked();
  c_.RandomPreviousFileCB->setEnabled(settings_.LoadPreviousFiles);
}

void COptionPages::PlayWhenExecuteCBClick() {
  settings_.PlayWhenExecute = c_.PlayWhenExecuteCB->isChecked();
}

void COptionPages::PlayWhenOpenCBClick() {
  settings_.PlayWhenOpen = c_.PlayWhenOpenCB->isChecked();
}

void COptionPages::EnablePreviousTimerCBClick() {
  settings_.EnablePreviousTimer = c_.EnablePreviousTimerCB->isChecked();
}

void COptionPages::ShowFLLvlNEChange() {
  settings_.ShowFileListLevel = ToInt(c_.ShowFLLvlNE->GetIntegerValue());
  if (updating_) return;
  DisplayLevelChanged();
}

void COptionPages::ShowFLAllCBClick() {
  c_.ShowFLLvlNE->setEnabled(!c_.ShowFLAllCB->isChecked());
  settings_.ShowFileListAll = c_.ShowFLAllCB->isChecked();
  if (updating_) return;
  DisplayLevelChanged();
}

void COptionPages::m3uCharacterSetCBChange() {
  settings_.m3uCharacterSet = c_.m3uCharacterSetCB->currentText();
}

void COptionPages::m3uCRCodeCBChange() { settings_.m3uCRCode = c_.m3uCRCodeCB->currentText(); }

void COptionPages::ExportFolderNEChange() {
  settings_.ExportFolderLevel = ToInt(c_.ExportFolderNE->GetIntegerValue());
}

void COptionPages::ExportCharacterSetCBChange() {
  settings_.ExportCharacterSet = c_.ExportCharacterSetCB->currentText();
}

void COptionPages::ExportCRCodeCBChange() {
  settings_.ExportCRCode = c_.ExportCRCodeCB->currentText();
}

void COptionPages::ExportOtherExtEditChange() {
  settings_.ExportOtherExt = c_.ExportOtherExtEdit->text();
}

void COptionPages::OMExtDefaultButtonClick() {
  c_.ExportOtherExtEdit->setText(kDefaultOtherExt);
  settings_.ExportOtherExt = kDefaultOtherExt;
}

void COptionPages::CopyFolderJpegCBClick() {
  if (updating_) return;
  settings_.CopyFolderJpeg = c_.CopyFolderJpegCB->isChecked();
}

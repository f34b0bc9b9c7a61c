// The main window with the real ini file: what the user sets through the controls is written
// at shutdown and comes back in a fresh window started from that file.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>
#include <memory>

#include "app/main_form.h"
#include "app/settings_host.h"
#include "library/file_music_lists.h"
#include "library/qt_print.h"
#include "platform/keystate.h"
#include "support/temp_dir.h"
#include "text/text_lines.h"

namespace {

QStringList Rows(const QListWidget* box) {
  QStringList rows;
  for (int i = 0; i < box->count(); ++i) rows.append(box->item(i)->text());
  return rows;
}

QStringList Items(const QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items.append(box->itemText(i));
  return items;
}

void Retype(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

// The MP3 component lies beside the test program, so start-up may ask to switch the output;
// the answer here is always No, so no modal box waits for a user.
class AnswerNo : public IStartupQuestions {
 public:
  bool AskYesNo(const QString&) override { return false; }
};

class SettingsRestartTest : public testing::Test {
 protected:
  SettingsRestartTest() : savedXdg_(qgetenv("XDG_DATA_HOME")) {
    qputenv("XDG_DATA_HOME", data_.path().toLocal8Bit());
    platform::SetKeyState(&keys_);
  }
  ~SettingsRestartTest() override {
    platform::SetKeyState(nullptr);
    qputenv("XDG_DATA_HOME", savedXdg_);
  }

  std::unique_ptr<TMainForm> Start() {
    auto form = std::make_unique<TMainForm>(ProgramParts());
    form->SettingsHost().MessageHook = [this](const QString& text) { messages_.append(text); };
    form->SetStartupQuestions(&answerNo_);
    form->Startup({});
    return form;
  }
  QStringList IniLines() const {
    QStringList lines;
    LoadTextLines(lines, data_.file("quomm3u/quomm3u.ini"));
    return lines;
  }

  AnswerNo answerNo_;
  testing_support::TempDir data_;
  platform::FakeKeyState keys_;
  QStringList messages_;

 private:
  QByteArray savedXdg_;
};

TEST_F(SettingsRestartTest, WhatTheControlsSetComesBackAfterARestart) {
  const QString a = data_.write("Music/A/a.m3u", "#EXTM3U\n");
  const QString b = data_.write("Music/B/b.m3u", "#EXTM3U\n");
  QRect geometry;
  CMusicTimer timer;
  timer.SettingName = "Morning";
  timer.Time = 7 * 60;
  timer.Day = kTimerEveryDay;
  {
    auto form = Start();
    form->show();
    TMainFormUi& ui = form->ui;
    ui.RepeatMode1RB->click();
    ui.RandomMusicCB->click();
    ui.PlayWhenOpenCB->click();
    ui.SearchFileDepthAllCB->click();
    Retype(ui.SearchFileDepthNE, "3");
    Retype(ui.MediaMaskEdit, "*.ogg;*.mp3;");
    Retype(ui.ShowFLLvlNE, "2");
    Retype(ui.ExportFolderNE, "5");
    QTest::keyClick(ui.ExportCharacterSetCB, Qt::Key_Down);
    QTest::keyClick(ui.ExportCRCodeCB, Qt::Key_End);
    QTest::keyClick(ui.m3uCharacterSetCB, Qt::Key_Down);
    Retype(ui.ExportOtherExtEdit, "*.png;");
    ui.CopyFolderJpegCB->click();
    ui.EnableAddGroupCB->click();
    ui.NoAddFolderToGroupCB->click();
    ui.TimerSB->click();
    ui.Splitter1->setSizes({300, 400});
    ui.Splitter2->setSizes({150, 300});
    QApplication::processEvents();

    ui.SearchCB->addItems({"first", "二番目"});
    form->Groups()->GroupList = {"/Music/Live", "/Music/B/b.m3u"};
    form->SettingsHost().ShowGroupList();
    form->Lists()->AddToFileList({a, data_.file("gone.m3u"), b}, false);
    form->Lists()->FileIndex = 2;
    form->TimerList.append(TimerListEntry{"Morning", timer});
    form->SettingsHost().RefreshTimerList();

    geometry = form->SettingsHost().WindowGeometry();
    form->ExitTMClick();
    ASSERT_TRUE(form->Finalized());
  }

  auto form = Start();
  const Settings& s = form->settings;
  const TMainFormUi& ui = form->ui;
  EXPECT_EQ(s.RepeatMode, 1);
  EXPECT_TRUE(ui.RepeatMode1RB->isChecked());
  EXPECT_TRUE(s.RandomMusic);
  EXPECT_TRUE(ui.RandomMusicCB->isChecked());
  EXPECT_FALSE(s.PlayWhenOpen);
  EXPECT_FALSE(ui.PlayWhenOpenCB->isChecked());
  EXPECT_FALSE(s.SearchFileDepthAll);
  EXPECT_TRUE(ui.SearchFileDepthNE->isEnabled());
  EXPECT_EQ(s.SearchFileDepth, 3);
  EXPECT_EQ(ui.SearchFileDepthNE->text(), "3");
  EXPECT_EQ(s.MediaMask, "*.ogg;*.mp3;");
  EXPECT_EQ(ui.MediaMaskEdit->text(), "*.ogg;*.mp3;");
  EXPECT_EQ(s.ShowFileListLevel, 2);
  EXPECT_EQ(s.DisplayLevel, 2);
  EXPECT_EQ(ui.ShowFLLvlNE->text(), "2");
  EXPECT_EQ(s.ExportFolderLevel, 5);
  EXPECT_EQ(ui.ExportFolderNE->text(), "5");
  EXPECT_EQ(s.ExportCharacterSet, "UTF-16LE");
  EXPECT_EQ(ui.ExportCharacterSetCB->currentText(), "UTF-16LE");
  EXPECT_EQ(s.ExportCRCode, "LF");
  EXPECT_EQ(ui.ExportCRCodeCB->currentText(), "LF");
  // The playlist encoding is not stored: every start resets it.
  EXPECT_EQ(s.m3uCharacterSet, "Shift-JIS");
  EXPECT_EQ(ui.m3uCharacterSetCB->currentText(), "Shift-JIS");
  EXPECT_EQ(s.ExportOtherExt, "*.png;");
  EXPECT_TRUE(s.CopyFolderJpeg);
  EXPECT_TRUE(ui.CopyFolderJpegCB->isChecked());
  EXPECT_FALSE(s.EnableAddGroup);
  EXPECT_FALSE(ui.EnableAddGroupCB->isChecked());
  EXPECT_TRUE(s.NoAddFolderToGroup);
  EXPECT_TRUE(ui.NoAddFolderToGroupCB->isChecked());
  EXPECT_FALSE(s.TimerEnabled);
  EXPECT_FALSE(ui.TimerSB->isChecked());

  EXPECT_EQ(form->SettingsHost().WindowGeometry(), geometry);
  EXPECT_EQ(ui.Splitter1->sizes().value(0), 300);
  EXPECT_EQ(ui.Splitter2->sizes().value(0), 150);
  EXPECT_EQ(Items(ui.SearchCB), QStringList({"first", "二番目"}));
  EXPECT_EQ(ui.SearchCB->currentText(), "");
  EXPECT_EQ(form->Groups()->GroupList, QStringList({"/Music/Live", "/Music/B/b.m3u"}));
  // At level 2 a path with fewer folders is shown whole.
  EXPECT_EQ(Rows(ui.GroupLB), QStringList({"/Music/Live", "Music/B/b.m3u"}));
  // The entry whose file has gone is dropped; the current entry is found again.
  EXPECT_EQ(form->Lists()->FileList(), QStringList({a, b}));
  EXPECT_EQ(form->Lists()->FileIndex, 1);
  EXPECT_EQ(Rows(ui.FileLB).value(1), "Music/B/b.m3u");
  EXPECT_TRUE(ui.FileLB->item(1)->isSelected());
  ASSERT_EQ(form->TimerList.size(), 1);
  EXPECT_EQ(form->TimerList[0].Timer, timer);
  EXPECT_EQ(Rows(ui.TimerLB), QStringList({"Morning"}));
}

TEST_F(SettingsRestartTest, FirstStartShowsTheInitialValuesAndShutdownNamesTheDevice) {
  auto form = Start();
  // Written at once, before the device list has settled the empty name.
  EXPECT_TRUE(IniLines().contains("OutputDeviceName="));
  EXPECT_EQ(form->settings.OutputDeviceName, "Default DirectSound Device");
  EXPECT_EQ(form->ui.OutputDeviceNamesCB->currentText(), "Default DirectSound Device");
  // The option pages show the values the program runs with, not their design values.
  EXPECT_EQ(form->ui.ExportFolderNE->text(), "0");
  EXPECT_TRUE(form->ui.RepeatMode3RB->isChecked());
  EXPECT_TRUE(form->ui.LoadPreviousFilesCB->isChecked());
  EXPECT_TRUE(form->ui.PlayWhenOpenCB->isChecked());
  EXPECT_EQ(form->ui.MediaMaskEdit->text(), "*.mp3;*.mp4;*.m4a;*.flac;*.wma;*.wav;");
  EXPECT_EQ(form->ui.ExportOtherExtEdit->text(), "*.jpg;*.jpeg;");

  form->ExitTMClick();
  EXPECT_TRUE(IniLines().contains("OutputDeviceName=Default DirectSound Device"));
}

TEST_F(SettingsRestartTest, DisplayLevelRedrawsTheFileAndGroupLists) {
  auto form = Start();
  TMainFormUi& ui = form->ui;
  form->Lists()->AddToFileList({"/Music/Artist/Album.m3u"}, false);
  form->Lists()->ShowFileList();
  form->Groups()->GroupList = {"/Music/Artist"};
  form->SettingsHost().ShowGroupList();
  ASSERT_EQ(Rows(ui.FileLB), QStringList({"Artist/Album.m3u"}));

  Retype(ui.ShowFLLvlNE, "0");
  EXPECT_EQ(Rows(ui.FileLB), QStringList({"Album.m3u"}));
  EXPECT_EQ(Rows(ui.GroupLB), QStringList({"Artist"}));
  ui.ShowFLAllCB->click();
  EXPECT_EQ(Rows(ui.FileLB), QStringList({"/Music/Artist/Album.m3u"}));
  EXPECT_EQ(Rows(ui.GroupLB), QStringList({"/Music/Artist"}));
  EXPECT_FALSE(ui.ShowFLLvlNE->isEnabled());
}

TEST_F(SettingsRestartTest, SameSideControlShiftStartsWithoutTheFile) {
  data_.write("quomm3u/quomm3u.ini", QByteArray("Volume=70\r\n"));
  keys_.Set(platform::Key::LeftControl, true);
  keys_.Set(platform::Key::LeftShift, true);
  auto form = Start();
  EXPECT_EQ(messages_, QStringList({"ini ファイルを読み込まずに開始します"}));
  EXPECT_EQ(form->settings.Volume, 5000);
  keys_.Clear();
  form->ExitTMClick();
  EXPECT_TRUE(IniLines().contains("Volume=5000"));
}

}  // namespace

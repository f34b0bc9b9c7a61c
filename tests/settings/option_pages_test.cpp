#include "settings/option_pages.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <ostream>
#include <string>

#include "controls/number_edit.h"
#include "library/qt_print.h"
#include "settings/settings.h"

namespace {

TNumberEdit* NumberEdit(QWidget* parent, const char* text, const char* min, const char* max) {
  auto* edit = new TNumberEdit(parent);
  edit->setText(QString::fromLatin1(text));
  edit->SetMinus(true);
  edit->SetMax(QString::fromLatin1(max));
  edit->SetMin(QString::fromLatin1(min));
  return edit;
}

// The option controls as the window's design makes them (empty combo boxes included, which the
// pages fill), with the redraws counted.
struct Pages {
  Pages() : pages(settings, Controls(), Redraws()) {}

  OptionControls Controls() {
    OptionControls c;
    auto box = [this](bool checked = false) {
      auto* b = new QCheckBox(&window);
      b->setChecked(checked);
      return b;
    };
    c.EnableAddGroupCB = box(true);
    c.NoAddFolderToGroupCB = box();
    c.RepeatMode0RB = new QRadioButton(&repeat);
    c.RepeatMode1RB = new QRadioButton(&repeat);
    c.RepeatMode2RB = new QRadioButton(&repeat);
    c.RepeatMode3RB = new QRadioButton(&repeat);
    c.RandomMusicCB = box();
    c.WhenOpenSortFileRandomCB = box();
    c.WhenOpenSelectFileRandomCB = box();
    c.RandomPreviousFileCB = box();
    c.SearchFileDepthNE = NumberEdit(&window, "0", "0", "1000");
    c.SearchFileDepthNE->setEnabled(false);
    c.SearchFileDepthAllCB = box(true);
    c.MediaMaskEdit = new QLineEdit(&window);
    c.MnMediaMaskDefaultButton = new QPushButton(&window);
    c.LoadPreviousFilesCB = box();
    c.PlayWhenExecuteCB = box();
    c.PlayWhenOpenCB = box();
    c.EnablePreviousTimerCB = box();
    c.ShowFLLvlNE = NumberEdit(&window, "1", "0", "1000");
    c.ShowFLAllCB = box();
    c.m3uCharacterSetCB = new QComboBox(&window);
    c.m3uCRCodeCB = new QComboBox(&window);
    c.ExportFolderNE = NumberEdit(&window, "1", "0", "100");
    c.ExportCharacterSetCB = new QComboBox(&window);
    c.ExportCRCodeCB = new QComboBox(&window);
    c.ExportOtherExtEdit = new QLineEdit(&window);
    c.OMExtDefaultButton = new QPushButton(&window);
    c.CopyFolderJpegCB = box();
    controls = c;
    return c;
  }
  OptionRedraws Redraws() {
    return {[this] { ++fileRedraws; }, [this] { ++groupRedraws; }};
  }

  QWidget window;
  QWidget repeat{&window};
  Settings settings;
  OptionControls controls;
  int fileRedraws = 0;
  int groupRedraws = 0;
  COptionPages pages;
};

void Retype(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, text);
}

// ---- Check boxes ----

struct BoxCase {
  const char* name;
  QCheckBox* OptionControls::*box;
  bool Settings::*field;
};
void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class CheckBoxTest : public testing::TestWithParam<BoxCase> {};

TEST_P(CheckBoxTest, ClickStoresTheBoxState) {
  const BoxCase& c = GetParam();
  Pages p;
  QCheckBox* box = p.controls.*c.box;
  for (int click = 0; click < 2; ++click) {
    box->click();
    EXPECT_EQ(p.settings.*c.field, box->isChecked()) << click;
  }
}

#define BOX(name) \
  BoxCase { #name, &OptionControls::name##CB, &Settings::name }
const BoxCase kBoxes[] = {
    BOX(EnableAddGroup),
    BOX(NoAddFolderToGroup),
    BOX(RandomMusic),
    BOX(WhenOpenSortFileRandom),
    BOX(WhenOpenSelectFileRandom),
    BOX(RandomPreviousFile),
    BOX(SearchFileDepthAll),
    BOX(LoadPreviousFiles),
    BOX(PlayWhenExecute),
    BOX(PlayWhenOpen),
    BOX(EnablePreviousTimer),
    BoxCase{"ShowFileListAll", &OptionControls::ShowFLAllCB, &Settings::ShowFileListAll},
    BOX(CopyFolderJpeg),
};
#undef BOX

INSTANTIATE_TEST_SUITE_P(Boxes, CheckBoxTest, testing::ValuesIn(kBoxes),
                         [](const testing::TestParamInfo<BoxCase>& i) { return i.param.name; });

TEST(OptionPages, RepeatButtonsStoreTheirMode) {
  Pages p;
  QRadioButton* buttons[] = {p.controls.RepeatMode0RB, p.controls.RepeatMode1RB,
                             p.controls.RepeatMode2RB, p.controls.RepeatMode3RB};
  for (int mode : {2, 0, 3, 1}) {
    buttons[mode]->click();
    EXPECT_EQ(p.settings.RepeatMode, mode);
  }
}

// ---- Edits ----

struct EditCase {
  const char* name;
  TNumberEdit* OptionControls::*edit;
  const char* typed;
  std::int32_t Settings::*field;
  std::int32_t expected;
};
void PrintTo(const EditCase& c, std::ostream* os) { *os << c.name; }

class NumberEditTest : public testing::TestWithParam<EditCase> {};

TEST_P(NumberEditTest, TypingStoresTheValueWithinTheLimits) {
  const EditCase& c = GetParam();
  Pages p;
  TNumberEdit* edit = p.controls.*c.edit;
  edit->setEnabled(true);
  Retype(edit, c.typed);
  EXPECT_EQ(p.settings.*c.field, c.expected);
}

const EditCase kEdits[] = {
    {"Depth", &OptionControls::SearchFileDepthNE, "12", &Settings::SearchFileDepth, 12},
    {"DepthAboveItsLimit", &OptionControls::SearchFileDepthNE, "5000", &Settings::SearchFileDepth,
     1000},
    {"Level", &OptionControls::ShowFLLvlNE, "3", &Settings::ShowFileListLevel, 3},
    {"ExportLevel", &OptionControls::ExportFolderNE, "7", &Settings::ExportFolderLevel, 7},
    {"ExportLevelAboveItsLimit", &OptionControls::ExportFolderNE, "250",
     &Settings::ExportFolderLevel, 100},
};

INSTANTIATE_TEST_SUITE_P(Edits, NumberEditTest, testing::ValuesIn(kEdits),
                         [](const testing::TestParamInfo<EditCase>& i) { return i.param.name; });

TEST(OptionPages, AnEmptyMediaMaskBecomesEverything) {
  Pages p;
  p.controls.MediaMaskEdit->setText("*.ogg;");
  EXPECT_EQ(p.settings.MediaMask, "*.ogg;");
  p.controls.MediaMaskEdit->selectAll();
  QTest::keyClick(p.controls.MediaMaskEdit, Qt::Key_Delete);
  EXPECT_EQ(p.controls.MediaMaskEdit->text(), "*");
  EXPECT_EQ(p.settings.MediaMask, "*");
}

TEST(OptionPages, AnEmptyTransferMaskStaysEmpty) {
  Pages p;
  p.controls.ExportOtherExtEdit->setText("*.png;");
  p.controls.ExportOtherExtEdit->clear();
  EXPECT_EQ(p.controls.ExportOtherExtEdit->text(), "");
  EXPECT_EQ(p.settings.ExportOtherExt, "");
}

TEST(OptionPages, DefaultButtonsRestoreTheirMasks) {
  struct Case {
    QLineEdit* edit;
    QPushButton* button;
    const QString* setting;
    const char* expected;
  };
  Pages p;
  const Case cases[] = {{p.controls.MediaMaskEdit, p.controls.MnMediaMaskDefaultButton,
                         &p.settings.MediaMask, "*.mp3;*.mp4;*.m4a;*.flac;*.wma;*.wav;"},
                        {p.controls.ExportOtherExtEdit, p.controls.OMExtDefaultButton,
                         &p.settings.ExportOtherExt, "*.jpg;*.jpeg;"}};
  for (const Case& c : cases) {
    c.edit->setText("*.x;");
    ASSERT_EQ(*c.setting, "*.x;");
    c.button->click();
    EXPECT_EQ(c.edit->text(), c.expected);
    EXPECT_EQ(*c.setting, c.expected);
  }
}

// ---- States that follow from a box ----

TEST(OptionPages, AllLevelsBoxesEnableTheirEditsWhenClear) {
  struct Case {
    QCheckBox* box;
    TNumberEdit* edit;
    bool Settings::*field;
  };
  Pages p;
  const Case cases[] = {
      {p.controls.SearchFileDepthAllCB, p.controls.SearchFileDepthNE,
       &Settings::SearchFileDepthAll},
      {p.controls.ShowFLAllCB, p.controls.ShowFLLvlNE, &Settings::ShowFileListAll}};
  for (const Case& c : cases) {
    for (bool all : {false, true, false}) {
      if (c.box->isChecked() != all) c.box->click();
      EXPECT_EQ(c.edit->isEnabled(), !all);
    }
    // The same after the settings are shown, whatever state the box was in before.
    for (bool all : {false, true}) {
      p.settings.*c.field = all;
      p.pages.ShowOptionSettings();
      EXPECT_EQ(c.box->isChecked(), all);
      EXPECT_EQ(c.edit->isEnabled(), !all);
    }
  }
}

TEST(OptionPages, LoadPreviousFilesEnablesTheRandomBoxOnly) {
  Pages p;
  p.controls.RandomPreviousFileCB->click();
  ASSERT_TRUE(p.settings.RandomPreviousFile);
  p.controls.LoadPreviousFilesCB->setChecked(true);
  p.controls.LoadPreviousFilesCB->click();
  EXPECT_FALSE(p.settings.LoadPreviousFiles);
  EXPECT_FALSE(p.controls.RandomPreviousFileCB->isEnabled());
  EXPECT_TRUE(p.settings.RandomPreviousFile);
  EXPECT_TRUE(p.controls.RandomPreviousFileCB->isChecked());
  p.controls.LoadPreviousFilesCB->click();
  EXPECT_TRUE(p.controls.RandomPreviousFileCB->isEnabled());
}

TEST(OptionPages, DisplayLevelChangesRedrawBothLists) {
  Pages p;
  p.controls.ShowFLLvlNE->setText("0");
  EXPECT_EQ(p.settings.DisplayLevel, 0);
  EXPECT_EQ(p.fileRedraws, 1);
  EXPECT_EQ(p.groupRedraws, 1);
  p.controls.ShowFLAllCB->click();
  EXPECT_EQ(p.settings.DisplayLevel, -1);
  EXPECT_FALSE(p.controls.ShowFLLvlNE->isEnabled());
  EXPECT_EQ(p.fileRedraws, 2);
  EXPECT_EQ(p.groupRedraws, 2);
  p.controls.ShowFLAllCB->click();
  EXPECT_EQ(p.settings.DisplayLevel, 0);
  EXPECT_EQ(p.fileRedraws, 3);
}

// ---- Showing the settings ----

TEST(OptionPages, ShowOptionSettingsCopiesEverySettingWithoutRedrawing) {
  Pages p;
  Settings& s = p.settings;
  s.SearchFileDepth = 4;
  s.SearchFileDepthAll = false;
  s.PlayWhenOpen = false;
  s.EnablePreviousTimer = true;
  s.LoadPreviousFiles = false;
  s.PlayWhenExecute = true;
  s.MediaMask = "*.ogg;";
  s.ShowFileListLevel = 3;
  s.ShowFileListAll = true;
  s.m3uCharacterSet = "utf-8n";  // letter case is ignored
  s.m3uCRCode = "LF";
  s.RepeatMode = 2;
  s.WhenOpenSortFileRandom = true;
  s.WhenOpenSelectFileRandom = true;
  s.RandomMusic = true;
  s.RandomPreviousFile = true;
  s.ExportFolderLevel = 0;
  s.ExportCharacterSet = "EUC-JP";  // not in the list
  s.ExportCRCode = "CR";
  s.ExportOtherExt = "*.png;";
  s.CopyFolderJpeg = true;
  const Settings before = s;
  p.pages.ShowOptionSettings();

  const OptionControls& c = p.controls;
  EXPECT_EQ(c.SearchFileDepthNE->text(), "4");
  EXPECT_TRUE(c.SearchFileDepthNE->isEnabled());
  EXPECT_FALSE(c.SearchFileDepthAllCB->isChecked());
  EXPECT_FALSE(c.PlayWhenOpenCB->isChecked());
  EXPECT_TRUE(c.EnablePreviousTimerCB->isChecked());
  EXPECT_FALSE(c.LoadPreviousFilesCB->isChecked());
  EXPECT_FALSE(c.RandomPreviousFileCB->isEnabled());
  EXPECT_TRUE(c.PlayWhenExecuteCB->isChecked());
  EXPECT_EQ(c.MediaMaskEdit->text(), "*.ogg;");
  EXPECT_EQ(c.ShowFLLvlNE->text(), "3");
  EXPECT_FALSE(c.ShowFLLvlNE->isEnabled());
  EXPECT_TRUE(c.ShowFLAllCB->isChecked());
  EXPECT_EQ(c.m3uCharacterSetCB->currentText(), "UTF-8N");
  EXPECT_EQ(c.m3uCRCodeCB->currentText(), "LF");
  EXPECT_TRUE(c.RepeatMode2RB->isChecked());
  EXPECT_TRUE(c.WhenOpenSortFileRandomCB->isChecked());
  EXPECT_TRUE(c.WhenOpenSelectFileRandomCB->isChecked());
  EXPECT_TRUE(c.RandomMusicCB->isChecked());
  EXPECT_TRUE(c.RandomPreviousFileCB->isChecked());
  EXPECT_EQ(c.ExportFolderNE->text(), "0");
  EXPECT_EQ(c.ExportCharacterSetCB->currentText(), "Shift-JIS");
  EXPECT_EQ(c.ExportCRCodeCB->currentText(), "CR");
  EXPECT_EQ(c.ExportOtherExtEdit->text(), "*.png;");
  EXPECT_TRUE(c.CopyFolderJpegCB->isChecked());

  // The handlers stored what the settings already held; a name that matched no item keeps its
  // text, and nothing was redrawn.
  EXPECT_EQ(s.ExportCharacterSet, "EUC-JP");
  EXPECT_EQ(s.m3uCharacterSet, "utf-8n");
  EXPECT_EQ(s.SearchFileDepth, before.SearchFileDepth);
  EXPECT_EQ(s.ShowFileListLevel, before.ShowFileListLevel);
  EXPECT_EQ(s.ExportFolderLevel, before.ExportFolderLevel);
  EXPECT_EQ(s.MediaMask, before.MediaMask);
  EXPECT_EQ(p.fileRedraws, 0);
  EXPECT_EQ(p.groupRedraws, 0);
  EXPECT_FALSE(p.pages.UpdatingOptionControls());
}

TEST(OptionPages, ARepeatModeOutsideTheRangeChecksNoButton) {
  Pages p;
  p.controls.RepeatMode1RB->click();
  p.settings.RepeatMode = 9;
  p.pages.ShowOptionSettings();
  for (QRadioButton* b : {p.controls.RepeatMode0RB, p.controls.RepeatMode1RB,
                          p.controls.RepeatMode2RB, p.controls.RepeatMode3RB})
    EXPECT_FALSE(b->isChecked());
  EXPECT_EQ(p.settings.RepeatMode, 9);
  // The buttons are exclusive again afterwards.
  p.controls.RepeatMode3RB->click();
  p.controls.RepeatMode0RB->click();
  EXPECT_FALSE(p.controls.RepeatMode3RB->isChecked());
  EXPECT_EQ(p.settings.RepeatMode, 0);
}

TEST(OptionPages, GroupOptionsShowTheirSettings) {
  Pages p;
  p.settings.EnableAddGroup = false;
  p.settings.NoAddFolderToGroup = true;
  p.pages.ShowGroupOptions();
  EXPECT_FALSE(p.controls.EnableAddGroupCB->isChecked());
  EXPECT_TRUE(p.controls.NoAddFolderToGroupCB->isChecked());
}

// ---- Drop-down lists ----

struct ListCase {
  const char* name;
  QComboBox* OptionControls::*box;
  QString Settings::*field;
  const char* first;  // the item the pages select first
};
void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }

class DropDownTest : public testing::TestWithParam<ListCase> {};

TEST_P(DropDownTest, FilledInOrderAndTheUsersChoiceIsStored) {
  const ListCase& c = GetParam();
  Pages p;
  QComboBox* box = p.controls.*c.box;
  EXPECT_EQ(box->itemText(0), c.first);
  EXPECT_EQ(box->currentIndex(), 0);
  QTest::keyClick(box, Qt::Key_Down);
  EXPECT_EQ(box->currentIndex(), 1);
  EXPECT_EQ(p.settings.*c.field, box->itemText(1));
  // Selecting from code is no choice of the user's.
  box->setCurrentIndex(2);
  EXPECT_EQ(p.settings.*c.field, box->itemText(1));
}

const ListCase kLists[] = {
    {"PlaylistEncoding", &OptionControls::m3uCharacterSetCB, &Settings::m3uCharacterSet,
     "Shift-JIS"},
    {"PlaylistLineEnd", &OptionControls::m3uCRCodeCB, &Settings::m3uCRCode, "CR + LF"},
    {"TransferEncoding", &OptionControls::ExportCharacterSetCB, &Settings::ExportCharacterSet,
     "Shift-JIS"},
    {"TransferLineEnd", &OptionControls::ExportCRCodeCB, &Settings::ExportCRCode, "CR + LF"},
};

INSTANTIATE_TEST_SUITE_P(Lists, DropDownTest, testing::ValuesIn(kLists),
                         [](const testing::TestParamInfo<ListCase>& i) { return i.param.name; });

}  // namespace

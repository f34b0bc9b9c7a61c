#include "app/main_form_ui.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QSplitter>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <memory>
#include <ostream>

#include "app/bar_widgets.h"
#include "controls/number_edit.h"

namespace {

// One main window for the whole program, shown (offscreen) at its least size.
struct Shown {
  QMainWindow form;
  TMainFormUi ui;
};
Shown* shown = nullptr;

class FormEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    shown = new Shown;
    shown->ui.setupUi(&shown->form);
    shown->form.show();
    QApplication::processEvents();
  }
  void TearDown() override {
    delete shown;
    shown = nullptr;
  }
};
[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new FormEnvironment);

QMainWindow& Form() { return shown->form; }
TMainFormUi& Ui() { return shown->ui; }

void ResizeClient(const QSize& size) {
  Form().resize(size);
  QApplication::processEvents();
}

template <class T = QWidget>
T* Find(const char* name) {
  return Form().findChild<T*>(QString::fromLatin1(name));
}

// The text a control shows as its caption; empty for controls without one.
QString Caption(const QObject* o) {
  if (auto* b = qobject_cast<const QAbstractButton*>(o)) return b->text();
  if (auto* g = qobject_cast<const QGroupBox*>(o)) return g->title();
  if (auto* l = qobject_cast<const QLabel*>(o)) return l->text();
  if (auto* e = qobject_cast<const QLineEdit*>(o)) return e->text();
  if (auto* c = qobject_cast<const QComboBox*>(o)) return c->currentText();
  return {};
}

// --- Window frame -----------------------------------------------------------------------------

TEST(MainFormUiWindow, CaptionSizeFontAndStartPage) {
  EXPECT_EQ(Form().windowTitle(), QStringLiteral("quomm3u"));
  EXPECT_EQ(Form().minimumSize(), QSize(686, 776));
  EXPECT_GE(Form().width(), 686);
  EXPECT_GE(Form().height(), 776);
  ASSERT_FALSE(Form().font().families().isEmpty());
  EXPECT_EQ(Form().font().families().first(), QStringLiteral("Noto Sans CJK JP"));
  EXPECT_EQ(Ui().PageControl->currentWidget(), Ui().MusicTS);
  EXPECT_EQ(Ui().OptionPageControl->currentWidget(), Ui().FileSettingTS);
}

TEST(MainFormUiWindow, TrayIconIsPreparedButHidden) {
  ASSERT_NE(Ui().TrayIcon, nullptr);
  EXPECT_EQ(Ui().TrayIcon->objectName(), QStringLiteral("TrayIcon"));
  EXPECT_FALSE(Ui().TrayIcon->isVisible());
  EXPECT_EQ(Ui().TrayIcon->toolTip(), QStringLiteral("quommp3"));
  EXPECT_EQ(Ui().TrayIcon->contextMenu(), Ui().TrayPM);
  EXPECT_FALSE(Ui().TrayIcon->icon().isNull());
}

TEST(MainFormUiWindow, TimersAreSetAndStopped) {
  const struct {
    const char* name;
    int interval;
  } timers[] = {{"Timer", 100}, {"ClockTimer", 60000}};
  for (const auto& t : timers) {
    auto* timer = Form().findChild<QTimer*>(QString::fromLatin1(t.name));
    ASSERT_NE(timer, nullptr) << t.name;
    EXPECT_EQ(timer->interval(), t.interval) << t.name;
    EXPECT_FALSE(timer->isActive()) << t.name;
  }
}

// --- Pages ------------------------------------------------------------------------------------

struct PageCase {
  const char* control;
  int index;
  const char* name;
  const char* caption;
};
void PrintTo(const PageCase& c, std::ostream* os) { *os << c.name; }

class Pages : public ::testing::TestWithParam<PageCase> {};

TEST_P(Pages, StandInOrderWithTheirCaptions) {
  const PageCase& c = GetParam();
  auto* pages = Find<QTabWidget>(c.control);
  ASSERT_NE(pages, nullptr);
  ASSERT_LT(c.index, pages->count());
  EXPECT_EQ(pages->widget(c.index)->objectName(), QString::fromLatin1(c.name));
  EXPECT_EQ(pages->tabText(c.index), QString::fromUtf8(c.caption));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Pages,
    ::testing::Values(PageCase{"PageControl", 0, "GroupTS", "グループ"},
                      PageCase{"PageControl", 1, "MusicTS", "ファイル"},
                      PageCase{"PageControl", 2, "SearchTab", "検索"},
                      PageCase{"PageControl", 3, "TimerTS", "タイマー"},
                      PageCase{"PageControl", 4, "Option1TS", "再生オプション"},
                      PageCase{"PageControl", 5, "Option2TS", "その他オプション"},
                      PageCase{"OptionPageControl", 0, "FileSettingTS", "ファイル設定"},
                      PageCase{"OptionPageControl", 1, "MediaExportTS", "メディア転送設定"},
                      PageCase{"OptionPageControl", 2, "DetailTS", "その他の詳細設定"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(MainFormUiPages, PageControlsHoldExactlyTheirPages) {
  EXPECT_EQ(Ui().PageControl->count(), 6);
  EXPECT_EQ(Ui().OptionPageControl->count(), 3);
  EXPECT_TRUE(Ui().Option2TS->isAncestorOf(Ui().OptionPageControl));
}

// --- Controls ---------------------------------------------------------------------------------

enum class Check { None, Off, On };

struct ControlCase {
  const char* page;  // the page (or panel) the control lies on
  const char* name;
  const char* className;
  const char* caption;
  Check check = Check::None;
  bool enabled = true;
};
void PrintTo(const ControlCase& c, std::ostream* os) { *os << c.name; }

class Controls : public ::testing::TestWithParam<ControlCase> {};

TEST_P(Controls, AreNamedCaptionedAndPlacedOnTheirPage) {
  const ControlCase& c = GetParam();
  QWidget* w = Find(c.name);
  ASSERT_NE(w, nullptr) << c.name;
  EXPECT_TRUE(w->inherits(c.className)) << c.name << " is a " << w->metaObject()->className();
  QWidget* page = Find(c.page);
  ASSERT_NE(page, nullptr) << c.page;
  EXPECT_TRUE(page->isAncestorOf(w)) << c.name << " is not on " << c.page;
  EXPECT_EQ(Caption(w), QString::fromUtf8(c.caption));
  if (c.check != Check::None) {
    auto* b = qobject_cast<QAbstractButton*>(w);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->isCheckable());
    EXPECT_EQ(b->isChecked(), c.check == Check::On);
  }
  EXPECT_EQ(w->isEnabled(), c.enabled);
}

constexpr Check kOff = Check::Off;
constexpr Check kOn = Check::On;
constexpr Check kNo = Check::None;

INSTANTIATE_TEST_SUITE_P(
    Table, Controls,
    ::testing::Values(
        // Group page.
        ControlCase{"GroupTS", "GroupLB", "QListWidget", ""},
        ControlCase{"GroupTS", "ClearGroupButton", "QPushButton", "クリア"},
        ControlCase{"GroupTS", "LoadGroupButton", "QPushButton", "読み込み"},
        ControlCase{"GroupTS", "SaveGroupButton", "QPushButton", "保存"},
        ControlCase{"GroupTS", "NoAddFolderToGroupCB", "QCheckBox", "フォルダは追加しない", kOff},
        ControlCase{"GroupTS", "EnableAddGroupCB", "QCheckBox", "グループの追加を有効", kOn},
        // File page.
        ControlCase{"MusicTS", "Panel", "QFrame", ""},
        ControlCase{"Panel", "Splitter1", "QSplitter", ""},
        ControlCase{"Splitter1", "FileLB", "QListWidget", ""},
        ControlCase{"Splitter1", "Panel1", "QFrame", ""},
        ControlCase{"Panel1", "Splitter2", "QSplitter", ""},
        ControlCase{"Splitter2", "AlbumArtPanel", "QFrame", ""},
        ControlCase{"AlbumArtPanel", "Image", "QLabel", ""},
        ControlCase{"Splitter2", "MusicLB", "QListWidget", ""},
        // Search page.
        ControlCase{"SearchTab", "SearchCB", "QComboBox", ""},
        ControlCase{"SearchTab", "SearchButton", "QPushButton", "検索"},
        ControlCase{"SearchTab", "SearchLabel", "QLabel", ""},
        ControlCase{"SearchTab", "FoundLB", "QListWidget", ""},
        // Timer page.
        ControlCase{"TimerTS", "SpeedButton", "QToolButton", ""},
        ControlCase{"TimerTS", "TimerLB", "QListWidget", ""},
        ControlCase{"TimerTS", "AlarmFileGB", "QGroupBox", "ファイル"},
        ControlCase{"AlarmFileGB", "TimerCB", "QComboBox", ""},
        ControlCase{"AlarmFileGB", "AlarmFileReferButton", "QPushButton", "参照"},
        ControlCase{"AlarmFileGB", "OnlyStopCB", "QCheckBox", "停止する", kOff},
        ControlCase{"AlarmFileGB", "SelectFromGroupCB", "QCheckBox",
                    "グループの中からランダムに選ぶ", kOff},
        ControlCase{"TimerTS", "AlarmWeekDayGB", "QGroupBox", "曜日と時刻"},
        ControlCase{"AlarmWeekDayGB", "TimerHourCB", "QComboBox", "12"},
        ControlCase{"AlarmWeekDayGB", "TimerMinCB", "QComboBox", "00"},
        ControlCase{"AlarmWeekDayGB", "TimerMinSubNE", "TNumberEdit", "1"},
        ControlCase{"AlarmWeekDayGB", "TimerMinSubButton", "QPushButton", "分後の時刻"},
        ControlCase{"AlarmWeekDayGB", "ExecuteNowCB", "QCheckBox", "すぐに開始", kOff},
        ControlCase{"AlarmWeekDayGB", "WeekDayAllCB", "QCheckBox", "毎日", kOn},
        ControlCase{"AlarmWeekDayGB", "WeekDay0CB", "QCheckBox", "日", kOn, false},
        ControlCase{"AlarmWeekDayGB", "WeekDay1CB", "QCheckBox", "月", kOn, false},
        ControlCase{"AlarmWeekDayGB", "WeekDay2CB", "QCheckBox", "火", kOn, false},
        ControlCase{"AlarmWeekDayGB", "WeekDay3CB", "QCheckBox", "水", kOn, false},
        ControlCase{"AlarmWeekDayGB", "WeekDay4CB", "QCheckBox", "木", kOn, false},
        ControlCase{"AlarmWeekDayGB", "WeekDay5CB", "QCheckBox", "金", kOn, false},
        ControlCase{"AlarmWeekDayGB", "WeekDay6CB", "QCheckBox", "土", kOn, false},
        ControlCase{"TimerTS", "AlarmPlayOptionGB", "QGroupBox", "再生オプション"},
        ControlCase{"AlarmPlayOptionGB", "TimerPlayFileRandomCB", "QCheckBox",
                    "ファイルリストからランダムに選ぶ", kOff},
        ControlCase{"AlarmPlayOptionGB", "TimerPlayMusicRandomCB", "QCheckBox",
                    "プレイリストからランダムに選ぶ", kOff},
        ControlCase{"AlarmPlayOptionGB", "TimerRandomFileCB", "QCheckBox",
                    "ファイルリストをランダムに並べ替える", kOff},
        ControlCase{"AlarmPlayOptionGB", "TimerRandomMusicCB", "QCheckBox",
                    "プレイリストをランダムに並べかえる", kOff},
        ControlCase{"AlarmPlayOptionGB", "TimerPlayTiming0RB", "QRadioButton", "即再生する", kOn},
        ControlCase{"AlarmPlayOptionGB", "TimerPlayTiming1RB", "QRadioButton", "現在の", kOff},
        ControlCase{"AlarmPlayOptionGB", "TimerPlayTimingCB", "QComboBox", "曲"},
        ControlCase{"AlarmPlayOptionGB", "TimerPlayTimingLabel", "QLabel", "が終わるまで待つ"},
        ControlCase{"TimerTS", "TimerSettingNameEdit", "QLineEdit", "Timer"},
        ControlCase{"TimerTS", "TimerTimesNE", "TNumberEdit", "1"},
        ControlCase{"TimerTS", "AlarmTimesSubLabel", "QLabel", "回"},
        ControlCase{"TimerTS", "TimerSaveButton", "QPushButton", "保存"},
        ControlCase{"TimerTS", "TimerDeleteButton", "QPushButton", "削除"},
        // Playback options page.
        ControlCase{"Option1TS", "RepeatGB", "QGroupBox", "リピート設定"},
        ControlCase{"RepeatGB", "RepeatMode0RB", "QRadioButton", "リピートしない", kOff},
        ControlCase{"RepeatGB", "RepeatMode1RB", "QRadioButton", "１曲だけリピート", kOff},
        ControlCase{"RepeatGB", "RepeatMode2RB", "QRadioButton", "アルバムリピート", kOff},
        ControlCase{"RepeatGB", "RepeatMode3RB", "QRadioButton", "全体をリピート", kOff},
        ControlCase{"Option1TS", "RandomGB", "QGroupBox", "ランダム設定"},
        ControlCase{"RandomGB", "RandomMusicCB", "QCheckBox", "プレイリストをランダムに並べる",
                    kOff},
        ControlCase{"RandomGB", "WhenOpenSortFileRandomCB", "QCheckBox",
                    "ファイルリストをランダムに並べる", kOff},
        ControlCase{"RandomGB", "WhenOpenSelectFileRandomCB", "QCheckBox",
                    "ファイルリストからランダムに選ぶ", kOff},
        ControlCase{"RandomGB", "RandomPreviousFileCB", "QCheckBox",
                    "起動時の以前のファイルリストをランダムに並べる", kOff},
        // Other options: files.
        ControlCase{"FileSettingTS", "SearchFileDepthLabel", "QLabel", "読み込む階層数"},
        ControlCase{"FileSettingTS", "SearchFileDepthNE", "TNumberEdit", "0", kNo, false},
        ControlCase{"FileSettingTS", "SearchFileDepthAllCB", "QCheckBox", "すべて", kOn},
        ControlCase{"FileSettingTS", "MediaMaskLabel", "QLabel", "メディアの種類："},
        ControlCase{"FileSettingTS", "MediaMaskEdit", "QLineEdit", ""},
        ControlCase{"FileSettingTS", "MnMediaMaskDefaultButton", "QPushButton", "初期値"},
        ControlCase{"FileSettingTS", "LoadPreviousFilesCB", "QCheckBox",
                    "起動時に前回のファイルを読み込む", kOff},
        ControlCase{"FileSettingTS", "PlayWhenExecuteCB", "QCheckBox", "起動時に自動的に再生",
                    kOff},
        ControlCase{"FileSettingTS", "PlayWhenOpenCB", "QCheckBox",
                    "ファイルを開いたときに自動的に再生", kOff},
        ControlCase{"FileSettingTS", "EnablePreviousTimerCB", "QCheckBox",
                    "起動時に一つ前のタイマーを実行する", kOff},
        ControlCase{"FileSettingTS", "ShowFLLvlLabel", "QLabel", "表示する階層数"},
        ControlCase{"FileSettingTS", "ShowFLLvlNE", "TNumberEdit", "1"},
        ControlCase{"FileSettingTS", "ShowFLAllCB", "QCheckBox", "すべて", kOff},
        ControlCase{"FileSettingTS", "m3uCharacterSetLabel", "QLabel", "文字コードと改行コード："},
        ControlCase{"FileSettingTS", "m3uCharacterSetCB", "QComboBox", "Shift-JIS"},
        ControlCase{"FileSettingTS", "m3uCRCodeCB", "QComboBox", "CR + LF"},
        // Other options: media transfer.
        ControlCase{"MediaExportTS", "ExportFolderLabel", "QLabel",
                    "コピー元からみて上方向のフォルダと同じ名前のフォルダを作ってコピーする："},
        ControlCase{"MediaExportTS", "ExportFolderNE", "TNumberEdit", "1"},
        ControlCase{"MediaExportTS", "ExportFolderSubLabel", "QLabel", "階層"},
        ControlCase{"MediaExportTS", "ExportCharacterSetLabel", "QLabel",
                    "文字コードと改行コード："},
        ControlCase{"MediaExportTS", "ExportCharacterSetCB", "QComboBox", "Shift-JIS"},
        ControlCase{"MediaExportTS", "ExportCRCodeCB", "QComboBox", "CR + LF"},
        ControlCase{"MediaExportTS", "ExportOtherExtLabel", "QLabel", "その他のメディア："},
        ControlCase{"MediaExportTS", "ExportOtherExtEdit", "QLineEdit", ""},
        ControlCase{"MediaExportTS", "OMExtDefaultButton", "QPushButton", "初期値"},
        // Other options: details.
        ControlCase{"DetailTS", "CopyFolderJpegCB", "QCheckBox",
                    "Folder.jpg 以外の jpeg アルバムアートが表示されたときに Folder.jpg "
                    "というコピーを作る",
                    kOff},
        ControlCase{"DetailTS", "OutputDeviceLabel", "QLabel", "出力："},
        ControlCase{"DetailTS", "OutputDeviceNamesCB", "QComboBox", ""},
        ControlCase{"DetailTS", "RefreshDeviceButton", "QPushButton", "更新"},
        // Transport bar.
        ControlCase{"CentralWidget", "InterfacePanel", "QFrame", ""},
        ControlCase{"InterfacePanel", "TrackPanel", "QFrame", ""},
        ControlCase{"TrackPanel", "TrackShape", "TShape", ""},
        ControlCase{"TrackPanel", "TrackSB", "QToolButton", ""},
        ControlCase{"InterfacePanel", "VolumePanel", "QFrame", ""},
        ControlCase{"VolumePanel", "VolumeShape", "TShape", ""},
        ControlCase{"VolumePanel", "VolumeSB", "QToolButton", ""}),
    [](const auto& test) { return std::string(test.param.name); });

// --- Numeric edits, drop-down lists, list boxes -----------------------------------------------

struct NumberEditCase {
  const char* name;
  const char* text;
  const char* min;
  const char* max;
  std::int64_t value;
};
void PrintTo(const NumberEditCase& c, std::ostream* os) { *os << c.name; }

class NumberEdits : public ::testing::TestWithParam<NumberEditCase> {};

TEST_P(NumberEdits, StartWithTheirTextAndLimits) {
  const NumberEditCase& c = GetParam();
  auto* edit = Find<TNumberEdit>(c.name);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text(), QString::fromLatin1(c.text));
  EXPECT_EQ(edit->Min(), QString::fromLatin1(c.min));
  EXPECT_EQ(edit->Max(), QString::fromLatin1(c.max));
  EXPECT_TRUE(edit->Minus());
  EXPECT_FALSE(edit->FloatEnabled());
  EXPECT_EQ(edit->GetIntegerValue(), c.value);
}

INSTANTIATE_TEST_SUITE_P(Table, NumberEdits,
                         ::testing::Values(NumberEditCase{"TimerMinSubNE", "1", "-1000", "1000", 1},
                                           NumberEditCase{"TimerTimesNE", "1", "0", "1000", 1},
                                           NumberEditCase{"SearchFileDepthNE", "0", "0", "1000", 0},
                                           NumberEditCase{"ShowFLLvlNE", "1", "0", "1000", 1},
                                           NumberEditCase{"ExportFolderNE", "1", "0", "100", 1}),
                         [](const auto& test) { return std::string(test.param.name); });

QStringList TwoDigits(int count) {
  QStringList items;
  for (int i = 0; i < count; ++i) items << QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
  return items;
}

const QStringList kEncodings = {"Shift-JIS",  "UTF-16LE", "UTF-16BE", "UTF-16(LE)",
                                "UTF-16(BE)", "UTF-8",    "UTF-8N"};
const QStringList kLineEnds = {"CR + LF", "CR", "LF"};

struct ComboCase {
  const char* name;
  QStringList items;
  int current;
  bool editable;
};
void PrintTo(const ComboCase& c, std::ostream* os) { *os << c.name; }

class DropDowns : public ::testing::TestWithParam<ComboCase> {};

TEST_P(DropDowns, HoldTheirItems) {
  const ComboCase& c = GetParam();
  auto* combo = Find<QComboBox>(c.name);
  ASSERT_NE(combo, nullptr);
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  EXPECT_EQ(items, c.items);
  EXPECT_EQ(combo->currentIndex(), c.current);
  EXPECT_EQ(combo->isEditable(), c.editable);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DropDowns,
    ::testing::Values(ComboCase{"SearchCB", {}, -1, true}, ComboCase{"TimerCB", {}, -1, true},
                      ComboCase{"TimerHourCB", TwoDigits(24), 12, false},
                      ComboCase{"TimerMinCB", TwoDigits(60), 0, false},
                      ComboCase{"TimerPlayTimingCB",
                                {QStringLiteral("曲"), QStringLiteral("アルバム"),
                                 QStringLiteral("ファイルリスト")},
                                0,
                                false},
                      ComboCase{"m3uCharacterSetCB", kEncodings, 0, false},
                      ComboCase{"m3uCRCodeCB", kLineEnds, 0, false},
                      ComboCase{"ExportCharacterSetCB", kEncodings, 0, false},
                      ComboCase{"ExportCRCodeCB", kLineEnds, 0, false},
                      ComboCase{"OutputDeviceNamesCB", {}, -1, false}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(MainFormUiLists, SearchHistoryShowsTwentyRows) {
  EXPECT_EQ(Ui().SearchCB->maxVisibleItems(), 20);
}

TEST(MainFormUiLists, SelectionModes) {
  const struct {
    const char* name;
    QAbstractItemView::SelectionMode mode;
  } lists[] = {
      {"FileLB", QAbstractItemView::ExtendedSelection},
      {"GroupLB", QAbstractItemView::ExtendedSelection},
      {"MusicLB", QAbstractItemView::SingleSelection},
      {"FoundLB", QAbstractItemView::SingleSelection},
      {"TimerLB", QAbstractItemView::SingleSelection},
  };
  for (const auto& l : lists) {
    auto* list = Find<QListWidget>(l.name);
    ASSERT_NE(list, nullptr) << l.name;
    EXPECT_EQ(list->selectionMode(), l.mode) << l.name;
  }
}

// --- File page splitters ----------------------------------------------------------------------

TEST(MainFormUiSplitters, SplitTheListsAndKeepTheirSidesWhenTheWindowGrows) {
  Ui().PageControl->setCurrentWidget(Ui().MusicTS);
  for (const QSize size : {QSize(686, 776), QSize(1200, 1000)}) {
    ResizeClient(size);
    EXPECT_EQ(Ui().Splitter1->orientation(), Qt::Horizontal);
    EXPECT_EQ(Ui().Splitter1->handleWidth(), 4);
    ASSERT_EQ(Ui().Splitter1->count(), 2);
    EXPECT_EQ(Ui().Splitter1->widget(0), Ui().FileLB);
    EXPECT_EQ(Ui().Splitter1->widget(1), Ui().Panel1);
    EXPECT_EQ(Ui().FileLB->width(), 241) << size.width();

    EXPECT_EQ(Ui().Splitter2->orientation(), Qt::Vertical);
    EXPECT_EQ(Ui().Splitter2->handleWidth(), 4);
    ASSERT_EQ(Ui().Splitter2->count(), 2);
    EXPECT_EQ(Ui().Splitter2->widget(0), Ui().AlbumArtPanel);
    EXPECT_EQ(Ui().Splitter2->widget(1), Ui().MusicLB);
    EXPECT_EQ(Ui().AlbumArtPanel->height(), 271) << size.height();
  }
  EXPECT_EQ(Ui().Image->geometry(), QRect(5, 5, 86, 86));
  EXPECT_FALSE(Ui().Image->isVisible());
  ResizeClient(Form().minimumSize());
}

// --- Transport bar ----------------------------------------------------------------------------

struct SpeedButtonCase {
  const char* name;
  QRect place;  // inside InterfacePanel
  int glyph;
  bool checked;
  const char* hint;
};
void PrintTo(const SpeedButtonCase& c, std::ostream* os) { *os << c.name; }

class SpeedButtons : public ::testing::TestWithParam<SpeedButtonCase> {};

TEST_P(SpeedButtons, StandAtTheirDesignPlacesWithGlyphs) {
  const SpeedButtonCase& c = GetParam();
  auto* button = Find<QToolButton>(c.name);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->parentWidget(), Ui().InterfacePanel);
  // The row keeps its places whatever the width.
  for (const QSize size : {QSize(686, 776), QSize(1300, 900)}) {
    ResizeClient(size);
    EXPECT_EQ(button->geometry(), c.place) << size.width();
  }
  ResizeClient(Form().minimumSize());
  EXPECT_EQ(button->iconSize(), QSize(c.glyph, c.glyph));
  EXPECT_FALSE(button->icon().isNull());
  EXPECT_EQ(button->isCheckable(), c.checked);
  EXPECT_EQ(button->isChecked(), c.checked);
  EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(button->property("Hint").toString(), QString::fromUtf8(c.hint));
  // Hints are kept but not shown.
  EXPECT_TRUE(button->toolTip().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpeedButtons,
    ::testing::Values(SpeedButtonCase{"OpenSB", {8, 51, 45, 45}, 32, false, "開く"},
                      SpeedButtonCase{"SaveSB", {54, 51, 45, 45}, 32, false, "保存する"},
                      SpeedButtonCase{"PlayPauseSB", {133, 51, 45, 45}, 32, false, ""},
                      SpeedButtonCase{"PreviousTrackSB", {185, 54, 40, 40}, 28, false, ""},
                      SpeedButtonCase{"StopSB", {225, 54, 40, 40}, 28, false, ""},
                      SpeedButtonCase{"NextTrackSB", {265, 54, 40, 40}, 28, false, ""},
                      SpeedButtonCase{"FileRandomSB", {329, 51, 45, 45}, 32, false, ""},
                      SpeedButtonCase{"MusicRandomSB", {374, 54, 40, 40}, 28, false, ""},
                      SpeedButtonCase{"TimerSB", {439, 51, 45, 45}, 32, true, ""}),
    [](const auto& test) { return std::string(test.param.name); });

class TransportBar : public ::testing::TestWithParam<int> {};

TEST_P(TransportBar, BarsFollowTheWidthAndKnobsStayWhereTheyAreMoved) {
  const int width = GetParam();
  Ui().TrackSB->move(100, 5);
  Ui().VolumeSB->move(40, 5);
  ResizeClient(QSize(width, 800));
  const QRect client = Ui().CentralWidget->rect();
  const QRect bar = Ui().InterfacePanel->geometry();
  EXPECT_EQ(bar.height(), 106);
  EXPECT_EQ(bar.bottom(), client.bottom());
  EXPECT_EQ(bar.width(), client.width() - 3);
  EXPECT_LE(Ui().PageControl->geometry().bottom(), bar.top() - 1);
  EXPECT_EQ(Ui().PageControl->width(), client.width());

  EXPECT_EQ(Ui().TrackPanel->geometry(), QRect(4, 6, bar.width() - 8, 40));
  EXPECT_EQ(Ui().TrackShape->geometry(), QRect(9, 19, Ui().TrackPanel->width() - 17, 4));
  EXPECT_EQ(Ui().VolumePanel->geometry(), QRect(518, 54, bar.width() - 523, 40));
  EXPECT_EQ(Ui().VolumeShape->geometry(), QRect(9, 19, Ui().VolumePanel->width() - 17, 4));
  EXPECT_EQ(Ui().TrackSB->geometry(), QRect(100, 5, 14, 31));
  EXPECT_EQ(Ui().VolumeSB->geometry(), QRect(40, 5, 14, 31));
  Ui().TrackSB->move(1, 5);
  Ui().VolumeSB->move(1, 5);
  ResizeClient(Form().minimumSize());
}

INSTANTIATE_TEST_SUITE_P(Widths, TransportBar, ::testing::Values(686, 668 + 300, 1600));

TEST(MainFormUiTransport, DesignWidthGivesTheDesignBars) {
  // At the design width of the transport bar the position bar is 657 wide.
  Form().setMinimumSize(0, 0);
  ResizeClient(QSize(668, 776));
  EXPECT_EQ(Ui().InterfacePanel->width(), 665);
  EXPECT_EQ(Ui().TrackPanel->geometry(), QRect(4, 6, 657, 40));
  EXPECT_EQ(Ui().TrackShape->geometry(), QRect(9, 19, 640, 4));
  EXPECT_EQ(Ui().VolumePanel->geometry(), QRect(518, 54, 142, 40));
  EXPECT_EQ(Ui().VolumeShape->geometry(), QRect(9, 19, 125, 4));
  Form().setMinimumSize(686, 776);
  ResizeClient(Form().minimumSize());
}

// --- Image list -------------------------------------------------------------------------------

TEST(MainFormUiImages, FourDistinctGlyphsOnATransparentGround) {
  ASSERT_EQ(Ui().ImageList.size(), 4);
  QList<QImage> images;
  for (const QPixmap& pixmap : Ui().ImageList) {
    EXPECT_EQ(pixmap.size(), QSize(32, 32));
    const QImage image = pixmap.toImage();
    EXPECT_TRUE(image.hasAlphaChannel());
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    int inked = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) inked += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
    }
    EXPECT_GT(inked, 40);
    images << image;
  }
  for (int i = 0; i < 4; ++i) {
    for (int j = i + 1; j < 4; ++j) EXPECT_NE(images[i], images[j]) << i << " " << j;
  }
  // The play/pause button starts on the play glyph, the timer button on "timers on".
  EXPECT_EQ(Ui().PlayPauseSB->icon().pixmap(QSize(32, 32)).toImage(), images[0]);
  EXPECT_EQ(Ui().TimerSB->icon().pixmap(QSize(32, 32)).toImage(), images[2]);
}

// --- Pop-up menus -----------------------------------------------------------------------------

struct Item {
  const char* name;
  const char* caption;  // "-" for a separator
};

struct MenuCase {
  const char* name;
  std::vector<Item> items;
};
void PrintTo(const MenuCase& c, std::ostream* os) { *os << c.name; }

class Menus : public ::testing::TestWithParam<MenuCase> {};

TEST_P(Menus, ListTheirItemsInOrder) {
  const MenuCase& c = GetParam();
  auto* menu = Find<QMenu>(c.name);
  ASSERT_NE(menu, nullptr);
  const QList<QAction*> actions = menu->actions();
  ASSERT_EQ(actions.size(), static_cast<qsizetype>(c.items.size()));
  for (size_t i = 0; i < c.items.size(); ++i) {
    const Item& want = c.items[i];
    QAction* a = actions[static_cast<qsizetype>(i)];
    EXPECT_EQ(a->objectName(), QString::fromLatin1(want.name)) << i;
    const bool separator = QByteArray(want.caption) == "-";
    EXPECT_EQ(a->isSeparator(), separator) << want.name;
    if (!separator) {
      EXPECT_EQ(a->text(), QString::fromUtf8(want.caption)) << want.name;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Menus,
    ::testing::Values(MenuCase{"TrayPM",
                               {{"PlayPausePM", "再生(&P)"},
                                {"StopTM", "停止(&S)"},
                                {"PreviousTM", "前の曲(&B)"},
                                {"NextTM", "次の曲(&N)"},
                                {"N1", "-"},
                                {"PreviousAlbumTM", "前のアルバム(&A)"},
                                {"NextAlbumTM", "次のアルバム(&M)"},
                                {"N2", "-"},
                                {"ExitTM", "終了(&X)"}}},
                      MenuCase{
                          "FileListPM",
                          {{"MnFileSelectAll", "すべて選択(&A)"},
                           {"MnFileDelete", "削除(&D)"},
                           {"MnClear", "クリア(&C)"},
                           {"N3", "-"},
                           {"MnFileSort", "名前順で並べる(&T)"},
                           {"MnFileRandom", "ランダムに並べる(&R)"},
                           {"N4", "-"},
                           {"MnFileOpen", "ファイルリストを開く(&O)"},
                           {"MnFileSave", "ファイルリストを保存(&S)"},
                           {"N5", "-"},
                           {"MnFileCopy", "ファイル名とフォルダ名をクリップボードにコピー(&P)"},
                           {"MnFileExplorerOpen", "存在するフォルダを開く(&E)"},
                           {"N6", "-"},
                           {"MnFileExport", "メディア転送(&X)"},
                           {"MnGetCopySize", "転送に必要な容量(&V)"}}},
                      MenuCase{"MusicListPM",
                               {{"MnMusicDelete", "削除(&D)"},
                                {"MnMusicClear", "クリア(&C)"},
                                {"N7", "-"},
                                {"MnMusicSortByName", "名前順で並べる(&T)"},
                                {"MnMusicRandom", "ランダムに並べる(&R)"},
                                {"N8", "-"},
                                {"MnMusicAdd", "メディアを追加(&L)"},
                                {"MnSavePlayList", "プレイリストを保存(&S)"},
                                {"N9", "-"},
                                {"MnMusicCopy", "ファイル名をクリップボードにコピー(&P)"},
                                {"MnMusicOpenExplorer", "存在するフォルダを開く(&E)"}}},
                      MenuCase{"GroupListPM",
                               {{"MnGroupSelectAll", "すべて選択(&A)"},
                                {"MnGroupDelete", "削除(&D)"},
                                {"MnGroupClear", "クリア(&C)"},
                                {"N10", "-"},
                                {"MnGroupSort", "名前順で並べる(&T)"},
                                {"N11", "-"},
                                {"MnGroupOpen", "グループリストを開く(&O)"},
                                {"MnGroupSave", "グループリストを保存(&S)"},
                                {"N12", "-"},
                                {"MnGroupCopy", "パスやファイル名をクリップボードにコピーする(&P)"},
                                {"MnGroupExplorerOpen", "存在するフォルダを開く(&E)"}}},
                      MenuCase{"FoundPM",
                               {{"MnFouldClear", "クリア(&C)"},
                                {"N13", "-"},
                                {"MnFoundExplorerOpen", "存在するフォルダを開く(&E)"},
                                {"N14", "-"},
                                {"MnFoundAdd", "メディアリストに追加(&A)"}}},
                      MenuCase{"TimerListPM",
                               {{"MnTimerSelectAll", "すべて選択(&A)"},
                                {"MnTimerDelete", "削除(&D)"},
                                {"MnTimerClear", "クリア(&C)"},
                                {"N15", "-"},
                                {"MnTimerSort", "名前順で並べる(&T)"},
                                {"N16", "-"},
                                {"MnTimerOpen", "タイマーリストを開く(&O)"},
                                {"MnTimerSave", "タイマーリストを保存(&S)"},
                                {"N17", "-"},
                                {"MnTimerTest", "テスト(&E)"}}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(MainFormUiMenus, ListMenusAreNotAttachedYet) {
  for (QWidget* list : {static_cast<QWidget*>(Ui().FileLB), static_cast<QWidget*>(Ui().MusicLB),
                        static_cast<QWidget*>(Ui().GroupLB), static_cast<QWidget*>(Ui().FoundLB),
                        static_cast<QWidget*>(Ui().TimerLB)}) {
    EXPECT_EQ(list->contextMenuPolicy(), Qt::DefaultContextMenu)
        << list->objectName().toStdString();
  }
  EXPECT_EQ(Ui().SpeedButton->menu(), nullptr);
}

// --- Nothing clipped, nothing overlapping -----------------------------------------------------

// Controls whose text must be shown whole.
bool ShowsText(const QWidget* w) {
  return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLabel*>(w) ||
         qobject_cast<const QGroupBox*>(w) || qobject_cast<const QComboBox*>(w) ||
         qobject_cast<const QLineEdit*>(w);
}

// The controls a layout places: visible, named, not windows. The knobs are left out, since they
// stand on their lines by design.
bool Placed(const QWidget* w) {
  return w->isVisible() && !w->isWindow() && !w->objectName().isEmpty() &&
         !qobject_cast<const TKnobButton*>(w);
}

// Every placed control lies inside its parent, is at least its minimum size, and does not
// overlap a placed sibling.
void ExpectLaidOut(QWidget* root, const QString& where) {
  const QList<QWidget*> all = root->findChildren<QWidget*>();
  for (QWidget* w : all) {
    if (!Placed(w)) continue;
    QWidget* parent = w->parentWidget();
    EXPECT_TRUE(parent->rect().contains(w->geometry()))
        << where.toStdString() << ": " << w->objectName().toStdString() << " leaves its parent";
    if (ShowsText(w)) {
      const QSize min = w->minimumSizeHint();
      EXPECT_GE(w->width(), min.width())
          << where.toStdString() << ": " << w->objectName().toStdString() << " is clipped";
      EXPECT_GE(w->height(), min.height())
          << where.toStdString() << ": " << w->objectName().toStdString() << " is clipped";
    }
    for (QObject* o : parent->children()) {
      auto* sibling = qobject_cast<QWidget*>(o);
      if (!sibling || sibling == w || !Placed(sibling)) continue;
      EXPECT_FALSE(w->geometry().intersects(sibling->geometry()))
          << where.toStdString() << ": " << w->objectName().toStdString() << " overlaps "
          << sibling->objectName().toStdString();
    }
  }
}

struct FitCase {
  const char* tag;
  QSize size;
};
void PrintTo(const FitCase& c, std::ostream* os) { *os << c.tag; }

class Fit : public ::testing::TestWithParam<FitCase> {};

TEST_P(Fit, EveryPageFitsWithoutClippingOrOverlap) {
  ResizeClient(GetParam().size);
  ExpectLaidOut(Ui().InterfacePanel, QStringLiteral("InterfacePanel"));
  for (int p = 0; p < Ui().PageControl->count(); ++p) {
    Ui().PageControl->setCurrentIndex(p);
    const int inner = p == 5 ? Ui().OptionPageControl->count() : 1;
    for (int q = 0; q < inner; ++q) {
      if (p == 5) Ui().OptionPageControl->setCurrentIndex(q);
      QApplication::processEvents();
      QWidget* page = p == 5 ? Ui().OptionPageControl->widget(q) : Ui().PageControl->widget(p);
      ExpectLaidOut(page, page->objectName());
    }
  }
  Ui().OptionPageControl->setCurrentIndex(0);
  Ui().PageControl->setCurrentWidget(Ui().MusicTS);
  ResizeClient(Form().minimumSize());
}

INSTANTIATE_TEST_SUITE_P(Sizes, Fit,
                         ::testing::Values(FitCase{"Minimum", QSize(686, 776)},
                                           FitCase{"Large", QSize(1280, 1000)}),
                         [](const auto& test) { return std::string(test.param.tag); });

}  // namespace

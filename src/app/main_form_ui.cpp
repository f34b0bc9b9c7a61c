#include "app/main_form_ui.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

#include "app/bar_widgets.h"
#include "app/glyphs.h"
#include "controls/number_edit.h"

namespace {

// Design client area of the window and the least size it may be given.
constexpr QSize kDesignClientSize(668, 729);
constexpr QSize kMinimumSize(686, 776);
constexpr int kInterfacePanelHeight = 106;

const QStringList kEncodingNames = {QStringLiteral("Shift-JIS"),  QStringLiteral("UTF-16LE"),
                                    QStringLiteral("UTF-16BE"),   QStringLiteral("UTF-16(LE)"),
                                    QStringLiteral("UTF-16(BE)"), QStringLiteral("UTF-8"),
                                    QStringLiteral("UTF-8N")};
const QStringList kLineEndNames = {QStringLiteral("CR + LF"), QStringLiteral("CR"),
                                   QStringLiteral("LF")};

template <class W, class... Args>
W* Named(const char* name, Args&&... args) {
  W* w = new W(std::forward<Args>(args)...);
  w->setObjectName(QLatin1String(name));
  return w;
}

// The Japanese sans-serif of the desktop first, the default user-interface font after it for
// whatever it lacks. Naming the family keeps the Japanese forms of the kanji, which a fallback
// chosen by the font system might not.
QFont JapaneseFont(QFont font, int pixelSize = 0) {
  font.setFamilies({QStringLiteral("Noto Sans CJK JP"), font.family()});
  if (pixelSize > 0) font.setPixelSize(pixelSize);
  return font;
}

QListWidget* ListBox(const char* name, QAbstractItemView::SelectionMode mode) {
  auto* list = Named<QListWidget>(name);
  list->setSelectionMode(mode);
  return list;
}

// A drop-down list without free text, first item selected.
QComboBox* DropDown(const char* name, const QStringList& items) {
  auto* combo = Named<QComboBox>(name);
  combo->addItems(items);
  combo->setCurrentIndex(items.isEmpty() ? -1 : 0);
  return combo;
}

// The numeric edits take their properties in the order a loaded form applies them: the text,
// then Minus, Max and Min through their setters.
TNumberEdit* NumberEdit(const char* name, const char* text, const char* min, const char* max) {
  auto* edit = Named<TNumberEdit>(name);
  edit->setText(QString::fromLatin1(text));
  edit->SetMinus(true);
  edit->SetMax(QString::fromLatin1(max));
  edit->SetMin(QString::fromLatin1(min));
  edit->setFixedWidth(64);
  return edit;
}

QToolButton* MakeSpeedButton(const char* name, const QPixmap& glyph, int side) {
  auto* button = Named<QToolButton>(name);
  button->setFocusPolicy(Qt::NoFocus);
  button->setIcon(QIcon(glyph));
  button->setIconSize(glyph.size());
  button->setFixedSize(side, side);
  return button;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets, bool trailingStretch = true) {
  auto* row = new QHBoxLayout;
  row->setSpacing(6);
  for (QWidget* w : widgets) row->addWidget(w);
  if (trailingStretch) row->addStretch(1);
  return row;
}

QWidget* Page(QTabWidget* pages, const char* name, const QString& caption) {
  auto* page = Named<QWidget>(name);
  pages->addTab(page, caption);
  return page;
}

}  // namespace

void TMainFormUi::setupUi(QMainWindow* form) {
  form->setWindowTitle(QStringLiteral("quomm3u"));
  form->setFont(JapaneseFont(QApplication::font(), 14));
  form->setWindowIcon(QIcon(glyphs::AppGlyph(32)));

  ImageList = {glyphs::PlayGlyph(32), glyphs::PauseGlyph(32), glyphs::TimerOnGlyph(32),
               glyphs::TimerOffGlyph(32)};

  CentralWidget = Named<QWidget>("CentralWidget", form);
  form->setCentralWidget(CentralWidget);

  PageControl = Named<QTabWidget>("PageControl");
  PageControl->setUsesScrollButtons(false);
  GroupTS = Page(PageControl, "GroupTS", QStringLiteral("グループ"));
  MusicTS = Page(PageControl, "MusicTS", QStringLiteral("ファイル"));
  SearchTab = Page(PageControl, "SearchTab", QStringLiteral("検索"));
  TimerTS = Page(PageControl, "TimerTS", QStringLiteral("タイマー"));
  Option1TS = Page(PageControl, "Option1TS", QStringLiteral("再生オプション"));
  Option2TS = Page(PageControl, "Option2TS", QStringLiteral("その他オプション"));
  SetupGroupPage();
  SetupMusicPage();
  SetupSearchPage();
  SetupTimerPage();
  SetupPlaybackOptionsPage();
  SetupOtherOptionsPage();
  PageControl->setCurrentWidget(MusicTS);

  InterfacePanel = Named<QFrame>("InterfacePanel");
  SetupInterfacePanel();

  // The page control fills the window above the transport bar, which keeps its height at the
  // bottom and follows the width.
  auto* client = new TAnchorLayout(CentralWidget, kDesignClientSize);
  client->Place(PageControl,
                QRect(0, 3, kDesignClientSize.width(),
                      kDesignClientSize.height() - 3 - kInterfacePanelHeight),
                Anchor::Left | Anchor::Top | Anchor::Right | Anchor::Bottom);
  client->Place(
      InterfacePanel,
      QRect(0, kDesignClientSize.height() - kInterfacePanelHeight, 665, kInterfacePanelHeight),
      Anchor::Left | Anchor::Right | Anchor::Bottom);

  Timer = Named<QTimer>("Timer", form);
  Timer->setInterval(100);
  ClockTimer = Named<QTimer>("ClockTimer", form);
  ClockTimer->setInterval(60000);

  SetupMenus(form);

  TrayIcon = Named<QSystemTrayIcon>("TrayIcon", form);
  TrayIcon->setIcon(QIcon(glyphs::AppGlyph(32)));
  TrayIcon->setToolTip(QStringLiteral("quommp3"));
  TrayIcon->setContextMenu(TrayPM);

  form->setMinimumSize(kMinimumSize);
  form->resize(kDesignClientSize.expandedTo(kMinimumSize));
}

void TMainFormUi::SetupGroupPage() {
  GroupLB = ListBox("GroupLB", QAbstractItemView::ExtendedSelection);
  ClearGroupButton = Named<QPushButton>("ClearGroupButton", QStringLiteral("クリア"));
  LoadGroupButton = Named<QPushButton>("LoadGroupButton", QStringLiteral("読み込み"));
  SaveGroupButton = Named<QPushButton>("SaveGroupButton", QStringLiteral("保存"));
  NoAddFolderToGroupCB =
      Named<QCheckBox>("NoAddFolderToGroupCB", QStringLiteral("フォルダは追加しない"));
  EnableAddGroupCB = Named<QCheckBox>("EnableAddGroupCB", QStringLiteral("グループの追加を有効"));
  EnableAddGroupCB->setChecked(true);

  auto* page = new QVBoxLayout(GroupTS);
  page->setContentsMargins(4, 4, 4, 6);
  page->addWidget(GroupLB, 1);
  auto* row = Row({ClearGroupButton, LoadGroupButton, SaveGroupButton});
  row->addWidget(NoAddFolderToGroupCB);
  row->addSpacing(8);
  row->addWidget(EnableAddGroupCB);
  page->addLayout(row);
}

void TMainFormUi::SetupMusicPage() {
  Panel = Named<QFrame>("Panel");
  FileLB = ListBox("FileLB", QAbstractItemView::ExtendedSelection);
  Panel1 = Named<QFrame>("Panel1");
  AlbumArtPanel = Named<QFrame>("AlbumArtPanel");
  AlbumArtPanel->setFrameShape(QFrame::StyledPanel);
  // The picture is sized and drawn by the album-art display; until there is one it is hidden.
  Image = Named<QLabel>("Image", AlbumArtPanel);
  Image->setGeometry(5, 5, 86, 86);
  Image->setScaledContents(true);
  Image->hide();
  MusicLB = ListBox("MusicLB", QAbstractItemView::SingleSelection);

  Splitter2 = Named<QSplitter>("Splitter2", Qt::Vertical);
  Splitter2->setHandleWidth(4);
  Splitter2->setChildrenCollapsible(false);
  Splitter2->addWidget(AlbumArtPanel);
  Splitter2->addWidget(MusicLB);
  // The album art keeps its height when the window grows; the music list takes the rest.
  Splitter2->setStretchFactor(0, 0);
  Splitter2->setStretchFactor(1, 1);
  Splitter2->setSizes({271, 300});
  auto* right = new QVBoxLayout(Panel1);
  right->setContentsMargins(0, 0, 0, 0);
  right->addWidget(Splitter2);

  Splitter1 = Named<QSplitter>("Splitter1", Qt::Horizontal);
  Splitter1->setHandleWidth(4);
  Splitter1->setChildrenCollapsible(false);
  Splitter1->addWidget(FileLB);
  Splitter1->addWidget(Panel1);
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({241, 400});
  auto* panel = new QHBoxLayout(Panel);
  panel->setContentsMargins(0, 0, 0, 0);
  panel->addWidget(Splitter1);

  auto* page = new QVBoxLayout(MusicTS);
  page->setContentsMargins(0, 0, 0, 0);
  page->addWidget(Panel);
}

void TMainFormUi::SetupSearchPage() {
  SearchCB = Named<QComboBox>("SearchCB");
  SearchCB->setEditable(true);
  SearchCB->setMaxVisibleItems(20);
  // The history is kept in order by the search command itself.
  SearchCB->setInsertPolicy(QComboBox::NoInsert);
  SearchButton = Named<QPushButton>("SearchButton", QStringLiteral("検索"));
  SearchButton->setFixedWidth(94);
  SearchLabel = Named<QLabel>("SearchLabel");
  FoundLB = ListBox("FoundLB", QAbstractItemView::SingleSelection);

  auto* page = new QVBoxLayout(SearchTab);
  page->setContentsMargins(0, 5, 0, 0);
  auto* top = new QHBoxLayout;
  top->setContentsMargins(4, 0, 5, 0);
  top->addWidget(SearchCB, 1);
  top->addSpacing(4);
  top->addWidget(SearchButton);
  page->addLayout(top);
  auto* label = new QHBoxLayout;
  label->setContentsMargins(9, 4, 4, 4);
  label->addWidget(SearchLabel);
  page->addLayout(label);
  page->addWidget(FoundLB, 1);
}

void TMainFormUi::SetupTimerPage() {
  SpeedButton = Named<QToolButton>("SpeedButton");
  SpeedButton->setFocusPolicy(Qt::NoFocus);
  SpeedButton->setIcon(QIcon(glyphs::MenuGlyph(16)));
  SpeedButton->setIconSize(QSize(16, 16));
  SpeedButton->setFixedSize(26, 24);
  TimerLB = ListBox("TimerLB", QAbstractItemView::SingleSelection);

  // The file to open.
  AlarmFileGB = Named<QGroupBox>("AlarmFileGB", QStringLiteral("ファイル"));
  TimerCB = Named<QComboBox>("TimerCB");
  TimerCB->setEditable(true);
  TimerCB->setInsertPolicy(QComboBox::NoInsert);
  TimerCB->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  TimerCB->setMinimumContentsLength(12);
  AlarmFileReferButton = Named<QPushButton>("AlarmFileReferButton", QStringLiteral("参照"));
  OnlyStopCB = Named<QCheckBox>("OnlyStopCB", QStringLiteral("停止する"));
  SelectFromGroupCB =
      Named<QCheckBox>("SelectFromGroupCB", QStringLiteral("グループの中からランダムに選ぶ"));
  auto* file = new QVBoxLayout(AlarmFileGB);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(TimerCB, 1);
  fileRow->addWidget(AlarmFileReferButton);
  file->addLayout(fileRow);
  auto* fileChecks = Row({OnlyStopCB});
  fileChecks->insertWidget(1, SelectFromGroupCB);
  fileChecks->insertSpacing(1, 12);
  file->addLayout(fileChecks);

  // The time of day and the weekdays.
  AlarmWeekDayGB = Named<QGroupBox>("AlarmWeekDayGB", QStringLiteral("曜日と時刻"));
  QStringList hours, minutes;
  for (int h = 0; h < 24; ++h) hours << QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0'));
  for (int m = 0; m < 60; ++m) minutes << QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'));
  TimerHourCB = DropDown("TimerHourCB", hours);
  TimerHourCB->setCurrentIndex(12);
  TimerColonLabel = Named<QLabel>("TimerColonLabel", QStringLiteral(":"));
  TimerMinCB = DropDown("TimerMinCB", minutes);
  TimerMinSubNE = NumberEdit("TimerMinSubNE", "1", "-1000", "1000");
  TimerMinSubButton = Named<QPushButton>("TimerMinSubButton", QStringLiteral("分後の時刻"));
  ExecuteNowCB = Named<QCheckBox>("ExecuteNowCB", QStringLiteral("すぐに開始"));
  WeekDayAllCB = Named<QCheckBox>("WeekDayAllCB", QStringLiteral("毎日"));
  WeekDayAllCB->setChecked(true);
  const char* const dayNames[] = {"WeekDay0CB", "WeekDay1CB", "WeekDay2CB", "WeekDay3CB",
                                  "WeekDay4CB", "WeekDay5CB", "WeekDay6CB"};
  const QString dayCaptions[] = {QStringLiteral("日"), QStringLiteral("月"), QStringLiteral("火"),
                                 QStringLiteral("水"), QStringLiteral("木"), QStringLiteral("金"),
                                 QStringLiteral("土")};
  QCheckBox** days[] = {&WeekDay0CB, &WeekDay1CB, &WeekDay2CB, &WeekDay3CB,
                        &WeekDay4CB, &WeekDay5CB, &WeekDay6CB};
  auto* weekRow = new QHBoxLayout;
  weekRow->addWidget(WeekDayAllCB);
  weekRow->addSpacing(8);
  for (int d = 0; d < 7; ++d) {
    *days[d] = Named<QCheckBox>(dayNames[d], dayCaptions[d]);
    (*days[d])->setChecked(true);
    (*days[d])->setEnabled(false);
    weekRow->addWidget(*days[d]);
  }
  weekRow->addStretch(1);
  auto* week = new QVBoxLayout(AlarmWeekDayGB);
  auto* timeRow = Row({TimerHourCB, TimerColonLabel, TimerMinCB});
  timeRow->insertSpacing(3, 16);
  timeRow->insertWidget(4, TimerMinSubNE);
  timeRow->insertWidget(5, TimerMinSubButton);
  timeRow->addWidget(ExecuteNowCB);
  week->addLayout(timeRow);
  week->addLayout(weekRow);

  // How playback starts.
  AlarmPlayOptionGB = Named<QGroupBox>("AlarmPlayOptionGB", QStringLiteral("再生オプション"));
  TimerPlayFileRandomCB =
      Named<QCheckBox>("TimerPlayFileRandomCB", QStringLiteral("ファイルリストからランダムに選ぶ"));
  TimerPlayMusicRandomCB =
      Named<QCheckBox>("TimerPlayMusicRandomCB", QStringLiteral("プレイリストからランダムに選ぶ"));
  TimerRandomFileCB =
      Named<QCheckBox>("TimerRandomFileCB", QStringLiteral("ファイルリストをランダムに並べ替える"));
  TimerRandomMusicCB =
      Named<QCheckBox>("TimerRandomMusicCB", QStringLiteral("プレイリストをランダムに並べかえる"));
  TimerPlayTiming0RB = Named<QRadioButton>("TimerPlayTiming0RB", QStringLiteral("即再生する"));
  TimerPlayTiming0RB->setChecked(true);
  TimerPlayTiming1RB = Named<QRadioButton>("TimerPlayTiming1RB", QStringLiteral("現在の"));
  TimerPlayTimingCB = DropDown(
      "TimerPlayTimingCB",
      {QStringLiteral("曲"), QStringLiteral("アルバム"), QStringLiteral("ファイルリスト")});
  TimerPlayTimingLabel = Named<QLabel>("TimerPlayTimingLabel", QStringLiteral("が終わるまで待つ"));
  auto* play = new QGridLayout(AlarmPlayOptionGB);
  play->addWidget(TimerPlayFileRandomCB, 0, 0);
  play->addWidget(TimerPlayMusicRandomCB, 0, 1);
  play->addWidget(TimerRandomFileCB, 1, 0);
  play->addWidget(TimerRandomMusicCB, 1, 1);
  play->addWidget(TimerPlayTiming0RB, 2, 0, 1, 2);
  play->addLayout(Row({TimerPlayTiming1RB, TimerPlayTimingCB, TimerPlayTimingLabel}), 3, 0, 1, 2);

  // Name and run count of the timer, and the commands that store it.
  TimerSettingNameEdit = Named<QLineEdit>("TimerSettingNameEdit", QStringLiteral("Timer"));
  TimerTimesNE = NumberEdit("TimerTimesNE", "1", "0", "1000");
  AlarmTimesSubLabel = Named<QLabel>("AlarmTimesSubLabel", QStringLiteral("回"));
  TimerSaveButton = Named<QPushButton>("TimerSaveButton", QStringLiteral("保存"));
  TimerDeleteButton = Named<QPushButton>("TimerDeleteButton", QStringLiteral("削除"));
  auto* store = new QHBoxLayout;
  store->addWidget(TimerSettingNameEdit, 1);
  store->addSpacing(8);
  store->addWidget(TimerTimesNE);
  store->addWidget(AlarmTimesSubLabel);
  store->addSpacing(16);
  store->addWidget(TimerSaveButton);
  store->addWidget(TimerDeleteButton);

  auto* list = new QVBoxLayout;
  list->addLayout(Row({SpeedButton}));
  list->addWidget(TimerLB, 1);
  auto* editor = new QVBoxLayout;
  editor->addWidget(AlarmFileGB);
  editor->addWidget(AlarmWeekDayGB);
  editor->addWidget(AlarmPlayOptionGB);
  editor->addLayout(store);
  editor->addStretch(1);
  auto* page = new QHBoxLayout(TimerTS);
  page->setContentsMargins(4, 4, 4, 4);
  page->addLayout(list, 1);
  page->addLayout(editor, 3);
}

void TMainFormUi::SetupPlaybackOptionsPage() {
  RepeatGB = Named<QGroupBox>("RepeatGB", QStringLiteral("リピート設定"));
  RepeatMode0RB = Named<QRadioButton>("RepeatMode0RB", QStringLiteral("リピートしない"));
  RepeatMode1RB = Named<QRadioButton>("RepeatMode1RB", QStringLiteral("１曲だけリピート"));
  RepeatMode2RB = Named<QRadioButton>("RepeatMode2RB", QStringLiteral("アルバムリピート"));
  RepeatMode3RB = Named<QRadioButton>("RepeatMode3RB", QStringLiteral("全体をリピート"));
  auto* repeat = new QVBoxLayout(RepeatGB);
  for (QWidget* w : {RepeatMode0RB, RepeatMode1RB, RepeatMode2RB, RepeatMode3RB}) {
    repeat->addWidget(w);
  }

  RandomGB = Named<QGroupBox>("RandomGB", QStringLiteral("ランダム設定"));
  RandomMusicCB =
      Named<QCheckBox>("RandomMusicCB", QStringLiteral("プレイリストをランダムに並べる"));
  WhenOpenSortFileRandomCB = Named<QCheckBox>("WhenOpenSortFileRandomCB",
                                              QStringLiteral("ファイルリストをランダムに並べる"));
  WhenOpenSelectFileRandomCB = Named<QCheckBox>("WhenOpenSelectFileRandomCB",
                                                QStringLiteral("ファイルリストからランダムに選ぶ"));
  RandomPreviousFileCB = Named<QCheckBox>(
      "RandomPreviousFileCB", QStringLiteral("起動時の以前のファイルリストをランダムに並べる"));
  auto* random = new QVBoxLayout(RandomGB);
  for (QWidget* w : {RandomMusicCB, WhenOpenSortFileRandomCB, WhenOpenSelectFileRandomCB,
                     RandomPreviousFileCB}) {
    random->addWidget(w);
  }

  auto* column = new QVBoxLayout;
  column->addWidget(RepeatGB);
  column->addSpacing(8);
  column->addWidget(RandomGB);
  column->addStretch(1);
  auto* page = new QHBoxLayout(Option1TS);
  page->setContentsMargins(12, 10, 12, 10);
  page->addLayout(column);
  page->addStretch(1);
}

void TMainFormUi::SetupOtherOptionsPage() {
  OptionPageControl = Named<QTabWidget>("OptionPageControl");
  OptionPageControl->setUsesScrollButtons(false);
  FileSettingTS = Page(OptionPageControl, "FileSettingTS", QStringLiteral("ファイル設定"));
  MediaExportTS = Page(OptionPageControl, "MediaExportTS", QStringLiteral("メディア転送設定"));
  DetailTS = Page(OptionPageControl, "DetailTS", QStringLiteral("その他の詳細設定"));
  auto* outer = new QVBoxLayout(Option2TS);
  outer->setContentsMargins(4, 6, 4, 4);
  outer->addWidget(OptionPageControl);

  // Files.
  SearchFileDepthLabel = Named<QLabel>("SearchFileDepthLabel", QStringLiteral("読み込む階層数"));
  SearchFileDepthNE = NumberEdit("SearchFileDepthNE", "0", "0", "1000");
  SearchFileDepthNE->setEnabled(false);
  // Checked to match the depth edit, which is disabled while every level is read.
  SearchFileDepthAllCB = Named<QCheckBox>("SearchFileDepthAllCB", QStringLiteral("すべて"));
  SearchFileDepthAllCB->setChecked(true);
  MediaMaskLabel = Named<QLabel>("MediaMaskLabel", QStringLiteral("メディアの種類："));
  MediaMaskEdit = Named<QLineEdit>("MediaMaskEdit");
  MnMediaMaskDefaultButton =
      Named<QPushButton>("MnMediaMaskDefaultButton", QStringLiteral("初期値"));
  LoadPreviousFilesCB =
      Named<QCheckBox>("LoadPreviousFilesCB", QStringLiteral("起動時に前回のファイルを読み込む"));
  PlayWhenExecuteCB = Named<QCheckBox>("PlayWhenExecuteCB", QStringLiteral("起動時に自動的に再生"));
  PlayWhenOpenCB =
      Named<QCheckBox>("PlayWhenOpenCB", QStringLiteral("ファイルを開いたときに自動的に再生"));
  EnablePreviousTimerCB = Named<QCheckBox>("EnablePreviousTimerCB",
                                           QStringLiteral("起動時に一つ前のタイマーを実行する"));
  ShowFLLvlLabel = Named<QLabel>("ShowFLLvlLabel", QStringLiteral("表示する階層数"));
  ShowFLLvlNE = NumberEdit("ShowFLLvlNE", "1", "0", "1000");
  ShowFLAllCB = Named<QCheckBox>("ShowFLAllCB", QStringLiteral("すべて"));
  m3uCharacterSetLabel =
      Named<QLabel>("m3uCharacterSetLabel", QStringLiteral("文字コードと改行コード："));
  m3uCharacterSetCB = DropDown("m3uCharacterSetCB", kEncodingNames);
  m3uCRCodeCB = DropDown("m3uCRCodeCB", kLineEndNames);

  auto* files = new QGridLayout(FileSettingTS);
  files->setContentsMargins(12, 12, 12, 12);
  files->setVerticalSpacing(8);
  files->addWidget(SearchFileDepthLabel, 0, 0);
  files->addLayout(Row({SearchFileDepthNE, SearchFileDepthAllCB}), 0, 1);
  files->addWidget(MediaMaskLabel, 1, 0);
  auto* mask = Row({MediaMaskEdit, MnMediaMaskDefaultButton}, false);
  mask->setStretch(0, 1);
  files->addLayout(mask, 1, 1);
  int row = 2;
  for (QWidget* w :
       {LoadPreviousFilesCB, PlayWhenExecuteCB, PlayWhenOpenCB, EnablePreviousTimerCB}) {
    files->addWidget(w, row++, 0, 1, 2);
  }
  files->addWidget(ShowFLLvlLabel, row, 0);
  files->addLayout(Row({ShowFLLvlNE, ShowFLAllCB}), row++, 1);
  files->addWidget(m3uCharacterSetLabel, row, 0);
  files->addLayout(Row({m3uCharacterSetCB, m3uCRCodeCB}), row++, 1);
  files->setRowStretch(row, 1);
  files->setColumnStretch(1, 1);

  // Media transfer. The folder-level text is too long to share a line with its edit at the
  // window's least width, so the edit follows it on the next line.
  ExportFolderLabel = Named<QLabel>(
      "ExportFolderLabel",
      QStringLiteral("コピー元からみて上方向のフォルダと同じ名前のフォルダを作ってコピーする："));
  ExportFolderLabel->setWordWrap(true);
  ExportFolderNE = NumberEdit("ExportFolderNE", "1", "0", "100");
  ExportFolderSubLabel = Named<QLabel>("ExportFolderSubLabel", QStringLiteral("階層"));
  ExportCharacterSetLabel =
      Named<QLabel>("ExportCharacterSetLabel", QStringLiteral("文字コードと改行コード："));
  ExportCharacterSetCB = DropDown("ExportCharacterSetCB", kEncodingNames);
  ExportCRCodeCB = DropDown("ExportCRCodeCB", kLineEndNames);
  ExportOtherExtLabel = Named<QLabel>("ExportOtherExtLabel", QStringLiteral("その他のメディア："));
  ExportOtherExtEdit = Named<QLineEdit>("ExportOtherExtEdit");
  OMExtDefaultButton = Named<QPushButton>("OMExtDefaultButton", QStringLiteral("初期値"));

  auto* transfer = new QGridLayout(MediaExportTS);
  transfer->setContentsMargins(12, 12, 12, 12);
  transfer->setVerticalSpacing(8);
  transfer->addWidget(ExportFolderLabel, 0, 0, 1, 2);
  auto* level = Row({ExportFolderNE, ExportFolderSubLabel});
  level->insertSpacing(0, 16);
  transfer->addLayout(level, 1, 0, 1, 2);
  transfer->setRowMinimumHeight(2, 8);
  transfer->addWidget(ExportCharacterSetLabel, 3, 0);
  transfer->addLayout(Row({ExportCharacterSetCB, ExportCRCodeCB}), 3, 1);
  transfer->addWidget(ExportOtherExtLabel, 4, 0);
  auto* other = Row({ExportOtherExtEdit, OMExtDefaultButton}, false);
  other->setStretch(0, 1);
  transfer->addLayout(other, 4, 1);
  transfer->setRowStretch(5, 1);
  transfer->setColumnStretch(1, 1);

  // Details: the album-art copy and the output device.
  CopyFolderJpegCB = Named<QCheckBox>(
      "CopyFolderJpegCB",
      QStringLiteral(
          "Folder.jpg 以外の jpeg アルバムアートが表示されたときに Folder.jpg というコピーを作る"));
  OutputDeviceLabel = Named<QLabel>("OutputDeviceLabel", QStringLiteral("出力："));
  OutputDeviceNamesCB = Named<QComboBox>("OutputDeviceNamesCB");
  OutputDeviceNamesCB->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  OutputDeviceNamesCB->setMinimumContentsLength(28);
  RefreshDeviceButton = Named<QPushButton>("RefreshDeviceButton", QStringLiteral("更新"));

  auto* details = new QVBoxLayout(DetailTS);
  details->setContentsMargins(12, 12, 12, 12);
  details->setSpacing(12);
  details->addWidget(CopyFolderJpegCB);
  details->addLayout(Row({OutputDeviceLabel, OutputDeviceNamesCB, RefreshDeviceButton}));
  details->addStretch(1);
}

void TMainFormUi::SetupInterfacePanel() {
  // The bar is a fixed row at its design places; the position bar and the volume bar stretch
  // with the window.
  auto* bar = new TAnchorLayout(InterfacePanel, QSize(665, kInterfacePanelHeight));
  const Anchors stretch = Anchor::Left | Anchor::Top | Anchor::Right;
  const Anchors fixed = Anchor::Left | Anchor::Top;

  // The lines stretch with their panels; the knobs stand on them and are moved by whoever shows
  // the position or the volume.
  TrackPanel = Named<QFrame>("TrackPanel");
  TrackShape = Named<TShape>("TrackShape");
  auto* track = new TAnchorLayout(TrackPanel, QSize(657, 40));
  track->Place(TrackShape, QRect(9, 19, 640, 4), stretch);
  TrackSB = Named<TKnobButton>("TrackSB", TrackPanel);
  TrackSB->setGeometry(1, 5, 14, 31);
  bar->Place(TrackPanel, QRect(4, 6, 657, 40), stretch);

  OpenSB = MakeSpeedButton("OpenSB", glyphs::OpenGlyph(32), 45);
  OpenSB->setProperty("Hint", QStringLiteral("開く"));
  SaveSB = MakeSpeedButton("SaveSB", glyphs::SaveGlyph(32), 45);
  SaveSB->setProperty("Hint", QStringLiteral("保存する"));
  PlayPauseSB = MakeSpeedButton("PlayPauseSB", ImageList[0], 45);
  PreviousTrackSB = MakeSpeedButton("PreviousTrackSB", glyphs::PreviousTrackGlyph(28), 40);
  StopSB = MakeSpeedButton("StopSB", glyphs::StopGlyph(28), 40);
  NextTrackSB = MakeSpeedButton("NextTrackSB", glyphs::NextTrackGlyph(28), 40);
  FileRandomSB = MakeSpeedButton("FileRandomSB", glyphs::FileRandomGlyph(32), 45);
  MusicRandomSB = MakeSpeedButton("MusicRandomSB", glyphs::MusicRandomGlyph(28), 40);
  TimerSB = MakeSpeedButton("TimerSB", ImageList[2], 45);
  TimerSB->setCheckable(true);
  TimerSB->setChecked(true);
  const std::pair<QToolButton*, QRect> buttons[] = {
      {OpenSB, QRect(8, 51, 45, 45)},         {SaveSB, QRect(54, 51, 45, 45)},
      {PlayPauseSB, QRect(133, 51, 45, 45)},  {PreviousTrackSB, QRect(185, 54, 40, 40)},
      {StopSB, QRect(225, 54, 40, 40)},       {NextTrackSB, QRect(265, 54, 40, 40)},
      {FileRandomSB, QRect(329, 51, 45, 45)}, {MusicRandomSB, QRect(374, 54, 40, 40)},
      {TimerSB, QRect(439, 51, 45, 45)},
  };
  for (const auto& [button, place] : buttons) bar->Place(button, place, fixed);

  VolumePanel = Named<QFrame>("VolumePanel");
  VolumeShape = Named<TShape>("VolumeShape");
  auto* volume = new TAnchorLayout(VolumePanel, QSize(142, 40));
  volume->Place(VolumeShape, QRect(9, 19, 125, 4), stretch);
  VolumeSB = Named<TKnobButton>("VolumeSB", VolumePanel);
  VolumeSB->setGeometry(1, 5, 14, 31);
  bar->Place(VolumePanel, QRect(518, 54, 142, 40), stretch);
}

QAction* TMainFormUi::AddItem(QMenu* menu, const char* name, const QString& caption) {
  QAction* item;
  if (caption == QLatin1String("-")) {
    item = menu->addSeparator();
    item->setObjectName(QStringLiteral("N%1").arg(++separators_));
  } else {
    item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
  }
  return item;
}

void TMainFormUi::SetupMenus(QMainWindow* form) {
  // Menus keep the desktop's menu size, in the Japanese family.
  auto menu = [&](const char* name) {
    auto* m = Named<QMenu>(name, form);
    m->setFont(JapaneseFont(QApplication::font(m)));
    return m;
  };
  const QString separator = QStringLiteral("-");

  TrayPM = menu("TrayPM");
  PlayPausePM = AddItem(TrayPM, "PlayPausePM", QStringLiteral("再生(&P)"));
  StopTM = AddItem(TrayPM, "StopTM", QStringLiteral("停止(&S)"));
  PreviousTM = AddItem(TrayPM, "PreviousTM", QStringLiteral("前の曲(&B)"));
  NextTM = AddItem(TrayPM, "NextTM", QStringLiteral("次の曲(&N)"));
  AddItem(TrayPM, nullptr, separator);
  PreviousAlbumTM = AddItem(TrayPM, "PreviousAlbumTM", QStringLiteral("前のアルバム(&A)"));
  NextAlbumTM = AddItem(TrayPM, "NextAlbumTM", QStringLiteral("次のアルバム(&M)"));
  AddItem(TrayPM, nullptr, separator);
  ExitTM = AddItem(TrayPM, "ExitTM", QStringLiteral("終了(&X)"));

  FileListPM = menu("FileListPM");
  MnFileSelectAll = AddItem(FileListPM, "MnFileSelectAll", QStringLiteral("すべて選択(&A)"));
  MnFileDelete = AddItem(FileListPM, "MnFileDelete", QStringLiteral("削除(&D)"));
  MnClear = AddItem(FileListPM, "MnClear", QStringLiteral("クリア(&C)"));
  AddItem(FileListPM, nullptr, separator);
  MnFileSort = AddItem(FileListPM, "MnFileSort", QStringLiteral("名前順で並べる(&T)"));
  MnFileRandom = AddItem(FileListPM, "MnFileRandom", QStringLiteral("ランダムに並べる(&R)"));
  AddItem(FileListPM, nullptr, separator);
  MnFileOpen = AddItem(FileListPM, "MnFileOpen", QStringLiteral("ファイルリストを開く(&O)"));
  MnFileSave = AddItem(FileListPM, "MnFileSave", QStringLiteral("ファイルリストを保存(&S)"));
  AddItem(FileListPM, nullptr, separator);
  MnFileCopy = AddItem(FileListPM, "MnFileCopy",
                       QStringLiteral("ファイル名とフォルダ名をクリップボードにコピー(&P)"));
  MnFileExplorerOpen =
      AddItem(FileListPM, "MnFileExplorerOpen", QStringLiteral("存在するフォルダを開く(&E)"));
  AddItem(FileListPM, nullptr, separator);
  MnFileExport = AddItem(FileListPM, "MnFileExport", QStringLiteral("メディア転送(&X)"));
  MnGetCopySize = AddItem(FileListPM, "MnGetCopySize", QStringLiteral("転送に必要な容量(&V)"));

  MusicListPM = menu("MusicListPM");
  MnMusicDelete = AddItem(MusicListPM, "MnMusicDelete", QStringLiteral("削除(&D)"));
  MnMusicClear = AddItem(MusicListPM, "MnMusicClear", QStringLiteral("クリア(&C)"));
  AddItem(MusicListPM, nullptr, separator);
  MnMusicSortByName =
      AddItem(MusicListPM, "MnMusicSortByName", QStringLiteral("名前順で並べる(&T)"));
  MnMusicRandom = AddItem(MusicListPM, "MnMusicRandom", QStringLiteral("ランダムに並べる(&R)"));
  AddItem(MusicListPM, nullptr, separator);
  MnMusicAdd = AddItem(MusicListPM, "MnMusicAdd", QStringLiteral("メディアを追加(&L)"));
  MnSavePlayList = AddItem(MusicListPM, "MnSavePlayList", QStringLiteral("プレイリストを保存(&S)"));
  AddItem(MusicListPM, nullptr, separator);
  MnMusicCopy =
      AddItem(MusicListPM, "MnMusicCopy", QStringLiteral("ファイル名をクリップボードにコピー(&P)"));
  MnMusicOpenExplorer =
      AddItem(MusicListPM, "MnMusicOpenExplorer", QStringLiteral("存在するフォルダを開く(&E)"));

  GroupListPM = menu("GroupListPM");
  MnGroupSelectAll = AddItem(GroupListPM, "MnGroupSelectAll", QStringLiteral("すべて選択(&A)"));
  MnGroupDelete = AddItem(GroupListPM, "MnGroupDelete", QStringLiteral("削除(&D)"));
  MnGroupClear = AddItem(GroupListPM, "MnGroupClear", QStringLiteral("クリア(&C)"));
  AddItem(GroupListPM, nullptr, separator);
  MnGroupSort = AddItem(GroupListPM, "MnGroupSort", QStringLiteral("名前順で並べる(&T)"));
  AddItem(GroupListPM, nullptr, separator);
  MnGroupOpen = AddItem(GroupListPM, "MnGroupOpen", QStringLiteral("グループリストを開く(&O)"));
  MnGroupSave = AddItem(GroupListPM, "MnGroupSave", QStringLiteral("グループリストを保存(&S)"));
  AddItem(GroupListPM, nullptr, separator);
  MnGroupCopy = AddItem(GroupListPM, "MnGroupCopy",
                        QStringLiteral("パスやファイル名をクリップボードにコピーする(&P)"));
  MnGroupExplorerOpen =
      AddItem(GroupListPM, "MnGroupExplorerOpen", QStringLiteral("存在するフォルダを開く(&E)"));

  FoundPM = menu("FoundPM");
  MnFouldClear = AddItem(FoundPM, "MnFouldClear", QStringLiteral("クリア(&C)"));
  AddItem(FoundPM, nullptr, separator);
  MnFoundExplorerOpen =
      AddItem(FoundPM, "MnFoundExplorerOpen", QStringLiteral("存在するフォルダを開く(&E)"));
  AddItem(FoundPM, nullptr, separator);
  MnFoundAdd = AddItem(FoundPM, "MnFoundAdd", QStringLiteral("メディアリストに追加(&A)"));

  TimerListPM = menu("TimerListPM");
  MnTimerSelectAll = AddItem(TimerListPM, "MnTimerSelectAll", QStringLiteral("すべて選択(&A)"));
  MnTimerDelete = AddItem(TimerListPM, "MnTimerDelete", QStringLiteral("削除(&D)"));
  MnTimerClear = AddItem(TimerListPM, "MnTimerClear", QStringLiteral("クリア(&C)"));
  AddItem(TimerListPM, nullptr, separator);
  MnTimerSort = AddItem(TimerListPM, "MnTimerSort", QStringLiteral("名前順で並べる(&T)"));
  AddItem(TimerListPM, nullptr, separator);
  MnTimerOpen = AddItem(TimerListPM, "MnTimerOpen", QStringLiteral("タイマーリストを開く(&O)"));
  MnTimerSave = AddItem(TimerListPM, "MnTimerSave", QStringLiteral("タイマーリストを保存(&S)"));
  AddItem(TimerListPM, nullptr, separator);
  MnTimerTest = AddItem(TimerListPM, "MnTimerTest", QStringLiteral("テスト(&E)"));
}

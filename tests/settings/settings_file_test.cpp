#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringEncoder>
#include <algorithm>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "library/qt_print.h"
#include "platform/keystate.h"
#include "settings/key_values.h"
#include "settings/settings.h"
#include "settings/settings_host.h"
#include "support/temp_dir.h"
#include "text/text_lines.h"

namespace {

using Log = std::vector<std::string>;
using platform::Key;

std::string Text(const QString& s) { return s.toStdString(); }
std::string Number(double v) { return Text(FormatReal(v)); }

// A main window reduced to plain values. Every call that reaches the window's parts is logged.
class FakeHost : public ISettingsHost {
 public:
  Settings settings;
  QRect geometry{10, 20, 700, 800};
  int fileListWidth = 241;
  int albumArtHeight = 271;
  QStringList history, groups, fileList, musicList;
  int fileIndex = -1;
  int musicIndex = -1;
  std::map<QString, QStringList> playlists;  // the tracks LoadMusicList finds for an entry
  double position = -1;                      // what the player reports
  ::TimerList timers;
  int timerRows = 0;
  bool timerButtonDown = true;
  Log log;

  Settings& GetSettings() override { return settings; }
  QRect WindowGeometry() const override { return geometry; }
  void SetWindowSize(int w, int h) override {
    geometry.setSize({w, h});
    Add("SetWindowSize " + std::to_string(w) + "x" + std::to_string(h));
  }
  void SetWindowPosition(int l, int t) override {
    geometry.moveTo(l, t);
    Add("SetWindowPosition " + std::to_string(l) + "," + std::to_string(t));
  }
  int FileListWidth() const override { return fileListWidth; }
  void SetFileListWidth(int w) override { fileListWidth = w; }
  int AlbumArtPanelHeight() const override { return albumArtHeight; }
  void SetAlbumArtPanelHeight(int h) override { albumArtHeight = h; }
  QStringList SearchHistory() const override { return history; }
  void AddSearchHistory(const QString& t) override { history.append(t); }
  QStringList& GroupList() override { return groups; }
  void ShowGroupList() override { Add("ShowGroupList"); }
  const QStringList& FileList() const override { return fileList; }
  int FileIndex() const override { return fileIndex; }
  void SetFileIndex(int i) override { fileIndex = i; }
  const QStringList& MusicList() const override { return musicList; }
  int MusicIndex() const override { return musicIndex; }
  void SetMusicIndex(int i) override { musicIndex = i; }
  void AddToFileList(const QStringList& entries, bool append) override {
    if (!append) fileList.clear();
    for (const QString& e : entries)
      if (!fileList.contains(e)) fileList.append(e);
    fileIndex = 0;
  }
  // Reversal stands in for a random order.
  bool ShuffleList(QStringList& list) override {
    std::reverse(list.begin(), list.end());
    Add("ShuffleList");
    return !list.isEmpty();
  }
  void ShowFileList() override { Add("ShowFileList"); }
  bool LoadMusicList() override {
    Add("LoadMusicList");
    musicList.clear();
    if (fileIndex < 0 || fileIndex >= fileList.size()) return false;
    musicList = playlists[fileList[fileIndex]];
    musicIndex = musicList.isEmpty() ? -1 : 0;
    return true;
  }
  void SelectFileRow(int r) override { Add("SelectFileRow " + std::to_string(r)); }
  void FocusFileRowWithoutSelection(int r) override {
    Add("FocusFileRowWithoutSelection " + std::to_string(r));
  }
  int MusicRowCount() const override { return static_cast<int>(musicList.size()); }
  void SelectMusicRow(int r) override { Add("SelectMusicRow " + std::to_string(r)); }
  double PlayerGetPosition() override { return position; }
  void PlayerSetPosition(double p) override { Add("PlayerSetPosition " + Number(p)); }
  void OpenCurrentTrack() override { Add("OpenCurrentTrack " + std::to_string(musicIndex)); }
  void PlayTrack(double p) override { Add("PlayTrack " + Number(p)); }
  void ShowPosition(double p) override { Add("ShowPosition " + Number(p)); }
  void ShowVolume(int v) override { Add("ShowVolume " + std::to_string(v)); }
  void FillDeviceList() override { Add("FillDeviceList " + Text(settings.OutputDeviceName)); }
  void SelectOutputDevice(const QString& n) override { Add("SelectOutputDevice " + Text(n)); }
  ::TimerList& TimerList() override { return timers; }
  int TimerRowCount() const override { return timerRows; }
  void RefreshTimerList() override {
    timerRows = static_cast<int>(timers.size());
    Add("RefreshTimerList");
  }
  void RunPreviousTimer() override { Add("RunPreviousTimer"); }
  void SetTimerButtonDown(bool d) override {
    timerButtonDown = d;
    Add(d ? "SetTimerButtonDown 1" : "SetTimerButtonDown 0");
  }
  void TimerSBClick() override { Add("TimerSBClick"); }
  void ShowGroupOptions() override { Add("ShowGroupOptions"); }
  void ShowOptionSettings() override { Add("ShowOptionSettings"); }
  void ShowMessage(const QString& t) override { Add("ShowMessage " + Text(t)); }

  bool Logged(const std::string& entry) const {
    return std::find(log.begin(), log.end(), entry) != log.end();
  }

 private:
  void Add(std::string entry) { log.push_back(std::move(entry)); }
};

// The bytes SaveTextLines writes: UTF-16LE without a mark, CR LF after every line.
QByteArray Utf16LeCrLf(const QStringList& lines) {
  QByteArray bytes;
  for (const QString& line : lines) {
    const QString text = line + QStringLiteral("\r\n");
    for (QChar c : text) {
      bytes.append(static_cast<char>(c.unicode() & 0xFF));
      bytes.append(static_cast<char>(c.unicode() >> 8));
    }
  }
  return bytes;
}

// Every test gets its own data folder (the ini file lives below it) and a key state with no
// key held.
class SettingsFileTest : public testing::Test {
 protected:
  SettingsFileTest() : savedXdg_(qgetenv("XDG_DATA_HOME")) {
    qputenv("XDG_DATA_HOME", data_.path().toLocal8Bit());
    platform::SetKeyState(&keys_);
  }
  ~SettingsFileTest() override {
    platform::SetKeyState(nullptr);
    qputenv("XDG_DATA_HOME", savedXdg_);
  }

  QString IniPath(const QString& name = QStringLiteral("quomm3u")) const {
    return data_.path() + "/quomm3u/" + name + ".ini";
  }
  QByteArray IniBytes() const { return data_.read("quomm3u/quomm3u.ini"); }
  QStringList IniLines() const {
    QStringList lines;
    LoadTextLines(lines, IniPath());
    return lines;
  }
  void WriteIni(const QStringList& lines) const {
    data_.write("quomm3u/quomm3u.ini", Utf16LeCrLf(lines));
  }
  void WriteIniBytes(const QByteArray& bytes) const { data_.write("quomm3u/quomm3u.ini", bytes); }
  // An existing file in the data folder, for the file block.
  QString Existing(const QString& name) const { return data_.write(name, "#EXTM3U\n"); }
  QString Gone(const QString& name) const { return data_.file(name); }

  void Load(FakeHost& host) { CSettingsFile(host).LoadSettings(QStringLiteral("quomm3u")); }
  void Save(FakeHost& host) { CSettingsFile(host).SaveSettings(QStringLiteral("quomm3u")); }

  testing_support::TempDir data_;
  platform::FakeKeyState keys_;

 private:
  QByteArray savedXdg_;
};

// The lines of rows 1 to 33 that a first start writes, with FakeHost's layout.
QStringList FirstStartLines() {
  return {"FormLeft=10",
          "FormTop=20",
          "FormWidth=700",
          "FormHeight=800",
          "FileListWidth=241",
          "AlbumArtPanelHeight=271",
          "OutputDeviceName=",
          "Volume=5000",
          "EnableAddGroup=True",
          "NoAddFolderToGroup=False",
          "SearchFileDepth=0",
          "SearchFileDepthAll=True",
          "MediaMask=*.mp3;*.mp4;*.m4a;*.flac;*.wma;*.wav;",
          "ShowFileListLevel=1",
          "ShowFileListAll=False",
          "PlayWhenOpen=True",
          "LoadPreviousFiles=True",
          "PlayWhenExecute=False",
          "EnablePreviousTimer=False",
          "RepeatMode=3",
          "WhenOpenSortFileRandom=False",
          "WhenOpenSelectFileRandom=False",
          "RandomMusic=False",
          "RandomPreviousFile=False",
          "TimerEnabled=True",
          "ExportFolderLevel=0",
          "ExportCharacterSet=Shift-JIS",
          "ExportCRCode=CR + LF",
          "ExportOtherExt=*.jpg;*.jpeg;",
          "ExportFolder=",
          "CopyFolderJpeg=False"};
}

// ---- Where the file lives ----

struct PathCase {
  const char* dataHome;
  const char* name;
  const char* appDataDir;
  const char* expected;
};
void PrintTo(const PathCase& c, std::ostream* os) { *os << c.dataHome << " " << c.appDataDir; }

class SettingsFilePathTest : public testing::TestWithParam<PathCase> {};

TEST_P(SettingsFilePathTest, OneSeparatorBetweenTheParts) {
  const PathCase& c = GetParam();
  const QByteArray saved = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", c.dataHome);
  EXPECT_EQ(SettingsFilePath(c.name, c.appDataDir), QString::fromUtf8(c.expected));
  qputenv("XDG_DATA_HOME", saved);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SettingsFilePathTest,
    testing::Values(PathCase{"/home/u/.local/share", "quomm3u", "/quomm3u",
                             "/home/u/.local/share/quomm3u/quomm3u.ini"},
                    PathCase{"/data/", "work", "/quomm3u", "/data/quomm3u/work.ini"},
                    PathCase{"/data", "xy", "quomm3u/", "/data/quomm3u/xy.ini"}));

// ---- First start ----

class FirstStartTest : public SettingsFileTest, public testing::WithParamInterface<double> {};

TEST_P(FirstStartTest, WritesTheInitialValuesThenShowsThem) {
  FakeHost host;
  host.position = GetParam();
  Load(host);

  QStringList expected = FirstStartLines();
  if (host.position >= 0)
    expected << "MediaLength=0"
             << "PlayPosition=" + FormatReal(GetParam());
  EXPECT_EQ(IniBytes(), Utf16LeCrLf(expected));
  EXPECT_EQ(host.log, (Log{"FillDeviceList ", "ShowGroupOptions", "ShowVolume 5000",
                           "ShowGroupList", "ShowOptionSettings", "SelectOutputDevice "}));
}

// The player reports no track (-1) or a position: only the latter writes the position lines.
INSTANTIATE_TEST_SUITE_P(PlayerPositions, FirstStartTest, testing::Values(-1.0, 0.0, 2.5));

TEST_F(SettingsFileTest, FirstStartOfAProfileCreatesItsFolder) {
  FakeHost host;
  CSettingsFile(host).LoadSettings(QStringLiteral("work"));
  QStringList lines;
  LoadTextLines(lines, IniPath(QStringLiteral("work")));
  EXPECT_EQ(lines, FirstStartLines());
}

// ---- Reading the options ----

struct ReadCase {
  const char* name;
  QStringList lines;
  std::function<std::string(const Settings&)> field;
  std::string expected;
};
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ReadOptionTest : public SettingsFileTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(ReadOptionTest, ReadsWithTheDefaultForAMissingKeyAndTheRange) {
  const ReadCase& c = GetParam();
  WriteIni(c.lines);
  FakeHost host;
  Load(host);
  EXPECT_EQ(c.field(host.settings), c.expected);
}

std::string Int(std::int32_t v) { return std::to_string(v); }
std::string Bool(bool v) { return v ? "true" : "false"; }

auto Volume = [](const Settings& s) { return Int(s.Volume); };
auto RepeatMode = [](const Settings& s) { return Int(s.RepeatMode); };
auto ExportLevel = [](const Settings& s) { return Int(s.ExportFolderLevel); };
auto EnableAddGroup = [](const Settings& s) { return Bool(s.EnableAddGroup); };

const ReadCase kReadCases[] = {
    {"RepeatModeMissingIsNoRepeat", {"Volume=1"}, RepeatMode, "0"},
    {"RepeatModeAboveTheRange", {"RepeatMode=7"}, RepeatMode, "3"},
    {"RepeatModeBelowTheRange", {"RepeatMode=-1"}, RepeatMode, "0"},
    {"ExportLevelMissingIsOne", {"Volume=1"}, ExportLevel, "1"},
    {"ExportLevelBelowTheRange", {"ExportFolderLevel=-2"}, ExportLevel, "0"},
    {"ExportLevelAboveTheRange", {"ExportFolderLevel=250"}, ExportLevel, "100"},
    {"VolumeHasNoRange", {"Volume=-3"}, Volume, "-3"},
    {"SpacesAroundTheEquals", {"Volume = 70"}, Volume, "70"},
    {"LongerKeyIsAnotherKey", {"VolumeX=5"}, Volume, "5000"},
    {"TextAfterTheDigits", {"Volume=70%"}, Volume, "70"},
    {"NoDigitsReadsAsZero", {"Volume=loud"}, Volume, "0"},
    {"EmptyValueGivesTheDefault", {"Volume="}, Volume, "5000"},
    {"FirstOfRepeatedKeysWins", {"Volume=10", "Volume=20"}, Volume, "10"},
    {"ShortBooleanGivesTheDefault", {"EnableAddGroup=1"}, EnableAddGroup, "true"},
    {"FalseBoolean", {"EnableAddGroup=false"}, EnableAddGroup, "false"},
    {"FourLettersTrueIsEnough", {"EnableAddGroup=TRUEX"}, EnableAddGroup, "true"},
    {"SortRandomMissingIsOn",
     {"Volume=1"},
     [](const Settings& s) { return Bool(s.WhenOpenSortFileRandom); },
     "true"},
    {"SelectRandomMissingIsOn",
     {"Volume=1"},
     [](const Settings& s) { return Bool(s.WhenOpenSelectFileRandom); },
     "true"},
    {"PrefixKeysAreKeptApart",
     {"SearchFileDepthAll=False", "SearchFileDepth=3"},
     [](const Settings& s) { return Int(s.SearchFileDepth) + Bool(s.SearchFileDepthAll); },
     "3false"},
    {"EmptyMaskGivesTheDefault",
     {"MediaMask="},
     [](const Settings& s) { return Text(s.MediaMask); },
     "*.mp3;*.mp4;*.m4a;*.flac;*.wma;*.wav;"},
    {"DeviceMissingIsTheDefaultDevice",
     {"Volume=1"},
     [](const Settings& s) { return Text(s.OutputDeviceName); },
     "Default DirectSound Device"},
    {"StringsAreTakenAsTheyStand",
     {"ExportFolder=/media/usb stick", "ExportCharacterSet=EUC-JP"},
     [](const Settings& s) { return Text(s.ExportFolder + u'|' + s.ExportCharacterSet); },
     "/media/usb stick|EUC-JP"},
};

INSTANTIATE_TEST_SUITE_P(Keys, ReadOptionTest, testing::ValuesIn(kReadCases),
                         [](const testing::TestParamInfo<ReadCase>& i) { return i.param.name; });

// ---- Saving and reading back ----

TEST_F(SettingsFileTest, EverySettingComesBackAndSavesToTheSameBytes) {
  FakeHost host;
  Settings& s = host.settings;
  host.geometry = QRect(-40, 30, 900, 950);
  host.fileListWidth = 300;
  host.albumArtHeight = 150;
  s.OutputDeviceName = "Speakers";
  s.Volume = -1200;
  s.EnableAddGroup = false;
  s.NoAddFolderToGroup = true;
  s.SearchFileDepth = 4;
  s.SearchFileDepthAll = false;
  s.MediaMask = "*.ogg;";
  s.ShowFileListLevel = 0;
  s.ShowFileListAll = true;
  s.PlayWhenOpen = false;
  s.PlayWhenExecute = true;
  s.EnablePreviousTimer = true;
  s.RepeatMode = 1;
  s.WhenOpenSortFileRandom = true;
  s.WhenOpenSelectFileRandom = true;
  s.RandomMusic = true;
  s.TimerEnabled = false;
  s.ExportFolderLevel = 7;
  s.ExportCharacterSet = "UTF-8N";
  s.ExportCRCode = "LF";
  s.ExportOtherExt = "*.png;";
  s.ExportFolder = "/media/ジャケット";
  s.CopyFolderJpeg = true;
  s.MediaLength = 200.5;
  host.position = 183.046;
  host.history = {"first", "二番目"};
  host.groups = {"/Music", "/Live.m3u"};
  host.fileList = {Existing("a.m3u"), Existing("b.m3u")};
  host.fileIndex = 1;
  host.playlists[host.fileList[1]] = {"/t/b1.mp3", "/t/b2.mp3"};
  host.musicList = host.playlists[host.fileList[1]];
  host.musicIndex = 1;
  CMusicTimer timer;
  timer.SettingName = "Morning";
  timer.Time = 7 * 60;
  timer.Day = kTimerMonday | kTimerFriday;
  host.timers = {TimerListEntry{"Morning", timer}};
  host.timerRows = 1;
  Save(host);
  const QByteArray saved = IniBytes();

  FakeHost back;
  back.playlists = host.playlists;
  Load(back);
  const Settings& r = back.settings;
  EXPECT_EQ(back.geometry, host.geometry);
  EXPECT_EQ(back.fileListWidth, 300);
  EXPECT_EQ(back.albumArtHeight, 150);
  EXPECT_EQ(r.OutputDeviceName, "Speakers");
  EXPECT_EQ(r.Volume, -1200);
  EXPECT_EQ(r.ExportFolder, "/media/ジャケット");
  EXPECT_EQ(r.ExportOtherExt, "*.png;");
  EXPECT_EQ(r.DisplayLevel, -1);
  EXPECT_EQ(r.PlayPosition, 183.046);
  EXPECT_EQ(back.history, host.history);
  EXPECT_EQ(back.groups, host.groups);
  EXPECT_EQ(back.fileList, host.fileList);
  EXPECT_EQ(back.fileIndex, 1);
  EXPECT_EQ(back.musicIndex, 1);
  EXPECT_EQ(back.timers, host.timers);
  EXPECT_FALSE(back.timerButtonDown);

  // The length is never read: the player sets it when it opens the track.
  EXPECT_EQ(r.MediaLength, 0);
  back.settings.MediaLength = 200.5;
  back.position = 183.046;
  Save(back);
  EXPECT_EQ(IniBytes(), saved);
}

TEST_F(SettingsFileTest, ListsFollowTheOptionsInTheirOrder) {
  FakeHost host;
  host.history = {"x"};
  host.groups = {"/g"};
  host.fileList = {"/f.m3u"};
  host.position = 1.5;
  host.settings.MediaLength = 3;
  CMusicTimer timer;
  timer.SettingName = "T";
  host.timers = {TimerListEntry{"T", timer}};
  host.timerRows = 1;
  Save(host);
  const QStringList lines = IniLines();
  const QStringList tail = lines.mid(FirstStartLines().size());
  EXPECT_EQ(lines.indexOf("CopyFolderJpeg=False"), FirstStartLines().size() - 1);
  EXPECT_EQ(tail, QStringList({"Search0=x", "GroupList0=/g", "FileList0=/f.m3u", "MediaLength=3",
                               "PlayPosition=1.5", "TimerList0=" + FormatTimerRecord(timer)}));
}

TEST_F(SettingsFileTest, CurrentEntriesAreWrittenOnlyForValidIndexes) {
  struct Case {
    int fileIndex, musicIndex;
    const char* fileLine;  // nullptr: no line
    const char* musicLine;
  } cases[] = {{0, 1, "ActiveFileName=/a.m3u", "ActiveMusicName=/2.mp3"},
               {-1, 0, nullptr, "ActiveMusicName=/1.mp3"},
               {2, 2, nullptr, nullptr}};
  for (const Case& c : cases) {
    FakeHost host;
    host.fileList = {"/a.m3u", "/b.m3u"};
    host.musicList = {"/1.mp3", "/2.mp3"};
    host.fileIndex = c.fileIndex;
    host.musicIndex = c.musicIndex;
    Save(host);
    QStringList expected;
    if (c.fileLine) expected.append(c.fileLine);
    if (c.musicLine) expected.append(c.musicLine);
    // Right after the output device.
    EXPECT_EQ(IniLines().mid(7, expected.size()), expected) << c.fileIndex << c.musicIndex;
    EXPECT_EQ(IniLines().filter(QRegularExpression("^Active")), expected);
  }
}

TEST_F(SettingsFileTest, WithoutLoadPreviousFilesNoFileBlockNorPosition) {
  FakeHost host;
  host.settings.LoadPreviousFiles = false;
  host.fileList = {"/f.m3u"};
  host.fileIndex = 0;
  host.position = 12;
  host.settings.PlayPosition = 5;
  Save(host);
  const QStringList lines = IniLines();
  EXPECT_TRUE(lines.contains("ActiveFileName=/f.m3u"));
  EXPECT_TRUE(
      lines.filter(QRegularExpression("^(FileList\\d|MediaLength|PlayPosition)")).isEmpty());
  EXPECT_EQ(host.settings.PlayPosition, 5);
}

TEST_F(SettingsFileTest, NoOpenTrackKeepsTheStoredPosition) {
  FakeHost host;
  host.settings.PlayPosition = 42;
  host.position = -1;
  Save(host);
  EXPECT_EQ(host.settings.PlayPosition, 42);
  EXPECT_TRUE(IniLines().filter(QRegularExpression("^(MediaLength|PlayPosition)")).isEmpty());
  host.position = 43.25;
  Save(host);
  EXPECT_EQ(host.settings.PlayPosition, 43.25);
  EXPECT_TRUE(IniLines().contains("PlayPosition=43.25"));
}

TEST_F(SettingsFileTest, AllHistoryIsWrittenAndTwentyComeBack) {
  FakeHost host;
  for (int i = 0; i < 25; ++i) host.history.append(QStringLiteral("text %1").arg(i));
  Save(host);
  EXPECT_EQ(IniLines().filter(QRegularExpression("^Search\\d+=")).size(), 25);
  FakeHost back;
  Load(back);
  EXPECT_EQ(back.history, host.history.mid(0, 20));
}

TEST_F(SettingsFileTest, AnEmptyHistoryLineIsSkipped) {
  WriteIni({"Search0=a", "Search1=b", "Search2=c", "Search3=", "Search4=e", "Search21=v"});
  FakeHost host;
  Load(host);
  EXPECT_EQ(host.history, QStringList({"a", "b", "c", "e"}));
}

TEST_F(SettingsFileTest, AFolderThatCannotBeMadeIsNotReported) {
  const QString blocker = data_.write("file", "x");
  qputenv("XDG_DATA_HOME", blocker.toLocal8Bit());
  FakeHost host;
  Save(host);
  EXPECT_EQ(data_.read("file"), "x");
}

// ---- Restoring the previous album, track and position ----

TEST_F(SettingsFileTest, RestoresTheAlbumTrackAndPositionAndStarts) {
  const QString a = Existing("a.m3u"), b = Existing("b.m3u");
  WriteIni({"FileList0=" + a, "FileList1=" + Gone("gone.m3u"), "FileList2=" + b,
            "ActiveFileName=" + b, "ActiveMusicName=/t/b2.mp3", "PlayPosition=12.5",
            "PlayWhenExecute=True"});
  FakeHost host;
  host.playlists[b] = {"/t/b1.mp3", "/t/b2.mp3"};
  Load(host);
  EXPECT_EQ(host.fileList, QStringList({a, b}));
  EXPECT_EQ(host.fileIndex, 1);
  EXPECT_EQ(host.musicIndex, 1);
  EXPECT_EQ(host.settings.PlayPosition, 12.5);
  const auto start = std::find(host.log.begin(), host.log.end(), "SelectFileRow 1");
  ASSERT_NE(start, host.log.end());
  EXPECT_EQ(Log(start, start + 7),
            (Log{"SelectFileRow 1", "LoadMusicList", "OpenCurrentTrack 1", "SelectMusicRow 1",
                 "PlayerSetPosition 12.5", "ShowPosition 12.5", "PlayTrack 12.5"}));
}

struct RestoreCase {
  const char* name;
  QStringList extraLines;
  int fileIndex, musicIndex;
  std::vector<std::string> logged;     // calls that must be made
  std::vector<std::string> notLogged;  // calls that must not
};
void PrintTo(const RestoreCase& c, std::ostream* os) { *os << c.name; }

class RestoreTest : public SettingsFileTest, public testing::WithParamInterface<RestoreCase> {};

// The file list holds two existing albums (a, b); b is the current one in the file, and b's
// playlist has two tracks.
TEST_P(RestoreTest, FallsBackToTheFirstEntryAndTrack) {
  const RestoreCase& c = GetParam();
  const QString a = Existing("a.m3u"), b = Existing("b.m3u");
  QStringList lines = {"FileList0=" + a, "FileList1=" + b};
  for (QString line : c.extraLines) lines.append(line.replace("$B", b));
  WriteIni(lines);
  FakeHost host;
  host.playlists[a] = {"/t/a1.mp3"};
  host.playlists[b] = {"/t/b1.mp3", "/t/b2.mp3"};
  Load(host);
  EXPECT_EQ(host.fileIndex, c.fileIndex);
  EXPECT_EQ(host.musicIndex, c.musicIndex);
  for (const std::string& call : c.logged) EXPECT_TRUE(host.Logged(call)) << call;
  for (const std::string& call : c.notLogged) EXPECT_FALSE(host.Logged(call)) << call;
}

const RestoreCase kRestoreCases[] = {
    {"NoCurrentEntryInTheFile",
     {},
     0,
     0,
     {"LoadMusicList", "OpenCurrentTrack 0"},
     {"ShowPosition 0"}},
    {"UnknownTrackSelectsTrackZero",
     {"ActiveFileName=$B", "ActiveMusicName=/t/other.mp3", "PlayPosition=9"},
     1,
     0,
     {"SelectFileRow 1", "SelectMusicRow 0"},
     {"PlayerSetPosition 9"}},
    {"PositionThatIsNoNumberReadsAsZero",
     {"ActiveFileName=$B", "ActiveMusicName=/t/b2.mp3", "PlayPosition=soon"},
     1,
     1,
     {"PlayerSetPosition 0", "ShowPosition 0"},
     {}},
    {"ShuffledListForgetsTheCurrentEntry",
     {"ActiveFileName=$B", "ActiveMusicName=/t/b2.mp3", "RandomPreviousFile=True"},
     0,
     0,
     {"ShuffleList", "LoadMusicList"},
     {"SelectFileRow 1"}},
    {"NotLoadingStartsAtRowZero",
     {"ActiveFileName=$B", "LoadPreviousFiles=False", "PlayWhenExecute=True"},
     0,
     0,
     {"FocusFileRowWithoutSelection 0", "SelectMusicRow 0", "LoadMusicList", "PlayTrack 0"},
     {"SelectFileRow 1"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, RestoreTest, testing::ValuesIn(kRestoreCases),
                         [](const testing::TestParamInfo<RestoreCase>& i) { return i.param.name; });

TEST_F(SettingsFileTest, LoadingRunsTheDisplaySteps) {
  WriteIni({"ShowFileListLevel=2", "EnablePreviousTimer=True", "TimerEnabled=False",
            "OutputDeviceName=Speakers", "Volume=70"});
  FakeHost host;
  Load(host);
  EXPECT_EQ(host.settings.DisplayLevel, 2);
  const Log expected = {"SetWindowSize 0x0",
                        "SetWindowPosition 0,0",
                        "FillDeviceList Speakers",
                        "ShowGroupOptions",
                        "ShowVolume 70",
                        "ShowGroupList",
                        "ShowOptionSettings",
                        "ShowFileList",
                        "RefreshTimerList",
                        "SelectOutputDevice Speakers",
                        "RunPreviousTimer",
                        "LoadMusicList",
                        "OpenCurrentTrack 0",
                        "SetTimerButtonDown 0",
                        "TimerSBClick"};
  EXPECT_EQ(host.log, expected);
}

// ---- Keys held at start ----

struct KeyCase {
  const char* name;
  std::vector<Key> held;
  bool fileRead;
  bool deviceRead;
  bool filesRestored;  // and playback started
};
void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class HeldKeysTest : public SettingsFileTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(HeldKeysTest, OverrideTheirPartOfTheFile) {
  const KeyCase& c = GetParam();
  const QString a = Existing("a.m3u");
  WriteIni({"OutputDeviceName=Speakers", "Volume=70", "FileList0=" + a, "ActiveFileName=" + a,
            "PlayWhenExecute=True"});
  const QByteArray before = IniBytes();
  for (Key k : c.held) keys_.Set(k, true);
  FakeHost host;
  Load(host);

  EXPECT_EQ(IniBytes(), before);
  if (!c.fileRead) {
    EXPECT_EQ(host.log,
              (Log{"ShowMessage ini ファイルを読み込まずに開始します", "ShowOptionSettings"}));
    EXPECT_EQ(host.settings.Volume, 5000);
    EXPECT_TRUE(host.fileList.isEmpty());
    return;
  }
  EXPECT_EQ(host.settings.Volume, 70);
  EXPECT_EQ(host.settings.OutputDeviceName, c.deviceRead ? "Speakers" : "");
  EXPECT_EQ(host.fileList, c.filesRestored ? QStringList{a} : QStringList{});
  EXPECT_EQ(host.Logged("PlayTrack 0"), c.filesRestored);
  EXPECT_EQ(host.Logged("LoadMusicList"), c.filesRestored);
}

const KeyCase kKeyCases[] = {
    {"NoKey", {}, true, true, true},
    {"LeftPair", {Key::LeftControl, Key::LeftShift}, false, false, false},
    {"RightPair", {Key::RightControl, Key::RightShift}, false, false, false},
    {"RightControlLeftShift", {Key::RightControl, Key::LeftShift}, true, false, false},
    {"LeftControlRightShift", {Key::LeftControl, Key::RightShift}, true, false, false},
    {"ShiftOnly", {Key::RightShift}, true, false, true},
    {"ControlOnly", {Key::LeftControl}, true, true, false},
};

INSTANTIATE_TEST_SUITE_P(Keys, HeldKeysTest, testing::ValuesIn(kKeyCases),
                         [](const testing::TestParamInfo<KeyCase>& i) { return i.param.name; });

// ---- Damaged and foreign files ----

QByteArray RandomBytes(int size, quint32 seed) {
  QByteArray bytes(size, '\0');
  QRandomGenerator(seed).fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
  return bytes;
}

QByteArray Encoded(const QString& text, const char* bom, QStringConverter::Encoding encoding) {
  return QByteArray(bom) + QStringEncoder(encoding).encode(text);
}

struct BadFileCase {
  const char* name;
  std::function<QByteArray()> bytes;
  std::int32_t volume;  // what the file's Volume line gives, 5000 when unreadable
};
void PrintTo(const BadFileCase& c, std::ostream* os) { *os << c.name; }

class BadFileTest : public SettingsFileTest, public testing::WithParamInterface<BadFileCase> {};

TEST_P(BadFileTest, StartsWithWhatCanBeReadAndSavesACleanFile) {
  const BadFileCase& c = GetParam();
  WriteIniBytes(c.bytes());
  FakeHost host;
  Load(host);
  EXPECT_EQ(host.settings.Volume, c.volume);

  Save(host);
  const QStringList saved = IniLines();
  ASSERT_GE(saved.size(), FirstStartLines().size());
  for (const QString& line : saved) EXPECT_TRUE(line.contains(u'=')) << Text(line);
  EXPECT_EQ(IniBytes(), Utf16LeCrLf(saved));
}

const BadFileCase kBadFiles[] = {
    {"Empty", [] { return QByteArray(); }, 5000},
    {"Garbage", [] { return RandomBytes(256 * 1024, 7); }, 5000},
    {"Zeros", [] { return QByteArray(64 * 1024, '\0'); }, 5000},
    {"NoLineEnds", [] { return QByteArray(2 * 1024 * 1024, 'x'); }, 5000},
    // Far larger than any file the program writes: not read at all.
    {"HundredMegabytes",
     [] { return Utf16LeCrLf({"Volume=70"}) + RandomBytes(100 * 1024 * 1024, 9); }, 5000},
    {"TruncatedMidCharacter",
     [] {
       return Utf16LeCrLf({"Volume=70", "ExportFolder=/音楽"}).chopped(3);
     },
     70},
    {"Utf8WithMark",
     [] {
       return Encoded("Volume=71\r\nExportFolder=/音楽\r\n", "\xEF\xBB\xBF",
                      QStringConverter::Utf8);
     },
     71},
    {"Utf8WithoutMarkAndLf",
     [] { return Encoded("Volume=72\nExportFolder=/音楽\n", "", QStringConverter::Utf8); }, 72},
    {"Utf16BigEndianWithMark",
     [] { return Encoded("Volume=73\r\n", "\xFE\xFF", QStringConverter::Utf16BE); }, 73},
    {"ShiftJisWithCr", [] { return QByteArray("ExportFolder=/\x89\xB9\x8A\x79\rVolume=74\r"); },
     74},
    {"KeysInAnyOrderAndRepeated",
     [] {
       return Utf16LeCrLf({"FileList0=/nowhere", "Volume=75", "RepeatMode=1", "Volume=1"});
     },
     75},
};

INSTANTIATE_TEST_SUITE_P(Files, BadFileTest, testing::ValuesIn(kBadFiles),
                         [](const testing::TestParamInfo<BadFileCase>& i) { return i.param.name; });

TEST_F(SettingsFileTest, ForeignEncodingsKeepTheirText) {
  WriteIniBytes("ExportFolder=/\x89\xB9\x8A\x79\r\n");  // Shift-JIS for /音楽
  FakeHost host;
  Load(host);
  EXPECT_EQ(host.settings.ExportFolder, "/音楽");
}

}  // namespace

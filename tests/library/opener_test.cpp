#include "library/opener.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <ostream>

#include "library/file_music_lists.h"
#include "library/group_list.h"
#include "library/list_box.h"
#include "library/process_form.h"
#include "platform/dir_enum.h"
#include "platform/keystate.h"
#include "platform/random.h"
#include "qt_print.h"
#include "settings/list_blocks.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "support/temp_dir.h"
#include "text/text_lines.h"

namespace {

using testing_support::TempDir;

class RecordingTransport : public IListTransport {
 public:
  bool playing = false;
  QStringList calls;
  bool Playing() const override { return playing; }
  bool HasCurrentMedia() const override { return false; }
  void StopTrack() override {
    calls << "StopTrack";
    playing = false;
  }
  void PlayFromStart() override {
    calls << "PlayFromStart";
    playing = true;
  }
  void OpenCurrentTrack() override { calls << "OpenCurrentTrack"; }
  void PlayPauseSBClick() override {}
  void PlayerClose() override {}
  void PlayerSetPosition(double) override {}
};

class RecordingParts : public IOpenerHooks {
 public:
  int searchClears = 0;
  int filePages = 0;
  QList<TimerList> merged;
  QList<bool> mergeAppends;
  QList<QStringList> pictures;
  QList<bool> pictureFlags;
  QString mediaName;
  void ClearSearchResults() override { ++searchClears; }
  void MergeTimers(const TimerList& timers, bool append) override {
    merged << timers;
    mergeAppends << append;
  }
  void CopyPicturesToTrackFolder(const QStringList& found, bool copyFolderJpeg) override {
    pictures << found;
    pictureFlags << copyFolderJpeg;
  }
  void ShowFilePage() override { ++filePages; }
  QString PlayerMediaName() override { return mediaName; }
};

class CountingStore : public ISettingsStore {
 public:
  int saves = 0;
  void LoadSettings(const QString&) override {}
  void SaveSettings(const QString& appName) override {
    ++saves;
    EXPECT_EQ(appName, "quomm3u");
  }
};

class FakeOpenDialogs : public IOpenDialogs {
 public:
  QList<OpenDialogRequest> requests;
  QStringList chosen;
  QStringList OpenFileNames(const OpenDialogRequest& request) override {
    requests << request;
    return chosen;
  }
};

// Every playlist names the one track "<playlist>.track.mp3".
class FakePlaylists : public IPlaylistReader {
 public:
  QStringList ReadPlaylist(const QString& path) override { return {path + ".track.mp3"}; }
};

// The opener over real list boxes, the real progress window and real temporary folders; the
// rest of the program is recorded.
class OpenerTest : public testing::Test {
 protected:
  OpenerTest() : form_(&main_) {
    platform::SetKeyState(&keys_);
    settings_.DisplayLevel = -1;
    FileListHooks listHooks;
    listHooks.Transport = &transport_;
    listHooks.Playlists = &playlists_;
    lists_ = std::make_unique<CFileMusicLists>(settings_, &fileLB_, &musicLB_, listHooks);
    groups_ = std::make_unique<CGroupList>(settings_, &groupLB_, &timerCB_, lists_.get());
    OpenerHooks hooks;
    hooks.Transport = &transport_;
    hooks.Parts = &parts_;
    hooks.SettingsStore = &store_;
    hooks.Dialogs = &dialogs_;
    hooks.Scanner = &form_;
    opener_ = std::make_unique<COpener>(settings_, *lists_, *groups_, hooks);
  }
  ~OpenerTest() override {
    platform::SetKeyState(nullptr);
    platform::SetRandom(nullptr);
  }

  QString Make(const QString& rel) { return dir_.write(rel, "x"); }
  QString Folder(const QString& rel) {
    QDir().mkpath(dir_.file(rel));
    return dir_.file(rel);
  }
  QString Rel(const QString& path) const {
    return path.startsWith(dir_.path() + '/') ? path.mid(dir_.path().size() + 1) : path;
  }
  QStringList Rel(const QStringList& paths) const {
    QStringList rel;
    for (const QString& p : paths) rel << Rel(p);
    return rel;
  }
  static QStringList Sorted(QStringList list) {
    list.sort();
    return list;
  }
  int Open(QStringList paths) { return opener_->OpenPaths(paths); }
  void SetControl(bool down) { keys_.Set(platform::Key::LeftControl, down); }

  TempDir dir_;
  Settings settings_;
  platform::FakeKeyState keys_;
  QWidget main_;
  QListWidget fileLB_, musicLB_, groupLB_;
  QComboBox timerCB_;
  RecordingTransport transport_;
  FakePlaylists playlists_;
  RecordingParts parts_;
  CountingStore store_;
  FakeOpenDialogs dialogs_;
  TProcessForm form_;
  std::unique_ptr<CFileMusicLists> lists_;
  std::unique_ptr<CGroupList> groups_;
  std::unique_ptr<COpener> opener_;
};

TEST(FoundFileKinds, ExtensionsCompareExactlyAndMasksIgnoreCase) {
  const Settings settings;
  const struct {
    const char* path;
    OpenKind kind;
  } cases[] = {
      {"/m/g.qgf", OpenKind::GroupFile}, {"/m/t.qtf", OpenKind::TimerFile},
      {"/m/l.qlf", OpenKind::ListFile},  {"/m/a.m3u", OpenKind::Playlist},
      {"/m/a.pls", OpenKind::Playlist},  {"/m/x.M3U", OpenKind::Other},
      {"/m/s.MP3", OpenKind::Media},     {"/m/s.flac", OpenKind::Media},
      {"/m/c.JPEG", OpenKind::Picture},  {"/m/l.qlt", OpenKind::Other},
      {"/m.d/noext", OpenKind::Other},   {"/m/.m3u", OpenKind::Playlist},
      {"/m/a.m3u.txt", OpenKind::Other},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(KindOfFoundFile(c.path, settings), c.kind);
  }
}

TEST(ScanMasks, ModeZeroTakesEveryKindAndKeepsAMaskWithoutItsSemicolon) {
  Settings settings;
  EXPECT_EQ(ScanMaskForMode(settings, 0),
            "*.jpg;*.jpeg;*.m3u;*.pls;*.qlf;*.qtf;*qgf;*.mp3;*.mp4;*.m4a;*.flac;*.wma;*.wav;");
  EXPECT_EQ(ScanMaskForMode(settings, 1), settings.MediaMask);
  settings.ExportOtherExt = "*.png";
  EXPECT_TRUE(ScanMaskForMode(settings, 0).startsWith("*.png;*.m3u;"));
}

struct DepthCase {
  bool all;
  int depth;
  int result;
  QStringList music;
};

void PrintTo(const DepthCase& c, std::ostream* os) {
  *os << (c.all ? "all levels" : "depth ") << (c.all ? "" : std::to_string(c.depth));
}

class OpenDepth : public OpenerTest, public testing::WithParamInterface<DepthCase> {};

TEST_P(OpenDepth, TheDepthSettingsDecideHowFarAFolderIsRead) {
  Make("r/a.mp3");
  Make("r/s/b.mp3");
  Make("r/s/t/c.mp3");
  settings_.SearchFileDepthAll = GetParam().all;
  settings_.SearchFileDepth = GetParam().depth;
  EXPECT_EQ(Open({dir_.file("r")}), GetParam().result);
  EXPECT_EQ(Rel(lists_->MusicList), GetParam().music);
}

INSTANTIATE_TEST_SUITE_P(
    BySettings, OpenDepth,
    testing::Values(DepthCase{true, 0, 2, {"r/s/t/c.mp3", "r/s/b.mp3", "r/a.mp3"}},
                    DepthCase{false, 0, 0, {}}, DepthCase{false, 1, 2, {"r/a.mp3"}},
                    DepthCase{false, 2, 2, {"r/s/b.mp3", "r/a.mp3"}}));

struct KindCase {
  const char* label;
  QStringList files;  // in the opened folder r
  int result;
  QStringList fileList;
  QStringList music;  // sorted
  QList<QStringList> pictures;
};

void PrintTo(const KindCase& c, std::ostream* os) { *os << c.label; }

class OpenKinds : public OpenerTest, public testing::WithParamInterface<KindCase> {};

TEST_P(OpenKinds, WhatWasFoundDecidesWhereItGoes) {
  const KindCase& c = GetParam();
  Folder("r");
  for (const QString& f : c.files) Make("r/" + f);
  EXPECT_EQ(Open({dir_.file("r")}), c.result);
  EXPECT_EQ(Rel(lists_->FileList()), c.fileList);
  EXPECT_EQ(Sorted(Rel(lists_->MusicList)), c.music);
  QList<QStringList> pictures;
  for (const QStringList& p : parts_.pictures) pictures << Sorted(Rel(p));
  EXPECT_EQ(pictures, c.pictures);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, OpenKinds,
    testing::Values(
        // The playlist's own track is what the music list gets; the MP3 files beside it are
        // not added.
        KindCase{"playlist_beats_media",
                 {"Album.m3u", "01.mp3", "02.mp3", "03.mp3", "cover.jpg"},
                 1,
                 {"r/Album.m3u"},
                 {"r/Album.m3u.track.mp3"},
                 {}},
        KindCase{
            "media_only", {"01.mp3", "02.flac", "cover.jpg"}, 2, {}, {"r/01.mp3", "r/02.flac"}, {}},
        KindCase{"pictures_only",
                 {"cover.jpg", "back.JPEG"},
                 3,
                 {},
                 {},
                 {{"r/back.JPEG", "r/cover.jpg"}}},
        // Found by the scan, whose mask ignores case, but not a playlist: the test is exact.
        KindCase{"upper_case_m3u_is_ignored", {"x.M3U"}, 3, {}, {}, {{}}},
        KindCase{"empty_folder_finds_nothing", {}, 0, {}, {}, {}}),
    [](const testing::TestParamInfo<KindCase>& p) { return std::string(p.param.label); });

TEST_F(OpenerTest, ListFilesFeedTheGroupListTheFileListAndTheTimers) {
  const QString kept = Make("elsewhere/kept.m3u");
  Folder("r");
  SaveTextLines({"/music/a", "", "/music/a", "/music/b"}, dir_.file("r/groups.qgf"));
  SaveTextLines({"FileList0=" + kept, "FileList1=" + dir_.file("gone.m3u")},
                dir_.file("r/list.qlf"));
  TimerList timers;
  for (const char* name : {"morning", "morning", "night"}) {
    CMusicTimer t;
    t.SettingName = name;
    timers << TimerListEntry{name, t};
  }
  QStringList timerLines;
  WriteTimerBlock(timerLines, timers);
  SaveTextLines(timerLines, dir_.file("r/timers.qtf"));
  groups_->GroupList = {"/old"};

  EXPECT_EQ(Open({dir_.file("r")}), 1);
  EXPECT_EQ(lists_->FileList(), QStringList{kept});
  // Replaced (Control is up), then the opened folder is remembered after them.
  EXPECT_EQ(groups_->GroupList, QStringList({"/music/a", "/music/b", dir_.file("r")}));
  ASSERT_EQ(parts_.merged.size(), 1);
  QStringList names;
  for (const TimerListEntry& e : parts_.merged[0]) names << e.Name;
  EXPECT_EQ(names, QStringList({"morning", "night"}));
  EXPECT_EQ(parts_.mergeAppends, QList<bool>{false});
  EXPECT_EQ(parts_.filePages, 1);
  EXPECT_EQ(store_.saves, 1);
}

TEST_F(OpenerTest, ControlAppendsToTheFileListAndOtherwiseItIsReplaced) {
  const QString old = Make("old.m3u");
  const QString added = Make("new.m3u");
  for (bool control : {false, true}) {
    SCOPED_TRACE(control ? "Control held" : "Control up");
    lists_->AddToFileList({old}, false);
    SetControl(control);
    EXPECT_EQ(Open({added}), 1);
    EXPECT_EQ(lists_->FileList(), control ? QStringList({old, added}) : QStringList{added});
    EXPECT_EQ(lists_->FileIndex, control ? 1 : 0);
    EXPECT_EQ(Rel(lists_->MusicList), QStringList{"new.m3u.track.mp3"});
  }
}

struct GroupCase {
  bool enable;
  bool noFolders;
  QStringList expected;  // relative
};

void PrintTo(const GroupCase& c, std::ostream* os) {
  *os << "EnableAddGroup " << c.enable << " NoAddFolderToGroup " << c.noFolders;
}

class OpenGroupAdditions : public OpenerTest, public testing::WithParamInterface<GroupCase> {};

TEST_P(OpenGroupAdditions, TheOpenedPathsAreRemembered) {
  Make("r/a.mp3");
  const QString playlist = Make("p.m3u");
  const QString song = Make("song.mp3");
  settings_.EnableAddGroup = GetParam().enable;
  settings_.NoAddFolderToGroup = GetParam().noFolders;
  QStringList paths = {dir_.file("r"), playlist, song};
  EXPECT_EQ(opener_->OpenPaths(paths), 1);
  EXPECT_EQ(Rel(groups_->GroupList), GetParam().expected);
  QStringList items;
  for (int i = 0; i < timerCB_.count(); ++i) items << Rel(timerCB_.itemText(i));
  EXPECT_EQ(items, GetParam().enable ? GetParam().expected : QStringList());
  // The same playlist opened again is not remembered twice.
  Open({playlist});
  EXPECT_EQ(Rel(groups_->GroupList), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(BySettings, OpenGroupAdditions,
                         testing::Values(GroupCase{true, false, {"r", "p.m3u", "song.mp3"}},
                                         GroupCase{true, true, {"p.m3u", "song.mp3"}},
                                         GroupCase{false, false, {}}));

TEST_F(OpenerTest, AnOpenThatFindsNothingChangesNothingAndWritesNothing) {
  EXPECT_EQ(Open({Folder("empty"), Folder("also empty")}), 0);
  EXPECT_TRUE(groups_->GroupList.isEmpty());
  EXPECT_EQ(store_.saves, 0);
  EXPECT_EQ(parts_.searchClears, 1);
}

TEST_F(OpenerTest, LinksAreReplacedByTheirTargetsAndDanglingOnesDropped) {
  const QString playlist = Make("real/p.m3u");
  ASSERT_EQ(::symlink(playlist.toUtf8(), dir_.file("link.m3u").toUtf8()), 0);
  ASSERT_EQ(::symlink("nowhere", dir_.file("dead.m3u").toUtf8()), 0);
  QStringList paths = {dir_.file("link.m3u"), dir_.file("dead.m3u")};
  EXPECT_EQ(opener_->OpenPaths(paths), 1);
  const QString target = QFileInfo(playlist).canonicalFilePath();
  EXPECT_EQ(paths, QStringList{target});
  EXPECT_EQ(lists_->FileList(), QStringList{target});
  EXPECT_EQ(groups_->GroupList, QStringList{target});
}

TEST_F(OpenerTest, ARandomCurrentEntryIsOneOfThePlaylistsJustOpened) {
  const QString a = Make("a.m3u"), b = Make("b.m3u");
  lists_->AddToFileList({Make("old0.m3u"), Make("old1.m3u")}, false);
  platform::FakeRandom random({1});
  platform::SetRandom(&random);
  settings_.WhenOpenSelectFileRandom = true;
  SetControl(true);
  EXPECT_EQ(Open({a, b}), 1);
  EXPECT_EQ(lists_->FileIndex, 3);
  EXPECT_EQ(lists_->CurrentAlbumPath, b);
}

TEST_F(OpenerTest, ShufflingAfterAnOpenKeepsTheCurrentIndexAsANumber) {
  QStringList opened;
  for (const char* name : {"a.m3u", "b.m3u", "c.m3u"}) opened << Make(name);
  platform::FakeRandom random({2, 0, 0});
  platform::SetRandom(&random);
  settings_.WhenOpenSortFileRandom = true;
  EXPECT_EQ(Open(opened), 1);
  EXPECT_EQ(lists_->FileList(), QStringList({opened[2], opened[0], opened[1]}));
  EXPECT_EQ(lists_->FileIndex, 0);
  EXPECT_EQ(lists_->CurrentAlbumPath, opened[2]);
}

TEST_F(OpenerTest, ALinkedListFileReplacesWhatWasCollectedBefore) {
  const QString kept = Make("kept.m3u");
  SaveTextLines({"FileList0=" + kept}, dir_.file("all.qlt"));
  QStringList out;
  opener_->ExpandPaths(out, {dir_.file("before.mp3"), dir_.file("all.qlt"), "/after.mp3"}, 0);
  EXPECT_EQ(out, QStringList({kept, "/after.mp3"}));
}

TEST_F(OpenerTest, AddingMediaTakesOnlyMediaAndLeavesTheOtherListsAlone) {
  Make("r/a.mp3");
  Make("r/list.m3u");
  Make("r/cover.jpg");
  lists_->MusicList = {"/before.mp3"};
  opener_->AddMediaToMusicList({dir_.file("r")});
  EXPECT_EQ(Rel(lists_->MusicList), QStringList({"/before.mp3", "r/a.mp3"}));
  EXPECT_EQ(musicLB_.count(), 2);
  EXPECT_TRUE(lists_->FileList().isEmpty());
  EXPECT_TRUE(groups_->GroupList.isEmpty());
  EXPECT_EQ(store_.saves, 1);
  opener_->AddMediaToMusicList({Folder("empty")});
  EXPECT_EQ(store_.saves, 1);
}

struct AutoPlayCase {
  const char* label;
  bool playWhenOpen;
  int tracksBefore;
  const char* open;  // "media", "playlist" or "nothing"
  QStringList calls;
  int tracksAfter;
};

void PrintTo(const AutoPlayCase& c, std::ostream* os) { *os << c.label; }

class OpenAutoPlay : public OpenerTest, public testing::WithParamInterface<AutoPlayCase> {};

TEST_P(OpenAutoPlay, PlaybackFollowsPlayWhenOpen) {
  const AutoPlayCase& c = GetParam();
  settings_.PlayWhenOpen = c.playWhenOpen;
  for (int i = 0; i < c.tracksBefore; ++i) lists_->MusicList << QStringLiteral("/t%1.mp3").arg(i);
  const QString open = c.open;
  QStringList paths;
  if (open == "media") paths = {Make("m/1.mp3"), Make("m/2.mp3")};
  if (open == "playlist") paths = {Make("p.m3u")};
  if (open == "nothing") paths = {Folder("empty")};
  opener_->OpenPathsWithAutoPlay(paths);
  EXPECT_EQ(transport_.calls, c.calls);
  EXPECT_EQ(lists_->MusicList.size(), c.tracksAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OpenAutoPlay,
    testing::Values(
        AutoPlayCase{"media_onto_empty_list_plays", true, 0, "media", {"PlayFromStart"}, 2},
        AutoPlayCase{"media_onto_filled_list_does_not_restart", true, 1, "media", {}, 3},
        AutoPlayCase{"playlist_plays", true, 0, "playlist", {"PlayFromStart"}, 1},
        AutoPlayCase{"nothing_found_plays_from_start", true, 1, "nothing", {"PlayFromStart"}, 1},
        AutoPlayCase{
            "off_playlist_opens_the_current_track", false, 0, "playlist", {"OpenCurrentTrack"}, 1},
        // Reloading the current entry here would throw the added tracks away again.
        AutoPlayCase{"off_media_are_kept", false, 1, "media", {}, 3}),
    [](const testing::TestParamInfo<AutoPlayCase>& p) { return std::string(p.param.label); });

TEST_F(OpenerTest, OpenButtonStartsInTheFocusedEntrysFolderWithTheListMasks) {
  const QString focused = Make("albums/x.m3u");
  lists_->AddToFileList({focused}, false);
  lists_->ShowFileList();
  dialogs_.chosen = {};
  opener_->OpenSBClick();
  ASSERT_EQ(dialogs_.requests.size(), 1);
  const OpenDialogRequest& r = dialogs_.requests[0];
  EXPECT_EQ(r.Name, "OpenFilesDialog");
  EXPECT_EQ(r.StartFolder, dir_.file("albums"));
  EXPECT_EQ(r.Filter,
            "指定されたマスク(*.m3u;*.pls;*.qlf;*.qtf;*qgf;)|*.m3u;*.pls;*.qlf;*.qtf;*qgf;|"
            "すべてのファイル(*.*)|*.*");
  EXPECT_TRUE(r.MultiSelect);
  EXPECT_TRUE(r.Resizable);
  // Cancelled: nothing was opened.
  EXPECT_EQ(parts_.searchClears, 0);

  dialogs_.chosen = {Make("chosen.m3u")};
  opener_->OpenSBClick();
  EXPECT_EQ(lists_->FileList(), dialogs_.chosen);
  EXPECT_EQ(transport_.calls, QStringList{"PlayFromStart"});
}

TEST_F(OpenerTest, AddMediaCommandAppendsTheChosenMediaFiles) {
  lists_->MusicList = {dir_.file("tracks/now.mp3")};
  lists_->MusicIndex = 0;
  lists_->ShowMusicList();
  dialogs_.chosen = {"/c/a.mp3", "/c/b.txt", "/c/c.FLAC", "/c/a.mp3"};
  opener_->MnMusicAddClick();
  ASSERT_EQ(dialogs_.requests.size(), 1);
  EXPECT_EQ(dialogs_.requests[0].Name, "MusicOpenDialog");
  EXPECT_EQ(dialogs_.requests[0].StartFolder, dir_.file("tracks"));
  EXPECT_EQ(dialogs_.requests[0].Filter,
            "指定されたマスク(*.mp3;*.mp4;*.m4a;*.flac;*.wma;*.wav;)|"
            "*.mp3;*.mp4;*.m4a;*.flac;*.wma;*.wav;|すべてのファイル(*.*)|*.*");
  EXPECT_EQ(lists_->MusicList,
            QStringList({dir_.file("tracks/now.mp3"), "/c/a.mp3", "/c/c.FLAC", "/c/a.mp3"}));
  EXPECT_EQ(musicLB_.count(), 4);
  EXPECT_EQ(store_.saves, 1);
}

TEST_F(OpenerTest, CancellingTheFirstFolderKeepsItsFindingsAndStillScansTheSecond) {
  Make("r1/a/1.mp3");
  Make("r1/b/2.mp3");
  Make("r1/top.mp3");
  Make("r2/3.mp3");
  std::vector<platform::DirEntry> entries;
  platform::ReadFolder(dir_.file("r1"), entries);
  QStringList subfolders;
  for (const auto& e : entries)
    if (e.Type == platform::EntryType::Folder) subfolders << e.Name;
  ASSERT_EQ(subfolders.size(), 2);
  const QString second = dir_.file("r1/" + subfolders[1]) + '/';
  QObject::connect(&form_, &TProcessForm::FolderShown, [&](const QString& folder) {
    if (folder == second) form_.Button()->click();
  });
  const QString first = "r1/" + subfolders[0] + (subfolders[0] == "a" ? "/1.mp3" : "/2.mp3");
  EXPECT_EQ(Open({dir_.file("r1"), dir_.file("r2")}), 2);
  EXPECT_EQ(Rel(lists_->MusicList), QStringList({first, "r2/3.mp3"}));
}

TEST_F(OpenerTest, OddNamesAreFoundShownAndOpen) {
  const QStringList names = {"with space.mp3", "it's \"q\".mp3", "new\nline.mp3", "-dash.mp3",
                             "曲.mp3"};
  for (const QString& name : names) Make("r/" + name);
  const QByteArray raw = platform::EncodeFileName(dir_.file("r")) + "/bad\xff.mp3";
  const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT, 0644);
  ASSERT_GE(fd, 0);
  ::close(fd);
  // QTemporaryDir cannot remove a name that is not UTF-8, so the test removes its own.
  const auto removeRaw = qScopeGuard([&raw] { ::unlink(raw.constData()); });

  EXPECT_EQ(Open({dir_.file("r")}), 2);
  QStringList rows;
  for (int i = 0; i < musicLB_.count(); ++i) rows << musicLB_.item(i)->text();
  const QString bad = platform::DecodeFileName(QByteArray("bad\xff.mp3"));
  EXPECT_EQ(Sorted(rows), Sorted(names + QStringList{bad}));
  for (const QString& track : lists_->MusicList) {
    SCOPED_TRACE(track.toStdString());
    const int back = ::open(platform::EncodeFileName(track).constData(), O_RDONLY);
    EXPECT_GE(back, 0);
    if (back >= 0) ::close(back);
  }
}

}  // namespace

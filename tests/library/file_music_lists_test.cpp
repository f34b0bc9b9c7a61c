#include "library/file_music_lists.h"

#include <gtest/gtest.h>

#include <QHash>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "library/list_box.h"
#include "platform/keystate.h"
#include "platform/random.h"
#include "qt_print.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

namespace {

// Playback that records every call; StopTrack and PlayFromStart switch Playing like the real
// transport.
class RecordingTransport : public IListTransport {
 public:
  bool playing = false;
  bool media = false;
  QStringList calls;

  bool Playing() const override { return playing; }
  bool HasCurrentMedia() const override { return media; }
  void StopTrack() override {
    calls << "StopTrack";
    playing = false;
  }
  void PlayFromStart() override {
    calls << "PlayFromStart";
    playing = true;
  }
  void OpenCurrentTrack() override { calls << "OpenCurrentTrack"; }
  void PlayPauseSBClick() override { calls << "PlayPauseSBClick"; }
  void PlayerClose() override { calls << "PlayerClose"; }
  void PlayerSetPosition(double position) override {
    calls << QStringLiteral("PlayerSetPosition(%1)").arg(position);
  }
};

class FakePlaylists : public IPlaylistReader {
 public:
  QHash<QString, QStringList> tracks;
  QStringList read;
  QStringList ReadPlaylist(const QString& path) override {
    read << path;
    return tracks.value(path);
  }
};

class FakeListFiles : public IListFiles {
 public:
  QStringList entries;
  QStringList linesSeen;
  QList<QStringList> saved;
  void SaveFileListFile(const QStringList& fileList) override { saved << fileList; }
  QStringList ReadFileBlock(const QStringList& lines) override {
    linesSeen = lines;
    return entries;
  }
};

class FakeTextFiles : public ITextFiles {
 public:
  QStringList lines{"FileList=..."};
  QStringList paths;
  QStringList LoadTextLines(const QString& path) override {
    paths << path;
    return lines;
  }
};

class FakeDialogs : public IListDialogs {
 public:
  bool answer = false;
  QString chosen;
  QStringList questions;
  QStringList filters;
  bool Confirm(const QString& question) override {
    questions << question;
    return answer;
  }
  QString OpenFileName(const QString& filter) override {
    filters << filter;
    return chosen;
  }
};

QStringList Rows(const QListWidget& lb) {
  QStringList rows;
  for (int i = 0; i < lb.count(); ++i) rows << lb.item(i)->text();
  return rows;
}

// Ten albums a0 … a9 (existing playlist files in a temporary folder, each naming two tracks),
// shown with the whole path, and the lists controller over two real list boxes.
class FileMusicListsTest : public testing::Test {
 protected:
  FileMusicListsTest() {
    platform::SetKeyState(&keys_);
    settings_.DisplayLevel = -1;
    for (int i = 0; i < 10; ++i) {
      const QString album = dir_.write(QStringLiteral("a%1.m3u").arg(i), "#EXTM3U\n");
      albums_ << album;
      playlists_.tracks[album] = {dir_.file(QStringLiteral("a%1/1.mp3").arg(i)),
                                  dir_.file(QStringLiteral("a%1/2.mp3").arg(i))};
    }
    hooks_.Transport = &transport_;
    hooks_.Playlists = &playlists_;
    hooks_.ListFiles = &listFiles_;
    hooks_.TextFiles = &textFiles_;
    hooks_.Dialogs = &dialogs_;
    lists_ = std::make_unique<CFileMusicLists>(settings_, &fileLB_, &musicLB_, hooks_);
  }
  ~FileMusicListsTest() override {
    platform::SetKeyState(nullptr);
    platform::SetRandom(nullptr);
  }

  // The first `count` albums in the file list, `current` loaded, with the calls so far
  // forgotten.
  void Open(int count, int current) {
    lists_->AddToFileList(albums_.mid(0, count), false);
    lists_->FileIndex = current;
    lists_->ShowFileList();
    if (current >= 0) lists_->LoadMusicList();
    transport_.calls.clear();
    playlists_.read.clear();
  }
  // Focuses `focused` and selects exactly `rows` of FileLB.
  void Select(const QList<int>& rows, int focused) {
    SetFocusedRow(&fileLB_, focused);
    fileLB_.clearSelection();
    for (int row : rows) SelectRow(&fileLB_, row);
  }
  QStringList Albums(std::initializer_list<int> indexes) const {
    QStringList list;
    for (int i : indexes) list << albums_[i];
    return list;
  }
  QStringList TrackNames() const { return Rows(musicLB_); }

  testing_support::TempDir dir_;
  QStringList albums_;
  Settings settings_;
  platform::FakeKeyState keys_;
  RecordingTransport transport_;
  FakePlaylists playlists_;
  FakeListFiles listFiles_;
  FakeTextFiles textFiles_;
  FakeDialogs dialogs_;
  FileListHooks hooks_;
  QListWidget fileLB_;
  QListWidget musicLB_;
  std::unique_ptr<CFileMusicLists> lists_;
};

// ---- Adding and showing ----

TEST_F(FileMusicListsTest, AddToFileListSkipsEntriesAlreadyThere) {
  struct Case {
    const char* name;
    QStringList before;
    QStringList entries;
    bool append;
    QStringList after;
    int index;
  } cases[] = {
      {"replace drops duplicates",
       {"/x.m3u"},
       {"/a.m3u", "/b.m3u", "/a.m3u"},
       false,
       {"/a.m3u", "/b.m3u"},
       0},
      {"replace with nothing", {"/x.m3u"}, {}, false, {}, 0},
      {"append makes the first new one current",
       {"/a.m3u", "/b.m3u"},
       {"/b.m3u", "/c.m3u"},
       true,
       {"/a.m3u", "/b.m3u", "/c.m3u"},
       2},
      {"append of an exact duplicate makes the last current",
       {"/a.m3u", "/b.m3u", "/c.m3u"},
       {"/a.m3u"},
       true,
       {"/a.m3u", "/b.m3u", "/c.m3u"},
       2},
      // Linux file systems tell case apart: these are two files.
      {"names differing in case are two entries",
       {"/a.m3u"},
       {"/A.M3U"},
       true,
       {"/a.m3u", "/A.M3U"},
       1},
  };
  for (const Case& c : cases) {
    lists_->AddToFileList(c.before, false);
    lists_->AddToFileList(c.entries, c.append);
    EXPECT_EQ(lists_->FileList(), c.after) << c.name;
    EXPECT_EQ(lists_->FileIndex, c.index) << c.name;
  }
  EXPECT_EQ(fileLB_.count(), 0);  // the caller shows the list
}

TEST_F(FileMusicListsTest, DeletedEntriesCanBeAddedAgain) {
  Open(3, 0);
  Select({1}, 1);
  lists_->MnFileDeleteClick();
  lists_->AddToFileList({albums_[1]}, true);
  EXPECT_EQ(lists_->FileList(), Albums({0, 2, 1}));
}

TEST_F(FileMusicListsTest, ShowFileListUsesTheDisplayLevelAndMarksTheCurrentEntry) {
  lists_->AddToFileList({"/Music/Artist/One.m3u", "/Music/Other/Two.m3u"}, false);
  lists_->FileIndex = 1;
  settings_.DisplayLevel = 1;
  lists_->ShowFileList();
  EXPECT_EQ(Rows(fileLB_), (QStringList{"Artist/One.m3u", "Other/Two.m3u"}));
  EXPECT_EQ(FocusedRow(&fileLB_), 1);
  EXPECT_EQ(SelectedRows(&fileLB_), QList<int>{1});

  lists_->FileIndex = 5;  // past the end: nothing is marked
  lists_->ShowFileList();
  EXPECT_TRUE(SelectedRows(&fileLB_).isEmpty());
}

TEST_F(FileMusicListsTest, HighlightCurrentRemarksWithoutRebuilding) {
  Open(4, 1);
  Select({0, 2, 3}, 3);
  lists_->MusicIndex = 1;
  lists_->HighlightCurrent();
  EXPECT_EQ(SelectedRows(&fileLB_), QList<int>{1});
  EXPECT_EQ(SelectedRow(&musicLB_), 1);

  lists_->MusicIndex = -1;
  lists_->HighlightCurrent();
  EXPECT_EQ(SelectedRow(&musicLB_), -1);
}

// ---- Loading an entry ----

TEST_F(FileMusicListsTest, LoadMusicListFillsTheMusicListWithMediaTracks) {
  playlists_.tracks[albums_[0]] = {"/m/1.mp3", "/m/cover.jpg", "/m/2.FLAC", "/m/3.ogg"};
  Open(2, -1);
  lists_->FileIndex = 0;
  EXPECT_TRUE(lists_->LoadMusicList());
  EXPECT_EQ(lists_->MusicList, (QStringList{"/m/1.mp3", "/m/2.FLAC"}));
  EXPECT_EQ(TrackNames(), (QStringList{"1.mp3", "2.FLAC"}));
  EXPECT_EQ(lists_->MusicIndex, 0);
  EXPECT_EQ(SelectedRow(&musicLB_), 0);
  EXPECT_EQ(lists_->CurrentAlbumPath, albums_[0]);
  EXPECT_TRUE(transport_.calls.isEmpty());  // not playing: the player is left alone
}

TEST_F(FileMusicListsTest, LoadMusicListWhilePlayingRestartsOnTheNewAlbum) {
  Open(2, 0);
  transport_.playing = true;
  lists_->FileIndex = 1;
  EXPECT_TRUE(lists_->LoadMusicList());
  EXPECT_EQ(transport_.calls, (QStringList{"PlayerClose", "PlayFromStart"}));
}

TEST_F(FileMusicListsTest, LoadMusicListRemovesAnEntryWhoseFileIsGone) {
  struct Case {
    const char* name;
    int count;
    int missing;
    bool result;
    QStringList left;
    int index;
    QString loaded;  // CurrentAlbumPath afterwards
  } cases[] = {
      {"a middle entry: the next takes its place", 3, 1, true, {"0", "2"}, 1, "2"},
      {"the last entry: the new last is loaded", 3, 2, true, {"0", "1"}, 1, "1"},
      {"the only entry: nothing to load", 1, 0, false, {}, 0, ""},
  };
  for (const Case& c : cases) {
    testing_support::TempDir dir;
    QStringList entries;
    for (int i = 0; i < c.count; ++i) entries << dir.write(QString::number(i), "");
    QHash<QString, QString> byName;
    for (int i = 0; i < c.count; ++i) byName[entries[i]] = QString::number(i);
    lists_->CurrentAlbumPath.clear();
    lists_->AddToFileList(entries, false);
    lists_->ShowFileList();
    lists_->MusicList = {"/stale.mp3"};
    lists_->ShowMusicList();
    QFile::remove(entries[c.missing]);
    lists_->FileIndex = c.missing;

    EXPECT_EQ(lists_->LoadMusicList(), c.result) << c.name;
    QStringList left;
    for (const QString& e : lists_->FileList()) left << byName[e];
    EXPECT_EQ(left, c.left) << c.name;
    EXPECT_EQ(fileLB_.count(), c.left.size()) << c.name;
    EXPECT_EQ(lists_->FileIndex, c.index) << c.name;
    EXPECT_EQ(byName.value(lists_->CurrentAlbumPath), c.loaded) << c.name;
    if (!c.result) {
      EXPECT_TRUE(lists_->MusicList.isEmpty()) << c.name;
      EXPECT_EQ(musicLB_.count(), 0) << c.name;  // no stale rows of the album before
      EXPECT_EQ(lists_->MusicIndex, -1) << c.name;
    }
  }
}

TEST_F(FileMusicListsTest, LoadMusicListOfTheLastEntryMarksItsNewRow) {
  Open(3, 0);
  QFile::remove(albums_[2]);
  lists_->FileIndex = 2;
  EXPECT_TRUE(lists_->LoadMusicList());
  EXPECT_EQ(FocusedRow(&fileLB_), 1);
  EXPECT_EQ(SelectedRows(&fileLB_), QList<int>{1});
}

TEST_F(FileMusicListsTest, RandomMusicShufflesBeforeTheMediaMaskIsApplied) {
  settings_.RandomMusic = true;
  playlists_.tracks[albums_[0]] = {"/m/a.mp3", "/m/b.ogg", "/m/c.mp3", "/m/d.mp3"};
  platform::FakeRandom random({3, 0, 1, 0});  // d, a, c, b
  platform::SetRandom(&random);
  Open(1, 0);
  EXPECT_EQ(lists_->MusicList, (QStringList{"/m/d.mp3", "/m/a.mp3", "/m/c.mp3"}));
}

TEST_F(FileMusicListsTest, LoadCurrentEntryLoadsOnlyARowThatExists) {
  Open(3, -1);
  lists_->FileIndex = 2;
  lists_->LoadCurrentEntry();
  EXPECT_EQ(playlists_.read, Albums({2}));

  Select({0, 1}, 0);
  lists_->FileIndex = 3;
  lists_->LoadCurrentEntry();
  EXPECT_EQ(playlists_.read, Albums({2}));
  EXPECT_TRUE(SelectedRows(&fileLB_).isEmpty());
}

// ---- Activating ----

TEST_F(FileMusicListsTest, ActivatingAnEntryLoadsItAndPlaysOnlyWithPlayWhenOpen) {
  for (bool playWhenOpen : {false, true}) {
    settings_.PlayWhenOpen = playWhenOpen;
    Open(3, 0);
    Select({}, 2);
    lists_->FileLBDblClick();
    EXPECT_EQ(lists_->FileIndex, 2);
    EXPECT_EQ(SelectedRows(&fileLB_), QList<int>{2});
    EXPECT_EQ(playlists_.read, Albums({2}));
    QStringList expected{"StopTrack", "OpenCurrentTrack"};
    if (playWhenOpen) expected << "PlayFromStart";
    EXPECT_EQ(transport_.calls, expected) << "PlayWhenOpen " << playWhenOpen;
  }
}

TEST_F(FileMusicListsTest, ActivatingATrackAlwaysPlaysIt) {
  settings_.PlayWhenOpen = false;
  Open(1, 0);
  transport_.media = true;
  SetSelectedRow(&musicLB_, 1);
  lists_->MusicLBDblClick();
  EXPECT_EQ(lists_->MusicIndex, 1);
  EXPECT_EQ(transport_.calls,
            (QStringList{"PlayerSetPosition(0)", "OpenCurrentTrack", "PlayFromStart"}));

  transport_.calls.clear();
  transport_.media = false;  // already playing: opening it is enough
  lists_->MusicLBDblClick();
  EXPECT_EQ(transport_.calls, QStringList{"OpenCurrentTrack"});
}

TEST_F(FileMusicListsTest, DoubleClicksOnRowsReachTheHandlers) {
  settings_.PlayWhenOpen = false;
  Open(3, 0);
  fileLB_.show();
  musicLB_.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&fileLB_));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&musicLB_));

  const QPoint entry = fileLB_.visualItemRect(fileLB_.item(1)).center();
  QTest::mouseClick(fileLB_.viewport(), Qt::LeftButton, {}, entry);
  QTest::mouseDClick(fileLB_.viewport(), Qt::LeftButton, {}, entry);
  EXPECT_EQ(lists_->FileIndex, 1);
  EXPECT_EQ(lists_->CurrentAlbumPath, albums_[1]);

  const QPoint track = musicLB_.visualItemRect(musicLB_.item(1)).center();
  QTest::mouseClick(musicLB_.viewport(), Qt::LeftButton, {}, track);
  QTest::mouseDClick(musicLB_.viewport(), Qt::LeftButton, {}, track);
  EXPECT_EQ(lists_->MusicIndex, 1);
  EXPECT_TRUE(transport_.playing);
}

// ---- Keys ----

TEST_F(FileMusicListsTest, KeysInTheFileListReachTheCommands) {
  settings_.PlayWhenOpen = false;
  Open(4, 0);
  Select({2}, 2);
  QTest::keyClick(&fileLB_, Qt::Key_Return);
  EXPECT_EQ(lists_->FileIndex, 2);
  EXPECT_EQ(lists_->CurrentAlbumPath, albums_[2]);

  transport_.calls.clear();
  SetFocusedRow(&fileLB_, 3);
  QTest::keyClick(&fileLB_, Qt::Key_Space);
  EXPECT_EQ(transport_.calls, QStringList{"PlayPauseSBClick"});
  EXPECT_EQ(SelectedRows(&fileLB_), QList<int>{2});  // Space does not touch the selection

  Select({3}, 3);
  QTest::keyClick(&fileLB_, Qt::Key_Delete);
  EXPECT_EQ(lists_->FileList(), Albums({0, 1, 2}));
  EXPECT_EQ(Rows(fileLB_), Albums({0, 1, 2}));
}

TEST_F(FileMusicListsTest, AltUpMovesEntriesAndPlainUpMovesTheFocus) {
  Open(10, 0);
  Select({0, 1, 3}, 3);
  keys_.Set(platform::Key::RightAlt, true);
  QTest::keyClick(&fileLB_, Qt::Key_Up, Qt::AltModifier);
  EXPECT_EQ(lists_->FileList(), Albums({0, 1, 3, 2, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(Rows(fileLB_), lists_->FileList());
  EXPECT_EQ(SelectedRows(&fileLB_), (QList<int>{0, 1, 2}));
  EXPECT_EQ(FocusedRow(&fileLB_), 2);  // the focus went with its entry, and only once

  keys_.Clear();
  QTest::keyClick(&fileLB_, Qt::Key_Up);
  EXPECT_EQ(FocusedRow(&fileLB_), 1);  // the list box's own key
  EXPECT_EQ(lists_->FileList(), Albums({0, 1, 3, 2, 4, 5, 6, 7, 8, 9}));
}

TEST_F(FileMusicListsTest, AltDownMovesEntriesDown) {
  Open(10, 0);
  Select({6, 8, 9}, 6);
  keys_.Set(platform::Key::LeftAlt, true);
  lists_->FileLBKeyDown(Qt::Key_Down);
  EXPECT_EQ(lists_->FileList(), Albums({0, 1, 2, 3, 4, 5, 7, 6, 8, 9}));
  EXPECT_EQ(Rows(fileLB_), lists_->FileList());
  EXPECT_EQ(SelectedRows(&fileLB_), (QList<int>{7, 8, 9}));
}

TEST_F(FileMusicListsTest, TheCurrentEntryStaysCurrentWhenEntriesMoveAroundIt) {
  struct Case {
    const char* name;
    int current;
    int selected;
    int delta;
    int index;
  } cases[] = {
      {"the current entry moves up", 2, 2, -1, 1},
      {"a neighbour moves onto it from above", 2, 1, 1, 1},
      {"a neighbour moves onto it from below", 2, 3, -1, 3},
      {"a move elsewhere", 2, 6, -1, 2},
  };
  for (const Case& c : cases) {
    Open(10, c.current);
    Select({c.selected}, c.selected);
    lists_->MoveSelectedFileEntries(c.delta);
    EXPECT_EQ(lists_->FileIndex, c.index) << c.name;
    EXPECT_EQ(lists_->FileList()[lists_->FileIndex], albums_[c.current]) << c.name;
  }
}

TEST_F(FileMusicListsTest, KeysInTheMusicListReachTheCommands) {
  playlists_.tracks[albums_[0]] = {"/m/1.mp3", "/m/2.mp3", "/m/3.mp3"};
  Open(1, 0);
  SetSelectedRow(&musicLB_, 0);
  keys_.Set(platform::Key::LeftAlt, true);
  QTest::keyClick(&musicLB_, Qt::Key_Down, Qt::AltModifier);
  EXPECT_EQ(lists_->MusicList, (QStringList{"/m/2.mp3", "/m/1.mp3", "/m/3.mp3"}));
  EXPECT_EQ(TrackNames(), (QStringList{"2.mp3", "1.mp3", "3.mp3"}));
  EXPECT_EQ(SelectedRow(&musicLB_), 1);
  EXPECT_EQ(lists_->MusicIndex, 1);  // the current track went with it
  keys_.Clear();

  QTest::keyClick(&musicLB_, Qt::Key_Enter);
  EXPECT_EQ(transport_.calls, (QStringList{"OpenCurrentTrack", "PlayFromStart"}));

  transport_.calls.clear();
  QTest::keyClick(&musicLB_, Qt::Key_Delete);
  EXPECT_EQ(lists_->MusicList, (QStringList{"/m/2.mp3", "/m/3.mp3"}));
  EXPECT_EQ(transport_.calls, QStringList{"StopTrack"});  // playing: stopped first
}

TEST_F(FileMusicListsTest, MovingATrackStopsAtTheEnds) {
  Open(1, 0);
  keys_.Set(platform::Key::LeftAlt, true);
  SetSelectedRow(&musicLB_, 0);
  EXPECT_TRUE(lists_->MusicLBKeyDown(Qt::Key_Up));
  SetSelectedRow(&musicLB_, 1);
  EXPECT_TRUE(lists_->MusicLBKeyDown(Qt::Key_Down));
  EXPECT_EQ(lists_->MusicList, playlists_.tracks[albums_[0]]);
}

// ---- Deleting ----

TEST_F(FileMusicListsTest, DeleteKeyMakesTheEntryBeforeTheCurrentOneCurrent) {
  struct Case {
    const char* name;
    QList<int> selected;
    int current;
    bool playing;
    QStringList left;
    int index;
    QList<int> selectedAfter;
    QStringList calls;
  } cases[] = {
      {"the current entry", {2}, 2, false, Albums({0, 1, 3}), 1, {}, {}},
      {"entry 0 while current", {0}, 0, false, Albums({1, 2, 3}), 0, {0}, {}},
      {"entries before the current one", {0, 1}, 3, false, Albums({2, 3}), 1, {}, {}},
      {"the current entry while playing", {1, 2}, 2, true, Albums({0, 3}), 0, {}, {"StopTrack"}},
      {"another entry while playing", {3}, 1, true, Albums({0, 1, 2}), 1, {1}, {}},
  };
  for (const Case& c : cases) {
    Open(4, c.current);
    transport_.playing = c.playing;
    Select(c.selected, c.selected.first());
    const QStringList music = lists_->MusicList;
    QTest::keyClick(&fileLB_, Qt::Key_Delete);
    EXPECT_EQ(lists_->FileList(), c.left) << c.name;
    EXPECT_EQ(Rows(fileLB_), c.left) << c.name;
    EXPECT_EQ(lists_->FileIndex, c.index) << c.name;
    EXPECT_EQ(SelectedRows(&fileLB_), c.selectedAfter) << c.name;
    EXPECT_EQ(transport_.calls, c.calls) << c.name;
    EXPECT_EQ(lists_->MusicList, music) << c.name;  // the music list is left as it was
  }
}

TEST_F(FileMusicListsTest, MenuDeleteReloadsTheCurrentEntry) {
  Open(4, 2);
  Select({1, 2}, 1);
  lists_->MnFileDeleteClick();
  EXPECT_EQ(lists_->FileList(), Albums({0, 3}));
  EXPECT_EQ(lists_->FileIndex, 0);
  EXPECT_EQ(playlists_.read, Albums({0}));
  EXPECT_EQ(transport_.calls, QStringList{"OpenCurrentTrack"});  // not stopped first
  EXPECT_EQ(SelectedRows(&fileLB_), QList<int>{0});
  EXPECT_EQ(FocusedRow(&fileLB_), 0);
}

TEST_F(FileMusicListsTest, MenuDeleteOfEveryEntryEmptiesBothLists) {
  Open(3, 1);
  lists_->MnFileSelectAllClick();
  EXPECT_EQ(SelectedRows(&fileLB_), (QList<int>{0, 1, 2}));
  lists_->MnFileDeleteClick();
  EXPECT_TRUE(lists_->FileList().isEmpty());
  EXPECT_EQ(fileLB_.count(), 0);
  EXPECT_TRUE(lists_->MusicList.isEmpty());
  EXPECT_EQ(musicLB_.count(), 0);
  EXPECT_EQ(lists_->FileIndex, -1);
  EXPECT_EQ(transport_.calls, QStringList{"StopTrack"});
}

TEST_F(FileMusicListsTest, DeletingATrackMakesTheSelectedRowCurrent) {
  struct Case {
    const char* name;
    int selected;
    bool playing;
    QStringList left;
    int index;
    QStringList calls;
  } cases[] = {
      {"a middle track while playing", 1, true, {"1.mp3", "3.mp3"}, 1, {"StopTrack"}},
      {"the last track", 2, false, {"1.mp3", "2.mp3"}, 1, {}},
      {"nothing selected", -1, true, {"1.mp3", "2.mp3", "3.mp3"}, 0, {}},
  };
  playlists_.tracks[albums_[0]] = {"/m/1.mp3", "/m/2.mp3", "/m/3.mp3"};
  for (const Case& c : cases) {
    Open(1, 0);
    transport_.playing = c.playing;
    SetSelectedRow(&musicLB_, c.selected);
    lists_->MnMusicDeleteClick();
    EXPECT_EQ(TrackNames(), c.left) << c.name;
    EXPECT_EQ(lists_->MusicList.size(), c.left.size()) << c.name;
    EXPECT_EQ(lists_->MusicIndex, c.index) << c.name;
    EXPECT_EQ(transport_.calls, c.calls) << c.name;
  }
}

TEST_F(FileMusicListsTest, DeletingTheOnlyTrackLeavesNoCurrentTrack) {
  playlists_.tracks[albums_[0]] = {"/m/1.mp3"};
  Open(1, 0);
  SetSelectedRow(&musicLB_, 0);
  lists_->DeleteSelectedTrack();
  EXPECT_TRUE(lists_->MusicList.isEmpty());
  EXPECT_EQ(lists_->MusicIndex, -1);
}

// ---- Clearing ----

TEST_F(FileMusicListsTest, ClearAsksAndOnlyYesEmptiesBothLists) {
  Open(3, 1);
  dialogs_.answer = false;
  lists_->MnClearClick();
  EXPECT_EQ(dialogs_.questions,
            QStringList{QString::fromUtf8("ファイルリストをすべて削除してよろしいですか？")});
  EXPECT_EQ(lists_->FileList(), Albums({0, 1, 2}));
  EXPECT_EQ(fileLB_.count(), 3);
  EXPECT_EQ(musicLB_.count(), 2);
  EXPECT_TRUE(transport_.calls.isEmpty());

  dialogs_.answer = true;
  lists_->MnClearClick();
  EXPECT_TRUE(lists_->FileList().isEmpty());
  EXPECT_EQ(fileLB_.count(), 0);
  EXPECT_TRUE(lists_->MusicList.isEmpty());
  EXPECT_EQ(musicLB_.count(), 0);
  EXPECT_EQ(lists_->FileIndex, -1);
  EXPECT_EQ(lists_->MusicIndex, -1);
  EXPECT_EQ(transport_.calls, QStringList{"StopTrack"});

  lists_->AddToFileList({albums_[0]}, true);  // nothing of the old list is remembered
  EXPECT_EQ(lists_->FileList(), Albums({0}));
}

TEST_F(FileMusicListsTest, ClearingTheMusicListStopsPlaybackWithoutAsking) {
  Open(1, 0);
  transport_.playing = true;
  lists_->MnMusicClearClick();
  EXPECT_TRUE(lists_->MusicList.isEmpty());
  EXPECT_EQ(musicLB_.count(), 0);
  EXPECT_EQ(lists_->MusicIndex, -1);
  EXPECT_EQ(transport_.calls, QStringList{"StopTrack"});
  EXPECT_TRUE(dialogs_.questions.isEmpty());
}

// ---- Sorting and shuffling ----

TEST_F(FileMusicListsTest, SortingThreeOfTenSelectedRowsPermutesOnlyThose) {
  QStringList list;
  for (const char* name : {"j", "i", "h", "g", "f", "e", "d", "c", "b", "a"})
    list << QStringLiteral("/m/%1.m3u").arg(QLatin1String(name));
  SetRows(&fileLB_, list);
  Select({1, 5, 8}, 8);  // i, e, b; the focus on b
  EXPECT_TRUE(SortList(&fileLB_, list));
  EXPECT_EQ(list, (QStringList{"/m/j.m3u", "/m/b.m3u", "/m/h.m3u", "/m/g.m3u", "/m/f.m3u",
                               "/m/e.m3u", "/m/d.m3u", "/m/c.m3u", "/m/i.m3u", "/m/a.m3u"}));
  EXPECT_EQ(FocusedRow(&fileLB_), 1);  // b went to row 1
}

TEST_F(FileMusicListsTest, SortMakesTheFocusedEntryCurrentWithoutLoadingIt) {
  lists_->AddToFileList({albums_[2], albums_[0], albums_[1]}, false);
  lists_->FileIndex = 0;
  lists_->ShowFileList();
  lists_->LoadMusicList();
  playlists_.read.clear();
  Select({}, 1);  // the focus on a0
  lists_->MnFileSortClick();
  EXPECT_EQ(lists_->FileList(), Albums({0, 1, 2}));
  EXPECT_EQ(Rows(fileLB_), Albums({0, 1, 2}));
  EXPECT_EQ(lists_->FileIndex, 0);
  EXPECT_EQ(SelectedRows(&fileLB_), QList<int>{0});
  EXPECT_TRUE(playlists_.read.isEmpty());
  EXPECT_EQ(lists_->CurrentAlbumPath, albums_[2]);
}

TEST_F(FileMusicListsTest, SortingTheMusicListKeepsTheCurrentTrack) {
  playlists_.tracks[albums_[0]] = {"/m/c.mp3", "/m/A.mp3", "/m/b.mp3"};
  Open(1, 0);
  lists_->MusicIndex = 0;
  lists_->MnMusicSortByNameClick();
  EXPECT_EQ(TrackNames(), (QStringList{"A.mp3", "b.mp3", "c.mp3"}));
  EXPECT_EQ(lists_->MusicIndex, 2);
  EXPECT_EQ(SelectedRow(&musicLB_), 2);
}

TEST_F(FileMusicListsTest, ShufflesKeepTheCurrentEntryAndTrack) {
  platform::FakeRandom random({2, 0, 1, 0});
  platform::SetRandom(&random);
  playlists_.tracks[albums_[0]] = {"/m/0.mp3", "/m/1.mp3", "/m/2.mp3", "/m/3.mp3"};
  Open(4, 0);
  lists_->MusicIndex = 1;

  lists_->MnFileRandomClick();  // 2 0 3 1
  EXPECT_EQ(lists_->FileList(), Albums({2, 0, 3, 1}));
  EXPECT_EQ(Rows(fileLB_), Albums({2, 0, 3, 1}));
  EXPECT_EQ(lists_->FileIndex, 1);
  EXPECT_EQ(SelectedRows(&fileLB_), QList<int>{1});
  EXPECT_TRUE(playlists_.read.isEmpty());  // the music list is not touched

  lists_->MusicRandomSBClick();
  EXPECT_EQ(TrackNames(), (QStringList{"2.mp3", "0.mp3", "3.mp3", "1.mp3"}));
  EXPECT_EQ(lists_->MusicIndex, 3);
  EXPECT_EQ(SelectedRow(&musicLB_), 3);
  EXPECT_TRUE(transport_.calls.isEmpty());

  lists_->FileIndex = -1;
  EXPECT_TRUE(lists_->ShuffleFileList());
  EXPECT_EQ(lists_->FileIndex, -1);
}

TEST_F(FileMusicListsTest, ShufflingEmptyListsDoesNothing) {
  EXPECT_FALSE(lists_->ShuffleFileList());
  EXPECT_FALSE(lists_->ShuffleMusicList());
}

// ---- List files ----

TEST_F(FileMusicListsTest, OpeningAListFileReplacesOrWithControlAppends) {
  Open(2, 1);
  dialogs_.chosen = "/lists/mine.qfl";
  listFiles_.entries = Albums({5, 0, 6});
  lists_->MnFileOpenClick();
  EXPECT_EQ(
      dialogs_.filters,
      QStringList{QString::fromUtf8("QUOM File List(*.qfl)|*.qfl|すべてのファイル(*.*)|*.*")});
  EXPECT_EQ(textFiles_.paths, QStringList{"/lists/mine.qfl"});
  EXPECT_EQ(listFiles_.linesSeen, textFiles_.lines);
  EXPECT_EQ(lists_->FileList(), Albums({5, 0, 6}));
  EXPECT_EQ(Rows(fileLB_), Albums({5, 0, 6}));
  EXPECT_EQ(lists_->FileIndex, 0);
  EXPECT_EQ(playlists_.read, Albums({5}));

  keys_.Set(platform::Key::RightControl, true);
  listFiles_.entries = Albums({6, 7});
  lists_->MnFileOpenClick();
  EXPECT_EQ(lists_->FileList(), Albums({5, 0, 6, 7}));
  EXPECT_EQ(lists_->FileIndex, 3);
}

TEST_F(FileMusicListsTest, AListFileWithoutEntriesChangesNothing) {
  Open(3, 1);
  dialogs_.chosen = "/lists/empty.qfl";
  listFiles_.entries = {};
  for (bool control : {false, true}) {
    keys_.Set(platform::Key::LeftControl, control);
    lists_->MnFileOpenClick();
    EXPECT_EQ(lists_->FileList(), Albums({0, 1, 2}));
    EXPECT_EQ(lists_->FileIndex, 1);
    EXPECT_TRUE(playlists_.read.isEmpty());
  }

  dialogs_.chosen.clear();  // cancelled: the file is not even read
  textFiles_.paths.clear();
  lists_->MnFileOpenClick();
  EXPECT_TRUE(textFiles_.paths.isEmpty());
}

TEST_F(FileMusicListsTest, SavingHandsTheFileListOverOncePerCommand) {
  Open(2, 0);
  lists_->MnFileSaveClick();
  lists_->SaveSBClick();
  EXPECT_EQ(listFiles_.saved, (QList<QStringList>{Albums({0, 1}), Albums({0, 1})}));
}

// ---- Without hooks ----

TEST(FileMusicListsDefaults, DoNothingHooksFindNoTracksAndNeverPlay) {
  Settings settings;
  QListWidget fileLB, musicLB;
  CFileMusicLists lists(settings, &fileLB, &musicLB);
  testing_support::TempDir dir;
  lists.AddToFileList({dir.write("a.m3u", "")}, false);
  lists.ShowFileList();
  EXPECT_TRUE(lists.LoadMusicList());
  EXPECT_TRUE(lists.MusicList.isEmpty());
  EXPECT_EQ(lists.MusicIndex, -1);
  lists.FileLBDblClick();
  EXPECT_EQ(lists.FileIndex, 0);
  EXPECT_EQ(fileLB.selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_EQ(musicLB.selectionMode(), QAbstractItemView::SingleSelection);
}

}  // namespace

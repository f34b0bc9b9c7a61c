// The transport over fake backends and fake lists: the repeat modes, the walks with their
// removals, the commands, and walks that find nothing to play.
#include "playback/transport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QIcon>
#include <QMap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>

#include "fake_backends.h"
#include "playback/bars.h"
#include "playback/player.h"
#include "support/temp_dir.h"

namespace {

// The file list and music list as plain lists. Loading an album reads the track list given
// for it, and, like the real lists, closes the player before and plays the first track after
// when playback was running.
class FakeLists final : public ITransportLists {
 public:
  int FileCount() const override { return static_cast<int>(files.size()); }
  QString FileEntry(int index) const override { return files.value(index); }
  int FileIndex() const override { return fileIndex; }
  void SetFileIndex(int index) override { fileIndex = index; }
  void RemoveFileEntry(int index) override { files.removeAt(index); }
  void ShowFileList() override {}
  void SelectFileRow(int row) override { fileRow = row; }
  QString FileRowText() const override { return files.value(fileRow).section('/', -1); }
  bool LoadMusicList() override {
    ++loads;
    const bool wasPlaying = transport->Playing();
    if (wasPlaying) transport->PlayerClose();
    music = albums.value(files.value(fileIndex));
    musicIndex = music.isEmpty() ? -1 : 0;
    musicRow = musicIndex;
    if (wasPlaying) transport->PlayFromStart();
    return true;
  }
  QStringList& MusicList() override { return music; }
  int MusicIndex() const override { return musicIndex; }
  void SetMusicIndex(int index) override { musicIndex = index; }
  void ShowMusicList() override { musicRow = musicIndex < music.size() ? musicIndex : -1; }
  int MusicRow() const override { return musicRow; }
  void SetMusicRow(int row) override { musicRow = row; }
  void RemoveMusicRow(int) override {}
  QString MusicRowText() const override { return music.value(musicRow).section('/', -1); }
  void HighlightCurrent() override { musicRow = musicIndex; }

  QStringList files;
  QMap<QString, QStringList> albums;
  QStringList music;
  int fileIndex = -1;
  int musicIndex = -1;
  int fileRow = -1;
  int musicRow = -1;
  int loads = 0;
  IListTransport* transport = nullptr;
};

class TransportTest : public testing::Test {
 protected:
  TransportTest() {
    panel_.setGeometry(0, 0, 657, 40);
    shape_.setGeometry(9, 19, 640, 4);
    knob_.setGeometry(1, 5, 14, 31);
    images_ = {Glyph(Qt::green), Glyph(Qt::red)};
    timer_.setInterval(100);
    lists_.transport = &transport_;
    settings_.AppName = "quomm3u";
    settings_.RepeatMode = 3;
  }

  static QPixmap Glyph(Qt::GlobalColor color) {
    QPixmap p(8, 8);
    p.fill(color);
    return p;
  }

  // An album of `tracks` (names; a leading "-" makes a track whose file does not exist). The
  // album's own file exists unless `exists` is false.
  QString Album(const QString& name, const QStringList& tracks, bool exists = true) {
    const QString path = dir_.file(name + ".m3u");
    if (exists) dir_.write(name + ".m3u", "#\n");
    QStringList paths;
    for (const QString& t : tracks) {
      const bool missing = t.startsWith('-');
      const QString file = name + "/" + (missing ? t.mid(1) : t);
      if (!missing) dir_.write(file, "x");
      paths.append(dir_.file(file));
    }
    lists_.albums[path] = paths;
    return path;
  }
  QString Track(const QString& album, const QString& name) const {
    return dir_.file(album + "/" + name);
  }

  // Opens `files` with album `album` current and plays its track `track`.
  void PlayAt(const QStringList& files, int album, int track) {
    lists_.files = files;
    lists_.fileIndex = album;
    lists_.fileRow = album;
    lists_.LoadMusicList();
    lists_.musicIndex = track;
    lists_.musicRow = track;
    ASSERT_TRUE(transport_.PlayTrack(0.0));
  }

  // The track the player holds, and whether the backend is playing it.
  QString Held() const { return player_.HoldsFile() ? player_.OpenedFile() : QString(); }
  bool BackendRunning() const {
    return dshow_.Current() && dshow_.Current()->state == FakeMedia::Running;
  }
  bool ShowsPause() const {
    return button_.icon().pixmap(8, 8).toImage() == images_[1].toImage() &&
           action_.text() == QStringLiteral("一時停止(&P)");
  }
  bool ShowsPlay() const {
    return button_.icon().pixmap(8, 8).toImage() == images_[0].toImage() &&
           action_.text() == QStringLiteral("再生(&P)");
  }

  testing_support::TempDir dir_;
  FakeLog log_;
  FakeDShow dshow_{log_};
  Settings settings_;
  CPlayer player_{settings_, dshow_};
  QWidget panel_;
  QWidget shape_{&panel_};
  QWidget knob_{&panel_};
  CBars bars_{settings_, player_, BarWidgets{&panel_, &shape_, &knob_, nullptr, nullptr, nullptr}};
  FakeLists lists_;
  QToolButton button_;
  QAction action_{"再生(&P)"};
  QList<QPixmap> images_;
  QTimer timer_;
  QSystemTrayIcon tray_;
  CTransport transport_{settings_, player_, bars_, lists_,
                        TransportWidgets{&button_, &action_, &images_, &timer_, &tray_}};
};

// What follows the end of a track, for each repeat mode: two albums of two tracks.
struct EndCase {
  int mode;
  int album, track;          // what ended
  int nextAlbum, nextTrack;  // what is current afterwards
  bool playing;
};

class TrackEndedTest : public TransportTest, public testing::WithParamInterface<EndCase> {};

TEST_P(TrackEndedTest, FollowsTheRepeatMode) {
  const EndCase& c = GetParam();
  settings_.RepeatMode = c.mode;
  const QStringList files{Album("A", {"a0.wav", "a1.wav"}), Album("B", {"b0.wav", "b1.wav"})};
  PlayAt(files, c.album, c.track);
  dshow_.Current()->position = 100;

  transport_.TrackEnded();

  EXPECT_EQ(lists_.fileIndex, c.nextAlbum);
  EXPECT_EQ(lists_.musicIndex, c.nextTrack);
  EXPECT_EQ(lists_.musicRow, c.nextTrack);
  EXPECT_EQ(lists_.fileRow, c.nextAlbum);
  const QString expected =
      Track(QString("AB")[c.nextAlbum],
            QString("%1%2.wav").arg(QString("ab")[c.nextAlbum]).arg(c.nextTrack));
  // Whatever comes next is opened; it plays from its start only while playback runs.
  EXPECT_EQ(Held(), expected);
  EXPECT_EQ(transport_.Playing(), c.playing);
  EXPECT_EQ(BackendRunning(), c.playing);
  EXPECT_EQ(timer_.isActive(), c.playing);
  EXPECT_EQ(c.playing ? ShowsPause() : ShowsPlay(), true);
  EXPECT_EQ(dshow_.Current()->position, 0.0);
  EXPECT_EQ(settings_.PlayPosition, 0.0);
}

INSTANTIATE_TEST_SUITE_P(RepeatModes, TrackEndedTest,
                         testing::Values(
                             // Within an album every mode but 1 goes on to the next track.
                             EndCase{0, 0, 0, 0, 1, true}, EndCase{2, 1, 0, 1, 1, true},
                             EndCase{3, 0, 0, 0, 1, true},
                             // After the last track of an album.
                             EndCase{0, 0, 1, 1, 0, true}, EndCase{1, 0, 1, 0, 1, true},
                             EndCase{2, 0, 1, 0, 0, true}, EndCase{3, 0, 1, 1, 0, true},
                             // After the last track of the last album.
                             EndCase{0, 1, 1, 0, 0, false}, EndCase{1, 1, 1, 1, 1, true},
                             EndCase{2, 1, 1, 1, 0, true}, EndCase{3, 1, 1, 0, 0, true}));

TEST_F(TransportTest, StopAfterTheLastAlbumShowsTheApplicationName) {
  settings_.RepeatMode = 0;
  PlayAt({Album("A", {"a0.wav"})}, 0, 0);
  EXPECT_EQ(tray_.toolTip(), "A\na0");  // the fake rows show only the file names
  transport_.TrackEnded();
  EXPECT_FALSE(transport_.Playing());
  EXPECT_EQ(tray_.toolTip(), "quomm3u");
}

TEST_F(TransportTest, WalksPastMissingTracksAndAlbums) {
  const QStringList files{Album("A", {"a0.wav"}), Album("B", {"b0.wav"}, false), Album("C", {}),
                          Album("D", {"-d0.wav", "d1.wav"})};
  PlayAt(files, 0, 0);
  transport_.TrackEnded();
  // The missing album and the one without tracks are gone; the missing track too.
  EXPECT_EQ(lists_.files, QStringList({files[0], files[3]}));
  EXPECT_EQ(lists_.fileIndex, 1);
  EXPECT_EQ(lists_.music, QStringList({Track("D", "d1.wav")}));
  EXPECT_EQ(Held(), Track("D", "d1.wav"));
  EXPECT_TRUE(BackendRunning());
}

TEST_F(TransportTest, UnplayableTracksAreDroppedAndTheNextPlays) {
  const QString a = Album("A", {"a0.wav", "bad1.wav", "bad2.wav", "a3.wav"});
  PlayAt({a}, 0, 0);
  transport_.NextTrackSBClick();
  EXPECT_EQ(lists_.music, QStringList({Track("A", "a0.wav"), Track("A", "a3.wav")}));
  EXPECT_EQ(Held(), Track("A", "a3.wav"));
  EXPECT_TRUE(transport_.Playing());
  EXPECT_TRUE(BackendRunning());
}

TEST_F(TransportTest, PreviousTrackSkipsAMissingOneBackwards) {
  PlayAt({Album("A", {"a0.wav", "-a1.wav", "a2.wav"})}, 0, 2);
  transport_.PreviousTrackSBClick();
  EXPECT_EQ(lists_.musicIndex, 0);
  EXPECT_EQ(Held(), Track("A", "a0.wav"));
  EXPECT_EQ(lists_.music.size(), 2);
}

// Walks that cannot find anything to play end, stopped, with the lists as the removals left
// them.
struct FruitlessCase {
  const char* name;
  int mode;
  bool byCommand;  // the next-track command instead of the end of the track
  int albumsLeft;
};

class FruitlessWalkTest : public TransportTest,
                          public testing::WithParamInterface<FruitlessCase> {};

TEST_P(FruitlessWalkTest, Ends) {
  const FruitlessCase& c = GetParam();
  settings_.RepeatMode = c.mode;
  const QStringList files{Album("A", {"a0.wav", "a1.wav"}), Album("B", {"-b0.wav"})};
  const QStringList shown = c.albumsLeft == 1 ? QStringList{files[0]} : files;
  PlayAt(shown, 0, 0);
  // Every track file disappears while the first one plays.
  QFile::remove(Track("A", "a0.wav"));
  QFile::remove(Track("A", "a1.wav"));

  if (c.byCommand)
    transport_.NextTrackSBClick();
  else
    transport_.TrackEnded();

  EXPECT_FALSE(transport_.Playing());
  EXPECT_FALSE(timer_.isActive());
  EXPECT_TRUE(ShowsPlay());
  EXPECT_TRUE(lists_.music.isEmpty());
  EXPECT_EQ(lists_.musicIndex, -1);
  EXPECT_EQ(lists_.files.size(), c.albumsLeft);
}

INSTANTIATE_TEST_SUITE_P(Walks, FruitlessWalkTest,
                         testing::Values(FruitlessCase{"EverythingMode3", 3, false, 2},
                                         FruitlessCase{"EverythingMode0", 0, false, 2},
                                         FruitlessCase{"OneAlbumMode2", 2, false, 1},
                                         FruitlessCase{"OneAlbumMode3", 3, false, 1},
                                         FruitlessCase{"NextTrackOneAlbum", 3, true, 1},
                                         FruitlessCase{"NextTrackTwoAlbums", 3, true, 2}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(TransportTest, PauseThenStopRewindsWithoutStoppingTheBackend) {
  PlayAt({Album("A", {"a0.wav"})}, 0, 0);
  dshow_.Current()->position = 30;
  transport_.PlayPauseSBClick();
  EXPECT_FALSE(transport_.Playing());
  EXPECT_EQ(settings_.PlayPosition, 30.0);
  EXPECT_TRUE(ShowsPlay());
  EXPECT_TRUE(timer_.isActive());  // a paused track still shows its place

  transport_.StopSBClick();
  EXPECT_EQ(dshow_.Current()->state, FakeMedia::Paused);
  EXPECT_EQ(dshow_.Current()->position, 0.0);
  EXPECT_EQ(knob_.x(), 2);

  transport_.PlayPauseSBClick();
  EXPECT_TRUE(transport_.Playing());
  EXPECT_TRUE(BackendRunning());
  EXPECT_EQ(dshow_.Current()->position, 0.0);
}

TEST_F(TransportTest, DoubleClickOnTheOpenTrackRestartsIt) {
  PlayAt({Album("A", {"a0.wav", "a1.wav"})}, 0, 0);
  FakeMedia* media = dshow_.Current();
  media->position = 55;
  // What the music list box does on a double click.
  if (transport_.HasCurrentMedia()) transport_.PlayerSetPosition(0.0);
  lists_.musicIndex = 0;
  transport_.OpenCurrentTrack();
  if (!transport_.Playing()) transport_.PlayFromStart();
  EXPECT_EQ(dshow_.Current(), media);
  EXPECT_EQ(media->position, 0.0);
  EXPECT_TRUE(BackendRunning());
}

TEST_F(TransportTest, NextAlbumWithOneEntryRestartsTheCurrentTrack) {
  PlayAt({Album("A", {"a0.wav", "a1.wav"})}, 0, 1);
  dshow_.Current()->position = 70;
  const int loads = lists_.loads;
  transport_.NextAlbumTMClick();
  EXPECT_EQ(lists_.loads, loads);
  EXPECT_EQ(Held(), Track("A", "a1.wav"));
  EXPECT_EQ(dshow_.Current()->position, 0.0);
  EXPECT_TRUE(BackendRunning());
  EXPECT_EQ(lists_.musicIndex, 0);
}

TEST_F(TransportTest, AlbumCommandsStartPlaybackWhileStopped) {
  const QStringList files{Album("A", {"a0.wav"}), Album("B", {"b0.wav", "b1.wav"})};
  PlayAt(files, 0, 0);
  transport_.StopTrack();
  ASSERT_FALSE(transport_.Playing());
  transport_.NextAlbumTMClick();
  EXPECT_EQ(lists_.fileIndex, 1);
  EXPECT_EQ(Held(), Track("B", "b0.wav"));
  EXPECT_TRUE(transport_.Playing());
  EXPECT_TRUE(BackendRunning());
  transport_.PreviousAlbumTMClick();
  EXPECT_EQ(Held(), Track("A", "a0.wav"));
  EXPECT_TRUE(BackendRunning());
}

TEST_F(TransportTest, StepsWhileStoppedOnlyOpen) {
  PlayAt({Album("A", {"a0.wav"}), Album("B", {"b0.wav"})}, 0, 0);
  transport_.StopTrack();
  transport_.NextTrackSBClick();
  EXPECT_EQ(Held(), Track("B", "b0.wav"));
  EXPECT_FALSE(BackendRunning());
  transport_.PreviousTrackSBClick();
  EXPECT_EQ(Held(), Track("A", "a0.wav"));
  EXPECT_FALSE(transport_.Playing());
}

TEST_F(TransportTest, PlayWithoutACurrentRowDoesNothing) {
  lists_.files = {Album("A", {"a0.wav"})};
  lists_.fileIndex = 0;
  lists_.LoadMusicList();
  lists_.musicRow = -1;
  transport_.PlayPauseSBClick();
  EXPECT_FALSE(transport_.Playing());
  EXPECT_FALSE(timer_.isActive());
  EXPECT_FALSE(player_.HoldsFile());
}

TEST_F(TransportTest, EndOfStreamEventsEndTheTrackOnlyAtItsEnd) {
  PlayAt({Album("A", {"a0.wav", "a1.wav"})}, 0, 0);
  FakeMedia* media = dshow_.Current();
  media->events = {false, true};
  media->position = 40;  // a seek made while the event was on its way
  transport_.CheckMediaEvents(media);
  EXPECT_EQ(Held(), Track("A", "a0.wav"));
  EXPECT_TRUE(media->events.isEmpty());

  media->events = {false, false};
  media->position = 100;
  transport_.CheckMediaEvents(media);
  EXPECT_EQ(Held(), Track("A", "a0.wav"));

  media->events = {true};
  transport_.CheckMediaEvents(media);
  EXPECT_EQ(Held(), Track("A", "a1.wav"));
  EXPECT_TRUE(BackendRunning());
}

TEST_F(TransportTest, TimerShowsThePositionAndStopsWithoutALength) {
  PlayAt({Album("A", {"a0.wav"})}, 0, 0);
  dshow_.Current()->position = 50;
  transport_.TimerTimer();
  EXPECT_EQ(settings_.PlayPosition, 50.0);
  EXPECT_EQ(knob_.x(), 9 + 320 - 7);
  bars_.TrackDragging = true;
  dshow_.Current()->position = 75;
  transport_.TimerTimer();
  EXPECT_EQ(settings_.PlayPosition, 50.0);
  bars_.TrackDragging = false;
  settings_.MediaLength = 0;
  transport_.TimerTimer();
  EXPECT_FALSE(timer_.isActive());
}

struct WaitingCase {
  bool anyRan, fileOpened;
  bool advanced;  // the repeat rules moved on to the next track
};

class FakeTimers final : public IWaitingTimers {
 public:
  bool HasWaitingTimers() const override { return true; }
  void ProcessWaitingTimers(bool& anyRan, bool& fileOpened) override {
    anyRan = ran;
    fileOpened = opened;
  }
  void ClearWaitingTimers() override { ++clears; }
  bool ran = false, opened = false;
  int clears = 0;
};

class WaitingTimersTest : public TransportTest, public testing::WithParamInterface<WaitingCase> {};

TEST_P(WaitingTimersTest, TakeTheirTurnFirst) {
  FakeTimers timers;
  timers.ran = GetParam().anyRan;
  timers.opened = GetParam().fileOpened;
  transport_.SetWaitingTimers(&timers);
  PlayAt({Album("A", {"a0.wav", "a1.wav"})}, 0, 0);
  transport_.TrackEnded();
  EXPECT_EQ(lists_.musicIndex, GetParam().advanced ? 1 : 0);
  transport_.StopTrack();
  EXPECT_EQ(timers.clears, 1);
  transport_.SetWaitingTimers(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Timers, WaitingTimersTest,
                         testing::Values(WaitingCase{false, false, true},
                                         WaitingCase{true, false, false},
                                         WaitingCase{true, true, false}));

struct HintCase {
  const char* fileRow;
  const char* musicRow;
  const char* hint;
};

class TrayHintTest : public testing::TestWithParam<HintCase> {};

TEST_P(TrayHintTest, NamesAlbumAndTrack) {
  EXPECT_EQ(TrayHint(GetParam().fileRow, GetParam().musicRow), GetParam().hint);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TrayHintTest,
    testing::Values(HintCase{"Artist/Album.m3u", "01 Song.mp3", "Artist - Album\n01 Song"},
                    HintCase{"Artist/Vol.2", "x.y.flac", "Artist - Vol\nx.y"},
                    HintCase{"a.b/Album", "Song", "a.b - Album\nSong"},
                    HintCase{"Pop/Artist/Best.pls", "", "Pop - Artist - Best\n"}));

}  // namespace

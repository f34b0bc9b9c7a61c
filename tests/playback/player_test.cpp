// The player facade over fake backends: which backend takes a file, what it is handed, and the
// reopen-and-retry rule of every operation.
#include "playback/player.h"

#include <gtest/gtest.h>

#include <functional>

#include "fake_backends.h"

namespace {

class PlayerTest : public testing::Test {
 protected:
  void SetUp() override { settings_.Volume = 5000; }
  void UseMp3() { player_.SetMp3Library(&mp3_); }

  FakeLog log_;
  FakeDShow dshow_{log_};
  FakeMp3 mp3_{log_};
  Settings settings_;
  CPlayer player_{settings_, dshow_};
};

struct OpenCase {
  const char* name;
  bool withMp3;
  const char* path;
  bool expectMp3;
  int expectVolume;  // what the backend that took the file was handed
  double expectLength;
};

class PlayerOpenTest : public PlayerTest, public testing::WithParamInterface<OpenCase> {};

TEST_P(PlayerOpenTest, OffersTheFileToTheMp3ComponentFirst) {
  const OpenCase& c = GetParam();
  if (c.withMp3) UseMp3();
  ASSERT_TRUE(player_.PlayerOpen(c.path));
  EXPECT_EQ(player_.MediaIsMp3(), c.expectMp3);
  EXPECT_EQ(player_.OpenedFile(), c.path);
  EXPECT_EQ(player_.PlayerMediaName(), c.path);
  EXPECT_EQ(settings_.MediaLength, c.expectLength);
  if (c.expectMp3) {
    EXPECT_EQ(mp3_.volume, c.expectVolume);
    EXPECT_EQ(player_.CurrentMedia(), nullptr);
  } else {
    ASSERT_NE(dshow_.Current(), nullptr);
    EXPECT_EQ(dshow_.Current()->volume, c.expectVolume);
    EXPECT_TRUE(log_.calls.contains(QStringLiteral("CreateMedia %1 Play").arg(c.path)));
  }
  // A FLAC file reaches GStreamer because the component refuses it, not by its name.
  EXPECT_EQ(log_.calls.contains(QStringLiteral("mp3 Open %1").arg(c.path)), c.withMp3);
  // Opening never starts.
  EXPECT_FALSE(mp3_.started);
  if (dshow_.Current()) {
    EXPECT_EQ(dshow_.Current()->state, FakeMedia::Stopped);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Backends, PlayerOpenTest,
    testing::Values(OpenCase{"Mp3InComponent", true, "/m/a.mp3", true, 3500, 44100.0 * 60},
                    OpenCase{"FlacRefusedByComponent", true, "/m/a.flac", false, 5000, 100.0},
                    OpenCase{"Mp3WithoutComponent", false, "/m/a.mp3", false, 5000, 100.0}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(PlayerTest, OpenRules) {
  UseMp3();
  EXPECT_FALSE(player_.PlayerOpen(QString()));
  EXPECT_EQ(player_.PlayerGetPosition(), -1.0);
  EXPECT_TRUE(player_.PlayerPlay());  // nothing open: nothing to fail
  EXPECT_EQ(player_.PlayerMediaName(), QString());

  ASSERT_TRUE(player_.PlayerOpen("/m/a.flac"));
  FakeMedia* first = dshow_.Current();
  // The same path again leaves the open file untouched.
  EXPECT_TRUE(player_.PlayerOpen("/m/a.flac"));
  EXPECT_EQ(dshow_.Current(), first);
  EXPECT_EQ(dshow_.created, 1);

  // Both backends refuse: the file before is closed, its name stays, nothing is held.
  EXPECT_FALSE(player_.PlayerOpen("/m/bad.mp3"));
  EXPECT_TRUE(dshow_.live.empty());
  EXPECT_EQ(player_.OpenedFile(), "/m/a.flac");
  EXPECT_FALSE(player_.HoldsFile());
  EXPECT_EQ(player_.PlayerGetPosition(), -1.0);
  // Its name no longer stands for an open file: asking for it opens it again.
  EXPECT_TRUE(player_.PlayerOpen("/m/a.flac"));
  EXPECT_TRUE(player_.HoldsFile());
}

TEST_F(PlayerTest, CloseStopsFirstAndKeepsTheBackendChoice) {
  UseMp3();
  int hooks = 0;
  player_.SetCloseHook([&] { ++hooks; });
  ASSERT_TRUE(player_.PlayerOpen("/m/a.mp3"));
  ASSERT_TRUE(player_.PlayerPlay());
  log_.calls.clear();
  EXPECT_TRUE(player_.PlayerClose());
  EXPECT_EQ(hooks, 1);
  EXPECT_EQ(log_.calls, QStringList({"mp3 Stop", "mp3 Close"}));
  EXPECT_TRUE(player_.OpenedFile().isEmpty());
  EXPECT_TRUE(player_.MediaIsMp3());
  EXPECT_EQ(player_.PlayerGetPosition(), -1.0);
  EXPECT_EQ(player_.PlayerMediaName(), QString());
}

// One failure of a backend call: the file is reopened at the stored position with the current
// volume, then the call is made once more, on the same backend.
struct RetryCase {
  const char* name;
  const char* path;
  const char* failing;  // the call that fails once
  std::function<void(CPlayer&)> operation;
  QStringList expected;  // the calls from the operation on
};

class PlayerRetryTest : public PlayerTest, public testing::WithParamInterface<RetryCase> {};

TEST_P(PlayerRetryTest, ReopensAndRepeatsOnce) {
  const RetryCase& c = GetParam();
  UseMp3();
  settings_.PlayPosition = 12;
  ASSERT_TRUE(player_.PlayerOpen(c.path));
  mp3_.started = true;
  log_.calls.clear();
  log_.failOnce = {c.failing};
  c.operation(player_);
  EXPECT_EQ(log_.calls, c.expected);
  EXPECT_TRUE(log_.failOnce.isEmpty());
  EXPECT_TRUE(player_.HoldsFile());
}

const QStringList kMp3Reopen{"mp3 Close", "mp3 Open /m/a.mp3", "mp3 SetBalance 0",
                             "mp3 SetVolume 3500", "mp3 SetPosition 12"};
const QStringList kMediaReopen{"ReleaseMedia /m/a.wav", "CreateMedia /m/a.wav Play",
                               "media SetBalance 0", "media SetVolume 5000",
                               "media SetPosition 12"};

INSTANTIATE_TEST_SUITE_P(
    Operations, PlayerRetryTest,
    testing::Values(
        RetryCase{"Mp3Play", "/m/a.mp3", "Play", [](CPlayer& p) { EXPECT_TRUE(p.PlayerPlay()); },
                  QStringList{"mp3 Play"} + kMp3Reopen + QStringList{"mp3 Play"}},
        RetryCase{
            "Mp3Volume", "/m/a.mp3", "SetVolume", [](CPlayer& p) { p.PlayerSetVolume(10000); },
            QStringList{"mp3 SetVolume 7000"} + kMp3Reopen + QStringList{"mp3 SetVolume 7000"}},
        RetryCase{
            "Mp3Seek", "/m/a.mp3", "SetPosition", [](CPlayer& p) { p.PlayerSetPosition(99); },
            QStringList{"mp3 SetPosition 99", "mp3 Close", "mp3 Open /m/a.mp3", "mp3 SetBalance 0",
                        "mp3 SetVolume 3500", "mp3 SetPosition 12", "mp3 SetPosition 99"}},
        RetryCase{"MediaPlay", "/m/a.wav", "Play", [](CPlayer& p) { EXPECT_TRUE(p.PlayerPlay()); },
                  QStringList{"media Play"} + kMediaReopen + QStringList{"media Play"}},
        RetryCase{"MediaPause", "/m/a.wav", "Pause", [](CPlayer& p) { p.PlayerPause(); },
                  QStringList{"media Pause"} + kMediaReopen + QStringList{"media Pause"}},
        RetryCase{"MediaStop", "/m/a.wav", "Stop", [](CPlayer& p) { p.PlayerStop(); },
                  QStringList{"media Stop"} + kMediaReopen + QStringList{"media Stop"}},
        RetryCase{"MediaPosition", "/m/a.wav", "GetPosition",
                  [](CPlayer& p) { EXPECT_EQ(p.PlayerGetPosition(), 12.0); }, kMediaReopen}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(PlayerTest, PositionOfAnOpenButUnstartedMp3IsTheStoredOne) {
  UseMp3();
  settings_.PlayPosition = 4410;
  ASSERT_TRUE(player_.PlayerOpen("/m/a.mp3"));
  // The component refuses both queries; the reopen has put the file at the stored position.
  EXPECT_EQ(player_.PlayerGetPosition(), 4410.0);
  EXPECT_EQ(mp3_.position, 4410.0);
}

TEST_F(PlayerTest, FailedReopenGivesUp) {
  ASSERT_TRUE(player_.PlayerOpen("/m/a.wav"));
  log_.failOnce = {"Play", "CreateMedia"};
  // The reopen leaves no media, so the call is not repeated.
  EXPECT_FALSE(player_.PlayerPlay());
  EXPECT_EQ(player_.CurrentMedia(), nullptr);
  EXPECT_EQ(log_.calls.filter("media Play").size(), 1);
}

TEST_F(PlayerTest, ReopenRestoresVolumeAndPositionWithoutStarting) {
  ASSERT_TRUE(player_.PlayerOpen("/m/a.wav"));
  settings_.PlayPosition = 42;
  settings_.Volume = 8000;
  ASSERT_TRUE(player_.PlayerReopen());
  FakeMedia* media = dshow_.Current();
  ASSERT_NE(media, nullptr);
  EXPECT_EQ(dshow_.created, 2);
  EXPECT_EQ(media->position, 42.0);
  EXPECT_EQ(media->volume, 8000);
  EXPECT_EQ(media->state, FakeMedia::Stopped);
  player_.PlayerClose();
  EXPECT_FALSE(player_.PlayerReopen());
}

}  // namespace

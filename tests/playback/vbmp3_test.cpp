// CVBMP3 over the real libvbmp3.so, playing through the test sound server.

#include "playback/vbmp3.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <cmath>

#include "platform/app_events.h"
#include "vbmp3_fixture.h"

using vbmp3_testing::Component;
using vbmp3_testing::EventRecorder;
using vbmp3_testing::Fixtures;
using vbmp3_testing::WaitUntil;

namespace {

constexpr double kRate = 44100;

// A loaded and initialised wrapper with an event recorder, and direct access to the component.
class Vbmp3Test : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mp3.Load(vbmp3_testing::LibraryPath()))
        << "no " << vbmp3_testing::LibraryPath().toStdString();
    ASSERT_TRUE(mp3.Init(events.Callback()));
    ASSERT_TRUE(component.Loaded());
  }
  double Position() {
    double p = -1;
    mp3.GetPosition(p);
    return p;
  }
  void OpenAndPlay(const QString& path) {
    ASSERT_FALSE(path.isEmpty()) << "the fixture could not be generated";
    ASSERT_TRUE(mp3.Open(path));
    ASSERT_TRUE(mp3.Play());
  }

  EventRecorder events;  // outlives the wrapper, whose component calls it
  CVBMP3 mp3;
  Component component;
};

TEST(Vbmp3LoadTest, RefusesWhatIsNotTheComponent) {
  testing_support::TempDir dir;
  Dl_info libm{};
  ASSERT_NE(dladdr(reinterpret_cast<void*>(static_cast<double (*)(double)>(&::lgamma)), &libm), 0);
  struct Case {
    const char* what;
    QString path;
  } cases[] = {
      {"missing file", dir.file("libvbmp3.so")},
      {"not a library", dir.write("text.so", "this is not a shared library\n")},
      {"a library without the entry points", QString::fromLocal8Bit(libm.dli_fname)},
  };
  const QString tone = Fixtures::Get().OneSecond();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CVBMP3 mp3;
    EXPECT_FALSE(mp3.Load(c.path));
    EXPECT_FALSE(mp3.Loaded());
    EXPECT_FALSE(mp3.Init([](int, int) {}));
    EXPECT_FALSE(mp3.Open(tone));
    EXPECT_FALSE(mp3.Play());
    EXPECT_TRUE(mp3.FileName().isEmpty());
  }
}

TEST(Vbmp3LoadTest, ExportsEveryEntryPoint) {
  CVBMP3 mp3;
  ASSERT_TRUE(mp3.Load(vbmp3_testing::LibraryPath()));
  Component component;
  for (int e = 0; e < CVBMP3::kEntryCount; ++e) {
    const char* name = CVBMP3::EntryName(CVBMP3::Entry(e));
    EXPECT_NE(component.Get<void*>(name), nullptr) << name;
  }
  EXPECT_STREQ(CVBMP3::EntryName(CVBMP3::kGetPlayFlames), "vbmp3_getPlayFlames");
}

TEST_F(Vbmp3Test, PlaysToTheEndAndReportsItFromThePlaybackThread) {
  const QString path = Fixtures::Get().OneSecond();
  QElapsedTimer clock;
  clock.start();
  OpenAndPlay(path);
  ASSERT_TRUE(events.WaitForEvent());
  const qint64 elapsed = clock.elapsed();
  // Played in real time, not decoded to nowhere.
  EXPECT_GE(elapsed, 900);
  auto list = events.Events();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].code, 4);
  EXPECT_EQ(list[0].param, 0);
  EXPECT_NE(list[0].thread, std::this_thread::get_id());
  EXPECT_EQ(Position(), mp3.TotalSamples());
  EXPECT_EQ(mp3.FileName(), path);
}

TEST_F(Vbmp3Test, EndReachesTheWindowAsAPostedMessage) {
  struct Receiver : QObject {
    int ended = 0;
    bool event(QEvent* e) override {
      if (platform::AppEvent::Is(e, platform::AppMessage::Mp3Ended)) ++ended;
      return QObject::event(e);
    }
  } window;
  ASSERT_TRUE(mp3.Init(CVBMP3::PostMp3Ended(&window)));
  OpenAndPlay(Fixtures::Get().OneSecond());
  EXPECT_TRUE(WaitUntil([&] {
    QCoreApplication::sendPostedEvents(&window);
    return window.ended > 0;
  }));
  EXPECT_EQ(window.ended, 1);
}

TEST(Vbmp3CallbackTest, PostsOnlyTheEndOfAFile) {
  struct Case {
    int code;
    int posted;
  } cases[] = {{4, 1}, {0, 0}, {1, 0}, {3, 0}, {5, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    struct Receiver : QObject {
      int ended = 0;
      bool event(QEvent* e) override {
        if (platform::AppEvent::Is(e, platform::AppMessage::Mp3Ended)) ++ended;
        return QObject::event(e);
      }
    } window;
    CVBMP3::PostMp3Ended (&window)(c.code, 0);
    QCoreApplication::sendPostedEvents(&window);
    EXPECT_EQ(window.ended, c.posted);
  }
}

TEST_F(Vbmp3Test, TotalSamplesMatchTheGeneratedLength) {
  struct Case {
    const char* name;
    int rate;
    int channels;
    double seconds;
    int frameSamples;
  } cases[] = {
      {"stereo44.mp3", 44100, 2, 1.0, 1152},
      {"mono48.mp3", 48000, 1, 0.5, 1152},
      {"mpeg2_22.mp3", 22050, 2, 1.0, 576},
      {"stereo32.mp3", 32000, 2, 2.0, 1152},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = Fixtures::Get().Tone(c.name, c.rate, c.channels, c.seconds);
    ASSERT_FALSE(path.isEmpty());
    ASSERT_TRUE(mp3.Open(path));
    const double expected = c.rate * c.seconds;
    // Without a LAME tag the encoder's delay (1105 samples) and the padding of the last frame
    // stay in the file: less than a frame beyond them.
    EXPECT_GE(mp3.TotalSamples(), expected);
    EXPECT_LT(mp3.TotalSamples(), expected + 1105 + c.frameSamples);
    EXPECT_EQ(mp3.FileName(), path);
  }
}

TEST_F(Vbmp3Test, RefusesWhatIsNotMpegAudio) {
  Fixtures& f = Fixtures::Get();
  QByteArray noise(64 * 1024, '\0');
  uint32_t x = 12345;
  for (char& b : noise) {
    x = x * 1103515245u + 12345u;
    b = char(x >> 24);
  }
  f.OneSecond();  // made on first use; each test may run in a process of its own
  const QByteArray mp3Bytes = f.Read("one.mp3");
  struct Case {
    const char* what;
    QString path;
  } cases[] = {
      {"FLAC", f.Tone("tone.flac", 44100, 2, 0.5, "flacenc")},
      {"WAV", f.Tone("tone.wav", 44100, 2, 0.5, "wavenc")},
      {"Ogg Vorbis", f.Tone("tone.ogg", 44100, 2, 0.5, "vorbisenc ! oggmux")},
      {"random bytes named .mp3", f.Write("noise.mp3", noise)},
      {"zero-length file", f.Write("empty.mp3", QByteArray())},
      {"text", f.Write("text.mp3", "#EXTM3U\nsong.mp3\n")},
      {"MP3 behind a WAV header",
       f.Write("riff.mp3", QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16) + mp3Bytes)},
  };
  ASSERT_FALSE(mp3Bytes.isEmpty());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_FALSE(c.path.isEmpty());
    // A file open before is closed by the attempt, whatever its outcome.
    ASSERT_TRUE(mp3.Open(f.OneSecond()));
    EXPECT_FALSE(mp3.Open(c.path));
    EXPECT_TRUE(mp3.FileName().isEmpty());
    EXPECT_EQ(component.Call("vbmp3_getTotalSamples"), 0);
  }
  EXPECT_FALSE(mp3.Open("/nonexistent-folder/none.mp3"));
}

TEST_F(Vbmp3Test, PauseKeepsThePositionAndPlayResumesThere) {
  QElapsedTimer clock;
  clock.start();
  OpenAndPlay(Fixtures::Get().TwoSeconds());
  ASSERT_TRUE(WaitUntil([&] { return Position() >= 0.4 * kRate; }));
  ASSERT_TRUE(mp3.Pause());
  const double paused = Position();
  // The position is what has been played: never ahead of the clock by more than the output's
  // short buffer.
  EXPECT_LE(paused, (clock.elapsed() / 1000.0 + 0.4) * kRate);
  EXPECT_TRUE(mp3.Started());
  EXPECT_TRUE(mp3.Halted());
  QThread::msleep(300);
  EXPECT_EQ(Position(), paused);
  EXPECT_EQ(component.Call("vbmp3_getState"), 3);
  ASSERT_TRUE(mp3.Play());
  EXPECT_FALSE(mp3.Halted());
  ASSERT_TRUE(WaitUntil([&] { return Position() > paused; }));
  EXPECT_LT(Position(), paused + 0.6 * kRate);
  ASSERT_TRUE(events.WaitForEvent());
  EXPECT_EQ(events.Events().size(), 1u);
}

TEST_F(Vbmp3Test, StopEndsPlaybackRewindsAndReportsNoEnd) {
  OpenAndPlay(Fixtures::Get().OneSecond());
  ASSERT_TRUE(WaitUntil([&] { return Position() >= 0.2 * kRate; }));
  ASSERT_TRUE(mp3.Stop());
  EXPECT_FALSE(mp3.Started());
  EXPECT_EQ(component.Call("vbmp3_getState"), 1);
  EXPECT_EQ(component.Call("vbmp3_getPlaySamples"), 0);
  double stored = -1;
  EXPECT_FALSE(mp3.GetPosition(stored));  // stopped: the remembered value, and a failure
  EXPECT_GE(stored, 0.2 * kRate);
  EXPECT_FALSE(events.WaitForEvent(1500));

  // Played again, the file starts from its beginning and runs to its end.
  ASSERT_TRUE(mp3.Play());
  EXPECT_LT(Position(), 0.5 * kRate);
  ASSERT_TRUE(events.WaitForEvent());
  EXPECT_EQ(events.Events().size(), 1u);
}

TEST_F(Vbmp3Test, OpeningAnotherFileStopsTheOneThatPlays) {
  OpenAndPlay(Fixtures::Get().TwoSeconds());
  ASSERT_TRUE(WaitUntil([&] { return Position() > 0; }));
  const QString next = Fixtures::Get().OneSecond();
  ASSERT_TRUE(mp3.Open(next));
  EXPECT_EQ(mp3.FileName(), next);
  EXPECT_FALSE(mp3.Started());
  EXPECT_EQ(component.Call("vbmp3_getState"), 1);
  EXPECT_EQ(component.Call("vbmp3_getPlaySamples"), 0);
  EXPECT_FALSE(events.WaitForEvent(2500));  // the first file never reaches its end
}

TEST_F(Vbmp3Test, SeeksWhilePlaying) {
  const QString path = Fixtures::Get().TwoSeconds();
  struct Case {
    double target;
  } cases[] = {{0}, {30000}, {65000.9}, {80000}, {10 * kRate}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    OpenAndPlay(path);
    const double total = mp3.TotalSamples();
    const double expected = std::min(std::trunc(c.target), total);
    ASSERT_TRUE(WaitUntil([&] { return Position() > 0.3 * kRate; }));
    ASSERT_TRUE(mp3.SetPosition(c.target));
    const double at = Position();
    EXPECT_GE(at, expected);
    EXPECT_LE(at, expected + 0.3 * kRate);
    // From anywhere, the file still plays to its end and says so once.
    ASSERT_TRUE(events.WaitForEvent());
    EXPECT_EQ(Position(), total);
    ASSERT_TRUE(mp3.Close());
    EXPECT_EQ(events.Events().size(), 1u);
    events.Clear();
  }
}

TEST_F(Vbmp3Test, PositionBeforeStartIsOnlyRemembered) {
  ASSERT_TRUE(mp3.Open(Fixtures::Get().TwoSeconds()));
  EXPECT_FALSE(mp3.SetPosition(30000.7));
  EXPECT_EQ(component.Call("vbmp3_getPlaySamples"), 0);
  double p = -1;
  EXPECT_FALSE(mp3.GetPosition(p));
  EXPECT_EQ(p, 30000);
  // The component itself moves exactly to a sample while stopped.
  EXPECT_EQ(component.Call("vbmp3_setPlaySamples", 12345), 1);
  EXPECT_EQ(component.Call("vbmp3_getPlaySamples"), 12345);
}

TEST_F(Vbmp3Test, VolumeIsHandedOverPerChannel) {
  ASSERT_TRUE(mp3.Open(Fixtures::Get().OneSecond()));
  struct Case {
    int volume;
    int channel;
  } cases[] = {{0, 0},     {99, 0},    {100, 1},   {3500, 35},
               {5099, 50}, {7000, 70}, {9900, 99}, {12000, 99}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.volume);
    EXPECT_TRUE(mp3.SetVolume(c.volume));
    EXPECT_EQ(component.Volume(), std::make_pair(c.channel, c.channel));
  }
  // The balance goes through the last volume.
  ASSERT_TRUE(mp3.SetVolume(5000));
  component.Call("vbmp3_setVolume", 1, 1);
  EXPECT_TRUE(mp3.SetBalance(0));
  EXPECT_EQ(component.Volume(), std::make_pair(50, 50));
  // Closing gives the component its full volume back.
  ASSERT_TRUE(mp3.Close());
  EXPECT_EQ(component.Volume(), std::make_pair(99, 99));
}

TEST_F(Vbmp3Test, StateFollowsTheOperations) {
  enum Op { kPlay, kPause, kStop, kClose };
  struct Case {
    const char* what;
    std::vector<Op> ops;
    bool lastResult;
    bool started;
    bool halted;
    int state;  // the component's own
  } cases[] = {
      {"play", {kPlay}, true, true, false, 2},
      {"pause", {kPlay, kPause}, true, true, true, 3},
      {"resume", {kPlay, kPause, kPlay}, true, true, false, 2},
      {"play twice", {kPlay, kPlay}, true, true, false, 2},
      {"stop", {kPlay, kStop}, true, false, true, 1},
      {"stop while paused", {kPlay, kPause, kStop}, true, false, true, 1},
      {"pause while stopped fails", {kPause}, false, false, true, 1},
      {"close", {kPlay, kClose}, true, false, true, 0},
  };
  const QString path = Fixtures::Get().TwoSeconds();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(mp3.Open(path));
    bool result = false;
    for (Op op : c.ops) {
      result = op == kPlay    ? mp3.Play()
               : op == kPause ? mp3.Pause()
               : op == kStop  ? mp3.Stop()
                              : mp3.Close();
    }
    EXPECT_EQ(result, c.lastResult);
    EXPECT_EQ(mp3.Started(), c.started);
    EXPECT_EQ(mp3.Halted(), c.halted);
    EXPECT_EQ(component.Call("vbmp3_getState"), c.state);
    EXPECT_EQ(mp3.FileName().isEmpty(), c.state == 0);
    mp3.Close();
  }
  EXPECT_TRUE(events.Events().empty());
}

TEST_F(Vbmp3Test, TruncatedFilePlaysWhatItHasAndEnds) {
  Fixtures& f = Fixtures::Get();
  f.OneSecond();
  const QByteArray whole = f.Read("one.mp3");
  // Cut in the middle of a frame.
  const QString path = f.Write("cut.mp3", whole.left(whole.size() * 55 / 100 + 77));
  ASSERT_TRUE(mp3.Open(path));
  EXPECT_GT(mp3.TotalSamples(), 0.4 * kRate);
  EXPECT_LT(mp3.TotalSamples(), 0.7 * kRate);
  ASSERT_TRUE(mp3.Play());
  ASSERT_TRUE(events.WaitForEvent());
  EXPECT_EQ(events.Events()[0].code, 4);
}

TEST_F(Vbmp3Test, FileRemovedWhilePlayingPlaysOnToTheEnd) {
  Fixtures& f = Fixtures::Get();
  f.TwoSeconds();
  const QString path = f.Write("doomed.mp3", f.Read("two.mp3"));
  OpenAndPlay(path);
  ASSERT_TRUE(WaitUntil([&] { return Position() > 0.2 * kRate; }));
  ASSERT_TRUE(QFile::remove(path));
  ASSERT_TRUE(events.WaitForEvent());
  EXPECT_EQ(Position(), mp3.TotalSamples());
  // Reopening is refused now that the file is gone.
  EXPECT_FALSE(mp3.Open(path));
}

TEST_F(Vbmp3Test, SoundReachesTheDefaultOutputAtTheSetVolume) {
  // The tone is generated at half of full scale.
  struct Case {
    int volume;
    int lowest;
    int highest;
  } cases[] = {{9900, 13000, 20000}, {3500, 4400, 7200}, {0, 0, 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.volume);
    events.Clear();
    ASSERT_TRUE(mp3.Open(Fixtures::Get().OneSecond()));
    ASSERT_TRUE(mp3.SetVolume(c.volume));
    int peak = vbmp3_testing::PeakOnDefaultOutput([&] { ASSERT_TRUE(mp3.Play()); },
                                                  [&] { return !events.Events().empty(); });
    EXPECT_GE(peak, c.lowest);
    EXPECT_LE(peak, c.highest);
  }
}

}  // namespace

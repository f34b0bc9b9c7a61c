#include "playback/dshow.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QProcess>
#include <QThread>
#include <memory>
#include <vector>

#include "platform/app_events.h"
#include "playback/devices.h"
#include "playback/dshow_audio.h"
#include "playback/media.h"
#include "support/temp_dir.h"

namespace {

using dshow_testing::WaitUntil;
using platform::AppEvent;
using platform::AppMessage;

constexpr int kEventTimeoutMs = 20000;

// Stands in for the main window: takes the events of the media a MediaEvents event names,
// as the transport's end check does.
class Receiver : public QObject {
 public:
  struct Delivery {
    void* payload;
    bool live;
    bool onUiThread;
    int completes;
    double position;  // of the media when it had ended
  };

  explicit Receiver(CDShow* dshow) : dshow_(dshow) {}

  bool event(QEvent* e) override {
    if (!AppEvent::Is(e, AppMessage::MediaEvents)) return QObject::event(e);
    Delivery d{static_cast<AppEvent*>(e)->payload(), false, QThread::currentThread() == thread(), 0,
               -1.0};
    if (CMedia* media = dshow_->FindMedia(d.payload)) {
      d.live = true;
      bool complete = false;
      while (media->NextEvent(complete)) d.completes += complete ? 1 : 0;
      if (d.completes > 0) media->GetPosition(d.position);
    }
    deliveries.push_back(d);
    return true;
  }

  int Completes() const {
    int n = 0;
    for (const auto& d : deliveries) n += d.completes;
    return n;
  }

  std::vector<Delivery> deliveries;

 private:
  CDShow* dshow_;
};

class DShowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!dshow_testing::HaveTestAudio()) return;
    files_ = new testing_support::TempDir;
    struct Tone {
      const char* name;
      const char* encoder;
      double seconds;
    };
    for (const Tone& t :
         {Tone{"tone.flac", "flacenc", 1.0}, Tone{"tone.wav", "wavenc", 1.0},
          // Constant bit rate and no Xing header: the length comes from the file size.
          Tone{"tone.mp3", "lamemp3enc target=bitrate cbr=true bitrate=128", 1.0},
          Tone{"long.flac", "flacenc", 2.0}, Tone{"short.wav", "wavenc", 0.5}}) {
      ASSERT_TRUE(dshow_testing::WriteTone(files_->file(t.name), t.encoder, t.seconds)) << t.name;
    }
  }
  static void TearDownTestSuite() {
    delete files_;
    files_ = nullptr;
  }

  void SetUp() override {
    if (!dshow_testing::HaveTestAudio()) GTEST_SKIP() << "needs scripts/with-test-audio";
    dshow_.Initialize(&receiver_);
  }
  void TearDown() override { dshow_.Finalize(); }

  static QString File(const char* name) { return files_->file(QString::fromLatin1(name)); }

  CMedia* Open(const char* name) {
    IMedia* media = nullptr;
    if (!dshow_.CreateMedia(File(name), QStringLiteral("Play"), media)) return nullptr;
    return static_cast<CMedia*>(media);
  }

  double Position(IMedia* media) {
    double seconds = -1.0;
    media->GetPosition(seconds);
    return seconds;
  }

  bool WaitForPosition(IMedia* media, double atLeast) {
    return WaitUntil([&] { return Position(media) >= atLeast; }, kEventTimeoutMs);
  }

  static testing_support::TempDir* files_;
  CDShow dshow_;
  Receiver receiver_{&dshow_};
};

testing_support::TempDir* DShowTest::files_ = nullptr;

struct EndCase {
  const char* file;
  double length;
  double tolerance;  // MP3 frames and encoder padding make its length inexact
};

class PlayToEndTest : public DShowTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(PlayToEndTest, DeliversTheEndOnTheUiThreadWithPositionAtLength) {
  const EndCase& c = GetParam();
  CMedia* media = Open(c.file);
  ASSERT_NE(media, nullptr);
  EXPECT_EQ(media->FileName(), File(c.file));
  EXPECT_NEAR(media->Length(), c.length, c.tolerance);
  EXPECT_EQ(Position(media), 0.0);
  ASSERT_TRUE(media->Play());
  EXPECT_TRUE(media->IsPlaying());

  ASSERT_TRUE(WaitUntil([&] { return receiver_.Completes() > 0; }, kEventTimeoutMs));
  const Receiver::Delivery& last = receiver_.deliveries.back();
  EXPECT_EQ(last.payload, media);
  EXPECT_TRUE(last.live);
  EXPECT_TRUE(last.onUiThread);
  EXPECT_EQ(last.position, media->Length());  // exactly, as the end check compares
  EXPECT_EQ(receiver_.Completes(), 1);
}

INSTANTIATE_TEST_SUITE_P(Formats, PlayToEndTest,
                         ::testing::Values(EndCase{"tone.flac", 1.0, 0.001},
                                           EndCase{"tone.wav", 1.0, 0.001},
                                           EndCase{"tone.mp3", 1.0, 0.1}));

TEST_F(DShowTest, PauseKeepsThePositionAndStopRewinds) {
  CMedia* media = Open("long.flac");
  ASSERT_NE(media, nullptr);
  ASSERT_TRUE(media->Play());
  ASSERT_TRUE(WaitForPosition(media, 0.4));

  ASSERT_TRUE(media->Pause());
  EXPECT_FALSE(media->IsPlaying());
  const double paused = Position(media);
  WaitUntil([] { return false; }, 300);
  EXPECT_NEAR(Position(media), paused, 0.005);
  EXPECT_EQ(media->OutputGain(), 0.0);  // muted while it does not run

  ASSERT_TRUE(media->Play());
  const double resumed = Position(media);
  EXPECT_NEAR(resumed, paused, 0.05);
  ASSERT_TRUE(WaitForPosition(media, paused + 0.2));

  ASSERT_TRUE(media->Stop());
  EXPECT_EQ(Position(media), 0.0);
  ASSERT_TRUE(media->Play());
  ASSERT_TRUE(WaitUntil([&] { return Position(media) > 0.0; }, kEventTimeoutMs));
  EXPECT_LT(Position(media), paused);  // started again from the beginning
  EXPECT_EQ(receiver_.Completes(), 0);
}

TEST_F(DShowTest, SetPositionMovesThePausedAndThePlayingStream) {
  CMedia* media = Open("long.flac");
  ASSERT_NE(media, nullptr);
  struct SeekCase {
    double to;
    double expected;
  };
  for (const SeekCase& c :
       {SeekCase{0.75, 0.75}, SeekCase{1.5, 1.5}, SeekCase{0.0, 0.0}, SeekCase{-1.0, 0.0}}) {
    ASSERT_TRUE(media->SetPosition(c.to));
    EXPECT_NEAR(Position(media), c.expected, 0.01) << c.to;
  }
  ASSERT_TRUE(media->Play());
  ASSERT_TRUE(media->SetPosition(1.5));
  EXPECT_NEAR(Position(media), 1.5, 0.05);
  // From there the end comes after the remaining half second.
  ASSERT_TRUE(WaitUntil([&] { return receiver_.Completes() > 0; }, kEventTimeoutMs));
  EXPECT_EQ(Position(media), media->Length());
}

TEST_F(DShowTest, SeekWhilePausedResumesFromTheNewPlace) {
  // Dragging the knob of a paused track, then playing on.
  CMedia* media = Open("long.flac");
  ASSERT_NE(media, nullptr);
  ASSERT_TRUE(media->Play());
  ASSERT_TRUE(WaitForPosition(media, 0.2));
  ASSERT_TRUE(media->Pause());
  ASSERT_TRUE(media->SetPosition(1.0));
  ASSERT_TRUE(media->Play());
  ASSERT_TRUE(WaitForPosition(media, 1.1));
}

TEST(DShowVolume, HundredthsOfDecibelFollowTheLogarithmicScale) {
  struct Case {
    int volume;
    int lowest;
    int highest;
  };
  // 5000 is −1000 exactly; floating point may truncate it to −999.
  for (const Case& c : {Case{10000, 0, 0}, Case{20000, 0, 0}, Case{5000, -1000, -999},
                        Case{1000, -3321, -3321}, Case{100, -6643, -6643}, Case{1, -10000, -10000},
                        Case{0, -10000, -10000}, Case{-5, -10000, -10000}}) {
    const int db = playback::HundredthsOfDecibel(c.volume);
    EXPECT_GE(db, c.lowest) << c.volume;
    EXPECT_LE(db, c.highest) << c.volume;
  }
}

TEST_F(DShowTest, VolumeSetsTheLinearGainAndPlayRestoresItAfterAStop) {
  CMedia* media = Open("tone.wav");
  ASSERT_NE(media, nullptr);
  struct Case {
    int volume;
    double gain;
  };
  for (const Case& c : {Case{10000, 1.0}, Case{5000, 0.3162}, Case{1000, 0.021852},
                        Case{100, 0.00047698}, Case{1, 0.0}, Case{0, 0.0}}) {
    ASSERT_TRUE(media->SetVolume(c.volume));
    // 0.2 %: one hundredth of a decibel of truncation.
    EXPECT_NEAR(media->OutputGain(), c.gain, c.gain * 0.002 + 1e-9) << c.volume;
  }
  ASSERT_TRUE(media->SetVolume(5000));
  ASSERT_TRUE(media->Play());
  ASSERT_TRUE(media->Stop());
  EXPECT_EQ(media->OutputGain(), 0.0);
  ASSERT_TRUE(media->Play());
  EXPECT_NEAR(media->OutputGain(), 0.3162, 0.001);
}

TEST_F(DShowTest, DeviceSwitchWhilePlayingKeepsPositionVolumeAndSound) {
  ASSERT_TRUE(dshow_.SetDevice(QStringLiteral("Test Output A")));
  CMedia* media = Open("long.flac");
  ASSERT_NE(media, nullptr);
  ASSERT_TRUE(media->SetVolume(10000));
  dshow_testing::LevelProbe probeB("test_b.monitor");
  ASSERT_TRUE(probeB.Started());
  ASSERT_TRUE(media->Play());
  ASSERT_TRUE(WaitForPosition(media, 0.5));
  EXPECT_LT(probeB.MaxPeakDb(), -60.0);  // nothing on B yet

  const double before = Position(media);
  ASSERT_TRUE(dshow_.SetDevice(QStringLiteral("Test Output B")));
  EXPECT_EQ(dshow_.DeviceName(), QStringLiteral("Test Output B"));
  EXPECT_NEAR(Position(media), before, 0.15);
  EXPECT_TRUE(media->IsPlaying());
  EXPECT_EQ(media->OutputGain(), 1.0);

  ASSERT_TRUE(WaitForPosition(media, before + 0.4));
  EXPECT_TRUE(WaitUntil([&] { return probeB.MaxPeakDb() > -20.0; }, kEventTimeoutMs))
      << probeB.MaxPeakDb();
  ASSERT_TRUE(WaitUntil([&] { return receiver_.Completes() > 0; }, kEventTimeoutMs));
}

TEST_F(DShowTest, UnknownDeviceRefusesNewMediaAndSilencesAnOpenOne) {
  CMedia* media = Open("long.flac");
  ASSERT_NE(media, nullptr);
  ASSERT_TRUE(media->Play());
  ASSERT_TRUE(WaitForPosition(media, 0.3));
  for (const char* name : {"No Such Device", "なし"}) {
    ASSERT_TRUE(dshow_.SetDevice(QString::fromUtf8(name)));
    EXPECT_EQ(Open("tone.wav"), nullptr) << name;
    EXPECT_FALSE(media->Ready()) << name;
    EXPECT_FALSE(media->Play()) << name;
  }
  // Back on a real device, playing goes on where it fell silent.
  const double silentAt = Position(media);
  EXPECT_GT(silentAt, 0.0);
  ASSERT_TRUE(dshow_.SetDevice(QStringLiteral("Test Output A")));
  ASSERT_TRUE(media->Play());
  EXPECT_NEAR(Position(media), silentAt, 0.05);
  ASSERT_TRUE(WaitUntil([&] { return receiver_.Completes() > 0; }, kEventTimeoutMs));
}

TEST_F(DShowTest, FilesThatCannotBeDecodedFailWithoutEvents) {
  testing_support::TempDir dir;
  QByteArray noise(64 * 1024, '\0');
  for (int i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919 + 13) % 251);
  const QString paths[] = {dir.write("noise.flac", noise), dir.write("empty.wav", {}),
                           dir.write("text.mp3", "#EXTM3U\nnot audio\n"), dir.file("missing.flac"),
                           dir.path()};
  for (const QString& path : paths) {
    QElapsedTimer clock;
    clock.start();
    IMedia* media = reinterpret_cast<IMedia*>(1);
    EXPECT_FALSE(dshow_.CreateMedia(path, QStringLiteral("Play"), media)) << path.toStdString();
    EXPECT_EQ(media, nullptr);
    EXPECT_LT(clock.elapsed(), 15000);
  }
  EXPECT_EQ(dshow_.MediaCount(), 0);
  WaitUntil([] { return false; }, 300);
  EXPECT_TRUE(receiver_.deliveries.empty());
}

TEST_F(DShowTest, ReleasedMediaGetsNoEventThatWasPendingForIt) {
  CMedia* media = Open("short.wav");
  ASSERT_NE(media, nullptr);
  ASSERT_TRUE(media->Play());
  // Played to the end without processing events: the announcement waits in the queue.
  QElapsedTimer clock;
  clock.start();
  while (!media->Ended() && clock.elapsed() < kEventTimeoutMs) QThread::msleep(10);
  ASSERT_TRUE(media->Ended());
  ASSERT_TRUE(dshow_.ReleaseMedia(media));
  EXPECT_FALSE(dshow_.IsLive(media));
  WaitUntil([] { return false; }, 300);
  EXPECT_TRUE(receiver_.deliveries.empty());
}

TEST_F(DShowTest, ReleaseMovesTheLastMediaIntoTheFreedSlot) {
  CMedia* first = Open("tone.wav");
  CMedia* second = Open("tone.flac");
  CMedia* third = Open("short.wav");
  ASSERT_TRUE(first && second && third);
  ASSERT_TRUE(dshow_.ReleaseMedia(first));
  EXPECT_EQ(dshow_.MediaCount(), 2);
  EXPECT_EQ(third->Index(), 0);
  EXPECT_EQ(second->Index(), 1);
  EXPECT_TRUE(dshow_.IsLive(third));
  EXPECT_FALSE(dshow_.IsLive(first));
  ASSERT_TRUE(dshow_.ReleaseAll());
  EXPECT_EQ(dshow_.MediaCount(), 0);
}

}  // namespace

namespace {

// A null sink of the test's own, so that taking it away leaves the shared ones alone.
class VanishingSink {
 public:
  VanishingSink() {
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"),
                {"load-module", "module-null-sink", "sink_name=test_vanishing",
                 "sink_properties=device.description=Vanishing"});
    if (pactl.waitForFinished(10000) && pactl.exitCode() == 0) {
      module_ = QString::fromUtf8(pactl.readAllStandardOutput()).trimmed();
    }
  }
  ~VanishingSink() { Unload(); }
  bool Loaded() const { return !module_.isEmpty(); }
  bool Unload() {
    if (module_.isEmpty()) return false;
    const bool ok = QProcess::execute(QStringLiteral("pactl"), {"unload-module", module_}) == 0;
    module_.clear();
    return ok;
  }

 private:
  QString module_;
};

TEST_F(DShowTest, DeviceThatDisappearsWhilePlaying) {
  VanishingSink vanishing;
  ASSERT_TRUE(vanishing.Loaded());
  ASSERT_TRUE(dshow_.SetDevice(QStringLiteral("Vanishing")));
  CMedia* media = Open("long.flac");
  ASSERT_NE(media, nullptr);
  ASSERT_TRUE(media->Play());
  ASSERT_TRUE(WaitForPosition(media, 0.3));
  ASSERT_TRUE(vanishing.Unload());

  // The sound server moves the stream to its default output (test_a): the track goes on
  // there and ends as usual; new media on the vanished name are refused.
  dshow_testing::LevelProbe probeA("test_a.monitor");
  ASSERT_TRUE(probeA.Started());
  ASSERT_TRUE(WaitUntil([&] { return receiver_.Completes() > 0; }, kEventTimeoutMs));
  EXPECT_FALSE(media->Failed());
  EXPECT_EQ(Position(media), media->Length());
  EXPECT_TRUE(WaitUntil([&] { return probeA.MaxPeakDb() > -20.0; }, 2000)) << probeA.MaxPeakDb();
  EXPECT_EQ(Open("tone.wav"), nullptr);
  EXPECT_TRUE(media->Stop());
  EXPECT_TRUE(dshow_.ReleaseMedia(media));
}

}  // namespace

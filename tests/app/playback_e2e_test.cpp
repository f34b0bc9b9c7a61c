// The real program plays a restored album on the test sound server: an MP3 track through the
// MP3 component and a FLAC track through GStreamer, one after the other, then stops after the
// last track (no repeat) with the first track opened again, and names it at shutdown. Files that
// cannot play are passed over without a hang.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QThread>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>

#include "support/program.h"
#include "support/temp_dir.h"
#include "text/text_lines.h"

namespace {

constexpr int kRate = 8000;            // of the recording, mono
constexpr int kBlock = kRate / 10;     // 100 ms
constexpr double kSoundLevel = 300.0;  // RMS of a block that counts as sound

// Makes a 440 Hz tone of `tenths` tenths of a second with the encoder `encoder`.
bool MakeTone(const QString& path, const QString& encoder, int tenths = 10) {
  QStringList args = {"-q",
                      "audiotestsrc",
                      QString("num-buffers=%1").arg(tenths),
                      "samplesperbuffer=4410",
                      "!",
                      "audio/x-raw,rate=44100,channels=2",
                      "!",
                      "audioconvert",
                      "!"};
  args += encoder.split(' ');
  args += {"!", "filesink", "location=" + path};
  return QProcess::execute("gst-launch-1.0", args) == 0 && QFileInfo::exists(path);
}

// Records the test sink's monitor as 16-bit mono samples.
class Recorder {
 public:
  Recorder() {
    parec_.start("parec", {"-d", "test_a.monitor", "--raw", "--format=s16le",
                           QString("--rate=%1").arg(kRate), "--channels=1", "--latency-msec=50"});
  }
  ~Recorder() {
    parec_.kill();
    parec_.waitForFinished(3000);
  }
  bool Started() { return parec_.waitForStarted(5000); }

  // Reads what came so far; the loudness of every complete block of 100 ms.
  const QList<double>& Blocks() {
    parec_.waitForReadyRead(50);
    bytes_ += parec_.readAll();
    while (bytes_.size() >= kBlock * 2) {
      double sum = 0;
      const auto* samples = reinterpret_cast<const std::int16_t*>(bytes_.constData());
      for (int i = 0; i < kBlock; ++i) sum += double(samples[i]) * samples[i];
      blocks_.append(std::sqrt(sum / kBlock));
      bytes_.remove(0, kBlock * 2);
    }
    return blocks_;
  }

 private:
  QProcess parec_;
  QByteArray bytes_;
  QList<double> blocks_;
};

class PlaybackEndToEnd : public testing::Test {
 protected:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER")) GTEST_SKIP() << "needs the test sound server";
    ASSERT_TRUE(QDir().mkpath(data_.file("Music/Album")));
    ASSERT_TRUE(QDir().mkpath(data_.file("quomm3u")));
  }

  QString Track(const QString& name) const { return data_.file("Music/Album/" + name); }
  QString Ini() const { return data_.file("quomm3u/quomm3u.ini"); }

  // Writes the album and an ini file that restores it on its first track and plays it once.
  QString PrepareAlbum(const QStringList& names) {
    const QString album = data_.write("Music/Album/album.m3u", names.join('\n').toUtf8() + '\n');
    EXPECT_TRUE(SaveTextLines(
        {"OutputDeviceName=Default DirectSound Device", "Volume=10000", "RepeatMode=0",
         "PlayWhenExecute=True", "FileList0=" + album, "ActiveFileName=" + album,
         "ActiveMusicName=" + Track(names[0]), "PlayPosition=0"},
        Ini()));
    return album;
  }

  // Runs the program until its sound has stopped for two seconds, calling `whileSounding` once
  // when the sound begins, then ends it with SIGTERM. Returns the seconds of sound heard, or -1.
  double PlayAndStop(const std::function<void()>& whileSounding = {}) {
    Recorder recorder;
    EXPECT_TRUE(recorder.Started());
    QProcess program;
    if (!testing_support::StartProgram(program, data_.path())) {
      ADD_FAILURE() << "cannot start " << testing_support::ProgramPath().toStdString();
      return -1;
    }

    int first = -1, last = -1;
    QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired() && program.state() == QProcess::Running) {
      const QList<double>& blocks = recorder.Blocks();
      for (int i = std::max(last, 0); i < blocks.size(); ++i) {
        if (blocks[i] < kSoundLevel) continue;
        if (first < 0 && whileSounding) whileSounding();
        if (first < 0) first = i;
        last = i;
      }
      if (first >= 0 && blocks.size() - last > 20) break;  // two seconds of silence
    }
    EXPECT_EQ(program.state(), QProcess::Running) << "the program ended by itself";
    EXPECT_GE(first, 0) << "no sound came out";
    EXPECT_FALSE(deadline.hasExpired()) << "the sound did not stop";

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    EXPECT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    return first < 0 ? -1 : (last - first + 1) / 10.0;
  }

  QStringList IniLines() const {
    QStringList lines;
    LoadTextLines(lines, Ini());
    return lines;
  }

  testing_support::TempDir data_;
};

TEST_F(PlaybackEndToEnd, PlaysTheAlbumOnceThenStopsOnItsFirstTrack) {
  ASSERT_TRUE(MakeTone(Track("01 Tone.mp3"), "lamemp3enc"));
  ASSERT_TRUE(MakeTone(Track("02 Tone.flac"), "flacenc"));
  const QString album = PrepareAlbum({"01 Tone.mp3", "02 Tone.flac"});

  const double seconds = PlayAndStop();
  // Two tracks of a second each; start-up and the change of backend add little.
  EXPECT_GE(seconds, 1.6);
  EXPECT_LE(seconds, 4.0);
  const QStringList lines = IniLines();
  // After the last track the player stopped on the first album with its first track opened.
  EXPECT_TRUE(lines.contains("ActiveMusicName=" + Track("01 Tone.mp3")))
      << lines.join('\n').toStdString();
  EXPECT_TRUE(lines.contains("ActiveFileName=" + album));
  EXPECT_TRUE(lines.contains("PlayPosition=0"));
}

TEST_F(PlaybackEndToEnd, FilesThatCannotPlayArePassedOverAndTheRestPlays) {
  // Random bytes named .mp3 come first, so that the start itself must walk past them.
  QByteArray noise(64 * 1024, '\0');
  std::mt19937 random(7);
  for (char& byte : noise) byte = static_cast<char>(random());
  data_.write("Music/Album/01 Noise.mp3", noise);
  ASSERT_TRUE(MakeTone(Track("02 Tone.mp3"), "lamemp3enc"));
  data_.write("Music/Album/03 Empty.mp3", {});
  // The first half of a two-second MP3.
  ASSERT_TRUE(MakeTone(Track("whole.mp3"), "lamemp3enc", 20));
  const QByteArray whole = data_.read("Music/Album/whole.mp3");
  data_.write("Music/Album/04 Cut.mp3", whole.left(whole.size() / 2));
  data_.write("Music/Album/05 Empty.flac", {});
  ASSERT_TRUE(MakeTone(Track("06 Tone.flac"), "flacenc"));
  const QString album = PrepareAlbum({"01 Noise.mp3", "02 Tone.mp3", "03 Empty.mp3", "04 Cut.mp3",
                                      "05 Empty.flac", "06 Tone.flac"});

  // The track that sounds first is removed while it plays; it plays on to its end.
  const double seconds = PlayAndStop([&] { QFile::remove(Track("02 Tone.mp3")); });
  // Three seconds of good tracks (a second, about a second, a second).
  EXPECT_GE(seconds, 2.4);
  EXPECT_LE(seconds, 5.5);
  EXPECT_TRUE(IniLines().contains("ActiveFileName=" + album));
}

}  // namespace

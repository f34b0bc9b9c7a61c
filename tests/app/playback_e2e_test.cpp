// The real program plays a restored album on the test sound server: an MP3 track through the
// MP3 component and a FLAC track through GStreamer, one after the other, then stops after the
// last track (no repeat) with the first track opened again, and names it at shutdown.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QThread>
#include <cmath>
#include <cstdint>

#include "support/temp_dir.h"
#include "text/text_lines.h"

namespace {

QString ProgramPath() { return qEnvironmentVariable("QUOMM3U_BIN") + "/quomm3u"; }

constexpr int kRate = 8000;            // of the recording, mono
constexpr int kBlock = kRate / 10;     // 100 ms
constexpr double kSoundLevel = 300.0;  // RMS of a block that counts as sound

// Makes a one-second 440 Hz tone with the encoder `encoder`.
bool MakeTone(const QString& path, const QString& encoder) {
  QStringList args = {"-q",
                      "audiotestsrc",
                      "num-buffers=10",
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

TEST(PlaybackEndToEnd, PlaysTheAlbumOnceThenStopsOnItsFirstTrack) {
  if (qEnvironmentVariableIsEmpty("PULSE_SERVER")) GTEST_SKIP() << "needs the test sound server";
  testing_support::TempDir data;
  ASSERT_TRUE(QDir().mkpath(data.file("Music/Album")));
  const QString mp3 = data.file("Music/Album/01 Tone.mp3");
  const QString flac = data.file("Music/Album/02 Tone.flac");
  ASSERT_TRUE(MakeTone(mp3, "lamemp3enc"));
  ASSERT_TRUE(MakeTone(flac, "flacenc"));
  const QString album = data.write("Music/Album/album.m3u", "01 Tone.mp3\n02 Tone.flac\n");

  ASSERT_TRUE(QDir().mkpath(data.file("quomm3u")));
  const QString ini = data.file("quomm3u/quomm3u.ini");
  ASSERT_TRUE(SaveTextLines({"OutputDeviceName=Default DirectSound Device", "Volume=10000",
                             "RepeatMode=0", "PlayWhenExecute=True", "FileList0=" + album,
                             "ActiveFileName=" + album, "ActiveMusicName=" + mp3, "PlayPosition=0"},
                            ini));

  Recorder recorder;
  ASSERT_TRUE(recorder.Started());
  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_DATA_HOME", data.path());
  program.setProcessEnvironment(env);
  program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  program.start(ProgramPath(), {});
  ASSERT_TRUE(program.waitForStarted(5000)) << ProgramPath().toStdString();

  // Wait for the sound, then for a long silence after it.
  int first = -1, last = -1;
  QDeadlineTimer deadline(30000);
  while (!deadline.hasExpired()) {
    const QList<double>& blocks = recorder.Blocks();
    for (int i = std::max(last, 0); i < blocks.size(); ++i) {
      if (blocks[i] < kSoundLevel) continue;
      if (first < 0) first = i;
      last = i;
    }
    if (first >= 0 && blocks.size() - last > 20) break;  // two seconds of silence
    ASSERT_EQ(program.state(), QProcess::Running);
  }
  ASSERT_GE(first, 0) << "no sound came out";
  ASSERT_FALSE(deadline.hasExpired()) << "the sound did not stop";
  // Two tracks of a second each; start-up and the change of backend add little.
  const double seconds = (last - first + 1) / 10.0;
  EXPECT_GE(seconds, 1.6);
  EXPECT_LE(seconds, 4.0);

  ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
  ASSERT_TRUE(program.waitForFinished(10000));
  EXPECT_EQ(program.exitCode(), 0);
  QStringList lines;
  LoadTextLines(lines, ini);
  // After the last track the player stopped on the first album with its first track opened.
  EXPECT_TRUE(lines.contains("ActiveMusicName=" + mp3)) << lines.join('\n').toStdString();
  EXPECT_TRUE(lines.contains("ActiveFileName=" + album));
  EXPECT_TRUE(lines.contains("PlayPosition=0"));
}

}  // namespace

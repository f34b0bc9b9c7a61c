#pragma once
// Shared pieces of the MP3 component tests: generated sound files, the component's library,
// a recorder for its events and a check of what reached the test sound server.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QThread>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

namespace vbmp3_testing {

inline QString LibraryPath() {
  return qEnvironmentVariable("QUOMM3U_BIN") + QStringLiteral("/libvbmp3.so");
}

// Polls until `done` holds or `timeoutMs` has passed; generous limits keep a loaded machine
// from failing the tests.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 15000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QThread::msleep(10);
  }
  return true;
}

// A sine tone of `seconds` at `rate` Hz and `channels`, encoded by a GStreamer element chain.
inline bool MakeTone(const QString& path, int rate, int channels, double seconds,
                     const QString& encoder) {
  const int buffers = 100;
  const int perBuffer = int(rate * seconds / buffers);
  QStringList args = {
      "-q",
      "audiotestsrc",
      QString("num-buffers=%1").arg(buffers),
      QString("samplesperbuffer=%1").arg(perBuffer),
      "wave=sine",
      "freq=440",
      "volume=0.5",
      "!",
      QString("audio/x-raw,format=S16LE,rate=%1,channels=%2").arg(rate).arg(channels),
      "!",
      "audioconvert",
      "!"};
  args += encoder.split(' ');
  args += {"!", "filesink", "location=" + path};
  return QProcess::execute("gst-launch-1.0", args) == 0;
}

inline const QString kMp3Encoder = QStringLiteral("lamemp3enc target=bitrate bitrate=128 cbr=true");

// Generated files, made once per test program in one temporary folder.
class Fixtures {
 public:
  static Fixtures& Get() {
    static Fixtures fixtures;
    return fixtures;
  }
  // A tone of the given shape and encoder, cached by name.
  QString Tone(const QString& name, int rate, int channels, double seconds,
               const QString& encoder = kMp3Encoder) {
    auto it = files_.find(name);
    if (it != files_.end()) return it->second;
    QString path = dir_.file(name);
    if (!MakeTone(path, rate, channels, seconds, encoder)) path.clear();
    files_[name] = path;
    return path;
  }
  QString OneSecond() { return Tone("one.mp3", 44100, 2, 1.0); }
  QString TwoSeconds() { return Tone("two.mp3", 44100, 2, 2.0); }
  QString Write(const QString& name, const QByteArray& bytes) { return dir_.write(name, bytes); }
  QByteArray Read(const QString& name) { return dir_.read(name); }

 private:
  testing_support::TempDir dir_;
  std::map<QString, QString> files_;
};

// The component's events as they arrive, with the thread each came on.
class EventRecorder {
 public:
  std::function<void(int, int)> Callback() {
    return [this](int code, int param) {
      std::lock_guard<std::mutex> guard(mutex_);
      events_.push_back({code, param, std::this_thread::get_id()});
      arrived_.notify_all();
    };
  }
  bool WaitForEvent(int timeoutMs = 15000) {
    std::unique_lock<std::mutex> lock(mutex_);
    return arrived_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [this] { return !events_.empty(); });
  }
  struct Event {
    int code;
    int param;
    std::thread::id thread;
  };
  void Clear() {
    std::lock_guard<std::mutex> guard(mutex_);
    events_.clear();
  }
  std::vector<Event> Events() {
    std::lock_guard<std::mutex> guard(mutex_);
    return events_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<Event> events_;
};

// Direct calls into the loaded component, for what the wrapper does not show.
class Component {
 public:
  Component() : module_(dlopen(LibraryPath().toLocal8Bit().constData(), RTLD_NOW)) {}
  ~Component() {
    if (module_) dlclose(module_);
  }
  bool Loaded() const { return module_ != nullptr; }
  template <typename F>
  F Get(const char* name) const {
    return reinterpret_cast<F>(dlsym(module_, name));
  }
  int32_t Call(const char* name) const { return Get<int32_t (*)()>(name)(); }
  int32_t Call(const char* name, int32_t a) const { return Get<int32_t (*)(int32_t)>(name)(a); }
  int32_t Call(const char* name, int32_t a, int32_t b) const {
    return Get<int32_t (*)(int32_t, int32_t)>(name)(a, b);
  }
  int32_t OpenW(const QString& path, void* info = nullptr) const {
    return Get<int32_t (*)(const char16_t*, void*)>("vbmp3_openW")(
        reinterpret_cast<const char16_t*>(path.utf16()), info);
  }
  std::pair<int32_t, int32_t> Volume() const {
    int32_t left = -1;
    int32_t right = -1;
    Get<int32_t (*)(int32_t*, int32_t*)>("vbmp3_getVolume")(&left, &right);
    return {left, right};
  }

 private:
  void* module_;
};

// Records the test sound server's default output (the monitor of "Test Output A") from just
// before `start` until `finished` holds, and gives the largest sample magnitude heard; -1 when
// the recorder did not run or `finished` never came.
inline int PeakOnDefaultOutput(const std::function<void()>& start,
                               const std::function<bool()>& finished) {
  QProcess recorder;
  recorder.start("parec", {"-d", "test_a.monitor", "--raw", "--format=s16le", "--rate=44100",
                           "--channels=2", "--latency-msec=50"});
  if (!recorder.waitForStarted(10000)) return -1;
  QByteArray pcm;
  auto drain = [&] {
    recorder.waitForReadyRead(20);
    pcm += recorder.readAllStandardOutput();
  };
  // The monitor of a null sink runs all the time: data flowing means the recorder is live.
  bool live = WaitUntil([&] {
    drain();
    return pcm.size() >= 4410 * 4;
  });
  pcm.clear();
  start();
  bool done = live && WaitUntil([&] {
                drain();
                return finished();
              });
  // What was played last is still on its way through the server.
  QElapsedTimer tail;
  tail.start();
  while (tail.elapsed() < 300) drain();
  recorder.terminate();
  recorder.waitForFinished(5000);
  if (!done) return -1;
  int peak = 0;
  const auto* samples = reinterpret_cast<const int16_t*>(pcm.constData());
  for (qsizetype i = 0; i < pcm.size() / 2; ++i) peak = std::max(peak, std::abs(int(samples[i])));
  return peak;
}

}  // namespace vbmp3_testing

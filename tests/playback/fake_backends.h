#pragma once
// Fakes of the two playback backends that write every call into one shared log, so that a test
// sees the order in which the facade talks to them. A file is refused when its name contains
// "bad"; the MP3 component takes only names ending in ".mp3". Chosen calls can be made to fail.

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

#include "playback/backends.h"

struct FakeLog {
  QStringList calls;
  // Names of calls ("Play", "GetPosition", …) whose next attempt fails, once each time listed.
  QStringList failOnce;
  bool Fail(const QString& call) { return failOnce.removeOne(call); }
};

class FakeMedia final : public IMedia {
 public:
  FakeMedia(FakeLog& log, QString path, double length)
      : log_(log), path_(std::move(path)), length_(length) {}
  enum State { Stopped, Paused, Running };

  bool Play() override {
    return Call("Play", [&] { state = Running; });
  }
  bool Stop() override {
    return Call("Stop", [&] {
      state = Stopped;
      position = 0.0;
    });
  }
  bool Pause() override {
    return Call("Pause", [&] { state = Paused; });
  }
  bool SetVolume(int v) override {
    return Call(QStringLiteral("SetVolume %1").arg(v), [&] { volume = v; });
  }
  bool SetBalance(int b) override {
    return Call(QStringLiteral("SetBalance %1").arg(b), [] {});
  }
  bool SetPosition(double s) override {
    return Call(QStringLiteral("SetPosition %1").arg(s), [&] { position = s; });
  }
  bool GetPosition(double& s) override {
    if (log_.Fail("GetPosition")) return false;
    s = position;
    return true;
  }
  double Length() const override { return length_; }
  QString FileName() const override { return path_; }
  bool SwitchRenderer() override { return true; }
  bool NextEvent(bool& complete) override {
    if (events.isEmpty()) return false;
    complete = events.takeFirst();
    return true;
  }

  State state = Stopped;
  double position = 0.0;
  int volume = -1;
  QList<bool> events;  // pending events; true for the end of the stream

 private:
  template <typename F>
  bool Call(const QString& call, F apply) {
    const QString name = call.section(QLatin1Char(' '), 0, 0);
    log_.calls.append("media " + call);
    if (log_.Fail(name)) return false;
    apply();
    return true;
  }
  FakeLog& log_;
  QString path_;
  double length_;
};

class FakeDShow final : public IDShowBackend {
 public:
  explicit FakeDShow(FakeLog& log) : log_(log) {}
  bool Initialize(QObject*) override { return true; }
  bool Finalize() override { return ReleaseAll(); }
  bool CreateMedia(const QString& path, const QString& alias, IMedia*& media) override {
    log_.calls.append("CreateMedia " + path + " " + alias);
    if (path.contains("bad") || log_.Fail("CreateMedia")) return false;
    live.push_back(std::make_unique<FakeMedia>(log_, path, length));
    media = live.back().get();
    ++created;
    return true;
  }
  bool ReleaseMedia(IMedia* media) override {
    log_.calls.append("ReleaseMedia " + media->FileName());
    std::erase_if(live, [media](const auto& m) { return m.get() == media; });
    return true;
  }
  bool ReleaseAll() override {
    live.clear();
    return true;
  }
  bool EnumerateDevices(QStringList& names) override {
    names = devices;
    return true;
  }
  bool SetDevice(const QString& name) override {
    device = name;
    return true;
  }
  QString DeviceName() const override { return device; }

  FakeMedia* Current() const { return live.empty() ? nullptr : live.back().get(); }

  double length = 100.0;  // seconds, for every media made from now on
  int created = 0;
  std::vector<std::unique_ptr<FakeMedia>> live;
  QStringList devices{"Default DirectSound Device", "Default WaveOut Device", "Test Output A"};
  QString device = "Default DirectSound Device";

 private:
  FakeLog& log_;
};

class FakeMp3 final : public IMp3Backend {
 public:
  explicit FakeMp3(FakeLog& log) : log_(log) {}
  bool Open(const QString& path) override {
    log_.calls.append("mp3 Open " + path);
    if (!path.endsWith(".mp3") || path.contains("bad") || log_.Fail("Open")) return false;
    file = path;
    started = false;
    position = 0.0;
    return true;
  }
  bool Close() override {
    log_.calls.append("mp3 Close");
    file.clear();
    started = false;
    return true;
  }
  bool Play() override {
    return Call("Play", [&] { started = true; });
  }
  bool Stop() override {
    return Call("Stop", [&] { started = false; });
  }
  bool Pause() override {
    return Call("Pause", [] {});
  }
  bool SetBalance(int b) override {
    return Call(QStringLiteral("SetBalance %1").arg(b), [] {});
  }
  bool SetVolume(int v) override {
    return Call(QStringLiteral("SetVolume %1").arg(v), [&] { volume = v; });
  }
  bool SetPosition(double s) override {
    return Call(QStringLiteral("SetPosition %1").arg(s), [&] { position = s; });
  }
  bool GetPosition(double& s) override {
    // Like the real component: no position while the file is open but not started.
    if (file.isEmpty() || !started || log_.Fail("GetPosition")) return false;
    s = position;
    return true;
  }
  QString FileName() const override { return file; }
  double TotalSamples() const override { return file.isEmpty() ? 0.0 : samples; }

  QString file;
  bool started = false;
  double position = 0.0;
  int volume = -1;
  double samples = 44100.0 * 60;

 private:
  template <typename F>
  bool Call(const QString& call, F apply) {
    const QString name = call.section(QLatin1Char(' '), 0, 0);
    log_.calls.append("mp3 " + call);
    if (file.isEmpty() || log_.Fail(name)) return false;
    apply();
    return true;
  }
  FakeLog& log_;
};

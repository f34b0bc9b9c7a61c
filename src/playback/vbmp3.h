#pragma once
// CVBMP3: the MP3 backend over the component libvbmp3.so, loaded at run time from the
// program's folder. It keeps the few facts the player needs (file name, length, the last
// position and volume) and whether playback was started and whether it is halted, and turns
// each operation into the component's calls.
//
// All calls come from the user-interface thread. The component reports the end of a file
// through the callback given to Init, on its own playback thread.

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

#include "playback/backends.h"

class QObject;

class CVBMP3 : public IMp3Backend {
 public:
  // Called with the component's event code (4: the open file has played to its end) and its
  // parameter, on the component's playback thread, which waits for it to return: it must
  // only hand the news over, never call back into this object.
  using Callback = std::function<void(int code, int param)>;

  // The component's entry points, in the order they are looked up.
  enum Entry {
    kCallback,
    kStartCallback,
    kStopCallback,
    kSetStepPitch,
    kGetStepPitch,
    kReload,
    kSetPitch,
    kGetPitch,
    kInit,
    kFree,
    kOpen,
    kOpenW,
    kClose,
    kGetState,
    kPlay,
    kStop,
    kPause,
    kRestart,
    kSeek,
    kGetPlayFlames,
    kSetPlayFlames,
    kGetPlaySamples,
    kGetTotalSamples,
    kSetPlaySamples,
    kSetVolume,
    kGetVolume,
    kSetFadeIn,
    kSetFadeOut,
    kFadeOut,
    kEntryCount
  };
  static const char* EntryName(Entry e);

  CVBMP3() = default;
  // Unloads the library (its own release entry point is not called).
  ~CVBMP3() override;
  CVBMP3(const CVBMP3&) = delete;
  CVBMP3& operator=(const CVBMP3&) = delete;

  // Loads the library file and looks up its entry points. False, and the object stays unusable
  // (every operation then fails), when the file is missing or cannot be loaded, or when it
  // lacks an entry point the program calls (all that the program calls but vbmp3_openW, which
  // it replaces by vbmp3_open).
  bool Load(const QString& libraryPath);
  bool Loaded() const { return module_ != nullptr; }
  // Initialises the component and registers `callback` for its events. One object at a time
  // receives them. True; false only when nothing is loaded.
  bool Init(Callback callback);
  // A callback that posts platform::AppMessage::Mp3Ended to `receiver` for the end of a file,
  // without waiting, and ignores every other event.
  static Callback PostMp3Ended(QObject* receiver);

  bool Open(const QString& path) override;
  bool Close() override;
  bool Play() override;
  bool Stop() override;
  bool Pause() override;
  bool SetBalance(int balance) override;
  bool SetVolume(int volume) override;
  bool SetPosition(double samples) override;
  bool GetPosition(double& samples) override;
  QString FileName() const override { return fileName_; }
  double TotalSamples() const override { return totalSamples_; }

  bool Started() const { return started_; }
  bool Halted() const { return halted_; }

 private:
  using Fn0 = int32_t (*)();
  using Fn1 = int32_t (*)(int32_t);
  using Fn2 = int32_t (*)(int32_t, int32_t);
  template <typename F>
  F Fn(Entry e) const {
    return reinterpret_cast<F>(entries_[e]);
  }
  int32_t Call(Entry e) const { return Fn<Fn0>(e)(); }
  static int32_t Trampoline(int32_t code, int32_t param);

  void* module_ = nullptr;
  std::array<void*, kEntryCount> entries_{};
  std::array<unsigned char, 272> info_{};
  Callback callback_;
  QString fileName_;
  int32_t volume_ = 0;
  int32_t balance_ = 0;
  int32_t totalSamples_ = 0;
  int32_t storedPosition_ = 0;
  bool started_ = false;
  bool halted_ = true;
};

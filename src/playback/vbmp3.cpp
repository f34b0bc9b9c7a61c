#include "playback/vbmp3.h"

#include <dlfcn.h>

#include <QFile>
#include <algorithm>
#include <atomic>
#include <cmath>

#include "platform/app_events.h"
#include "platform/codepage.h"
#include "platform/files.h"

namespace {

constexpr const char* kEntryNames[CVBMP3::kEntryCount] = {"vbmp3_callback",
                                                          "vbmp3_startCallback",
                                                          "vbmp3_stopCallback",
                                                          "vbmp3_setStepPitch",
                                                          "vbmp3_getStepPitch",
                                                          "vbmp3_reload",
                                                          "vbmp3_setPitch",
                                                          "vbmp3_getPitch",
                                                          "vbmp3_init",
                                                          "vbmp3_free",
                                                          "vbmp3_open",
                                                          "vbmp3_openW",
                                                          "vbmp3_close",
                                                          "vbmp3_getState",
                                                          "vbmp3_play",
                                                          "vbmp3_stop",
                                                          "vbmp3_pause",
                                                          "vbmp3_restart",
                                                          "vbmp3_seek",
                                                          "vbmp3_getPlayFlames",
                                                          "vbmp3_setPlayFlames",
                                                          "vbmp3_getPlaySamples",
                                                          "vbmp3_getTotalSamples",
                                                          "vbmp3_setPlaySamples",
                                                          "vbmp3_setVolume",
                                                          "vbmp3_getVolume",
                                                          "vbmp3_setFadeIn",
                                                          "vbmp3_setFadeOut",
                                                          "vbmp3_fadeOut"};

// What the program calls and so cannot do without. vbmp3_openW is missing here on purpose:
// without it the program opens through vbmp3_open.
constexpr CVBMP3::Entry kRequired[] = {
    CVBMP3::kCallback,       CVBMP3::kStartCallback,  CVBMP3::kStopCallback,
    CVBMP3::kInit,           CVBMP3::kOpen,           CVBMP3::kClose,
    CVBMP3::kPlay,           CVBMP3::kStop,           CVBMP3::kPause,
    CVBMP3::kRestart,        CVBMP3::kGetPlaySamples, CVBMP3::kGetTotalSamples,
    CVBMP3::kSetPlaySamples, CVBMP3::kSetVolume,      CVBMP3::kGetVolume};

// The object whose callback receives the component's events. The component takes a plain
// function, so its events go through one trampoline.
std::atomic<CVBMP3*> g_receiver{nullptr};

}  // namespace

const char* CVBMP3::EntryName(Entry e) { return kEntryNames[e]; }

CVBMP3::~CVBMP3() {
  // Unloading the component ends its playback thread, so no event can come after this.
  if (module_) dlclose(module_);
  CVBMP3* self = this;
  g_receiver.compare_exchange_strong(self, nullptr);
}

bool CVBMP3::Load(const QString& libraryPath) {
  if (module_ || !platform::FileExists(libraryPath)) return false;
  void* module = dlopen(QFile::encodeName(libraryPath).constData(), RTLD_NOW | RTLD_LOCAL);
  if (!module) return false;
  std::array<void*, kEntryCount> entries{};
  for (int i = 0; i < kEntryCount; ++i) entries[i] = dlsym(module, kEntryNames[i]);
  for (Entry e : kRequired) {
    if (!entries[e]) {
      dlclose(module);
      return false;
    }
  }
  module_ = module;
  entries_ = entries;
  return true;
}

int32_t CVBMP3::Trampoline(int32_t code, int32_t param) {
  CVBMP3* receiver = g_receiver.load();
  if (receiver && receiver->callback_) receiver->callback_(code, param);
  return 0;
}

bool CVBMP3::Init(Callback callback) {
  if (!module_) return false;
  callback_ = std::move(callback);
  g_receiver.store(this);
  Call(kInit);
  using CallbackFn = int32_t (*)(int32_t(*)(int32_t, int32_t));
  Fn<CallbackFn>(kCallback)(&CVBMP3::Trampoline);
  return true;
}

CVBMP3::Callback CVBMP3::PostMp3Ended(QObject* receiver) {
  return [receiver](int code, int) {
    if (code == 4) platform::PostAppMessage(receiver, platform::AppMessage::Mp3Ended);
  };
}

bool CVBMP3::Open(const QString& path) {
  if (!module_ || !platform::FileExists(path)) return false;
  Stop();
  Close();
  info_.fill(0);
  int32_t opened = 0;
  if (!entries_[kOpenW]) {
    // The file must be reachable through the code page: a name with characters it cannot hold
    // comes back changed and names no file.
    QByteArray ansi = platform::Utf16ToCp932(path);
    if (!platform::FileExists(platform::Cp932ToUtf16(ansi))) return false;
    using OpenFn = int32_t (*)(const char*, void*);
    opened = Fn<OpenFn>(kOpen)(ansi.constData(), info_.data());
  } else {
    if (!platform::FileExists(path)) return false;
    using OpenWFn = int32_t (*)(const char16_t*, void*);
    opened = Fn<OpenWFn>(kOpenW)(reinterpret_cast<const char16_t*>(path.utf16()), info_.data());
  }
  if (opened == 0) return false;
  totalSamples_ = Call(kGetTotalSamples);
  fileName_ = path;
  started_ = false;
  halted_ = true;
  return true;
}

bool CVBMP3::Close() {
  if (!module_) return false;
  Stop();
  Fn<Fn2>(kSetVolume)(99, 99);
  Call(kClose);
  fileName_.clear();
  started_ = false;
  halted_ = true;
  return true;
}

bool CVBMP3::Play() {
  if (!module_) return false;
  if (started_ && halted_) {
    if (Call(kRestart) == 0) return false;
    halted_ = false;
    return true;
  }
  Call(kStartCallback);
  if (Call(kPlay) == 0) return false;
  started_ = true;
  halted_ = false;
  return true;
}

bool CVBMP3::Stop() {
  if (!module_) return false;
  Call(kStopCallback);
  if (Call(kStop) == 0) return false;
  started_ = false;
  halted_ = true;
  return true;
}

bool CVBMP3::Pause() {
  if (!module_) return false;
  if (Call(kPause) == 0) return false;
  halted_ = true;
  return true;
}

bool CVBMP3::SetBalance(int balance) {
  balance_ = balance;
  return SetVolume(volume_);
}

bool CVBMP3::SetVolume(int volume) {
  volume_ = volume;
  if (!module_) return false;
  const int32_t channel = std::min(volume / 100, 99);
  if (Fn<Fn2>(kSetVolume)(channel, channel) == 0) return false;
  int32_t left = 0;
  int32_t right = 0;
  using GetVolumeFn = int32_t (*)(int32_t*, int32_t*);
  return Fn<GetVolumeFn>(kGetVolume)(&left, &right) != 0;
}

bool CVBMP3::SetPosition(double samples) {
  // Truncated towards zero; a value beyond 32 bits is kept at the nearest end.
  const double whole = std::isnan(samples) ? 0.0 : std::trunc(samples);
  storedPosition_ = static_cast<int32_t>(std::clamp(whole, -2147483648.0, 2147483647.0));
  if (!module_ || !started_) return false;
  return Fn<Fn1>(kSetPlaySamples)(storedPosition_) != 0;
}

bool CVBMP3::GetPosition(double& samples) {
  if (!module_ || !started_) {
    samples = storedPosition_;
    return false;
  }
  storedPosition_ = Call(kGetPlaySamples);
  samples = storedPosition_;
  return true;
}

// The exported entry points: each forwards to the component's one player.

#include <iconv.h>

#include <memory>
#include <mutex>
#include <string>

#include "player.h"
#include "vbmp3_api.h"

namespace {

std::mutex g_playerMutex;
// Destroyed when the library is unloaded, which ends the playback thread before its code goes.
std::unique_ptr<vbmp3::Player> g_player;

vbmp3::Player& ThePlayer() {
  std::lock_guard<std::mutex> guard(g_playerMutex);
  if (!g_player) g_player = std::make_unique<vbmp3::Player>();
  return *g_player;
}

void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// File names on this system are UTF-8. A lone surrogate cannot name a file: false.
bool Utf16ToUtf8(const char16_t* s, std::string& out) {
  for (; *s; ++s) {
    char32_t c = *s;
    if (c >= 0xD800 && c < 0xDC00) {
      if (s[1] < 0xDC00 || s[1] >= 0xE000) return false;
      c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(s[1]) - 0xDC00);
      ++s;
    } else if (c >= 0xDC00 && c < 0xE000) {
      return false;
    }
    AppendUtf8(c, out);
  }
  return true;
}

bool Cp932ToUtf8(const char* s, std::string& out) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == iconv_t(-1)) return false;
  std::string in(s);
  out.assign(in.size() * 3 + 4, '\0');
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (r == size_t(-1)) return false;
  out.resize(out.size() - outLeft);
  return true;
}

int32_t Result(bool ok) { return ok ? 1 : 0; }

}  // namespace

int32_t vbmp3_callback(Vbmp3Callback callback) {
  ThePlayer().SetCallback(callback);
  return 1;
}

int32_t vbmp3_startCallback(void) {
  ThePlayer().EnableCallback(true);
  return 1;
}

int32_t vbmp3_stopCallback(void) {
  ThePlayer().EnableCallback(false);
  return 1;
}

int32_t vbmp3_setStepPitch(int32_t step) { return Result(step == 0); }
int32_t vbmp3_getStepPitch(void) { return 0; }
int32_t vbmp3_setPitch(int32_t pitch) { return Result(pitch == 100); }
int32_t vbmp3_getPitch(void) { return 100; }

int32_t vbmp3_reload(void) { return Result(ThePlayer().Reload()); }

int32_t vbmp3_init(void) {
  ThePlayer();
  return 1;
}

int32_t vbmp3_free(void) {
  std::unique_ptr<vbmp3::Player> player;
  {
    std::lock_guard<std::mutex> guard(g_playerMutex);
    // The playback thread cannot end itself from inside the callback.
    if (g_player && g_player->OnPlaybackThread()) return 0;
    player = std::move(g_player);
  }
  player.reset();  // outside the lock: a callback running meanwhile may still call in
  return 1;
}

int32_t vbmp3_open(const char* path, void* info) {
  std::string utf8;
  if (!path || !Cp932ToUtf8(path, utf8)) return 0;
  return Result(ThePlayer().Open(utf8, info));
}

int32_t vbmp3_openW(const char16_t* path, void* info) {
  std::string utf8;
  if (!path || !Utf16ToUtf8(path, utf8)) return 0;
  return Result(ThePlayer().Open(utf8, info));
}

int32_t vbmp3_close(void) {
  ThePlayer().Close();
  return 1;
}

int32_t vbmp3_getState(void) { return ThePlayer().State(); }
int32_t vbmp3_play(void) { return Result(ThePlayer().Play()); }
int32_t vbmp3_stop(void) { return Result(ThePlayer().Stop()); }
int32_t vbmp3_pause(void) { return Result(ThePlayer().Pause()); }
int32_t vbmp3_restart(void) { return Result(ThePlayer().Restart()); }

int32_t vbmp3_seek(int32_t seconds) {
  vbmp3::Player& p = ThePlayer();
  return Result(seconds >= 0 && p.SetPlaySamples(int64_t(seconds) * p.SampleRate()));
}

int32_t vbmp3_getPlayFlames(void) {
  vbmp3::Player& p = ThePlayer();
  int32_t spf = p.FrameSamples();
  return spf > 0 ? p.PlaySamples() / spf : 0;
}

int32_t vbmp3_setPlayFlames(int32_t frames) {
  vbmp3::Player& p = ThePlayer();
  return Result(frames >= 0 && p.SetPlaySamples(int64_t(frames) * p.FrameSamples()));
}

int32_t vbmp3_getPlaySamples(void) { return ThePlayer().PlaySamples(); }
int32_t vbmp3_getTotalSamples(void) { return ThePlayer().TotalSamples(); }
int32_t vbmp3_setPlaySamples(int32_t samples) {
  return Result(ThePlayer().SetPlaySamples(samples));
}

int32_t vbmp3_setVolume(int32_t left, int32_t right) {
  ThePlayer().SetVolume(left, right);
  return 1;
}

int32_t vbmp3_getVolume(int32_t* left, int32_t* right) {
  if (!left || !right) return 0;
  ThePlayer().GetVolume(*left, *right);
  return 1;
}

int32_t vbmp3_setFadeIn(int32_t milliseconds) {
  return Result(ThePlayer().SetFadeIn(milliseconds));
}
int32_t vbmp3_setFadeOut(int32_t milliseconds) {
  return Result(ThePlayer().SetFadeOut(milliseconds));
}
int32_t vbmp3_fadeOut(void) { return Result(ThePlayer().FadeOut()); }

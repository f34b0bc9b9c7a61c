#pragma once
// The component's one player: a decoder for the open file, an output on the sound server's
// default device and a playback thread that feeds the one from the other.
//
// Locking: one mutex guards all fields and the decoder. The output belongs to whichever thread
// holds the mutex while the playback thread is idle (`inOutput_` false); the playback thread
// uses it without the mutex only while it is playing and has set `inOutput_`, so a controlling
// call first changes the state and then waits for the playback thread to leave the output.

#include <mpg123.h>
#include <out123.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "vbmp3_api.h"

namespace vbmp3 {

class Player {
 public:
  Player();
  ~Player();
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  bool Open(const std::string& path, void* info);
  void Close();
  bool Reload();
  int32_t State();

  bool Play();
  bool Stop();
  bool Pause();
  bool Restart();

  int32_t PlaySamples();
  int32_t TotalSamples();
  bool SetPlaySamples(int64_t samples);
  // Samples per MPEG frame and per second of the open file; 0 when closed.
  int32_t FrameSamples();
  int32_t SampleRate();

  void SetVolume(int32_t left, int32_t right);
  void GetVolume(int32_t& left, int32_t& right);

  void SetCallback(Vbmp3Callback callback);
  void EnableCallback(bool enabled);

  bool SetFadeIn(int32_t milliseconds);
  bool SetFadeOut(int32_t milliseconds);
  bool FadeOut();

  // True on the playback thread (it must not free the player it runs in).
  bool OnPlaybackThread() const { return std::this_thread::get_id() == thread_.get_id(); }

 private:
  using Lock = std::unique_lock<std::mutex>;

  void Run();
  void WaitIdle(Lock& lock);
  bool OpenLocked(Lock& lock, const std::string& path, void* info);
  void CloseLocked(Lock& lock);
  bool StartLocked(Lock& lock);
  void StopLocked(Lock& lock);
  void StopOutput();
  void Rewind();
  // Scales the block by the volume and the fade; true when a fade-out has reached silence.
  bool ApplyGain(int16_t* samples, size_t frames);

  std::mutex mutex_;
  std::condition_variable changed_;
  std::thread thread_;
  bool quit_ = false;
  bool inOutput_ = false;

  mpg123_handle* decoder_ = nullptr;
  out123_handle* output_ = nullptr;
  bool outputOpen_ = false;
  bool outputStarted_ = false;
  bool dropPending_ = false;

  int32_t state_ = VBMP3_STATE_CLOSED;
  bool atEnd_ = false;
  std::string path_;
  long rate_ = 0;
  int32_t frameSamples_ = 0;
  int64_t total_ = 0;
  int64_t position_ = 0;
  // Bumped by every stop and seek: a block decoded before it is not counted as played.
  uint64_t generation_ = 0;

  int32_t volumeLeft_ = 99;
  int32_t volumeRight_ = 99;
  int32_t fadeInMs_ = 0;
  int32_t fadeOutMs_ = 0;
  double fade_ = 1.0;
  double fadeStep_ = 0.0;  // per sample; negative while fading out
  bool fadingOut_ = false;

  Vbmp3Callback callback_ = nullptr;
  bool callbackEnabled_ = true;
};

}  // namespace vbmp3

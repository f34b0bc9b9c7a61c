#include "player.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "mpeg_sniff.h"

namespace vbmp3 {
namespace {

constexpr int kChannels = 2;  // mono files are played as two equal channels
constexpr size_t kBytesPerFrame = kChannels * sizeof(int16_t);
// One block is about 26 ms at 44.1 kHz: short enough that a stop or a pause waits little for
// the playback thread, long enough to keep the thread mostly asleep in the output.
constexpr size_t kBlockFrames = 1152;
// The sound server's buffer, in seconds. It bounds how far the reported position runs ahead
// of what is heard and how long the last sound takes to drain.
constexpr double kDeviceBufferSeconds = 0.2;
// Bytes read to decide whether a file is MPEG audio: enough for a tag with a small picture.
constexpr size_t kSniffBytes = 256 * 1024;

bool ReadHead(const std::string& path, std::vector<uint8_t>& head, uint64_t& fileSize) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  fileSize = uint64_t(st.st_size);
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  head.resize(std::min<uint64_t>(fileSize, kSniffBytes));
  size_t got = std::fread(head.data(), 1, head.size(), f);
  std::fclose(f);
  head.resize(got);
  return true;
}

int32_t Clamp32(int64_t v) { return int32_t(std::clamp<int64_t>(v, 0, INT32_MAX)); }

}  // namespace

Player::Player() {
  mpg123_init();
  thread_ = std::thread([this] { Run(); });
}

Player::~Player() {
  {
    Lock lock(mutex_);
    CloseLocked(lock);
    quit_ = true;
  }
  changed_.notify_all();
  thread_.join();
  if (output_) out123_del(output_);
}

bool Player::Open(const std::string& path, void* info) {
  Lock lock(mutex_);
  return OpenLocked(lock, path, info);
}

bool Player::OpenLocked(Lock& lock, const std::string& path, void* info) {
  CloseLocked(lock);
  std::vector<uint8_t> head;
  uint64_t fileSize = 0;
  if (!ReadHead(path, head, fileSize) || !LooksLikeMpegAudio(head.data(), head.size(), fileSize)) {
    return false;
  }
  int err = MPG123_OK;
  mpg123_handle* mh = mpg123_new(nullptr, &err);
  if (!mh) return false;
  long rate = 0;
  int channels = 0;
  int encoding = 0;
  // Gapless decoding drops the encoder's delay and padding, so the length is the original's.
  // The output format is fixed at the file's first rate, always 16-bit stereo.
  bool ok = mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS | MPG123_FORCE_STEREO,
                         0) == MPG123_OK &&
            mpg123_open(mh, path.c_str()) == MPG123_OK &&
            mpg123_getformat(mh, &rate, &channels, &encoding) == MPG123_OK &&
            mpg123_format_none(mh) == MPG123_OK &&
            mpg123_format(mh, rate, MPG123_STEREO, MPG123_ENC_SIGNED_16) == MPG123_OK &&
            mpg123_scan(mh) == MPG123_OK;
  off_t length = ok ? mpg123_length(mh) : off_t(-1);
  if (!ok || length <= 0 || rate <= 0) {
    mpg123_delete(mh);  // closes the file too
    return false;
  }
  decoder_ = mh;
  path_ = path;
  rate_ = rate;
  frameSamples_ = mpg123_spf(mh) > 0 ? mpg123_spf(mh) : 1152;
  total_ = length;
  position_ = 0;
  atEnd_ = false;
  state_ = VBMP3_STATE_STOPPED;
  ++generation_;

  if (info) {
    Vbmp3Info block;
    std::memset(&block, 0, sizeof block);
    mpg123_frameinfo2 fi;
    if (mpg123_info2(mh, &fi) == MPG123_OK) {
      block.bitrate = fi.bitrate;
      block.layer = fi.layer;
      block.version = fi.version == MPG123_1_0 ? 10 : fi.version == MPG123_2_0 ? 20 : 25;
    }
    block.sampleRate = int32_t(rate);
    block.channels = channels == MPG123_MONO ? 1 : 2;
    block.totalSamples = Clamp32(total_);
    block.totalFrames = Clamp32((total_ + frameSamples_ - 1) / frameSamples_);
    block.lengthMs = Clamp32(total_ * 1000 / rate);
    std::memcpy(info, &block, sizeof block);
  }
  return true;
}

void Player::Close() {
  Lock lock(mutex_);
  CloseLocked(lock);
}

void Player::CloseLocked(Lock& lock) {
  if (state_ == VBMP3_STATE_CLOSED) return;
  StopLocked(lock);
  mpg123_delete(decoder_);
  decoder_ = nullptr;
  path_.clear();
  state_ = VBMP3_STATE_CLOSED;
  rate_ = 0;
  frameSamples_ = 0;
  total_ = 0;
  position_ = 0;
  atEnd_ = false;
}

bool Player::Reload() {
  Lock lock(mutex_);
  if (state_ == VBMP3_STATE_CLOSED) return false;
  std::string path = path_;
  int32_t state = state_;
  int64_t position = position_;
  if (!OpenLocked(lock, path, nullptr)) return false;
  position_ = mpg123_seek(decoder_, off_t(std::min(position, total_)), SEEK_SET);
  if (position_ < 0) position_ = 0;
  if (state == VBMP3_STATE_PLAYING) return StartLocked(lock);
  if (state == VBMP3_STATE_PAUSED) state_ = VBMP3_STATE_PAUSED;  // the output starts on resume
  return true;
}

int32_t Player::State() {
  Lock lock(mutex_);
  return state_;
}

bool Player::Play() {
  Lock lock(mutex_);
  switch (state_) {
    case VBMP3_STATE_PLAYING:
      return true;
    case VBMP3_STATE_PAUSED:
    case VBMP3_STATE_STOPPED:
      return StartLocked(lock);
    default:
      return false;
  }
}

bool Player::Restart() {
  Lock lock(mutex_);
  if (state_ == VBMP3_STATE_PLAYING) return true;
  if (state_ != VBMP3_STATE_PAUSED) return false;
  return StartLocked(lock);
}

bool Player::StartLocked(Lock& lock) {
  WaitIdle(lock);
  if (state_ == VBMP3_STATE_STOPPED) {
    if (atEnd_ || position_ >= total_) Rewind();
    fadingOut_ = false;
    fade_ = fadeInMs_ > 0 ? 0.0 : 1.0;
    fadeStep_ = fadeInMs_ > 0 ? 1000.0 / (double(fadeInMs_) * double(rate_)) : 0.0;
  }
  if (!output_) {
    output_ = out123_new();
    if (!output_) return false;
    out123_param_int(output_, OUT123_FLAGS, OUT123_QUIET);
    out123_param_float(output_, OUT123_DEVICEBUFFER, kDeviceBufferSeconds);
  }
  if (!outputOpen_) {
    // No driver or device name: libout123's default driver on the sound server's default
    // output.
    outputOpen_ = out123_open(output_, nullptr, nullptr) == 0;
    if (!outputOpen_) return false;
  }
  if (outputStarted_) {
    if (dropPending_) out123_drop(output_);
    dropPending_ = false;
    out123_continue(output_);
  } else {
    if (out123_start(output_, rate_, kChannels, MPG123_ENC_SIGNED_16) != 0) return false;
    outputStarted_ = true;
    dropPending_ = false;
  }
  state_ = VBMP3_STATE_PLAYING;
  changed_.notify_all();
  return true;
}

bool Player::Stop() {
  Lock lock(mutex_);
  StopLocked(lock);
  return true;
}

void Player::StopLocked(Lock& lock) {
  if (state_ == VBMP3_STATE_CLOSED) return;
  state_ = VBMP3_STATE_STOPPED;
  ++generation_;
  WaitIdle(lock);
  StopOutput();
  Rewind();
  fadingOut_ = false;
}

void Player::StopOutput() {
  if (!outputStarted_) return;
  out123_drop(output_);
  out123_stop(output_);
  outputStarted_ = false;
  dropPending_ = false;
}

void Player::Rewind() {
  off_t at = mpg123_seek(decoder_, 0, SEEK_SET);
  position_ = at > 0 ? at : 0;
  atEnd_ = false;
  ++generation_;
}

bool Player::Pause() {
  Lock lock(mutex_);
  if (state_ == VBMP3_STATE_PAUSED) return true;
  if (state_ != VBMP3_STATE_PLAYING) return false;
  state_ = VBMP3_STATE_PAUSED;
  WaitIdle(lock);
  if (outputStarted_) {
    if (dropPending_) out123_drop(output_);
    dropPending_ = false;
    out123_pause(output_);
  }
  return true;
}

int32_t Player::PlaySamples() {
  Lock lock(mutex_);
  return Clamp32(std::min(position_, total_));
}

int32_t Player::TotalSamples() {
  Lock lock(mutex_);
  return Clamp32(total_);
}

bool Player::SetPlaySamples(int64_t samples) {
  Lock lock(mutex_);
  if (state_ == VBMP3_STATE_CLOSED || samples < 0) return false;
  off_t at = mpg123_seek(decoder_, off_t(std::min(samples, total_)), SEEK_SET);
  if (at < 0) return false;
  position_ = at;
  atEnd_ = false;
  ++generation_;
  // What the output still holds belongs to the old place.
  if (outputStarted_) dropPending_ = true;
  return true;
}

int32_t Player::FrameSamples() {
  Lock lock(mutex_);
  return frameSamples_;
}

int32_t Player::SampleRate() {
  Lock lock(mutex_);
  return int32_t(rate_);
}

void Player::SetVolume(int32_t left, int32_t right) {
  Lock lock(mutex_);
  volumeLeft_ = std::clamp(left, 0, 99);
  volumeRight_ = std::clamp(right, 0, 99);
}

void Player::GetVolume(int32_t& left, int32_t& right) {
  Lock lock(mutex_);
  left = volumeLeft_;
  right = volumeRight_;
}

void Player::SetCallback(Vbmp3Callback callback) {
  Lock lock(mutex_);
  callback_ = callback;
}

void Player::EnableCallback(bool enabled) {
  Lock lock(mutex_);
  callbackEnabled_ = enabled;
}

bool Player::SetFadeIn(int32_t milliseconds) {
  if (milliseconds < 0) return false;
  Lock lock(mutex_);
  fadeInMs_ = milliseconds;
  return true;
}

bool Player::SetFadeOut(int32_t milliseconds) {
  if (milliseconds < 0) return false;
  Lock lock(mutex_);
  fadeOutMs_ = milliseconds;
  return true;
}

bool Player::FadeOut() {
  Lock lock(mutex_);
  if (state_ != VBMP3_STATE_PLAYING) return false;
  if (fadeOutMs_ == 0) {
    StopLocked(lock);
    return true;
  }
  fadingOut_ = true;
  fadeStep_ = -1000.0 / (double(fadeOutMs_) * double(rate_));
  return true;
}

void Player::WaitIdle(Lock& lock) {
  changed_.wait(lock, [this] { return !inOutput_; });
}

bool Player::ApplyGain(int16_t* samples, size_t frames) {
  const double left = volumeLeft_ / 99.0;
  const double right = volumeRight_ / 99.0;
  if (left == 1.0 && right == 1.0 && fade_ == 1.0 && fadeStep_ == 0.0) return false;
  bool silent = false;
  for (size_t i = 0; i < frames; ++i) {
    if (fadeStep_ != 0.0) {
      fade_ = std::clamp(fade_ + fadeStep_, 0.0, 1.0);
      if (fade_ == 1.0) fadeStep_ = 0.0;
      if (fade_ == 0.0 && fadingOut_) silent = true;
    }
    samples[2 * i] = int16_t(samples[2 * i] * left * fade_);
    samples[2 * i + 1] = int16_t(samples[2 * i + 1] * right * fade_);
  }
  return silent;
}

void Player::Run() {
  std::vector<unsigned char> block(kBlockFrames * kBytesPerFrame);
  Lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return quit_ || state_ == VBMP3_STATE_PLAYING; });
    if (quit_) return;
    if (dropPending_) {
      dropPending_ = false;
      inOutput_ = true;
      lock.unlock();
      out123_drop(output_);
      lock.lock();
      inOutput_ = false;
      changed_.notify_all();
      continue;
    }

    size_t bytes = 0;
    int err = mpg123_read(decoder_, block.data(), block.size(), &bytes);
    const uint64_t generation = generation_;
    // Anything but more data is the end of what can be played: the end of the file, or a
    // damaged or truncated tail after which the decoder gives up.
    const bool ended = err != MPG123_OK && err != MPG123_NEW_FORMAT;
    const size_t frames = bytes / kBytesPerFrame;
    if (frames > 0) {
      const bool silent = ApplyGain(reinterpret_cast<int16_t*>(block.data()), frames);
      inOutput_ = true;
      lock.unlock();
      out123_play(output_, block.data(), frames * kBytesPerFrame);
      lock.lock();
      inOutput_ = false;
      changed_.notify_all();
      if (generation == generation_) position_ += int64_t(frames);
      if (silent && generation == generation_ && state_ == VBMP3_STATE_PLAYING) {
        StopLocked(lock);
        continue;
      }
    }
    if (!ended || generation != generation_ || state_ != VBMP3_STATE_PLAYING) continue;

    // Let the last sound come out before the end is reported.
    inOutput_ = true;
    lock.unlock();
    out123_drain(output_);
    lock.lock();
    inOutput_ = false;
    changed_.notify_all();
    if (generation != generation_ || state_ != VBMP3_STATE_PLAYING) continue;
    state_ = VBMP3_STATE_STOPPED;
    atEnd_ = true;
    position_ = std::max(position_, total_);
    StopOutput();
    Vbmp3Callback callback = callbackEnabled_ ? callback_ : nullptr;
    if (callback) {
      lock.unlock();
      callback(VBMP3_EVENT_END, 0);
      lock.lock();
    }
  }
}

}  // namespace vbmp3

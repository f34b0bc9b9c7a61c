#pragma once
// One file open in the GStreamer backend: a pipeline of its own that decodes the file with
// whatever plugins are installed and plays it on the backend's output device:
//   filesrc ! decodebin ! audioconvert ! audioresample ! volume ! <the device's sink>
// Every call is made on the user-interface thread. The pipeline's end of stream and errors
// become pending events of the media; each one is announced to the backend's owner with a
// posted AppMessage::MediaEvents whose payload is the media.

#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

#include "playback/backends.h"

typedef struct _GstElement GstElement;
typedef struct _GstBus GstBus;
typedef struct _GstMessage GstMessage;
typedef struct _GstPad GstPad;

class CDShow;

namespace playback {

// The volume in hundredths of a decibel for the program's 0 to 10000 scale: 1000 × log2(v ÷
// 10000) truncated toward zero and limited to −10000 to 0; −10000 for 0 and less.
int HundredthsOfDecibel(int volume);
// The linear gain of the volume element for hundredths of a decibel: 10^(dB ÷ 20); −10000 (and
// less) is silence, 0.
double LinearGain(int hundredthsOfDecibel);

}  // namespace playback

class CMedia : public IMedia {
 public:
  // `serial` identifies the media in the backend's notifications; it is never reused.
  CMedia(CDShow* backend, const QString& fileName, const QString& alias, std::uint64_t serial);
  ~CMedia() override;
  CMedia(const CMedia&) = delete;
  CMedia& operator=(const CMedia&) = delete;

  // Builds the pipeline on the backend's device and waits (bounded) until it has prerolled at
  // position 0 with full volume. False when the file cannot be decoded, the device has no
  // sink or the preroll does not finish in time; the media is then not ready.
  bool BuildGraph();

  bool Play() override;
  bool Stop() override;
  bool Pause() override;
  bool SetVolume(int volume) override;
  bool SetBalance(int balance) override;
  bool SetPosition(double seconds) override;
  bool GetPosition(double& seconds) override;
  double Length() const override { return length_; }
  QString FileName() const override { return fileName_; }
  bool SwitchRenderer() override;
  bool NextEvent(bool& complete) override;

  // Drops the media's pending events.
  bool DrainMessages();

  QString Alias() const { return alias_; }
  bool Ready() const { return ready_; }
  bool IsPlaying() const { return playing_; }
  // The stream has played to its end (until the next seek or stop).
  bool Ended() const { return ended_.load(); }
  // The pipeline reported an error since it was built (for instance, its device went away).
  bool Failed() const { return failed_.load(); }
  // The linear gain now on the volume element; 0 when there is no pipeline.
  double OutputGain() const;
  int Index() const { return index_; }
  void SetIndex(int index) { index_ = index; }
  std::uint64_t Serial() const { return serial_; }

 private:
  static int OnBusMessage(GstBus* bus, GstMessage* message, void* self);
  static void OnPadAdded(GstElement* decoder, GstPad* pad, void* self);
  static void OnNoMorePads(GstElement* decoder, void* self);
  void HandleBusMessage(GstMessage* message);
  void PushEvent(bool complete);
  void Teardown();
  // Waits until a pending state change or seek has finished; false on error or time-out.
  bool WaitSettled(int timeoutMs);
  bool Seek(double seconds);
  void ApplyGain(double gain);

  CDShow* backend_;
  QString fileName_;
  QString alias_;
  std::uint64_t serial_;
  int index_ = -1;

  GstElement* pipeline_ = nullptr;
  GstElement* convert_ = nullptr;  // where the decoder's audio pad is linked
  GstElement* volume_ = nullptr;

  bool ready_ = false;
  bool playing_ = false;
  int volume_setting_ = 0;
  int balance_ = 0;
  double length_ = 0.0;
  double last_position_ = 0.0;

  // Written by the streaming threads through the bus handler.
  std::atomic<bool> ended_{false};
  std::atomic<bool> failed_{false};
  std::atomic<bool> announce_{false};  // events are queued and announced once the build is done
  std::mutex mutex_;
  std::condition_variable settled_;
  bool audio_linked_ = false;  // guarded by mutex_
  bool no_audio_ = false;      // guarded by mutex_
  bool async_done_ = false;    // guarded by mutex_
  bool error_ = false;         // guarded by mutex_
  std::deque<bool> events_;    // guarded by mutex_; true for the end of stream
};

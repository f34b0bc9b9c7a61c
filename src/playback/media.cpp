#include "playback/media.h"

#include <gst/gst.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

#include "playback/devices.h"
#include "playback/dshow.h"

namespace playback {

int HundredthsOfDecibel(int volume) {
  if (volume <= 0) return -10000;
  const double db = std::trunc(1000.0 * std::log(volume * 0.0001) / std::log(2.0));
  return static_cast<int>(std::clamp(db, -10000.0, 0.0));
}

double LinearGain(int hundredthsOfDecibel) {
  if (hundredthsOfDecibel <= -10000) return 0.0;
  return std::pow(10.0, hundredthsOfDecibel / 2000.0);
}

}  // namespace playback

namespace {

// A damaged file fails at once; this bound is only for a pipeline that hangs (a loaded
// machine needs a few hundred milliseconds for a preroll at most).
constexpr int kPrerollTimeoutMs = 10000;
constexpr int kSeekTimeoutMs = 5000;

constexpr double kNanoseconds = 1e9;

// The length of a stream whose header does not state it (an MP3 file without a Xing or VBRI
// header): the parser converts the file size by the bit rate of the frames it has seen. 0 when
// there is no parser that can.
gint64 DurationFromParser(GstElement* pipeline, qint64 fileSize) {
  gint64 duration = 0;
  GstIterator* it = gst_bin_iterate_recurse(GST_BIN(pipeline));
  GValue item = G_VALUE_INIT;
  while (duration <= 0 && gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
    auto* element = GST_ELEMENT(g_value_get_object(&item));
    const gchar* klass =
        gst_element_class_get_metadata(GST_ELEMENT_GET_CLASS(element), GST_ELEMENT_METADATA_KLASS);
    gint64 converted = 0;
    if (klass != nullptr && std::strstr(klass, "Parser") != nullptr &&
        gst_element_query_convert(element, GST_FORMAT_BYTES, fileSize, GST_FORMAT_TIME,
                                  &converted)) {
      duration = converted;
    }
    g_value_reset(&item);
  }
  g_value_unset(&item);
  gst_iterator_free(it);
  return duration;
}

}  // namespace

CMedia::CMedia(CDShow* backend, const QString& fileName, const QString& alias, std::uint64_t serial)
    : backend_(backend), fileName_(fileName), alias_(alias), serial_(serial) {}

CMedia::~CMedia() {
  Teardown();
  DrainMessages();
}

bool CMedia::BuildGraph() {
  Teardown();
  ready_ = false;
  length_ = 0.0;
  last_position_ = 0.0;
  ended_ = false;
  failed_ = false;
  {
    std::lock_guard lock(mutex_);
    audio_linked_ = false;
    no_audio_ = false;
    error_ = false;
  }
  if (!playback::EnsureGStreamer()) return false;

  GstElement* sink = playback::CreateAudioRenderer(backend_->DeviceName());
  if (sink == nullptr) return false;
  pipeline_ = gst_pipeline_new(nullptr);
  GstElement* source = gst_element_factory_make("filesrc", nullptr);
  GstElement* decoder = gst_element_factory_make("decodebin", nullptr);
  convert_ = gst_element_factory_make("audioconvert", nullptr);
  GstElement* resample = gst_element_factory_make("audioresample", nullptr);
  volume_ = gst_element_factory_make("volume", nullptr);
  GstElement* parts[] = {source, decoder, convert_, resample, volume_, sink};
  for (GstElement* part : parts) {
    if (part == nullptr) {
      for (GstElement* p : parts) {
        if (p != nullptr) gst_object_unref(p);
      }
      gst_object_unref(pipeline_);
      pipeline_ = convert_ = volume_ = nullptr;
      return false;
    }
    gst_bin_add(GST_BIN(pipeline_), part);
  }
  g_object_set(source, "location", QFile::encodeName(fileName_).constData(), nullptr);
  if (!gst_element_link(source, decoder) ||
      !gst_element_link_many(convert_, resample, volume_, sink, nullptr)) {
    Teardown();
    return false;
  }
  g_signal_connect(decoder, "pad-added", G_CALLBACK(&CMedia::OnPadAdded), this);
  g_signal_connect(decoder, "no-more-pads", G_CALLBACK(&CMedia::OnNoMorePads), this);
  GstBus* bus = gst_pipeline_get_bus(GST_PIPELINE(pipeline_));
  gst_bus_set_sync_handler(bus, reinterpret_cast<GstBusSyncHandler>(&CMedia::OnBusMessage), this,
                           nullptr);
  gst_object_unref(bus);
  ApplyGain(1.0);

  if (gst_element_set_state(pipeline_, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE ||
      !WaitSettled(kPrerollTimeoutMs)) {
    Teardown();
    return false;
  }
  gint64 duration = 0;
  if ((gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &duration) && duration > 0) ||
      (duration = DurationFromParser(pipeline_, QFileInfo(fileName_).size())) > 0) {
    length_ = duration / kNanoseconds;
  }
  ready_ = true;
  announce_ = true;
  return true;
}

bool CMedia::Play() {
  if (pipeline_ == nullptr) {
    // The device was lost in a switch: try again on the backend's device, where it stopped.
    const double resumeAt = last_position_;
    if (!BuildGraph()) {
      last_position_ = resumeAt;
      return false;
    }
    if (resumeAt > 0.0) SetPosition(resumeAt);
  }
  if (failed_) return false;
  if (gst_element_set_state(pipeline_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
    return false;
  }
  playing_ = true;
  SetVolume(volume_setting_);
  SetBalance(balance_);
  return true;
}

bool CMedia::Stop() {
  if (pipeline_ == nullptr) return false;
  ApplyGain(0.0);
  // Back to the start by a new preroll rather than a flushing seek right after the pause: on a
  // busy machine the next play then sometimes stood still at 0, its sink never running again.
  // Going through READY closes the sink's stream; the preroll opens a new one.
  if (gst_element_set_state(pipeline_, GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) {
    return false;
  }
  playing_ = false;
  ended_ = false;
  last_position_ = 0.0;
  {
    // The decoder offers its stream again, to be linked as at the first preroll.
    std::lock_guard lock(mutex_);
    audio_linked_ = false;
    no_audio_ = false;
  }
  if (gst_element_set_state(pipeline_, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE ||
      !WaitSettled(kPrerollTimeoutMs)) {
    return false;
  }
  return true;
}

bool CMedia::Pause() {
  if (pipeline_ == nullptr) return false;
  ApplyGain(0.0);
  if (gst_element_set_state(pipeline_, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
    return false;
  }
  playing_ = false;
  WaitSettled(kSeekTimeoutMs);
  double position = 0.0;
  GetPosition(position);
  return true;
}

bool CMedia::SetVolume(int volume) {
  volume_setting_ = volume;
  if (!ready_ || volume_ == nullptr) return false;
  ApplyGain(playback::LinearGain(playback::HundredthsOfDecibel(volume)));
  return true;
}

bool CMedia::SetBalance(int balance) {
  // The program always centres the sound; the value is kept for a rebuilt pipeline.
  balance_ = balance;
  return ready_;
}

bool CMedia::SetPosition(double seconds) {
  if (pipeline_ == nullptr) return false;
  seconds = std::max(seconds, 0.0);
  if (length_ > 0.0) seconds = std::min(seconds, length_);
  ended_ = false;
  last_position_ = seconds;
  Seek(seconds);
  return true;
}

bool CMedia::GetPosition(double& seconds) {
  if (ended_) {
    // The end of stream is exactly the length, so that the end check of the transport holds.
    last_position_ = length_;
  } else if (pipeline_ != nullptr) {
    gint64 position = 0;
    if (gst_element_query_position(pipeline_, GST_FORMAT_TIME, &position) && position >= 0) {
      last_position_ = position / kNanoseconds;
      if (length_ > 0.0) last_position_ = std::min(last_position_, length_);
    }
  }
  seconds = last_position_;
  return true;
}

bool CMedia::SwitchRenderer() {
  if (!ready_) return true;
  double position = 0.0;
  GetPosition(position);
  const bool wasPlaying = playing_;
  const bool wasEnded = ended_;
  const double gain = OutputGain();
  if (!BuildGraph()) {
    // Silent until another device is chosen or the transport plays it again; the position
    // stays where it was.
    last_position_ = position;
    return false;
  }
  if (wasEnded) {
    ended_ = true;  // no second end of stream for a track that has already ended
  } else if (position > 0.0) {
    SetPosition(position);
  }
  ApplyGain(gain);
  playing_ = wasPlaying;
  if (wasPlaying && !wasEnded &&
      gst_element_set_state(pipeline_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
    return false;
  }
  return true;
}

bool CMedia::NextEvent(bool& complete) {
  std::lock_guard lock(mutex_);
  if (events_.empty()) return false;
  complete = events_.front();
  events_.pop_front();
  return true;
}

bool CMedia::DrainMessages() {
  std::lock_guard lock(mutex_);
  events_.clear();
  return true;
}

double CMedia::OutputGain() const {
  if (volume_ == nullptr) return 0.0;
  gdouble gain = 0.0;
  g_object_get(volume_, "volume", &gain, nullptr);
  return gain;
}

int CMedia::OnBusMessage(GstBus*, GstMessage* message, void* self) {
  static_cast<CMedia*>(self)->HandleBusMessage(message);
  // Nobody pops this bus: everything is handled here, on the thread that posted it.
  gst_message_unref(message);
  return GST_BUS_DROP;
}

void CMedia::HandleBusMessage(GstMessage* message) {
  switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
      ended_ = true;
      if (announce_) PushEvent(true);
      break;
    case GST_MESSAGE_ERROR: {
      failed_ = true;
      {
        std::lock_guard lock(mutex_);
        error_ = true;
      }
      if (announce_) PushEvent(false);
      break;
    }
    default:
      break;
  }
}

void CMedia::OnPadAdded(GstElement*, GstPad* pad, void* self) {
  auto* media = static_cast<CMedia*>(self);
  GstCaps* caps = gst_pad_get_current_caps(pad);
  if (caps == nullptr) caps = gst_pad_query_caps(pad, nullptr);
  const bool audio =
      caps != nullptr && gst_caps_get_size(caps) > 0 &&
      g_str_has_prefix(gst_structure_get_name(gst_caps_get_structure(caps, 0)), "audio/");
  if (caps != nullptr) gst_caps_unref(caps);
  if (!audio) return;
  {
    std::lock_guard lock(media->mutex_);
    if (media->audio_linked_) return;  // the first audio stream plays
    media->audio_linked_ = true;
  }
  // Linked outside the lock: a failing link posts its error to the bus on this thread.
  GstPad* target = gst_element_get_static_pad(media->convert_, "sink");
  const bool linked = gst_pad_link(pad, target) == GST_PAD_LINK_OK;
  gst_object_unref(target);
  if (!linked) {
    std::lock_guard lock(media->mutex_);
    media->audio_linked_ = false;
  }
}

void CMedia::OnNoMorePads(GstElement*, void* self) {
  auto* media = static_cast<CMedia*>(self);
  std::lock_guard lock(media->mutex_);
  if (!media->audio_linked_) media->no_audio_ = true;
}

void CMedia::PushEvent(bool complete) {
  {
    std::lock_guard lock(mutex_);
    events_.push_back(complete);
  }
  backend_->Announce(serial_);
}

void CMedia::Teardown() {
  announce_ = false;
  ready_ = false;
  if (pipeline_ == nullptr) return;
  // Going to NULL joins the streaming threads, so no bus message of this pipeline comes later.
  gst_element_set_state(pipeline_, GST_STATE_NULL);
  GstBus* bus = gst_pipeline_get_bus(GST_PIPELINE(pipeline_));
  gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
  gst_object_unref(bus);
  gst_object_unref(pipeline_);
  pipeline_ = convert_ = volume_ = nullptr;
}

bool CMedia::WaitSettled(int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  // Short waits, so that an error or a file without audio ends the wait at once instead of
  // leaving the state change pending until the deadline.
  while (true) {
    {
      std::lock_guard lock(mutex_);
      if (error_ || no_audio_) return false;
    }
    const GstStateChangeReturn r =
        gst_element_get_state(pipeline_, nullptr, nullptr, 20 * GST_MSECOND);
    if (r == GST_STATE_CHANGE_SUCCESS || r == GST_STATE_CHANGE_NO_PREROLL) {
      std::lock_guard lock(mutex_);
      return !error_;
    }
    if (r == GST_STATE_CHANGE_FAILURE || Clock::now() >= deadline) return false;
  }
}

bool CMedia::Seek(double seconds) {
  const auto target = static_cast<gint64>(std::llround(seconds * kNanoseconds));
  if (!gst_element_seek_simple(
          pipeline_, GST_FORMAT_TIME,
          static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), target)) {
    return false;
  }
  return WaitSettled(kSeekTimeoutMs);
}

void CMedia::ApplyGain(double gain) {
  if (volume_ != nullptr) g_object_set(volume_, "volume", gain, nullptr);
}

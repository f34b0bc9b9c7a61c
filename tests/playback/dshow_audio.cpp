#include "playback/dshow_audio.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <cmath>

#include "playback/devices.h"

namespace dshow_testing {

bool HaveTestAudio() { return !qEnvironmentVariableIsEmpty("PULSE_SERVER"); }

bool WriteTone(const QString& path, const char* encoder, double seconds) {
  if (!playback::EnsureGStreamer()) return false;
  const int buffers = static_cast<int>(std::lround(seconds * 10));
  const QString description =
      QStringLiteral(
          "audiotestsrc wave=sine freq=440 volume=0.5 samplesperbuffer=4410 num-buffers=%1 ! "
          "audio/x-raw,rate=44100,channels=2 ! audioconvert ! %2 ! filesink location=\"%3\"")
          .arg(buffers)
          .arg(QString::fromLatin1(encoder), path);
  GstElement* pipeline = gst_parse_launch(description.toUtf8().constData(), nullptr);
  if (pipeline == nullptr) return false;
  gst_element_set_state(pipeline, GST_STATE_PLAYING);
  GstBus* bus = gst_element_get_bus(pipeline);
  GstMessage* message = gst_bus_timed_pop_filtered(
      bus, 30 * GST_SECOND, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
  const bool ok = message != nullptr && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
  if (message != nullptr) gst_message_unref(message);
  gst_object_unref(bus);
  gst_element_set_state(pipeline, GST_STATE_NULL);
  gst_object_unref(pipeline);
  return ok && QFile(path).size() > 0;
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
  return true;
}

LevelProbe::LevelProbe(const char* source) {
  playback::EnsureGStreamer();
  const QString description =
      QStringLiteral("pulsesrc device=%1 ! level interval=50000000 ! fakesink sync=false")
          .arg(QString::fromLatin1(source));
  pipeline_ = gst_parse_launch(description.toUtf8().constData(), nullptr);
  if (pipeline_ != nullptr &&
      gst_element_set_state(pipeline_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
    gst_object_unref(pipeline_);
    pipeline_ = nullptr;
  }
}

LevelProbe::~LevelProbe() {
  if (pipeline_ == nullptr) return;
  gst_element_set_state(pipeline_, GST_STATE_NULL);
  gst_object_unref(pipeline_);
}

double LevelProbe::MaxPeakDb() {
  if (pipeline_ == nullptr) return max_peak_db_;
  GstBus* bus = gst_element_get_bus(pipeline_);
  while (GstMessage* message = gst_bus_pop_filtered(bus, GST_MESSAGE_ELEMENT)) {
    const GstStructure* s = gst_message_get_structure(message);
    const GValue* peaks = s != nullptr && gst_structure_has_name(s, "level")
                              ? gst_structure_get_value(s, "peak")
                              : nullptr;
    if (peaks != nullptr) {
      const GValueArray* array = static_cast<const GValueArray*>(g_value_get_boxed(peaks));
      G_GNUC_BEGIN_IGNORE_DEPRECATIONS
      for (guint i = 0; array != nullptr && i < array->n_values; ++i) {
        max_peak_db_ =
            std::max(max_peak_db_,
                     g_value_get_double(g_value_array_get_nth(const_cast<GValueArray*>(array), i)));
      }
      G_GNUC_END_IGNORE_DEPRECATIONS
    }
    gst_message_unref(message);
  }
  gst_object_unref(bus);
  return max_peak_db_;
}

}  // namespace dshow_testing

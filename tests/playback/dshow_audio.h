#pragma once
// Helpers for the tests that play through the private sound server of the test command:
// generated tone files, waiting while events are processed, and a level probe on a sink's
// monitor source.

#include <gst/gst.h>

#include <QString>
#include <functional>

namespace dshow_testing {

// True when the private sound server of scripts/with-test-audio is there.
bool HaveTestAudio();

// Writes `seconds` of a 440 Hz tone through `encoder` ("flacenc", "wavenc", "lamemp3enc").
bool WriteTone(const QString& path, const char* encoder, double seconds);

// Processes events until `done` holds or `timeoutMs` passes; returns `done()`.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs);

// Records the loudest peak on a PulseAudio source while it runs.
class LevelProbe {
 public:
  explicit LevelProbe(const char* source);
  ~LevelProbe();
  bool Started() const { return pipeline_ != nullptr; }
  // Reads the level messages so far; the loudest peak in dB (−1000 before any).
  double MaxPeakDb();

 private:
  GstElement* pipeline_ = nullptr;
  double max_peak_db_ = -1000.0;
};

}  // namespace dshow_testing

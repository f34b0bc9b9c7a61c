#include "playback/devices.h"

#include <gst/gst.h>
#include <gtest/gtest.h>

#include "playback/dshow.h"
#include "playback/dshow_audio.h"

namespace {

const QString kDirectSound = QString::fromLatin1(playback::kDefaultDirectSoundDevice);
const QString kWaveOut = QString::fromLatin1(playback::kDefaultWaveOutDevice);

struct ListCase {
  QStringList sinks;
  QStringList expected;
};

class OutputDeviceNamesTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(OutputDeviceNamesTest, PutsTheDefaultsFirstOrNoneAlone) {
  EXPECT_EQ(playback::OutputDeviceNames(GetParam().sinks), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, OutputDeviceNamesTest,
    ::testing::Values(ListCase{{}, {QStringLiteral("なし")}},
                      ListCase{{"Speakers"}, {kDirectSound, kWaveOut, "Speakers"}},
                      // Same names stay, in enumeration order.
                      ListCase{{"B", "A", "B"}, {kDirectSound, kWaveOut, "B", "A", "B"}}));

TEST(EnumerateDevices, ListsTheDefaultsThenTheSoundServersSinks) {
  if (!dshow_testing::HaveTestAudio()) GTEST_SKIP() << "needs scripts/with-test-audio";
  CDShow dshow;
  QStringList names{"stale"};
  EXPECT_TRUE(dshow.EnumerateDevices(names));
  EXPECT_EQ(names, (QStringList{kDirectSound, kWaveOut, "Test Output A", "Test Output B"}));
}

struct RendererCase {
  const char* name;
  const char* factory;  // nullptr: no renderer
  const char* device;   // the sink's device property; nullptr for none
};

class CreateAudioRendererTest : public ::testing::TestWithParam<RendererCase> {};

TEST_P(CreateAudioRendererTest, MakesTheSinkOfTheNamedDevice) {
  if (!dshow_testing::HaveTestAudio()) GTEST_SKIP() << "needs scripts/with-test-audio";
  const RendererCase& c = GetParam();
  GstElement* sink = playback::CreateAudioRenderer(QString::fromUtf8(c.name));
  const bool factoryExists = c.factory != nullptr && gst_element_factory_find(c.factory) != nullptr;
  if (!factoryExists) {
    EXPECT_EQ(sink, nullptr);
    return;
  }
  ASSERT_NE(sink, nullptr);
  gst_object_ref_sink(sink);
  EXPECT_STREQ(GST_OBJECT_NAME(gst_element_get_factory(sink)), c.factory);
  gchar* device = nullptr;
  g_object_get(sink, "device", &device, nullptr);
  EXPECT_STREQ(device, c.device);
  g_free(device);
  gst_object_unref(sink);
}

INSTANTIATE_TEST_SUITE_P(
    Names, CreateAudioRendererTest,
    ::testing::Values(RendererCase{"Test Output A", "pulsesink", "test_a"},
                      RendererCase{"Test Output B", "pulsesink", "test_b"},
                      RendererCase{"Default DirectSound Device", "pulsesink", nullptr},
                      // ALSA's default; without GStreamer's ALSA plugin there is none.
                      RendererCase{"Default WaveOut Device", "alsasink", "default"},
                      // Names compare exactly.
                      RendererCase{"test output a", nullptr, nullptr},
                      RendererCase{"No Such Device", nullptr, nullptr},
                      RendererCase{"なし", nullptr, nullptr}));

}  // namespace

// libvbmp3.so on its own: the entry points the program does not call, and the component's
// answers in the states the wrapper never puts it in.

#include <gtest/gtest.h>

#include <QFile>
#include <atomic>

#include "platform/codepage.h"
#include "vbmp3_fixture.h"

using vbmp3_testing::Component;
using vbmp3_testing::Fixtures;
using vbmp3_testing::WaitUntil;

namespace {

std::atomic<int> g_ends{0};
int32_t CountEnds(int32_t code, int32_t) {
  if (code == 4) ++g_ends;
  return 0;
}

// Field offsets of the block vbmp3_open fills in.
struct Info {
  int32_t sampleRate, channels, totalSamples, totalFrames, bitrate, layer, version, lengthMs;
  char reserved[240];
};
static_assert(sizeof(Info) == 272);

class Vbmp3ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(c.Loaded());
    g_ends = 0;
    c.Call("vbmp3_init");
    c.Get<int32_t (*)(int32_t(*)(int32_t, int32_t))>("vbmp3_callback")(&CountEnds);
  }
  void TearDown() override { c.Call("vbmp3_free"); }
  int32_t Samples() const { return c.Call("vbmp3_getPlaySamples"); }

  Component c;
};

TEST_F(Vbmp3ComponentTest, AnswersSensiblyWithNothingOpen) {
  struct Case {
    const char* name;
    int32_t result;
  } cases[] = {
      {"vbmp3_getState", 0},        {"vbmp3_play", 0},          {"vbmp3_pause", 0},
      {"vbmp3_restart", 0},         {"vbmp3_stop", 1},          {"vbmp3_close", 1},
      {"vbmp3_reload", 0},          {"vbmp3_fadeOut", 0},       {"vbmp3_getPlaySamples", 0},
      {"vbmp3_getTotalSamples", 0}, {"vbmp3_getPlayFlames", 0}, {"vbmp3_getPitch", 100},
      {"vbmp3_getStepPitch", 0}};
  for (const Case& k : cases) EXPECT_EQ(c.Call(k.name), k.result) << k.name;
  EXPECT_EQ(c.Call("vbmp3_setPlaySamples", 0), 0);
  EXPECT_EQ(c.Call("vbmp3_seek", 0), 0);
  EXPECT_EQ(c.Get<int32_t (*)(int32_t*, int32_t*)>("vbmp3_getVolume")(nullptr, nullptr), 0);
}

TEST_F(Vbmp3ComponentTest, PitchIsFixed) {
  struct Case {
    const char* name;
    int32_t value;
    int32_t result;
  } cases[] = {{"vbmp3_setPitch", 100, 1},   {"vbmp3_setPitch", 50, 0},
               {"vbmp3_setPitch", 0, 0},     {"vbmp3_setStepPitch", 0, 1},
               {"vbmp3_setStepPitch", 3, 0}, {"vbmp3_setFadeIn", -1, 0},
               {"vbmp3_setFadeOut", -1, 0}};
  for (const Case& k : cases) EXPECT_EQ(c.Call(k.name, k.value), k.result) << k.name << k.value;
  EXPECT_EQ(c.Call("vbmp3_getPitch"), 100);
}

TEST_F(Vbmp3ComponentTest, OpenFillsTheInfoBlock) {
  Info info;
  std::memset(&info, 0x55, sizeof info);
  ASSERT_EQ(c.OpenW(Fixtures::Get().OneSecond(), &info), 1);
  EXPECT_EQ(info.sampleRate, 44100);
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.totalSamples, c.Call("vbmp3_getTotalSamples"));
  EXPECT_EQ(info.totalFrames, (info.totalSamples + 1151) / 1152);
  EXPECT_EQ(info.bitrate, 128);
  EXPECT_EQ(info.layer, 3);
  EXPECT_EQ(info.version, 10);
  EXPECT_EQ(info.lengthMs, info.totalSamples * 1000LL / 44100);
  EXPECT_EQ(info.reserved[0], 0);
  EXPECT_EQ(c.Call("vbmp3_getState"), 1);
}

TEST_F(Vbmp3ComponentTest, OpensACodePagePath) {
  Fixtures& f = Fixtures::Get();
  f.OneSecond();
  const QString path = f.Write(QString::fromUtf8("曲 ①.mp3"), f.Read("one.mp3"));
  const QByteArray ansi = platform::Utf16ToCp932(path);
  auto open = c.Get<int32_t (*)(const char*, void*)>("vbmp3_open");
  EXPECT_EQ(open(ansi.constData(), nullptr), 1);
  EXPECT_GT(c.Call("vbmp3_getTotalSamples"), 44100);
  EXPECT_EQ(open(QByteArray(ansi).replace("\x8B\xC8", "\x8B\xC9").constData(), nullptr), 0);
}

TEST_F(Vbmp3ComponentTest, MovesBySamplesFramesAndSeconds) {
  ASSERT_EQ(c.OpenW(Fixtures::Get().TwoSeconds()), 1);
  const int32_t total = c.Call("vbmp3_getTotalSamples");
  struct Case {
    const char* name;
    int32_t value;
    int32_t result;
    int32_t samples;  // where the position is afterwards
  } cases[] = {
      {"vbmp3_setPlaySamples", 12345, 1, 12345},
      {"vbmp3_setPlaySamples", -5, 0, 12345},
      {"vbmp3_setPlayFlames", 10, 1, 11520},
      {"vbmp3_setPlayFlames", -1, 0, 11520},
      {"vbmp3_seek", 1, 1, 44100},
      {"vbmp3_seek", 60, 1, total},
      {"vbmp3_setPlaySamples", 0, 1, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.name) + " " + std::to_string(k.value));
    EXPECT_EQ(c.Call(k.name, k.value), k.result);
    EXPECT_EQ(Samples(), k.samples);
  }
  ASSERT_EQ(c.Call("vbmp3_setPlayFlames", 7), 1);
  EXPECT_EQ(c.Call("vbmp3_getPlayFlames"), 7);
}

TEST_F(Vbmp3ComponentTest, FadeOutStopsWithoutAnEnd) {
  ASSERT_EQ(c.OpenW(Fixtures::Get().TwoSeconds()), 1);
  ASSERT_EQ(c.Call("vbmp3_setFadeIn", 200), 1);
  ASSERT_EQ(c.Call("vbmp3_setFadeOut", 300), 1);
  EXPECT_EQ(c.Call("vbmp3_fadeOut"), 0);  // nothing plays yet
  ASSERT_EQ(c.Call("vbmp3_play"), 1);
  ASSERT_TRUE(WaitUntil([&] { return Samples() > 0.2 * 44100; }));
  ASSERT_EQ(c.Call("vbmp3_fadeOut"), 1);
  ASSERT_TRUE(WaitUntil([&] { return c.Call("vbmp3_getState") == 1; }));
  EXPECT_EQ(Samples(), 0);
  QThread::msleep(300);
  EXPECT_EQ(g_ends, 0);
}

TEST_F(Vbmp3ComponentTest, EndWithEventsHeldBackIsNotReported) {
  ASSERT_EQ(c.OpenW(Fixtures::Get().OneSecond()), 1);
  c.Call("vbmp3_stopCallback");
  ASSERT_EQ(c.Call("vbmp3_play"), 1);
  ASSERT_TRUE(WaitUntil([&] { return c.Call("vbmp3_getState") == 1; }));
  EXPECT_EQ(Samples(), c.Call("vbmp3_getTotalSamples"));
  EXPECT_EQ(g_ends, 0);
  // After the end, play starts the file again from its beginning.
  c.Call("vbmp3_startCallback");
  ASSERT_EQ(c.Call("vbmp3_play"), 1);
  EXPECT_LT(Samples(), 0.5 * 44100);
  ASSERT_TRUE(WaitUntil([&] { return g_ends == 1; }));
}

TEST_F(Vbmp3ComponentTest, ReloadKeepsPlaceAndState) {
  Fixtures& f = Fixtures::Get();
  f.TwoSeconds();
  const QString path = f.Write("reload.mp3", f.Read("two.mp3"));
  ASSERT_EQ(c.OpenW(path), 1);
  ASSERT_EQ(c.Call("vbmp3_play"), 1);
  ASSERT_TRUE(WaitUntil([&] { return Samples() > 0.3 * 44100; }));
  ASSERT_EQ(c.Call("vbmp3_pause"), 1);
  const int32_t at = Samples();
  ASSERT_EQ(c.Call("vbmp3_reload"), 1);
  EXPECT_EQ(c.Call("vbmp3_getState"), 3);
  EXPECT_EQ(Samples(), at);
  ASSERT_EQ(c.Call("vbmp3_restart"), 1);
  ASSERT_TRUE(WaitUntil([&] { return g_ends == 1; }));
  // Gone from disk, the file cannot be reloaded and is closed.
  ASSERT_TRUE(QFile::remove(path));
  EXPECT_EQ(c.Call("vbmp3_reload"), 0);
  EXPECT_EQ(c.Call("vbmp3_getState"), 0);
}

TEST_F(Vbmp3ComponentTest, FreeReleasesEverythingAndLeavesItUsable) {
  ASSERT_EQ(c.OpenW(Fixtures::Get().OneSecond()), 1);
  ASSERT_EQ(c.Call("vbmp3_play"), 1);
  EXPECT_EQ(c.Call("vbmp3_free"), 1);
  EXPECT_EQ(c.Call("vbmp3_getState"), 0);
  EXPECT_EQ(c.Call("vbmp3_init"), 1);
  ASSERT_EQ(c.OpenW(Fixtures::Get().OneSecond()), 1);
  ASSERT_EQ(c.Call("vbmp3_play"), 1);
  // The callback went with the freed player.
  ASSERT_TRUE(WaitUntil([&] { return c.Call("vbmp3_getState") == 1; }));
  EXPECT_EQ(g_ends, 0);
}

}  // namespace

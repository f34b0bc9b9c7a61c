// The position and volume bars at their design sizes: where the knobs stand for a value, and
// the value a click, a drag or a wheel turn gives.
#include "playback/bars.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include "fake_backends.h"
#include "playback/player.h"

namespace {

class BarsTest : public testing::Test {
 protected:
  BarsTest() {
    window_.resize(700, 100);
    trackPanel_.setGeometry(4, 6, 657, 40);
    trackShape_.setGeometry(9, 19, 640, 4);
    trackSB_.setGeometry(1, 5, 14, 31);
    volumePanel_.setGeometry(518, 54, 142, 40);
    volumeShape_.setGeometry(9, 19, 125, 4);
    volumeSB_.setGeometry(1, 5, 14, 31);
    dshow_.length = 200.0;
    EXPECT_TRUE(player_.PlayerOpen("/m/a.wav"));
  }
  FakeMedia& Media() { return *dshow_.Current(); }
  QPoint VolumeGlobal(int x, int y) { return volumePanel_.mapToGlobal(QPoint(x, y)); }

  FakeLog log_;
  FakeDShow dshow_{log_};
  Settings settings_;
  CPlayer player_{settings_, dshow_};
  QWidget window_;
  QWidget trackPanel_{&window_};
  QWidget trackShape_{&trackPanel_};
  QWidget trackSB_{&trackPanel_};
  QWidget volumePanel_{&window_};
  QWidget volumeShape_{&volumePanel_};
  QWidget volumeSB_{&volumePanel_};
  CBars bars_{
      settings_, player_,
      BarWidgets{&trackPanel_, &trackShape_, &trackSB_, &volumePanel_, &volumeShape_, &volumeSB_}};
};

struct KnobCase {
  double value;
  int trackLeft;   // for a position of `value` % of the length
  int volumeLeft;  // for a volume of `value` × 100
};

class KnobPlaceTest : public BarsTest, public testing::WithParamInterface<KnobCase> {};

TEST_P(KnobPlaceTest, CentreStandsOverTheValue) {
  bars_.ShowPosition(GetParam().value * 2.0);
  bars_.ShowVolume(GetParam().value * 100.0);
  EXPECT_EQ(trackSB_.x(), GetParam().trackLeft);
  EXPECT_EQ(volumeSB_.x(), GetParam().volumeLeft);
  EXPECT_EQ(trackSB_.y(), 5);
}

// left = line left 9 + trunc(fraction × width) − 7.
INSTANTIATE_TEST_SUITE_P(Values, KnobPlaceTest,
                         testing::Values(KnobCase{0, 2, 2}, KnobCase{50, 322, 64},
                                         KnobCase{33.3, 215, 43}, KnobCase{100, 642, 127},
                                         KnobCase{99.9, 641, 126}));

TEST_F(BarsTest, NoLengthLeavesThePositionKnobAlone) {
  settings_.MediaLength = 0;
  bars_.ShowPosition(10);
  bars_.TrackPanelMouseDown(300);
  EXPECT_EQ(trackSB_.x(), 1);
  EXPECT_EQ(Media().position, 0.0);
}

struct ClickCase {
  int x;  // in panel coordinates
  double position;
  int volume;
};

class BarClickTest : public BarsTest, public testing::WithParamInterface<ClickCase> {};

TEST_P(BarClickTest, PanelClickJumpsThere) {
  bars_.TrackPanelMouseDown(GetParam().x);
  bars_.VolumePanelMouseDown(GetParam().x);
  EXPECT_DOUBLE_EQ(Media().position, GetParam().position);
  EXPECT_DOUBLE_EQ(settings_.PlayPosition, GetParam().position);
  EXPECT_EQ(settings_.Volume, GetParam().volume);
  EXPECT_EQ(Media().volume, GetParam().volume);
}

// Left of a line is its start; beyond its end is the whole length (200) or 10000.
INSTANTIATE_TEST_SUITE_P(Pixels, BarClickTest,
                         testing::Values(ClickCase{0, 0, 0}, ClickCase{9, 0, 0},
                                         ClickCase{71, 62 / 640.0 * 200, 4960},
                                         ClickCase{134, 125 / 640.0 * 200, 10000},
                                         ClickCase{329, 100, 10000}, ClickCase{700, 200, 10000}));

TEST_F(BarsTest, ClickOnALineCountsOnce) {
  QTest::mouseClick(&trackShape_, Qt::RightButton, {}, QPoint(160, 2));
  EXPECT_DOUBLE_EQ(Media().position, 50.0);
  QTest::mouseClick(&volumeShape_, Qt::LeftButton, {}, QPoint(25, 2));
  EXPECT_EQ(settings_.Volume, 2000);
  QTest::mouseClick(&volumePanel_, Qt::LeftButton, {}, QPoint(100, 2));
  EXPECT_EQ(settings_.Volume, 7280);
}

TEST_F(BarsTest, DragFollowsTheMouseWithinTheLine) {
  // Moves without the button held do nothing.
  bars_.VolumeSBMouseMove(QPoint(20, 5));
  EXPECT_EQ(settings_.Volume, 5000);
  QTest::mousePress(&volumeSB_, Qt::LeftButton, {}, QPoint(7, 10));
  EXPECT_TRUE(bars_.VolumeDragging);
  for (const auto& [x, volume] : {std::pair{-300, 0}, {50, 4000}, {400, 10000}}) {
    bars_.VolumeSBMouseMove(QPoint(x, 10) - volumeSB_.pos() + volumeShape_.pos());
    EXPECT_EQ(settings_.Volume, volume) << x;
  }
  QTest::mouseRelease(&volumeSB_, Qt::LeftButton, {}, QPoint(7, 10));
  EXPECT_FALSE(bars_.VolumeDragging);

  bars_.TrackSBMouseDown();
  bars_.TrackSBMouseMove(QPoint(2000, 0));
  EXPECT_DOUBLE_EQ(Media().position, 200.0);
  EXPECT_EQ(trackSB_.x(), 642);
  bars_.TrackSBMouseMove(QPoint(-2000, 0));
  EXPECT_DOUBLE_EQ(settings_.PlayPosition, 0.0);
  bars_.TrackSBMouseUp();
}

struct WheelCase {
  int volume, delta;
  QPoint at;  // in volume panel coordinates
  int expected;
};

class WheelTest : public BarsTest, public testing::WithParamInterface<WheelCase> {};

TEST_P(WheelTest, ChangesTheVolumeOnlyOverTheBar) {
  settings_.Volume = GetParam().volume;
  bars_.FormMouseWheel(GetParam().delta, VolumeGlobal(GetParam().at.x(), GetParam().at.y()));
  EXPECT_EQ(settings_.Volume, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Turns, WheelTest,
    testing::Values(WheelCase{5000, 120, {10, 10}, 5120}, WheelCase{9950, 120, {10, 10}, 10000},
                    WheelCase{100, -240, {10, 10}, 0}, WheelCase{5000, 120, {0, 10}, 5120},
                    WheelCase{5000, 120, {10, 0}, 5000}, WheelCase{5000, 120, {142, 10}, 5000},
                    WheelCase{5000, 120, {10, 40}, 5000}, WheelCase{5000, 120, {-300, 10}, 5000}));

TEST_F(BarsTest, ResizeKeepsTheFractions) {
  Media().position = 100;
  settings_.Volume = 2000;
  trackShape_.resize(320, 4);
  volumeShape_.resize(250, 4);
  bars_.FormResize();
  EXPECT_EQ(trackSB_.x(), 9 + 160 - 7);
  EXPECT_EQ(volumeSB_.x(), 9 + 50 - 7);
}

TEST_F(BarsTest, KnobsFollowTheirLinesWhenTheLayoutMovesThem) {
  Media().position = 50;
  settings_.Volume = 2000;
  window_.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  // As a layout does it: the lines get new places, nobody calls the resize handler.
  trackShape_.setGeometry(20, 19, 400, 4);
  volumeShape_.setGeometry(30, 19, 100, 4);
  EXPECT_EQ(trackSB_.x(), 20 + 100 - 7);
  EXPECT_EQ(volumeSB_.x(), 30 + 20 - 7);
}

}  // namespace

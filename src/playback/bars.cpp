#include "playback/bars.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "playback/player.h"

namespace {

constexpr double kVolumeScale = 10000.0;
// A knob never goes further than this from its line, whatever the value (a position far beyond
// a file's length must not overflow the conversion to pixels).
constexpr double kPixelLimit = 1000000.0;

}  // namespace

CBars::CBars(Settings& settings, CPlayer& player, const BarWidgets& widgets, QObject* parent)
    : QObject(parent), settings_(settings), player_(player), w_(widgets) {
  for (QWidget* widget :
       {w_.TrackPanel, w_.TrackShape, w_.TrackSB, w_.VolumePanel, w_.VolumeShape, w_.VolumeSB})
    if (widget) widget->installEventFilter(this);
}

int CBars::KnobLeft(double offset, const QWidget* shape, const QWidget* knob) {
  const double pixels = std::clamp(std::trunc(offset), -kPixelLimit, kPixelLimit);
  return static_cast<int>(pixels) - knob->width() / 2 + shape->x();
}

int CBars::LineX(const QPoint& at, const QWidget* knob, const QWidget* shape) {
  const QPoint onLine = shape->mapFromGlobal(knob->mapToGlobal(at));
  return std::clamp(onLine.x(), 0, std::max(shape->width(), 0));
}

// ---- Position ----

void CBars::ShowPosition(double position) {
  if (settings_.MediaLength == 0.0 || !w_.TrackShape || !w_.TrackSB) return;
  const double offset = position / settings_.MediaLength * w_.TrackShape->width();
  w_.TrackSB->move(KnobLeft(offset, w_.TrackShape, w_.TrackSB), w_.TrackSB->y());
}

void CBars::SeekTo(double position) {
  ShowPosition(position);
  player_.PlayerSetPosition(position);
  // With nothing open the player answers -1; the stored position stays a position.
  settings_.PlayPosition = std::max(player_.PlayerGetPosition(), 0.0);
}

void CBars::TrackPanelMouseDown(int x) {
  const int width = w_.TrackShape->width();
  if (settings_.MediaLength == 0.0 || width <= 0) return;
  const int d = std::max(x - w_.TrackShape->x(), 0);
  SeekTo(d > width ? settings_.MediaLength
                   : static_cast<double>(d) / width * settings_.MediaLength);
}

void CBars::TrackShapeMouseDown(int x) {
  const int width = w_.TrackShape->width();
  if (settings_.MediaLength == 0.0 || width <= 0) return;
  SeekTo(static_cast<double>(x) / width * settings_.MediaLength);
}

void CBars::TrackSBMouseMove(const QPoint& at) {
  if (!TrackDragging) return;
  const int width = w_.TrackShape->width();
  if (width <= 0) return;
  const double position =
      static_cast<double>(LineX(at, w_.TrackSB, w_.TrackShape)) / width * settings_.MediaLength;
  ShowPosition(position);
  player_.PlayerSetPosition(position);
  settings_.PlayPosition = std::max(player_.PlayerGetPosition(), 0.0);
}

// ---- Volume ----

void CBars::ShowVolume(double volume) {
  if (!w_.VolumeShape || !w_.VolumeSB) return;
  const double offset = 0.0001 * volume * w_.VolumeShape->width();
  w_.VolumeSB->move(KnobLeft(offset, w_.VolumeShape, w_.VolumeSB), w_.VolumeSB->y());
}

void CBars::ChangeVolume(double volume) {
  ShowVolume(volume);
  settings_.Volume = static_cast<std::int32_t>(std::trunc(volume));
  player_.PlayerSetVolume(settings_.Volume);
}

void CBars::VolumePanelMouseDown(int x) {
  const int width = w_.VolumeShape->width();
  if (width <= 0) return;
  const int d = std::max(x - w_.VolumeShape->x(), 0);
  ChangeVolume(d > width ? kVolumeScale : static_cast<double>(d) / width * kVolumeScale);
}

void CBars::VolumeShapeMouseDown(int x) {
  const int width = w_.VolumeShape->width();
  if (width <= 0) return;
  ChangeVolume(std::clamp(static_cast<double>(x) / width * kVolumeScale, 0.0, kVolumeScale));
}

void CBars::VolumeSBMouseMove(const QPoint& at) {
  if (!VolumeDragging) return;
  const int width = w_.VolumeShape->width();
  if (width <= 0) return;
  ChangeVolume(static_cast<double>(LineX(at, w_.VolumeSB, w_.VolumeShape)) / width * kVolumeScale);
}

void CBars::FormMouseWheel(int delta, const QPoint& global) {
  if (!w_.VolumePanel) return;
  const QPoint at = w_.VolumePanel->mapFromGlobal(global);
  // The top row does not count, the left column does.
  if (at.x() < 0 || at.x() >= w_.VolumePanel->width() || at.y() <= 0 ||
      at.y() >= w_.VolumePanel->height())
    return;
  const std::int64_t volume = static_cast<std::int64_t>(settings_.Volume) + delta;
  settings_.Volume = static_cast<std::int32_t>(std::clamp<std::int64_t>(volume, 0, 10000));
  ChangeVolume(settings_.Volume);
}

void CBars::FormResize() {
  ShowPosition(player_.PlayerGetPosition());
  ShowVolume(settings_.Volume);
}

// ---- Events ----

bool CBars::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::Resize || type == QEvent::Move) {
    // The layout gives the lines their real places only once the window is shown, after the
    // settings have placed the knobs; a knob placed on the design line would stand off its bar.
    if (watched == w_.VolumeShape) ShowVolume(settings_.Volume);
    if (watched == w_.TrackShape) ShowPosition(player_.PlayerGetPosition());
    return QObject::eventFilter(watched, event);
  }
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
      type != QEvent::MouseMove)
    return QObject::eventFilter(watched, event);
  const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
  const bool press = type == QEvent::MouseButtonPress;

  if (watched == w_.TrackSB || watched == w_.VolumeSB) {
    // The knob keeps its own button behaviour (it grabs the mouse while held).
    const bool track = watched == w_.TrackSB;
    if (press) {
      track ? TrackSBMouseDown() : VolumeSBMouseDown();
    } else if (type == QEvent::MouseButtonRelease) {
      track ? TrackSBMouseUp() : VolumeSBMouseUp();
    } else {
      track ? TrackSBMouseMove(at) : VolumeSBMouseMove(at);
    }
    return false;
  }
  if (!press) return QObject::eventFilter(watched, event);
  // A click on a line is the line's alone: it must not reach the panel under it as well.
  if (watched == w_.TrackShape) {
    TrackShapeMouseDown(at.x());
    return true;
  }
  if (watched == w_.VolumeShape) {
    VolumeShapeMouseDown(at.x());
    return true;
  }
  if (watched == w_.TrackPanel) {
    TrackPanelMouseDown(at.x());
    return true;
  }
  if (watched == w_.VolumePanel) {
    VolumePanelMouseDown(at.x());
    return true;
  }
  return QObject::eventFilter(watched, event);
}

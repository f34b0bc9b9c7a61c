#pragma once
// The position bar and the volume bar: a panel holding a thin line and a knob each. The
// position bar maps the line's width to the length of the open file (in the unit of its
// backend), the volume bar to the volume scale 0 to 10000. The knob's centre stands over the
// point of the line that represents the value:
//   knob left = line left + trunc(fraction × line width) − knob width ÷ 2.
// Clicking the panel or the line jumps there, dragging the knob follows the mouse, the wheel
// over the volume bar changes the volume.

#include <QObject>
#include <QPoint>

#include "settings/settings.h"

class CPlayer;
class QWidget;

struct BarWidgets {
  QWidget* TrackPanel = nullptr;
  QWidget* TrackShape = nullptr;  // a child of TrackPanel
  QWidget* TrackSB = nullptr;     // a child of TrackPanel, moved with move()
  QWidget* VolumePanel = nullptr;
  QWidget* VolumeShape = nullptr;
  QWidget* VolumeSB = nullptr;
};

class CBars : public QObject {
  Q_OBJECT

 public:
  // The settings, the player and the widgets must outlive the bars. The mouse handlers below
  // are wired to the widgets' events.
  CBars(Settings& settings, CPlayer& player, const BarWidgets& widgets, QObject* parent = nullptr);

  // Places the position knob for `position` (nothing when the open file has no length).
  void ShowPosition(double position);
  // Places the knob, moves the player there and reads the real position back.
  void SeekTo(double position);
  // Places the volume knob for `volume` on the 0 to 10000 scale.
  void ShowVolume(double volume);
  // Sets Volume, the knob and the player's volume; `volume` is already within 0 to 10000.
  void ChangeVolume(double volume);

  // x in the coordinates of the widget named.
  void TrackPanelMouseDown(int x);
  void TrackShapeMouseDown(int x);
  void TrackSBMouseDown() { TrackDragging = true; }
  void TrackSBMouseUp() { TrackDragging = false; }
  // `at` in knob coordinates.
  void TrackSBMouseMove(const QPoint& at);
  void VolumePanelMouseDown(int x);
  void VolumeShapeMouseDown(int x);
  void VolumeSBMouseDown() { VolumeDragging = true; }
  void VolumeSBMouseUp() { VolumeDragging = false; }
  void VolumeSBMouseMove(const QPoint& at);
  // The main window's wheel: `delta` raw (120 a notch, positive away from the user), `global`
  // the pointer in screen coordinates. Only a wheel over the volume bar changes the volume.
  void FormMouseWheel(int delta, const QPoint& global);
  // The lines stretch with the window: both knobs are placed again.
  void FormResize();

  bool TrackDragging = false;
  bool VolumeDragging = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The knob left that puts its centre at `offset` pixels along the line.
  static int KnobLeft(double offset, const QWidget* shape, const QWidget* knob);
  // The x of a knob-relative point in line coordinates, limited to the line.
  static int LineX(const QPoint& at, const QWidget* knob, const QWidget* shape);

  Settings& settings_;
  CPlayer& player_;
  BarWidgets w_;
};

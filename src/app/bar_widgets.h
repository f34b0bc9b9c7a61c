#pragma once
// Small widgets for the transport bar: a layout that keeps children at fixed design places with
// edge anchors, the thin line of a slider bar, and the round knob that stands on it.

#include <QLayout>
#include <QList>
#include <QRect>
#include <QToolButton>
#include <QWidget>

// The edges of its parent that a child follows when the parent is resized.
enum class Anchor { Left = 1, Top = 2, Right = 4, Bottom = 8 };
Q_DECLARE_FLAGS(Anchors, Anchor)
Q_DECLARE_OPERATORS_FOR_FLAGS(Anchors)

// Places each child at its design rectangle in a parent of design size `designSize`. A child
// anchored on both sides of an axis keeps its distances to both edges and stretches; anchored
// on the far side only, it keeps its size and its distance to that edge; otherwise it keeps its
// design place. A child never gets less than its minimum size, and the layout asks of its
// parent the room that these rules need, so nothing is clipped.
//
// Children that are not added (the knobs of the slider bars) are left where their owner moves
// them.
class TAnchorLayout : public QLayout {
 public:
  TAnchorLayout(QWidget* parent, QSize designSize);
  ~TAnchorLayout() override;

  void Place(QWidget* child, const QRect& design, Anchors anchors);

  void addItem(QLayoutItem* item) override;
  QLayoutItem* itemAt(int index) const override;
  QLayoutItem* takeAt(int index) override;
  int count() const override;
  QSize sizeHint() const override;
  QSize minimumSize() const override;
  void setGeometry(const QRect& rect) override;
  Qt::Orientations expandingDirections() const override;

 private:
  struct Entry {
    QLayoutItem* item;
    QRect design;
    Anchors anchors;
  };
  QSize designSize_;
  QList<Entry> entries_;
};

// A line shape: a thin rounded groove across the whole widget, drawn with the palette's dark
// shadow colour on a transparent fill.
class TShape : public QWidget {
  Q_OBJECT

 public:
  explicit TShape(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// The knob of a slider bar: a speed button painted as a round knob centred in its area. Its
// place is set with move() by whoever shows the value.
class TKnobButton : public QToolButton {
  Q_OBJECT

 public:
  explicit TKnobButton(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

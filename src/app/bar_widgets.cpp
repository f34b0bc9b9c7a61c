#include "app/bar_widgets.h"

#include <QPainter>
#include <QWidgetItem>
#include <algorithm>

namespace {

// One axis of an anchored child: its start and length in a parent of the given length.
struct Span {
  int start;
  int length;
};

Span PlaceOnAxis(int designStart, int designLength, int designParent, int parent, bool nearEdge,
                 bool farEdge, int minimum) {
  const int farMargin = designParent - designStart - designLength;
  if (nearEdge && farEdge) {
    return {designStart, std::max(parent - designStart - farMargin, minimum)};
  }
  if (farEdge) return {parent - farMargin - designLength, designLength};
  return {designStart, designLength};
}

// The parent length that one child needs on one axis.
int NeededOnAxis(int designStart, int designLength, int designParent, bool nearEdge, bool farEdge,
                 int minimum) {
  const int farMargin = designParent - designStart - designLength;
  if (nearEdge && farEdge) return designStart + minimum + farMargin;
  if (farEdge) return designLength + farMargin;
  return designStart + designLength;
}

}  // namespace

TAnchorLayout::TAnchorLayout(QWidget* parent, QSize designSize)
    : QLayout(parent), designSize_(designSize) {
  setContentsMargins(0, 0, 0, 0);
}

TAnchorLayout::~TAnchorLayout() {
  while (QLayoutItem* item = takeAt(0)) delete item;
}

void TAnchorLayout::Place(QWidget* child, const QRect& design, Anchors anchors) {
  addChildWidget(child);
  entries_.append({new QWidgetItem(child), design, anchors});
  invalidate();
}

void TAnchorLayout::addItem(QLayoutItem* item) {
  entries_.append({item, item->geometry(), Anchor::Left | Anchor::Top});
}

QLayoutItem* TAnchorLayout::itemAt(int index) const {
  return index >= 0 && index < entries_.size() ? entries_[index].item : nullptr;
}

QLayoutItem* TAnchorLayout::takeAt(int index) {
  if (index < 0 || index >= entries_.size()) return nullptr;
  return entries_.takeAt(index).item;
}

int TAnchorLayout::count() const { return static_cast<int>(entries_.size()); }

QSize TAnchorLayout::sizeHint() const { return designSize_.expandedTo(minimumSize()); }

QSize TAnchorLayout::minimumSize() const {
  QSize needed(0, 0);
  for (const Entry& e : entries_) {
    if (e.item->isEmpty()) continue;
    const QSize min = e.item->minimumSize();
    needed.setWidth(
        std::max(needed.width(), NeededOnAxis(e.design.x(), e.design.width(), designSize_.width(),
                                              e.anchors.testFlag(Anchor::Left),
                                              e.anchors.testFlag(Anchor::Right), min.width())));
    needed.setHeight(std::max(needed.height(),
                              NeededOnAxis(e.design.y(), e.design.height(), designSize_.height(),
                                           e.anchors.testFlag(Anchor::Top),
                                           e.anchors.testFlag(Anchor::Bottom), min.height())));
  }
  return needed;
}

void TAnchorLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  for (const Entry& e : entries_) {
    const QSize min = e.item->minimumSize();
    const Span x = PlaceOnAxis(e.design.x(), e.design.width(), designSize_.width(), rect.width(),
                               e.anchors.testFlag(Anchor::Left), e.anchors.testFlag(Anchor::Right),
                               min.width());
    const Span y = PlaceOnAxis(e.design.y(), e.design.height(), designSize_.height(), rect.height(),
                               e.anchors.testFlag(Anchor::Top), e.anchors.testFlag(Anchor::Bottom),
                               min.height());
    e.item->setGeometry(QRect(rect.x() + x.start, rect.y() + y.start, x.length, y.length));
  }
}

Qt::Orientations TAnchorLayout::expandingDirections() const {
  return Qt::Horizontal | Qt::Vertical;
}

TShape::TShape(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TranslucentBackground); }

void TShape::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(palette().color(QPalette::Dark), 1.0));
  p.setBrush(Qt::NoBrush);
  const QRectF groove = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const qreal radius = groove.height() / 2;
  p.drawRoundedRect(groove, radius, radius);
}

TKnobButton::TKnobButton(QWidget* parent) : QToolButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAutoRaise(true);
}

void TKnobButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal diameter = std::min(width(), height()) - 1.0;
  const QRectF knob((width() - diameter) / 2, (height() - diameter) / 2, diameter, diameter);
  const QPalette& pal = palette();
  QRadialGradient fill(knob.center() - QPointF(diameter / 5, diameter / 5), diameter * 0.75);
  const QColor face = isDown() ? pal.color(QPalette::Mid) : pal.color(QPalette::Button);
  fill.setColorAt(0, face.lighter(120));
  fill.setColorAt(1, face.darker(isDown() ? 115 : 105));
  p.setBrush(fill);
  p.setPen(QPen(pal.color(QPalette::Shadow).lighter(underMouse() ? 130 : 170), 1.0));
  p.drawEllipse(knob);
}

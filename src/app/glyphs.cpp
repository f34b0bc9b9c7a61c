#include "app/glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace glyphs {
namespace {

const QColor kInk(0x2b, 0x2b, 0x2b);
const QColor kFaint(0xa0, 0xa0, 0xa0);

// Every glyph is drawn on a 32 × 32 grid; the painter scales it to the pixmap.
template <class Paint>
QPixmap Draw(int size, Paint paint) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);
  paint(p);
  return pixmap;
}

QPen Stroke(const QColor& color, qreal width) {
  return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A filled polygon whose corners are softened by a stroke of the same colour.
void FillRounded(QPainter& p, const QPolygonF& polygon, const QColor& color, qreal round = 2.0) {
  p.setPen(Stroke(color, round));
  p.setBrush(color);
  p.drawPolygon(polygon);
}

void FillRoundedRect(QPainter& p, const QRectF& rect, qreal radius, const QColor& color) {
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawRoundedRect(rect, radius, radius);
}

// Two arrows that cross, the usual mark of a random order, inside the band from `top` to
// `bottom` of the grid.
void DrawShuffle(QPainter& p, qreal top, qreal bottom) {
  const qreal a = top + 2.5, b = bottom - 2.5;
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kInk, 2.6, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
  QPainterPath down;
  down.moveTo(2.5, a);
  down.lineTo(8, a);
  down.cubicTo(14, a, 14, b, 20, b);
  down.lineTo(24, b);
  QPainterPath up;
  up.moveTo(2.5, b);
  up.lineTo(8, b);
  up.cubicTo(14, b, 14, a, 20, a);
  up.lineTo(24, a);
  p.drawPath(down);
  p.drawPath(up);
  const qreal head = 4.2;
  FillRounded(p, QPolygonF({{23, a - head}, {30, a}, {23, a + head}}), kInk, 1.0);
  FillRounded(p, QPolygonF({{23, b - head}, {30, b}, {23, b + head}}), kInk, 1.0);
}

// An eighth note whose head is centred on (x, y), `height` units tall.
void DrawNote(QPainter& p, qreal x, qreal y, qreal height, const QColor& color) {
  const qreal rx = height * 0.24, ry = height * 0.17;
  p.save();
  p.translate(x, y);
  p.rotate(-22);
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawEllipse(QPointF(0, 0), rx, ry);
  p.restore();
  const qreal stemX = x + rx * 0.9;
  const qreal top = y - height * 0.82;
  p.setPen(Stroke(color, height * 0.11));
  p.drawLine(QPointF(stemX, y - ry * 0.3), QPointF(stemX, top));
  QPainterPath flag;
  flag.moveTo(stemX, top);
  flag.cubicTo(stemX + height * 0.05, top + height * 0.22, stemX + height * 0.38,
               top + height * 0.22, stemX + height * 0.3, top + height * 0.5);
  p.setBrush(Qt::NoBrush);
  p.drawPath(flag);
}

// Two eighth notes joined by a beam, heads on the line y = `base`.
void DrawBeamedNotes(QPainter& p, qreal left, qreal right, qreal base, qreal height) {
  const qreal rx = 3.6, ry = 2.6;
  const QPointF heads[] = {{left, base}, {right, base - 1.5}};
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  for (const QPointF& head : heads) {
    p.save();
    p.translate(head);
    p.rotate(-22);
    p.drawEllipse(QPointF(0, 0), rx, ry);
    p.restore();
  }
  const qreal x1 = left + rx - 0.6, x2 = right + rx - 0.6;
  const qreal top1 = base - height, top2 = base - 1.5 - height;
  p.setPen(Stroke(kInk, 1.8));
  p.drawLine(QPointF(x1, base - 0.5), QPointF(x1, top1));
  p.drawLine(QPointF(x2, base - 2.0), QPointF(x2, top2));
  FillRounded(p, QPolygonF({{x1, top1}, {x2, top2}, {x2, top2 + 2.6}, {x1, top1 + 2.6}}), kInk,
              0.8);
}

void DrawClock(QPainter& p, const QColor& color) {
  p.setPen(Stroke(color, 2.6));
  p.setBrush(Qt::NoBrush);
  // Bells and feet of an alarm clock.
  p.drawArc(QRectF(3, 3, 10, 10), 100 * 16, 80 * 16);
  p.drawArc(QRectF(19, 3, 10, 10), 0, 80 * 16);
  p.drawLine(QPointF(9.5, 26.5), QPointF(7, 29));
  p.drawLine(QPointF(22.5, 26.5), QPointF(25, 29));
  p.drawEllipse(QPointF(16, 17.5), 10.5, 10.5);
  p.drawLine(QPointF(16, 17.5), QPointF(16, 11));
  p.drawLine(QPointF(16, 17.5), QPointF(20.5, 20));
}

}  // namespace

QPixmap PlayGlyph(int size) {
  return Draw(size, [](QPainter& p) {
    FillRounded(p, QPolygonF({{10, 6}, {26, 16}, {10, 26}}), kInk, 2.5);
  });
}

QPixmap PauseGlyph(int size) {
  return Draw(size, [](QPainter& p) {
    FillRoundedRect(p, QRectF(8, 6, 6, 20), 1.6, kInk);
    FillRoundedRect(p, QRectF(18, 6, 6, 20), 1.6, kInk);
  });
}

QPixmap StopGlyph(int size) {
  return Draw(size, [](QPainter& p) { FillRoundedRect(p, QRectF(7, 7, 18, 18), 2.6, kInk); });
}

QPixmap PreviousTrackGlyph(int size) {
  return Draw(size, [](QPainter& p) {
    FillRoundedRect(p, QRectF(6, 7, 4, 18), 1.2, kInk);
    FillRounded(p, QPolygonF({{26, 7.5}, {12, 16}, {26, 24.5}}), kInk, 2.2);
  });
}

QPixmap NextTrackGlyph(int size) {
  return Draw(size, [](QPainter& p) {
    FillRoundedRect(p, QRectF(22, 7, 4, 18), 1.2, kInk);
    FillRounded(p, QPolygonF({{6, 7.5}, {20, 16}, {6, 24.5}}), kInk, 2.2);
  });
}

QPixmap OpenGlyph(int size) {
  return Draw(size, [](QPainter& p) {
    QPainterPath back;
    back.moveTo(4, 25);
    back.lineTo(4, 7.5);
    back.lineTo(11.5, 7.5);
    back.lineTo(14, 10.5);
    back.lineTo(24.5, 10.5);
    back.lineTo(24.5, 14);
    p.setPen(Stroke(kInk, 2.4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(back);
    FillRounded(p, QPolygonF({{9, 14.5}, {29, 14.5}, {24.5, 25.5}, {4, 25.5}}), kInk, 2.0);
  });
}

QPixmap SaveGlyph(int size) {
  return Draw(size, [](QPainter& p) {
    FillRounded(p, QPolygonF({{5, 5}, {22.5, 5}, {27, 9.5}, {27, 27}, {5, 27}}), kInk, 2.4);
    // Shutter and label are cut out of the body.
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    FillRoundedRect(p, QRectF(10, 6.5, 10, 6.5), 0.8, Qt::black);
    FillRoundedRect(p, QRectF(9, 17, 14, 8.5), 1.2, Qt::black);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    FillRoundedRect(p, QRectF(15.8, 7.5, 2.8, 4.5), 0.6, kInk);
  });
}

QPixmap FileRandomGlyph(int size) {
  return Draw(size, [](QPainter& p) {
    DrawShuffle(p, 2, 19);
    // Three albums in a row.
    for (qreal x : {3.5, 12.5, 21.5}) {
      p.setPen(Stroke(kInk, 1.8));
      p.setBrush(Qt::NoBrush);
      p.drawRoundedRect(QRectF(x, 22, 7, 7), 1.2, 1.2);
      p.setPen(Qt::NoPen);
      p.setBrush(kInk);
      p.drawEllipse(QPointF(x + 3.5, 25.5), 1.3, 1.3);
    }
  });
}

QPixmap MusicRandomGlyph(int size) {
  return Draw(size, [](QPainter& p) {
    DrawShuffle(p, 1, 17);
    DrawBeamedNotes(p, 9.5, 21.5, 29, 7.5);
  });
}

QPixmap TimerOnGlyph(int size) {
  return Draw(size, [](QPainter& p) { DrawClock(p, kInk); });
}

QPixmap TimerOffGlyph(int size) {
  return Draw(size, [](QPainter& p) {
    DrawClock(p, kFaint);
    // A gap around the stroke keeps it apart from the clock face.
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(Stroke(Qt::black, 6.5));
    p.drawLine(QPointF(5, 5), QPointF(27, 29));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(Stroke(kInk, 2.8));
    p.drawLine(QPointF(5, 5), QPointF(27, 29));
  });
}

QPixmap MenuGlyph(int size) {
  return Draw(size, [](QPainter& p) {
    p.setPen(Stroke(kInk, 3.0));
    p.drawLine(QPointF(5, 8), QPointF(27, 8));
    p.drawLine(QPointF(5, 16), QPointF(27, 16));
    p.drawLine(QPointF(5, 24), QPointF(15, 24));
    FillRounded(p, QPolygonF({{19, 21}, {28, 21}, {23.5, 27}}), kInk, 1.5);
  });
}

QPixmap AppGlyph(int size) {
  return Draw(size, [](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2f, 0x6f, 0xd0));
    p.drawEllipse(QRectF(1, 1, 30, 30));
    DrawNote(p, 13, 22, 16, Qt::white);
  });
}

}  // namespace glyphs

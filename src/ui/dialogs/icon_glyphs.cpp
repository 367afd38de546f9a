#include "ui/dialogs/icon_glyphs.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <cmath>
#include <numbers>

namespace orv {

namespace {

constexpr qreal kOutline = 2.0;  // one pixel at 16 px, two at 32 px

// The three shades of one colour every glyph is drawn with.
class CGlyphInk {
 public:
  CGlyphInk(QPainter& painter, const QColor& base)
      : m_painter(painter),
        m_base(base),
        m_dark(base.darker(165)),
        m_tint(Blend(base, Qt::white, 0.82)) {}

  // A solid shape: shaded fill, dark outline.
  void Solid(const QPainterPath& path, const QColor& fill) const {
    QLinearGradient shade(0, path.boundingRect().top(), 0, path.boundingRect().bottom());
    shade.setColorAt(0, fill.lighter(118));
    shade.setColorAt(1, fill);
    m_painter.setBrush(shade);
    m_painter.setPen(OutlinePen(m_dark, kOutline));
    m_painter.drawPath(path);
  }
  void Solid(const QPainterPath& path) const { Solid(path, m_base); }
  // A paper-like shape: pale tint, dark outline.
  void Paper(const QPainterPath& path) const {
    m_painter.setBrush(m_tint);
    m_painter.setPen(OutlinePen(m_dark, kOutline));
    m_painter.drawPath(path);
  }
  // A detail line inside a shape.
  void Stroke(const QPainterPath& path, const QColor& colour, qreal nWidth = kOutline) const {
    m_painter.setBrush(Qt::NoBrush);
    m_painter.setPen(OutlinePen(colour, nWidth));
    m_painter.drawPath(path);
  }
  // A small filled dot without outline.
  void Dot(QPointF centre, qreal nRadius, const QColor& colour) const {
    m_painter.setBrush(colour);
    m_painter.setPen(Qt::NoPen);
    m_painter.drawEllipse(centre, nRadius, nRadius);
  }

  const QColor& Base() const { return m_base; }
  const QColor& Dark() const { return m_dark; }
  const QColor& Tint() const { return m_tint; }

 private:
  static QPen OutlinePen(const QColor& colour, qreal nWidth) {
    return QPen(colour, nWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  }
  static QColor Blend(const QColor& a, const QColor& b, qreal nToB) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * nToB,
                            a.greenF() + (b.greenF() - a.greenF()) * nToB,
                            a.blueF() + (b.blueF() - a.blueF()) * nToB);
  }

  QPainter& m_painter;
  QColor m_base;
  QColor m_dark;
  QColor m_tint;
};

QPainterPath Polygon(std::initializer_list<QPointF> points) {
  QPainterPath path;
  path.addPolygon(QPolygonF(QList<QPointF>(points)));
  path.closeSubpath();
  return path;
}

QPainterPath Polyline(std::initializer_list<QPointF> points) {
  QPainterPath path;
  path.addPolygon(QPolygonF(QList<QPointF>(points)));
  return path;
}

QPainterPath Ellipse(QPointF centre, qreal nRx, qreal nRy) {
  QPainterPath path;
  path.addEllipse(centre, nRx, nRy);
  return path;
}

QPainterPath RoundedRect(const QRectF& rect, qreal nRadius) {
  QPainterPath path;
  path.addRoundedRect(rect, nRadius, nRadius);
  return path;
}

// `nPoints` corners alternating between the two radii, the first pointing up.
QPainterPath Radial(QPointF centre, int nPoints, qreal nOuter, qreal nInner) {
  QPolygonF polygon;
  for (int i = 0; i < 2 * nPoints; ++i) {
    const qreal nAngle = -std::numbers::pi / 2 + i * std::numbers::pi / nPoints;
    const qreal nRadius = i % 2 == 0 ? nOuter : nInner;
    polygon << centre + QPointF(std::cos(nAngle), std::sin(nAngle)) * nRadius;
  }
  QPainterPath path;
  path.addPolygon(polygon);
  path.closeSubpath();
  return path;
}

void Sheet(const CGlyphInk& ink) {
  ink.Paper(Polygon({{7, 3}, {20, 3}, {26, 9}, {26, 29}, {7, 29}}));
  ink.Stroke(Polyline({{20, 3}, {20, 9}, {26, 9}}), ink.Dark());
  QPainterPath lines;
  for (qreal y : {14.0, 19.0}) lines.addPolygon(QPolygonF(QList<QPointF>{{11, y}, {22, y}}));
  lines.addPolygon(QPolygonF(QList<QPointF>{{11, 24}, {18, 24}}));
  ink.Stroke(lines, ink.Base());
}

void Check(const CGlyphInk& ink) {
  QPainterPathStroker stroker;
  stroker.setWidth(5);
  stroker.setCapStyle(Qt::RoundCap);
  stroker.setJoinStyle(Qt::RoundJoin);
  ink.Solid(stroker.createStroke(Polyline({{6, 17}, {13, 24}, {26, 8}})).simplified());
}

void Folder(const CGlyphInk& ink) {
  ink.Solid(Polygon({{3, 6}, {12, 6}, {15, 9}, {29, 9}, {29, 27}, {3, 27}}),
            ink.Base().darker(120));
  ink.Solid(Polygon({{3, 13}, {29, 13}, {29, 27}, {3, 27}}));
}

void Heart(const CGlyphInk& ink) {
  QPainterPath heart;
  heart.moveTo(16, 27);
  heart.cubicTo(4, 19, 2, 12, 6, 8);
  heart.cubicTo(10, 4, 15, 6, 16, 10);
  heart.cubicTo(17, 6, 22, 4, 26, 8);
  heart.cubicTo(30, 12, 28, 19, 16, 27);
  ink.Solid(heart);
}

void Book(const CGlyphInk& ink) {
  ink.Solid(RoundedRect({7, 3, 19, 26}, 2));
  ink.Stroke(Polyline({{11, 4}, {11, 28}}), ink.Dark());
  ink.Paper(RoundedRect({14, 8, 9, 5}, 1));
}

void Clock(const CGlyphInk& ink) {
  ink.Paper(Ellipse({16, 16}, 12, 12));
  QPainterPath ticks;
  for (QPointF from : {QPointF(16, 6.5), QPointF(25.5, 16), QPointF(16, 25.5), QPointF(6.5, 16)}) {
    ticks.addPolygon(QPolygonF({from, from + (QPointF(16, 16) - from) * 0.18}));
  }
  ink.Stroke(ticks, ink.Base());
  ink.Stroke(Polyline({{16, 9}, {16, 16}, {21, 19}}), ink.Dark(), 2.5);
}

void Lightbulb(const CGlyphInk& ink) {
  QPainterPath bulb =
      Ellipse({16, 12.5}, 9, 9).united(Polygon({{11, 18}, {21, 18}, {19.5, 23}, {12.5, 23}}));
  ink.Solid(bulb);
  ink.Stroke(Polyline({{13, 13}, {14.5, 16}, {16, 13}, {17.5, 16}, {19, 13}}), ink.Tint(), 1.5);
  ink.Solid(RoundedRect({12.5, 23, 7, 5}, 1.5), ink.Dark().lighter(130));
}

void Person(const CGlyphInk& ink) {
  QPainterPath body;
  body.moveTo(5, 28);
  body.cubicTo(5, 20, 10, 17.5, 16, 17.5);
  body.cubicTo(22, 17.5, 27, 20, 27, 28);
  body.closeSubpath();
  ink.Solid(body);
  ink.Solid(Ellipse({16, 10}, 5.5, 5.5));
}

void Gear(const CGlyphInk& ink) {
  QPainterPath gear = Radial({16, 16}, 8, 13.5, 10.5);
  gear.addEllipse(QPointF(16, 16), 4, 4);
  gear.setFillRule(Qt::OddEvenFill);
  ink.Solid(gear);
}

void Globe(const CGlyphInk& ink) {
  ink.Solid(Ellipse({16, 16}, 12, 12));
  QPainterPath lines = Ellipse({16, 16}, 5, 12);
  lines.addPolygon(QPolygonF(QList<QPointF>{{4.5, 16}, {27.5, 16}}));
  lines.addPolygon(QPolygonF(QList<QPointF>{{6.5, 10}, {25.5, 10}}));
  lines.addPolygon(QPolygonF(QList<QPointF>{{6.5, 22}, {25.5, 22}}));
  ink.Stroke(lines, ink.Tint(), 1.5);
  ink.Stroke(Ellipse({16, 16}, 12, 12), ink.Dark());
}

void Lock(const CGlyphInk& ink) {
  QPainterPath shackle;
  shackle.moveTo(10.5, 15);
  shackle.lineTo(10.5, 10);
  shackle.arcTo(10.5, 4, 11, 11, 180, -180);
  shackle.lineTo(21.5, 15);
  ink.Stroke(shackle, ink.Dark(), 3);
  ink.Solid(RoundedRect({6, 14, 20, 15}, 3));
  ink.Dot({16, 20}, 2.2, ink.Dark());
  ink.Stroke(Polyline({{16, 21}, {16, 25}}), ink.Dark());
}

void Pin(const CGlyphInk& ink) {
  QPainterPath pin;
  pin.moveTo(16, 29);
  pin.cubicTo(11, 22, 6, 17, 6, 12);
  pin.arcTo(6, 2, 20, 20, 180, -180);
  pin.cubicTo(26, 17, 21, 22, 16, 29);
  ink.Solid(pin);
  ink.Paper(Ellipse({16, 12}, 4, 4));
}

void Bell(const CGlyphInk& ink) {
  ink.Dot({16, 26.5}, 2.6, ink.Dark());
  ink.Dot({16, 4.5}, 1.9, ink.Dark());
  QPainterPath bell;
  bell.moveTo(5, 24);
  bell.lineTo(27, 24);
  bell.cubicTo(24, 21, 24, 18, 24, 14);
  bell.cubicTo(24, 9, 20, 6, 16, 6);
  bell.cubicTo(12, 6, 8, 9, 8, 14);
  bell.cubicTo(8, 18, 8, 21, 5, 24);
  ink.Solid(bell);
}

void Envelope(const CGlyphInk& ink) {
  ink.Paper(RoundedRect({3, 7, 26, 18}, 2));
  ink.Stroke(Polyline({{4, 8.5}, {16, 18}, {28, 8.5}}), ink.Base());
}

void Tag(const CGlyphInk& ink) {
  ink.Solid(Polygon({{15, 4}, {28, 4}, {28, 17}, {16, 29}, {3, 16}}));
  ink.Paper(Ellipse({23, 9}, 2, 2));
}

}  // namespace

void DrawGlyph(QPainter& painter, EGlyph glyph, const QColor& base) {
  const CGlyphInk ink(painter, base);
  switch (glyph) {
    case EGlyph::Sheet:
      return Sheet(ink);
    case EGlyph::Star:
      return ink.Solid(Radial({16, 17}, 5, 13.5, 5.8));
    case EGlyph::Flag:
      ink.Stroke(Polyline({{8, 4}, {8, 29}}), ink.Dark(), 2.5);
      return ink.Solid(Polygon({{8, 5}, {26, 5}, {21, 11}, {26, 17}, {8, 17}}));
    case EGlyph::Check:
      return Check(ink);
    case EGlyph::Circle:
      return ink.Solid(Ellipse({16, 16}, 11, 11));
    case EGlyph::Square:
      return ink.Solid(RoundedRect({6, 6, 20, 20}, 3));
    case EGlyph::Triangle:
      return ink.Solid(Polygon({{16, 4}, {28, 27}, {4, 27}}));
    case EGlyph::Folder:
      return Folder(ink);
    case EGlyph::Heart:
      return Heart(ink);
    case EGlyph::Book:
      return Book(ink);
    case EGlyph::Clock:
      return Clock(ink);
    case EGlyph::Lightbulb:
      return Lightbulb(ink);
    case EGlyph::Person:
      return Person(ink);
    case EGlyph::Gear:
      return Gear(ink);
    case EGlyph::Globe:
      return Globe(ink);
    case EGlyph::Lock:
      return Lock(ink);
    case EGlyph::Pin:
      return Pin(ink);
    case EGlyph::Bell:
      return Bell(ink);
    case EGlyph::Envelope:
      return Envelope(ink);
    case EGlyph::Tag:
      return Tag(ink);
  }
}

}  // namespace orv

#include "ui/dialogs/note_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>
#include <vector>

#include "ui/dialogs/icon_glyphs.h"

namespace orv {

namespace {

// Index = colour * kGlyphCount + glyph: each row of the picker holds every
// glyph once, row 0 in slate (index 0, the sheet) and row 2 in amber (index
// 47, the folder).
constexpr std::array<QRgb, 16> kPalette = {
    0x5B6B7F,  // slate
    0x3B74C4,  // blue
    0xD99A1E,  // amber
    0x3E9A55,  // green
    0xC94A43,  // red
    0x7D55B8,  // purple
    0x2B958D,  // teal
    0xDE7530,  // orange
    0xC9507F,  // rose
    0x4E59B0,  // indigo
    0x86A832,  // lime
    0x8C6342,  // brown
    0x3C9CD0,  // sky
    0x9C4A94,  // plum
    0x7E8A3A,  // olive
    0x3E4450,  // graphite
};
static_assert(kPalette.size() * kGlyphCount == kNoteIconCount);

template <typename F>
QPixmap Render(int nSize, F&& draw) {
  QPixmap pixmap(nSize, nSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(nSize / 32.0, nSize / 32.0);
  draw(painter);
  return pixmap;
}

QIcon MakeNoteIcon(int nIndex) {
  const auto glyph = static_cast<EGlyph>(nIndex % kGlyphCount);
  const QColor base = QColor::fromRgb(kPalette[nIndex / kGlyphCount]);
  QIcon icon;
  for (int nSize : {16, 32}) {
    icon.addPixmap(Render(nSize, [&](QPainter& painter) { DrawGlyph(painter, glyph, base); }));
  }
  return icon;
}

void DrawAppIcon(QPainter& painter) {
  // The cover, with its rings along the spine.
  QPainterPath cover;
  cover.addRoundedRect(QRectF(7, 3, 21, 26), 3, 3);
  QLinearGradient shade(0, 3, 0, 29);
  shade.setColorAt(0, QColor(0x3B8F8A));
  shade.setColorAt(1, QColor(0x23625E));
  painter.setPen(QPen(QColor(0x173F3C), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(shade);
  painter.drawPath(cover);
  painter.setPen(QPen(QColor(0xC9D3D9), 2, Qt::SolidLine, Qt::RoundCap));
  for (qreal y : {8.0, 13.0, 18.0, 23.0}) painter.drawLine(QPointF(4.5, y), QPointF(9.5, y));
  // The tree: a trunk under a crown of three leaves.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x8C6342));
  painter.drawRoundedRect(QRectF(16.5, 17, 3, 8), 1, 1);
  QPainterPath crown;
  for (auto [x, y, r] : {std::array{18.0, 12.0, 5.0}, {14.5, 15.5, 3.8}, {21.5, 15.5, 3.8}}) {
    QPainterPath leaf;
    leaf.addEllipse(QPointF(x, y), r, r);
    crown = crown.united(leaf);
  }
  painter.setPen(QPen(QColor(0x2F6B22), 1.5));
  painter.setBrush(QColor(0x7BC462));
  painter.drawPath(crown);
}

}  // namespace

QIcon NoteIcon(int nIndex) {
  if (nIndex < 0 || nIndex >= kNoteIconCount) nIndex = kDefaultNoteIcon;
  static std::vector<QIcon> cache(kNoteIconCount);
  QIcon& icon = cache[nIndex];
  if (icon.isNull()) icon = MakeNoteIcon(nIndex);
  return icon;
}

QIcon AppIcon() {
  static const QIcon icon = [] {
    QIcon made;
    for (int nSize : {16, 24, 32, 48, 64, 128, 256}) made.addPixmap(Render(nSize, DrawAppIcon));
    return made;
  }();
  return icon;
}

}  // namespace orv

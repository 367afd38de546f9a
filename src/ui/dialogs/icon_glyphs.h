#pragma once
// The shapes the note icons are made of, drawn on a 32 x 32 grid in one
// style: a dark outline of the same width around a softly shaded fill, with
// paper-like shapes filled in a pale tint of their colour.

#include <QColor>

class QPainter;

namespace orv {

enum class EGlyph {
  Sheet,
  Star,
  Flag,
  Check,
  Circle,
  Square,
  Triangle,
  Folder,
  Heart,
  Book,
  Clock,
  Lightbulb,
  Person,
  Gear,
  Globe,
  Lock,
  Pin,
  Bell,
  Envelope,
  Tag,
};
inline constexpr int kGlyphCount = static_cast<int>(EGlyph::Tag) + 1;

// Draws `glyph` in `base` on the 32-unit grid of `painter` (scale it to the
// pixmap's size first).
void DrawGlyph(QPainter& painter, EGlyph glyph, const QColor& base);

}  // namespace orv

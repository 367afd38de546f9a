#include "ui/editors/style_formats.h"

#include <QTextBlock>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "ui/dialogs/colour_ref.h"
#include "ui/rtf/rtf_doc_builder.h"

namespace orv {

namespace {

// The ranges the records allow (docs/formats/style-record.md).
constexpr int kMinSizeTwips = 20;
constexpr int kMaxSizeTwips = 1638 * 20;
constexpr int kMaxTwips = 31680;

int Twips(double dPixels, int nMin) { return std::clamp(PixelsToTwips(dPixels), nMin, kMaxTwips); }

std::optional<int32_t> OwnColour(const QTextCharFormat& format, QTextFormat::Property eProperty) {
  if (!format.hasProperty(eProperty) || format.brushProperty(eProperty).style() == Qt::NoBrush)
    return kAutomaticColour;
  return ToColorRef(format.brushProperty(eProperty).color());
}

// What the style sets, for merging into each piece of text.
QTextCharFormat ToCharFormat(const SCharStyle& style) {
  QTextCharFormat format;
  if (style.sFace) format.setFontFamilies({QString::fromStdString(*style.sFace)});
  if (style.nSizeTwips) format.setFontPointSize(*style.nSizeTwips / 20.0);
  if (style.nWeight) format.setFontWeight(*style.nWeight);
  if (style.bItalic) format.setFontItalic(*style.bItalic);
  if (style.bUnderline) format.setFontUnderline(*style.bUnderline);
  if (style.bStrikeOut) format.setFontStrikeOut(*style.bStrikeOut);
  if (style.nTextColour && *style.nTextColour != kAutomaticColour)
    format.setForeground(ToQColor(*style.nTextColour));
  if (style.nBackColour && *style.nBackColour != kAutomaticColour)
    format.setBackground(ToQColor(*style.nBackColour));
  return format;
}

// A piece of text's format with the style's laid over it.
QTextCharFormat Styled(QTextCharFormat format, const SCharStyle& style,
                       const QTextCharFormat& styleFormat) {
  if (style.nTextColour == kAutomaticColour) format.clearForeground();
  if (style.nBackColour == kAutomaticColour) format.clearBackground();
  format.merge(styleFormat);
  return format;
}

void ApplyParaStyle(QTextBlockFormat& format, const SParaStyle& style) {
  if (style.eAlignment) {
    switch (*style.eAlignment) {
      case EStyleAlignment::Left:
        format.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        break;
      case EStyleAlignment::Right:
        format.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
        break;
      case EStyleAlignment::Centre:
        format.setAlignment(Qt::AlignHCenter);
        break;
      case EStyleAlignment::Justify:
        format.setAlignment(Qt::AlignJustify);
        break;
    }
  }
  if (style.nLeftIndent) format.setLeftMargin(TwipsToPixels(*style.nLeftIndent));
  if (style.nRightIndent) format.setRightMargin(TwipsToPixels(*style.nRightIndent));
  if (style.nFirstLineIndent) format.setTextIndent(TwipsToPixels(*style.nFirstLineIndent));
  if (style.nSpaceBefore) format.setTopMargin(TwipsToPixels(*style.nSpaceBefore));
  if (style.nSpaceAfter) format.setBottomMargin(TwipsToPixels(*style.nSpaceAfter));
}

}  // namespace

SCharStyle CaptureCharStyle(const QTextEdit& edit) {
  QTextCharFormat format = edit.currentCharFormat();
  const QTextCursor cursor = edit.textCursor();
  if (cursor.hasSelection()) {
    QTextCursor first(edit.document());
    first.setPosition(cursor.selectionStart() + 1);  // a cursor tells the character before it
    format = first.charFormat();
  }
  const QFont font = format.font().resolve(edit.document()->defaultFont());
  SCharStyle style;
  style.sFace = font.family().toStdString();
  if (font.pointSizeF() > 0)
    style.nSizeTwips =
        std::clamp(int(std::lround(font.pointSizeF() * 20)), kMinSizeTwips, kMaxSizeTwips);
  style.nWeight = std::clamp(int(font.weight()), 1, 1000);
  style.bItalic = font.italic();
  style.bUnderline = font.underline();
  style.bStrikeOut = font.strikeOut();
  style.nTextColour = OwnColour(format, QTextFormat::ForegroundBrush);
  style.nBackColour = OwnColour(format, QTextFormat::BackgroundBrush);
  return style;
}

SParaStyle CaptureParaStyle(const QTextEdit& edit) {
  QTextCursor cursor = edit.textCursor();
  cursor.setPosition(cursor.selectionStart());
  const QTextBlockFormat format = cursor.blockFormat();
  SParaStyle style;
  const Qt::Alignment alignment = format.alignment();
  style.eAlignment = alignment & Qt::AlignHCenter   ? EStyleAlignment::Centre
                     : alignment & Qt::AlignRight   ? EStyleAlignment::Right
                     : alignment & Qt::AlignJustify ? EStyleAlignment::Justify
                                                    : EStyleAlignment::Left;
  style.nLeftIndent = Twips(format.leftMargin(), -kMaxTwips);
  style.nRightIndent = Twips(format.rightMargin(), -kMaxTwips);
  style.nFirstLineIndent = Twips(format.textIndent(), -kMaxTwips);
  style.nSpaceBefore = Twips(format.topMargin(), 0);
  style.nSpaceAfter = Twips(format.bottomMargin(), 0);
  return style;
}

void ApplyStyle(QTextEdit& edit, const SCharStyle& charStyle, const SParaStyle& paraStyle) {
  const QTextCharFormat styleFormat = ToCharFormat(charStyle);
  QTextCursor cursor = edit.textCursor();
  const int nStart = cursor.selectionStart();
  const int nEnd = cursor.selectionEnd();
  QTextDocument& document = *edit.document();
  // The pieces of text first: setting a format splits and merges fragments.
  std::vector<std::pair<QTextCursor, QTextCharFormat>> pieces;
  const QTextBlock last = document.findBlock(nEnd);
  for (QTextBlock block = document.findBlock(nStart); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const int nFrom = std::max(nStart, fragment.position());
      const int nTo = std::min(nEnd, fragment.position() + fragment.length());
      if (nFrom >= nTo) continue;
      QTextCursor piece(&document);
      piece.setPosition(nFrom);
      piece.setPosition(nTo, QTextCursor::KeepAnchor);
      pieces.emplace_back(piece, Styled(fragment.charFormat(), charStyle, styleFormat));
    }
    if (block == last) break;
  }
  cursor.beginEditBlock();
  for (auto& [piece, format] : pieces) piece.setCharFormat(format);
  for (QTextBlock block = document.findBlock(nStart); block.isValid(); block = block.next()) {
    QTextBlockFormat format = block.blockFormat();
    ApplyParaStyle(format, paraStyle);
    QTextCursor(block).setBlockFormat(format);
    if (block == last) break;
  }
  cursor.endEditBlock();
  if (!cursor.hasSelection())
    edit.setCurrentCharFormat(Styled(edit.currentCharFormat(), charStyle, styleFormat));
}

}  // namespace orv

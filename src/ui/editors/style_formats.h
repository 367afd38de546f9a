#pragma once
// Named styles in the rich-text editor: what a style records of the text at
// the caret, and applying a style to the selection.

#include <QTextEdit>

#include "editors/style_record.h"

namespace orv {

// The format of the selection's first character (the caret's when nothing
// is selected), resolved against the document's default font so that the
// style restores it on text of another font; the colours only when the text
// has its own.
SCharStyle CaptureCharStyle(const QTextEdit& edit);
// The format of the paragraph where the selection starts.
SParaStyle CaptureParaStyle(const QTextEdit& edit);

// Gives the selection the style's character format and each paragraph it
// touches the paragraph format, as one undoable step; without a selection
// the caret's paragraph takes the paragraph format and what is typed next
// the character format. A link stays a link.
void ApplyStyle(QTextEdit& edit, const SCharStyle& charStyle, const SParaStyle& paraStyle);

}  // namespace orv

#pragma once
// The notes printing puts on paper, laid out in one text document: each in
// its own formatting (rich text and HTML as their editors show them, plain
// text in the plain-text editor's font), with their names as headings when
// a branch is printed.

#include <QFont>
#include <QTextDocument>
#include <memory>
#include <vector>

#include "tree/printed_notes.h"

namespace orv {

// The editors' fonts: what text that names no font of its own is printed in.
struct SPrintFonts {
  QFont plain;
  QFont rich;
  QFont html;
};

std::unique_ptr<QTextDocument> PrintableDocument(const std::vector<SPrintedNote>& notes,
                                                 const SPrintFonts& fonts, bool bHeadings);

}  // namespace orv

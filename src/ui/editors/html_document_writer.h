#pragma once
// The HTML editor's own writer: an edited note is stored as compact HTML
// made from its QTextDocument, not as QTextDocument::toHtml(), which spells
// out Qt's defaults on every paragraph and makes a note several times
// larger. It writes only what differs from what the HTML reader makes of a
// bare tag, so its output read back and written again gives the same bytes.
//
// Kept: paragraphs and headings, bold, italic, underline, strike-out, font
// face, size and colour, background, sub- and superscript, alignment,
// margins and indents, lists, links, pictures, tables, horizontal rules and
// line breaks.

#include <QTextDocument>
#include <QTextFormat>
#include <string>
#include <string_view>
#include <utility>

namespace orv {

std::string WriteHtmlDocument(const QTextDocument& document);

// The paragraph and character format the HTML reader gives text in a block
// tag ("div", "p", "h1" … "h6", "pre"): what choosing that block format sets.
std::pair<QTextBlockFormat, QTextCharFormat> BlockTagFormats(std::string_view sTag);

// HTML readers show a paragraph's closing line break as nothing (an empty
// paragraph is "<div><br></div>"); Qt's shows it as one more line. Removes
// that break from every paragraph, as part of loading.
void DropClosingLineBreaks(QTextDocument& document);

}  // namespace orv

#include "ui/print/note_document.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QUrl>
#include <algorithm>
#include <iterator>

#include "editors/html_cleanup.h"
#include "model/note_keys.h"
#include "tree/note_protection.h"
#include "ui/rtf/rtf_reader.h"

namespace orv {

namespace {

// Heading sizes for a branch's levels, the note printed from the largest.
constexpr double kHeadingScale[] = {1.6, 1.4, 1.25, 1.15, 1.1, 1.05};

// A font set in pixels has no point size.
double PointSize(const QFont& font) { return font.pointSizeF() > 0 ? font.pointSizeF() : 10.0; }

// Loads one note's content as its editor would show it.
void LoadNote(const SPrintedNote& note, const SPrintFonts& fonts, QTextDocument& doc) {
  if (!note.bContent) {
    doc.setDefaultFont(fonts.plain);
    doc.setPlainText(QString::fromUtf8(kPasswordPlaceholder));
  } else if (note.sType == "1" || note.sType == "4") {
    doc.setDefaultFont(fonts.html);
    // Cleaned first, as for the editor: Qt would apply a <style> unseen.
    SHtmlCleanup cleanup = CleanHtml(note.sContent);
    doc.setHtml(QString::fromStdString(cleanup.bChanged ? cleanup.sHtml : note.sContent));
  } else if (note.sType == "0" || note.sType == "3") {
    doc.setDefaultFont(fonts.plain);
    doc.setPlainText(QString::fromStdString(note.sContent));
  } else {
    doc.setDefaultFont(fonts.rich);
    ReadRtf(note.sContent, doc);
  }
}

// Moved into the printed document, the note's text loses its own document's
// default font and pictures: both are written onto the text itself.
void MakeSelfContained(QTextDocument& doc, QTextDocument& printed, size_t nNote) {
  struct SChange {
    int nStart;
    int nLength;
    QTextCharFormat format;
  };
  std::vector<SChange> changes;
  const QFont font = doc.defaultFont();
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const QTextCharFormat format = fragment.charFormat();
      QTextCharFormat added;
      if (!format.hasProperty(QTextFormat::FontFamilies)) added.setFontFamilies(font.families());
      if (!format.hasProperty(QTextFormat::FontPointSize) &&
          !format.hasProperty(QTextFormat::FontPixelSize))
        added.setFontPointSize(PointSize(font));
      if (format.isImageFormat()) {
        // Every note numbers its pictures from one.
        QTextImageFormat image = format.toImageFormat();
        const QString sName = QStringLiteral("note%1/%2").arg(nNote).arg(image.name());
        printed.addResource(QTextDocument::ImageResource, QUrl(sName),
                            doc.resource(QTextDocument::ImageResource, QUrl(image.name())));
        image.setName(sName);
        added.merge(image);
      }
      if (!added.properties().isEmpty())
        changes.push_back({fragment.position(), fragment.length(), added});
    }
  }
  for (const SChange& change : changes) {
    QTextCursor cursor(&doc);
    cursor.setPosition(change.nStart);
    cursor.setPosition(change.nStart + change.nLength, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(change.format);
  }
}

void InsertHeading(QTextCursor& cursor, const SPrintedNote& note, const QFont& base, bool bFirst) {
  QTextBlockFormat block;
  block.setHeadingLevel(static_cast<int>(std::min<size_t>(note.nDepth + 1, 6)));
  block.setTopMargin(bFirst ? 0 : PointSize(base) * 1.5);
  block.setBottomMargin(PointSize(base) * 0.5);
  QTextCharFormat text;
  text.setFontFamilies(base.families());
  text.setFontWeight(QFont::Bold);
  text.setFontPointSize(PointSize(base) *
                        kHeadingScale[std::min<size_t>(note.nDepth, std::size(kHeadingScale) - 1)]);
  if (!bFirst) cursor.insertBlock();
  cursor.setBlockFormat(block);
  cursor.insertText(QString::fromStdString(note.sName), text);
  cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
}

}  // namespace

std::unique_ptr<QTextDocument> PrintableDocument(const std::vector<SPrintedNote>& notes,
                                                 const SPrintFonts& fonts, bool bHeadings) {
  auto pPrinted = std::make_unique<QTextDocument>();
  pPrinted->setDefaultFont(fonts.plain);
  QTextCursor cursor(pPrinted.get());
  for (size_t i = 0; i < notes.size(); ++i) {
    if (bHeadings)
      InsertHeading(cursor, notes[i], fonts.plain, i == 0);
    else if (i > 0)
      cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    QTextDocument note;
    LoadNote(notes[i], fonts, note);
    MakeSelfContained(note, *pPrinted, i);
    cursor.insertFragment(QTextDocumentFragment(&note));
  }
  return pPrinted;
}

}  // namespace orv

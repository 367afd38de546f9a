#include "ui/editors/html_document_writer.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <array>
#include <vector>

#include "editors/html_markup.h"

namespace orv {

namespace {

constexpr QChar kLineBreak(QChar::LineSeparator);
constexpr QChar kObject(QChar::ObjectReplacementCharacter);
// Qt's reader makes a paragraph of <p> with these margins, of <div> with none.
constexpr double kParagraphMargin = 12;
// A list's type is written when it is not its tag's first one.
constexpr std::array kListTypes{std::pair{QTextListFormat::ListDisc, "disc"},
                                std::pair{QTextListFormat::ListCircle, "circle"},
                                std::pair{QTextListFormat::ListSquare, "square"},
                                std::pair{QTextListFormat::ListDecimal, "1"},
                                std::pair{QTextListFormat::ListLowerAlpha, "a"},
                                std::pair{QTextListFormat::ListUpperAlpha, "A"},
                                std::pair{QTextListFormat::ListLowerRoman, "i"},
                                std::pair{QTextListFormat::ListUpperRoman, "I"}};

enum class EBlockTag { Div, P, Pre, Li, H1, H2, H3, H4, H5, H6, Count };
constexpr std::array<const char*, static_cast<size_t>(EBlockTag::Count)> kBlockTagNames{
    "div", "p", "pre", "li", "h1", "h2", "h3", "h4", "h5", "h6"};

// What the HTML reader makes of a letter alone in a tag: the writer leaves
// out whatever the tag gives anyway.
struct SImplied {
  QTextBlockFormat block;
  QTextCharFormat chars;
  QTextTableFormat table;
};

SImplied Probe(const QString& sHtml) {
  QTextDocument probe;
  probe.setHtml(sHtml);
  SImplied implied;
  for (QTextBlock block = probe.begin(); block.isValid(); block = block.next()) {
    if (block.text() != "x") continue;
    implied.block = block.blockFormat();
    implied.chars = block.begin().fragment().charFormat();
  }
  for (QTextFrame* pFrame : probe.rootFrame()->childFrames())
    if (auto* pTable = qobject_cast<QTextTable*>(pFrame)) implied.table = pTable->format();
  return implied;
}

const SImplied& Implied(EBlockTag eTag, bool bInCell) {
  static const auto kProbes = [] {
    std::array<std::array<SImplied, 2>, kBlockTagNames.size()> probes;
    for (size_t i = 0; i < kBlockTagNames.size(); ++i) {
      const QString sTag = QString::fromLatin1(kBlockTagNames[i]);
      QString sHtml = QString("<%1>x</%1>").arg(sTag);
      if (sTag == "li") sHtml = "<ul>" + sHtml + "</ul>";
      probes[i][0] = Probe(sHtml);
      probes[i][1] = Probe("<table><tr><td>" + sHtml + "</td></tr></table>");
    }
    return probes;
  }();
  return kProbes[static_cast<size_t>(eTag)][bInCell ? 1 : 0];
}

const SImplied& ImpliedLink() {
  static const SImplied kLink = Probe("<div><a href=\"u\">x</a></div>");
  return kLink;
}

std::string Utf8(const QString& s) { return s.toStdString(); }

std::string Colour(const QBrush& brush) {
  const QColor colour = brush.color();
  return CssColour(static_cast<uint8_t>(colour.red()), static_cast<uint8_t>(colour.green()),
                   static_cast<uint8_t>(colour.blue()));
}

// Whether a brush property is set to something other than what the tag gives.
bool BrushDiffers(const QTextFormat& format, const QTextFormat& implied, int nProperty) {
  const QBrush brush = format.brushProperty(nProperty);
  return brush.style() != Qt::NoBrush && brush != implied.brushProperty(nProperty);
}

QStringList Families(const QTextCharFormat& format) {
  QStringList families = format.fontFamilies().toStringList();
  if (families.isEmpty() && format.hasProperty(QTextFormat::FontFamily))
    families << format.stringProperty(QTextFormat::FontFamily);
  return families;
}

// <font face color size>, the shortest way to say the commonest formats.
std::string FontAttributes(const QTextCharFormat& format, const QTextCharFormat& implied) {
  std::string sAttributes;
  if (const QStringList families = Families(format);
      families.size() == 1 && families != Families(implied))
    sAttributes += HtmlAttribute("face", Utf8(families.constFirst()));
  if (BrushDiffers(format, implied, QTextFormat::ForegroundBrush))
    sAttributes += HtmlAttribute("color", Colour(format.foreground()));
  if (const int nStep = format.intProperty(QTextFormat::FontSizeAdjustment);
      nStep != implied.intProperty(QTextFormat::FontSizeAdjustment)) {
    // The reader turns size N into a size step of N - 3.
    sAttributes += HtmlAttribute("size", std::to_string(std::clamp(nStep + 3, 1, 7)));
  }
  return sAttributes;
}

// What only a style says.
std::string FontStyle(const QTextCharFormat& format, const QTextCharFormat& implied) {
  std::string sStyle;
  if (const QStringList families = Families(format);
      families.size() > 1 && families != Families(implied)) {
    std::string sValue;
    for (const QString& sFamily : families)
      sValue += (sValue.empty() ? "" : ",") + CssFontFamily(Utf8(sFamily));
    AddStyle(sStyle, "font-family", sValue);
  }
  if (format.fontPointSize() > 0 && format.fontPointSize() != implied.fontPointSize())
    AddStyle(sStyle, "font-size", CssNumber(format.fontPointSize()) + "pt");
  const int nPixels = format.intProperty(QTextFormat::FontPixelSize);
  if (nPixels > 0 && nPixels != implied.intProperty(QTextFormat::FontPixelSize))
    AddStyle(sStyle, "font-size", std::to_string(nPixels) + "px");
  if (format.fontWeight() != implied.fontWeight() && format.fontWeight() != QFont::Bold)
    AddStyle(sStyle, "font-weight", std::to_string(format.fontWeight()));
  if (!format.fontItalic() && implied.fontItalic()) AddStyle(sStyle, "font-style", "normal");
  if (!format.fontUnderline() && implied.fontUnderline())
    AddStyle(sStyle, "text-decoration", "none");
  if (BrushDiffers(format, implied, QTextFormat::BackgroundBrush))
    AddStyle(sStyle, "background-color", Colour(format.background()));
  return sStyle;
}

// The inline elements that give text its format, outermost first.
std::vector<SInlineMark> Marks(const QTextCharFormat& format, QTextCharFormat implied) {
  std::vector<SInlineMark> marks;
  if (format.isAnchor()) {
    implied.merge(ImpliedLink().chars);
    std::string sAttributes;
    if (!format.anchorHref().isEmpty())
      sAttributes += HtmlAttribute("href", Utf8(format.anchorHref()));
    if (!format.anchorNames().isEmpty())
      sAttributes += HtmlAttribute("name", Utf8(format.anchorNames().constFirst()));
    if (!sAttributes.empty()) marks.push_back({"a", sAttributes});
  }
  if (std::string sStyle = FontStyle(format, implied); !sStyle.empty())
    marks.push_back({"span", StyleAttribute(sStyle)});
  if (std::string sAttributes = FontAttributes(format, implied); !sAttributes.empty())
    marks.push_back({"font", std::move(sAttributes)});
  if (format.fontWeight() == QFont::Bold && implied.fontWeight() != QFont::Bold)
    marks.push_back({"b", {}});
  if (format.fontItalic() && !implied.fontItalic()) marks.push_back({"i", {}});
  if (format.fontUnderline() && !implied.fontUnderline()) marks.push_back({"u", {}});
  if (format.fontStrikeOut() && !implied.fontStrikeOut()) marks.push_back({"s", {}});
  if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
    marks.push_back({"sup", {}});
  else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
    marks.push_back({"sub", {}});
  return marks;
}

std::string ImageTag(const QTextImageFormat& image) {
  std::string sTag = "<img" + HtmlAttribute("src", Utf8(image.name()));
  if (image.hasProperty(QTextFormat::ImageWidth))
    sTag += HtmlAttribute("width", CssNumber(image.width()));
  if (image.hasProperty(QTextFormat::ImageHeight))
    sTag += HtmlAttribute("height", CssNumber(image.height()));
  return sTag + ">";
}

// Alignment without its "absolute" flag (right is right in either direction here).
const Qt::Alignment kHorizontal = Qt::AlignHorizontal_Mask & ~Qt::Alignment(Qt::AlignAbsolute);

const char* AlignmentName(Qt::Alignment eAlignment) {
  switch ((eAlignment & kHorizontal).toInt()) {
    case Qt::AlignRight:
      return "right";
    case Qt::AlignHCenter:
      return "center";
    case Qt::AlignJustify:
      return "justify";
    default:
      return "left";
  }
}

class CDocumentWriter {
 public:
  explicit CDocumentWriter(const QTextDocument& document) : m_document(document) {}

  std::string Write() {
    m_sOut = "<html><head><meta charset=\"utf-8\"></head><body>";
    WriteItems(m_document.rootFrame()->begin(), false);
    m_sOut += "</body></html>";
    return std::move(m_sOut);
  }

 private:
  // The lists open around the block being written, outermost first.
  using COpenLists = std::vector<const QTextList*>;

  void WriteItems(QTextFrame::iterator it, bool bInCell) {
    COpenLists lists;
    bool bAfterTable = false;
    for (; !it.atEnd(); ++it) {
      if (QTextFrame* pFrame = it.currentFrame()) {
        CloseLists(lists, 0);
        if (auto* pTable = qobject_cast<QTextTable*>(pFrame))
          WriteTable(*pTable);
        else
          WriteItems(pFrame->begin(), bInCell);
        bAfterTable = true;
      } else {
        WriteBlock(it.currentBlock(), bInCell, bAfterTable, lists);
        bAfterTable = false;
      }
    }
    CloseLists(lists, 0);
  }

  void CloseLists(COpenLists& lists, size_t nKeep) {
    while (lists.size() > nKeep) {
      const bool bOrdered = lists.back()->format().style() <= QTextListFormat::ListDecimal;
      m_sOut += bOrdered ? "</li></ol>" : "</li></ul>";
      m_bLineMayEnd = true;
      lists.pop_back();
    }
  }

  // Opens the list item of a block in pList, inside the items open around it.
  void EnterList(const QTextList& list, COpenLists& lists) {
    const int nDepth = list.format().indent();
    size_t nKeep = lists.size();
    while (nKeep > 0 && lists[nKeep - 1] != &list && lists[nKeep - 1]->format().indent() >= nDepth)
      --nKeep;
    CloseLists(lists, nKeep);
    if (!lists.empty() && lists.back() == &list) {
      m_sOut += "</li>";
      m_bLineMayEnd = true;
      return;
    }
    const QTextListFormat::Style eStyle = list.format().style();
    const bool bOrdered = eStyle <= QTextListFormat::ListDecimal;
    BlockTag(bOrdered ? "<ol" : "<ul");
    for (auto [eListStyle, pType] : kListTypes) {
      const bool bFirstOfTag =
          eListStyle == QTextListFormat::ListDisc || eListStyle == QTextListFormat::ListDecimal;
      if (eListStyle == eStyle && (!bFirstOfTag || !lists.empty()))
        m_sOut += HtmlAttribute("type", pType);
    }
    m_sOut += ">";
    m_bLineMayEnd = true;
    lists.push_back(&list);
  }

  static EBlockTag TagOf(const QTextBlock& block) {
    const QTextBlockFormat format = block.blockFormat();
    if (block.textList()) return EBlockTag::Li;
    if (format.headingLevel() >= 1 && format.headingLevel() <= 6)
      return static_cast<EBlockTag>(static_cast<int>(EBlockTag::H1) + format.headingLevel() - 1);
    if (format.nonBreakableLines()) return EBlockTag::Pre;
    if (format.topMargin() == kParagraphMargin && format.bottomMargin() == kParagraphMargin)
      return EBlockTag::P;
    return EBlockTag::Div;
  }

  std::string BlockAttributes(const QTextBlock& block, EBlockTag eTag, const SImplied& implied) {
    const QTextBlockFormat format = block.blockFormat();
    const QTextBlockFormat& base = implied.block;
    std::string sAttributes;
    const Qt::Alignment eAlignment = format.alignment() & kHorizontal;
    if (format.hasProperty(QTextFormat::BlockAlignment) &&
        eAlignment != (base.alignment() & kHorizontal) &&
        (eAlignment != Qt::AlignLeft || base.hasProperty(QTextFormat::BlockAlignment)))
      sAttributes += HtmlAttribute("align", AlignmentName(eAlignment));
    std::string sStyle;
    auto addLength = [&](const char* pName, double nValue, double nBase) {
      if (nValue != nBase) AddStyle(sStyle, pName, CssNumber(nValue) + "px");
    };
    // Qt spaces a list's items itself, by their place in it.
    if (eTag != EBlockTag::Li) {
      addLength("margin-top", format.topMargin(), base.topMargin());
      addLength("margin-bottom", format.bottomMargin(), base.bottomMargin());
    }
    const double nIndentWidth = m_document.indentWidth();
    addLength("margin-left", format.leftMargin() + format.indent() * nIndentWidth,
              base.leftMargin() + base.indent() * nIndentWidth);
    addLength("margin-right", format.rightMargin(), base.rightMargin());
    addLength("text-indent", format.textIndent(), base.textIndent());
    if (BrushDiffers(format, base, QTextFormat::BackgroundBrush))
      AddStyle(sStyle, "background-color", Colour(format.background()));
    QString sText = block.text();
    if (eTag != EBlockTag::Pre && CollapsesWhiteSpace(Utf8(sText.replace(kLineBreak, '\n'))))
      AddStyle(sStyle, "white-space", "pre-wrap");
    return sAttributes + StyleAttribute(sStyle);
  }

  void WriteBlock(const QTextBlock& block, bool bInCell, bool bAfterTable, COpenLists& lists) {
    const QTextBlockFormat format = block.blockFormat();
    if (format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth)) {
      CloseLists(lists, 0);
      const QTextLength width =
          format.lengthProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
      const bool bPercent = width.type() == QTextLength::PercentageLength;
      const bool bWhole = width.type() == QTextLength::VariableLength ||
                          (bPercent && qRound(width.rawValue()) >= 100);
      BlockTag(bWhole ? std::string("<hr>")
                      : "<hr width=\"" + std::to_string(qRound(width.rawValue())) +
                            (bPercent ? "%" : "") + "\">");
      m_bLineMayEnd = true;
      return;
    }
    const EBlockTag eTag = TagOf(block);
    const SImplied& implied = Implied(eTag, bInCell);
    const std::string sAttributes = BlockAttributes(block, eTag, implied);
    if (const QTextList* pList = block.textList())
      EnterList(*pList, lists);
    else
      CloseLists(lists, 0);
    // The reader always puts a paragraph after a table; what stands there
    // bare is its content rather than one more paragraph.
    if (bAfterTable && eTag == EBlockTag::Div && sAttributes.empty()) {
      WriteInline(block, implied.chars);
      return;
    }
    const char* pTag = kBlockTagNames[static_cast<size_t>(eTag)];
    BlockTag(std::string("<") + pTag + sAttributes + ">");
    if (block.length() == 1) m_sOut += "<br>";
    WriteInline(block, implied.chars);
    if (eTag == EBlockTag::Li) return;
    m_sOut += std::string("</") + pTag + ">";
    m_bLineMayEnd = true;
  }

  // Starts a line before a block's tag where the reader takes the line end
  // for nothing: after another block's tag, not after text.
  void BlockTag(const std::string& sTag) {
    if (m_bLineMayEnd) m_sOut += '\n';
    m_sOut += sTag;
    m_bLineMayEnd = false;
  }

  void WriteInline(const QTextBlock& block, const QTextCharFormat& implied) {
    m_bLineMayEnd = false;
    CInlineWriter writer(m_sOut);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const QTextCharFormat format = fragment.charFormat();
      const std::vector<SInlineMark> marks = Marks(format, implied);
      const QString sText = fragment.text();
      if (format.isImageFormat()) {
        const std::string sImage = ImageTag(format.toImageFormat());
        for (qsizetype i = 0; i < sText.size(); ++i) writer.Markup(marks, sImage);
        continue;
      }
      const QStringList lines = sText.split(kLineBreak);
      for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) writer.Markup(marks, "<br>");
        writer.Text(marks, Utf8(QString(lines[i]).remove(kObject)));
      }
    }
    // A closing line break shows only with one more after it.
    if (block.text().endsWith(kLineBreak)) writer.Markup({}, "<br>");
  }

  void WriteTable(const QTextTable& table) {
    const QTextTableFormat format = table.format();
    const QTextTableFormat& base = Implied(EBlockTag::Div, true).table;
    std::string sAttributes;
    auto addNumber = [&](const char* pName, double nValue, double nBase) {
      if (nValue != nBase) sAttributes += HtmlAttribute(pName, CssNumber(nValue));
    };
    addNumber("border", format.border(), base.border());
    addNumber("cellpadding", format.cellPadding(), base.cellPadding());
    addNumber("cellspacing", format.cellSpacing(), base.cellSpacing());
    const QTextLength width = format.width();
    if (width.type() == QTextLength::PercentageLength)
      sAttributes += HtmlAttribute("width", CssNumber(width.rawValue()) + "%");
    else if (width.type() == QTextLength::FixedLength)
      sAttributes += HtmlAttribute("width", CssNumber(width.rawValue()));
    if (const Qt::Alignment eAlignment = format.alignment() & kHorizontal;
        eAlignment == Qt::AlignHCenter || eAlignment == Qt::AlignRight)
      sAttributes += HtmlAttribute("align", AlignmentName(eAlignment));
    if (BrushDiffers(format, base, QTextFormat::BackgroundBrush))
      sAttributes += HtmlAttribute("bgcolor", Colour(format.background()));
    BlockTag("<table" + sAttributes + ">");
    for (int r = 0; r < table.rows(); ++r) {
      m_bLineMayEnd = true;
      BlockTag("<tr>");
      for (int c = 0; c < table.columns(); ++c) {
        const QTextTableCell cell = table.cellAt(r, c);
        if (cell.row() != r || cell.column() != c) continue;  // covered by a spanning cell
        m_sOut += "<td";
        if (cell.columnSpan() > 1)
          m_sOut += HtmlAttribute("colspan", std::to_string(cell.columnSpan()));
        if (cell.rowSpan() > 1) m_sOut += HtmlAttribute("rowspan", std::to_string(cell.rowSpan()));
        if (const QTextCharFormat cellFormat = cell.format();
            cellFormat.background().style() != Qt::NoBrush)
          m_sOut += HtmlAttribute("bgcolor", Colour(cellFormat.background()));
        m_sOut += ">";
        WriteItems(cell.begin(), true);
        m_sOut += "</td>";
        m_bLineMayEnd = false;
      }
      m_sOut += "</tr>";
    }
    m_sOut += "</table>";
    m_bLineMayEnd = true;
  }

  const QTextDocument& m_document;
  std::string m_sOut;
  bool m_bLineMayEnd = false;
};

}  // namespace

std::string WriteHtmlDocument(const QTextDocument& document) {
  return CDocumentWriter(document).Write();
}

std::pair<QTextBlockFormat, QTextCharFormat> BlockTagFormats(std::string_view sTag) {
  for (size_t i = 0; i < kBlockTagNames.size(); ++i) {
    if (sTag != kBlockTagNames[i]) continue;
    const SImplied& implied = Implied(static_cast<EBlockTag>(i), false);
    return {implied.block, implied.chars};
  }
  return {};
}

void DropClosingLineBreaks(QTextDocument& document) {
  QTextCursor cursor(&document);
  cursor.beginEditBlock();
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (block.length() < 2 ||
        document.characterAt(block.position() + block.length() - 2) != kLineBreak)
      continue;
    cursor.setPosition(block.position() + block.length() - 2);
    cursor.deleteChar();
  }
  cursor.endEditBlock();
}

}  // namespace orv

#include "ui/rtf/rtf_reader.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <algorithm>
#include <random>
#include <string>

#include "support/test_support.h"
#include "ui/rtf/rtf_parser.h"

namespace orv {
namespace {

std::string Fixture(const std::string& sName) {
  return test::ReadWholeFile(std::string(ORVELLA_TEST_DATA) + "/rtf/" + sName);
}

// Each block's text, kept as it is (toPlainText() would turn no-break spaces
// and line separators into plain ones).
std::string Text(const QTextDocument& doc) {
  QStringList listBlocks;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
    listBlocks.append(block.text());
  return listBlocks.join('\n').toStdString();
}

// The format of the first character of the first place sText occurs.
QTextCharFormat FormatOf(const QTextDocument& doc, const QString& sText) {
  const QTextCursor found = doc.find(sText);
  EXPECT_FALSE(found.isNull()) << sText.toStdString();
  QTextCursor cursor(const_cast<QTextDocument*>(&doc));
  cursor.setPosition(found.selectionStart() + 1);
  return cursor.charFormat();
}

QTextBlock BlockOf(const QTextDocument& doc, const QString& sText) {
  return doc.find(sText).block();
}

QString Family(const QTextCharFormat& format) {
  return format.fontFamilies().toStringList().value(0);
}

TEST(RtfReader, RichEditNote) {
  QTextDocument doc;
  ReadRtf(Fixture("richedit.rtf"), doc);
  EXPECT_EQ(
      Text(doc),
      "Shopping list for the weekend\nBold and italic and underlined and struck\n"
      "red text, highlighted, code\nCentred caf\u00e9 \u20ac 5\nRight\nSee the site for more.\n"
      "Line one\u2028line two\ttabbed");
  const QTextCharFormat plain = FormatOf(doc, "Shopping");
  EXPECT_EQ(Family(plain), "Tahoma");
  EXPECT_EQ(plain.fontPointSize(), 8);
  EXPECT_EQ(plain.fontWeight(), QFont::Normal);
  EXPECT_EQ(FormatOf(doc, "Bold").fontWeight(), QFont::Bold);
  EXPECT_NE(FormatOf(doc, " and italic").fontWeight(), QFont::Bold);
  EXPECT_TRUE(FormatOf(doc, "italic").fontItalic());
  EXPECT_TRUE(FormatOf(doc, "underlined").fontUnderline());
  EXPECT_FALSE(FormatOf(doc, " and struck").fontUnderline());
  EXPECT_TRUE(FormatOf(doc, "struck").fontStrikeOut());
  EXPECT_EQ(FormatOf(doc, "red").foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ(FormatOf(doc, ", high").foreground().style(), Qt::NoBrush);
  EXPECT_EQ(FormatOf(doc, "highlighted").background().color(), QColor(255, 255, 0));
  EXPECT_EQ(Family(FormatOf(doc, "code")), "Courier New");
  EXPECT_EQ(FormatOf(doc, "code").fontPointSize(), 10);
  EXPECT_EQ(BlockOf(doc, "Centred").blockFormat().alignment(), Qt::AlignHCenter);
  EXPECT_EQ(BlockOf(doc, "Right").blockFormat().alignment(), Qt::AlignRight);
  const QTextCharFormat link = FormatOf(doc, "the site");
  EXPECT_TRUE(link.isAnchor());
  EXPECT_EQ(link.anchorHref(), "https://example.org/notes?a=1&b=2");
  EXPECT_EQ(link.foreground().color(), QColor(0, 0, 255));
  EXPECT_FALSE(FormatOf(doc, "for more").isAnchor());
}

TEST(RtfReader, WordPadListsAndIndents) {
  QTextDocument doc;
  ReadRtf(Fixture("wordpad.rtf"), doc);
  EXPECT_EQ(Text(doc),
            "R\u00e9sum\u00e9 of the meeting\nFirst point\nSecond point, na\u00efve\n\nStep one\n"
            "Step two\nCentred bold\nIndented paragraph");
  const QTextList* pBullets = BlockOf(doc, "First").textList();
  ASSERT_NE(pBullets, nullptr);
  EXPECT_EQ(pBullets->format().style(), QTextListFormat::ListDisc);
  EXPECT_EQ(pBullets->format().indent(), 1);
  EXPECT_EQ(BlockOf(doc, "Second").textList(), pBullets);
  const QTextList* pNumbers = BlockOf(doc, "Step one").textList();
  ASSERT_NE(pNumbers, nullptr);
  EXPECT_EQ(pNumbers->format().style(), QTextListFormat::ListDecimal);
  EXPECT_EQ(pNumbers->count(), 2);
  EXPECT_EQ(pNumbers->itemText(BlockOf(doc, "Step two")), "2.");
  EXPECT_EQ(BlockOf(doc, "Centred").textList(), nullptr);
  EXPECT_EQ(FormatOf(doc, "Centred").fontWeight(), QFont::Bold);
  const QTextBlockFormat indented = BlockOf(doc, "Indented").blockFormat();
  EXPECT_EQ(indented.leftMargin(), 48);
  EXPECT_EQ(indented.rightMargin(), 24);
  EXPECT_EQ(indented.topMargin(), 8);
  EXPECT_EQ(indented.bottomMargin(), 16);
}

TEST(RtfReader, Word97ListsTableAndField) {
  QTextDocument doc;
  ReadRtf(Fixture("word97.rtf"), doc);
  const std::string sText = Text(doc);
  EXPECT_EQ(sText.substr(0, sText.find('\n')),
            "Project notes \u2013 \u201cdraft\u201d, it\u2019s \u65e5\u672c fine");
  for (const char* pHidden :
       {"HEADER", "Normal", "Hyperlink", "Times", "Calibri", "Ann Example", "Project notes\n",
        "504b03", "Microsoft", "tip", "HYPERLINK", "00d0c9"}) {
    EXPECT_EQ(sText.find(pHidden), std::string::npos) << pHidden;
  }
  const QTextList* pFruit = BlockOf(doc, "Apples").textList();
  ASSERT_NE(pFruit, nullptr);
  EXPECT_EQ(pFruit->format().style(), QTextListFormat::ListDisc);
  const QTextList* pSub = BlockOf(doc, "Green ones").textList();
  ASSERT_NE(pSub, nullptr);
  EXPECT_EQ(pSub->format().style(), QTextListFormat::ListCircle);
  EXPECT_EQ(pSub->format().indent(), 2);
  const QTextList* pSteps = BlockOf(doc, "Wash").textList();
  ASSERT_NE(pSteps, nullptr);
  EXPECT_EQ(pSteps->format().style(), QTextListFormat::ListDecimal);
  EXPECT_EQ(BlockOf(doc, "Peel").textList(), pSteps);
  EXPECT_EQ(FormatOf(doc, "example").anchorHref(), "http://www.example.com/#prices");

  QTextTable* pTable = QTextCursor(BlockOf(doc, "Fruit")).currentTable();
  ASSERT_NE(pTable, nullptr);
  ASSERT_EQ(pTable->rows(), 2);
  ASSERT_EQ(pTable->columns(), 2);
  const auto cellText = [&](int nRow, int nColumn) {
    QTextCursor cursor = pTable->cellAt(nRow, nColumn).firstCursorPosition();
    cursor.setPosition(pTable->cellAt(nRow, nColumn).lastCursorPosition().position(),
                       QTextCursor::KeepAnchor);
    return cursor.selectedText().toStdString();
  };
  EXPECT_EQ(cellText(0, 0), "Fruit");
  EXPECT_EQ(cellText(0, 1), "Price");
  EXPECT_EQ(cellText(1, 0), "Pear");
  EXPECT_EQ(cellText(1, 1), "2.50");
  EXPECT_EQ(FormatOf(doc, "Fruit").fontWeight(), QFont::Bold);
  EXPECT_TRUE(FormatOf(doc, "2.50").fontItalic());
  EXPECT_EQ(BlockOf(doc, "2.50").blockFormat().alignment(), Qt::AlignRight);
  EXPECT_NEAR(pTable->format().columnWidthConstraints().value(1).rawValue(), (7092 - 2772) / 15.0,
              0.01);
  EXPECT_EQ(QTextCursor(BlockOf(doc, "The end.")).currentTable(), nullptr);
}

TEST(RtfReader, LibreOfficeFormats) {
  QTextDocument doc;
  ReadRtf(Fixture("libreoffice.rtf"), doc);
  EXPECT_EQ(Text(doc),
            "Weekly plan\nMonday: gym, Tuesday: piano and 2nd lesson.\n"
            "A justified paragraph with a link and marked words \u2014 done.\n"
            "Hanging indent, smaller: nine points");
  EXPECT_EQ(BlockOf(doc, "Weekly").blockFormat().alignment(), Qt::AlignHCenter);
  EXPECT_EQ(Family(FormatOf(doc, "Weekly")), "Liberation Sans");
  EXPECT_EQ(FormatOf(doc, "Weekly").fontPointSize(), 14);
  EXPECT_EQ(Family(FormatOf(doc, "Monday")), "Liberation Sans");  // \plain falls back to \deff4
  EXPECT_EQ(FormatOf(doc, "gym").fontWeight(), QFont::Bold);
  EXPECT_EQ(FormatOf(doc, "piano").foreground().color(), QColor(128, 0, 0));
  EXPECT_EQ(FormatOf(doc, "2nd").verticalAlignment(), QTextCharFormat::AlignSuperScript);
  EXPECT_EQ(FormatOf(doc, "nd lesson").verticalAlignment(), QTextCharFormat::AlignNormal);
  EXPECT_EQ(FormatOf(doc, "link").anchorHref(), "https://www.libreoffice.org/");
  EXPECT_EQ(FormatOf(doc, "marked").background().color(), QColor(255, 255, 0));
  EXPECT_EQ(BlockOf(doc, "justified").blockFormat().alignment(), Qt::AlignJustify);
  const QTextBlockFormat hanging = BlockOf(doc, "Hanging").blockFormat();
  EXPECT_NEAR(hanging.leftMargin(), 567 / 15.0, 0.01);
  EXPECT_NEAR(hanging.textIndent(), -283 / 15.0, 0.01);
  EXPECT_EQ(FormatOf(doc, "nine").fontPointSize(), 9);
}

TEST(RtfReader, PngPictureAmongSkippedOnes) {
  QTextDocument doc;
  ReadRtf(Fixture("picture.rtf"), doc);
  EXPECT_EQ(Text(doc), "Logo: \ufffc end\n");
  const QTextCharFormat format = FormatOf(doc, QString(QChar::ObjectReplacementCharacter));
  ASSERT_TRUE(format.isImageFormat());
  const QTextImageFormat image = format.toImageFormat();
  EXPECT_EQ(image.width(), 60);
  EXPECT_EQ(image.height(), 40);
  const QImage picture = QImage::fromData(
      doc.resource(QTextDocument::ImageResource, QUrl(image.name())).toByteArray());
  EXPECT_EQ(picture.size(), QSize(3, 2));
  EXPECT_EQ(picture.pixelColor(1, 0), QColor(0, 0, 255));
}

TEST(RtfReader, CodePages) {
  QTextDocument doc;
  ReadRtf(Fixture("cyrillic.rtf"), doc);
  EXPECT_EQ(
      Text(doc),
      "\u041f\u0440\u0438\u0432\u0435\u0442, \u043c\u0438\u0440!\n"
      "\u0416\u0438\u0440\u043d\u044b\u0439 \u0442\u0435\u043a\u0441\u0442 and Latin \u2116 5\n"
      "\u03b1\u03b2\u03b3 \u20ac \u20ac");
  EXPECT_EQ(FormatOf(doc, "\u0416").fontWeight(), QFont::Bold);
}

TEST(RtfReader, LastParagraphWithoutParKeepsItsFormats) {
  QTextDocument doc;
  // Found by fuzzing: the document's closing brace ended the last paragraph
  // in the formats outside the document's group.
  ReadRtf("{\\rtf1\\deff1{\\fonttbl{\\f0 Outside;}{\\f1 Body;}}\\pard\\qc\\li720\\b centred}", doc);
  EXPECT_EQ(Text(doc), "centred");
  const QTextBlock block = BlockOf(doc, "centred");
  EXPECT_EQ(block.blockFormat().alignment(), Qt::AlignHCenter);
  EXPECT_EQ(block.blockFormat().leftMargin(), 48);
  EXPECT_EQ(Family(block.charFormat()), "Body");
  EXPECT_EQ(block.charFormat().fontWeight(), QFont::Bold);
  ReadRtf("{\\rtf1\\qr cut {\\b short", doc);
  EXPECT_EQ(BlockOf(doc, "cut").blockFormat().alignment(), Qt::AlignRight);
}

TEST(RtfReader, FontNamesBeyondTheCodePage) {
  QTextDocument doc;
  // Names the code page cannot hold come as \uN; a ';' ends the entry
  // however it is written.
  ReadRtf(
      "{\\rtf1{\\fonttbl{\\f0 A\\u8209?B\\u59?x;}{\\f1\\uc0 \\u65325\\u65331 Gothic\\'3b}}"
      "\\f0 one\\f1 two}",
      doc);
  EXPECT_EQ(Text(doc), "onetwo");
  EXPECT_EQ(Family(FormatOf(doc, "one")), "A\u2011B");
  EXPECT_EQ(Family(FormatOf(doc, "two")), "\uff2d\uff33Gothic");  // the space ends the word
}

// Short documents and the text they show.
TEST(RtfReader, SnippetsShowTheirText) {
  struct SCase {
    std::string sRtf;
    const char* pText;
    const char* pCodePage = "windows-1252";  // the caller's
  };
  const SCase cases[] = {
      // Without \ansicpg the caller's code page holds; with it, the document's.
      {"{\\rtf1\\ansi \\'e9}", "\u0439", "windows-1251"},
      {"{\\rtf1\\ansi\\ansicpg1252 \\'e9}", "\u00e9", "windows-1251"},
      {"{\\rtf1\\ansi\\ansicpg99999 x\\'e9}", "x\u00e9"},
      // Double-byte characters come whole from two escapes.
      {"{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\'7b}", "\u65e5\u672c"},
      // Raw bytes of text already loaded as UTF-8 stay what they are.
      {"{\\rtf1\\ansi caf\xc3\xa9}", "caf\u00e9"},
      // Not RTF: shown as it is.
      {"Just {a} note\\par\nsecond line", "Just {a} note\\par\nsecond line"},
      {"", ""},
      {"\r\n {\\rtf1 a\\\\b\\{c\\}d\\~e\\-f\\_g\\emdash\\bullet\\lquote x\\rquote}",
       "a\\b{c}d\u00a0e\u00adf\u2011g\u2014\u2022\u2018x\u2019"},
      {"{\\rtf1 line\\\nnext}", "line\nnext"},
      {"{\\rtf1\\qr cut {\\b short", "cut short"},
      // Unicode fallbacks are skipped, up to the end of the group.
      {"{\\rtf1\\uc2 a\\u8364XYb\\u8364\\'80\\'80c{\\uc0\\u8364 d}\\u8364??e}",
       "a\u20acb\u20acc\u20acd\u20ace"},
      {"{\\rtf1\\uc1 \\u-10179?\\u-8704?!}", "\U0001F600!"},
      {"{\\rtf1\\uc3 {\\u8364 a}bc}", "\u20acbc"},
  };
  QTextDocument doc;  // one for all: each read replaces what the last left
  for (const SCase& c : cases) {
    ReadRtf(c.sRtf, doc, c.pCodePage);
    EXPECT_EQ(Text(doc), c.pText) << c.sRtf;
  }
}

TEST(RtfReader, FieldsOtherThanLinksShowTheirResult) {
  QTextDocument doc;
  ReadRtf(
      "{\\rtf1 p{\\field{\\*\\fldinst PAGE}{\\fldrslt 7}} "
      "{\\field{\\*\\fldinst HYPERLINK \\\\l \"top\"}{\\fldrslt up}}}",
      doc);
  EXPECT_EQ(Text(doc), "p7 up");
  EXPECT_FALSE(FormatOf(doc, "7").isAnchor());
  EXPECT_EQ(FormatOf(doc, "up").anchorHref(), "#top");
  EXPECT_EQ(HyperlinkTarget(R"( HYPERLINK "C:\\Docs\\a \"b\".txt" \o "tip" )"),
            R"(C:\Docs\a "b".txt)");
  EXPECT_EQ(HyperlinkTarget("HYPERLINK mailto:a@b.org"), "mailto:a@b.org");
  EXPECT_EQ(HyperlinkTarget("hyperlink \"x\" \\l \"y\""), "x#y");
}

TEST(RtfReader, HostileInputNeitherCrashesNorShowsDestinations) {
  QTextDocument doc;
  // Deep nesting, then text that must still show.
  ReadRtf("{\\rtf1 a" + std::string(200000, '{') + "deep" + std::string(200000, '}') + " z}", doc);
  EXPECT_EQ(Text(doc).substr(0, 1), "a");
  EXPECT_EQ(Text(doc).back(), 'z');
  // Unknown and ignorable destinations, lengths and counts that lie.
  ReadRtf("{\\rtf1 {\\*\\unknown secret}{\\stylesheet style}{\\info{\\title t}}a\\bin999999999 ",
          doc);
  EXPECT_EQ(Text(doc), "a");
  std::string sWideRow = "{\\rtf1 \\trowd";
  for (int i = 0; i < 5000; ++i) sWideRow += "\\cellx" + std::to_string(i * 100);
  for (int i = 0; i < 5000; ++i) sWideRow += "\\intbl c\\cell";
  ReadRtf(sWideRow + "\\row}", doc);
  ASSERT_EQ(doc.rootFrame()->childFrames().size(), 1);
  const auto* pTable = qobject_cast<QTextTable*>(doc.rootFrame()->childFrames().front());
  ASSERT_NE(pTable, nullptr);
  EXPECT_EQ(pTable->columns(), 63);
  const std::string sCells = Text(doc);
  EXPECT_EQ(std::count(sCells.begin(), sCells.end(), 'c'), 5000);  // extra cells join the last one
  ReadRtf("}}}{\\rtf1 \\u99999999999 \\fs-5 \\cf99 \\f77 \\ls5\\ilvl99 \\'zz\\'4 x\\par}}}", doc);
  EXPECT_NE(Text(doc).find('x'), std::string::npos);

  // Every cut of every fixture reads without showing what a destination holds.
  for (const char* pName : {"word97.rtf", "libreoffice.rtf", "picture.rtf", "wordpad.rtf"}) {
    const std::string sRtf = Fixture(pName);
    for (size_t nCut = 0; nCut < sRtf.size(); nCut += 37) {
      ReadRtf(std::string_view(sRtf).substr(0, nCut), doc);
      const std::string sText = Text(doc);
      for (const char* pHidden : {"HEADER", "Times New", "Symbol", "Normal", "504b", "LibreOffice/",
                                  "89504e", "Msftedit", "HYPERLINK", "0100090000"}) {
        ASSERT_EQ(sText.find(pHidden), std::string::npos)
            << pName << " cut at " << nCut << ": " << pHidden;
      }
    }
  }
  // Random bytes and random damage to a real document.
  std::mt19937 random(6);
  std::string sDamaged = Fixture("word97.rtf");
  for (int nRound = 0; nRound < 200; ++nRound) {
    sDamaged[random() % sDamaged.size()] = "{}\\;'x0 \xff"[random() % 10];
    ReadRtf(sDamaged, doc);
  }
  std::string sNoise = "{\\rtf1 ";
  for (int i = 0; i < 100000; ++i) sNoise += static_cast<char>(random());
  ReadRtf(sNoise, doc);
}

}  // namespace
}  // namespace orv

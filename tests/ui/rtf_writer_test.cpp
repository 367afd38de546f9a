#include "ui/rtf/rtf_writer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <sstream>
#include <string>

#include "support/test_support.h"
#include "ui/rtf/rtf_reader.h"

namespace orv {
namespace {

std::string Fixture(const std::string& sName) {
  return test::ReadWholeFile(std::string(ORVELLA_TEST_DATA) + "/rtf/" + sName);
}

// Everything of a document the RTF bridge is meant to keep, one line a block.
std::string Describe(const QTextDocument& doc) {
  std::ostringstream out;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    const QTextBlockFormat para = block.blockFormat();
    const QTextCursor at(block);
    if (const QTextTable* pTable = at.currentTable()) {
      const QTextTableCell cell = pTable->cellAt(at);
      out << "[cell " << cell.row() << "," << cell.column() << " of " << pTable->columns() << "] ";
    }
    out << "align=" << para.alignment() << " margins=" << para.leftMargin() << ","
        << para.rightMargin() << "," << para.textIndent() << "," << para.topMargin() << ","
        << para.bottomMargin();
    if (const QTextList* pList = block.textList()) {
      out << " list=" << pList->format().style() << "/" << pList->format().indent() << "#"
          << pList->itemNumber(block);
    }
    out << ":";
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat ch = it.fragment().charFormat();
      out << " [" << it.fragment().text().toStdString() << "|"
          << ch.fontFamilies().toStringList().join(",").toStdString() << " " << ch.fontPointSize()
          << (ch.fontWeight() >= QFont::Bold ? " b" : "") << (ch.fontItalic() ? " i" : "")
          << (ch.fontUnderline() ? " u" : "") << (ch.fontStrikeOut() ? " s" : "") << " v"
          << ch.verticalAlignment();
      if (ch.foreground().style() != Qt::NoBrush)
        out << " fg" << ch.foreground().color().name().toStdString();
      if (ch.background().style() != Qt::NoBrush)
        out << " bg" << ch.background().color().name().toStdString();
      if (ch.isAnchor()) out << " href=" << ch.anchorHref().toStdString();
      if (ch.isImageFormat())
        out << " image " << ch.toImageFormat().width() << "x" << ch.toImageFormat().height();
      out << "]";
    }
    out << "\n";
  }
  return out.str();
}

size_t LongestLine(const std::string& s) {
  size_t nLongest = 0;
  std::istringstream in(s);
  for (std::string sLine; std::getline(in, sLine);) nLongest = std::max(nLongest, sLine.size());
  return nLongest;
}

TEST(RtfWriter, RoundTripKeepsEveryFixture) {
  for (const char* pName : {"richedit.rtf", "wordpad.rtf", "word97.rtf", "libreoffice.rtf",
                            "picture.rtf", "cyrillic.rtf", "continued.rtf"}) {
    for (const char* pCodePage : {"windows-1252", "windows-1251"}) {
      SCOPED_TRACE(std::string(pName) + " in " + pCodePage);
      QTextDocument original;
      ReadRtf(Fixture(pName), original);
      const std::string sWritten = WriteRtf(original, pCodePage);
      QTextDocument again;
      ReadRtf(sWritten, again, "windows-1252");
      EXPECT_EQ(Describe(again), Describe(original));
      EXPECT_EQ(WriteRtf(again, pCodePage), sWritten);  // deterministic, and a fixed point
      EXPECT_LE(LongestLine(sWritten), 260u);
    }
  }
}

TEST(RtfWriter, NumberingGoesOnPastAnOrdinaryParagraph) {
  QTextDocument original;
  ReadRtf(Fixture("continued.rtf"), original);
  const QTextBlock third = original.find("Post it").block();
  const QTextList* pList = third.textList();
  ASSERT_NE(pList, nullptr);
  EXPECT_EQ(original.find("Read the letter").block().textList(), pList);
  EXPECT_EQ(original.find("Keep a copy").block().textList(), nullptr);
  EXPECT_EQ(pList->itemText(third), "iii.");

  const std::string sWritten = WriteRtf(original);
  EXPECT_NE(
      sWritten.find(
          "\\pnstart3\\pnlcrm{\\pntxta .}}\\fi-360\\li720\\sa160{\\pntext\\f0 iii.\\tab}Post it"),
      std::string::npos)
      << sWritten;
  QTextDocument again;
  ReadRtf(sWritten, again);
  EXPECT_EQ(Describe(again), Describe(original));
  EXPECT_EQ(WriteRtf(again), sWritten);

  // Only the number that goes on joins; any other starts a list of its own,
  // and so does a different style.
  ReadRtf(
      "{\\rtf1{\\*\\pn\\pnlvlbody\\pndec}a\\par b\\par\\pard c\\par"
      "{\\*\\pn\\pnlvlbody\\pnstart5\\pndec}d\\par\\pard e\\par"
      "{\\*\\pn\\pnstart2\\pnlvlbody\\pnlcltr}f\\par\\pard g\\par"
      "{\\*\\pn\\pnstart2\\pnlvlbody\\pndec}h\\par}",
      again);
  const auto numberOf = [&](const char* pText) {
    const QTextBlock block = again.find(pText).block();
    return block.textList() == nullptr ? QString() : block.textList()->itemText(block);
  };
  EXPECT_EQ(numberOf("b"), "2.");
  EXPECT_EQ(numberOf("d"), "1.");
  EXPECT_EQ(numberOf("f"), "a.");
  EXPECT_EQ(numberOf("h"), "2.");
}

TEST(RtfWriter, HeaderAsTheRichEditControlWritesIt) {
  QTextDocument doc;
  doc.setDefaultFont(QFont("Tahoma", 8));
  doc.setPlainText("text");
  EXPECT_EQ(WriteRtf(doc),
            "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}}\r\n"
            "\\viewkind4\\uc1\\pard\\fs16 text\\par\r\n}\r\n");
  EXPECT_TRUE(WriteRtf(doc, "CP1251")
                  .starts_with("{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{"
                               "\\f0\\fnil\\fcharset204 Tahoma;}}\r\n\\viewkind4"));
  // A code page with no Windows number falls back to the usual one.
  EXPECT_EQ(WriteRtf(doc, "UTF-8"), WriteRtf(doc));
}

TEST(RtfWriter, FontNamesBeyondTheCodePageComeBack) {
  QTextDocument doc;
  QTextCharFormat format;
  format.setFontFamilies(QStringList{QString::fromUtf8("\uff2d\uff33 Gothic")});
  QTextCursor(&doc).insertText("text", format);
  QTextDocument again;
  ReadRtf(WriteRtf(doc), again);
  QTextCursor cursor(&again);
  cursor.setPosition(1);
  EXPECT_EQ(cursor.charFormat().fontFamilies().toStringList().value(0),
            QString::fromUtf8("\uff2d\uff33 Gothic"));
}

TEST(RtfWriter, CharactersByCodePage) {
  QTextDocument doc;
  doc.setDefaultFont(QFont("Arial", 12));
  doc.setPlainText(QString::fromUtf8("a\\b{c}\u00e9\u20ac\U0001F600\tx\u00a0y"));
  const std::string sBody = "\\pard a\\\\b\\{c\\}";
  std::string s = WriteRtf(doc);
  EXPECT_NE(s.find(sBody + "\\'e9\\'80\\u-10179?\\u-8704?\\tab x\\'a0y\\par"), std::string::npos)
      << s;
  s = WriteRtf(doc, "windows-1251");
  EXPECT_NE(s.find(sBody + "\\u233?\\'88\\u-10179?\\u-8704?\\tab x\\'a0y\\par"), std::string::npos)
      << s;
  QTextDocument again;
  ReadRtf(s, again);
  EXPECT_EQ(again.toPlainText(), doc.toPlainText());
}

TEST(RtfWriter, LongParagraphsAreBrokenIntoLines) {
  QTextDocument doc;
  doc.setPlainText(QString("word ").repeated(4000) + QString(QChar(0x0416)).repeated(3000));
  const std::string s = WriteRtf(doc);
  EXPECT_LE(LongestLine(s), 260u);
  QTextDocument again;
  ReadRtf(s, again);
  EXPECT_EQ(again.toPlainText(), doc.toPlainText());
}

TEST(RtfWriter, DocumentsMadeInQt) {
  QTextDocument doc;
  QTextCursor cursor(&doc);
  // A JPEG resource stays JPEG; an image made in memory becomes PNG.
  QImage image(4, 3, QImage::Format_RGB32);
  image.fill(Qt::green);
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPEG");
  doc.addResource(QTextDocument::ImageResource, QUrl("photo.jpg"), jpeg);
  doc.addResource(QTextDocument::ImageResource, QUrl("drawn"), image);
  QTextImageFormat photo;
  photo.setName("photo.jpg");
  photo.setWidth(8);
  cursor.insertImage(photo);
  cursor.insertImage("drawn");
  cursor.insertImage("missing.png");
  // Lists of every style and level, and a table with a merged cell and a
  // table nested in a cell.
  QTextListFormat list;
  list.setStyle(QTextListFormat::ListUpperRoman);
  cursor.insertBlock();
  cursor.insertList(list);
  cursor.insertText("first");
  list.setStyle(QTextListFormat::ListSquare);
  list.setIndent(3);
  cursor.insertList(list);
  cursor.insertText("deep");
  cursor.insertBlock(QTextBlockFormat());
  QTextTable* pTable = cursor.insertTable(2, 3);
  pTable->mergeCells(0, 0, 1, 2);
  pTable->cellAt(0, 0).firstCursorPosition().insertText("wide");
  QTextCursor inner = pTable->cellAt(1, 2).firstCursorPosition();
  inner.insertTable(1, 2)->cellAt(0, 1).firstCursorPosition().insertText("nested");

  const std::string s = WriteRtf(doc);
  EXPECT_NE(s.find("{\\pict\\jpegblip\\picw4\\pich3\\picwgoal120\\pichgoal90\r\nffd8ff"),
            std::string::npos);
  EXPECT_NE(s.find("{\\pict\\pngblip\\picw4\\pich3\\picwgoal60\\pichgoal45\r\n89504e47"),
            std::string::npos);
  EXPECT_NE(s.find("{\\pntext\\f0 I.\\tab}"), std::string::npos) << s;
  EXPECT_NE(s.find("{\\*\\pn\\pnlvlblt\\pnf0\\pnindent0{\\pntxtb \\u9642?}}\\fi-360\\li2160"),
            std::string::npos);

  QTextDocument again;
  ReadRtf(s, again);
  const std::string sAgain = Describe(again);
  EXPECT_NE(sAgain.find("list=" + std::to_string(QTextListFormat::ListUpperRoman) + "/1#0: [first"),
            std::string::npos)
      << sAgain;
  EXPECT_NE(sAgain.find("list=" + std::to_string(QTextListFormat::ListSquare) + "/3#0: [deep"),
            std::string::npos);
  EXPECT_NE(sAgain.find("image 8x6]"), std::string::npos);
  EXPECT_NE(sAgain.find("image 4x3]"), std::string::npos);
  EXPECT_NE(sAgain.find("[cell 0,0 of 3] "), std::string::npos);
  EXPECT_NE(sAgain.find("[wide|"), std::string::npos);
  EXPECT_NE(sAgain.find("[cell 1,2 of 3] align=1 margins=0,0,0,0,0: [nested"), std::string::npos)
      << sAgain;
}

}  // namespace
}  // namespace orv

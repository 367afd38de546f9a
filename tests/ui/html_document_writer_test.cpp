// The HTML editor's writer: what it keeps of a document, that its own
// output reads back to the same bytes, and how much smaller it is than Qt's.

#include "ui/editors/html_document_writer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>

#include "editors/html_fragments.h"

namespace orv::test {
namespace {

// A note as the editor loads it.
std::string Loaded(const std::string& sHtml, QTextDocument& document) {
  document.setHtml(QString::fromStdString(sHtml));
  DropClosingLineBreaks(document);
  return WriteHtmlDocument(document);
}

std::string Fixture(const char* pName) {
  QFile file(QString(ORVELLA_TEST_DATA) + "/html/" + pName);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << pName;
  return file.readAll().toStdString();
}

TEST(HtmlDocumentWriter, ItsOwnOutputReadsBackToTheSameBytesAndIsSmallerThanQts) {
  const std::vector<std::pair<std::string, std::string>> notes{
      {"initial document", InitialHtmlDocument("Yes")},
      {"picture", "<div>" + PictureHtml("/home/me/a \"b\".png") + "</div>"},
      {"table 3x2", TableHtml(3, 2)},
      {"table first, text after", TableHtml(1, 1) + "after<div>more</div>"},
      {"spaces, breaks, empty lines",
       "<p>two  spaces <b>bold <i>both</i></b></p><div><br></div><div>a<br>b<br><br></div>"},
      {"lists", "<ul><li>a<ul><li>b</li></ul></li><li>c</li></ul><ol type=a><li>x</li></ol>"},
      {"fonts and links",
       "<div><a href=\"http://x.org/?a=1&b=2\">link</a> <font color=red face=\"Times New Roman\" "
       "size=5>big</font> <span style=\"font-size:14pt;background-color:#ff0\">hl</span> "
       "<s>st</s><sup>2</sup><sub>3</sub></div><h3 align=right>h</h3><hr><hr width=\"40%\"><hr "
       "width=\"120\"><pre>a  b\nc</pre>"},
      {"mail client", Fixture("mail_client.html")},
      {"word processor", Fixture("word_processor.html")},
      {"hand-written", Fixture("hand_written.html")},
  };
  for (const auto& [sName, sHtml] : notes) {
    QTextDocument first;
    const std::string sWritten = Loaded(sHtml, first);
    QTextDocument second;
    EXPECT_EQ(Loaded(sWritten, second), sWritten) << sName;
    EXPECT_EQ(second.toPlainText(), first.toPlainText()) << sName;
    EXPECT_EQ(sWritten.find("-qt-"), std::string::npos) << sName;
    EXPECT_LT(sWritten.size() * 2, first.toHtml().toUtf8().size()) << sName;
  }
}

TEST(HtmlDocumentWriter, KeepsWhatTheEditorShows) {
  struct SCase {
    const char* pHtml;
    const char* pWritten;  // the body as written
  };
  const SCase cases[] = {
      {"<div style=\"white-space:pre-wrap\">a  b</div>",
       "<div style=\"white-space:pre-wrap\">a  b</div>"},
      {"<p>x</p><div>y</div>", "<p>x</p>\n<div>y</div>"},
      {"<div><br></div>", "<div><br></div>"},
      {"<div>a<br>b</div>", "<div>a<br>b</div>"},
      {"<div>a<br><br></div>", "<div>a<br><br></div>"},
      {"<div><b>b<i>bi</i></b><i>i</i></div>", "<div><b>b<i>bi</i></b><i>i</i></div>"},
      {"<div><u>u</u><s>s</s></div>", "<div><u>u</u><s>s</s></div>"},
      {"<div align=center>c</div>", "<div align=\"center\">c</div>"},
      {"<div style=\"margin-left:40px\">m</div>", "<div style=\"margin-left:40px\">m</div>"},
      {"<div><font color=#00ff00>g</font></div>", "<div><font color=\"#00ff00\">g</font></div>"},
      {"<div><font face=\"A, B\" size=1>a</font></div>",
       "<div><span style=\"font-family:A,B\"><font size=\"1\">a</font></span></div>"},
      {"<div><span style=\"font-family:'Times New Roman'\">f</span></div>",
       "<div><font face=\"Times New Roman\">f</font></div>"},
      {"<h1>t</h1>", "<h1>t</h1>"},
      {"<div>&lt;&amp;&gt;&nbsp;\xC3\xA9</div>", "<div>&lt;&amp;&gt;&nbsp;\xC3\xA9</div>"},
      {"<div><a href=\"a&quot;b\">l</a></div>", "<div><a href=\"a&quot;b\">l</a></div>"},
      {"<div><img src=\"p.png\" width=20 height=10></div>",
       "<div><img src=\"p.png\" width=\"20\" height=\"10\"></div>"},
      {"<table border=1><tr><td colspan=2>x</td></tr><tr><td>a</td><td>b</td></tr></table>",
       "<div><br></div>\n<table border=\"1\">\n<tr><td colspan=\"2\"><div>x</div></td></tr>\n"
       "<tr><td><div>a</div></td><td><div>b</div></td></tr></table>"},
  };
  for (const SCase& c : cases) {
    QTextDocument document;
    EXPECT_EQ(Loaded(c.pHtml, document),
              std::string("<html><head><meta charset=\"utf-8\"></head><body>") + c.pWritten +
                  "</body></html>")
        << c.pHtml;
  }
}

TEST(HtmlDocumentWriter, AnEmptyLineTypedByTheUserSurvives) {
  QTextDocument document;
  Loaded("<div>a</div>", document);
  QTextCursor cursor(&document);
  cursor.movePosition(QTextCursor::End);
  cursor.insertBlock();
  cursor.insertBlock();
  cursor.insertText("c");
  QTextDocument reread;
  Loaded(WriteHtmlDocument(document), reread);
  EXPECT_EQ(reread.blockCount(), 3);
  EXPECT_EQ(reread.toPlainText(), "a\n\nc");
}

}  // namespace
}  // namespace orv::test

// Printing a note, or a note and its subnotes, to PDF, read back by pdftotext.

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include "main_window_fixture.h"
#include "ui/print/print_commands.h"

namespace orv::test {
namespace {

class PrintTest : public MainWindowTest {
 protected:
  // The words of the PDF printing the selected note makes, in order, one space apart.
  std::string PrintedWords(bool bSubnotes) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString sPdf = QString::fromStdString(m_dir.File("out.pdf"));
    printer.setOutputFileName(sPdf);
    EXPECT_EQ(PrintSelectedNoteOn(Window(), printer, bSubnotes), "");
    QProcess pdftotext;
    pdftotext.start("pdftotext", {sPdf, "-"});
    EXPECT_TRUE(pdftotext.waitForFinished(30000));
    return QString::fromUtf8(pdftotext.readAllStandardOutput())
        .split(QRegularExpression("\\s+"), Qt::SkipEmptyParts)
        .join(' ')
        .toStdString();
  }
};

TEST_F(PrintTest, ANoteAndItsSubnotesReachThePdfInTheirOrder) {
  XMLelement* pTrip = AddNote("Trip", kContentRtf,
                              "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Pack {\\b boots} early.}");
  XMLelement* pList = AddNote("List", kContentText, "tent\nstove\n", pTrip);
  AddNote("Spares", kContentHtml, "<p>spare <i>matches</i></p><script>lost()</script>", pList);
  XMLelement* pLocked = AddNote("Diary", kContentText, "private words", pTrip);
  SetProperty(*pLocked, "password", "secret");
  AddNote("Elsewhere", kContentText, "not printed");
  Tree().Select(pTrip);
  Window().RefreshTree();

  // Each page ends in its number.
  EXPECT_EQ(PrintedWords(false), "Pack boots early. 1");
  // Headings name every note; a locked note is printed by name only.
  EXPECT_EQ(PrintedWords(true),
            "Trip Pack boots early. List tent stove Spares spare matches Diary Please enter a "
            "valid password for view this content 1");
}

TEST_F(PrintTest, TextTypedAndNotYetStoredIsPrinted) {
  Tree().Select(AddNote("Draft", kContentText, "first"));
  Window().RefreshTree();
  QTextCursor cursor = Window().Editors().PlainEdit().textCursor();
  cursor.select(QTextCursor::Document);
  cursor.insertText("second thoughts");
  EXPECT_EQ(PrintedWords(false), "second thoughts 1");
}

TEST_F(PrintTest, APdfThatCannotBeWrittenIsReportedAndAnEarlierOneKept) {
  const std::string sOld = m_dir.File("old.pdf");
  WriteWholeFile(sOld, "earlier");
  // Where the new PDF is first written stands a folder: no one can write there.
  std::filesystem::create_directory(sOld + ".part");
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(sOld));
  EXPECT_EQ(PrintSelectedNoteOn(Window(), printer),
            "Could not write the file " + QString::fromStdString(sOld));
  EXPECT_EQ(ReadWholeFile(sOld), "earlier");
}

}  // namespace
}  // namespace orv::test

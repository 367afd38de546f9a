// What Orvella writes: KeyNote and TreePad files that read back as the same
// folders, and single-note files that other programs open.

#include <gtest/gtest.h>

#include "exchange/exchange_folder.h"
#include "exchange/keynote_file.h"
#include "exchange/note_files.h"
#include "exchange/treepad_file.h"
#include "model/note_keys.h"
#include "model/note_walk.h"
#include "text/html_plain_text.h"
#include "text/rtf_plain_text.h"

namespace orv::test {
namespace {

SExchangeNode Node(std::string sName, int64_t nLevel, int32_t nType, std::string sContent) {
  return {std::move(sName), nLevel, nType, std::move(sContent), {}, {}, {}};
}

// Name, level, content of every note, folder by folder.
std::vector<std::vector<std::tuple<std::string, int64_t, std::string>>> Shape(
    const CFolderList& folders) {
  std::vector<std::vector<std::tuple<std::string, int64_t, std::string>>> shape;
  for (const auto& pFolder : folders) {
    auto& notes = shape.emplace_back();
    for (const SFolderNote& note : FolderNotes(*pFolder))
      notes.emplace_back(note.sName, note.nLevel, note.sContent);
  }
  return shape;
}

// Two folders with wide text, empty notes, contents with and without a last
// line break, and a line that looks like a marker of either format.
CFolderList SampleFolders() {
  CFolderList folders;
  const std::vector<SExchangeNode> first = {
      Node("A", 0, 2, "{\\rtf1 a\\par\n}"),
      Node("Ünïcödé ✓ 日本", 1, 0, "wide ✓\nsecond line\n"),
      Node("empty", 2, 0, ""),
      Node("html", 1, 1, "<p>x</p>\n\n"),
      Node("end", 0, 0, "<end node> 5P9i0s8y19Z\n%-\r\nlast"),
  };
  folders.Append(MakeFolder("First", first, {}));
  folders.Append(MakeFolder("Empty folder", {}, {}));
  return folders;
}

TEST(ExchangeExportTest, KeyNoteRoundTripKeepsFoldersNamesLevelsAndContents) {
  const CFolderList folders = SampleFolders();
  CFolderList back;
  ImportKeyNote(back, WriteKeyNote(folders), CCodePage());
  // A line that reads as a marker can't be stored as it is; it keeps a space
  // (and, like every line, loses its CR).
  auto expected = Shape(folders);
  std::get<2>(expected.front().back()) = "<end node> 5P9i0s8y19Z\n%- \nlast";
  EXPECT_EQ(Shape(back), expected);
}

TEST(ExchangeExportTest, TreePadRoundTripKeepsAFolder) {
  const CFolderList folders = SampleFolders();
  CFolderList back;
  ImportTreePad(back, nullptr, WriteTreePad(folders.At(0)), CCodePage());
  // Nor can a line equal to the end line.
  auto expected = Shape(folders).front();
  std::get<2>(expected.back()) = "<end node> 5P9i0s8y19Z \n%-\nlast";
  EXPECT_EQ(Shape(back).front(), expected);
}

TEST(ExchangeExportTest, KeyNoteFileIsTheOneOtherProgramsRead) {
  CFolderList folders;
  folders.Append(MakeFolder("Notes & more\nsecond line",
                            {Node("A", 0, 0, "text\n"), Node("B", 1, 2, "{\\rtf1 b}")}, {}));
  folders.Append(MakeFolder("Two", {}, {}));
  const std::string sTab =
      "ID=1\nII=0\nDC=\nTI=0\nTS=4\nCX=0\nCY=0\nBG=clWindow\nCH=1\nFC=clWindowText\n"
      "FN=MS Sans Serif\nFS=8\nLN=1049\nST=\nFL=101110000000100001000000\nSN=0\nTW=188\n"
      "EN=New node\nTB=clWindow\nTH=1\nTC=clWindowText\nTN=MS Sans Serif\nTZ=8\nTY=\n";
  const std::string sNodeTail = "NF=000000000000000000000000\nBC=clWindow\nIX=0\nSS=11\n%:\n";
  EXPECT_EQ(WriteKeyNote(folders),
            "#!GFKNT 2.0\n# This is an automatically generated file. Do not edit.\n#/\n#?\n#$2\n"
            "#C17-05-2005 15:42:04\n#^011000000000000000000000\n"
            "%+\nNN=Notes && more second line\n" +
                sTab + "%-\nLV=0\nND=A\nDI=1\n" + sNodeTail + "text\n\n%-\nLV=1\nND=B\nDI=2\n" +
                sNodeTail + "{\\rtf1 b}\n%+\nNN=Two\n" + sTab + "%%");
}

TEST(ExchangeExportTest, SingleNoteFilesReadBackAsTheirText) {
  CXMLTree folder;
  const std::string sText = "Price: 5 € {braces} back\\slash <tag> & co\ttab\nsecond line\n";
  XMLelement* pNote =
      ImportNoteFile(folder, nullptr, "/tmp/My notes.final.txt", sText, kContentText, CCodePage());
  ASSERT_NE(pNote, nullptr);
  EXPECT_EQ(GetProperty(*pNote, kNameKey), "My notes.final");
  EXPECT_EQ(NoteFileText(folder, *pNote, ENoteFileForm::Text), sText);
  EXPECT_EQ(RtfToPlainText(NoteFileText(folder, *pNote, ENoteFileForm::Rtf)), sText);
  EXPECT_EQ(HtmlToPlainText(NoteFileText(folder, *pNote, ENoteFileForm::Html)),
            "Price: 5 € {braces} back\\slash <tag> & co tab\nsecond line");
  EXPECT_EQ(ImportNoteFile(folder, nullptr, "empty.txt", "", kContentText, CCodePage()), nullptr);
  // An HTML note's RTF keeps its bold, italic and underline, nested or not.
  XMLelement* pHtml = ImportNoteFile(folder, nullptr, "page.html",
                                     "<p>a <b>b<strong>c</strong> </b><em>i</em></p><u>u</u>",
                                     kContentHtml, CCodePage());
  const std::string sRtf = NoteFileText(folder, *pHtml, ENoteFileForm::Rtf);
  EXPECT_NE(sRtf.find("a \\b bc \\b0 \\i i\\i0 \\par\n\\ul u\\ulnone }"), std::string::npos)
      << sRtf;
  EXPECT_EQ(RtfToPlainText(sRtf), "a bc i\nu");
  // cp1252 bytes, not UTF-8, are decoded from the code page.
  XMLelement* pAnsi =
      ImportNoteFile(folder, pNote, "ansi.htm", "caf\xE9", kContentHtml, CCodePage());
  EXPECT_EQ(folder.ContentOf(*pAnsi)->CachedContent(), "café");
}

TEST(ExchangeExportTest, StatisticsCountTheNotesBelow) {
  CFolderList folders;
  folders.Append(MakeFolder("F",
                            {Node("Top", 0, 2, "{\\rtf1}"), Node("t", 1, 0, "héllo"),
                             Node("h", 2, 1, "<b>"), Node("r", 1, 2, "")},
                            {}));
  XMLelement& top = *folders.At(0).AllNotes().front();
  SetProperty(top, kDescriptionKey, "about");
  SetProperty(top, kReadOnlyKey, "true");
  const std::string sTime = GetProperty(top, kCreateTimeKey);
  EXPECT_EQ(NoteStatistics(folders.At(0), top),
            "Count of elements \t\t\t3\n\nCount of plain text elements \t\t1\n"
            "Count of chars in plain text elements \t5\n\nCount of html elements \t\t1\n"
            "Count of chars in html elements \t3\n\nCount of rich text elements \t\t1\n"
            "Count of chars in rich text elements \t0\n\nDate of create: \t\t\t" +
                sTime + "\nDate of last modificate: \t\t" + GetProperty(top, kModifyTimeKey) +
                "\nPassword protect: \t\t\tNo\nReadonly protect: \t\t\tYes\nDescription: \nabout");
}

}  // namespace
}  // namespace orv::test

// The desktop's import, export and statistics commands over the scripted UI:
// the dialogs they open, what a cancel, a refusal or a missing selection
// leaves, and where imported notes land.

#include "exchange/exchange_commands.h"

#include <gtest/gtest.h>

#include "exchange/keynote_file.h"
#include "exchange/treepad_file.h"
#include "tree/note_fixture.h"

namespace orv::test {
namespace {

using E = EExchangeCommand;

class ExchangeCommands : public CNoteFixture {
 protected:
  bool Run(E e) { return RunExchangeCommand(tree, e); }
  // The file the dialog will choose, holding sBytes.
  void Offer(const std::string& sName, const std::string& sBytes) {
    WriteWholeFile(dir.File(sName), sBytes);
    ui.QueueFile(dir.File(sName));
  }
  CTempDir dir;
};

TEST_F(ExchangeCommands, CancelledDialogsChangeNothing) {
  const std::pair<E, SFileDialog> cases[] = {
      {E::ImportKeyNote, {false, "KeyNote files", "*.knt", "knt", {}}},
      {E::ImportTreePad, {false, "Treepad files", "*.hjt", "hjt", {}}},
      {E::ExportKeyNote, {true, "KeyNote files", "*.knt", "knt", {}}},
      {E::ExportTreePad, {true, "Treepad files", "*.hjt", "hjt", {}}},
      {E::ImportTextFile, {false, "Text files", "*.txt", "txt", {}}},
      {E::ImportHtmlFile, {false, "Html files", "*.htm", "htm", {}}},
      {E::ImportRtfFile, {false, "RichText files", "*.doc", "doc", {}}},
      {E::ExportTextFile, {true, "Text files", "*.txt", "txt", {}}},
      {E::ExportHtmlFile, {true, "HTML files", "*.htm", "htm", {}}},
      {E::ExportRtfFile, {true, "RichText files", "*.doc", "doc", {}}},
  };
  Build("A(B) C");
  tree.Select(N("A"));
  doc.ClearModified();
  for (const auto& [e, dialog] : cases) {
    ui.QueueFile(std::nullopt);
    EXPECT_FALSE(Run(e));
    EXPECT_EQ(ui.Calls().back(), FilePrompt(dialog)) << dialog.sFilterName;
  }
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_EQ(Outline(), "A(B) C");
  EXPECT_EQ(doc.Folders().Count(), 1u);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(ExchangeCommands, RefusedFilesAreReportedAndChangeNothing) {
  Build("A");
  for (auto [e, pBytes, sMessage] :
       {std::tuple{E::ImportKeyNote, "#!GFKNT 3.0\n%+\nNN=Tab\n", kNotKeyNote},
        std::tuple{E::ImportTreePad, "<Treepad version 2.8>\n", kNotTreePad}}) {
    Offer("new", pBytes);
    EXPECT_FALSE(Run(e));
    ASSERT_FALSE(ui.Messages().empty());
    EXPECT_EQ(ui.Messages().back().sTitle, "Warning");
    EXPECT_TRUE(ui.Messages().back().sText.starts_with(sMessage)) << ui.Messages().back().sText;
  }
  EXPECT_EQ(Outline(), "A");
  EXPECT_EQ(doc.Folders().Count(), 1u);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(ExchangeCommands, ImportsLandWhereTheUserExpects) {
  Build("A(A1) B");
  tree.Select(N("A", "A1"));
  doc.ClearModified();
  Offer("x.hjt", "<Treepad version 2.7>\ndt=Text\n<node>\nT\n0\n<end node> 5P9i0s8y19Z\n");
  EXPECT_TRUE(Run(E::ImportTreePad));
  EXPECT_EQ(Outline(), "A(A1(T)) B");
  EXPECT_TRUE(doc.IsModified());

  // A note file comes in after the selected note and is selected.
  Offer("Meeting.txt", "agenda\n");
  EXPECT_TRUE(Run(E::ImportTextFile));
  EXPECT_EQ(Outline(), "A(A1(T) Meeting) B");
  EXPECT_EQ(SelectedName(), "Meeting");
  EXPECT_EQ(GetProperty(*N("A", "Meeting"), "type"), "0");

  // An empty file makes nothing.
  Offer("empty.htm", "");
  EXPECT_FALSE(Run(E::ImportHtmlFile));
  EXPECT_EQ(Outline(), "A(A1(T) Meeting) B");

  // A KeyNote notebook's tabs become folders; the tab bar is rebuilt.
  Offer("n.knt", "#!GFKNT 2.0\n%+\nNN=One\n%-\nLV=0\nND=K\n%:\ntext\n%+\nNN=Two\n%%");
  view.m_calls.clear();
  EXPECT_TRUE(Run(E::ImportKeyNote));
  ASSERT_EQ(doc.Folders().Count(), 3u);
  EXPECT_EQ(doc.Folders().At(1).FolderName(), "One");
  EXPECT_EQ(view.m_calls.back(), "tabs");
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(ExchangeCommands, ExportsWriteTheFileAndNeedASelectionForNoteContent) {
  Build("A B");
  ui.QueueFile(dir.File("all.knt"));
  EXPECT_TRUE(Run(E::ExportKeyNote));
  EXPECT_EQ(ReadWholeFile(dir.File("all.knt")), WriteKeyNote(doc.Folders()));

  // No note selected: the message, and no dialog.
  EXPECT_FALSE(Run(E::ExportRtfFile));
  EXPECT_EQ(ui.Calls().back(),
            Message("Warning", "Select item for export!", EMessageIcon::Warning));

  tree.Select(N("B"));
  ui.QueueFile(dir.File("b.htm"));
  EXPECT_TRUE(Run(E::ExportHtmlFile));
  EXPECT_TRUE(ReadWholeFile(dir.File("b.htm")).starts_with("<html>"));
}

TEST_F(ExchangeCommands, StatsNeedASelectedNoteAndShowTheReport) {
  Build("A(A1 A2)");
  EXPECT_FALSE(IsEnabled(tree, E::Stats));
  EXPECT_FALSE(Run(E::Stats));
  tree.Select(N("A"));
  EXPECT_TRUE(IsEnabled(tree, E::Stats));
  EXPECT_TRUE(Run(E::Stats));
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].sTitle, "Information");
  EXPECT_TRUE(ui.Messages()[0].sText.starts_with("Count of elements \t\t\t2\n\n"));
}

}  // namespace
}  // namespace orv::test

#include "tree/branch_commands.h"

#include "note_fixture.h"
#include "ports/settings_defaults.h"
#include "tree/folder_commands.h"
#include "tree/note_navigation.h"

namespace orv {
namespace {

using test::Message;
using test::Question;
using TCalls = std::vector<std::string>;
using enum EBranchCommand;

class BranchCommandsTest : public test::CNoteFixture {
 protected:
  BranchCommandsTest() {
    WriteSetting(settings, kNumBackCopies, 0);
    doc.Folders().Append(std::make_unique<CXMLTree>());
    doc.Folders().At(1).SetFolderName("Other");
    // Folder 0: "Note #1", then "Top" holding "Kid" holding "Grandkid".
    pTop = Add(nullptr, "Top", "top text");
    pKid = Add(pTop, "Kid", "kid text");
    Add(pKid, "Grandkid", "deep text");
    doc.ClearModified();
  }

  CXMLTree& Folder(int i) { return doc.Folders().At(i); }
  void SwitchTo(int i) { SwitchFolder(tree, i); }
  XMLelement* Add(XMLelement* pParent, const std::string& sName, const std::string& sText) {
    XMLelement* pNote = AddNote(pParent, sName);
    Folder(0).ContentOf(*pNote)->SetContent(sText);
    return pNote;
  }
  std::string Text(const XMLelement& note) {
    return tree.CurrentFolder().ContentOf(note)->GetContent();
  }
  TCalls Run(EBranchCommand eCommand, bool bExpectDone = true) {
    view.m_calls.clear();
    EXPECT_EQ(RunBranchCommand(tree, clipboard, eCommand), bExpectDone);
    return view.m_calls;
  }
  std::vector<XMLelement*> Children(XMLelement& note) {
    std::vector<XMLelement*> notes;
    for (const auto& p : note.m_children)
      if (p->IsNote()) notes.push_back(p.get());
    return notes;
  }

  CBranchClipboard clipboard;
  XMLelement* pTop = nullptr;
  XMLelement* pKid = nullptr;
};

TEST_F(BranchCommandsTest, NoteCommandsNeedASelectedNoteAndPasteSomethingToPaste) {
  for (EBranchCommand e : {CopySubnotes, CutSubnotes, PasteSubnotes, DeleteSubnotes, ExportText})
    EXPECT_FALSE(IsEnabled(tree, clipboard, e));
  EXPECT_TRUE(IsEnabled(tree, clipboard, ExportFolder) && IsEnabled(tree, clipboard, Merge));
  tree.Select(pTop);
  EXPECT_TRUE(IsEnabled(tree, clipboard, CopySubnotes));
  EXPECT_FALSE(IsEnabled(tree, clipboard, PasteSubnotes));
  Run(PasteSubnotes, false);
  EXPECT_TRUE(ui.Calls().empty());
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(BranchCommandsTest, PasteGivesIndependentCopiesOfWhatWasCopied) {
  tree.Select(pKid);
  EXPECT_EQ(Run(CopySubnotes), (TCalls{"store"}));  // the tree is not refreshed
  EXPECT_EQ(GetProperty(*clipboard.Branch(), "selected"), "false");
  EXPECT_FALSE(doc.IsModified());
  // Later changes to the copied notes don't reach the clipboard.
  tree.CurrentFolder().ContentOf(*pKid)->SetContent("changed");
  SetProperty(*pKid, "name", "Renamed");

  const size_t nContents = Folder(0).Contents().size();
  tree.Select(pTop);
  EXPECT_EQ(Run(PasteSubnotes), (TCalls{"store", "refresh", "scroll 0,0"}));
  tree.Select(pTop);
  Run(PasteSubnotes);
  EXPECT_TRUE(doc.IsModified());
  ASSERT_EQ(Children(*pTop).size(), 3u);
  XMLelement* pFirst = Children(*pTop)[1];
  XMLelement* pSecond = Children(*pTop)[2];
  EXPECT_EQ(Folder(0).Contents().size(), nContents + 4);
  for (XMLelement* pPasted : {pFirst, pSecond}) {
    EXPECT_EQ(GetProperty(*pPasted, "name"), "Kid");
    EXPECT_EQ(Text(*pPasted), "kid text");
    EXPECT_EQ(Text(*Children(*pPasted)[0]), "deep text");
  }
  // The last pasted note is the folder's one selected note.
  EXPECT_EQ(tree.SelectedNote(), pSecond);
  EXPECT_EQ(GetProperty(*pFirst, "selected"), "false");
  EXPECT_EQ(GetProperty(*pTop, "selected"), "false");
  EXPECT_EQ(tree.History(Folder(0)).m_back.back(), pTop);  // Back leads to where it was pasted
  // Each paste has content objects of its own.
  Folder(0).ContentOf(*Children(*pFirst)[0])->SetContent("only the first");
  EXPECT_EQ(Text(*Children(*pSecond)[0]), "deep text");
  EXPECT_NE(GetProperty(*pFirst, "content"), GetProperty(*pSecond, "content"));
}

TEST_F(BranchCommandsTest, CutMovesTheBranchToAnotherFolderAndNeverPastesIntoTheCutNote) {
  const size_t nContents = Folder(0).Contents().size();
  SelectByUser(tree, pKid);
  SelectByUser(tree, pTop);
  EXPECT_EQ(Run(CutSubnotes), (TCalls{"store", "refresh", "scroll 0,0"}));
  EXPECT_TRUE(ui.Calls().empty());  // no question
  EXPECT_EQ(Folder(0).NoteCount(), 1u);
  EXPECT_EQ(Folder(0).Contents().size(), nContents - 3);
  EXPECT_TRUE(tree.History(Folder(0)).m_back.empty());  // Back can't lead into the cut branch
  // Nothing is selected after a cut, so a paste has nowhere to go.
  EXPECT_EQ(tree.SelectedNote(), nullptr);
  Run(PasteSubnotes, false);
  EXPECT_EQ(Folder(0).NoteCount(), 1u);

  SwitchTo(1);
  XMLelement* pTarget = Folder(1).TopLevel().front().get();
  // A note of another folder is no target either.
  XMLelement* pElsewhere = Folder(0).TopLevel().front().get();
  EXPECT_EQ(PasteSubnotesUnder(tree, clipboard, pElsewhere), nullptr);
  tree.Select(pTarget);
  Run(PasteSubnotes);
  ASSERT_EQ(Children(*pTarget).size(), 1u);
  XMLelement& moved = *Children(*pTarget)[0];
  EXPECT_EQ(GetProperty(moved, "name"), "Top");
  EXPECT_EQ(Text(moved), "top text");
  EXPECT_EQ(Folder(1).NoteCount(), 4u);
  // The top level takes a paste too.
  EXPECT_NE(PasteSubnotesUnder(tree, clipboard, nullptr), nullptr);
  EXPECT_EQ(Folder(1).TopLevel().size(), 2u);
}

TEST_F(BranchCommandsTest, DeleteSubnotesAsksThenRemovesEveryChildWithItsContents) {
  tree.Select(pTop);
  ui.QueueConfirm(false, true);
  EXPECT_EQ(Run(DeleteSubnotes, false), TCalls{});
  EXPECT_EQ(ui.Calls().back(), Question("Question", "Are you sure"));
  EXPECT_EQ(Folder(0).NoteCount(), 4u);
  EXPECT_EQ(settings.GetInt("Settings", "AllChild", 0), 0);

  const size_t nContents = Folder(0).Contents().size();
  ui.QueueConfirm(true, true);
  EXPECT_EQ(Run(DeleteSubnotes), (TCalls{"store", "refresh", "scroll 0,0"}));
  EXPECT_EQ(settings.GetInt("Settings", "AllChild", 0), 1);
  EXPECT_TRUE(Children(*pTop).empty());
  EXPECT_EQ(GetProperty(*pTop, "name"), "Top");  // attributes stay
  EXPECT_EQ(Folder(0).Contents().size(), nContents - 2);
  EXPECT_EQ(Text(*pTop), "top text");
  EXPECT_EQ(tree.SelectedNote(), pTop);

  // Silenced now; a note without subnotes changes nothing.
  doc.ClearModified();
  const size_t nCalls = ui.Calls().size();
  Run(DeleteSubnotes);
  EXPECT_EQ(ui.Calls().size(), nCalls);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(BranchCommandsTest, ExportFolderSavesTheDocumentFirstAndKeepsItsName) {
  test::CTempDir dir;
  // A document never saved has no file of its own to save first.
  ui.QueueFile(dir.File("early.orv"));
  Run(ExportFolder);
  EXPECT_EQ(doc.PathName(), "");
  EXPECT_TRUE(std::filesystem::exists(dir.File("early.orv")));

  const std::string sOwn = dir.File("own.orv");
  doc.OnSaveDocument(sOwn);
  SwitchTo(1);
  ui.QueueFile(std::nullopt);
  Run(ExportFolder, false);
  EXPECT_TRUE(doc.IsModified());  // the cancelled export saved nothing

  // The document's own file is refused: it would lose the other folders.
  ui.QueueFile(sOwn);
  EXPECT_THROW(RunBranchCommand(tree, clipboard, ExportFolder), CDocumentError);
  EXPECT_TRUE(doc.IsModified());

  ui.QueueFile(dir.File("out.orv"));
  Run(ExportFolder);
  EXPECT_EQ(ui.Calls()[0], test::FilePrompt({true, "Orvella files", "*.orv", "orv", ""}));
  const test::SUiCall complete =
      Message("Information", "Export is complete.", EMessageIcon::Information);
  EXPECT_EQ(ui.Messages(), (std::vector{complete, complete}));
  EXPECT_EQ(doc.PathName(), sOwn);
  EXPECT_FALSE(doc.IsModified());  // what the files hold, branch_cli_check.py reads
}

TEST_F(BranchCommandsTest, MergeAppendsTheFoldersAndRemembersWhereItsDialogStarts) {
  test::CTempDir dir;
  const std::string sOther = dir.File("other.orv");
  doc.OnSaveDocument(sOther);  // two folders, the first current
  ui.QueueFile(std::nullopt);
  Run(Merge, false);
  EXPECT_EQ(ui.Calls().back(),
            test::FilePrompt({false, "Orvella files", "*.orv", "orv", "Keywords"}));
  EXPECT_EQ(settings.GetString("CMainFrame", "OnFileMerge", "unset"), "unset");

  SwitchTo(1);
  ui.QueueFile(sOther);
  EXPECT_EQ(Run(Merge), (TCalls{"store", "refresh", "scroll 0,0", "tabs"}));
  EXPECT_EQ(settings.GetString("CMainFrame", "OnFileMerge", ""), sOther);
  ASSERT_EQ(doc.Folders().Count(), 4u);
  EXPECT_EQ(doc.Folders().At(3).FolderName(), "Other");
  EXPECT_EQ(tree.CurrentIndex(), 2);  // the merged file's current folder
  EXPECT_TRUE(doc.IsModified());

  ui.QueueFile(std::nullopt);
  Run(Merge, false);
  EXPECT_EQ(ui.Calls().back().sText, sOther);
}

TEST_F(BranchCommandsTest, ExportBranchWritesTheOutlineOrTheXmlForm) {
  test::CTempDir dir;
  tree.Select(pTop);
  ui.QueueFile(std::nullopt);
  Run(ExportText, false);
  ui.QueueFile(dir.File("b.txt"));
  test::WriteWholeFile(dir.File("b.txt"), "an older, longer file to be replaced");
  Run(ExportText);
  EXPECT_EQ(ui.Calls()[0], test::FilePrompt({true, "Text files", "*.txt", "txt", ""}));
  EXPECT_EQ(test::ReadWholeFile(dir.File("b.txt")), "Top\n  Kid\n    Grandkid\n");

  ui.QueueFile(dir.File("b.xml"));
  Run(ExportXml);
  EXPECT_EQ(ui.Calls().back().sTitle, "save XML files");
  const std::string sXml = test::ReadWholeFile(dir.File("b.xml"));
  EXPECT_TRUE(sXml.starts_with("<source>\n  <share_path></share_path>\n  <name>Top</name>\n"));
  EXPECT_NE(sXml.find("\n    <source>\n      <share_path></share_path>\n      <name>Grandkid"),
            std::string::npos);
  EXPECT_TRUE(sXml.ends_with("  </source>\n</source>\n"));

  ui.QueueFile(dir.File("missing/b.txt"));
  EXPECT_THROW(RunBranchCommand(tree, clipboard, ExportText), CDocumentError);
}

TEST_F(BranchCommandsTest, TemplateCommandsOnlyShowTheirDialogs) {
  ui.QueueFile(std::nullopt);
  ui.QueueFile("/x.txt");
  EXPECT_EQ(RunTemplateCommand(tree, ETemplateCommand::SaveFolder, "/opt/orvella"), std::nullopt);
  EXPECT_EQ(RunTemplateCommand(tree, ETemplateCommand::InsertNote, "/opt/orvella"), "/x.txt");
  EXPECT_EQ(ui.Calls(),
            (std::vector{test::FilePrompt({true, "Orvella files", "*.orv", "orv",
                                           "/opt/orvella/Templates/Folder/Template.orv"}),
                         test::FilePrompt({false, "All files", "*.*", "txt",
                                           "/opt/orvella/Templates/Note/Template.txt"})}));
  EXPECT_FALSE(doc.IsModified());
}

TEST(BranchClipboardTest, OutlivesTheDocumentItWasFilledFrom) {
  CBranchClipboard clipboard;
  EXPECT_TRUE(clipboard.IsEmpty());
  {
    CXMLTree folder;
    XMLelement& note = *folder.TopLevel().front();
    folder.ContentOf(note)->SetContent("kept");
    clipboard.Take(folder, note);
  }
  CXMLTree target;
  std::unique_ptr<XMLelement> pCopy = clipboard.MakeCopy(target);
  target.TopLevel().push_back(std::move(pCopy));
  EXPECT_EQ(target.ContentOf(*target.TopLevel().back())->GetContent(), "kept");
}

}  // namespace
}  // namespace orv

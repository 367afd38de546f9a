#include "tree/note_protection.h"

#include "note_fixture.h"

namespace orv {
namespace {

using test::Question;
using test::TextPrompt;
using TCalls = std::vector<std::string>;
using enum EProtectionCommand;

const test::SUiCall kPasswordPrompt =
    TextPrompt("Enter a password (empty string if no password)", "", true);
const test::SUiCall kSubnotesQuestion =
    Question("Question", "Do you wish protect also and subnotes ?");

class NoteProtectionTest : public test::CNoteCommandFixture<RunProtectionCommand> {
 protected:
  NoteProtectionTest() {
    pParent = AddNote(nullptr, "Parent");
    pKid = AddNote(pParent, "Kid");
    pGrandKid = AddNote(pKid, "Grandkid");
    pOther = AddNote(nullptr, "Other");
    tree.Select(pParent);
    doc.ClearModified();
  }

  XMLelement *pParent = nullptr, *pKid = nullptr, *pGrandKid = nullptr, *pOther = nullptr;
};

TEST_F(NoteProtectionTest, ReadOnlyTogglesOnTheSelectedNoteOnly) {
  EXPECT_FALSE(IsChecked(tree, SetReadOnly));
  EXPECT_EQ(Run(SetReadOnly), (TCalls{"store", "refresh", "scroll 0,0"}));
  EXPECT_EQ(GetProperty(*pParent, "readonly"), "true");
  EXPECT_EQ(GetProperty(*pKid, "readonly"), "");
  EXPECT_TRUE(IsChecked(tree, SetReadOnly) && doc.IsModified());
  EXPECT_TRUE(OpenNote(tree, *pParent).bReadOnly);
  Run(SetReadOnly);
  EXPECT_EQ(GetProperty(*pParent, "readonly"), "false");
  EXPECT_FALSE(OpenNote(tree, *pParent).bReadOnly);
  EXPECT_TRUE(ui.Calls().empty());
}

TEST_F(NoteProtectionTest, PasswordForSubnotesThenOneSubnoteUnprotected) {
  ui.QueueConfirm(true);
  ui.QueueText("secret");
  EXPECT_EQ(Run(Password), (TCalls{"store", "refresh", "scroll 0,0"}));
  EXPECT_EQ(ui.Calls(), (std::vector{kSubnotesQuestion, kPasswordPrompt}));
  for (XMLelement* p : {pParent, pKid, pGrandKid}) EXPECT_EQ(GetProperty(*p, "password"), "secret");
  EXPECT_EQ(GetProperty(*pOther, "password"), "");
  EXPECT_TRUE(IsChecked(tree, Password));

  tree.Select(pKid);
  ui.QueueConfirm(false);
  ui.QueueText("");
  Run(Password);
  EXPECT_FALSE(IsChecked(tree, Password));
  EXPECT_EQ(GetProperty(*pGrandKid, "password"), "secret");
  EXPECT_EQ(GetProperty(*pParent, "password"), "secret");

  // Cancel changes nothing; a silenced question means the subnotes too.
  ui.QueueConfirm(false);
  ui.QueueText(std::nullopt);
  EXPECT_EQ(Run(Password, false), TCalls{});
  settings.SetInt("Settings", "OnNodeSetpassword", 1);
  ui.QueueText("x");
  Run(Password);
  EXPECT_EQ(GetProperty(*pGrandKid, "password"), "x");
}

TEST_F(NoteProtectionTest, OpeningAsksUnlessTheFolderRemembersThePassword) {
  SetProperty(*pParent, "password", "pw");
  SetProperty(*pOther, "password", "pw");
  SetProperty(*pOther, "readonly", "true");

  ui.QueueText("wrong");
  SNoteOpening opening = OpenNote(tree, *pParent);
  EXPECT_FALSE(opening.bShowContent);
  EXPECT_TRUE(opening.bReadOnly);
  EXPECT_EQ(GetProperty(*pParent, "save"), "false");
  EXPECT_FALSE(MayStoreText(tree, *pParent));
  ui.QueueText(std::nullopt);  // asked again; Cancel keeps it closed
  EXPECT_FALSE(OpenNote(tree, *pParent).bShowContent);

  ui.QueueText("pw");
  opening = OpenNote(tree, *pParent);
  EXPECT_TRUE(opening.bShowContent);
  EXPECT_FALSE(opening.bReadOnly);
  EXPECT_EQ(GetProperty(*pParent, "save"), "true");
  EXPECT_TRUE(MayStoreText(tree, *pParent));
  opening = OpenNote(tree, *pOther);  // same password: no prompt
  EXPECT_TRUE(opening.bShowContent && opening.bReadOnly);
  EXPECT_EQ(ui.Calls(), std::vector(3, kPasswordPrompt));
  EXPECT_FALSE(doc.IsModified());  // viewing changes nothing

  // Another folder remembers its own.
  auto& folders = doc.Folders();
  folders.Append(std::make_unique<CXMLTree>());
  folders.SetCurrent(1);
  XMLelement& elsewhere = *folders.Current()->TopLevel().front();
  SetProperty(elsewhere, "password", "pw");
  ui.QueueText(std::nullopt);
  EXPECT_FALSE(OpenNote(tree, elsewhere).bShowContent);
  EXPECT_EQ(ui.Calls().size(), 4u);
}

// A note shown without its password never takes the placeholder in place of
// its content, whatever `save` says.
TEST_F(NoteProtectionTest, StoringBackTakesTheTextOnlyFromANoteShownInFull) {
  SetProperty(*pKid, "password", "pw");
  CBaseContentNode& content = *tree.CurrentFolder().ContentOf(*pKid);
  content.SetContent("real");
  SetProperty(*pKid, "save", "true");  // left by an earlier opening
  EXPECT_FALSE(StoreEditorTextBack(tree, *pKid, kPasswordPlaceholder, 120, 7));
  EXPECT_EQ(content.CachedContent(), "real");
  EXPECT_EQ(GetProperty(*pKid, "scroll_pos"), "120");
  EXPECT_EQ(GetProperty(*pKid, "curline"), "7");
  EXPECT_FALSE(doc.IsModified());

  ui.QueueText("pw");
  ASSERT_TRUE(OpenNote(tree, *pKid).bShowContent);
  EXPECT_FALSE(StoreEditorTextBack(tree, *pKid, "real", 0, 0));  // unchanged: nothing written
  EXPECT_FALSE(doc.IsModified());
  EXPECT_TRUE(StoreEditorTextBack(tree, *pKid, "edited", 0, 0));
  EXPECT_EQ(content.CachedContent(), "edited");
  EXPECT_TRUE(doc.IsModified());

  // A "false" left by an earlier opening does not hold back a note opened in full.
  SetProperty(*pParent, "save", "false");
  EXPECT_TRUE(OpenNote(tree, *pParent).bShowContent);
  EXPECT_TRUE(StoreEditorTextBack(tree, *pParent, "new", 0, 0));

  XMLelement bare;  // from a file that never had a password: no protection
  bare.m_sName = "source";
  EXPECT_TRUE(MayStoreText(tree, bare));
  EXPECT_TRUE(OpenNote(tree, bare).bShowContent);
}

}  // namespace
}  // namespace orv

#include "tree/note_appearance.h"

#include "note_fixture.h"

namespace orv {
namespace {

using test::ColorPrompt;
using test::IconPrompt;
using test::Question;
using test::TextPrompt;
using TCalls = std::vector<std::string>;
using enum EAppearanceCommand;

class NoteAppearanceTest : public test::CNoteCommandFixture<RunAppearanceCommand> {
 protected:
  NoteAppearanceTest() {
    pParent = AddNote(nullptr, "Parent");
    pKid = AddNote(pParent, "Kid");
    tree.Select(pKid);
    doc.ClearModified();
  }

  XMLelement* pParent = nullptr;
  XMLelement* pKid = nullptr;
};

TEST_F(NoteAppearanceTest, ColoursStartAtTheNoteOrTheTreeSettingAndCancelKeepsThem) {
  settings.SetInt("Settings", "treeTextColor", 0x123456);
  ui.QueueColor(0xFF0000);  // blue: beyond a signed 24-bit reading it stays unsigned
  EXPECT_EQ(Run(TextColor), (TCalls{"store", "refresh", "scroll 0,0"}));
  EXPECT_EQ(GetProperty(*pKid, "color"), "16711680");
  ui.QueueColor(std::nullopt);
  Run(TextColor, false);
  ui.QueueColor(std::nullopt);
  Run(BackgroundColor, false);
  EXPECT_EQ(ui.Calls(),
            (std::vector{ColorPrompt(0x123456), ColorPrompt(0xFF0000), ColorPrompt(0xFFFFFF)}));
  EXPECT_EQ(FindPropertyElement(*pKid, "bk_color"), nullptr);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(ItemLook(*pKid).textColor, 0xFF0000);
}

TEST_F(NoteAppearanceTest, TogglesCountPresenceAndResetRemovesAllFiveLooks) {
  AddProperty(*pKid, "bold", "false");  // still bold: presence alone counts
  EXPECT_TRUE(IsChecked(tree, Bold) && ItemLook(*pKid).bBold);
  EXPECT_EQ(Run(Bold), (TCalls{"store", "refresh", "scroll 0,0"}));
  EXPECT_EQ(FindPropertyElement(*pKid, "bold"), nullptr);
  EXPECT_FALSE(IsChecked(tree, Bold));
  for (EAppearanceCommand e : {Bold, Grayed, Highlighted}) Run(e);
  SItemLook look = ItemLook(*pKid);
  EXPECT_TRUE(look.bBold && look.bCut && look.bDropHighlighted);
  SetProperty(*pKid, "color", "255");
  SetProperty(*pKid, "bk_color", "0");

  ui.QueueConfirm(false, true);
  EXPECT_EQ(Run(Reset, false), TCalls{});
  EXPECT_EQ(GetProperty(*pKid, "grayed"), "true");
  EXPECT_EQ(settings.GetInt("Settings", "OnNotesColorReset", 0), 0);
  ui.QueueConfirm(true, true);
  EXPECT_EQ(Run(Reset), (TCalls{"store", "refresh", "scroll 0,0"}));
  Run(Reset);  // silenced now
  EXPECT_EQ(ui.Calls(),
            std::vector(2, Question("Question", "Reset tree colors of current note ?")));
  EXPECT_EQ(settings.GetInt("Settings", "OnNotesColorReset", 0), 1);
  for (const char* pKey : {"color", "bk_color", "bold", "grayed", "highlighted"})
    EXPECT_EQ(FindPropertyElement(*pKid, pKey), nullptr) << pKey;
  EXPECT_EQ(GetProperty(*pKid, "name"), "Kid");
  ASSERT_EQ(pParent->m_children.back().get(), pKid);  // the subnote stays
}

TEST_F(NoteAppearanceTest, HidingSelectsTheParentAndLeavesTheBranchOut) {
  EXPECT_EQ(Run(Hide), (TCalls{"store", "refresh", "scroll 0,0"}));
  EXPECT_EQ(tree.SelectedNote(), pParent);
  EXPECT_FALSE(tree.IsShown(*pKid));
  tree.CurrentFolder().SetShowHidden(true);
  tree.Select(pKid);
  EXPECT_TRUE(IsChecked(tree, Hide));
  EXPECT_TRUE(ItemLook(*pKid).bHidden);  // drawn apart from the notes always shown
  Run(Hide);
  EXPECT_EQ(FindPropertyElement(*pKid, "hide"), nullptr);
  EXPECT_FALSE(ItemLook(*pKid).bHidden);
  EXPECT_EQ(tree.SelectedNote(), pKid);

  // A top-level note leaves nothing selected, and then nothing is acted on.
  tree.CurrentFolder().SetShowHidden(false);
  tree.Select(pParent);
  Run(Hide);
  EXPECT_FALSE(tree.IsShown(*pParent) || tree.IsShown(*pKid));
  EXPECT_EQ(tree.SelectedNote(), nullptr);
  EXPECT_FALSE(IsEnabled(tree, TextColor) || IsEnabled(tree, Reset));
  EXPECT_TRUE(Run(Bold, false).empty());
  EXPECT_TRUE(ui.Calls().empty());
}

TEST_F(NoteAppearanceTest, CheckBoxComesAndGoesAndOnlyItsAreaTicksIt) {
  const SBoxSpan box{68, 81};
  EXPECT_FALSE(ClickItem(tree, *pKid, 70, box));  // no box yet
  EXPECT_EQ(Run(CheckBox), (TCalls{"store", "refresh", "scroll 0,0"}));
  EXPECT_EQ(GetProperty(*pKid, "checked"), "false");
  EXPECT_EQ(ItemLook(*pKid).eCheckBox, ECheckBox::Unticked);
  for (int nX : {67, 81, 95, 100}) EXPECT_FALSE(ClickItem(tree, *pKid, nX, box)) << nX;
  EXPECT_TRUE(ClickItem(tree, *pKid, 68, box));
  EXPECT_EQ(ItemLook(*pKid).eCheckBox, ECheckBox::Ticked);
  EXPECT_TRUE(ClickItem(tree, *pKid, 80, box));
  EXPECT_EQ(GetProperty(*pKid, "checked"), "false");
  Run(CheckBox);
  EXPECT_EQ(FindPropertyElement(*pKid, "checked"), nullptr);
  EXPECT_EQ(ItemLook(*pKid).eCheckBox, ECheckBox::None);
}

TEST_F(NoteAppearanceTest, IconDescriptionAndHoverHint) {
  SetProperty(*pKid, "icon", "7");
  ui.QueueIcon(12);
  EXPECT_EQ(Run(SetIcon), (TCalls{"store", "refresh", "scroll 0,0"}));
  EXPECT_EQ(ItemLook(*pKid).nIcon, 12);
  ui.QueueIcon(std::nullopt);
  Run(SetIcon, false);

  EXPECT_EQ(HoverHint(tree, *pKid), std::nullopt);  // hints are off by default
  settings.SetInt("Settings", "m_bShowTreeHinths", 1);
  EXPECT_EQ(HoverHint(tree, *pKid), "No description:<br>Kid");
  ui.QueueText("Kid's <b>notes</b>");
  EXPECT_EQ(Run(SetDescription), TCalls{});  // the item looks the same
  EXPECT_EQ(HoverHint(tree, *pKid), "Kid's <b>notes</b>");
  ui.QueueText(std::nullopt);
  Run(SetDescription, false);
  EXPECT_EQ(ui.Calls(),
            (std::vector{IconPrompt(7), IconPrompt(12), TextPrompt("Enter a description"),
                         TextPrompt("Enter a description", "Kid's <b>notes</b>")}));
}

}  // namespace
}  // namespace orv

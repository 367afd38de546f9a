#include "search/find_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ports/memory_settings.h"
#include "search/find_dialog_state.h"

namespace orv {
namespace {

using CTexts = std::vector<std::string>;

CFindHistory After(const CTexts& searches, EHistoryRepeat eRepeat) {
  CFindHistory history;
  for (const std::string& sText : searches) history.Add(sText, eRepeat);
  return history;
}

TEST(FindHistoryTest, KeepsTheNewestTenAndOffersTheRestNewestFirst) {
  const CTexts eleven{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"};
  const CFindHistory history = After(eleven, EHistoryRepeat::KeepPlace);
  EXPECT_EQ(history.Entries(), CTexts(eleven.begin() + 1, eleven.end()));
  EXPECT_EQ(history.Newest(), "11");
  EXPECT_EQ(history.DropDownItems(), (CTexts{"10", "9", "8", "7", "6", "5", "4", "3", "2"}));
}

TEST(FindHistoryTest, EachDialogHasItsRuleForARepeatedText) {
  const CTexts searches{"a", "b", "a"};
  EXPECT_EQ(After(searches, EHistoryRepeat::KeepPlace).Entries(), (CTexts{"a", "b"}));
  EXPECT_EQ(After(searches, EHistoryRepeat::MoveToNewest).Entries(), (CTexts{"b", "a"}));
  // Exact comparison: another case is another text.
  EXPECT_EQ(After({"a", "A"}, EHistoryRepeat::KeepPlace).Entries(), (CTexts{"a", "A"}));
}

TEST(FindHistoryTest, SavesItsSectionAnewAndLoadsOnlyWhatCanBeThere) {
  CMemorySettingsStore settings;
  settings.SetString(kFindNodeHistorySection, "5", "stale");
  After({"x", "y"}, EHistoryRepeat::KeepPlace).Save(settings, kFindNodeHistorySection);
  EXPECT_EQ(settings.GetInt(kFindNodeHistorySection, "CountHistories", -1), 2);
  EXPECT_EQ(settings.GetString(kFindNodeHistorySection, "5", "gone"), "gone");
  CFindHistory loaded;
  loaded.Load(settings, kFindNodeHistorySection);
  EXPECT_EQ(loaded.Entries(), (CTexts{"x", "y"}));

  // Counts written by hand: negative reads nothing, huge reads the last ten.
  settings.SetInt(kAdvancedFindHistorySection, "CountHistories", -3);
  loaded.Load(settings, kAdvancedFindHistorySection);
  EXPECT_TRUE(loaded.Entries().empty());
  settings.SetInt(kAdvancedFindHistorySection, "CountHistories", 2000000000);
  settings.SetString(kAdvancedFindHistorySection, "1999999999", "last");
  loaded.Load(settings, kAdvancedFindHistorySection);
  EXPECT_EQ(loaded.Entries().size(), CFindHistory::kMaxEntries);
  EXPECT_EQ(loaded.Newest(), "last");
}

TEST(FindDialogStateTest, RemembersEachDialogsBoxesAndScope) {
  CMemorySettingsStore settings;
  SFindDialogState advanced{true, false, true, true, 3, 2};
  SaveFindDialogState(settings, EFindDialog::Advanced, advanced);
  SaveFindDialogState(settings, EFindDialog::FolderNotes, {false, true});
  EXPECT_EQ(settings.GetInt("CAdvancedFindDlg", "m_idScope", -1), 3);
  EXPECT_EQ(settings.GetInt("CFindNodeDlg", "m_chMatchWholeWordNodeName", -1), 1);
  const SFindDialogState loaded = LoadFindDialogState(settings, EFindDialog::Advanced);
  EXPECT_TRUE(loaded.bMatchCase && loaded.bIncludeAttachments && loaded.bOnlyIn);
  EXPECT_EQ(ScopeOf(loaded), EFindScope::RtfNotes);
  EXPECT_TRUE(LoadFindDialogState(settings, EFindDialog::FolderNotes).bWholeWord);

  settings.SetInt("CAdvancedFindDlg", "m_idScope", 9);
  EXPECT_EQ(ScopeOf(LoadFindDialogState(settings, EFindDialog::Advanced)), EFindScope::FolderNames);
  settings.SetInt("CAdvancedFindDlg", "m_idAllScope", 0);
  EXPECT_EQ(ScopeOf(LoadFindDialogState(settings, EFindDialog::Advanced)), EFindScope::Everywhere);
}

}  // namespace
}  // namespace orv

#include "search/note_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/note_keys.h"
#include "ports/memory_settings.h"
#include "search/pass_to_hit.h"
#include "support/recording_view.h"
#include "support/scripted_ui.h"

namespace orv {
namespace {

// A document of two folders:
//   "Work": plan (text "plan B for the budget"), plan B (RTF) > Рецепт (HTML)
//   "Home": garden (text), hidden (text, hidden), locked (text, password "pw")
class NoteSearchTest : public testing::Test {
 protected:
  NoteSearchTest() {
    doc.Folders() = CFolderList();
    for (const char* pName : {"Work", "Home"}) {
      CXMLTree& folder = doc.Folders().Append(std::make_unique<CXMLTree>());
      folder.SetFolderName(pName);
      folder.DeleteNote(*folder.TopLevel().front());
    }
    Add(0, nullptr, "plan", kContentText, "plan B for the budget");
    XMLelement* pPlanB = Add(0, nullptr, "plan B", kContentRtf,
                             "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\f0 Meeting "
                             "\\u1087?\\u1083?\\u1072?\\u1085?\\par}");
    Add(0, pPlanB, "Рецепт", kContentHtml, "<p title=\"secret\">Fish &amp; chips</p>");
    Add(1, nullptr, "garden", kContentText, "roses");
    SetProperty(*Add(1, nullptr, "hidden", kContentText, "roses"), kHideKey, "");
    SetProperty(*Add(1, nullptr, "locked", kContentText, "roses"), kPasswordKey, "pw");
  }

  XMLelement* Add(size_t nFolder, XMLelement* pParent, const std::string& sName, int32_t nType,
                  const std::string& sContent) {
    CXMLTree& folder = doc.Folders().At(nFolder);
    XMLelement* pNote = folder.InsertNote(
        {.sName = sName, .nType = nType, .nContentClass = nType, .pParent = pParent});
    folder.ContentOf(*pNote)->SetContent(sContent);
    return pNote;
  }

  // Each hit as "folder|path|position".
  std::vector<std::string> Find(const SFindRequest& request) {
    std::vector<std::string> hits;
    CNoteSearch(request).SearchDocument(doc.Folders(), [&](SFindHit&& hit) {
      hits.push_back(hit.sFolderName + "|" + hit.sPath + "|" + std::to_string(hit.nPosition));
      return true;
    });
    return hits;
  }

  std::vector<SFindHit> Hits(const std::string& sText) {
    std::vector<SFindHit> hits;
    CNoteSearch({sText}).SearchDocument(doc.Folders(), [&](SFindHit&& hit) {
      hits.push_back(std::move(hit));
      return true;
    });
    return hits;
  }

  test::CScriptedUi ui;
  CMemorySettingsStore settings;
  test::CRecordingView view;
  COrvellaDoc doc{ui, settings};
  CNoteTree tree{doc, ui, settings, view};
};

using EScope = EFindScope;
using CHits = std::vector<std::string>;

TEST_F(NoteSearchTest, FindsNamesAndTheTextTheUserSees) {
  struct SCase {
    const char* pWhat;
    SFindRequest request;
    CHits hits;
  };
  const SCase cases[] = {
      {"a word of a plain note", {"budget"}, {"Work|plan|15"}},
      {"names and texts", {"plan"}, {"Work|plan|0", "Work|plan B|-1"}},
      {"whole word is the whole name", {"plan", false, true}, {"Work|plan|-1"}},
      {"whole word: the whole text, its closing line end aside",
       {"fish & chips", false, true},
       {"Work|plan B\\Рецепт|0"}},
      {"RTF control words never match", {"par"}, {}},
      {"nor the font table", {"Arial"}, {}},
      {"RTF text", {"meeting"}, {"Work|plan B|0"}},
      {"\\u-escaped Cyrillic as typed", {"ПЛАН"}, {"Work|plan B|8"}},
      {"HTML entities as their characters", {"fish & chips"}, {"Work|plan B\\Рецепт|0"}},
      {"not HTML tags or attributes", {"secret"}, {}},
      {"a folder's name: one row, then its notes", {"Home"}, {"Home||-1"}},
      {"folder names ignore the boxes", {"home", false}, {}},
      {"the empty text lists every shown note",
       {""},
       {"Work||-1", "Work|plan|0", "Work|plan B|0", "Work|plan B\\Рецепт|0", "Home||-1",
        "Home|garden|0", "Home|locked|0"}},
      {"hidden notes and locked texts are passed over", {"roses"}, {"Home|garden|0"}},
      {"only folder names", {"o", false, false, EScope::FolderNames}, {"Work||-1", "Home||-1"}},
      {"only note names",
       {"plan", false, false, EScope::NoteNames},
       {"Work|plan|-1", "Work|plan B|-1"}},
      {"only text notes",
       {"e", false, false, EScope::TextNotes},
       {"Work|plan|13", "Home|garden|3"}},
      {"only RTF notes", {"e", false, false, EScope::RtfNotes}, {"Work|plan B|1"}},
      {"only HTML notes", {"i", false, false, EScope::HtmlNotes}, {"Work|plan B\\Рецепт|1"}},
  };
  for (const SCase& c : cases) EXPECT_EQ(Find(c.request), c.hits) << c.pWhat;
}

TEST_F(NoteSearchTest, TheContentKeyIsNoText) {
  const CXMLTree& work = doc.Folders().At(0);
  const std::string sKey = GetProperty(*work.TopLevel().front(), kContentKey);
  EXPECT_EQ(Find({sKey, false, false, EScope::TextNotes}), CHits{});
}

TEST_F(NoteSearchTest, ShowsHiddenNotesAndUnlockedTextsOnceTheFolderDoes) {
  doc.Folders().At(1).SetShowHidden(true);
  doc.Folders().At(1).RememberPassword("pw");
  EXPECT_EQ(Find({"roses"}), (CHits{"Home|garden|0", "Home|hidden|0", "Home|locked|0"}));
}

TEST_F(NoteSearchTest, ANoteEditedAfterASearchIsFoundByItsNewText) {
  EXPECT_EQ(Find({"meeting"}).size(), 1u);
  CXMLTree& work = doc.Folders().At(0);
  work.ContentOf(*work.TopLevel()[1])->SetContent("{\\rtf1 Lunch\\par}");
  EXPECT_EQ(Find({"meeting"}), CHits{});
  EXPECT_EQ(Find({"lunch"}), CHits{"Work|plan B|0"});
}

TEST_F(NoteSearchTest, StopsWhenCancelledOrWhenTheSinkSaysSo) {
  std::atomic<bool> bCancel{true};
  size_t nHits = 0;
  auto count = [&](SFindHit&&) { return ++nHits < 2; };
  EXPECT_FALSE(CNoteSearch({""}, &bCancel).SearchDocument(doc.Folders(), count));
  EXPECT_EQ(nHits, 1u);  // the first folder's name, before any note
  nHits = 0;
  EXPECT_FALSE(CNoteSearch({""}).SearchDocument(doc.Folders(), count));
  EXPECT_EQ(nHits, 2u);
}

// A hit in a folder renamed since tells the user and changes nothing; once
// the name is back, the hit's note is selected in its folder.
TEST_F(NoteSearchTest, PassingToAHitSelectsItsNoteInItsFolder) {
  std::vector<SFindHit> hits = Hits("roses");
  ASSERT_EQ(hits.size(), 1u);
  XMLelement& plan = *doc.Folders().At(0).TopLevel().front();
  tree.Select(&plan);
  doc.Folders().At(1).SetFolderName("House");
  EXPECT_FALSE(PassToHit(tree, hits[0]));
  EXPECT_EQ(ui.Calls(),
            std::vector<test::SUiCall>{test::Message(
                "Information", "Folder with name 'Home' not found.", EMessageIcon::Information)});
  EXPECT_EQ(tree.CurrentIndex(), 0);
  EXPECT_EQ(tree.SelectedNote(), &plan);

  doc.Folders().At(1).SetFolderName("Home");
  ASSERT_TRUE(PassToHit(tree, hits[0]));
  EXPECT_EQ(tree.CurrentIndex(), 1);
  EXPECT_EQ(tree.SelectedNote(), hits[0].pNote);
  EXPECT_EQ(GetProperty(plan, kSelectedKey), "false");
  EXPECT_EQ(ui.Calls().size(), 1u);
}

}  // namespace
}  // namespace orv

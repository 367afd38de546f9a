#include "model/xml_tree.h"

#include <gtest/gtest.h>

#include <random>

#include "support/test_support.h"

namespace orv {
namespace {

std::vector<std::string> Names(const CElementList& list) {
  std::vector<std::string> names;
  for (const auto& p : list)
    if (p->IsNote()) names.push_back(GetProperty(*p, "name"));
  return names;
}

// A folder whose default note has been removed, as a loaded folder starts.
class XmlTreeTest : public testing::Test {
 protected:
  XmlTreeTest() { m_tree.DeleteNote(*m_tree.TopLevel().front()); }

  XMLelement* Add(std::string_view sName, XMLelement* pParent = nullptr) {
    return m_tree.InsertNote(
        {.sName = sName, .nType = 0, .nContentClass = kContentText, .pParent = pParent});
  }

  CXMLTree m_tree;
};

TEST(XmlTreeNewFolderTest, HoldsOneRichTextNote) {
  test::CPinnedClock clock(2024, 1, 31, 12, 0, 5);
  CXMLTree tree({}, SNoteDefaults{.nDefIcon = 12});
  EXPECT_EQ(tree.FolderName(), "Folder #1");
  EXPECT_EQ(tree.FolderIcon(), 47);
  EXPECT_FALSE(tree.IsModified());
  ASSERT_EQ(tree.TopLevel().size(), 1u);
  ASSERT_EQ(tree.Contents().size(), 1u);
  const XMLelement& note = *tree.TopLevel()[0];
  EXPECT_EQ(note.m_nKind, 0);
  EXPECT_EQ(note.m_sName, "source");
  EXPECT_EQ(note.m_sValue, "");

  // The properties older readers expect, in their order.
  std::string sProperties;
  for (const auto& pChild : note.m_children) {
    EXPECT_EQ(pChild->m_nKind, 1) << pChild->m_sName;
    sProperties += pChild->m_sName + "=" + pChild->m_sValue + ";";
  }
  EXPECT_EQ(sProperties,
            "share_path=;name=Note #1;expand=true;type=2;description=;selected=false;password=;"
            "readonly=;Create time=2024/01/31 12:00:05;Modificate time=2024/01/31 12:00:05;"
            "icon=12;scroll_pos=0;curline=0;save=true;attcount=0;content=" +
                tree.Contents()[0]->OwnKey() + ";");
  EXPECT_EQ(tree.Contents()[0]->Type(), kContentRtf);
  EXPECT_EQ(tree.ContentOf(note), tree.Contents()[0].get());
}

TEST(XmlTreeNewFolderTest, ParsedNotesComeBeforeTheDefaultNote) {
  CXMLTree tree("<source><name>A</name></source>");
  EXPECT_EQ(Names(tree.TopLevel()), (std::vector<std::string>{"A", "Note #1"}));
}

TEST_F(XmlTreeTest, InsertsAroundSiblingsAndRefusesWrongPlaces) {
  XMLelement* pB = Add("B");
  EXPECT_TRUE(m_tree.IsModified());
  m_tree.InsertNote({.sName = "A", .pSibling = pB, .bBefore = true});
  m_tree.InsertNote({.sName = "C", .pSibling = pB});
  EXPECT_EQ(Names(m_tree.TopLevel()), (std::vector<std::string>{"A", "B", "C"}));

  XMLelement* pChild = Add("child", pB);
  EXPECT_EQ(m_tree.GetNoteDepth(*pChild), 1);
  // A sibling from another list, or a parent that is no note, is refused.
  EXPECT_EQ(m_tree.InsertNote({.sName = "x", .pSibling = pChild}), nullptr);
  EXPECT_EQ(m_tree.InsertNote({.sName = "x", .pParent = FindPropertyElement(*pB, "name")}),
            nullptr);
  EXPECT_EQ(m_tree.Contents().size(), 4u);
  EXPECT_EQ(m_tree.NoteCount(), 4u);

  XMLelement* pBare = m_tree.InsertNote({.sName = "bare", .nType = 3, .nContentClass = 7});
  EXPECT_EQ(GetProperty(*pBare, "content"), "<Not Found>");
  EXPECT_EQ(GetProperty(*pBare, "type"), "3");
  EXPECT_EQ(m_tree.Contents().size(), 4u);

  XMLelement* pVirtual = m_tree.InsertNote(
      {.sName = "v", .nContentClass = 1, .bExternal = true, .sExternalPath = "/v"});
  CBaseContentNode* pContent = m_tree.ContentOf(*pVirtual);
  ASSERT_NE(pContent, nullptr);
  EXPECT_EQ(pContent->Type(), kContentHtml);
  EXPECT_TRUE(pContent->IsExternal());
  EXPECT_EQ(pContent->Path(), "/v");
}

TEST_F(XmlTreeTest, WalksNotesDepthFirstAndDeletesSubtreesWithTheirContents) {
  XMLelement* pA = Add("A");
  XMLelement* pA1 = Add("A1", pA);
  XMLelement* pA1x = Add("A1x", pA1);
  Add("A2", pA);
  XMLelement* pB = Add("B");
  std::vector<std::string> order;
  for (XMLelement* p : m_tree.AllNotes()) order.push_back(GetProperty(*p, "name"));
  EXPECT_EQ(order, (std::vector<std::string>{"A", "A1", "A1x", "A2", "B"}));

  XMLelement* pParent = nullptr;
  ASSERT_TRUE(m_tree.FindParent(*pA1x, pParent));
  EXPECT_EQ(pParent, pA1);
  ASSERT_TRUE(m_tree.FindParent(*pB, pParent));
  EXPECT_EQ(pParent, nullptr);
  EXPECT_EQ(m_tree.GetNoteDepth(*pA1x), 2);

  XMLelement stranger;
  stranger.m_sName = "source";
  EXPECT_FALSE(m_tree.FindParent(stranger, pParent));
  EXPECT_EQ(m_tree.GetNoteDepth(stranger), -1);
  EXPECT_FALSE(m_tree.DeleteNote(stranger));

  CBaseContentNode* pContentB = m_tree.ContentOf(*pB);
  m_tree.ClearModified();
  EXPECT_TRUE(m_tree.DeleteNote(*pA));
  EXPECT_TRUE(m_tree.IsModified());
  EXPECT_EQ(Names(m_tree.TopLevel()), (std::vector<std::string>{"B"}));
  ASSERT_EQ(m_tree.Contents().size(), 1u);
  EXPECT_EQ(m_tree.Contents()[0].get(), pContentB);
  EXPECT_EQ(m_tree.ContentOf(*pB), pContentB);
}

// Every object is found by its key and every note finds its own, after
// each operation that adds, removes or re-keys objects.
TEST_F(XmlTreeTest, ContentIndexFollowsEveryChange) {
  auto expectConsistent = [&](const char* szAfter) {
    for (const auto& pContent : m_tree.Contents())
      EXPECT_EQ(m_tree.FindContent(pContent->AddressHash()), pContent.get()) << szAfter;
    for (XMLelement* pNote : m_tree.AllNotes())
      EXPECT_NE(m_tree.ContentOf(*pNote), nullptr) << szAfter << GetProperty(*pNote, "name");
  };
  XMLelement* pA = Add("A");
  Add("A1", pA);
  XMLelement* pB = Add("B");
  expectConsistent("insert");
  pB->m_children.push_back(m_tree.CopySubtree(*pA, &m_tree));
  expectConsistent("copy into itself");
  EXPECT_EQ(m_tree.DeleteChildNotes(*pB), 1u);
  m_tree.DeleteNote(*pA);
  expectConsistent("delete");
  EXPECT_EQ(m_tree.Contents().size(), 1u);  // B's
  EXPECT_EQ(m_tree.FindContent("999999999999"), nullptr);

  // Two stored objects share a key: the first wins, the second stays unclaimed.
  CContentList stored;
  for (const char* szText : {"first", "second"}) {
    stored.push_back(CBaseContentNode::Make(kContentText, szText));
  }
  const std::string sShared = stored[0]->AddressHash();
  SetProperty(*pB, "content", sShared);
  m_tree.ReplaceContents(std::move(stored));
  EXPECT_EQ(m_tree.FindContent(sShared)->CachedContent(), "first");
  m_tree.RelinkContents();
  expectConsistent("relink");
  EXPECT_EQ(m_tree.ContentOf(*pB)->CachedContent(), "first");
}

TEST_F(XmlTreeTest, CopyClonesContentsOnlyWithATarget) {
  XMLelement* pA = Add("A");
  XMLelement* pA1 = Add("A1", pA);
  m_tree.ContentOf(*pA)->SetContent("text of A");
  m_tree.ContentOf(*pA1)->SetContent("text of A1");
  const std::string sKeyA = GetProperty(*pA, "content");

  std::unique_ptr<XMLelement> pSame = m_tree.CopySubtree(*pA, nullptr);
  EXPECT_EQ(GetProperty(*pSame, "content"), sKeyA);
  EXPECT_EQ(m_tree.Contents().size(), 2u);

  CXMLTree target;
  std::unique_ptr<XMLelement> pCopy = m_tree.CopySubtree(*pA, &target);
  const CContentList& cloned = target.Contents();
  ASSERT_EQ(cloned.size(), 3u);  // after the target's own "Note #1"
  EXPECT_EQ(GetProperty(*pCopy, "content"), cloned[1]->OwnKey());
  EXPECT_EQ(cloned[1]->CachedContent(), "text of A");
  EXPECT_EQ(cloned[1]->Type(), kContentText);
  const XMLelement& copiedChild = *pCopy->m_children.back();
  EXPECT_EQ(GetProperty(copiedChild, "name"), "A1");
  EXPECT_EQ(GetProperty(copiedChild, "content"), cloned[2]->OwnKey());
  EXPECT_EQ(cloned[2]->CachedContent(), "text of A1");
  EXPECT_EQ(GetProperty(*pA, "content"), sKeyA);

  // Into the folder itself, as pasting a copy within one folder does.
  std::unique_ptr<XMLelement> pOwn = m_tree.CopySubtree(*pA, &m_tree);
  EXPECT_EQ(m_tree.Contents().size(), 4u);
  EXPECT_EQ(m_tree.ContentOf(*pOwn)->CachedContent(), "text of A");
  EXPECT_NE(m_tree.ContentOf(*pOwn), m_tree.ContentOf(*pA));
}

TEST_F(XmlTreeTest, SortWithoutParentSortsTwoLevelsOnly) {
  XMLelement* pB = Add("b");
  XMLelement* pA = Add("a");
  Add("z", pB);
  XMLelement* pY = Add("y", pB);
  Add("3", pY);
  Add("1", pY);
  Add("Z", pA);
  // Attribute elements between the notes keep their places.
  AddProperty(*pB, "color", "5");
  Add("x", pB);

  m_tree.ClearModified();
  m_tree.SortNotes(nullptr, "name");
  EXPECT_TRUE(m_tree.IsModified());
  EXPECT_EQ(Names(m_tree.TopLevel()), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(Names(pB->m_children), (std::vector<std::string>{"x", "y", "z"}));
  EXPECT_EQ(Names(pY->m_children), (std::vector<std::string>{"3", "1"}));
  const size_t nColor = pB->m_children.size() - 2;
  EXPECT_EQ(pB->m_children[nColor]->m_sName, "color");

  m_tree.SortNotes(pY, "name");
  EXPECT_EQ(Names(pY->m_children), (std::vector<std::string>{"1", "3"}));
}

// Notes with equal values may change places, exactly as a selection sort
// exchanges them, not in their old order.
TEST_F(XmlTreeTest, SortExchangesLikeASelectionSort) {
  std::mt19937 random(7);
  std::vector<std::string> values;
  for (int i = 0; i < 200; ++i) {
    values.push_back(std::string(1, static_cast<char>('a' + random() % 5)));
    XMLelement* pNote = Add(std::to_string(i));
    SetProperty(*pNote, "description", values.back());
  }
  std::vector<std::string> expected;
  for (int i = 0; i < 200; ++i) expected.push_back(std::to_string(i));
  for (size_t i = 0; i + 1 < values.size(); ++i) {
    size_t nMin = i;
    for (size_t j = i + 1; j < values.size(); ++j)
      if (values[j] < values[nMin]) nMin = j;
    std::swap(values[i], values[nMin]);
    std::swap(expected[i], expected[nMin]);
  }
  m_tree.SortNotes(nullptr, "description");
  EXPECT_EQ(Names(m_tree.TopLevel()), expected);
}

}  // namespace
}  // namespace orv

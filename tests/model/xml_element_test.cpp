#include "model/xml_element.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

XMLelement Note() {
  XMLelement note;
  note.m_sName = "source";
  return note;
}

TEST(XmlElementTest, PropertiesReadTheFirstAndWriteEveryMatch) {
  XMLelement note = Note();
  EXPECT_EQ(GetProperty(note, "name"), "<Not Found>");
  EXPECT_EQ(FindPropertyElement(note, "name"), nullptr);

  AddProperty(note, "name", "first");
  AddProperty(note, "name", "second");
  AddProperty(note, "description", "");
  EXPECT_EQ(GetProperty(note, "name"), "first");
  EXPECT_EQ(GetProperty(note, "Name"), "<Not Found>");
  EXPECT_EQ(GetProperty(note, "description"), "");
  EXPECT_EQ(FindPropertyElement(note, "name"), note.m_children[0].get());

  SetProperty(note, "name", "both");
  ASSERT_EQ(note.m_children.size(), 3u);
  EXPECT_EQ(note.m_children[0]->m_sValue, "both");
  EXPECT_EQ(note.m_children[1]->m_sValue, "both");

  SetProperty(note, "hide", "1");
  ASSERT_EQ(note.m_children.size(), 4u);
  EXPECT_EQ(note.m_children[3]->m_nKind, 1);
  EXPECT_EQ(GetProperty(note, "hide"), "1");
}

TEST(XmlElementTest, CopyIsDeepAndIndependent) {
  XMLelement note = Note();
  note.m_attributes.push_back(std::make_unique<XMLattribute>(XMLattribute{"id", "7"}));
  AddProperty(note, "name", "top");
  auto pChild = std::make_unique<XMLelement>(Note());
  AddProperty(*pChild, "name", "child");
  note.m_children.push_back(std::move(pChild));

  std::unique_ptr<XMLelement> pCopy = CopyElement(note);
  ASSERT_EQ(pCopy->m_children.size(), 2u);
  EXPECT_EQ(pCopy->m_sName, "source");
  EXPECT_EQ(pCopy->m_children[0]->m_nKind, 1);
  EXPECT_EQ(GetProperty(*pCopy->m_children[1], "name"), "child");
  ASSERT_EQ(pCopy->m_attributes.size(), 1u);
  EXPECT_EQ(pCopy->m_attributes[0]->m_sValue, "7");

  SetProperty(*note.m_children[1], "name", "changed");
  note.m_attributes[0]->m_sValue = "8";
  EXPECT_EQ(GetProperty(*pCopy->m_children[1], "name"), "child");
  EXPECT_EQ(pCopy->m_attributes[0]->m_sValue, "7");
}

TEST(XmlElementTest, OldIconsMapAndOthersStay) {
  // One inside the table, its first and last, and two outside it.
  for (auto [nOld, nNew] : {std::pair{75, 276}, {35, 272}, {126, 17}, {0, 0}, {999, 999}})
    EXPECT_EQ(ConvertOldIcon(nOld), nNew) << nOld;
}

TEST(XmlElementTest, DeepTreesAreFreedWithoutRecursion) {
  auto pRoot = std::make_unique<XMLelement>();
  XMLelement* pLeaf = pRoot.get();
  for (int i = 0; i < 1000000; ++i) {
    pLeaf->m_children.push_back(std::make_unique<XMLelement>());
    pLeaf = pLeaf->m_children.back().get();
  }
  pRoot.reset();  // would overflow the stack if freed level by level
}

}  // namespace
}  // namespace orv

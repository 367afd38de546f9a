#include "model/content_node.h"

#include <gtest/gtest.h>

#include "base/file_handle.h"
#include "support/test_support.h"

namespace orv {
namespace {

class ContentNodeTest : public testing::Test {
 protected:
  std::string Record(std::string_view sKey, int32_t nType, std::string_view sText) const {
    CArchiveWriter writer(m_codePage);
    writer.WriteByte(1);
    writer.WriteString(sKey);
    writer.WriteInt32(nType);
    writer.WriteByte(1);
    writer.WriteString(sText);
    return writer.Take();
  }

  CCodePage m_codePage;
};

TEST_F(ContentNodeTest, WritesTheRecordOncePerSave) {
  CHTMLConentNode node("<b>x</b>");
  CArchiveWriter writer(m_codePage);
  node.Write(writer);
  const std::string sFirst = writer.Data();
  EXPECT_EQ(sFirst, Record(node.OwnKey(), kContentHtml, "<b>x</b>"));
  EXPECT_EQ(sFirst.substr(0, 2), std::string("\x01") + char(node.OwnKey().size()));
  EXPECT_THROW_MSG(node.Write(writer), CContentError, "m_bAlreadySaved error");
  EXPECT_EQ(writer.Data(), sFirst);

  // The folder clears the marks after a save; the next save writes again.
  node.EndSave();
  node.Write(writer);
  EXPECT_EQ(writer.Data(), sFirst + sFirst);
}

TEST_F(ContentNodeTest, ReadKeepsTheStoredKey) {
  const std::string sRecord = Record("12345", kContentText, "plain");
  CConentNode node;
  CArchiveReader reader(sRecord, m_codePage);
  node.Read(reader);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(node.AddressHash(), "12345");
  EXPECT_EQ(node.CachedContent(), "plain");
}

TEST_F(ContentNodeTest, BadRecordsAreRefusedAndChangeNothing) {
  for (const char* szKey : {"0", "abc", "", " -0", "000"}) {
    const std::string sRecord = Record(szKey, kContentRtf, "lost");
    CRTFConentNode node("kept");
    CArchiveReader reader(sRecord, m_codePage);
    EXPECT_THROW_MSG(node.Read(reader), CContentError, "m_sAddressHash error");
    EXPECT_EQ(node.CachedContent(), "kept");
    EXPECT_EQ(node.AddressHash(), node.OwnKey());
  }

  CRTFConentNode node("kept");
  const std::string sWrongType = Record("77", kContentHtml, "lost");
  CArchiveReader wrongType(sWrongType, m_codePage);
  EXPECT_THROW_MSG(node.Read(wrongType), CContentError,
                   "Content record of type 1 where type 2 was announced");

  const std::string sRecord = Record("77", kContentRtf, "lost");
  const std::string sCut = sRecord.substr(0, sRecord.size() - 1);
  CArchiveReader cut(sCut, m_codePage);
  EXPECT_THROW_MSG(node.Read(cut), CArchiveError,
                   "String length 4 at byte 9 exceeds the 3 bytes left");
  EXPECT_EQ(node.CachedContent(), "kept");
  EXPECT_EQ(node.AddressHash(), node.OwnKey());
}

TEST_F(ContentNodeTest, MakeAndCloneKeepClassTextAndLocation) {
  EXPECT_EQ(CBaseContentNode::Make(3), nullptr);
  EXPECT_EQ(CBaseContentNode::Make(-1), nullptr);

  auto pNode = CBaseContentNode::Make(kContentHtml, "<p>", true, "/tmp/x.html");
  ASSERT_NE(pNode, nullptr);
  auto pClone = pNode->Clone();
  EXPECT_NE(dynamic_cast<CHTMLConentNode*>(pClone.get()), nullptr);
  EXPECT_EQ(pClone->CachedContent(), "<p>");
  EXPECT_TRUE(pClone->IsExternal());
  EXPECT_EQ(pClone->Path(), "/tmp/x.html");
  EXPECT_NE(pClone->OwnKey(), pNode->OwnKey());
  EXPECT_NE(pClone->OwnKey(), "0");
}

TEST_F(ContentNodeTest, ExternalObjectFollowsItsFile) {
  test::CTempDir dir;
  const std::string sPath = dir.File("virtual.txt");
  test::WriteWholeFile(sPath, "one\r\n\xff");
  CConentNode node("stale", true, sPath);
  EXPECT_EQ(node.GetContent(), "one\r\n\xff");

  test::WriteWholeFile(sPath, "two");
  EXPECT_EQ(node.GetContent(), "two");
  EXPECT_EQ(node.CachedContent(), "two");

  EXPECT_TRUE(node.SetContent("x"));
  EXPECT_EQ(test::ReadWholeFile(sPath), "x");

  CConentNode missing("cached", true, dir.File("gone.txt"));
  EXPECT_THROW_MSG(missing.GetContent(), CFileHandleError,
                   "Can't open file " + dir.File("gone.txt"));
  EXPECT_EQ(missing.CachedContent(), "cached");
}

}  // namespace
}  // namespace orv

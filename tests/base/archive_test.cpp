#include "base/archive.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "support/test_support.h"

namespace orv {
namespace {

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int n : bytes) s += static_cast<char>(n);
  return s;
}

std::string Repeat(std::string_view sPiece, size_t nTimes) {
  std::string s;
  for (size_t i = 0; i < nTimes; ++i) s += sPiece;
  return s;
}

class ArchiveTest : public testing::Test {
 protected:
  std::string Written(std::string_view sUtf8) const {
    CArchiveWriter writer(m_codePage);
    writer.WriteString(sUtf8);
    return writer.Take();
  }

  std::string ReadOne(const std::string& sData) const {
    CArchiveReader reader(sData, m_codePage);
    std::string s = reader.ReadString();
    EXPECT_TRUE(reader.AtEnd());
    return s;
  }

  CCodePage m_codePage;  // windows-1252
};

TEST_F(ArchiveTest, PrimitivesAreLittleEndian) {
  CArchiveWriter writer(m_codePage);
  writer.WriteInt32(-2);
  writer.WriteUInt16(0x1234);
  writer.WriteUInt32(0x89ABCDEF);
  writer.WriteBool8(true);
  writer.WriteBool8(false);
  writer.WriteByte(0xAB);
  writer.WriteBytes("xy", 2);
  const std::string sData = writer.Take();
  EXPECT_EQ(sData, Bytes({0xFE, 0xFF, 0xFF, 0xFF, 0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89, 1, 0, 0xAB,
                          'x', 'y'}));

  CArchiveReader reader(sData, m_codePage);
  EXPECT_EQ(reader.ReadInt32(), -2);
  EXPECT_EQ(reader.ReadUInt16(), 0x1234);
  EXPECT_EQ(reader.ReadUInt32(), 0x89ABCDEFu);
  EXPECT_TRUE(reader.ReadBool8());
  EXPECT_FALSE(reader.ReadBool8());
  EXPECT_EQ(reader.Position(), 12u);
  EXPECT_EQ(reader.Remaining(), 3u);
  EXPECT_EQ(reader.ReadByte(), 0xAB);
  EXPECT_EQ(reader.ReadBytes(2), "xy");
  EXPECT_TRUE(reader.AtEnd());

  // Files written elsewhere may hold any non-zero byte for true.
  const std::string sBools = Bytes({2, 0xFF, 0x80});
  CArchiveReader bools(sBools, m_codePage);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(bools.ReadBool8());
}

// "é" takes one byte in windows-1252; "Ж" needs the wide form, two bytes each.
TEST_F(ArchiveTest, StringPrefixAtEachBoundary) {
  const struct {
    std::string_view sChar;
    size_t nLength;
    std::string sPrefix;
  } cases[] = {
      {"é", 0, Bytes({0})},
      {"é", 254, Bytes({0xFE})},
      {"é", 255, Bytes({0xFF, 0xFF, 0x00})},
      {"é", 300, Bytes({0xFF, 0x2C, 0x01})},
      {"é", 65533, Bytes({0xFF, 0xFD, 0xFF})},
      {"é", 65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
      {"é", 70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
      {"Ж", 300, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01})},
      {"Ж", 65534, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.sChar) + " x " + std::to_string(c.nLength));
    const std::string sText = Repeat(c.sChar, c.nLength);
    const std::string sData = Written(sText);
    EXPECT_EQ(sData.substr(0, c.sPrefix.size()), c.sPrefix);
    EXPECT_EQ(sData.size(), c.sPrefix.size() + c.nLength * (c.sChar == "Ж" ? 2 : 1));
    EXPECT_EQ(ReadOne(sData), sText);
  }
}

TEST_F(ArchiveTest, WideFormForTextTheCodePageCannotHold) {
  EXPECT_EQ(Written("€"), Bytes({1, 0x80}));
  EXPECT_EQ(Written("Жa"), Bytes({0xFF, 0xFE, 0xFF, 2, 0x16, 0x04, 'a', 0}));
  EXPECT_EQ(Written("😀"), Bytes({0xFF, 0xFE, 0xFF, 2, 0x3D, 0xD8, 0x00, 0xDE}));
  const std::string sMixed = "Привет, café 😀";
  EXPECT_EQ(ReadOne(Written(sMixed)), sMixed);
}

TEST_F(ArchiveTest, WriterUsesTheDocumentCodePage) {
  const CCodePage japanese("CP932");
  CArchiveWriter writer(japanese);
  writer.WriteString("日本");
  writer.WriteString("¥");  // CP932 would store it as a backslash
  EXPECT_EQ(writer.Data(), Bytes({4, 0x93, 0xFA, 0x96, 0x7B, 0xFF, 0xFE, 0xFF, 1, 0xA5, 0}));

  CArchiveReader reader(writer.Data(), japanese);
  EXPECT_EQ(reader.ReadString(), "日本");
  EXPECT_EQ(reader.ReadString(), "¥");
}

TEST_F(ArchiveTest, ReadsHandMadeStrings) {
  // Wide, with a 32-bit inner length and an unpaired surrogate.
  EXPECT_EQ(ReadOne(Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 'B', 0, 0x3D, 0xD8})),
            "B\uFFFD");
  // Inside a wide prefix, MFC takes 0xFFFE for a length of 65534.
  const std::string sInner65534 =
      Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF}) + Repeat(std::string("A\0", 2), 65534);
  EXPECT_EQ(ReadOne(sInner65534), std::string(65534, 'A'));
  // ANSI with a needlessly long prefix, and bytes windows-1252 leaves undefined.
  const std::string sGaps = Bytes({0xFF, 0x03, 0x00, 0x81, 0x8D, 'A'});
  EXPECT_EQ(ReadOne(sGaps), "\u0081\u008DA");
  EXPECT_EQ(Written(ReadOne(sGaps)), Bytes({3, 0x81, 0x8D, 'A'}));
}

TEST_F(ArchiveTest, TruncatedOrOverlongInputIsAnError) {
  const auto Read = [this](const std::string& sData, auto read) {
    CArchiveReader reader(sData, m_codePage);
    read(reader);
  };
  EXPECT_THROW_MSG(Read("abc", [](CArchiveReader& r) { r.ReadInt32(); }), CArchiveError,
                   "Unexpected end of data at byte 0");
  EXPECT_THROW_MSG(Read("abcde",
                        [](CArchiveReader& r) {
                          r.ReadInt32();
                          r.ReadUInt16();
                        }),
                   CArchiveError, "Unexpected end of data at byte 4");
  EXPECT_THROW_MSG(Read("abcd", [](CArchiveReader& r) { r.ReadBytes(5); }), CArchiveError,
                   "Block length 5 at byte 0 exceeds the 4 bytes left");
  EXPECT_THROW_MSG(Read(Bytes({'x', 5, 'a', 'b'}),
                        [](CArchiveReader& r) {
                          r.ReadByte();
                          r.ReadString();
                        }),
                   CArchiveError, "String length 5 at byte 1 exceeds the 2 bytes left");

  // Prefixes cut short; lengths beyond the data, checked before anything is
  // allocated; half a UTF-16 unit short.
  const std::pair<std::string, std::string> kStrings[] = {
      {Bytes({0xFF, 0x2C}), "Unexpected end of data at byte 1"},
      {Bytes({0xFF, 0xFE, 0xFF}), "Unexpected end of data at byte 3"},
      {Bytes({0xFF, 0x2C, 0x01}) + "0123456789",
       "String length 300 at byte 0 exceeds the 10 bytes left"},
      {Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 'a'}),
       "String length 4294967294 at byte 0 exceeds the 1 bytes left"},
      {Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 0}),
       "Wide string length 2147483647 at byte 0 exceeds the 2 bytes left"},
      {Bytes({0xFF, 0xFE, 0xFF, 2, 'a', 0, 'b'}),
       "Wide string length 2 at byte 0 exceeds the 3 bytes left"},
  };
  for (const auto& [sData, sMessage] : kStrings)
    EXPECT_THROW_MSG(Read(sData, [](CArchiveReader& r) { r.ReadString(); }), CArchiveError,
                     sMessage);
}

TEST(ArchiveStreamingTest, WriterAndReaderMatchTheInMemoryForms) {
  CCodePage codePage;
  test::CCollectSink sink;
  CArchiveWriter memory(codePage), streaming(codePage, &sink);
  for (CArchiveWriter* pWriter : {&memory, &streaming}) {
    for (int i = 0; i < 20000; ++i) {
      pWriter->WriteInt32(i);
      pWriter->WriteString(std::string(i % 300, 'a') + "Привет");
    }
    pWriter->WriteString(std::string(3 << 20, 'z'));  // larger than one block
  }
  streaming.Flush();
  ASSERT_EQ(sink.m_s, memory.Data());

  test::CTrickleSource source(sink.m_s, 7);
  CArchiveReader reader(source, sink.m_s.size(), codePage);
  for (int i = 0; i < 20000; ++i) {
    ASSERT_EQ(reader.ReadInt32(), i);
    ASSERT_EQ(reader.ReadString(), std::string(i % 300, 'a') + "Привет");
  }
  EXPECT_EQ(reader.ReadString().size(), 3u << 20);
  EXPECT_TRUE(reader.AtEnd());

  // A source that ends before its announced size is an error, not a hang.
  test::CTrickleSource shortSource(sink.m_s.substr(0, 100), 7);
  CArchiveReader shortReader(shortSource, sink.m_s.size(), codePage);
  EXPECT_THROW(for (;;) shortReader.ReadString(), CArchiveError);
}

}  // namespace
}  // namespace orv

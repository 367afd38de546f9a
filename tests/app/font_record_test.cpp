// Reading the 60-byte font records of the settings.

#include "app/font_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace orv {
namespace {

std::vector<uint8_t> Record(int32_t nHeight, int32_t nWeight, bool bItalic, const char* pFace) {
  std::vector<uint8_t> bytes(kFontRecordSize, 0);
  for (size_t i = 0; i < 4; ++i) {
    bytes[i] = static_cast<uint8_t>(static_cast<uint32_t>(nHeight) >> (8 * i));
    bytes[16 + i] = static_cast<uint8_t>(static_cast<uint32_t>(nWeight) >> (8 * i));
  }
  bytes[20] = bItalic ? 1 : 0;
  std::memcpy(bytes.data() + 28, pFace, std::min<size_t>(std::strlen(pFace), 32));
  return bytes;
}

TEST(FontRecordTest, ReadsFaceSizeWeightAndStyle) {
  EXPECT_EQ(ReadFontRecord(Record(-13, 700, true, "Courier New")),
            (SFontRecord{"Courier New", -13, 700, true, false, false}));
  std::vector<uint8_t> bytes = Record(16, 0, false, "Caf\xe9 Sans");  // windows-1252
  bytes[21] = bytes[22] = 1;
  EXPECT_EQ(ReadFontRecord(bytes), (SFontRecord{"Caf\u00e9 Sans", 16, 0, false, true, true}));
  // A face of 32 characters has no room for its terminating zero.
  const std::string sFull = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
  EXPECT_EQ(ReadFontRecord(Record(-12, 400, false, sFull.c_str()))->sFace, sFull);
}

TEST(FontRecordTest, WritesWhatItReadsInTheNarrowFormWhereTheFaceFits) {
  const struct {
    SFontRecord font;
    size_t nSize;
  } cases[] = {
      {{"DejaVu Sans", -16, 400, false, false, false}, kFontRecordSize},
      {{"Caf\u00e9", 20, 700, true, true, true}, kFontRecordSize},
      {{"Noto Sans CJK \u65e5\u672c", -13, 0, false, true, false}, kWideFontRecordSize},
      {{std::string(31, 'F'), -12, 400, false, false, false}, kFontRecordSize},
      {{std::string(30, 'F') + "\u65e5", -12, 400, false, false, false}, kWideFontRecordSize},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes = WriteFontRecord(c.font);
    EXPECT_EQ(bytes.size(), c.nSize) << c.font.sFace;
    EXPECT_EQ(ReadFontRecord(bytes), c.font);
  }
  EXPECT_EQ(WriteFontRecord(cases[0].font), Record(-16, 400, false, "DejaVu Sans"));
  // A face longer than the record holds is cut, not lost whole.
  EXPECT_EQ(ReadFontRecord(WriteFontRecord({std::string(40, 'x') + "\u00e9"}))->sFace,
            std::string(31, 'x'));
}

TEST(FontRecordTest, RefusesWhatIsNotARecord) {
  std::vector<uint8_t> good = Record(-12, 400, false, "Arial");
  std::vector<uint8_t> shortRecord(good.begin(), good.end() - 1);
  std::vector<uint8_t> longRecord = good;
  longRecord.push_back(0);
  for (const std::vector<uint8_t>& bytes :
       {std::vector<uint8_t>{}, shortRecord, longRecord, Record(-12, 400, false, ""),
        Record(-12, -1, false, "Arial"), Record(-12, 5000, false, "Arial")})
    EXPECT_EQ(ReadFontRecord(bytes), std::nullopt) << bytes.size();
}

}  // namespace
}  // namespace orv

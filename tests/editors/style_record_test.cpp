// The records of the rich-text editor's named styles.

#include "editors/style_record.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// Every field set, in the order of the struct.
SCharStyle Heading() {
  return {"DejaVu Sans", 28 * 20, 700, false, true, false, 0x0000C0, kAutomaticColour};
}
SParaStyle Indented() { return {EStyleAlignment::Justify, 720, 0, -360, 120, 240}; }

TEST(StyleRecordTest, RoundTripsWhatItRecordsAndOnlyThat) {
  EXPECT_EQ(DecodeCharStyle(EncodeCharStyle(Heading())), Heading());
  EXPECT_EQ(DecodeParaStyle(EncodeParaStyle(Indented())), Indented());
  EXPECT_EQ(DecodeCharStyle(EncodeCharStyle({})), SCharStyle{});
  EXPECT_EQ(DecodeParaStyle(EncodeParaStyle({})), SParaStyle{});
  // The layout is the documented one: header, then tag, 16-bit length, payload.
  EXPECT_EQ(EncodeParaStyle({EStyleAlignment::Centre, 0x01020304, {}, {}, {}, {}}),
            (std::vector<uint8_t>{'O', 'S', 'P', 1, 1, 1, 0, 2, 2, 4, 0, 4, 3, 2, 1}));
}

TEST(StyleRecordTest, SkipsTheFieldsOfALaterVersion) {
  std::vector<uint8_t> bytes = EncodeCharStyle(Heading());
  const std::vector<uint8_t> later{200, 3, 0, 'a', 'b', 'c', 201, 0, 0};
  bytes.insert(bytes.begin() + 4, later.begin(), later.end());
  EXPECT_EQ(DecodeCharStyle(bytes), Heading());
}

TEST(StyleRecordTest, RefusesWhatDoesNotRead) {
  const std::vector<uint8_t> good = EncodeCharStyle(Heading());
  auto with = [&](size_t nAt, uint8_t nByte) {
    std::vector<uint8_t> bytes = good;
    bytes[nAt] = nByte;
    return bytes;
  };
  const size_t nWeightAt = 4 + 3 + Heading().sFace->size() + 7 + 3;  // after face and size
  const struct {
    const char* pWhat;
    std::vector<uint8_t> bytes;
    const char* pMessage;
  } cases[] = {
      {"empty", {}, "The style record is not one of this program's."},
      {"the Windows edition's 84 bytes", std::vector<uint8_t>(84, 0),
       "The style record is not one of this program's."},
      {"a later layout", with(3, 2),
       "The style record has layout version 2, which this version of the program cannot read."},
      {"cut in a field's head", std::vector<uint8_t>(good.begin(), good.begin() + 5),
       "The style record is cut short."},
      {"cut in a payload", std::vector<uint8_t>(good.begin(), good.end() - 1),
       "The style record is cut short."},
      {"a negative weight", with(nWeightAt + 3, 0x80),
       "The style record's field 3 holds a value out of range."},
      {"a short integer", with(nWeightAt - 2, 3), "The style record's field 3 has the wrong size."},
      {"an empty face",
       {'O', 'S', 'C', 1, 1, 0, 0},
       "The style record's field 1 is not a font name."},
      {"a flag of 2",
       {'O', 'S', 'C', 1, 4, 1, 0, 2},
       "The style record's field 4 is not a yes or no."},
      {"a field twice",
       {'O', 'S', 'C', 1, 4, 1, 0, 1, 4, 1, 0, 0},
       "The style record's field 4 appears twice."},
  };
  for (const auto& c : cases) {
    try {
      DecodeCharStyle(c.bytes);
      ADD_FAILURE() << c.pWhat << " was read";
    } catch (const CStyleRecordError& error) {
      EXPECT_STREQ(error.what(), c.pMessage) << c.pWhat;
    }
  }
  EXPECT_THROW(DecodeParaStyle({'O', 'S', 'P', 1, 5, 4, 0, 0xFF, 0xFF, 0xFF, 0xFF}),
               CStyleRecordError);  // space before cannot be negative
}

}  // namespace
}  // namespace orv

// The Advanced menu's text operations: input selection, expected replacement.

#include <gtest/gtest.h>

#include "editors/text_case.h"
#include "editors/text_lines.h"
#include "editors/web_addresses.h"

namespace orv::test {
namespace {

using FOperation = std::string (*)(std::string_view);

struct SCase {
  FOperation operation;
  std::string_view sInput;
  std::string_view sOutput;
};

void ExpectAll(std::initializer_list<SCase> cases) {
  for (const SCase& c : cases)
    EXPECT_EQ(c.operation(c.sInput), c.sOutput) << "input: " << testing::PrintToString(c.sInput);
}

TEST(TextCaseTest, MapsUnicodeCaseAndKeepsTheRest) {
  ExpectAll({
      {LowercaseText,
       "\xC3\x89"
       "COLE ABC 123",
       "\xC3\xA9"
       "cole abc 123"},
      {UppercaseText,
       "stra\xC3\x9F"
       "e \xD0\xBC\xD0\xB8\xD1\x80",
       "STRA\xC3\x9F"
       "E \xD0\x9C\xD0\x98\xD0\xA0"},
      {InvertCaseText, "aB1.\xC3\xA9\xC3\x89", "Ab1.\xC3\x89\xC3\xA9"},
      {LowercaseText,
       "A\xFF\xC3"
       "B",
       "a\xFF\xC3"
       "b"},  // bytes that are not UTF-8 stay
      {CapitalizeText, "hello  world-wide", "Hello  World-wide"},
      {CapitalizeText, "123abc o'neil", "123Abc O'neil"},
      {CapitalizeText, "\xD0\xBC\xD0\xB8\xD1\x80 \xD0\x9C\xD0\x98\xD0\xA0",
       "\xD0\x9C\xD0\xB8\xD1\x80 \xD0\x9C\xD0\xB8\xD1\x80"},
      {CapitalizeText, "a\rb\tc\nd", "A\rB\tC\nD"},
      {CapitalizeText,
       "\xC7\x86"
       "ungla",
       "\xC7\x85"
       "ungla"},  // title case digraph
      {SentencizeText, "one. two.three 3.5 x", "One. Two.Three 3.5 x"},
      {SentencizeText, "A! b? C.", "A! b? c."},
      {SentencizeText, "x.\xC3\xA9t\xC3\xA9", "X.\xC3\x89t\xC3\xA9"},
  });
}

TEST(TextLinesTest, DeleteHorizontalWhiteSpace) {
  ExpectAll({
      {DeleteHorizontalWhiteSpace, "  a \t b  ", "a b  "},
      {DeleteHorizontalWhiteSpace, "a", "a "},
      {DeleteHorizontalWhiteSpace, " \t ", " "},
      {DeleteHorizontalWhiteSpace, "", ""},
      {DeleteHorizontalWhiteSpace, "a  \r  b\r", "a \rb\r"},
  });
}

TEST(TextLinesTest, JoinAndReverse) {
  ExpectAll({
      {JoinSelectedLines, "a\rb\r", "a b "},
      {JoinSelectedLines, "a\r\nb \n", "a b "},
      {ReverseSelectedText, "ab\rc", "c\rba"},
      {ReverseSelectedText, "a\r\nb", "b\ra"},
      {ReverseSelectedText, "x\xC3\xA9y", "y\xC3\xA9x"},
      {ReverseSelectedText, "ae\xCC\x81z",
       "ze\xCC\x81"
       "a"},  // e + combining acute stays whole
      {ReverseSelectedText, "", ""},
  });
}

TEST(TextLinesTest, SortTabifyUntabifyCutLinesAlike) {
  ExpectAll({
      {SortSelectedLines, "b\rB\ra\r", "B\r\na\r\nb\r\n"},
      {SortSelectedLines, "x y\rb", "b\nx y\r\n"},
      {SortSelectedLines, "b\rx y", "b\r\nx y\n"},
      {SortSelectedLines, "abc\r\rab\r", "\r\nab\r\nabc\r\n"},
      {SortSelectedLines, "\xC3\xA9\rz\r", "z\r\n\xC3\xA9\r\n"},
      {SortSelectedLines, "b\r\na\n", "a\nb\r\n"},
      {TabifySelection, "a\rb", "\ta\r\n\tb\n"},
      {TabifySelection, "a\r\rb\r", "\ta\r\n\t\r\n\tb\r\n"},
      {UntabifySelection, "\ta\r\n\tb\n", "a\r\nb\n"},
      {UntabifySelection, "  a\r\t\tb\r", "  a\r\n\tb\r\n"},
      {TabifySelection, "", ""},
  });
}

TEST(WebAddressesTest, FindsAddressesWithPorts) {
  ExpectAll({
      {ExtractWebAddresses, "proxy 10.0.0.1:8080 and 192.168.1.20:3128 end",
       "10.0.0.1:8080\r\n192.168.1.20:3128\r\n"},
      {ExtractWebAddresses, "1.2.3.4 80 x", "1.2.3.4:80\r\n"},
      {ExtractWebAddresses, "1234.5.6.7:80", ""},
      {ExtractWebAddresses, "no stops here 1 2 3", ""},
      {ExtractWebAddresses, "999.1.1.1:80", "999.1.1.1:80\r\n"},
      {ExtractWebAddresses, "1.2.3.4:x", "1.2.3.4:0\r\n"},
      {ExtractWebAddresses, "1.2.3.4: -1", "1.2.3.4:4294967295\r\n"},
      {ExtractWebAddresses, "1.2.3.4:99999999999", "1.2.3.4:2147483647\r\n"},
      {ExtractWebAddresses, "1.2.3.4  80", "1.2.3.4:80\r\n"},  // two spaces read as one
      {ExtractWebAddresses, "1.a.3.4:80 5.6.7.8:9", "5.6.7.8:9\r\n"},
      {ExtractWebAddresses, "1.2.3", ""},
      {ExtractWebAddresses, "1.2.3.4", ""},
  });
}

}  // namespace
}  // namespace orv::test

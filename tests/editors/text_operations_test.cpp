// The Advanced menu's text operations: input selection, expected replacement.

#include <gtest/gtest.h>

#include "editors/text_case.h"
#include "editors/text_lines.h"
#include "editors/web_addresses.h"

namespace orv::test {
namespace {

using FOperation = std::string (*)(std::string_view);

using CCases = std::initializer_list<std::pair<std::string_view, std::string_view>>;

// Each input selection with its expected replacement.
void ExpectAll(FOperation operation, CCases cases) {
  for (auto [sInput, sOutput] : cases)
    EXPECT_EQ(operation(sInput), sOutput) << "input: " << testing::PrintToString(sInput);
}

TEST(TextCaseTest, MapsUnicodeCaseAndKeepsTheRest) {
  // Bytes that are not UTF-8 stay; a title-case digraph is capitalized as one.
  ExpectAll(LowercaseText,
            {{"ÉCOLE ABC 123", "école abc 123"}, {"A\xFF\xC3\x42", "a\xFF\xC3\x62"}});
  ExpectAll(UppercaseText, {{"straße мир", "STRAßE МИР"}});
  ExpectAll(InvertCaseText, {{"aB1.éÉ", "Ab1.Éé"}});
  ExpectAll(CapitalizeText, {{"hello  world-wide", "Hello  World-wide"},
                             {"123abc o'neil", "123Abc O'neil"},
                             {"мир МИР", "Мир Мир"},
                             {"a\rb\tc\nd", "A\rB\tC\nD"},
                             {"\u01C6ungla", "\u01C5ungla"}});
  ExpectAll(SentencizeText, {{"one. two.three 3.5 x", "One. Two.Three 3.5 x"},
                             {"A! b? C.", "A! b? c."},
                             {"x.été", "X.Été"}});
}

TEST(TextLinesTest, DeleteJoinAndReverse) {
  ExpectAll(
      DeleteHorizontalWhiteSpace,
      {{"  a \t b  ", "a b  "}, {"a", "a "}, {" \t ", " "}, {"", ""}, {"a  \r  b\r", "a \rb\r"}});
  ExpectAll(JoinSelectedLines, {{"a\rb\r", "a b "}, {"a\r\nb \n", "a b "}});
  // An e with a combining acute stays whole.
  ExpectAll(ReverseSelectedText, {{"ab\rc", "c\rba"},
                                  {"a\r\nb", "b\ra"},
                                  {"xéy", "yéx"},
                                  {"ae\u0301z", "ze\u0301a"},
                                  {"", ""}});
}

TEST(TextLinesTest, SortTabifyUntabifyCutLinesAlike) {
  ExpectAll(SortSelectedLines, {{"b\rB\ra\r", "B\r\na\r\nb\r\n"},
                                {"x y\rb", "b\nx y\r\n"},
                                {"b\rx y", "b\r\nx y\n"},
                                {"abc\r\rab\r", "\r\nab\r\nabc\r\n"},
                                {"é\rz\r", "z\r\né\r\n"},
                                {"b\r\na\n", "a\nb\r\n"}});
  ExpectAll(TabifySelection,
            {{"a\rb", "\ta\r\n\tb\n"}, {"a\r\rb\r", "\ta\r\n\t\r\n\tb\r\n"}, {"", ""}});
  ExpectAll(UntabifySelection, {{"\ta\r\n\tb\n", "a\r\nb\n"}, {"  a\r\t\tb\r", "  a\r\n\tb\r\n"}});
}

TEST(WebAddressesTest, FindsAddressesWithPorts) {
  // Two spaces read as one; a port is read as the C library reads a number.
  ExpectAll(ExtractWebAddresses, {{"proxy 10.0.0.1:8080 and 192.168.1.20:3128 end",
                                   "10.0.0.1:8080\r\n192.168.1.20:3128\r\n"},
                                  {"1.2.3.4 80 x", "1.2.3.4:80\r\n"},
                                  {"1234.5.6.7:80", ""},
                                  {"no stops here 1 2 3", ""},
                                  {"999.1.1.1:80", "999.1.1.1:80\r\n"},
                                  {"1.2.3.4:x", "1.2.3.4:0\r\n"},
                                  {"1.2.3.4: -1", "1.2.3.4:4294967295\r\n"},
                                  {"1.2.3.4:99999999999", "1.2.3.4:2147483647\r\n"},
                                  {"1.2.3.4  80", "1.2.3.4:80\r\n"},
                                  {"1.a.3.4:80 5.6.7.8:9", "5.6.7.8:9\r\n"},
                                  {"1.2.3", ""},
                                  {"1.2.3.4", ""}});
}

}  // namespace
}  // namespace orv::test

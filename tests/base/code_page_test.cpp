#include "base/code_page.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/test_support.h"

namespace orv {
namespace {

std::string AllBytes() {
  std::string s;
  for (int n = 0; n < 256; ++n) s += static_cast<char>(n);
  return s;
}

std::string Ansi(const CCodePage& codePage, std::string_view sUtf8) {
  std::string sAnsi;
  EXPECT_TRUE(codePage.FromUtf8(sUtf8, sAnsi)) << sUtf8;
  return sAnsi;
}

TEST(CodePageTest, RejectsUnusableNames) {
  // Options would let iconv replace characters without telling us.
  for (std::string sName : {"NO-SUCH-PAGE", "CP1252//TRANSLIT"})
    EXPECT_THROW_MSG(CCodePage(sName), std::invalid_argument,
                     "Unknown code page \"" + sName + "\"");
  for (std::string sName : {"UTF-16LE", "SHIFT_JIS"})
    EXPECT_THROW_MSG(CCodePage(sName), std::invalid_argument,
                     "Code page \"" + sName + "\" is not supported: it changes ASCII characters");
}

TEST(CodePageTest, Windows1252KeepsEveryByteIncludingGaps) {
  const CCodePage codePage;
  const std::string sUtf8 = codePage.ToUtf8(AllBytes());
  EXPECT_EQ(Ansi(codePage, sUtf8), AllBytes());

  EXPECT_EQ(codePage.ToUtf8("\x80\xE9"), "€é");
  // 0x81, 0x8D, 0x8F, 0x90 and 0x9D are undefined in windows-1252.
  EXPECT_EQ(codePage.ToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
  EXPECT_EQ(Ansi(codePage, "café € \u0081"), "caf\xE9 \x80 \x81");
}

TEST(CodePageTest, RefusesWhatTheCodePageCannotHold) {
  const CCodePage codePage("WINDOWS-1252");
  std::string sAnsi;
  EXPECT_FALSE(codePage.FromUtf8("Привет", sAnsi));
  EXPECT_FALSE(codePage.FromUtf8("smile 😀", sAnsi));
  EXPECT_FALSE(codePage.FromUtf8("bad \xC3", sAnsi));  // invalid UTF-8

  const CCodePage cyrillic("CP1251");
  EXPECT_EQ(Ansi(cyrillic, "Привет"), "\xCF\xF0\xE8\xE2\xE5\xF2");
  EXPECT_EQ(cyrillic.ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
  EXPECT_FALSE(cyrillic.FromUtf8("é", sAnsi));
  EXPECT_EQ(Ansi(cyrillic, cyrillic.ToUtf8(AllBytes())), AllBytes());
}

TEST(CodePageTest, MultiByteCodePages) {
  const CCodePage japanese("CP932");
  EXPECT_EQ(Ansi(japanese, "日本 ok"), "\x93\xFA\x96\x7B ok");
  EXPECT_EQ(japanese.ToUtf8("\x93\xFA\x96\x7B ok"), "日本 ok");
  // A lead byte without its trail byte cannot be decoded.
  EXPECT_EQ(japanese.ToUtf8("a\x93"), "a\uFFFD");
  EXPECT_EQ(japanese.ToUtf8("\x93\x0A"
                            "b"),
            "\uFFFD\nb");

  // CP932 stores the yen sign as 0x5C, which reads back as a backslash, and
  // U+00AC as the bytes of U+FFE2: neither would survive a save.
  std::string sAnsi;
  EXPECT_FALSE(japanese.FromUtf8("¥100", sAnsi));
  EXPECT_FALSE(japanese.FromUtf8("¬", sAnsi));
  EXPECT_FALSE(japanese.FromUtf8("Привет 😀", sAnsi));

  const CCodePage utf8("UTF-8");
  EXPECT_EQ(Ansi(utf8, "Привет 😀"), "Привет 😀");
  EXPECT_EQ(utf8.ToUtf8("ok \xFF\xC3"), "ok \uFFFD\uFFFD");
}

TEST(CodePageTest, Utf16Conversions) {
  EXPECT_EQ(CCodePage::Utf8ToUtf16("aé€😀"), u"aé€😀");
  EXPECT_EQ(CCodePage::Utf16ToUtf8(u"aé€😀"), "aé€😀");
  EXPECT_EQ(CCodePage::Utf8ToUtf16("😀"), std::u16string({0xD83D, 0xDE00}));

  // Unpaired surrogates, in either order and at either end.
  const std::u16string sBroken({u'a', 0xD83D, u'b', 0xDE00, 0xDE00, 0xD83D});
  EXPECT_EQ(CCodePage::Utf16ToUtf8(sBroken), "a\uFFFDb\uFFFD\uFFFD\uFFFD");

  // Overlong, encoded surrogate, beyond U+10FFFF, stray continuation, truncated.
  EXPECT_EQ(CCodePage::Utf8ToUtf16("\xC0\x80"), u"\uFFFD\uFFFD");
  EXPECT_EQ(CCodePage::Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(CCodePage::Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(CCodePage::Utf8ToUtf16("a\x80"
                                   "b"),
            u"a\uFFFDb");
  EXPECT_EQ(CCodePage::Utf8ToUtf16("a\xE2\x82"), u"a\uFFFD\uFFFD");
}

}  // namespace
}  // namespace orv

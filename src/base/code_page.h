#pragma once
// Converts between the UTF-8 held in memory and the document's ANSI code
// page, and between UTF-8 and UTF-16. Conversions never lose a character
// silently: text the code page cannot hold is refused, so that the caller can
// store it in a wide form instead.
//
// A CCodePage keeps its iconv state between calls, so one object must not be
// used by two threads at once.

#include <iconv.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>

namespace orv {

// Whether s is well-formed UTF-8 holding a byte beyond ASCII: text already
// decoded, not code page bytes, which are almost never valid UTF-8 by chance.
bool IsUtf8BeyondAscii(std::string_view s);

class CCodePage {
 public:
  // `sName` is an iconv name ("WINDOWS-1252", "CP1251", "CP932", "UTF-8"...).
  // Throws std::invalid_argument for a name iconv does not know and for
  // encodings that do not keep ASCII as it is (UTF-16, EBCDIC, ISO-2022...).
  explicit CCodePage(std::string_view sName = "windows-1252");

  std::string ToUtf8(std::string_view sAnsi) const;
  // Returns false, leaving sAnsi unspecified, when any character of sUtf8
  // cannot be stored in this code page and read back unchanged.
  bool FromUtf8(std::string_view sUtf8, std::string& sAnsi) const;

  // Unpaired surrogates and invalid UTF-8 become U+FFFD.
  static std::string Utf16ToUtf8(std::u16string_view sUtf16);
  static std::u16string Utf8ToUtf16(std::string_view sUtf8);

 private:
  struct SIconvCloser {
    void operator()(iconv_t p) const { iconv_close(p); }
  };
  using CIconvPtr = std::unique_ptr<std::remove_pointer_t<iconv_t>, SIconvCloser>;

  // One byte's character, already in UTF-8.
  struct SByteChar {
    char acUtf8[4];
    uint8_t nLength;
  };

  // Fills the byte table; false when the code page is not single-byte.
  bool BuildByteTable(std::string_view sName);
  std::string ToUtf8ByIconv(std::string_view sAnsi) const;
  bool FromUtf8ByTable(std::string_view sUtf8, std::string& sAnsi) const;
  bool FromUtf8ByIconv(std::string_view sUtf8, std::string& sAnsi) const;

  CIconvPtr m_pToUtf8;
  CIconvPtr m_pFromUtf8;
  bool m_bSingleByte = false;
  // Filled for single-byte code pages only.
  std::array<SByteChar, 256> m_aByteChars{};
  std::unordered_map<char32_t, uint8_t> m_mapCharToByte;
};

}  // namespace orv

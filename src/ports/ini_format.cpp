#include "ports/ini_format.h"

#include <charconv>

namespace orv {
namespace {

constexpr std::string_view kBlanks = " \t";
// Characters that would end a name or turn its line into a header or a comment.
constexpr std::string_view kNameSpecials = "=[];#";
constexpr std::string_view kHexPrefix = "hex:";
constexpr char kHexDigits[] = "0123456789abcdef";

// What is wrong with one line; ParseIni adds the file and the line number.
class CLineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string_view Trim(std::string_view s) {
  size_t nBegin = s.find_first_not_of(kBlanks);
  if (nBegin == std::string_view::npos) return {};
  return s.substr(nBegin, s.find_last_not_of(kBlanks) - nBegin + 1);
}

void AppendHex(std::string& sOut, uint8_t nByte) {
  sOut += kHexDigits[nByte >> 4];
  sOut += kHexDigits[nByte & 15];
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Escape(std::string_view s, bool bName) {
  std::string sOut;
  sOut.reserve(s.size() + 2);
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    const auto nByte = static_cast<uint8_t>(c);
    switch (c) {
      case '\\':
        sOut += "\\\\";
        continue;
      case '"':
        sOut += "\\\"";
        continue;
      case '\n':
        sOut += "\\n";
        continue;
      case '\r':
        sOut += "\\r";
        continue;
      case '\t':
        sOut += "\\t";
        continue;
      default:
        break;
    }
    const bool bAtEdge = i == 0 || i + 1 == s.size();
    const bool bNameSpecial =
        bName && (kNameSpecials.find(c) != std::string_view::npos || (c == ' ' && bAtEdge));
    if (nByte < 0x20 || nByte == 0x7F || bNameSpecial) {
      sOut += "\\x";
      AppendHex(sOut, nByte);
    } else {
      sOut += c;
    }
  }
  return sOut;
}

std::string Unescape(std::string_view s) {
  std::string sOut;
  sOut.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '"') throw CLineError("a double quote inside a text must be written \\\"");
    if (s[i] != '\\') {
      sOut += s[i];
      continue;
    }
    if (++i == s.size()) throw CLineError("a backslash without the character it escapes");
    switch (s[i]) {
      case '\\':
        sOut += '\\';
        break;
      case '"':
        sOut += '"';
        break;
      case 'n':
        sOut += '\n';
        break;
      case 'r':
        sOut += '\r';
        break;
      case 't':
        sOut += '\t';
        break;
      case 'x': {
        int nHigh = i + 1 < s.size() ? HexValue(s[i + 1]) : -1;
        int nLow = i + 2 < s.size() ? HexValue(s[i + 2]) : -1;
        if (nHigh < 0 || nLow < 0) throw CLineError("\\x must be followed by two hex digits");
        sOut += static_cast<char>(nHigh * 16 + nLow);
        i += 2;
        break;
      }
      default:
        throw CLineError(std::string("unknown escape \\") + s[i]);
    }
  }
  return sOut;
}

std::vector<uint8_t> ParseHex(std::string_view sDigits) {
  if (sDigits.size() % 2 != 0) throw CLineError("hex: needs two digits per byte");
  std::vector<uint8_t> bytes;
  bytes.reserve(sDigits.size() / 2);
  for (size_t i = 0; i < sDigits.size(); i += 2) {
    int nHigh = HexValue(sDigits[i]);
    int nLow = HexValue(sDigits[i + 1]);
    if (nHigh < 0 || nLow < 0) throw CLineError("hex: holds a character that is not a hex digit");
    bytes.push_back(static_cast<uint8_t>(nHigh * 16 + nLow));
  }
  return bytes;
}

CMemorySettingsStore::TValue ParseValue(std::string_view sValue) {
  if (sValue.starts_with('"')) {
    if (sValue.size() < 2 || !sValue.ends_with('"'))
      throw CLineError("a text must end with a double quote");
    return Unescape(sValue.substr(1, sValue.size() - 2));
  }
  if (sValue.starts_with(kHexPrefix)) return ParseHex(sValue.substr(kHexPrefix.size()));
  int32_t nValue = 0;
  auto [pEnd, ec] = std::from_chars(sValue.data(), sValue.data() + sValue.size(), nValue);
  if (ec == std::errc::result_out_of_range) throw CLineError("the number is out of range");
  if (ec != std::errc() || pEnd != sValue.data() + sValue.size() || sValue.empty())
    throw CLineError("a value must be a number, a text in double quotes or hex: bytes");
  return nValue;
}

std::string FormatValue(const CMemorySettingsStore::TValue& value) {
  if (const auto* pInt = std::get_if<int32_t>(&value)) return std::to_string(*pInt);
  if (const auto* pText = std::get_if<std::string>(&value))
    return '"' + Escape(*pText, false) + '"';
  std::string sOut(kHexPrefix);
  for (uint8_t nByte : std::get<std::vector<uint8_t>>(value)) AppendHex(sOut, nByte);
  return sOut;
}

}  // namespace

CMemorySettingsStore::TSections ParseIni(std::string_view sText, const std::string& sWhere) {
  constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
  if (sText.starts_with(kUtf8Bom)) sText.remove_prefix(kUtf8Bom.size());

  CMemorySettingsStore::TSections sections;
  CMemorySettingsStore::TSection* pSection = nullptr;
  size_t nLine = 0;
  while (!sText.empty()) {
    ++nLine;
    size_t nEnd = sText.find('\n');
    std::string_view sLine = sText.substr(0, nEnd);
    sText.remove_prefix(nEnd == std::string_view::npos ? sText.size() : nEnd + 1);
    if (sLine.ends_with('\r')) sLine.remove_suffix(1);
    sLine = Trim(sLine);
    if (sLine.empty() || sLine.starts_with(';') || sLine.starts_with('#')) continue;
    try {
      if (sLine.starts_with('[')) {
        if (!sLine.ends_with(']')) throw CLineError("a section header must end with ]");
        std::string sName = Unescape(Trim(sLine.substr(1, sLine.size() - 2)));
        pSection = &sections[std::move(sName)];
        continue;
      }
      size_t nEquals = sLine.find('=');
      if (nEquals == std::string_view::npos) throw CLineError("expected [Section] or name=value");
      if (!pSection) throw CLineError("a value before the first [Section]");
      std::string sName = Unescape(Trim(sLine.substr(0, nEquals)));
      pSection->insert_or_assign(std::move(sName), ParseValue(Trim(sLine.substr(nEquals + 1))));
    } catch (const CLineError& e) {
      throw CSettingsError("Settings file " + sWhere + ", line " + std::to_string(nLine) + ": " +
                           e.what());
    }
  }
  return sections;
}

std::string FormatIni(const CMemorySettingsStore::TSections& sections) {
  std::string sOut;
  for (const auto& [sSection, values] : sections) {
    if (!sOut.empty()) sOut += '\n';
    sOut += '[' + Escape(sSection, true) + "]\n";
    for (const auto& [sName, value] : values)
      sOut += Escape(sName, true) + '=' + FormatValue(value) + '\n';
  }
  return sOut;
}

}  // namespace orv

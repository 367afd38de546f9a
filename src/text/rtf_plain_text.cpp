#include "text/rtf_plain_text.h"

#include <algorithm>
#include <map>
#include <memory>
#include <stdexcept>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/code_page.h"
#include "text/rtf_code_pages.h"
#include "text/rtf_lexer.h"
#include "text/rtf_words.h"

namespace orv {
namespace {

using enum ERtfWord;

// Real documents nest a few dozen groups; deeper ones are skipped whole.
constexpr size_t kMaxDepth = 200;
constexpr int kMaxUnicodeSkip = 16;

struct SGroup {
  bool bFontTable = false;
  int nFont = -1;
  int nUnicodeSkip = 1;
};

// Building a code page's tables takes hundreds of conversions, and notes
// share a few code pages: each thread keeps those it built.
const CCodePage& SharedCodePage(const std::string& sName) {
  thread_local std::map<std::string, std::unique_ptr<CCodePage>, std::less<>> codePages;
  std::unique_ptr<CCodePage>& pCodePage = codePages[sName];
  if (!pCodePage) {
    try {
      pCodePage = std::make_unique<CCodePage>(sName);
    } catch (const std::invalid_argument&) {
      pCodePage = std::make_unique<CCodePage>("windows-1252");
    }
  }
  return *pCodePage;
}

class CRtfTextReader {
 public:
  explicit CRtfTextReader(std::string_view sCodePage) : m_sFallback(sCodePage) {}

  std::string Read(std::string_view sRtf) {
    CRtfLexer lexer(sRtf);
    for (SRtfToken token = lexer.Next(); token.eType != ERtfToken::End; token = lexer.Next())
      OnToken(token);
    Flush();
    return std::move(m_sOut);
  }

 private:
  SGroup& Top() { return m_groups.back(); }

  void OnToken(const SRtfToken& token) {
    switch (token.eType) {
      case ERtfToken::GroupStart:
        m_bStarred = false;
        m_nSkipChars = 0;
        if (m_nSkipDepth > 0 || m_groups.size() >= kMaxDepth) {
          ++m_nSkipDepth;
        } else {
          m_groups.push_back(Top());
        }
        return;
      case ERtfToken::GroupEnd:
        m_bStarred = false;
        m_nSkipChars = 0;
        if (m_nSkipDepth > 0) {
          if (--m_nSkipDepth == 0) m_groups.pop_back();
        } else if (m_groups.size() > 1) {
          m_groups.pop_back();
        }
        return;
      case ERtfToken::ControlWord:
        if (m_nSkipDepth == 0) OnWord(token);
        return;
      case ERtfToken::ControlSymbol:
        if (m_nSkipDepth == 0) OnSymbol(static_cast<char>(token.nByte));
        return;
      case ERtfToken::Text:
        if (m_nSkipDepth == 0) OnText(token.sText);
        return;
      case ERtfToken::HexByte:
        if (m_nSkipDepth == 0)
          OnText(std::string_view(reinterpret_cast<const char*>(&token.nByte), 1));
        return;
      case ERtfToken::Binary:
        if (m_nSkipDepth == 0 && m_nSkipChars > 0) --m_nSkipChars;
        return;
      case ERtfToken::End:
        return;
    }
  }

  // Hides the group the word stands in, with everything inside it.
  void SkipGroup() {
    if (m_groups.size() > 1) m_nSkipDepth = 1;
  }

  void OnWord(const SRtfToken& token) {
    const bool bStarred = std::exchange(m_bStarred, false);
    const ERtfWord eWord = FindRtfWord(token.sText);
    if (m_nSkipChars > 0 && eWord != U) {
      --m_nSkipChars;  // a control word can stand as the fallback of \u
      return;
    }
    if ((bStarred && !IsRtfDestination(eWord)) || eWord == Skip) return SkipGroup();
    const int nParam = token.nParam;
    switch (eWord) {
      // Destinations that hold nothing the reader sees; a field's result does.
      case ColorTbl:
      case FldInst:
      case ListTable:
      case ListOverrideTable:
      case Pn:
      case Pict:
      case ShpPict:
        return SkipGroup();
      case FontTbl:
        Top().bFontTable = true;
        return;
      case F:
        if (Top().bFontTable)
          m_nFontNumber = nParam;
        else
          Top().nFont = nParam;
        return;
      case Fcharset:
        if (Top().bFontTable) m_fontCharsets[m_nFontNumber] = nParam;
        return;
      case AnsiCpg:
        m_nDocumentCodePage = nParam;
        return;
      case Uc:
        Top().nUnicodeSkip = std::clamp(nParam, 0, kMaxUnicodeSkip);
        return;
      case U:
        AddUnit(static_cast<char16_t>(nParam & 0xFFFF));
        m_nSkipChars = Top().nUnicodeSkip;
        return;
      case Par:
      case Page:
      case Row:
        AddUnit(u'\n');
        return;
      case Cell:
      case NestCell:
        AddUnit(u'\t');
        return;
      default:
        if (const char16_t cShown = RtfWordCharacter(eWord)) AddUnit(cShown);
        return;
    }
  }

  void OnSymbol(char c) {
    if (c == '*') {
      m_bStarred = true;
      return;
    }
    if (m_nSkipChars > 0) {
      --m_nSkipChars;
      return;
    }
    switch (c) {
      case '\\':
      case '{':
      case '}':
        OnText(std::string_view(&c, 1));
        return;
      case '~':
        return AddUnit(0x00A0);
      case '_':
        return AddUnit(0x2011);
      case '\n':  // a backslash before a line end is a paragraph break
        return AddUnit(u'\n');
      default:
        return;
    }
  }

  void OnText(std::string_view sText) {
    m_bStarred = false;
    if (Top().bFontTable) return;
    while (m_nSkipChars > 0 && !sText.empty()) {
      --m_nSkipChars;
      sText.remove_prefix(1);
    }
    if (sText.empty()) return;
    // Notes loaded from UTF-8 files carry their text decoded already.
    if (IsUtf8BeyondAscii(sText)) {
      Flush();
      m_sOut += sText;
      return;
    }
    const int nCodePage = GroupCodePage();
    if (nCodePage != m_nBytesCodePage) Flush();
    FlushUnits();
    m_nBytesCodePage = nCodePage;
    m_sBytes += sText;
  }

  void AddUnit(char16_t cUnit) {
    FlushBytes();
    m_sUnits += cUnit;
  }

  // The code page of the group's font, else of the document; 0 for sCodePage.
  int GroupCodePage() const {
    const auto it = m_fontCharsets.find(m_groups.back().nFont);
    const int nFontCodePage = it == m_fontCharsets.end() ? 0 : CodePageOfCharset(it->second);
    return nFontCodePage != 0 ? nFontCodePage : m_nDocumentCodePage;
  }

  const CCodePage& CodePage(int nCodePage) {
    return SharedCodePage(nCodePage ? CodePageName(nCodePage) : m_sFallback);
  }

  void FlushBytes() {
    if (m_sBytes.empty()) return;
    // ASCII reads the same in every code page an RTF text names.
    if (std::all_of(m_sBytes.begin(), m_sBytes.end(), [](char c) { return c >= 0; }))
      m_sOut += m_sBytes;
    else
      m_sOut += CodePage(m_nBytesCodePage).ToUtf8(m_sBytes);
    m_sBytes.clear();
  }
  void FlushUnits() {
    if (m_sUnits.empty()) return;
    m_sOut += CCodePage::Utf16ToUtf8(m_sUnits);
    m_sUnits.clear();
  }
  void Flush() {
    FlushBytes();
    FlushUnits();
  }

  std::string m_sFallback;
  std::vector<SGroup> m_groups{1};
  size_t m_nSkipDepth = 0;  // inside a hidden group while above 0
  int m_nSkipChars = 0;     // characters still to drop after \u
  bool m_bStarred = false;
  int m_nFontNumber = -1;  // the font the font table describes now
  std::unordered_map<int, int> m_fontCharsets;
  int m_nDocumentCodePage = 0;
  // Text waiting for its conversion: bytes of one code page, or UTF-16 units.
  std::string m_sBytes;
  int m_nBytesCodePage = 0;
  std::u16string m_sUnits;
  std::string m_sOut;
};

}  // namespace

std::string RtfToPlainText(std::string_view sRtf, std::string_view sCodePage) {
  const size_t nStart = sRtf.find_first_not_of(" \t\r\n");
  if (nStart == std::string_view::npos || !sRtf.substr(nStart).starts_with("{\\rtf"))
    return std::string(sRtf);
  return CRtfTextReader(sCodePage).Read(sRtf.substr(nStart));
}

}  // namespace orv

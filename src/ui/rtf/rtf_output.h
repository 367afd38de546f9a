#pragma once
// The RTF text the writer builds: control words with their delimiters, text
// escaped for the document's code page, and line ends placed so that no
// line grows long.

#include <QString>
#include <string>
#include <string_view>

#include "base/code_page.h"

namespace orv {

class CRtfOutput {
 public:
  explicit CRtfOutput(const CCodePage& codePage) : m_codePage(codePage) {}

  void Word(std::string_view sName);
  void Word(std::string_view sName, int nParam);
  // Braces and other text that is already RTF.
  void Raw(std::string_view s);
  // Characters the code page holds as themselves or \'hh, the others as \uN?
  // (with \uc1 in force).
  void Text(const QString& s);
  void LineEnd();
  const std::string& Result() const { return m_s; }

 private:
  void Char(char32_t c);
  void BreakLongLine();

  const CCodePage& m_codePage;
  std::string m_s;
  size_t m_nLineStart = 0;
  bool m_bAfterWord = false;  // text must be kept apart from a word before it
};

}  // namespace orv

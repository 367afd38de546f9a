// Reads arbitrary bytes as an RTF note and as an HTML note, as search and
// statistics do. No input may crash the readers, hang them or make them
// allocate without bound, and what they give is always well-formed UTF-8.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/code_page.h"
#include "text/html_plain_text.h"
#include "text/rtf_plain_text.h"

namespace {

bool IsUtf8(const std::string& s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return orv::IsUtf8BeyondAscii(s);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string_view sInput(reinterpret_cast<const char*>(pData), nSize);
  // Text that is not RTF is handed back as it is: only RTF is decoded.
  if (sInput.starts_with("{\\rtf") && !IsUtf8(orv::RtfToPlainText(sInput))) __builtin_trap();
  if (!IsUtf8(orv::HtmlToPlainText(sInput))) __builtin_trap();
  return 0;
}

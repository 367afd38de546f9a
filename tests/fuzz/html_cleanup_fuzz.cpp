// Reads arbitrary bytes as HTML given to the HTML editor. No input may crash
// the cleanup, and what it gives holds nothing more to remove when read
// again: no element that is taken out, no event attribute, no script URL.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "editors/html_cleanup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string_view sHtml(reinterpret_cast<const char*>(pData), nSize);
  const orv::SHtmlCleanup cleanup = orv::CleanHtml(sHtml);
  if (orv::CleanHtml(cleanup.sHtml).bChanged) __builtin_trap();
  return 0;
}

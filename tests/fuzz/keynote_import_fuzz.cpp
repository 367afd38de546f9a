// Imports arbitrary bytes as a KeyNote notebook. No input may crash the
// reader, recurse on its levels or allocate by a number it holds; a refusal
// changes nothing, and the notebook written from what was accepted reads
// back to the same notebook.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "exchange/keynote_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  static const orv::CCodePage codePage;
  orv::CFolderList folders;
  try {
    orv::ImportKeyNote(folders, std::string_view(reinterpret_cast<const char*>(pData), nSize),
                       codePage);
  } catch (const orv::CExchangeError&) {
    if (!folders.Empty()) __builtin_trap();
    return 0;
  }
  const std::string sWritten = orv::WriteKeyNote(folders);
  orv::CFolderList again;
  orv::ImportKeyNote(again, sWritten, codePage);
  if (orv::WriteKeyNote(again) != sWritten) __builtin_trap();
  return 0;
}

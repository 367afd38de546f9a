// Imports arbitrary bytes as a TreePad file. No input may crash the reader,
// recurse on its levels or allocate by a number it holds; a refusal changes
// nothing, and the file written from what was accepted reads back to the
// same file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "exchange/treepad_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  static const orv::CCodePage codePage;
  orv::CFolderList folders;
  try {
    orv::ImportTreePad(folders, nullptr,
                       std::string_view(reinterpret_cast<const char*>(pData), nSize), codePage);
  } catch (const orv::CExchangeError&) {
    if (!folders.Empty()) __builtin_trap();
    return 0;
  }
  const std::string sWritten = orv::WriteTreePad(folders.At(0));
  orv::CFolderList again;
  orv::ImportTreePad(again, nullptr, sWritten, codePage);
  if (orv::WriteTreePad(again.At(0)) != sWritten) __builtin_trap();
  return 0;
}

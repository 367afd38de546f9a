// Reads a sequence of archive primitives chosen by the input itself: no input
// may crash the reader, read outside it or make it allocate without bound.
// Every string read must also come back unchanged from a write and a read.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/archive.h"

namespace {

const orv::CCodePage& PickCodePage(uint8_t nChoice) {
  static const orv::CCodePage western;  // single-byte, with gaps
  static const orv::CCodePage japanese("CP932");
  static const orv::CCodePage utf8("UTF-8");
  switch (nChoice % 3) {
    case 0:
      return western;
    case 1:
      return japanese;
    default:
      return utf8;
  }
}

void CheckRoundTrip(const std::string& sText, const orv::CCodePage& codePage) {
  orv::CArchiveWriter writer(codePage);
  writer.WriteString(sText);
  orv::CArchiveReader reader(writer.Data(), codePage);
  if (reader.ReadString() != sText || !reader.AtEnd()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  if (nSize == 0) return 0;
  const orv::CCodePage& codePage = PickCodePage(pData[0]);
  orv::CArchiveReader reader(std::string_view(reinterpret_cast<const char*>(pData) + 1, nSize - 1),
                             codePage);
  try {
    while (!reader.AtEnd()) {
      switch (reader.ReadByte() % 7) {
        case 0:
          reader.ReadInt32();
          break;
        case 1:
          reader.ReadBool8();
          break;
        case 2:
          reader.ReadUInt16();
          break;
        case 3:
          reader.ReadUInt32();
          break;
        case 4:
          reader.ReadBytes(reader.ReadUInt16());
          break;
        default:
          CheckRoundTrip(reader.ReadString(), codePage);
          break;
      }
    }
  } catch (const orv::CArchiveError&) {
    // The expected outcome for most inputs.
  }
  return 0;
}

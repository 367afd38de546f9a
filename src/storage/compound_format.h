#pragma once
// Constants of the compound file format (version 3:
// 512-byte sectors, 64-byte mini sectors). docs/formats/compound-file.md has
// the prose description.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

#include "base/little_endian.h"

namespace orv::cfb {

// The format's integers, as the rest of the program reads them.
using orv::GetLe16;
using orv::GetLe32;
using orv::GetLe64;
using orv::PutLe16;
using orv::PutLe32;
using orv::PutLe64;

inline constexpr uint32_t kSectorSize = 512;
inline constexpr uint32_t kMiniSectorSize = 64;
inline constexpr uint32_t kMiniStreamCutoff = 4096;
inline constexpr uint32_t kHeaderSize = 512;
inline constexpr uint32_t kEntriesPerSector = kSectorSize / 4;
inline constexpr uint32_t kDirEntrySize = 128;
inline constexpr uint32_t kDirEntriesPerSector = kSectorSize / kDirEntrySize;
inline constexpr uint32_t kHeaderDifatSlots = 109;
inline constexpr uint32_t kDifatSlotsPerSector = kEntriesPerSector - 1;
inline constexpr uint32_t kMaxNameUnits = 31;
// Version 3 keeps stream sizes in 32 bits, and Windows refuses anything above 2 GiB.
inline constexpr uint64_t kMaxStreamSize = 0x80000000ull;

inline constexpr uint32_t kMaxRegSect = 0xFFFFFFFA;
inline constexpr uint32_t kDifSect = 0xFFFFFFFC;
inline constexpr uint32_t kFatSect = 0xFFFFFFFD;
inline constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
inline constexpr uint32_t kFreeSect = 0xFFFFFFFF;
inline constexpr uint32_t kNoStream = 0xFFFFFFFF;

// The sector that covers file offsets 0x7FFFFF00..0x7FFFFFFF is reserved
// for byte-range locks by Windows once a file passes 2 GiB; it never holds data.
inline constexpr uint32_t kRangeLockSector = 0x7FFFFE00 / kSectorSize - 1;

// Header fields: byte offsets into the 512-byte header.
inline constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
inline constexpr size_t kHdrMinorVersion = 0x18;     // u16, 0x003E
inline constexpr size_t kHdrMajorVersion = 0x1A;     // u16, 3
inline constexpr size_t kHdrByteOrder = 0x1C;        // u16, 0xFFFE
inline constexpr size_t kHdrSectorShift = 0x1E;      // u16, 9 (512-byte sectors)
inline constexpr size_t kHdrMiniSectorShift = 0x20;  // u16, 6 (64-byte mini sectors)
inline constexpr size_t kHdrFatSectorCount = 0x2C;   // u32
inline constexpr size_t kHdrFirstDirSector = 0x30;   // u32
inline constexpr size_t kHdrMiniCutoff = 0x38;       // u32, 4096
inline constexpr size_t kHdrFirstMiniFat = 0x3C;     // u32
inline constexpr size_t kHdrMiniFatCount = 0x40;     // u32
inline constexpr size_t kHdrFirstDifat = 0x44;       // u32
inline constexpr size_t kHdrDifatCount = 0x48;       // u32
inline constexpr size_t kHdrDifat = 0x4C;            // 109 x u32, the first FAT sectors

inline constexpr uint16_t kMinorVersion = 0x003E;
inline constexpr uint16_t kMajorVersion = 3;
inline constexpr uint16_t kByteOrderMark = 0xFFFE;
inline constexpr uint16_t kSectorShift = 9;
inline constexpr uint16_t kMiniSectorShift = 6;

// Directory-entry fields: byte offsets into a 128-byte entry.
inline constexpr size_t kDirName = 0x00;       // 32 x UTF-16LE unit, terminated
inline constexpr size_t kDirNameBytes = 0x40;  // u16, name bytes with the terminator
inline constexpr size_t kDirType = 0x42;       // u8, EEntryType
inline constexpr size_t kDirColour = 0x43;     // u8, 0 red, 1 black
inline constexpr size_t kDirLeft = 0x44;       // u32, left sibling
inline constexpr size_t kDirRight = 0x48;      // u32, right sibling
inline constexpr size_t kDirChild = 0x4C;      // u32, root of the children's tree
inline constexpr size_t kDirClsid = 0x50;      // 16 bytes
inline constexpr size_t kDirStateBits = 0x60;  // u32
inline constexpr size_t kDirCreated = 0x64;    // u64 FILETIME
inline constexpr size_t kDirModified = 0x6C;   // u64 FILETIME
inline constexpr size_t kDirStart = 0x74;      // u32, first sector or mini sector
inline constexpr size_t kDirSize = 0x78;       // u64, only the low half counts in version 3
inline constexpr size_t kDirClsidSize = 16;
inline constexpr size_t kDirNameUnits = 32;  // the name field, terminator included

enum EEntryType : uint8_t { kTypeEmpty = 0, kTypeStorage = 1, kTypeStream = 2, kTypeRoot = 5 };

inline uint64_t SectorOffset(uint32_t nSector) {
  return (static_cast<uint64_t>(nSector) + 1) * kSectorSize;
}

}  // namespace orv::cfb

namespace orv {

// Every failure of the compound-file engine: damaged input, misuse, I/O.
class CStorageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace orv

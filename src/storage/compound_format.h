#pragma once
// Constants and little-endian helpers of the compound file format (version 3:
// 512-byte sectors, 64-byte mini sectors). docs/formats/compound-file.md has
// the prose description.

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace orv::cfb {

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

enum EEntryType : uint8_t { kTypeEmpty = 0, kTypeStorage = 1, kTypeStream = 2, kTypeRoot = 5 };

inline uint64_t SectorOffset(uint32_t nSector) {
  return (static_cast<uint64_t>(nSector) + 1) * kSectorSize;
}

inline uint16_t GetLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t GetLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline uint64_t GetLe64(const uint8_t* p) {
  return GetLe32(p) | (static_cast<uint64_t>(GetLe32(p + 4)) << 32);
}
inline void PutLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void PutLe64(uint8_t* p, uint64_t v) {
  PutLe32(p, static_cast<uint32_t>(v));
  PutLe32(p + 4, static_cast<uint32_t>(v >> 32));
}

}  // namespace orv::cfb

namespace orv {

// Every failure of the compound-file engine: damaged input, misuse, I/O.
class CStorageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace orv

#pragma once
// A compound file ("structured storage", version 3) opened for reading or in
// transacted read-write mode.
//
// Transactions work by copy-on-write: until Commit, changes go only to
// sectors that the committed state does not use, and Commit ends by writing
// the 512-byte header that switches to the new state. A process killed at any
// moment therefore leaves the file in its old or its new state, and a commit
// costs in proportion to what changed, not to the size of the file. A file
// made by Create is written beside its final path and renamed over it by the
// first commit, so that an existing file survives until then. A file changed
// in place and closed without a commit gives back the space its changes took.
// docs/formats/compound-file.md describes the format.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "storage/allocation_table.h"
#include "storage/compound_directory.h"

namespace orv {

class CCompoundStream;
using CClassId = std::array<uint8_t, 16>;

class CCompoundFile {
 public:
  enum class EMode { ReadOnly, ReadWrite };
  static constexpr uint32_t kRoot = CCompoundDirectory::kRootSid;

  static std::unique_ptr<CCompoundFile> Create(const std::string& sPath,
                                               CFileSystem& fs = CFileSystem::Default());
  static std::unique_ptr<CCompoundFile> Open(const std::string& sPath, EMode eMode,
                                             CFileSystem& fs = CFileSystem::Default());
  // Changes not committed are dropped.
  ~CCompoundFile();
  CCompoundFile(const CCompoundFile&) = delete;
  CCompoundFile& operator=(const CCompoundFile&) = delete;

  const std::string& Path() const { return m_sPath; }
  bool IsReadOnly() const { return m_bReadOnly; }

  // Elements are addressed by their directory id; names are UTF-8.
  std::optional<uint32_t> Find(uint32_t nStorage, std::string_view sName) const;
  std::vector<uint32_t> Children(uint32_t nStorage) const;
  std::string Name(uint32_t nSid) const;
  bool IsStorage(uint32_t nSid) const { return m_directory.Entry(nSid).IsStorage(); }
  uint64_t StreamSize(uint32_t nSid) const { return m_directory.Entry(nSid).nSize; }
  const CClassId& ClassId(uint32_t nStorage) const { return m_directory.Entry(nStorage).clsid; }
  void SetClassId(uint32_t nStorage, const CClassId& clsid);

  // The storage of that name, created when missing.
  uint32_t CreateStorage(uint32_t nParent, std::string_view sName);
  // A new empty stream; an element of the same name is replaced.
  uint32_t CreateStream(uint32_t nParent, std::string_view sName);
  // Removes an element and everything below it; false when there is none.
  bool Remove(uint32_t nParent, std::string_view sName);

  // One stream can be open once at a time.
  std::unique_ptr<CCompoundStream> OpenStream(uint32_t nSid);

  // For a file made by Create, `beforeReplace` gets the new file's scratch
  // path once it is complete and durable, just before it is renamed over the old one.
  void Commit(const std::function<void(const std::string& sNewFile)>& beforeReplace = nullptr);

 private:
  friend class CCompoundStream;

  CCompoundFile(std::string sPath, CFileSystem& fs, bool bReadOnly);
  void InitNew();
  void Load();
  void LoadFat(const uint8_t* pHeader, uint32_t nFileSectors);
  // Checks that no sector or mini sector serves two purposes and that every
  // one in use is marked so; a damaged table would otherwise hand out a
  // sector that holds data. Fills m_inOneRun for a file open for reading.
  void CheckAllocation();
  // The units of a stream into `rUnits`; throws CStorageError when the
  // chain is damaged or shorter than the stream. `pClaimed` as for
  // CAllocationTable::Chain.
  void StreamChain(const SCfbEntry& entry, std::vector<uint32_t>& rUnits,
                   std::vector<uint8_t>* pClaimed = nullptr);
  // Reads sectors[nFirst, nFirst + nCount) into `pOut`, one after the other.
  void ReadSectors(const std::vector<uint32_t>& sectors, size_t nFirst, size_t nCount,
                   uint8_t* pOut);
  // The little-endian 32-bit entries the sectors hold.
  std::vector<uint32_t> ReadTable(const std::vector<uint32_t>& sectors);
  std::vector<SCfbEntry> ReadDirectory();
  void RequireWritable() const;
  bool IsOpen(uint32_t nSid) const { return nSid < m_openStreams.size() && m_openStreams[nSid]; }
  uint32_t ValidateNewName(uint32_t nParent, std::string_view sName, std::u16string& rName) const;

  // Units are 512-byte sectors or, for small streams, 64-byte mini sectors.
  CAllocationTable& Table(bool bMini) { return bMini ? m_miniFat : m_fat; }
  uint64_t UnitOffset(bool bMini, uint32_t nUnit) const;
  uint32_t AllocateUnit(bool bMini);
  // Makes the mini stream long enough to hold that mini sector.
  void GrowMiniStream(uint32_t nMiniUnit);
  // Puts `nNew` in place of the chain's i-th unit and frees the old one.
  void ReplaceUnit(bool bMini, std::vector<uint32_t>& chain, size_t i, uint32_t nNew,
                   uint32_t& rStart);
  void ExtendChain(std::vector<uint32_t>& chain, size_t nUnits, bool bMini, uint32_t& rStart);
  void RelocateIfCommitted(std::vector<uint32_t>& chain, size_t i, uint32_t& rStart);
  // Reads or writes a byte range of a chain, in as few calls as the layout allows.
  void TransferUnits(bool bMini, const std::vector<uint32_t>& chain, uint64_t nOffset,
                     uint8_t* pRead, const uint8_t* pWrite, size_t nCount);

  // Cuts a file changed in place back to its committed size.
  void GiveBackUncommittedSpace() noexcept;
  bool HasChanges() const;
  void FinalizeFat();
  // Writes every changed sector of the directory, the mini FAT, the DIFAT and the FAT.
  void WriteTableSectors(const std::vector<uint32_t>& dirSectors,
                         const std::vector<uint32_t>& miniFatPages);
  std::vector<uint32_t> DirtyDifatSectors() const;
  void SerializeDifatSector(uint32_t k, uint8_t* pOut) const;
  void WriteHeader();

  std::string m_sPath;
  std::string m_sTempPath;  // set until the first commit of a new file
  CFileSystem& m_fs;
  std::unique_ptr<COsFile> m_pFile;
  bool m_bReadOnly;
  bool m_bHeaderDirty = false;

  CAllocationTable m_fat{cfb::kRangeLockSector};
  CAllocationTable m_miniFat;
  CCompoundDirectory m_directory;
  std::vector<uint32_t> m_dirChain, m_miniFatChain, m_miniStreamChain;
  uint32_t m_nFirstDirSector = cfb::kEndOfChain;
  uint32_t m_nFirstMiniFatSector = cfb::kEndOfChain;
  std::vector<uint32_t> m_fatSectors, m_difatSectors;
  std::vector<uint32_t> m_committedFatSectors, m_committedDifatSectors;
  uint32_t m_nFileSectors = 0;      // sectors the file held when opened
  uint64_t m_nCommittedSize = 0;    // bytes the committed state may use
  std::vector<bool> m_openStreams;  // by directory id
  // By directory id, in a file open for reading, whose tables never change:
  // the stream's units were found to follow one another when the file was
  // checked, so opening it needs no walk of its chain.
  std::vector<bool> m_inOneRun;
};

}  // namespace orv

#include "storage/compound_file.h"

#include <algorithm>
#include <bit>
#include <numeric>

#include "base/code_page.h"
#include "storage/compound_stream.h"

namespace orv {

using namespace cfb;

namespace {

uint64_t CeilDiv(uint64_t a, uint64_t b) { return (a + b - 1) / b; }

bool IsNoChain(uint32_t nSector) { return nSector == kEndOfChain || nSector == kFreeSect; }

// Whether the units follow one another, each the one after the last.
bool IsOneRun(const std::vector<uint32_t>& units) {
  auto isGap = [](uint32_t nUnit, uint32_t nNext) { return nNext != nUnit + 1; };
  return !units.empty() && std::adjacent_find(units.begin(), units.end(), isGap) == units.end();
}

}  // namespace

CCompoundFile::CCompoundFile(std::string sPath, CFileSystem& fs, bool bReadOnly)
    : m_sPath(std::move(sPath)), m_fs(fs), m_bReadOnly(bReadOnly) {}

CCompoundFile::~CCompoundFile() {
  if (m_sTempPath.empty()) {
    GiveBackUncommittedSpace();
    return;
  }
  m_pFile.reset();
  try {
    m_fs.Remove(m_sTempPath);
  } catch (const CIoError&) {
    // A leftover scratch file is harmless; the real file was never touched.
  }
}

void CCompoundFile::GiveBackUncommittedSpace() noexcept {
  if (m_bReadOnly || !m_pFile) return;
  try {
    if (m_pFile->Size() > m_nCommittedSize) m_pFile->Truncate(m_nCommittedSize);
  } catch (const CIoError&) {
    // The committed state is whole either way; only the space stays taken.
  }
}

std::unique_ptr<CCompoundFile> CCompoundFile::Create(const std::string& sPath, CFileSystem& fs) {
  std::unique_ptr<CCompoundFile> pFile(new CCompoundFile(sPath, fs, false));
  pFile->m_pFile = CreateScratchFile(fs, sPath, pFile->m_sTempPath);
  pFile->InitNew();
  return pFile;
}

std::unique_ptr<CCompoundFile> CCompoundFile::Open(const std::string& sPath, EMode eMode,
                                                   CFileSystem& fs) {
  bool bReadOnly = eMode == EMode::ReadOnly;
  std::unique_ptr<CCompoundFile> pFile(new CCompoundFile(sPath, fs, bReadOnly));
  pFile->m_pFile = fs.Open(sPath, bReadOnly ? EOpenMode::Read : EOpenMode::ReadWrite);
  pFile->Load();
  return pFile;
}

void CCompoundFile::InitNew() {
  m_fat.Load({});
  m_miniFat.Load({});
  m_directory.InitNew();
  m_bHeaderDirty = true;
}

// ---- reading the structure -------------------------------------------------

void CCompoundFile::ReadSectors(const std::vector<uint32_t>& sectors, size_t nFirst, size_t nCount,
                                uint8_t* pOut) {
  // Sectors that lie back to back are read in one call.
  for (size_t i = nFirst; i < nFirst + nCount;) {
    size_t nRun = 1;
    while (i + nRun < nFirst + nCount && sectors[i + nRun] == sectors[i] + nRun) ++nRun;
    size_t nBytes = nRun * kSectorSize;
    if (m_pFile->ReadAt(SectorOffset(sectors[i]), pOut + (i - nFirst) * kSectorSize, nBytes) !=
        nBytes)
      throw CStorageError(m_sPath + " is damaged: sector " + std::to_string(sectors[i] + nRun - 1) +
                          " lies beyond the end of the file");
    i += nRun;
  }
}

std::vector<uint32_t> CCompoundFile::ReadTable(const std::vector<uint32_t>& sectors) {
  std::vector<uint32_t> entries(sectors.size() * kEntriesPerSector);
  ReadSectors(sectors, 0, sectors.size(), reinterpret_cast<uint8_t*>(entries.data()));
  if constexpr (std::endian::native != std::endian::little)
    for (uint32_t& nEntry : entries) nEntry = GetLe32(reinterpret_cast<const uint8_t*>(&nEntry));
  return entries;
}

std::vector<SCfbEntry> CCompoundFile::ReadDirectory() {
  // Parsed a bounded run of sectors at a time, while the bytes are in cache.
  constexpr size_t kRun = 64;
  std::vector<SCfbEntry> entries;
  entries.reserve(m_dirChain.size() * kDirEntriesPerSector);
  std::vector<uint8_t> bytes;
  for (size_t nFirst = 0; nFirst < m_dirChain.size(); nFirst += kRun) {
    size_t nCount = std::min(kRun, m_dirChain.size() - nFirst);
    bytes.resize(nCount * kSectorSize);
    ReadSectors(m_dirChain, nFirst, nCount, bytes.data());
    for (size_t i = 0; i < nCount * kDirEntriesPerSector; ++i)
      entries.emplace_back().Parse(&bytes[i * kDirEntrySize]);
  }
  return entries;
}

void CCompoundFile::Load() {
  uint64_t nFileSize = m_pFile->Size();
  m_nCommittedSize = nFileSize;
  uint8_t header[kHeaderSize] = {};
  if (nFileSize < kHeaderSize || m_pFile->ReadAt(0, header, kHeaderSize) != kHeaderSize ||
      !std::equal(std::begin(kSignature), std::end(kSignature), header))
    throw CStorageError(m_sPath + " is not a compound file");
  if (GetLe16(header + kHdrByteOrder) != kByteOrderMark)
    throw CStorageError(m_sPath + " is damaged: wrong byte order mark");
  if (GetLe16(header + kHdrMajorVersion) != kMajorVersion ||
      GetLe16(header + kHdrSectorShift) != kSectorShift)
    throw CStorageError(m_sPath + " is a compound file of a version that is not supported");
  if (GetLe16(header + kHdrMiniSectorShift) != kMiniSectorShift ||
      GetLe32(header + kHdrMiniCutoff) != kMiniStreamCutoff)
    throw CStorageError(m_sPath + " is damaged: wrong mini sector size or cutoff");
  // A file cut short in its last sector still has whole sectors before it.
  m_nFileSectors = static_cast<uint32_t>(
      std::min<uint64_t>(CeilDiv(nFileSize - kHeaderSize, kSectorSize), kMaxRegSect));

  LoadFat(header, m_nFileSectors);

  uint32_t nFirstDir = GetLe32(header + kHdrFirstDirSector);
  m_dirChain = m_fat.Chain(nFirstDir, UINT64_MAX, m_nFileSectors, "directory");
  m_nFirstDirSector = nFirstDir;
  m_directory.Load(ReadDirectory());

  uint32_t nFirstMiniFat = GetLe32(header + kHdrFirstMiniFat);
  if (!IsNoChain(nFirstMiniFat)) {
    m_miniFatChain = m_fat.Chain(nFirstMiniFat, UINT64_MAX, m_nFileSectors, "mini FAT");
    m_nFirstMiniFatSector = nFirstMiniFat;
  }
  m_miniFat.Load(ReadTable(m_miniFatChain));

  const SCfbEntry& root = m_directory.Entry(kRoot);
  if (root.nSize > nFileSize)
    throw CStorageError(m_sPath + " is damaged: its mini stream is larger than the file");
  if (root.nSize > 0) {
    uint64_t nNeeded = CeilDiv(root.nSize, kSectorSize);
    m_miniStreamChain = m_fat.Chain(root.nStart, nNeeded, m_nFileSectors, "mini stream");
    if (m_miniStreamChain.size() < nNeeded)
      throw CStorageError(m_sPath + " is damaged: its mini stream is shorter than recorded");
  }
  CheckAllocation();
}

void CCompoundFile::StreamChain(const SCfbEntry& entry, std::vector<uint32_t>& rUnits,
                                std::vector<uint8_t>* pClaimed) {
  rUnits.clear();
  if (entry.nSize == 0) return;
  bool bMini = entry.nSize < kMiniStreamCutoff;
  uint32_t nUnitSize = bMini ? kMiniSectorSize : kSectorSize;
  uint64_t nNeeded = CeilDiv(entry.nSize, nUnitSize);
  // Units that exist: in the mini stream, or in the file and what this
  // transaction added to it.
  uint64_t nAvailable = bMini ? m_directory.Entry(kRoot).nSize / kMiniSectorSize
                              : std::max<uint64_t>(m_nFileSectors, m_fat.Size());
  auto damaged = [&](const char* pWhat) {
    return CStorageError(m_sPath + " is damaged: the stream \"" +
                         CCodePage::Utf16ToUtf8(entry.sName) + "\" " + pWhat);
  };
  if (nNeeded > nAvailable) throw damaged("is larger than the file");
  uint32_t nLimit = static_cast<uint32_t>(std::min<uint64_t>(Table(bMini).Size(), nAvailable));
  Table(bMini).Chain(entry.nStart, nNeeded, nLimit, "stream", rUnits, pClaimed);
  if (rUnits.size() < nNeeded) throw damaged("is shorter than recorded");
}

void CCompoundFile::CheckAllocation() {
  std::vector<uint8_t> claimed(m_fat.Size()), miniClaimed(m_miniFat.Size());
  auto claim = [&](uint32_t nSector) {
    if (nSector >= claimed.size() || claimed[nSector])
      throw CStorageError(m_sPath + " is damaged: sector " + std::to_string(nSector) +
                          " belongs to two chains");
    claimed[nSector] = 1;
  };
  // The last unit of a chain cut at its length may carry any mark; it must not read as free.
  auto keepEnd = [](CAllocationTable& table, const std::vector<uint32_t>& chain) {
    if (!chain.empty() && table.Get(chain.back()) == kFreeSect)
      table.Reserve(chain.back(), kEndOfChain);
  };
  auto claimChain = [&](const std::vector<uint32_t>& chain) {
    for (uint32_t nUnit : chain) claim(nUnit);
    keepEnd(m_fat, chain);
  };
  for (uint32_t nSector : m_fatSectors) {
    claim(nSector);
    if (m_fat.Get(nSector) != kFatSect) m_fat.Reserve(nSector, kFatSect);
  }
  for (uint32_t nSector : m_difatSectors) {
    claim(nSector);
    if (m_fat.Get(nSector) != kDifSect) m_fat.Reserve(nSector, kDifSect);
  }
  claimChain(m_dirChain);
  claimChain(m_miniFatChain);
  claimChain(m_miniStreamChain);
  // The streams in directory order, the order their entries lie in memory.
  std::vector<uint32_t> units;
  if (m_bReadOnly) m_inOneRun.assign(m_directory.Count(), false);
  for (uint32_t nSid = 0; nSid < m_directory.Count(); ++nSid) {
    const SCfbEntry& entry = m_directory.Entry(nSid);
    if (!entry.IsStream() || !m_directory.IsInTree(nSid)) continue;
    bool bMini = entry.nSize < kMiniStreamCutoff;
    StreamChain(entry, units, bMini ? &miniClaimed : &claimed);
    keepEnd(Table(bMini), units);
    if (m_bReadOnly) m_inOneRun[nSid] = IsOneRun(units);
  }
}

void CCompoundFile::LoadFat(const uint8_t* pHeader, uint32_t nFileSectors) {
  uint32_t nFatSectors = GetLe32(pHeader + kHdrFatSectorCount);
  if (nFatSectors > nFileSectors)
    throw CStorageError(m_sPath + " is damaged: it claims more FAT sectors than it holds");
  for (uint32_t i = 0; i < std::min(nFatSectors, kHeaderDifatSlots); ++i)
    m_fatSectors.push_back(GetLe32(pHeader + kHdrDifat + size_t{4} * i));
  uint32_t nNext = GetLe32(pHeader + kHdrFirstDifat);
  while (m_fatSectors.size() < nFatSectors) {
    if (IsNoChain(nNext) || nNext >= nFileSectors)
      throw CStorageError(m_sPath + " is damaged: its list of FAT sectors is cut short");
    if (m_difatSectors.size() >= nFileSectors ||
        std::find(m_difatSectors.begin(), m_difatSectors.end(), nNext) != m_difatSectors.end())
      throw CStorageError(m_sPath + " is damaged: its list of FAT sectors loops");
    m_difatSectors.push_back(nNext);
    std::vector<uint32_t> slots = ReadTable({nNext});
    for (uint32_t i = 0; i < kDifatSlotsPerSector && m_fatSectors.size() < nFatSectors; ++i)
      m_fatSectors.push_back(slots[i]);
    nNext = slots[kDifatSlotsPerSector];
  }
  for (uint32_t nSector : m_fatSectors)
    if (nSector >= nFileSectors)
      throw CStorageError(m_sPath + " is damaged: a FAT sector lies outside the file");

  m_fat.Load(ReadTable(m_fatSectors));
  m_committedFatSectors = m_fatSectors;
  m_committedDifatSectors = m_difatSectors;
}

// ---- elements --------------------------------------------------------------

std::optional<uint32_t> CCompoundFile::Find(uint32_t nStorage, std::string_view sName) const {
  return m_directory.Find(nStorage, CCodePage::Utf8ToUtf16(sName));
}

std::vector<uint32_t> CCompoundFile::Children(uint32_t nStorage) const {
  return m_directory.Children(nStorage);
}

std::string CCompoundFile::Name(uint32_t nSid) const {
  return CCodePage::Utf16ToUtf8(m_directory.Entry(nSid).sName);
}

void CCompoundFile::RequireWritable() const {
  if (m_bReadOnly) throw CStorageError(m_sPath + " is open for reading only");
}

void CCompoundFile::SetClassId(uint32_t nStorage, const CClassId& clsid) {
  RequireWritable();
  m_directory.Modify(nStorage).clsid = clsid;
}

uint32_t CCompoundFile::ValidateNewName(uint32_t nParent, std::string_view sName,
                                        std::u16string& rName) const {
  RequireWritable();
  if (!m_directory.Entry(nParent).IsStorage())
    throw CStorageError("Can't add an element to a stream");
  rName = CCodePage::Utf8ToUtf16(sName);
  if (rName.empty() || rName.size() > kMaxNameUnits ||
      rName.find_first_of(u"/\\:!") != std::u16string::npos)
    throw CStorageError("Invalid element name \"" + std::string(sName) +
                        "\": it must have 1 to 31 characters and none of / \\ : !");
  auto existing = m_directory.Find(nParent, rName);
  return existing ? *existing : kNoStream;
}

uint32_t CCompoundFile::CreateStorage(uint32_t nParent, std::string_view sName) {
  std::u16string sName16;
  uint32_t nExisting = ValidateNewName(nParent, sName, sName16);
  if (nExisting != kNoStream) {
    if (m_directory.Entry(nExisting).IsStorage()) return nExisting;
    Remove(nParent, sName);
  }
  return m_directory.Add(nParent, sName16, kTypeStorage);
}

uint32_t CCompoundFile::CreateStream(uint32_t nParent, std::string_view sName) {
  std::u16string sName16;
  uint32_t nExisting = ValidateNewName(nParent, sName, sName16);
  if (nExisting != kNoStream) {
    if (m_directory.Entry(nExisting).IsStream()) {
      OpenStream(nExisting)->SetSize(0);
      return nExisting;
    }
    Remove(nParent, sName);
  }
  return m_directory.Add(nParent, sName16, kTypeStream);
}

bool CCompoundFile::Remove(uint32_t nParent, std::string_view sName) {
  RequireWritable();
  auto nSid = Find(nParent, sName);
  if (!nSid) return false;
  std::vector<uint32_t> below{*nSid};
  for (size_t i = 0; i < below.size(); ++i) {
    if (IsOpen(below[i]))
      throw CStorageError("Can't remove \"" + Name(below[i]) + "\" while it is open");
    for (uint32_t nChild : Children(below[i])) below.push_back(nChild);
  }
  for (const SCfbEntry& stream : m_directory.Remove(nParent, *nSid)) {
    bool bMini = stream.nSize < kMiniStreamCutoff;
    uint32_t nUnit = stream.nStart;
    for (uint64_t n = CeilDiv(stream.nSize, bMini ? kMiniSectorSize : kSectorSize);
         n > 0 && !IsNoChain(nUnit) && nUnit < Table(bMini).Size(); --n) {
      uint32_t nNext = Table(bMini).Get(nUnit);
      Table(bMini).Free(nUnit);
      nUnit = nNext;
    }
  }
  return true;
}

std::unique_ptr<CCompoundStream> CCompoundFile::OpenStream(uint32_t nSid) {
  const SCfbEntry& entry = m_directory.Entry(nSid);
  if (!entry.IsStream()) throw CStorageError("\"" + Name(nSid) + "\" is not a stream");
  if (IsOpen(nSid)) throw CStorageError("The stream \"" + Name(nSid) + "\" is already open");
  if (nSid >= m_openStreams.size())
    m_openStreams.resize(std::max(m_directory.Count(), 2 * m_openStreams.size()), false);
  std::unique_ptr<CCompoundStream> pStream(new CCompoundStream(*this, nSid));
  m_openStreams[nSid] = true;  // the stream's destructor clears it, also on a throw below
  pStream->m_bMini = entry.nSize < kMiniStreamCutoff;
  if (nSid < m_inOneRun.size() && m_inOneRun[nSid]) {
    pStream->m_units.resize(CeilDiv(entry.nSize, pStream->UnitSize()));
    std::iota(pStream->m_units.begin(), pStream->m_units.end(), entry.nStart);
  } else {
    StreamChain(entry, pStream->m_units);
  }
  return pStream;
}

// ---- units and chains ------------------------------------------------------

uint64_t CCompoundFile::UnitOffset(bool bMini, uint32_t nUnit) const {
  if (!bMini) return SectorOffset(nUnit);
  uint64_t nByte = static_cast<uint64_t>(nUnit) * kMiniSectorSize;
  uint64_t nIndex = nByte / kSectorSize;
  if (nIndex >= m_miniStreamChain.size())
    throw CStorageError(m_sPath + " is damaged: a mini sector lies outside the mini stream");
  return SectorOffset(m_miniStreamChain[nIndex]) + nByte % kSectorSize;
}

uint32_t CCompoundFile::AllocateUnit(bool bMini) {
  uint32_t nUnit = Table(bMini).Allocate();
  if (bMini) GrowMiniStream(nUnit);
  return nUnit;
}

void CCompoundFile::GrowMiniStream(uint32_t nMiniUnit) {
  uint64_t nNeeded = (static_cast<uint64_t>(nMiniUnit) + 1) * kMiniSectorSize;
  if (m_directory.Entry(kRoot).nSize >= nNeeded) return;
  SCfbEntry& root = m_directory.Modify(kRoot);
  root.nSize = nNeeded;
  ExtendChain(m_miniStreamChain, CeilDiv(nNeeded, kSectorSize), false, root.nStart);
}

void CCompoundFile::ExtendChain(std::vector<uint32_t>& chain, size_t nUnits, bool bMini,
                                uint32_t& rStart) {
  size_t nOld = chain.size();
  if (nOld >= nUnits) return;
  Table(bMini).Extend(chain, nUnits, rStart);
  if (bMini) GrowMiniStream(*std::max_element(chain.begin() + nOld, chain.end()));
}

void CCompoundFile::ReplaceUnit(bool bMini, std::vector<uint32_t>& chain, size_t i, uint32_t nNew,
                                uint32_t& rStart) {
  CAllocationTable& table = Table(bMini);
  uint32_t nOld = chain[i];
  table.Set(nNew, i + 1 < chain.size() ? chain[i + 1] : table.Get(nOld));
  if (i == 0)
    rStart = nNew;
  else
    table.Set(chain[i - 1], nNew);
  table.Free(nOld);
  chain[i] = nNew;
}

void CCompoundFile::RelocateIfCommitted(std::vector<uint32_t>& chain, size_t i, uint32_t& rStart) {
  if (m_fat.IsCommittedUsed(chain[i])) ReplaceUnit(false, chain, i, m_fat.Allocate(), rStart);
}

void CCompoundFile::TransferUnits(bool bMini, const std::vector<uint32_t>& chain, uint64_t nOffset,
                                  uint8_t* pRead, const uint8_t* pWrite, size_t nCount) {
  uint32_t nUnitSize = bMini ? kMiniSectorSize : kSectorSize;
  size_t nDone = 0;
  while (nDone < nCount) {
    // Gather the longest run of units that lie back to back in the file.
    uint64_t nPos = nOffset + nDone;
    size_t nIndex = nPos / nUnitSize;
    uint64_t nUnitStart = UnitOffset(bMini, chain[nIndex]);
    uint64_t nRunStart = nUnitStart + nPos % nUnitSize;
    uint64_t nWantedEnd = nRunStart + (nCount - nDone);
    uint64_t nRunEnd = nUnitStart + nUnitSize;
    while (nRunEnd < nWantedEnd && nIndex + 1 < chain.size()) {
      // Units numbered one after the other lie side by side, unless a new
      // sector of the mini stream starts between them.
      uint32_t nNext = chain[nIndex + 1];
      bool bSideBySide =
          nNext == chain[nIndex] + 1 && (!bMini || nNext % (kSectorSize / kMiniSectorSize) != 0);
      if (!bSideBySide && UnitOffset(bMini, nNext) != nRunEnd) break;
      ++nIndex;
      nRunEnd += nUnitSize;
    }
    size_t nRunLength = static_cast<size_t>(std::min(nRunEnd, nWantedEnd) - nRunStart);
    if (pRead) {
      if (m_pFile->ReadAt(nRunStart, pRead + nDone, nRunLength) != nRunLength)
        throw CStorageError(m_sPath + " is damaged: a stream lies beyond the end of the file");
    } else {
      m_pFile->WriteAt(nRunStart, pWrite + nDone, nRunLength);
    }
    nDone += nRunLength;
  }
}

// ---- commit ----------------------------------------------------------------

bool CCompoundFile::HasChanges() const {
  return m_bHeaderDirty || m_directory.IsDirty() || m_miniFat.IsDirty() || m_fat.IsDirty();
}

void CCompoundFile::Commit(const std::function<void(const std::string& sNewFile)>& beforeReplace) {
  RequireWritable();
  if (!HasChanges()) return;

  ExtendChain(m_dirChain, CeilDiv(m_directory.Count(), kDirEntriesPerSector), false,
              m_nFirstDirSector);
  std::vector<uint32_t> dirSectors = m_directory.DirtySectors();
  for (uint32_t nSector : dirSectors) RelocateIfCommitted(m_dirChain, nSector, m_nFirstDirSector);
  ExtendChain(m_miniFatChain, CeilDiv(m_miniFat.Size(), kEntriesPerSector), false,
              m_nFirstMiniFatSector);
  std::vector<uint32_t> miniFatPages = m_miniFat.DirtyPages();
  for (uint32_t nPage : miniFatPages)
    RelocateIfCommitted(m_miniFatChain, nPage, m_nFirstMiniFatSector);
  FinalizeFat();

  WriteTableSectors(dirSectors, miniFatPages);
  // Everything the new header points at must be on disk before the header.
  m_pFile->Sync();
  // From here the header on disk may point at the new sectors: a failure
  // must no longer give them back.
  m_nCommittedSize = std::max(m_nCommittedSize, m_pFile->Size());
  WriteHeader();
  m_pFile->Sync();

  m_fat.MarkCommitted();
  m_miniFat.MarkCommitted();
  m_directory.MarkCommitted();
  m_committedFatSectors = m_fatSectors;
  m_committedDifatSectors = m_difatSectors;
  m_bHeaderDirty = false;
  m_nFileSectors = static_cast<uint32_t>(m_fat.HighestUsed() + 1);
  // Whole sectors only, and nothing left over from sectors the old state used.
  uint64_t nFileSize = SectorOffset(m_nFileSectors);
  if (m_pFile->Size() != nFileSize) m_pFile->Truncate(nFileSize);
  m_nCommittedSize = nFileSize;

  if (!m_sTempPath.empty()) {
    if (beforeReplace) beforeReplace(m_sTempPath);
    m_fs.Rename(m_sTempPath, m_sPath);
    m_sTempPath.clear();
  }
}

void CCompoundFile::WriteTableSectors(const std::vector<uint32_t>& dirSectors,
                                      const std::vector<uint32_t>& miniFatPages) {
  // By their places in the file, so that neighbours go in one call.
  enum class EPart : uint8_t { Directory, MiniFat, Difat, Fat };
  struct SPending {
    uint32_t nFileSector;
    EPart ePart;
    uint32_t nIndex;  // within its part
  };
  const std::vector<uint32_t> difatSectors = DirtyDifatSectors();
  const std::vector<uint32_t> fatPages = m_fat.DirtyPages();
  std::vector<SPending> pending;
  pending.reserve(dirSectors.size() + miniFatPages.size() + difatSectors.size() + fatPages.size());
  for (uint32_t nIndex : dirSectors)
    pending.push_back({m_dirChain[nIndex], EPart::Directory, nIndex});
  for (uint32_t nPage : miniFatPages)
    pending.push_back({m_miniFatChain[nPage], EPart::MiniFat, nPage});
  for (uint32_t k : difatSectors) pending.push_back({m_difatSectors[k], EPart::Difat, k});
  for (uint32_t nPage : fatPages) pending.push_back({m_fatSectors[nPage], EPart::Fat, nPage});
  std::sort(pending.begin(), pending.end(),
            [](const SPending& a, const SPending& b) { return a.nFileSector < b.nFileSector; });
  auto serialize = [&](const SPending& sector, uint8_t* pOut) {
    switch (sector.ePart) {
      case EPart::Directory:
        m_directory.SerializeSector(sector.nIndex, pOut);
        break;
      case EPart::MiniFat:
        m_miniFat.SerializePage(sector.nIndex, pOut);
        break;
      case EPart::Difat:
        SerializeDifatSector(sector.nIndex, pOut);
        break;
      case EPart::Fat:
        m_fat.SerializePage(sector.nIndex, pOut);
        break;
    }
  };
  constexpr size_t kMaxRun = 512;
  std::vector<uint8_t> run;
  for (size_t i = 0; i < pending.size();) {
    size_t nRun = 1;
    while (nRun < kMaxRun && i + nRun < pending.size() &&
           pending[i + nRun].nFileSector == pending[i].nFileSector + nRun)
      ++nRun;
    run.resize(nRun * kSectorSize);
    for (size_t k = 0; k < nRun; ++k) serialize(pending[i + k], &run[k * kSectorSize]);
    m_pFile->WriteAt(SectorOffset(pending[i].nFileSector), run.data(), run.size());
    i += nRun;
  }
}

void CCompoundFile::FinalizeFat() {
  // Placing FAT and DIFAT sectors changes the FAT itself, so repeat until
  // every changed page has a place the committed state does not use.
  for (bool bChanged = true; bChanged;) {
    bChanged = false;
    uint64_t nFatNeeded = CeilDiv(m_fat.Size(), kEntriesPerSector);
    uint64_t nDifatNeeded = nFatNeeded > kHeaderDifatSlots
                                ? CeilDiv(nFatNeeded - kHeaderDifatSlots, kDifatSlotsPerSector)
                                : 0;
    if (m_fatSectors.size() < nFatNeeded) {
      uint32_t nSector = m_fat.Allocate();
      m_fat.Set(nSector, kFatSect);
      m_fatSectors.push_back(nSector);
      bChanged = true;
      continue;
    }
    if (m_difatSectors.size() < nDifatNeeded) {
      uint32_t nSector = m_fat.Allocate();
      m_fat.Set(nSector, kDifSect);
      m_difatSectors.push_back(nSector);
      bChanged = true;
      continue;
    }
    for (uint32_t nPage : m_fat.DirtyPages()) {
      if (!m_fat.IsCommittedUsed(m_fatSectors[nPage])) continue;
      uint32_t nSector = m_fat.Allocate();
      m_fat.Set(nSector, kFatSect);
      m_fat.Free(m_fatSectors[nPage]);
      m_fatSectors[nPage] = nSector;
      bChanged = true;
    }
    for (uint32_t k : DirtyDifatSectors()) {
      if (!m_fat.IsCommittedUsed(m_difatSectors[k])) continue;
      uint32_t nSector = m_fat.Allocate();
      m_fat.Set(nSector, kDifSect);
      m_fat.Free(m_difatSectors[k]);
      m_difatSectors[k] = nSector;
      bChanged = true;
    }
  }
}

std::vector<uint32_t> CCompoundFile::DirtyDifatSectors() const {
  auto at = [](const std::vector<uint32_t>& v, size_t i) {
    return i < v.size() ? v[i] : kFreeSect;
  };
  std::vector<uint32_t> dirty;
  for (uint32_t k = 0; k < m_difatSectors.size(); ++k) {
    bool bDirty = at(m_difatSectors, k) != at(m_committedDifatSectors, k) ||
                  at(m_difatSectors, k + 1) != at(m_committedDifatSectors, k + 1);
    for (uint32_t j = 0; j < kDifatSlotsPerSector && !bDirty; ++j) {
      size_t i = kHeaderDifatSlots + k * kDifatSlotsPerSector + j;
      bDirty = at(m_fatSectors, i) != at(m_committedFatSectors, i);
    }
    if (bDirty) dirty.push_back(k);
  }
  return dirty;
}

void CCompoundFile::SerializeDifatSector(uint32_t k, uint8_t* pOut) const {
  for (uint32_t j = 0; j < kDifatSlotsPerSector; ++j) {
    size_t i = kHeaderDifatSlots + k * kDifatSlotsPerSector + j;
    PutLe32(pOut + size_t{4} * j, i < m_fatSectors.size() ? m_fatSectors[i] : kFreeSect);
  }
  PutLe32(pOut + size_t{4} * kDifatSlotsPerSector,
          k + 1 < m_difatSectors.size() ? m_difatSectors[k + 1] : kEndOfChain);
}

void CCompoundFile::WriteHeader() {
  uint8_t header[kHeaderSize] = {};
  std::copy(std::begin(kSignature), std::end(kSignature), header);
  PutLe16(header + kHdrMinorVersion, kMinorVersion);
  PutLe16(header + kHdrMajorVersion, kMajorVersion);
  PutLe16(header + kHdrByteOrder, kByteOrderMark);
  PutLe16(header + kHdrSectorShift, kSectorShift);
  PutLe16(header + kHdrMiniSectorShift, kMiniSectorShift);
  PutLe32(header + kHdrFatSectorCount, static_cast<uint32_t>(m_fatSectors.size()));
  PutLe32(header + kHdrFirstDirSector, m_nFirstDirSector);
  PutLe32(header + kHdrMiniCutoff, kMiniStreamCutoff);
  bool bNoMiniFat = m_miniFatChain.empty();
  PutLe32(header + kHdrFirstMiniFat, bNoMiniFat ? kEndOfChain : m_nFirstMiniFatSector);
  PutLe32(header + kHdrMiniFatCount, static_cast<uint32_t>(m_miniFatChain.size()));
  PutLe32(header + kHdrFirstDifat, m_difatSectors.empty() ? kEndOfChain : m_difatSectors[0]);
  PutLe32(header + kHdrDifatCount, static_cast<uint32_t>(m_difatSectors.size()));
  for (uint32_t i = 0; i < kHeaderDifatSlots; ++i)
    PutLe32(header + kHdrDifat + size_t{4} * i,
            i < m_fatSectors.size() ? m_fatSectors[i] : kFreeSect);
  m_pFile->WriteAt(0, header, kHeaderSize);
}

}  // namespace orv

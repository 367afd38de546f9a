#include "storage/compound_file.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <tuple>

#include "storage/allocation_table.h"
#include "storage/compound_stream.h"
#include "support/test_support.h"

namespace orv {
namespace {

using test::CFaultyFileSystem;
using test::CTempDir;
using EMode = CCompoundFile::EMode;

std::string Pattern(size_t nSize, unsigned nSeed) {
  std::string s(nSize, '\0');
  std::mt19937 rng(nSeed);
  for (auto& c : s) c = static_cast<char>(rng());
  return s;
}

void PutStream(CCompoundFile& file, uint32_t nParent, const std::string& sName,
               const std::string& sData) {
  auto pStream = file.OpenStream(file.CreateStream(nParent, sName));
  pStream->Write(sData.data(), sData.size());
}

std::string GetStream(CCompoundFile& file, uint32_t nSid) {
  auto pStream = file.OpenStream(nSid);
  std::string s(pStream->Size(), '\0');
  EXPECT_EQ(pStream->Read(s.data(), s.size()), s.size());
  return s;
}

// Every stream of the file, by path, with its bytes.
std::map<std::string, std::string> Contents(const std::string& sPath) {
  auto pFile = CCompoundFile::Open(sPath, EMode::ReadOnly);
  std::map<std::string, std::string> contents;
  std::function<void(uint32_t, const std::string&)> walk = [&](uint32_t nStorage,
                                                               const std::string& sPrefix) {
    for (uint32_t nSid : pFile->Children(nStorage)) {
      std::string sPathHere = sPrefix + pFile->Name(nSid);
      if (pFile->IsStorage(nSid)) {
        contents[sPathHere + "\\"] = "";
        walk(nSid, sPathHere + "\\");
      } else {
        contents[sPathHere] = GetStream(*pFile, nSid);
      }
    }
  };
  walk(CCompoundFile::kRoot, "");
  return contents;
}

TEST(CompoundFile, StreamsOfEverySizeRoundTrip) {
  CTempDir dir;
  std::string sPath = dir.File("sizes.cfb");
  std::vector<size_t> sizes{0, 1, 63, 64, 65, 511, 512, 4095, 4096, 4097, 70000, 1 << 20};
  {
    auto pFile = CCompoundFile::Create(sPath);
    uint32_t nStorage = pFile->CreateStorage(CCompoundFile::kRoot, "deep");
    uint32_t nDeeper = pFile->CreateStorage(nStorage, "deeper");
    for (size_t n : sizes) PutStream(*pFile, nDeeper, "s" + std::to_string(n), Pattern(n, n));
    PutStream(*pFile, CCompoundFile::kRoot, "top", "hello");
    uint32_t nMany = pFile->CreateStorage(CCompoundFile::kRoot, "many");
    for (int i = 0; i < 3000; ++i) PutStream(*pFile, nMany, std::to_string(i), "");
    pFile->Commit();
  }
  auto contents = Contents(sPath);
  EXPECT_EQ(contents["top"], "hello");
  EXPECT_EQ(contents.count("deep\\deeper\\"), 1u);
  for (size_t n : sizes) EXPECT_EQ(contents["deep\\deeper\\s" + std::to_string(n)], Pattern(n, n));
  EXPECT_EQ(std::filesystem::file_size(sPath) % 512, 0u);
  // Enumeration is in name order: shorter names first.
  auto pFile = CCompoundFile::Open(sPath, EMode::ReadOnly);
  std::vector<uint32_t> children = pFile->Children(*pFile->Find(CCompoundFile::kRoot, "many"));
  ASSERT_EQ(children.size(), 3000u);
  EXPECT_EQ(pFile->Name(children.front()), "0");
  EXPECT_EQ(pFile->Name(children[10]), "10");
  EXPECT_EQ(pFile->Name(children.back()), "2999");
}

void ShrinkAndGrow(CCompoundStream& stream) {
  stream.SetSize(100);  // back to the mini stream
  stream.SetSize(200);  // growing fills with zeros
  stream.Seek(300);
  stream.Write("x", 1);  // a gap before the position reads as zeros
}

TEST(CompoundFile, StreamsCrossTheMiniCutoffBothWays) {
  CTempDir dir;
  std::string sPath = dir.File("cutoff.cfb");
  std::string sBig = Pattern(10000, 1);
  {
    auto pFile = CCompoundFile::Create(sPath);
    auto pStream = pFile->OpenStream(pFile->CreateStream(CCompoundFile::kRoot, "s"));
    pStream->Write(sBig.data(), 3000);         // small: mini sectors
    pStream->Write(sBig.data() + 3000, 7000);  // now large: moves to whole sectors
    pFile->Commit();
    ShrinkAndGrow(*pStream);
  }
  // Nothing of the second change was committed.
  EXPECT_EQ(Contents(sPath)["s"], sBig);
  {
    auto pFile = CCompoundFile::Open(sPath, EMode::ReadWrite);
    ShrinkAndGrow(*pFile->OpenStream(*pFile->Find(CCompoundFile::kRoot, "S")));
    pFile->Commit();
  }
  EXPECT_EQ(Contents(sPath)["s"], sBig.substr(0, 100) + std::string(200, '\0') + "x");
}

TEST(CompoundFile, StreamsWrittenInTurnsReadBackWithTheirUnitsInterleaved) {
  CTempDir dir;
  std::string sPath = dir.File("turns.cfb");
  // Pieces of two streams in turn: their units alternate, in the mini stream
  // and in whole sectors; a third stream's units follow one another.
  std::map<std::string, std::string> expected{{"a", Pattern(3000, 21)},
                                              {"b", Pattern(3000, 22)},
                                              {"c", Pattern(6000, 23)},
                                              {"d", Pattern(6000, 24)},
                                              {"e", Pattern(700, 25)}};
  {
    auto pFile = CCompoundFile::Create(sPath);
    for (auto [sFirst, sSecond, nPiece] : {std::tuple{"a", "b", 64}, {"c", "d", 512}}) {
      auto pFirst = pFile->OpenStream(pFile->CreateStream(CCompoundFile::kRoot, sFirst));
      auto pSecond = pFile->OpenStream(pFile->CreateStream(CCompoundFile::kRoot, sSecond));
      const std::string& s1 = expected[sFirst];
      const std::string& s2 = expected[sSecond];
      for (size_t n = 0; n < s1.size(); n += nPiece) {
        pFirst->Write(s1.data() + n, std::min<size_t>(nPiece, s1.size() - n));
        pSecond->Write(s2.data() + n, std::min<size_t>(nPiece, s2.size() - n));
      }
    }
    PutStream(*pFile, CCompoundFile::kRoot, "e", expected["e"]);
    pFile->Commit();
  }
  EXPECT_EQ(Contents(sPath), expected);  // opened for reading only
  auto pFile = CCompoundFile::Open(sPath, EMode::ReadWrite);
  for (const auto& [sName, sData] : expected)
    EXPECT_EQ(GetStream(*pFile, *pFile->Find(CCompoundFile::kRoot, sName)), sData) << sName;
}

TEST(CompoundFile, RewritingInPlaceKeepsTheUncoveredBytes) {
  CTempDir dir;
  std::string sPath = dir.File("rewrite.cfb");
  std::string sSmall = Pattern(1000, 2), sLarge = Pattern(20000, 3);
  {
    auto pFile = CCompoundFile::Create(sPath);
    PutStream(*pFile, CCompoundFile::kRoot, "small", sSmall);
    PutStream(*pFile, CCompoundFile::kRoot, "large", sLarge);
    pFile->Commit();
  }
  {
    auto pFile = CCompoundFile::Open(sPath, EMode::ReadWrite);
    for (const char* pName : {"small", "large"}) {
      auto pStream = pFile->OpenStream(*pFile->Find(CCompoundFile::kRoot, pName));
      pStream->Seek(700);
      pStream->Write("ABCDEFGHIJ", 10);
    }
    pFile->Commit();
  }
  sSmall.replace(700, 10, "ABCDEFGHIJ");
  sLarge.replace(700, 10, "ABCDEFGHIJ");
  auto contents = Contents(sPath);
  EXPECT_EQ(contents["small"], sSmall);
  EXPECT_EQ(contents["large"], sLarge);
}

TEST(CompoundFile, ReplacingAndRemovingElements) {
  CTempDir dir;
  std::string sPath = dir.File("remove.cfb");
  {
    auto pFile = CCompoundFile::Create(sPath);
    uint32_t nStorage = pFile->CreateStorage(CCompoundFile::kRoot, "7");
    PutStream(*pFile, nStorage, "a.txt", Pattern(9000, 4));
    PutStream(*pFile, CCompoundFile::kRoot, "keep", "kept");
    PutStream(*pFile, CCompoundFile::kRoot, "Keep", "replaced");  // same name, other case
    pFile->Commit();
    EXPECT_TRUE(pFile->Remove(CCompoundFile::kRoot, "7"));
    EXPECT_FALSE(pFile->Remove(CCompoundFile::kRoot, "7"));
    pFile->Commit();
    for (const std::string& sName : {std::string("a:b"), std::string(32, 'n')})
      EXPECT_THROW_MSG(pFile->CreateStream(CCompoundFile::kRoot, sName), CStorageError,
                       "Invalid element name \"" + sName +
                           "\": it must have 1 to 31 characters and none of / \\ : !");
  }
  auto contents = Contents(sPath);
  ASSERT_EQ(contents.size(), 1u);
  EXPECT_EQ(contents["keep"], "replaced");
}

// Height of the sibling tree from `nTop`; clears `rSound` where a node's sides
// are out of name order or differ in height by more than one.
int CheckedHeight(const CCompoundDirectory& directory, uint32_t nTop, bool& rSound) {
  if (nTop == cfb::kNoStream) return 0;
  const SCfbEntry& entry = directory.Entry(nTop);
  for (uint32_t nSide : {entry.nLeft, entry.nRight})
    if (nSide != cfb::kNoStream && (CompareEntryNames(directory.Entry(nSide).sName, entry.sName) <
                                    0) != (nSide == entry.nLeft))
      rSound = false;
  int nLeft = CheckedHeight(directory, entry.nLeft, rSound);
  int nRight = CheckedHeight(directory, entry.nRight, rSound);
  if (std::abs(nLeft - nRight) > 1) rSound = false;
  return 1 + std::max(nLeft, nRight);
}

void ExpectOrderedAndBalanced(const CCompoundDirectory& directory, uint32_t nStorage) {
  bool bSound = true;
  CheckedHeight(directory, directory.Entry(nStorage).nChild, bSound);
  EXPECT_TRUE(bSound);
}

std::u16string Utf16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

TEST(CompoundDirectory, TreesStayBalancedUnderAnyInsertionOrderAndEveryNameIsFoundAfterRemovals) {
  // Bare numbers (shorter names sort first) and a numbered series, whose
  // names the index keeps side by side.
  std::vector<std::u16string> names;
  for (int i = 0; i < 2000; ++i) {
    names.push_back(Utf16(std::to_string(i)));
    names.push_back(Utf16("Note" + std::to_string(i)));
  }
  std::vector<std::vector<std::u16string>> orders{names, names, names};
  std::reverse(orders[1].begin(), orders[1].end());
  std::shuffle(orders[2].begin(), orders[2].end(), std::mt19937(7));
  const uint32_t kRoot = CCompoundDirectory::kRootSid;
  for (const auto& order : orders) {
    CCompoundDirectory directory;
    directory.InitNew();
    std::map<std::u16string, uint32_t> sids;
    for (const auto& name : order) sids[name] = directory.Add(kRoot, name, cfb::kTypeStream);
    ExpectOrderedAndBalanced(directory, kRoot);
    for (size_t i = 0; i < order.size(); i += 4) directory.Remove(kRoot, sids[order[i]]);
    ExpectOrderedAndBalanced(directory, kRoot);
    EXPECT_EQ(directory.Children(kRoot).size(), 3000u);
    for (size_t i = 0; i < order.size(); ++i) {
      std::u16string sUpper = order[i];
      std::transform(sUpper.begin(), sUpper.end(), sUpper.begin(),
                     [](char16_t c) { return c >= u'a' && c <= u'z' ? c - 32 : c; });
      auto found = directory.Find(kRoot, sUpper);
      if (i % 4 == 0)
        EXPECT_FALSE(found.has_value()) << i;
      else
        EXPECT_EQ(found, sids[order[i]]) << i;
    }
  }
}

TEST(CompoundDirectory, ATreeAnotherWriterLeftUnbalancedIsRebuiltBeforeItGrows) {
  const uint32_t kRoot = CCompoundDirectory::kRootSid;
  // 200 children in a chain down the right, first in order, then in reverse.
  for (bool bReverse : {false, true}) {
    std::vector<SCfbEntry> entries(201);
    entries[0].sName = u"Root Entry";
    entries[0].nType = cfb::kTypeRoot;
    entries[0].nChild = 1;
    for (uint32_t i = 1; i <= 200; ++i) {
      entries[i].sName = Utf16(std::to_string(bReverse ? 2000 - i : 1000 + i));
      entries[i].nType = cfb::kTypeStream;
      entries[i].nRight = i < 200 ? i + 1 : cfb::kNoStream;
    }
    CCompoundDirectory directory;
    directory.Load(entries);
    uint32_t nNew = directory.Add(kRoot, u"0999", cfb::kTypeStream);
    ExpectOrderedAndBalanced(directory, kRoot);
    EXPECT_EQ(directory.Children(kRoot).size(), 201u);
    EXPECT_EQ(directory.Children(kRoot).front(), nNew);
    auto found = directory.Find(kRoot, u"1900");
    if (bReverse)
      EXPECT_EQ(found, 100u);
    else
      EXPECT_FALSE(found.has_value());
  }
  // A tree that is balanced already grows by a few changed entries, not a rebuild.
  CCompoundDirectory built;
  built.InitNew();
  for (int i = 0; i < 1000; ++i) built.Add(kRoot, Utf16(std::to_string(i)), cfb::kTypeStream);
  std::vector<SCfbEntry> entries;
  for (uint32_t nSid = 0; nSid < built.Count(); ++nSid) entries.push_back(built.Entry(nSid));
  CCompoundDirectory directory;
  directory.Load(entries);
  directory.Add(kRoot, u"1000", cfb::kTypeStream);
  ExpectOrderedAndBalanced(directory, kRoot);
  EXPECT_LE(directory.DirtySectors().size(), 8u);
}

TEST(AllocationTable, ExtendTakesOnlyUnitsFreeNowAndAtTheLastCommit) {
  // Units 1 and 5 hold committed chains; unit 9 is reserved.
  std::vector<uint32_t> entries(cfb::kEntriesPerSector, cfb::kFreeSect);
  entries[1] = cfb::kEndOfChain;
  entries[5] = cfb::kEndOfChain;
  CAllocationTable table(9);
  table.Load(entries);
  table.Free(1);  // freed now, but the committed state still uses it
  std::vector<uint32_t> chain;
  uint32_t nStart = cfb::kEndOfChain;
  table.Extend(chain, 8, nStart);
  EXPECT_EQ(chain, (std::vector<uint32_t>{0, 2, 3, 4, 6, 7, 8, 10}));
  EXPECT_EQ(nStart, 0u);
  EXPECT_NE(table.Get(9), cfb::kFreeSect);  // marked used, so no one takes it
  table.Extend(chain, 300, nStart);         // past the end of the table
  EXPECT_EQ(table.Size() % cfb::kEntriesPerSector, 0u);
  for (size_t i = 0; i + 1 < chain.size(); ++i) ASSERT_EQ(table.Get(chain[i]), chain[i + 1]);
  EXPECT_EQ(table.Get(chain.back()), cfb::kEndOfChain);
  EXPECT_EQ(table.Chain(nStart, 300, static_cast<uint32_t>(table.Size()), "stream"), chain);
  // Once committed, the freed unit is handed out again.
  table.MarkCommitted();
  std::vector<uint32_t> next;
  table.Extend(next, 1, nStart);
  EXPECT_EQ(next, std::vector<uint32_t>{1});
}

TEST(AllocationTable, ChainsThatLoopOrShareUnitsAreRefused) {
  // 0 -> 1 -> 2 -> 1 loops after ascending; 5 -> 6 and 7 -> 6 share unit 6.
  std::vector<uint32_t> entries(cfb::kEntriesPerSector, cfb::kFreeSect);
  entries[0] = 1;
  entries[1] = 2;
  entries[2] = 1;
  entries[5] = 6;
  entries[7] = 6;
  entries[6] = cfb::kEndOfChain;
  CAllocationTable table;
  table.Load(entries);
  const uint32_t nLimit = cfb::kEntriesPerSector;
  EXPECT_THROW_MSG(table.Chain(0, 10, nLimit, "stream"), CStorageError,
                   "The stream has a chain of sectors that loops");
  // A chain may step back without looping, also over units a refused walk went through.
  EXPECT_EQ(table.Chain(2, 2, nLimit, "stream"), (std::vector<uint32_t>{2, 1}));
  // Claims kept across walks refuse a unit that an earlier chain took.
  std::vector<uint8_t> claimed(table.Size());
  std::vector<uint32_t> units;
  table.Chain(5, 2, nLimit, "stream", units, &claimed);
  EXPECT_THROW_MSG(table.Chain(7, 2, nLimit, "stream", units, &claimed), CStorageError,
                   "The stream shares sector 6 with another chain");
  EXPECT_THROW_MSG(table.Chain(0, 10, nLimit, "stream", units, &claimed), CStorageError,
                   "The stream has a chain of sectors that loops");
}

// Runs `change` against a copy of `sPath` with the n-th write failing, for
// every n, then drops what was not synced as a power cut would (all of it, or
// all but one change, since a disk may store them in any order), and checks
// the file opens in its old or its new state.
void ExpectAllOrNothing(const std::string& sPath,
                        const std::function<void(CCompoundFile&)>& change) {
  std::string sWork = sPath + ".work";
  CFaultyFileSystem fs;
  auto attempt = [&] {
    std::filesystem::copy_file(sPath, sWork, std::filesystem::copy_options::overwrite_existing);
    try {
      auto pFile = CCompoundFile::Open(sWork, EMode::ReadWrite, fs);
      change(*pFile);
      pFile->Commit();
    } catch (const CIoError&) {
    }
  };
  const auto before = Contents(sPath);
  attempt();
  int nSteps = fs.Count();
  EXPECT_GT(nSteps, 3);  // the open, the writes, the flushes and the header
  fs.Crash();
  const auto after = Contents(sWork);  // a finished commit survives a power cut
  ASSERT_NE(before, after);
  test::ForEveryCrash(fs, nSteps, attempt, [&](const std::string& sWhen) {
    auto now = Contents(sWork);
    EXPECT_TRUE(now == before || now == after) << sWhen;
  });
}

TEST(CompoundFile, AnInterruptedCommitLeavesTheOldOrTheNewState) {
  CTempDir dir;
  std::string sPath = dir.File("crash.cfb");
  {
    auto pFile = CCompoundFile::Create(sPath);
    PutStream(*pFile, CCompoundFile::kRoot, "small", Pattern(300, 5));
    PutStream(*pFile, CCompoundFile::kRoot, "large", Pattern(30000, 6));
    pFile->Commit();
  }
  ExpectAllOrNothing(sPath, [](CCompoundFile& file) {
    PutStream(file, CCompoundFile::kRoot, "small", Pattern(5000, 7));
    uint32_t nStorage = file.CreateStorage(CCompoundFile::kRoot, "sub");
    PutStream(file, nStorage, "new", Pattern(100, 8));
    auto pLarge = file.OpenStream(*file.Find(CCompoundFile::kRoot, "large"));
    pLarge->Seek(1000);
    pLarge->Write("changed", 7);
  });
  ExpectAllOrNothing(sPath,
                     [](CCompoundFile& file) { file.Remove(CCompoundFile::kRoot, "large"); });
}

TEST(CompoundFile, AFullDiskGivesTheSpaceOfAFailedCommitBack) {
  CTempDir dir;
  std::string sPath = dir.File("full.cfb");
  {
    auto pFile = CCompoundFile::Create(sPath);
    PutStream(*pFile, CCompoundFile::kRoot, "kept", Pattern(3000, 12));
    pFile->Commit();
  }
  const auto nSizeBefore = std::filesystem::file_size(sPath);
  const auto before = Contents(sPath);
  CFaultyFileSystem fs;
  for (int n = 1;; ++n) {
    fs.FillDiskAt(n);
    try {
      auto pFile = CCompoundFile::Open(sPath, EMode::ReadWrite, fs);
      PutStream(*pFile, CCompoundFile::kRoot, "added", Pattern(200000, 13));
      pFile->Commit();
    } catch (const CIoError&) {
      // Free sectors inside may have been written; the committed state and the size are as they
      // were.
      EXPECT_EQ(std::filesystem::file_size(sPath), nSizeBefore) << "disk full from operation " << n;
      EXPECT_TRUE(Contents(sPath) == before) << n;
      continue;
    }
    break;
  }
  EXPECT_EQ(Contents(sPath)["added"], Pattern(200000, 13));
}

TEST(CompoundFile, ANewFileReplacesTheOldOneOnlyAtCommit) {
  CTempDir dir;
  std::string sPath = dir.File("replace.cfb");
  {
    auto pFile = CCompoundFile::Create(sPath);
    PutStream(*pFile, CCompoundFile::kRoot, "old", "old");
    pFile->Commit();
  }
  {
    auto pFile = CCompoundFile::Create(sPath);
    PutStream(*pFile, CCompoundFile::kRoot, "new", "new");
    EXPECT_EQ(Contents(sPath).count("old"), 1u);
  }  // dropped without commit
  EXPECT_EQ(Contents(sPath).count("old"), 1u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(CompoundFile, AddingToALargeFileWritesLittle) {
  CTempDir dir;
  std::string sPath = dir.File("large.cfb");
  {
    auto pFile = CCompoundFile::Create(sPath);
    PutStream(*pFile, CCompoundFile::kRoot, "big", Pattern(20 << 20, 9));  // needs DIFAT sectors
    pFile->Commit();
  }
  CFaultyFileSystem fs;
  {
    auto pFile = CCompoundFile::Open(sPath, EMode::ReadWrite, fs);
    PutStream(*pFile, CCompoundFile::kRoot, "small", Pattern(10000, 10));
    pFile->Commit();
  }
  EXPECT_LT(fs.BytesWritten(), 10000u + 8 * 512);
  auto contents = Contents(sPath);
  EXPECT_EQ(contents["big"], Pattern(20 << 20, 9));
  EXPECT_EQ(contents["small"], Pattern(10000, 10));
}

uint32_t Le32At(const std::string& s, size_t nOffset) {
  return cfb::GetLe32(reinterpret_cast<const uint8_t*>(s.data()) + nOffset);
}

std::string Patched16(std::string s, size_t nOffset, uint16_t nValue) {
  cfb::PutLe16(reinterpret_cast<uint8_t*>(&s[nOffset]), nValue);
  return s;
}

std::string Patched32(std::string s, size_t nOffset, uint32_t nValue) {
  cfb::PutLe32(reinterpret_cast<uint8_t*>(&s[nOffset]), nValue);
  return s;
}

TEST(CompoundFile, DamagedFilesGiveClearErrors) {
  CTempDir dir;
  std::string sPath = dir.File("good.cfb");
  {
    auto pFile = CCompoundFile::Create(sPath);
    PutStream(*pFile, CCompoundFile::kRoot, "large", Pattern(5000, 11));
    PutStream(*pFile, CCompoundFile::kRoot, "small", Pattern(100, 12));
    pFile->Commit();
  }
  const std::string sGood = test::ReadWholeFile(sPath);
  const uint32_t nDir = Le32At(sGood, cfb::kHdrFirstDirSector);
  const uint32_t nFat = Le32At(sGood, cfb::kHdrDifat);
  const size_t nRootEntry = cfb::SectorOffset(nDir);
  auto entry = [&](size_t nSid, size_t nField) {
    return nRootEntry + cfb::kDirEntrySize * nSid + nField;
  };
  const std::string sBad = dir.File("bad.cfb");
  struct SCase {
    const char* pWhat;
    std::string sBytes;
    std::string sMessage;
  };
  const std::string sDamaged = sBad + " is damaged: ";
  const SCase cases[] = {
      {"not a compound file", "not a compound file", sBad + " is not a compound file"},
      {"cut after two sectors", sGood.substr(0, 1024),
       sDamaged + "a FAT sector lies outside the file"},
      {"byte order", Patched16(sGood, cfb::kHdrByteOrder, 0xFEFF),
       sDamaged + "wrong byte order mark"},
      {"version 4", Patched16(sGood, cfb::kHdrMajorVersion, 4),
       sBad + " is a compound file of a version that is not supported"},
      {"mini cutoff", Patched32(sGood, cfb::kHdrMiniCutoff, 8192),
       sDamaged + "wrong mini sector size or cutoff"},
      {"FAT count", Patched32(sGood, cfb::kHdrFatSectorCount, 0x7FFFFFFF),
       sDamaged + "it claims more FAT sectors than it holds"},
      {"directory start", Patched32(sGood, cfb::kHdrFirstDirSector, 0x00FFFFFF),
       "The directory refers to sector 16777215, which is outside the file"},
      {"FAT location", Patched32(sGood, cfb::kHdrDifat, 0x00FFFFFF),
       sDamaged + "a FAT sector lies outside the file"},
      {"FAT chain looping to the directory's first sector",
       Patched32(sGood, cfb::SectorOffset(nFat) + 4 * nDir, nDir),
       "The directory has a chain of sectors that loops"},
      {"root's child is the root", Patched32(sGood, entry(0, cfb::kDirChild), 0),
       "The compound file's directory has a loop at entry 0"},
      {"large stream's size", Patched32(sGood, entry(1, cfb::kDirSize), 0x7FFFFFF0),
       sDamaged + "the stream \"large\" is larger than the file"},
      {"small stream's size", Patched32(sGood, entry(2, cfb::kDirSize), 0x7FFFFFF0),
       sDamaged + "the stream \"small\" is larger than the file"},
      {"large stream starting in the directory", Patched32(sGood, entry(1, cfb::kDirStart), nDir),
       "The stream shares sector " + std::to_string(nDir) + " with another chain"},
  };
  for (const SCase& c : cases) {
    SCOPED_TRACE(c.pWhat);
    test::WriteWholeFile(sBad, c.sBytes);
    auto openAndRead = [&] {
      auto pFile = CCompoundFile::Open(sBad, EMode::ReadOnly);
      for (uint32_t nSid : pFile->Children(CCompoundFile::kRoot)) GetStream(*pFile, nSid);
    };
    EXPECT_THROW_MSG(openAndRead(), CStorageError, c.sMessage);
  }
}

// Marks entry `nUnit` of the mini FAT (bMini) or of the FAT free on disk;
// both tables fit in their first sector here.
void MarkFreeOnDisk(const std::string& sPath, bool bMini, uint32_t nUnit) {
  std::string s = test::ReadWholeFile(sPath);
  auto* p = reinterpret_cast<uint8_t*>(s.data());
  uint32_t nTableSector = cfb::GetLe32(p + (bMini ? cfb::kHdrFirstMiniFat : cfb::kHdrDifat));
  cfb::PutLe32(p + cfb::SectorOffset(nTableSector) + 4 * nUnit, cfb::kFreeSect);
  test::WriteWholeFile(sPath, s);
}

TEST(CompoundFile, UnitsInUseThatATableMarksFreeAreNeverHandedOut) {
  CTempDir dir;
  std::string sPath = dir.File("marks.cfb");
  {
    auto pFile = CCompoundFile::Create(sPath);
    PutStream(*pFile, CCompoundFile::kRoot, "big", std::string(5000, 'b'));  // sectors 0-9
    PutStream(*pFile, CCompoundFile::kRoot, "a", std::string(64, 'a'));      // mini sector 0
    PutStream(*pFile, CCompoundFile::kRoot, "s", std::string(64, 's'));      // mini sector 1
    pFile->Commit();
  }
  const std::string sGood = test::ReadWholeFile(sPath);
  uint32_t nFatSector = Le32At(sGood, cfb::kHdrDifat);
  // The last mini sector of a stream, the last sector of a stream, the FAT's own sector.
  for (auto [bMini, nUnit] : {std::pair{true, 1u}, {false, 9u}, {false, nFatSector}}) {
    test::WriteWholeFile(sPath, sGood);
    MarkFreeOnDisk(sPath, bMini, nUnit);
    {
      auto pFile = CCompoundFile::Open(sPath, EMode::ReadWrite);
      PutStream(*pFile, CCompoundFile::kRoot, "new", std::string(5000, 'n'));
      PutStream(*pFile, CCompoundFile::kRoot, "c", std::string(64, 'c'));
      pFile->Commit();
    }
    auto contents = Contents(sPath);
    EXPECT_EQ(contents["big"], std::string(5000, 'b')) << nUnit;
    EXPECT_EQ(contents["s"], std::string(64, 's')) << nUnit;
    EXPECT_EQ(contents["new"], std::string(5000, 'n')) << nUnit;
    EXPECT_EQ(contents["c"], std::string(64, 'c')) << nUnit;
  }
}

TEST(CompoundFile, EntriesLeftOutsideTheTreeAreNotChecked) {
  CTempDir dir;
  std::string sPath = dir.File("debris.cfb");
  {
    auto pFile = CCompoundFile::Create(sPath);
    PutStream(*pFile, CCompoundFile::kRoot, "keep", std::string(5000, 'k'));
    PutStream(*pFile, CCompoundFile::kRoot, "gone", std::string(5000, 'g'));
    pFile->Commit();
  }
  // Unlink "gone" (entry 2, the left of "keep", entry 1) but leave it a stream,
  // pointing at the sectors of "keep": debris such as other writers leave.
  std::string s = test::ReadWholeFile(sPath);
  auto* p = reinterpret_cast<uint8_t*>(s.data());
  uint8_t* pKeep =
      p + cfb::SectorOffset(cfb::GetLe32(p + cfb::kHdrFirstDirSector)) + cfb::kDirEntrySize;
  uint8_t* pGone = pKeep + cfb::kDirEntrySize;
  ASSERT_EQ(cfb::GetLe32(pKeep + cfb::kDirLeft), 2u);
  cfb::PutLe32(pKeep + cfb::kDirLeft, cfb::kNoStream);
  cfb::PutLe32(pGone + cfb::kDirStart, cfb::GetLe32(pKeep + cfb::kDirStart));
  test::WriteWholeFile(sPath, s);
  {
    auto pFile = CCompoundFile::Open(sPath, EMode::ReadWrite);
    EXPECT_FALSE(pFile->Find(CCompoundFile::kRoot, "gone").has_value());
    PutStream(*pFile, CCompoundFile::kRoot, "new", "n");
    pFile->Commit();
  }
  auto contents = Contents(sPath);
  EXPECT_EQ(contents.size(), 2u);
  EXPECT_EQ(contents["keep"], std::string(5000, 'k'));
}

}  // namespace
}  // namespace orv

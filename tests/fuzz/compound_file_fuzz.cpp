// Opens arbitrary bytes as a compound file. The first byte picks the mode:
// even reads every storage and stream; odd also changes the file (its other
// bits pick the changes), commits and reads it again. A damaged file may only raise CStorageError
// or CIoError; and a file that read back whole before the change must read back whole after it: the
// bytes written where they were written, all else unchanged.
//
// `--make-seeds=DIR` (ignored by libFuzzer, which skips flags starting with
// "--") writes a seed corpus of files made by the engine itself and exits.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "storage/compound_file.h"
#include "storage/compound_stream.h"

namespace orv {
namespace {

using EMode = CCompoundFile::EMode;
using CBytes = std::vector<uint8_t>;

constexpr size_t kMaxKeptStream = 1 << 20;
const char kNewStream[] = "fuzz added";
const char kNewStorage[] = "fuzz storage";

// One scratch file per process, written for every input and removed after
// it: libFuzzer ends its processes without running atexit handlers.
const std::string& ScratchPath() {
  static const std::string sPath = (std::filesystem::temp_directory_path() /
                                    ("orvella-cfb-fuzz-" + std::to_string(::getpid()) + ".cfb"))
                                       .string();
  return sPath;
}

void WriteFile(const std::string& sPath, const uint8_t* pData, size_t nSize) {
  std::ofstream out(sPath, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(pData), static_cast<std::streamsize>(nSize));
  if (!out) __builtin_trap();  // the harness itself failed, not the engine
}

CBytes ReadStream(CCompoundFile& file, uint32_t nSid) {
  auto pStream = file.OpenStream(nSid);
  uint64_t nSize = pStream->Size();
  CBytes kept;
  uint8_t buffer[4096];
  uint64_t nTotal = 0;
  while (size_t nRead = pStream->Read(buffer, sizeof buffer)) {
    if (nTotal < kMaxKeptStream) kept.insert(kept.end(), buffer, buffer + nRead);
    nTotal += nRead;
    // Read may come up short only at the end of the stream.
    if (nRead < sizeof buffer && nTotal != nSize) __builtin_trap();
  }
  if (nTotal != nSize) __builtin_trap();
  return kept;
}

struct SStreamAt {
  uint32_t nParent;
  uint32_t nSid;
};

// Every stream below the root, with the storage it is in.
std::vector<SStreamAt> Streams(const CCompoundFile& file) {
  std::vector<SStreamAt> streams;
  std::vector<uint32_t> pending{CCompoundFile::kRoot};
  while (!pending.empty()) {
    uint32_t nStorage = pending.back();
    pending.pop_back();
    for (uint32_t nSid : file.Children(nStorage)) {
      file.Name(nSid);
      if (file.IsStorage(nSid))
        pending.push_back(nSid);
      else
        streams.push_back({nStorage, nSid});
    }
  }
  return streams;
}

// Reads every stream; keeps the bytes of those small enough to compare.
std::map<uint32_t, CBytes> ReadAll(CCompoundFile& file) {
  std::map<uint32_t, CBytes> contents;
  for (const SStreamAt& at : Streams(file)) {
    CBytes bytes = ReadStream(file, at.nSid);
    if (file.StreamSize(at.nSid) <= kMaxKeptStream) contents[at.nSid] = std::move(bytes);
  }
  return contents;
}

void Write(CCompoundFile& file, uint32_t nSid, uint64_t nOffset, const CBytes& data) {
  auto pStream = file.OpenStream(nSid);
  pStream->Seek(nOffset);
  pStream->Write(data.data(), data.size());
}

CBytes Filler(size_t nSize, uint8_t nSeed) {
  CBytes data(nSize);
  for (size_t i = 0; i < nSize; ++i) data[i] = static_cast<uint8_t>(nSeed + i * 7);
  return data;
}

void ReadOnly(const std::string& sPath) {
  auto pFile = CCompoundFile::Open(sPath, EMode::ReadOnly);
  ReadAll(*pFile);
}

// Changes the file as `nChoice` says (always adding a stream, and patching
// one across its middle), and commits. Returns what every stream should hold
// afterwards, or nothing when the file was damaged to begin with.
std::optional<std::map<uint32_t, CBytes>> Change(const std::string& sPath, uint8_t nChoice) {
  auto pFile = CCompoundFile::Open(sPath, EMode::ReadWrite);
  std::optional<std::map<uint32_t, CBytes>> before;
  try {
    before = ReadAll(*pFile);
  } catch (const CStorageError&) {
    // Still worth changing, but nothing can be expected of the result.
  }
  std::vector<SStreamAt> streams = Streams(*pFile);
  if ((nChoice & 8) && !streams.empty())
    pFile->Remove(streams.back().nParent, pFile->Name(streams.back().nSid));
  std::map<uint32_t, CBytes> added;
  if (nChoice & 16) {
    uint32_t nStorage = pFile->CreateStorage(CCompoundFile::kRoot, kNewStorage);
    uint32_t nInner = pFile->CreateStream(nStorage, kNewStream);
    added[nInner] = Filler(70, nChoice);
    Write(*pFile, nInner, 0, added[nInner]);
  }
  uint32_t nAdded = pFile->CreateStream(CCompoundFile::kRoot, kNewStream);
  added[nAdded] = Filler(nChoice & 2 ? 5000 : 300, nChoice);  // regular or mini sectors
  Write(*pFile, nAdded, 0, added[nAdded]);

  std::map<uint32_t, CBytes> expected;
  if (before) {
    // What is left of the old streams after the removals above, and the new ones.
    for (const SStreamAt& at : Streams(*pFile))
      if (before->count(at.nSid)) expected[at.nSid] = (*before)[at.nSid];
    for (auto& [nSid, bytes] : added) expected[nSid] = bytes;
    auto& [nPatched, bytes] = *expected.begin();
    CBytes patch = Filler(nChoice & 4 ? 4000 : 100, static_cast<uint8_t>(nChoice + 1));
    size_t nOffset = bytes.size() / 2;
    Write(*pFile, nPatched, nOffset, patch);
    bytes.resize(std::max(bytes.size(), nOffset + patch.size()));
    std::copy(patch.begin(), patch.end(), bytes.begin() + static_cast<ptrdiff_t>(nOffset));
    if (nChoice & 32) {
      bytes.resize(bytes.size() / 3);
      pFile->OpenStream(nPatched)->SetSize(bytes.size());
    }
  }
  pFile->Commit();
  if (!before) return std::nullopt;
  return expected;
}

void ReadWrite(const std::string& sPath, uint8_t nChoice) {
  auto expected = Change(sPath, nChoice);
  if (!expected) {
    ReadOnly(sPath);
    return;
  }
  // The engine took the file as sound and committed it: from here on any
  // failure or difference is its own.
  try {
    auto pFile = CCompoundFile::Open(sPath, EMode::ReadOnly);
    std::map<uint32_t, CBytes> after = ReadAll(*pFile);
    for (const auto& [nSid, bytes] : *expected) {
      if (!after.count(nSid) || after[nSid] != bytes) {
        std::fprintf(stderr, "stream %u (\"%s\") changed or went missing\n", nSid,
                     after.count(nSid) ? pFile->Name(nSid).c_str() : "");
        __builtin_trap();
      }
    }
  } catch (const CStorageError& e) {
    std::fprintf(stderr, "a committed file no longer reads: %s\n", e.what());
    __builtin_trap();
  }
}

// ---- seed corpus -----------------------------------------------------------

void PutStream(CCompoundFile& file, uint32_t nParent, const char* szName, size_t nSize) {
  Write(file, file.CreateStream(nParent, szName), 0, Filler(nSize, static_cast<uint8_t>(nSize)));
}

// Streams on both sides of the mini-stream cutoff, in nested storages.
void FillMixed(CCompoundFile& file) {
  uint32_t nSub = file.CreateStorage(CCompoundFile::kRoot, "Sub");
  uint32_t nDeeper = file.CreateStorage(nSub, "Deeper");
  PutStream(file, CCompoundFile::kRoot, "empty", 0);
  PutStream(file, CCompoundFile::kRoot, "small", 100);
  PutStream(file, CCompoundFile::kRoot, "large", 5000);
  PutStream(file, nSub, "just under", 4095);
  PutStream(file, nDeeper, "at cutoff", 4096);
}

// Enough siblings for a sibling tree several levels deep over many sectors.
void FillSiblings(CCompoundFile& file) {
  for (int i = 0; i < 40; ++i) PutStream(file, CCompoundFile::kRoot, std::to_string(i).c_str(), 8);
}

// A second commit that frees, moves and regrows sectors.
void Recommit(const std::string& sPath) {
  auto pFile = CCompoundFile::Open(sPath, EMode::ReadWrite);
  pFile->Remove(CCompoundFile::kRoot, "small");
  Write(*pFile, *pFile->Find(CCompoundFile::kRoot, "large"), 0, Filler(200, 1));
  pFile->OpenStream(*pFile->Find(CCompoundFile::kRoot, "large"))->SetSize(300);
  PutStream(*pFile, CCompoundFile::kRoot, "grown", 6000);
  pFile->Commit();
}

// Each file goes in read mode, in change mode with the fewest changes and with all of them.
void WriteSeed(const std::string& sDir, const std::string& sName, const std::string& sFile) {
  std::ifstream in(sFile, std::ios::binary);
  std::string sBytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::pair<char, const char*> modes[] = {
      {0x00, "-read"}, {0x01, "-change"}, {0x3F, "-change-all"}};
  for (auto [cMode, szSuffix] : modes) {
    std::string sSeed = cMode + sBytes;
    WriteFile(sDir + "/" + sName + szSuffix, reinterpret_cast<const uint8_t*>(sSeed.data()),
              sSeed.size());
  }
}

void MakeSeeds(const std::string& sDir) {
  std::string sFile = sDir + "/scratch.cfb";
  auto make = [&](const char* szName, void (*fill)(CCompoundFile&)) {
    auto pFile = CCompoundFile::Create(sFile);
    if (fill) fill(*pFile);
    pFile->Commit();
    pFile.reset();
    WriteSeed(sDir, szName, sFile);
  };
  make("engine-empty", nullptr);
  make("engine-siblings", FillSiblings);
  make("engine-mixed", FillMixed);
  Recommit(sFile);
  WriteSeed(sDir, "engine-recommitted", sFile);
  std::filesystem::remove(sFile);
}

}  // namespace
}  // namespace orv

extern "C" int LLVMFuzzerInitialize(int* pArgc, char*** pArgv) {
  const std::string sFlag = "--make-seeds=";
  for (int i = 1; i < *pArgc; ++i) {
    std::string sArg = (*pArgv)[i];
    if (sArg.compare(0, sFlag.size(), sFlag) != 0) continue;
    orv::MakeSeeds(sArg.substr(sFlag.size()));
    std::exit(0);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  if (nSize == 0) return 0;
  const std::string& sPath = orv::ScratchPath();
  orv::WriteFile(sPath, pData + 1, nSize - 1);
  try {
    if (pData[0] & 1)
      orv::ReadWrite(sPath, pData[0]);
    else
      orv::ReadOnly(sPath);
  } catch (const orv::CStorageError&) {
  } catch (const orv::CIoError&) {
  }
  std::remove(sPath.c_str());
  return 0;
}

// Measures the compound-file engine against a plain file written and read the
// same way, in one process, so that the ratios hold on whatever machine runs it:
//  (a) one big stream written and read in 64 KiB chunks;
//  (b) many 1 KiB streams, through CCompoundFile with one commit, and through
//      CStgFile, whose every Close commits.
// Usage: storage_bench [--size-mb N] [--streams N] [--stg-streams N] [--repeat N] [--dir D]

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "storage/compound_file.h"
#include "storage/compound_stream.h"
#include "storage/stg_file.h"

namespace orv {
namespace {

constexpr size_t kChunk = 64 * 1024;
constexpr size_t kSmallStream = 1024;
constexpr uint32_t kStreamsPerStorage = 1000;
constexpr double kMiB = 1024.0 * 1024.0;

struct SOptions {
  uint64_t nSizeMb = 1024;
  uint32_t nStreams = 100000;
  // Every CStgFile Close commits and flushes; 0 runs as many as --streams.
  uint32_t nStgStreams = 0;
  // Each measure keeps the best of this many runs, as the first run of a
  // case also pays for the page cache filling up.
  uint32_t nRepeat = 3;
  std::string sDir;
};

struct SResult {
  std::string sName;
  uint64_t nBytes = 0;
  double fWrite = 0;  // seconds
  double fRead = 0;
};

// Where the streams of case (b) go: storages of 1000 streams, or the root.
enum class ELayout { Storages, Root };

double Seconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Random bytes whose first 8 are the block's index, so that a read that lands
// on the wrong block is noticed without comparing everything.
class CBlock {
 public:
  explicit CBlock(size_t nSize) : m_data(nSize) {
    std::mt19937_64 rng(42);
    for (auto& b : m_data) b = static_cast<uint8_t>(rng());
  }
  const uint8_t* Stamped(uint64_t nIndex) {
    std::memcpy(m_data.data(), &nIndex, sizeof nIndex);
    return m_data.data();
  }
  uint8_t* Buffer() { return m_data.data(); }
  void Check(uint64_t nIndex, size_t nRead) const {
    uint64_t nFound = 0;
    std::memcpy(&nFound, m_data.data(), sizeof nFound);
    if (nRead != m_data.size() || nFound != nIndex)
      throw std::runtime_error("block " + std::to_string(nIndex) + " read back wrong");
  }

 private:
  std::vector<uint8_t> m_data;
};

// `bSyncEach` flushes after every write, as a commit per stream does.
SResult PlainFile(const std::string& sName, const std::string& sPath, uint64_t nBlocks,
                  size_t nBlockSize, bool bSyncEach = false) {
  CFileSystem& fs = CFileSystem::Default();
  CBlock block(nBlockSize);
  SResult result{sName, nBlocks * nBlockSize};
  result.fWrite = Seconds([&] {
    auto pFile = fs.Open(sPath, EOpenMode::CreateAlways);
    for (uint64_t i = 0; i < nBlocks; ++i) {
      pFile->WriteAt(i * nBlockSize, block.Stamped(i), nBlockSize);
      if (bSyncEach) pFile->Sync();
    }
    if (!bSyncEach) pFile->Sync();
  });
  result.fRead = Seconds([&] {
    auto pFile = fs.Open(sPath, EOpenMode::Read);
    for (uint64_t i = 0; i < nBlocks; ++i)
      block.Check(i, pFile->ReadAt(i * nBlockSize, block.Buffer(), nBlockSize));
  });
  fs.Remove(sPath);
  return result;
}

SResult EngineBigStream(const std::string& sPath, uint64_t nChunks) {
  CBlock block(kChunk);
  SResult result{"engine: one stream, 64 KiB chunks", nChunks * kChunk};
  result.fWrite = Seconds([&] {
    auto pFile = CCompoundFile::Create(sPath);
    {
      auto pStream = pFile->OpenStream(pFile->CreateStream(CCompoundFile::kRoot, "big"));
      for (uint64_t i = 0; i < nChunks; ++i) pStream->Write(block.Stamped(i), kChunk);
    }
    pFile->Commit();
  });
  result.fRead = Seconds([&] {
    auto pFile = CCompoundFile::Open(sPath, CCompoundFile::EMode::ReadOnly);
    auto pStream = pFile->OpenStream(*pFile->Find(CCompoundFile::kRoot, "big"));
    for (uint64_t i = 0; i < nChunks; ++i) block.Check(i, pStream->Read(block.Buffer(), kChunk));
  });
  CFileSystem::Default().Remove(sPath);
  return result;
}

std::string StorageName(uint32_t i) { return std::to_string(i / kStreamsPerStorage); }
std::string StreamName(uint32_t i, ELayout eLayout) {
  return std::to_string(eLayout == ELayout::Root ? i : i % kStreamsPerStorage);
}
const char* LayoutName(ELayout eLayout) {
  return eLayout == ELayout::Root ? "all in the root" : "1000 per storage";
}

SResult EngineSmallStreams(const std::string& sPath, uint32_t nStreams, ELayout eLayout) {
  CBlock block(kSmallStream);
  SResult result{std::string("engine: 1 KiB streams, ") + LayoutName(eLayout) + ", 1 commit",
                 uint64_t{nStreams} * kSmallStream};
  auto parentOf = [&](CCompoundFile& file, uint32_t i, bool bCreate) {
    if (eLayout == ELayout::Root) return CCompoundFile::kRoot;
    return bCreate ? file.CreateStorage(CCompoundFile::kRoot, StorageName(i))
                   : *file.Find(CCompoundFile::kRoot, StorageName(i));
  };
  result.fWrite = Seconds([&] {
    auto pFile = CCompoundFile::Create(sPath);
    uint32_t nParent = CCompoundFile::kRoot;
    for (uint32_t i = 0; i < nStreams; ++i) {
      if (i % kStreamsPerStorage == 0) nParent = parentOf(*pFile, i, true);
      auto pStream = pFile->OpenStream(pFile->CreateStream(nParent, StreamName(i, eLayout)));
      pStream->Write(block.Stamped(i), kSmallStream);
    }
    pFile->Commit();
  });
  result.fRead = Seconds([&] {
    auto pFile = CCompoundFile::Open(sPath, CCompoundFile::EMode::ReadOnly);
    uint32_t nParent = CCompoundFile::kRoot;
    for (uint32_t i = 0; i < nStreams; ++i) {
      if (i % kStreamsPerStorage == 0) nParent = parentOf(*pFile, i, false);
      auto pStream = pFile->OpenStream(*pFile->Find(nParent, StreamName(i, eLayout)));
      block.Check(i, pStream->Read(block.Buffer(), kSmallStream));
    }
  });
  CFileSystem::Default().Remove(sPath);
  return result;
}

// Fails loudly: a bench that silently measures failures measures nothing.
void Require(bool bOk, const CStgFile& file) {
  if (!bOk) throw std::runtime_error("CStgFile: " + file.LastError());
}

SResult StgFileSmallStreams(const std::string& sPath, uint32_t nStreams, ELayout eLayout) {
  CBlock block(kSmallStream);
  SResult result{
      std::string("CStgFile: 1 KiB streams, ") + LayoutName(eLayout) + ", commit per Close",
      uint64_t{nStreams} * kSmallStream};
  auto streamPath = [&](uint32_t i) {
    std::string sName = StreamName(i, eLayout);
    return eLayout == ELayout::Root ? sName : StorageName(i) + "\\" + sName;
  };
  result.fWrite = Seconds([&] {
    CStgFile file;
    Require(file.Create(sPath), file);
    for (uint32_t i = 0; i < nStreams; ++i) {
      if (eLayout == ELayout::Storages && i % kStreamsPerStorage == 0)
        Require(file.MkStg(StorageName(i)), file);
      Require(file.Open(streamPath(i), CStgFile::modeCreate | CStgFile::modeWrite), file);
      file.Write(block.Stamped(i), kSmallStream);
      file.Close();
    }
    file.CloseStg();
  });
  result.fRead = Seconds([&] {
    CStgFile file;
    Require(file.OpenStg(sPath, true), file);
    for (uint32_t i = 0; i < nStreams; ++i) {
      Require(file.Open(streamPath(i), CStgFile::modeRead), file);
      block.Check(i, file.Read(block.Buffer(), kSmallStream));
      file.Close();
    }
    file.CloseStg();
  });
  CFileSystem::Default().Remove(sPath);
  return result;
}

SResult Best(uint32_t nRepeat, const std::function<SResult()>& run) {
  SResult best = run();
  for (uint32_t i = 1; i < nRepeat; ++i) {
    SResult next = run();
    best.fWrite = std::min(best.fWrite, next.fWrite);
    best.fRead = std::min(best.fRead, next.fRead);
  }
  return best;
}

// The ratio of time per byte against the baseline: 1.0 is as fast, 2.0 half as fast.
double Ratio(double fSeconds, uint64_t nBytes, double fBaseSeconds, uint64_t nBaseBytes) {
  return (fSeconds / static_cast<double>(nBytes)) /
         (fBaseSeconds / static_cast<double>(nBaseBytes));
}

void PrintHeader() {
  std::printf("%-60s %9s %9s %10s %10s %8s %8s\n", "case", "write s", "read s", "write MiB/s",
              "read MiB/s", "w ratio", "r ratio");
}

void Print(const SResult& result, const SResult* pBase) {
  double fMiB = static_cast<double>(result.nBytes) / kMiB;
  std::printf("%-60s %9.3f %9.3f %10.1f %10.1f", result.sName.c_str(), result.fWrite, result.fRead,
              fMiB / result.fWrite, fMiB / result.fRead);
  if (pBase) {
    double fWrite = Ratio(result.fWrite, result.nBytes, pBase->fWrite, pBase->nBytes);
    double fRead = Ratio(result.fRead, result.nBytes, pBase->fRead, pBase->nBytes);
    std::printf(" %8.2f %8.2f%s", fWrite, fRead, fWrite > 2 || fRead > 2 ? "  over 2x" : "");
  } else {
    std::printf(" %8s %8s", "base", "base");
  }
  std::printf("\n");
  std::fflush(stdout);
}

uint64_t ParseNumber(const char* szFlag, const char* szValue) {
  char* pEnd = nullptr;
  unsigned long long n = szValue ? std::strtoull(szValue, &pEnd, 10) : 0;
  if (!szValue || *pEnd != '\0' || n == 0)
    throw std::runtime_error(std::string(szFlag) + " needs a positive number");
  return n;
}

SOptions ParseOptions(int argc, char** argv) {
  SOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string sFlag = argv[i];
    const char* szValue = i + 1 < argc ? argv[++i] : nullptr;
    if (sFlag == "--size-mb") {
      options.nSizeMb = ParseNumber(argv[i - 1], szValue);
    } else if (sFlag == "--streams") {
      options.nStreams = static_cast<uint32_t>(ParseNumber(argv[i - 1], szValue));
    } else if (sFlag == "--stg-streams") {
      options.nStgStreams = static_cast<uint32_t>(ParseNumber(argv[i - 1], szValue));
    } else if (sFlag == "--repeat") {
      options.nRepeat = static_cast<uint32_t>(ParseNumber(argv[i - 1], szValue));
    } else if (sFlag == "--dir" && szValue) {
      options.sDir = szValue;
    } else {
      throw std::runtime_error(
          "usage: storage_bench [--size-mb N] [--streams N] [--stg-streams N] [--repeat N] "
          "[--dir D]");
    }
  }
  if (options.nSizeMb * kMiB > static_cast<double>(cfb::kMaxStreamSize))
    throw std::runtime_error("--size-mb can't pass 2048: that is the largest stream there is");
  if (options.nStgStreams == 0 || options.nStgStreams > options.nStreams)
    options.nStgStreams = options.nStreams;
  return options;
}

// A scratch folder: the one asked for (kept), or a fresh one under /tmp (removed).
class CScratchDir {
 public:
  explicit CScratchDir(const std::string& sDir) : m_bOwned(sDir.empty()) {
    if (m_bOwned) {
      std::string sTemplate =
          (std::filesystem::temp_directory_path() / "orvella-bench-XXXXXX").string();
      if (!mkdtemp(sTemplate.data())) throw std::runtime_error("can't make a scratch folder");
      m_path = sTemplate;
    } else {
      m_path = sDir;
      std::filesystem::create_directories(m_path);
    }
  }
  ~CScratchDir() {
    std::error_code ec;
    if (m_bOwned) std::filesystem::remove_all(m_path, ec);
  }
  CScratchDir(const CScratchDir&) = delete;
  CScratchDir& operator=(const CScratchDir&) = delete;
  std::string File(const std::string& sName) const { return (m_path / sName).string(); }

 private:
  std::filesystem::path m_path;
  bool m_bOwned;
};

void Run(const SOptions& options) {
  CScratchDir dir(options.sDir);
  std::printf("Reads come from the page cache on both sides (dropping it needs root).\n");
  std::printf("Times are the best of %u runs.\n", options.nRepeat);
  std::printf("Ratios are time per byte against the plain file above them; goal: <= 2.\n\n");
  PrintHeader();

  uint32_t nRepeat = options.nRepeat;
  uint64_t nChunks = options.nSizeMb * 1024 * 1024 / kChunk;
  SResult bigBase = Best(nRepeat, [&] {
    return PlainFile(
        "plain file: " + std::to_string(options.nSizeMb) + " MiB in 64 KiB chunks, 1 sync",
        dir.File("big.plain"), nChunks, kChunk);
  });
  Print(bigBase, nullptr);
  Print(Best(nRepeat, [&] { return EngineBigStream(dir.File("big.cfb"), nChunks); }), &bigBase);
  std::printf("\n");

  SResult smallBase = Best(nRepeat, [&] {
    return PlainFile("plain file: " + std::to_string(options.nStreams) + " x 1 KiB writes, 1 sync",
                     dir.File("small.plain"), options.nStreams, kSmallStream);
  });
  Print(smallBase, nullptr);
  for (ELayout eLayout : {ELayout::Storages, ELayout::Root}) {
    Print(
        Best(nRepeat,
             [&] { return EngineSmallStreams(dir.File("small.cfb"), options.nStreams, eLayout); }),
        &smallBase);
  }
  // Their time goes to flushing, which is steady, and a run is long: once is enough.
  std::printf("CStgFile cases: %u streams (--stg-streams), run once\n", options.nStgStreams);
  Print(PlainFile("plain file: " + std::to_string(options.nStgStreams) +
                      " x 1 KiB writes, sync after each",
                  dir.File("synced.plain"), options.nStgStreams, kSmallStream, true),
        &smallBase);
  for (ELayout eLayout : {ELayout::Storages, ELayout::Root})
    Print(StgFileSmallStreams(dir.File("stg.cfb"), options.nStgStreams, eLayout), &smallBase);

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("\npeak RSS: %.1f MiB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
}

}  // namespace
}  // namespace orv

int main(int argc, char** argv) {
  try {
    orv::Run(orv::ParseOptions(argc, argv));
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "storage_bench: %s\n", e.what());
    return 1;
  }
}

#include "base/file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <thread>

namespace orv {
namespace {

std::string Describe(const std::string& sWhat, const std::string& sPath, int nErr) {
  return sWhat + " " + sPath + ": " + std::strerror(nErr);
}

class CPosixFile : public COsFile {
 public:
  CPosixFile(int fd, std::string sPath) : m_fd(fd), m_sPath(std::move(sPath)) {}
  ~CPosixFile() override { ::close(m_fd); }

  size_t ReadAt(uint64_t nOffset, void* pBuffer, size_t nCount) override {
    auto* p = static_cast<char*>(pBuffer);
    size_t nDone = 0;
    while (nDone < nCount) {
      ssize_t n = ::pread(m_fd, p + nDone, nCount - nDone, static_cast<off_t>(nOffset + nDone));
      if (n < 0) {
        if (errno == EINTR) continue;
        throw CIoError(Describe("Can't read", m_sPath, errno), errno);
      }
      if (n == 0) break;
      nDone += static_cast<size_t>(n);
    }
    return nDone;
  }

  void WriteAt(uint64_t nOffset, const void* pData, size_t nCount) override {
    const auto* p = static_cast<const char*>(pData);
    size_t nDone = 0;
    while (nDone < nCount) {
      ssize_t n = ::pwrite(m_fd, p + nDone, nCount - nDone, static_cast<off_t>(nOffset + nDone));
      if (n < 0) {
        if (errno == EINTR) continue;
        throw CIoError(Describe("Can't write", m_sPath, errno), errno);
      }
      nDone += static_cast<size_t>(n);
    }
  }

  uint64_t Size() override {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) throw CIoError(Describe("Can't stat", m_sPath, errno), errno);
    return static_cast<uint64_t>(st.st_size);
  }

  void Truncate(uint64_t nSize) override {
    if (::ftruncate(m_fd, static_cast<off_t>(nSize)) != 0)
      throw CIoError(Describe("Can't resize", m_sPath, errno), errno);
  }

  void Sync() override {
    if (::fdatasync(m_fd) != 0) throw CIoError(Describe("Can't flush", m_sPath, errno), errno);
  }

 private:
  int m_fd;
  std::string m_sPath;
};

// An open file description with an OFD lock on the whole file. Such locks
// don't meet the flock() locks that open files carry, so the program that
// holds one can still open the file to read it.
class CPosixFileLock : public CFileLock {
 public:
  explicit CPosixFileLock(int fd) : m_fd(fd) {}
  ~CPosixFileLock() override { ::close(m_fd); }

 private:
  int m_fd;
};

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

class CPosixFileSystem : public CFileSystem {
 public:
  std::unique_ptr<COsFile> Open(const std::string& sPath, EOpenMode eMode) override {
    int nFlags = O_CLOEXEC;
    switch (eMode) {
      case EOpenMode::Read:
        nFlags |= O_RDONLY;
        break;
      case EOpenMode::ReadWrite:
        nFlags |= O_RDWR;
        break;
      case EOpenMode::CreateAlways:
        nFlags |= O_RDWR | O_CREAT;
        break;
      case EOpenMode::CreateNew:
        nFlags |= O_RDWR | O_CREAT | O_EXCL;
        break;
      case EOpenMode::OpenOrCreate:
        nFlags |= O_RDWR | O_CREAT;
        break;
    }
    int fd = ::open(sPath.c_str(), nFlags, 0644);
    if (fd < 0) throw CIoError(Describe("Can't open", sPath, errno), errno);
    // Advisory locks keep two writers (or a writer and a reader) apart.
    int nLock = (eMode == EOpenMode::Read ? LOCK_SH : LOCK_EX) | LOCK_NB;
    if (::flock(fd, nLock) != 0) {
      int nErr = errno;
      ::close(fd);
      throw CIoError(InUseMessage(sPath), nErr);
    }
    // Emptying waits for the lock, so that a file in use is never cut.
    if (eMode == EOpenMode::CreateAlways && ::ftruncate(fd, 0) != 0) {
      int nErr = errno;
      ::close(fd);
      throw CIoError(Describe("Can't empty", sPath, nErr), nErr);
    }
    return std::make_unique<CPosixFile>(fd, sPath);
  }

  void Rename(const std::string& sFrom, const std::string& sTo) override {
    if (::rename(sFrom.c_str(), sTo.c_str()) != 0)
      throw CIoError(Describe("Can't rename", sFrom, errno), errno);
    SyncParent(sTo);
  }

  void Link(const std::string& sFrom, const std::string& sTo) override {
    if (::link(sFrom.c_str(), sTo.c_str()) != 0)
      throw CIoError(Describe("Can't link", sFrom, errno), errno);
    SyncParent(sTo);
  }

  void Remove(const std::string& sPath) override {
    if (::unlink(sPath.c_str()) != 0) throw CIoError(Describe("Can't delete", sPath, errno), errno);
  }

  bool Exists(const std::string& sPath) override {
    struct stat st {};
    return ::stat(sPath.c_str(), &st) == 0;
  }

  void CreateDirectories(const std::string& sPath) override {
    std::error_code ec;
    std::filesystem::create_directories(sPath, ec);
    if (ec) throw CIoError("Can't create folder " + sPath + ": " + ec.message(), ec.value());
  }

  std::optional<SFileStamp> Stamp(const std::string& sPath) override {
    struct stat st {};
    if (::stat(sPath.c_str(), &st) != 0) return std::nullopt;
    return SFileStamp{st.st_dev, st.st_ino, static_cast<uint64_t>(st.st_size),
                      st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
  }

  std::unique_ptr<CFileLock> LockForChange(const std::string& sPath,
                                           std::chrono::milliseconds wait) override {
    auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
      // A write lock needs a file open for writing; a file we may not write
      // is still saved by a rename, so a read lock keeps in-place writers out.
      int fd = ::open(sPath.c_str(), O_RDWR | O_CLOEXEC);
      bool bWritable = fd >= 0;
      if (fd < 0 && errno == EACCES) fd = ::open(sPath.c_str(), O_RDONLY | O_CLOEXEC);
      if (fd < 0) {
        if (errno == ENOENT) return nullptr;
        throw CIoError(Describe("Can't open", sPath, errno), errno);
      }
      struct flock lock {};
      lock.l_type = bWritable ? F_WRLCK : F_RDLCK;
      lock.l_whence = SEEK_SET;
      if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) {
        // A change that ended while we waited renamed a new file into place:
        // the lock must be on that one.
        struct stat held {};
        struct stat current {};
        if (::fstat(fd, &held) == 0 && ::stat(sPath.c_str(), &current) == 0 &&
            SameFile(held, current))
          return std::make_unique<CPosixFileLock>(fd);
        ::close(fd);
        continue;
      }
      int nErr = errno;
      ::close(fd);
      if (nErr != EAGAIN && nErr != EACCES)
        throw CIoError(Describe("Can't lock", sPath, nErr), nErr);
      if (std::chrono::steady_clock::now() >= deadline) throw CIoError(InUseMessage(sPath), nErr);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  std::vector<SDirEntry> List(const std::string& sDirectory) override {
    std::vector<SDirEntry> entries;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(sDirectory, ec))
      entries.push_back({entry.path().filename().string(), entry.is_directory()});
    if (ec) throw CIoError("Can't list folder " + sDirectory + ": " + ec.message(), ec.value());
    return entries;
  }

 private:
  // A rename is durable only once its folder is flushed.
  static void SyncParent(const std::string& sPath) {
    std::string sDir = std::filesystem::path(sPath).parent_path().string();
    int fd = ::open(sDir.empty() ? "." : sDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
  }
};

}  // namespace

CFileSystem& CFileSystem::Default() {
  static CPosixFileSystem fileSystem;
  return fileSystem;
}

std::string InUseMessage(const std::string& sPath) {
  return "The file " + sPath + " is in use by another program";
}

namespace {

constexpr std::string_view kScratchMark = ".orvtmp";

bool IsHexDigits(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// sBase + [".k.bak"] + ".orvtmp" + hex digits: the scratch files of a
// document and of its backup copies.
bool IsScratchNameOf(std::string_view sName, std::string_view sBase) {
  if (!sName.starts_with(sBase)) return false;
  std::string_view sRest = sName.substr(sBase.size());
  if (sRest.starts_with(".") && !sRest.starts_with(kScratchMark)) {
    size_t nBak = sRest.find(".bak");
    if (nBak == std::string_view::npos || nBak < 2 ||
        sRest.substr(1, nBak - 1).find_first_not_of("0123456789") != std::string_view::npos)
      return false;
    sRest.remove_prefix(nBak + 4);
  }
  return sRest.starts_with(kScratchMark) && IsHexDigits(sRest.substr(kScratchMark.size()));
}

}  // namespace

std::string ScratchName(const std::string& sPath, const std::string& sTag) {
  std::random_device random;
  uint64_t nSuffix = (static_cast<uint64_t>(random()) << 32 | random()) & 0xFFFFFFFFFFFFull;
  char szSuffix[16];
  std::snprintf(szSuffix, sizeof szSuffix, "%012llx", static_cast<unsigned long long>(nSuffix));
  return sPath + sTag + std::string(kScratchMark) + szSuffix;
}

std::unique_ptr<COsFile> CreateScratchFile(CFileSystem& fs, const std::string& sPath,
                                           std::string& rScratchPath, const std::string& sTag) {
  for (int nTry = 1;; ++nTry) {
    rScratchPath = ScratchName(sPath, sTag);
    try {
      return fs.Open(rScratchPath, EOpenMode::CreateNew);
    } catch (const CIoError& e) {
      if (e.Errno() != EEXIST || nTry == 8) throw;
    }
  }
}

int RemoveStaleScratchFiles(CFileSystem& fs, const std::string& sPath) {
  std::filesystem::path path(sPath);
  std::string sBase = path.filename().string();
  int nRemoved = 0;
  try {
    for (const SDirEntry& entry :
         fs.List(path.has_parent_path() ? path.parent_path().string() : ".")) {
      if (entry.bDirectory || !IsScratchNameOf(entry.sName, sBase)) continue;
      std::string sScratch = (path.parent_path() / entry.sName).string();
      try {
        // A live writer holds its scratch file locked, and this open fails.
        std::unique_ptr<COsFile> pStale = fs.Open(sScratch, EOpenMode::ReadWrite);
        fs.Remove(sScratch);
        ++nRemoved;
      } catch (const CIoError&) {
        // In use, or gone already.
      }
    }
  } catch (const CIoError&) {
    // A folder we can't list has nothing we could remove either.
  }
  return nRemoved;
}

void ReplaceFileAtomically(CFileSystem& fs, const std::string& sPath,
                           const std::function<void(COsFile&)>& write) {
  std::string sScratch;
  std::unique_ptr<COsFile> pFile = CreateScratchFile(fs, sPath, sScratch);
  try {
    write(*pFile);
    pFile->Sync();
    // Renamed while still open and locked, so nobody takes it for a stale one.
    fs.Rename(sScratch, sPath);
  } catch (...) {
    pFile.reset();
    try {
      fs.Remove(sScratch);
    } catch (const CIoError&) {
      // The first error is the one to report.
    }
    throw;
  }
}

void ReplaceFileContents(CFileSystem& fs, const std::string& sPath, std::string_view sData) {
  ReplaceFileAtomically(fs, sPath,
                        [&](COsFile& file) { file.WriteAt(0, sData.data(), sData.size()); });
}

std::optional<std::string> ReadSmallFile(CFileSystem& fs, const std::string& sPath,
                                         uint64_t nMaxSize) {
  std::unique_ptr<COsFile> pFile;
  try {
    pFile = fs.Open(sPath, EOpenMode::Read);
  } catch (const CIoError& e) {
    if (e.Errno() == ENOENT) return std::nullopt;
    throw;
  }
  const uint64_t nSize = pFile->Size();
  if (nSize > nMaxSize) throw CIoError("The file " + sPath + " is too large");
  std::string sData(nSize, '\0');
  sData.resize(pFile->ReadAt(0, sData.data(), sData.size()));
  return sData;
}

}  // namespace orv

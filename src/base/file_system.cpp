#include "base/file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

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

class CPosixFileSystem : public CFileSystem {
 public:
  std::unique_ptr<COsFile> Open(const std::string& sPath, EOpenMode eMode) override {
    int nFlags = O_CLOEXEC;
    switch (eMode) {
      case EOpenMode::Read: nFlags |= O_RDONLY; break;
      case EOpenMode::ReadWrite: nFlags |= O_RDWR; break;
      case EOpenMode::CreateAlways: nFlags |= O_RDWR | O_CREAT; break;
      case EOpenMode::CreateNew: nFlags |= O_RDWR | O_CREAT | O_EXCL; break;
      case EOpenMode::OpenOrCreate: nFlags |= O_RDWR | O_CREAT; break;
    }
    int fd = ::open(sPath.c_str(), nFlags, 0644);
    if (fd < 0) throw CIoError(Describe("Can't open", sPath, errno), errno);
    // Advisory locks keep two writers (or a writer and a reader) apart.
    int nLock = (eMode == EOpenMode::Read ? LOCK_SH : LOCK_EX) | LOCK_NB;
    if (::flock(fd, nLock) != 0) {
      int nErr = errno;
      ::close(fd);
      throw CIoError("The file " + sPath + " is in use by another program", nErr);
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

void ReplaceFileAtomically(CFileSystem& fs, const std::string& sPath,
                           const std::function<void(COsFile&)>& write) {
  std::string sScratch = sPath + ".orvella-new";
  try {
    std::unique_ptr<COsFile> pFile = fs.Open(sScratch, EOpenMode::CreateAlways);
    write(*pFile);
    pFile->Sync();
    pFile.reset();
    fs.Rename(sScratch, sPath);
  } catch (...) {
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

}  // namespace orv

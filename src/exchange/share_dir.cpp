#include "exchange/share_dir.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace orv {
namespace {

// A value file is a line of text, a content file a note: past this it is
// not one of ours, and is not read into memory.
constexpr off_t kMaxFileSize = 256 << 20;

std::string Reason() { return std::strerror(errno); }

}  // namespace

std::string NoteDirName(int nNumber) {
  std::string sName = std::to_string(nNumber);
  if (sName.size() < 5) sName.insert(0, 5 - sName.size(), '0');
  return sName;
}

std::optional<int> NoteDirNumber(std::string_view sName) {
  if (sName.size() < 5 || sName.size() > 9) return std::nullopt;
  int nNumber = 0;
  for (char c : sName) {
    if (c < '0' || c > '9') return std::nullopt;
    nNumber = nNumber * 10 + (c - '0');
  }
  return nNumber;
}

CShareDir CShareDir::OpenRoot(const std::string& sRoot) {
  const int nFd = ::open(sRoot.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (nFd < 0) throw CShareError("Can't open the shared folder " + sRoot + ": " + Reason());
  return CShareDir(nFd);
}

std::optional<CShareDir> CShareDir::Sub(const std::vector<std::string>& parts) const {
  CShareDir dir(::dup(m_nFd));
  if (dir.m_nFd < 0) return std::nullopt;
  for (const std::string& sPart : parts) {
    if (!NoteDirNumber(sPart)) return std::nullopt;
    const int nFd =
        ::openat(dir.m_nFd, sPart.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (nFd < 0) return std::nullopt;
    dir = CShareDir(nFd);
  }
  return dir;
}

CShareDir::CShareDir(CShareDir&& other) noexcept : m_nFd(other.m_nFd) { other.m_nFd = -1; }

CShareDir& CShareDir::operator=(CShareDir&& other) noexcept {
  std::swap(m_nFd, other.m_nFd);
  return *this;
}

CShareDir::~CShareDir() {
  if (m_nFd >= 0) ::close(m_nFd);
}

std::vector<int> CShareDir::NoteDirs() const {
  std::vector<int> numbers;
  const int nFd = ::openat(m_nFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* pDir = nFd >= 0 ? ::fdopendir(nFd) : nullptr;
  if (!pDir) {
    if (nFd >= 0) ::close(nFd);
    return numbers;
  }
  while (const dirent* pEntry = ::readdir(pDir)) {
    const std::optional<int> number = NoteDirNumber(pEntry->d_name);
    struct stat info {};
    if (number && ::fstatat(m_nFd, pEntry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISDIR(info.st_mode))
      numbers.push_back(*number);
  }
  ::closedir(pDir);
  // The listing's order is the file system's; the notes' order is their numbers.
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

bool CShareDir::HasFile(const std::string& sName) const {
  struct stat info {};
  return ::fstatat(m_nFd, sName.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode);
}

std::optional<std::string> CShareDir::ReadFile(const std::string& sName) const {
  const int nFd = ::openat(m_nFd, sName.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (nFd < 0) return std::nullopt;
  std::optional<std::string> data;
  struct stat info {};
  if (::fstat(nFd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= kMaxFileSize) {
    data.emplace();
    char buffer[65536];
    ssize_t nRead = 0;
    while ((nRead = ::read(nFd, buffer, sizeof buffer)) > 0 &&
           data->size() <= static_cast<size_t>(kMaxFileSize))
      data->append(buffer, static_cast<size_t>(nRead));
    if (nRead < 0 || data->size() > static_cast<size_t>(kMaxFileSize)) data.reset();
  }
  ::close(nFd);
  return data;
}

void CShareDir::WriteFile(const std::string& sName, std::string_view sData) const {
  static thread_local std::mt19937_64 random{std::random_device{}()};
  const std::string sScratch = "." + sName + "." + std::to_string(random() % 1000000000) + ".tmp";
  const int nFd =
      ::openat(m_nFd, sScratch.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (nFd < 0) throw CShareError("Can't write " + sName + " in the shared folder: " + Reason());
  bool bWritten = true;
  for (size_t nDone = 0; bWritten && nDone < sData.size();) {
    const ssize_t n = ::write(nFd, sData.data() + nDone, sData.size() - nDone);
    bWritten = n > 0;
    if (bWritten) nDone += static_cast<size_t>(n);
  }
  bWritten = bWritten && ::fsync(nFd) == 0;
  const std::string sReason = bWritten ? "" : Reason();
  ::close(nFd);
  // A rename replaces a link named sName, never what it points at.
  if (!bWritten || ::renameat(m_nFd, sScratch.c_str(), m_nFd, sName.c_str()) != 0) {
    const std::string sWhy = bWritten ? Reason() : sReason;
    ::unlinkat(m_nFd, sScratch.c_str(), 0);
    throw CShareError("Can't write " + sName + " in the shared folder: " + sWhy);
  }
}

void CShareDir::RemoveFile(const std::string& sName) const {
  if (::unlinkat(m_nFd, sName.c_str(), 0) != 0 && errno != ENOENT)
    throw CShareError("Can't remove " + sName + " in the shared folder: " + Reason());
}

bool CShareDir::MakeDir(int nNumber) const {
  if (::mkdirat(m_nFd, NoteDirName(nNumber).c_str(), 0755) == 0) return true;
  if (errno == EEXIST) return false;
  throw CShareError("Can't make a note folder in the shared folder: " + Reason());
}

bool CShareDir::MoveTo(const std::string& sFrom, const CShareDir& to,
                       const std::string& sTo) const {
  return ::renameat2(m_nFd, sFrom.c_str(), to.m_nFd, sTo.c_str(), RENAME_NOREPLACE) == 0;
}

}  // namespace orv

#pragma once
// A ZIP archive written in one go: files and byte strings go in under the
// names they are given (flagged UTF-8, deflated), and Close writes the
// archive beside its path and renames it into place, so a failure never
// leaves half an archive where an earlier one stood.

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

struct zip;
struct zip_source;

namespace orv {

class CZipError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Told the share of the archive written so far, from 0 to 1.
using CZipProgress = std::function<void(double)>;

class CZipArchive {
 public:
  // Starts a new archive at sPath, replacing any there once Close succeeds.
  explicit CZipArchive(std::string sPath);
  ~CZipArchive();
  CZipArchive(const CZipArchive&) = delete;
  CZipArchive& operator=(const CZipArchive&) = delete;

  // sSourcePath is read when the archive is closed; it must be a regular file.
  void AddFile(const std::string& sSourcePath, const std::string& sName);
  void AddBytes(std::string_view sBytes, const std::string& sName);
  // Writes the archive (the long part: every file is read and compressed
  // now). Throws CZipError, leaving the earlier file at the path.
  void Close(const CZipProgress& progress = {});

 private:
  [[noreturn]] void Fail(const std::string& sWhat);
  void Add(zip_source* pSource, const std::string& sName);

  std::string m_sPath;
  zip* m_pZip = nullptr;
};

}  // namespace orv

#pragma once
// A directory inside a shared folder's root, reached without ever following
// a symbolic link: every step below the root is opened by name relative to
// the directory above it. Names used below the root are only note numbers
// ("00042") and the few file names of the layout, so nothing can lead out.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// A shared folder that cannot be reached or written; what() is the message.
class CShareError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "00042" for 42: the name of a note directory.
std::string NoteDirName(int nNumber);
// The number a note directory's name holds, or nullopt for any other name.
std::optional<int> NoteDirNumber(std::string_view sName);

class CShareDir {
 public:
  // The root itself (a directory the user chose; a link to one is fine).
  static CShareDir OpenRoot(const std::string& sRoot);
  // The directory at `parts` (note numbers) below this one; nullopt when it
  // is missing, not a directory, or a link.
  std::optional<CShareDir> Sub(const std::vector<std::string>& parts) const;

  CShareDir(CShareDir&& other) noexcept;
  CShareDir& operator=(CShareDir&& other) noexcept;
  CShareDir(const CShareDir&) = delete;
  CShareDir& operator=(const CShareDir&) = delete;
  ~CShareDir();

  // Note directories here (links left out), by number.
  std::vector<int> NoteDirs() const;
  bool HasFile(const std::string& sName) const;
  // A file's bytes; nullopt when missing, a link, or too big for a value.
  std::optional<std::string> ReadFile(const std::string& sName) const;
  // Writes a scratch file beside it, flushes it and renames it over the name.
  void WriteFile(const std::string& sName, std::string_view sData) const;
  // Removes a file; a missing one is fine.
  void RemoveFile(const std::string& sName) const;
  // Makes the note directory `nNumber`; false when the name is taken.
  bool MakeDir(int nNumber) const;
  // Renames entry sFrom here to sTo in `to` (the same root); false when
  // sFrom is gone or sTo is taken.
  bool MoveTo(const std::string& sFrom, const CShareDir& to, const std::string& sTo) const;

 private:
  explicit CShareDir(int nFd) : m_nFd(nFd) {}
  int m_nFd = -1;
};

}  // namespace orv

#include "attachments/attachment_scratch.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <vector>

namespace orv {

namespace {

constexpr size_t kMaxNameBytes = 200;  // leaves room for a scratch file's suffix
constexpr size_t kMaxExtensionBytes = 16;
constexpr int kMaxCandidates = 1000;

// The longest prefix of at most nBytes that ends between UTF-8 characters.
std::string_view Utf8Prefix(std::string_view s, size_t nBytes) {
  if (s.size() <= nBytes) return s;
  while (nBytes > 0 && (static_cast<unsigned char>(s[nBytes]) & 0xC0) == 0x80) --nBytes;
  return s.substr(0, nBytes);
}

std::pair<std::string_view, std::string_view> SplitExtension(std::string_view sName) {
  const size_t nDot = sName.rfind('.');
  if (nDot == std::string_view::npos || nDot == 0 || sName.size() - nDot > kMaxExtensionBytes)
    return {sName, {}};
  return {sName.substr(0, nDot), sName.substr(nDot)};
}

std::string Candidate(std::string_view sName, int n) {
  if (n == 1) return std::string(sName);
  const auto [sStem, sExtension] = SplitExtension(sName);
  return std::string(sStem) + " (" + std::to_string(n) + ")" + std::string(sExtension);
}

// A plain file (never a link) holding exactly the bytes of sCopy.
bool IsSameCopy(CFileSystem& fs, const std::string& sPath, const std::string& sCopy) {
  std::error_code ec;
  if (std::filesystem::symlink_status(sPath, ec).type() != std::filesystem::file_type::regular)
    return false;
  std::unique_ptr<COsFile> pOld, pNew;
  try {
    pOld = fs.Open(sPath, EOpenMode::Read);
    pNew = fs.Open(sCopy, EOpenMode::Read);
  } catch (const CIoError&) {
    return false;  // one we can't read is not ours
  }
  if (pOld->Size() != pNew->Size()) return false;
  std::vector<char> a(1 << 16), b(1 << 16);
  for (uint64_t nOffset = 0;;) {
    const size_t n = pNew->ReadAt(nOffset, b.data(), b.size());
    if (n == 0) return true;
    if (pOld->ReadAt(nOffset, a.data(), n) != n || !std::equal(b.begin(), b.begin() + n, a.begin()))
      return false;
    nOffset += n;
  }
}

void RemoveQuietly(CFileSystem& fs, const std::string& sPath) {
  try {
    fs.Remove(sPath);
  } catch (const CIoError&) {
    // A scratch file left behind is harmless; the result stands.
  }
}

}  // namespace

std::optional<std::string> SafeFileName(std::string_view sName) {
  const size_t nSlash = sName.find_last_of("/\\");
  if (nSlash != std::string_view::npos) sName.remove_prefix(nSlash + 1);
  if (sName.empty() || sName == "." || sName == ".." ||
      std::any_of(sName.begin(), sName.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
    return std::nullopt;
  if (sName.size() <= kMaxNameBytes) return std::string(sName);
  const auto [sStem, sExtension] = SplitExtension(sName);
  return std::string(Utf8Prefix(sStem, kMaxNameBytes - sExtension.size())) +
         std::string(sExtension);
}

std::string SaveInFolder(CAttachmentStore& store, const CAttachment& attachment,
                         const std::string& sFolder, CFileSystem& fs,
                         const TCopyProgress& progress) {
  const std::optional<std::string> sName = SafeFileName(attachment.sName);
  if (!sName)
    throw CAttachmentError("The attachment name \"" + attachment.sName +
                           "\" can't be used as a file name");
  try {
    fs.CreateDirectories(sFolder);
  } catch (const CIoError& e) {
    throw CAttachmentError(e.what());
  }
  // The copy is made complete under a scratch name first, then gets its name
  // by a hard link, which never replaces what is there, link or file.
  const std::string sCopy = ScratchName(sFolder + "/" + *sName);
  store.Extract(attachment.StreamName(), sCopy, progress);
  try {
    for (int n = 1; n <= kMaxCandidates; ++n) {
      std::string sPath = sFolder + "/" + Candidate(*sName, n);
      if (IsSameCopy(fs, sPath, sCopy)) {
        RemoveQuietly(fs, sCopy);
        return sPath;
      }
      try {
        fs.Link(sCopy, sPath);
        RemoveQuietly(fs, sCopy);
        return sPath;
      } catch (const CIoError& e) {
        if (e.Errno() != EEXIST) throw;
      }
    }
  } catch (const CIoError& e) {
    RemoveQuietly(fs, sCopy);
    throw CAttachmentError(e.what());
  }
  RemoveQuietly(fs, sCopy);
  throw CAttachmentError("There are too many files named \"" + *sName + "\" in " + sFolder);
}

}  // namespace orv

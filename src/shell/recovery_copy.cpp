#include "shell/recovery_copy.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <random>

namespace orv {

namespace {

constexpr std::string_view kCopyExtension = ".orv";
constexpr std::string_view kInfoExtension = ".info";
constexpr std::string_view kLockExtension = ".lock";
constexpr std::string_view kDocumentKey = "Document=";
constexpr std::string_view kStampKey = "Stamp=";
constexpr uint64_t kMaxInfoSize = uint64_t{64} * 1024;

std::string UniqueId() {
  std::random_device random;
  return "orvella-" + std::to_string(::getpid()) + "-" + std::to_string(random());
}

void RemoveQuietly(CFileSystem& fs, const std::string& sPath) {
  try {
    fs.Remove(sPath);
  } catch (const CIoError&) {
    // Gone already, or to be tried again by the next start.
  }
}

std::string InfoText(const COrvellaDoc& doc) {
  // A name that would break the line is not kept: the copy comes back untitled.
  const std::string& sPath = doc.PathName();
  std::string sText(kDocumentKey);
  if (sPath.find('\n') == std::string::npos) sText += sPath;
  sText += "\n";
  if (const std::optional<SFileStamp>& stamp = doc.DiskStamp())
    sText += std::string(kStampKey) + std::to_string(stamp->nDevice) + " " +
             std::to_string(stamp->nInode) + " " + std::to_string(stamp->nSize) + " " +
             std::to_string(stamp->nModifiedNs) + "\n";
  return sText;
}

std::optional<SFileStamp> ParseStamp(std::string_view sText) {
  SFileStamp stamp;
  const char* p = sText.data();
  const char* pEnd = p + sText.size();
  for (auto* pField : {&stamp.nDevice, &stamp.nInode, &stamp.nSize}) {
    auto [pNext, error] = std::from_chars(p, pEnd, *pField);
    if (error != std::errc() || pNext == pEnd || *pNext != ' ') return std::nullopt;
    p = pNext + 1;
  }
  auto [pNext, error] = std::from_chars(p, pEnd, stamp.nModifiedNs);
  if (error != std::errc() || pNext != pEnd) return std::nullopt;
  return stamp;
}

// Fills in what the info file says; a missing or unreadable one says nothing.
void ReadInfo(CFileSystem& fs, SOrphanedCopy& copy) {
  std::optional<std::string> sText;
  try {
    sText = ReadSmallFile(fs, copy.sInfoPath, kMaxInfoSize);
  } catch (const CIoError&) {
  }
  std::string_view sRest = sText ? std::string_view(*sText) : std::string_view();
  while (!sRest.empty()) {
    size_t nEnd = sRest.find('\n');
    std::string_view sLine = sRest.substr(0, nEnd);
    sRest = nEnd == std::string_view::npos ? std::string_view() : sRest.substr(nEnd + 1);
    // Only a full path names the document the copy is saved over.
    if (sLine.starts_with(kDocumentKey) && sLine.substr(kDocumentKey.size()).starts_with('/'))
      copy.sDocument = sLine.substr(kDocumentKey.size());
    else if (sLine.starts_with(kStampKey))
      copy.documentStamp = ParseStamp(sLine.substr(kStampKey.size()));
  }
}

}  // namespace

CRecoveryCopy::CRecoveryCopy(CFileSystem& fs, std::string sFolder)
    : m_fs(fs), m_sFolder(std::move(sFolder)) {
  const std::string sBase = (std::filesystem::path(m_sFolder) / UniqueId()).string();
  m_sCopyPath = sBase + std::string(kCopyExtension);
  m_sInfoPath = sBase + std::string(kInfoExtension);
  m_sLockPath = sBase + std::string(kLockExtension);
}

CRecoveryCopy::~CRecoveryCopy() { Discard(); }

void CRecoveryCopy::Write(COrvellaDoc& doc) {
  if (!m_pLock) {
    m_fs.CreateDirectories(m_sFolder);
    m_pLock = m_fs.Open(m_sLockPath, EOpenMode::OpenOrCreate);
  }
  const std::string sInfo = InfoText(doc);
  if (sInfo != m_sInfo) {
    // The copy of another document must not come back under this one's name.
    if (!m_sInfo.empty()) RemoveQuietly(m_fs, m_sCopyPath);
    ReplaceFileContents(m_fs, m_sInfoPath, sInfo);
    m_sInfo = sInfo;
  }
  doc.SaveCopy(m_sCopyPath);
}

void CRecoveryCopy::Discard() {
  if (!m_pLock) return;
  RemoveQuietly(m_fs, m_sCopyPath);
  RemoveQuietly(m_fs, m_sInfoPath);
  // Last, while still held: until it is gone the others are not anybody's.
  RemoveQuietly(m_fs, m_sLockPath);
  m_pLock.reset();
  m_sInfo.clear();
}

std::vector<SOrphanedCopy> FindOrphanedCopies(CFileSystem& fs, const std::string& sFolder) {
  std::vector<SDirEntry> entries;
  try {
    entries = fs.List(sFolder);
  } catch (const CIoError&) {
    return {};  // no folder, no copies
  }
  std::vector<SOrphanedCopy> found;
  for (const SDirEntry& entry : entries) {
    if (entry.bDirectory || !entry.sName.ends_with(kLockExtension)) continue;
    const std::string sBase = (std::filesystem::path(sFolder) /
                               entry.sName.substr(0, entry.sName.size() - kLockExtension.size()))
                                  .string();
    SOrphanedCopy copy;
    copy.sCopyPath = sBase + std::string(kCopyExtension);
    copy.sInfoPath = sBase + std::string(kInfoExtension);
    copy.sLockPath = sBase + std::string(kLockExtension);
    try {
      copy.pLock = fs.Open(copy.sLockPath, EOpenMode::ReadWrite);
    } catch (const CIoError&) {
      continue;  // its writer lives, or it went meanwhile
    }
    std::optional<SFileStamp> saved = fs.Stamp(copy.sCopyPath);
    if (!saved) {
      // Its writer died before it wrote a copy: nothing to offer.
      RemoveOrphanedCopy(fs, copy);
      continue;
    }
    copy.nSavedNs = saved->nModifiedNs;
    ReadInfo(fs, copy);
    found.push_back(std::move(copy));
  }
  std::sort(found.begin(), found.end(),
            [](const SOrphanedCopy& a, const SOrphanedCopy& b) { return a.nSavedNs > b.nSavedNs; });
  return found;
}

void RestoreOrphanedCopy(COrvellaDoc& doc, const SOrphanedCopy& copy) {
  doc.OnRecoverDocument(copy.sCopyPath, copy.sDocument, copy.documentStamp);
}

void RemoveOrphanedCopy(CFileSystem& fs, const SOrphanedCopy& copy) {
  RemoveQuietly(fs, copy.sCopyPath);
  RemoveStaleScratchFiles(fs, copy.sCopyPath);
  RemoveQuietly(fs, copy.sInfoPath);
  RemoveQuietly(fs, copy.sLockPath);
}

}  // namespace orv

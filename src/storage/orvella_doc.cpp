#include "storage/orvella_doc.h"

#include <filesystem>

#include "model/content_node.h"
#include "ports/settings_defaults.h"
#include "storage/cipher_stream.h"
#include "storage/compound_stream.h"
#include "storage/folder_record.h"

namespace orv {

namespace {

constexpr const char* kCommonInformation = "CommonInformation";
constexpr const char* kContents = "Contents";
constexpr const char* kBookmarkStream = "Bookmark";
constexpr int32_t kCommonFormat = 1;
constexpr int32_t kBookmarkFormat = 1;

std::string WriteBookmarks(const std::vector<CBookmark>& bookmarks, const CCodePage& codePage) {
  CArchiveWriter archive(codePage);
  archive.WriteInt32(kBookmarkFormat);
  archive.WriteInt32(static_cast<int32_t>(bookmarks.size()));
  for (const CBookmark& bookmark : bookmarks) {
    archive.WriteBool8(bookmark.m_bUsed);
    archive.WriteInt32(bookmark.m_nFolder);
    archive.WriteInt32(bookmark.m_nReserved1);
    archive.WriteInt32(bookmark.m_nReserved2);
    archive.WriteString(bookmark.m_sFolderName);
    archive.WriteString(bookmark.m_sText);
  }
  return archive.Take();
}

std::vector<CBookmark> ReadBookmarks(std::string_view data, const CCodePage& codePage) {
  CArchiveReader archive(data, codePage);
  archive.ReadInt32();
  int32_t nCount = archive.ReadInt32();
  if (nCount < 0) throw CArchiveError("Invalid bookmark count " + std::to_string(nCount));
  std::vector<CBookmark> bookmarks;
  for (int32_t i = 0; i < nCount; ++i) {
    CBookmark bookmark;
    bookmark.m_bUsed = archive.ReadBool8();
    bookmark.m_nFolder = archive.ReadInt32();
    bookmark.m_nReserved1 = archive.ReadInt32();
    bookmark.m_nReserved2 = archive.ReadInt32();
    bookmark.m_sFolderName = archive.ReadString();
    bookmark.m_sText = archive.ReadString();
    bookmarks.push_back(std::move(bookmark));
  }
  if (bookmarks.size() < kBookmarkCount) bookmarks.resize(kBookmarkCount);
  return bookmarks;
}

void WriteStream(CCompoundFile& file, const char* pName, const std::string& sData) {
  auto pStream = file.OpenStream(file.CreateStream(CCompoundFile::kRoot, pName));
  pStream->Write(sData.data(), sData.size());
}

// The folder list goes between the archive and the stream in blocks.
class CStreamSink : public CArchiveSink {
 public:
  explicit CStreamSink(CCompoundStream& stream) : m_stream(stream) {}
  void Write(const void* pData, size_t nCount) override { m_stream.Write(pData, nCount); }

 private:
  CCompoundStream& m_stream;
};

// A stored byte that could not be read: unlike a record that doesn't read,
// it says nothing about the passphrase.
class CStoredBytesError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CStreamSource : public CArchiveSource {
 public:
  explicit CStreamSource(CCompoundStream& stream) : m_stream(stream) {}
  size_t Read(void* pBuffer, size_t nCount) override {
    try {
      return m_stream.Read(pBuffer, nCount);
    } catch (const std::exception& e) {
      throw CStoredBytesError(e.what());
    }
  }

 private:
  CCompoundStream& m_stream;
};

}  // namespace

const CClassId COrvellaDoc::kClassId = {0xC4, 0x61, 0x3A, 0x8E, 0x0F, 0x5B, 0x27, 0x4D,
                                        0x9C, 0x1E, 0x2F, 0x7B, 0x40, 0xD9, 0xA3, 0x56};

COrvellaDoc::COrvellaDoc(CUiPort& ui, CSettingsStore& settings, CFileSystem& fs,
                         std::string_view sCodePage)
    : m_ui(ui), m_settings(settings), m_fs(fs), m_codePage(sCodePage) {
  m_noteDefaults.nDefIcon = ReadSetting(m_settings, kDefIcon);
  m_log = [](const std::string&) {};
  OnNewDocument();
}

void COrvellaDoc::OnNewDocument() {
  m_sPassphrase.clear();
  m_folders.Reset(m_noteDefaults);
  m_bookmarks.assign(kBookmarkCount, CBookmark{});
  ClearModified();
  m_sPathName.clear();
}

std::unique_ptr<CCompoundStream> COrvellaDoc::OpenStream(CCompoundFile& file, const char* pName,
                                                         bool bRequired) {
  auto nSid = file.Find(CCompoundFile::kRoot, pName);
  if (!nSid || file.IsStorage(*nSid)) {
    if (bRequired)
      throw CDocumentError(file.Path() + " is not an Orvella document: it has no \"" + pName +
                           "\" stream");
    return nullptr;
  }
  return file.OpenStream(*nSid);
}

std::string COrvellaDoc::ReadStream(CCompoundFile& file, const char* pName) {
  auto pStream = OpenStream(file, pName, false);
  if (!pStream) return {};
  std::string sData(pStream->Size(), '\0');
  pStream->Read(sData.data(), sData.size());
  return sData;
}

CBlowfish COrvellaDoc::MakeCipher(const std::string& sPassphrase) const {
  // The key is the passphrase in the document's code page, as it always was;
  // a passphrase the code page can't hold is keyed by its UTF-8 bytes.
  std::string sKey;
  if (!m_codePage.FromUtf8(sPassphrase, sKey)) sKey = sPassphrase;
  const uint8_t zeroIv[CBlowfish::kBlockSize] = {};
  CBlowfish cipher;
  cipher.BlowfishInit(reinterpret_cast<const uint8_t*>(sKey.data()), sKey.size(), zeroIv);
  return cipher;
}

void COrvellaDoc::ReadContents(CCompoundStream& stream, SLoaded& loaded) {
  CStreamSource source(stream);
  if (!loaded.bEncrypted) {
    CArchiveReader archive(source, stream.Size(), m_codePage);
    ReadFolderList(archive, loaded.folders, m_noteDefaults);
    return;
  }
  CBlowfish cipher = MakeCipher(loaded.sPassphrase);
  CBlowfishEcbSource plain(cipher, source, stream.Size());
  CArchiveReader archive(plain, plain.Size(), m_codePage);
  // Bytes after the record are the padding. A wrong passphrase shows only
  // here, as a record that doesn't read; a failed read is a failed open.
  try {
    ReadFolderList(archive, loaded.folders, m_noteDefaults);
  } catch (const CStoredBytesError&) {
    throw;
  } catch (const std::runtime_error&) {
    throw CPassphraseError(kWrongPassphraseText, true);
  }
}

COrvellaDoc::SLoaded COrvellaDoc::Load(const std::string& sPath,
                                       const std::string* pKnownPassphrase,
                                       const std::string& sShownPath) {
  SLoaded loaded;
  try {
    auto pFile = CCompoundFile::Open(sPath, CCompoundFile::EMode::ReadOnly, m_fs);
    std::string sCommon = ReadStream(*pFile, kCommonInformation);
    if (!sCommon.empty()) {
      CArchiveReader archive(sCommon, m_codePage);
      archive.ReadInt32();
      loaded.bEncrypted = archive.ReadBool8();
    }
    std::string sBookmarks = ReadStream(*pFile, kBookmarkStream);
    if (!sBookmarks.empty()) {
      loaded.bookmarks = ReadBookmarks(sBookmarks, m_codePage);
      loaded.bHasBookmarks = true;
    }
    auto pContents = OpenStream(*pFile, kContents, true);
    if (loaded.bEncrypted) {
      std::optional<std::string> passphrase;
      if (pKnownPassphrase)
        passphrase = *pKnownPassphrase;
      else
        passphrase = m_ui.AskPassphrase("Enter a passphrase", sShownPath);
      // Without a passphrase nothing can be read; the open fails rather than
      // show an empty document that a save would write over the real one.
      if (!passphrase) throw CPassphraseError(kNoPassphraseText, false);
      // An empty one can't key the cipher: it is simply a wrong one.
      if (passphrase->empty()) throw CPassphraseError(kWrongPassphraseText, true);
      loaded.sPassphrase = *passphrase;
    }
    if (pContents->Size() == 0) return loaded;
    ReadContents(*pContents, loaded);
    loaded.bHasContents = true;
  } catch (const CDocumentError&) {
    throw;
  } catch (const std::exception& e) {
    throw CDocumentError("Can't open " + sPath + ": " + e.what());
  }
  return loaded;
}

void COrvellaDoc::OnOpenDocument(const std::string& sPath) {
  // Taken before reading: a change made while we read shows as a change.
  std::optional<SFileStamp> stamp = m_fs.Stamp(sPath);
  TakeLoaded(Load(sPath, nullptr, sPath), sPath, stamp);
  ClearModified();
}

void COrvellaDoc::OnRecoverDocument(const std::string& sCopy, const std::string& sPath,
                                    std::optional<SFileStamp> diskStamp) {
  TakeLoaded(Load(sCopy, nullptr, sPath), sPath, diskStamp);
  ClearModified();
  m_bModified = true;
}

void COrvellaDoc::TakeLoaded(SLoaded loaded, const std::string& sPath,
                             std::optional<SFileStamp> diskStamp) {
  // An empty "Contents" stream leaves the folder list as it was.
  if (loaded.bHasContents) m_folders = std::move(loaded.folders);
  if (loaded.bHasBookmarks) m_bookmarks = std::move(loaded.bookmarks);
  m_sPassphrase = loaded.sPassphrase;
  m_sPathName = sPath;
  m_diskStamp = diskStamp;
}

void COrvellaDoc::LockForChange(const std::string& sPath) {
  m_pChangeLock.reset();
  m_pChangeLock = m_fs.LockForChange(sPath, kChangeLockWait);
  m_sLockedPath = sPath;
}

bool COrvellaDoc::ChangedOnDisk() {
  if (m_sPathName.empty() || !m_diskStamp) return false;
  // A file that is gone loses nothing when it is written again.
  std::optional<SFileStamp> now = m_fs.Stamp(m_sPathName);
  return now && *now != *m_diskStamp;
}

void COrvellaDoc::Merge(const std::string& sPath) {
  SLoaded loaded = Load(sPath, nullptr, sPath);
  if (!loaded.bHasContents || loaded.folders.Empty()) return;
  m_folders.AppendAll(std::move(loaded.folders));
  m_bModified = true;
}

void COrvellaDoc::SetBookmark(size_t k, CBookmark bookmark) {
  m_bookmarks.at(k) = std::move(bookmark);
  m_bModified = true;
}

void COrvellaDoc::SetBookmarks(std::vector<CBookmark> bookmarks) {
  if (bookmarks.size() < kBookmarkCount) bookmarks.resize(kBookmarkCount);
  m_bookmarks = std::move(bookmarks);
  m_bModified = true;
}

void COrvellaDoc::SetProtection(std::string sPassphrase) {
  if (sPassphrase == m_sPassphrase) return;
  m_sPassphrase = std::move(sPassphrase);
  m_bModified = true;
}

void COrvellaDoc::ClearModified() {
  m_bModified = false;
  m_folders.ClearModified();
}

void COrvellaDoc::WriteContents(CCompoundStream& stream, bool bCurrentFolderOnly) {
  CStreamSink sink(stream);
  if (!IsEncrypted()) {
    CArchiveWriter contents(m_codePage, &sink);
    WriteFolderList(contents, m_folders, bCurrentFolderOnly);
    contents.Flush();
    return;
  }
  CBlowfish cipher = MakeCipher(m_sPassphrase);
  CBlowfishEcbSink enciphered(cipher, sink);
  CArchiveWriter contents(m_codePage, &enciphered);
  WriteFolderList(contents, m_folders, bCurrentFolderOnly);
  contents.Flush();
  enciphered.Finish();
}

void COrvellaDoc::Save(const std::string& sPath, bool bCurrentFolderOnly, int nBackupCopies) {
  if (bCurrentFolderOnly && !Folders().Current())
    throw CDocumentError("There is no current folder to export");
  try {
    // A program that read the file to change it holds the lock already.
    std::unique_ptr<CFileLock> pSaveLock;
    if (sPath != m_sLockedPath) pSaveLock = m_fs.LockForChange(sPath, kChangeLockWait);
    RemoveStaleScratchFiles(m_fs, sPath);

    CArchiveWriter common(m_codePage);
    common.WriteInt32(kCommonFormat);
    common.WriteBool8(IsEncrypted());

    // One transaction for all three streams: the new file replaces the old
    // one only when it is complete and durable, and only then do the backup
    // copies move.
    auto pFile = CCompoundFile::Create(sPath, m_fs);
    pFile->SetClassId(CCompoundFile::kRoot, kClassId);
    WriteStream(*pFile, kCommonInformation, common.Data());
    WriteContents(*pFile->OpenStream(pFile->CreateStream(CCompoundFile::kRoot, kContents)),
                  bCurrentFolderOnly);
    WriteStream(*pFile, kBookmarkStream, WriteBookmarks(m_bookmarks, m_codePage));
    std::unique_ptr<CFileLock> pNewFileLock;
    pFile->Commit([&](const std::string& sNewFile) {
      // The lock moves with the name: the new file is locked before anyone can open it.
      if (!pSaveLock && m_pChangeLock) pNewFileLock = m_fs.LockForChange(sNewFile, kChangeLockWait);
      RotateBackupCopies(m_fs, sPath, nBackupCopies, m_log);
    });
    if (pNewFileLock) m_pChangeLock = std::move(pNewFileLock);
  } catch (const std::exception& e) {
    throw CDocumentError("Can't save " + sPath + ": " + e.what());
  }
}

void COrvellaDoc::OnSaveDocument(const std::string& sPath) {
  Save(sPath, false, ReadSetting(m_settings, kNumBackCopies));
  m_sPathName = sPath;
  m_diskStamp = m_fs.Stamp(sPath);
  ClearModified();
}

void COrvellaDoc::ExportCurrentFolder(const std::string& sPath) { Save(sPath, true, 0); }

void COrvellaDoc::SaveCopy(const std::string& sPath) { Save(sPath, false, 0); }

void COrvellaDoc::BackupInto(const std::string& sFolder) {
  if (m_sPathName.empty()) throw CDocumentError("The document has no file to back up yet");
  OnSaveDocument(m_sPathName);
  std::string sTarget =
      (std::filesystem::path(sFolder) / std::filesystem::path(m_sPathName).filename()).string();
  try {
    CopyWholeFile(m_fs, m_sPathName, sTarget);
  } catch (const CIoError& e) {
    throw CDocumentError("Can't copy the document to " + sTarget + ": " + e.what());
  }
}

}  // namespace orv

#include "attachments/attachment_store.h"

#include <memory>

#include "base/code_page.h"
#include "base/trace.h"
#include "storage/compound_file.h"
#include "storage/compound_stream.h"

namespace orv {

namespace {

// Large enough that a copy costs little more than the disk's own speed.
constexpr size_t kCopyBlock = 1 << 20;
constexpr size_t kMaxStreamUnits = 31;

bool IsStreamName(const std::u16string& sName) {
  return !sName.empty() && sName.size() <= kMaxStreamUnits &&
         sName.find_first_of(u"/\\:!") == std::u16string::npos;
}

// The file's name when it can be a stream's and none has it yet; otherwise as
// much of it as fits, with "~" and the first number that makes it new.
std::string ChooseStreamName(const CCompoundFile& store, const std::string& sName) {
  std::u16string sName16 = CCodePage::Utf8ToUtf16(sName);
  if (IsStreamName(sName16) && !store.Find(CCompoundFile::kRoot, sName)) return sName;
  for (char16_t& c : sName16)
    if (c < 0x20 || c == u'/' || c == u'\\' || c == u':' || c == u'!') c = u'_';
  for (uint64_t n = 1;; ++n) {
    const std::u16string sSuffix = u"~" + CCodePage::Utf8ToUtf16(std::to_string(n));
    size_t nKeep = std::min(sName16.size(), kMaxStreamUnits - sSuffix.size());
    // Never half a surrogate pair.
    if (nKeep > 0 && nKeep < sName16.size() && sName16[nKeep - 1] >= 0xD800 &&
        sName16[nKeep - 1] <= 0xDBFF)
      --nKeep;
    std::string sCandidate = CCodePage::Utf16ToUtf8(sName16.substr(0, nKeep) + sSuffix);
    if (!store.Find(CCompoundFile::kRoot, sCandidate)) return sCandidate;
  }
}

std::unique_ptr<CCompoundFile> OpenOrCreate(const std::string& sPath, CFileSystem& fs) {
  try {
    // An existing store that can't be read is kept: creating one in its
    // place would lose every attachment in it.
    if (!fs.Exists(sPath)) return CCompoundFile::Create(sPath, fs);
    return CCompoundFile::Open(sPath, CCompoundFile::EMode::ReadWrite, fs);
  } catch (const std::exception& e) {
    Trace("Attachments: %s\n", e.what());
    throw CAttachmentError(kStoreCreateFailed);
  }
}

}  // namespace

void CopyInBlocks(const std::function<size_t(char*, size_t)>& read,
                  const std::function<void(const char*, size_t)>& write, uint64_t& rDone,
                  uint64_t nTotal, const TCopyProgress& progress) {
  std::vector<char> block(kCopyBlock);
  for (size_t n; (n = read(block.data(), block.size())) > 0;) {
    write(block.data(), n);
    rDone += n;
    if (progress && !progress(rDone, nTotal)) throw CCopyCancelled();
  }
}

std::vector<std::string> CAttachmentStore::Add(const std::vector<SAttachmentSource>& sources,
                                               const TCopyProgress& progress) {
  std::vector<std::unique_ptr<COsFile>> files;
  uint64_t nTotal = 0;
  for (const SAttachmentSource& source : sources) {
    try {
      files.push_back(m_fs.Open(source.sPath, EOpenMode::Read));
      const uint64_t nSize = files.back()->Size();
      // Refused before a byte is copied rather than after two gigabytes.
      if (nSize > cfb::kMaxStreamSize)
        throw CAttachmentError(source.sPath + " is larger than 2 GiB, more than a stream of " +
                               m_sPath + " can hold");
      nTotal += nSize;
    } catch (const CIoError& e) {
      throw CAttachmentError(e.what());
    }
  }
  // Until the commit every change lives in space the store does not use, so
  // a failure anywhere before it leaves the store as it was.
  std::unique_ptr<CCompoundFile> pStore = OpenOrCreate(m_sPath, m_fs);
  std::vector<std::string> streams;
  uint64_t nDone = 0;
  try {
    for (size_t i = 0; i < sources.size(); ++i) {
      streams.push_back(ChooseStreamName(*pStore, sources[i].sName));
      std::unique_ptr<CCompoundStream> pStream =
          pStore->OpenStream(pStore->CreateStream(CCompoundFile::kRoot, streams.back()));
      COsFile& file = *files[i];
      uint64_t nOffset = 0;
      CopyInBlocks(
          [&](char* p, size_t n) {
            const size_t nRead = file.ReadAt(nOffset, p, n);
            nOffset += nRead;
            return nRead;
          },
          [&](const char* p, size_t n) { pStream->Write(p, n); }, nDone, nTotal, progress);
    }
    pStore->Commit();
  } catch (const CAttachmentError&) {
    throw;
  } catch (const std::exception& e) {
    throw CAttachmentError(e.what());
  }
  return streams;
}

void CAttachmentStore::Extract(const std::string& sStream, const std::string& sDestination,
                               const TCopyProgress& progress) {
  std::unique_ptr<CCompoundFile> pStore;
  try {
    pStore = CCompoundFile::Open(m_sPath, CCompoundFile::EMode::ReadOnly, m_fs);
  } catch (const std::exception& e) {
    Trace("Attachments: %s\n", e.what());
    throw CAttachmentError(kStoreMissing);
  }
  const auto nSid = pStore->Find(CCompoundFile::kRoot, sStream);
  if (!nSid || pStore->IsStorage(*nSid))
    throw CAttachmentError("The attachment \"" + sStream + "\" is not in " + m_sPath);
  try {
    std::unique_ptr<CCompoundStream> pStream = pStore->OpenStream(*nSid);
    uint64_t nDone = 0;
    ReplaceFileAtomically(m_fs, sDestination, [&](COsFile& out) {
      uint64_t nOffset = 0;
      CopyInBlocks([&](char* p, size_t n) { return pStream->Read(p, n); },
                   [&](const char* p, size_t n) {
                     out.WriteAt(nOffset, p, n);
                     nOffset += n;
                   },
                   nDone, pStream->Size(), progress);
    });
  } catch (const CAttachmentError&) {
    throw;
  } catch (const std::exception& e) {
    throw CAttachmentError(e.what());
  }
}

}  // namespace orv

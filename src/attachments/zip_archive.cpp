#include "attachments/zip_archive.h"

#include <zip.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace orv {

CZipArchive::CZipArchive(std::string sPath) : m_sPath(std::move(sPath)) {
  int nError = 0;
  m_pZip = zip_open(m_sPath.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &nError);
  if (!m_pZip) {
    zip_error_t error;
    zip_error_init_with_code(&error, nError);
    const std::string sReason = zip_error_strerror(&error);
    zip_error_fini(&error);
    throw CZipError("Can't create the archive " + m_sPath + ": " + sReason);
  }
}

CZipArchive::~CZipArchive() {
  // Never closed (a failure on the way): nothing is written.
  if (m_pZip) zip_discard(m_pZip);
}

void CZipArchive::Fail(const std::string& sWhat) {
  const std::string sReason = zip_strerror(m_pZip);
  zip_discard(m_pZip);
  m_pZip = nullptr;
  throw CZipError(sWhat + ": " + sReason);
}

void CZipArchive::Add(zip_source_t* pSource, const std::string& sName) {
  if (!pSource) Fail("Can't add " + sName + " to " + m_sPath);
  const zip_int64_t nIndex =
      zip_file_add(m_pZip, sName.c_str(), pSource, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
  if (nIndex < 0) {
    zip_source_free(pSource);
    Fail("Can't add " + sName + " to " + m_sPath);
  }
  if (zip_set_file_compression(m_pZip, static_cast<zip_uint64_t>(nIndex), ZIP_CM_DEFLATE, 0) < 0)
    Fail("Can't compress " + sName + " in " + m_sPath);
}

void CZipArchive::AddFile(const std::string& sSourcePath, const std::string& sName) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(sSourcePath, error))
    throw CZipError("Can't read " + sSourcePath + ": it is not a file");
  Add(zip_source_file(m_pZip, sSourcePath.c_str(), 0, -1), sName);
}

void CZipArchive::AddBytes(std::string_view sBytes, const std::string& sName) {
  // libzip reads the bytes at Close, and frees its own copy then.
  void* pCopy = std::malloc(sBytes.empty() ? 1 : sBytes.size());
  if (!pCopy) throw std::bad_alloc();
  std::memcpy(pCopy, sBytes.data(), sBytes.size());
  zip_source_t* pSource = zip_source_buffer(m_pZip, pCopy, sBytes.size(), 1);
  if (!pSource) std::free(pCopy);
  Add(pSource, sName);
}

void CZipArchive::Close(const CZipProgress& progress) {
  if (!m_pZip) throw CZipError("The archive " + m_sPath + " was already closed");
  if (progress) {
    // Every percent; the callback lives until Close returns.
    zip_register_progress_callback_with_state(
        m_pZip, 0.01,
        [](zip_t*, double dDone, void* pProgress) {
          (*static_cast<const CZipProgress*>(pProgress))(dDone);
        },
        nullptr, const_cast<CZipProgress*>(&progress));
  }
  if (zip_close(m_pZip) < 0) Fail("Can't write the archive " + m_sPath);
  m_pZip = nullptr;
}

}  // namespace orv

#pragma once
// "Attachments.stg": the compound file that keeps the bytes of every note's
// attachments, one stream each at its root, shared by all documents. A
// stream is never given other bytes once written: a file whose name is
// taken, or can't be a stream's name, goes to a fresh stream instead.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/file_system.h"

namespace orv {

inline constexpr char kAttachmentsFileName[] = "Attachments.stg";
inline constexpr char kStoreCreateFailed[] = "Can't create storage file!";
inline constexpr char kStoreMissing[] = "Can't find storage file!";

// A failure to show the user, in a box titled "Warning".
class CAttachmentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The user stopped a copy; nothing was changed.
class CCopyCancelled : public CAttachmentError {
 public:
  CCopyCancelled() : CAttachmentError("Cancelled") {}
};

// Told of the bytes copied so far out of all; false stops the copy.
using TCopyProgress = std::function<bool(uint64_t nDone, uint64_t nTotal)>;

struct SAttachmentSource {
  std::string sPath;  // the disk file
  std::string sName;  // the name it is shown by
};

class CAttachmentStore {
 public:
  explicit CAttachmentStore(std::string sPath, CFileSystem& fs = CFileSystem::Default())
      : m_sPath(std::move(sPath)), m_fs(fs) {}

  const std::string& Path() const { return m_sPath; }

  // Copies the files in, all or none, creating the store when it is
  // missing; returns the stream each went to, in order.
  std::vector<std::string> Add(const std::vector<SAttachmentSource>& sources,
                               const TCopyProgress& progress = {});
  // Copies a stream out to sDestination, which is replaced only once the
  // copy is complete.
  void Extract(const std::string& sStream, const std::string& sDestination,
               const TCopyProgress& progress = {});

 private:
  std::string m_sPath;
  CFileSystem& m_fs;
};

// Moves everything `read` gives to `write` in blocks of a fixed size, so a
// file of any size takes the same memory; rDone counts on towards nTotal for
// `progress`, and a stop from it throws CCopyCancelled.
void CopyInBlocks(const std::function<size_t(char*, size_t)>& read,
                  const std::function<void(const char*, size_t)>& write, uint64_t& rDone,
                  uint64_t nTotal, const TCopyProgress& progress);

}  // namespace orv

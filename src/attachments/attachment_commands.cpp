#include "attachments/attachment_commands.h"

#include <algorithm>
#include <filesystem>

#include "base/clock.h"
#include "ports/confirm.h"

namespace orv {

namespace {

constexpr char kAreYouSure[] = "Are you sure";
constexpr char kQuestion[] = "Question";

void Rewrite(CNoteTree& tree, XMLelement& note, const std::vector<CAttachment>& list) {
  WriteAttachments(note, list);
  tree.MarkModified();
}

}  // namespace

std::vector<CAttachment> AddAttachments(CNoteTree& tree, XMLelement& note, CAttachmentStore& store,
                                        const std::vector<std::string>& files,
                                        const TCopyProgress& progress) {
  std::vector<SAttachmentSource> sources;
  sources.reserve(files.size());
  for (const std::string& sFile : files)
    sources.push_back({sFile, std::filesystem::path(sFile).filename().string()});
  const std::vector<std::string> streams = store.Add(sources, progress);
  std::vector<CAttachment> list = ReadAttachments(note);
  const std::string sNow = FormatLocalTime(kAttCreatedFormat);
  for (size_t i = 0; i < sources.size(); ++i) {
    CAttachment& added = list.emplace_back();
    added.sName = sources[i].sName;
    added.sSourcePath = sources[i].sPath;
    added.sCreated = sNow;
    if (streams[i] != added.sName) added.sStream = streams[i];
  }
  Rewrite(tree, note, list);
  return list;
}

std::vector<std::string> FilesOfFolder(CFileSystem& fs, const std::string& sFolder) {
  std::vector<std::string> files;
  try {
    for (const SDirEntry& entry : fs.List(sFolder))
      if (!entry.bDirectory) files.push_back(sFolder + "/" + entry.sName);
  } catch (const CIoError& e) {
    throw CAttachmentError(e.what());
  }
  std::sort(files.begin(), files.end());
  return files;
}

bool DeleteAttachment(CNoteTree& tree, XMLelement& note, size_t i) {
  std::vector<CAttachment> list = ReadAttachments(note);
  if (i >= list.size() || !Confirm(tree.Ui(), tree.Settings(), kAreYouSure, "AttDel", kQuestion))
    return false;
  list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
  Rewrite(tree, note, list);
  return true;
}

bool DeleteAllAttachments(CNoteTree& tree, XMLelement& note) {
  if (!Confirm(tree.Ui(), tree.Settings(), kAreYouSure, "AttDelAll", kQuestion)) return false;
  Rewrite(tree, note, {});
  return true;
}

bool MoveAttachment(CNoteTree& tree, XMLelement& note, size_t i, int nBy) {
  std::vector<CAttachment> list = ReadAttachments(note);
  const size_t nTo = i + static_cast<size_t>(nBy);
  if (i >= list.size() || nTo >= list.size()) return false;
  std::swap(list[i], list[nTo]);
  Rewrite(tree, note, list);
  return true;
}

std::optional<size_t> FindAttachment(const std::vector<CAttachment>& list,
                                     const std::string& sName) {
  const auto it = std::find_if(list.begin(), list.end(),
                               [&](const CAttachment& a) { return a.sName == sName; });
  if (it == list.end()) return std::nullopt;
  return static_cast<size_t>(it - list.begin());
}

}  // namespace orv

#include "tree/bookmark_commands.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "tree/folder_commands.h"

namespace orv {
namespace {

constexpr std::string_view kLinkScheme = "wais:";
constexpr std::string_view kLinkStart = "wais://";
constexpr std::string_view kNoteEnd = "/+_+/";

void CheckBookmarkIndex(int k) {
  if (k < 0 || k >= static_cast<int>(kBookmarkCount))
    throw std::invalid_argument("there is no bookmark " + std::to_string(k));
}

// Record k, or null when the document holds fewer records.
const CBookmark* FindBookmark(const COrvellaDoc& doc, int k) {
  CheckBookmarkIndex(k);
  return k < static_cast<int>(doc.Bookmarks().size()) ? &doc.Bookmarks()[k] : nullptr;
}

std::string Replaced(std::string_view sText, char cFrom, char cTo) {
  std::string sResult(sText);
  std::replace(sResult.begin(), sResult.end(), cFrom, cTo);
  return sResult;
}

// The first folder whose name, seen through `view`, equals sName; -1 when none.
template <typename F>
int FindFolderNamed(const CNoteTree& tree, std::string_view sName, F&& view) {
  const auto& folders = tree.Folders();
  for (size_t i = 0; i < folders.Count(); ++i)
    if (view(folders.At(i).FolderName()) == sName) return static_cast<int>(i);
  return -1;
}

}  // namespace

void SetBookmark(CNoteTree& tree, int k) {
  CheckBookmarkIndex(k);
  tree.Doc().SetBookmark(
      k, CBookmark{true, tree.CurrentIndex(), 0, 0, tree.CurrentFolder().FolderName(), ""});
}

bool IsGoToBookmarkEnabled(const COrvellaDoc& doc, int k) {
  const CBookmark* pBookmark = FindBookmark(doc, k);
  return pBookmark && pBookmark->m_bUsed;
}

bool GoToBookmark(CNoteTree& tree, int k) {
  if (!IsGoToBookmarkEnabled(tree.Doc(), k)) return false;
  // Copied: the record lives in the document the jump marks modified.
  const std::string sName = tree.Doc().Bookmarks()[k].m_sFolderName;
  return ShowFolder(tree, FindFolderNamed(tree, sName, std::identity{}), sName);
}

std::string GoToBookmarkMenuText(const COrvellaDoc& doc, int k) {
  const std::string sKey = std::to_string(k);
  std::string sText = "&" + sKey + "       Ctrl+" + sKey;
  if (IsGoToBookmarkEnabled(doc, k)) sText += " (" + doc.Bookmarks()[k].m_sFolderName + ")";
  return sText;
}

std::string BuildInternalLink(std::string_view sFolder, std::string_view sNote,
                              std::string_view sText) {
  std::string sLink(kLinkStart);
  sLink.append(sFolder).append(":").append(sNote).append(kNoteEnd).append(sText);
  return Replaced(sLink, ' ', '+');
}

std::optional<SInternalLink> ParseInternalLink(std::string_view sLink) {
  if (!sLink.starts_with(kLinkScheme)) return std::nullopt;
  sLink.remove_prefix(sLink.starts_with(kLinkStart) ? kLinkStart.size() : kLinkScheme.size());
  SInternalLink link;
  const size_t nColon = sLink.find(':');
  link.m_sFolder = sLink.substr(0, nColon);
  if (nColon == std::string_view::npos) return link;
  sLink.remove_prefix(nColon + 1);
  const size_t nEnd = sLink.find(kNoteEnd);
  link.m_sNote = Replaced(sLink.substr(0, nEnd), '+', ' ');
  if (nEnd != std::string_view::npos)
    link.m_sText = Replaced(sLink.substr(nEnd + kNoteEnd.size()), '+', ' ');
  return link;
}

std::optional<std::string> MakeInternalLink(CNoteTree& tree, int nFolder, std::string_view sNote,
                                            std::string_view sText) {
  const auto& folders = tree.Folders();
  if (nFolder < 0 || nFolder >= static_cast<int>(folders.Count())) {
    tree.Ui().ShowMessage("Information", "Please select a Folder.", EMessageIcon::Information);
    return std::nullopt;
  }
  return BuildInternalLink(folders.At(nFolder).FolderName(), sNote, sText);
}

ELinkResult FollowLink(CNoteTree& tree, std::string_view sLink) {
  std::optional<SInternalLink> link = ParseInternalLink(sLink);
  if (!link) return ELinkResult::External;
  // The link holds the folder name with its blanks as "+": names compare in
  // that form, so folders with blanks in their names can be reached too.
  const int nIndex = FindFolderNamed(
      tree, link->m_sFolder, [](const std::string& sName) { return Replaced(sName, ' ', '+'); });
  return ShowFolder(tree, nIndex, link->m_sFolder) ? ELinkResult::FolderShown
                                                   : ELinkResult::FolderNotFound;
}

}  // namespace orv

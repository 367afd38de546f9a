#pragma once
// Shared folders: a folder of the document whose notes live in a tree of
// note directories on disk ("00000/", "00001/", ... each with one small
// file per property), so that several users reach the same notes. Changes
// made here are written to the notes' files; a file that someone else
// changed since it was read here is not written over unasked.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "exchange/share_dir.h"
#include "tree/note_tree.h"

namespace orv {

inline constexpr std::string_view kSelectSharedFolder = "Select a shared folder";
inline constexpr std::string_view kShareMarkerFile = "description.txt";
inline constexpr std::string_view kShareMarkerText = "Orvella Shared Folder";
inline constexpr std::string_view kNewSharedNote = "New Shared Note";
inline constexpr std::string_view kSharedFolderCreated =
    "Shared Orvella folder was created.\n\n Warning !!!\n\n This is experimental "
    "upgrade.\nUse carefulle";
inline constexpr std::string_view kKeepMine = "Keep mine";
inline constexpr std::string_view kTakeTheirs = "Take theirs";

// A note's files as last read or written here; nullopt for a missing file.
using CShareFileValues = std::map<std::string, std::optional<std::string>, std::less<>>;

struct SShareNoteState {
  std::vector<std::string> path;  // note directory names from the root
  std::string sSharePath;         // the note's "share_path" as loaded or written
  CShareFileValues files;
};

struct SShareFolderState {
  std::string sRoot;
  std::unordered_map<const XMLelement*, SShareNoteState> notes;
};

// What this program last read from, or wrote to, the shared folders of the
// open document, so that it can tell its own changes from other users'.
// Forget it all (Clear) whenever the document's folders are replaced.
class CSharedFolders {
 public:
  // New Shared Folder: asks for the root, binds a new current folder to it,
  // writes the first note and the marker file when the root has none, and
  // loads it. False on Cancel.
  bool Create(CNoteTree& tree);
  // Writes what changed in `folder` since it was loaded (asking `ui` about
  // files other users changed meanwhile), then loads it afresh: its notes
  // are new elements, keeping which is selected and which are open. A
  // folder not loaded before is only loaded: the directory is what counts.
  // Throws CShareError when the root cannot be used; nothing is written then.
  void Refresh(CXMLTree& folder, CUiPort& ui);
  bool IsLoaded(const CXMLTree& folder) { return StateOf(folder) != nullptr; }
  // Only the writing half of Refresh; nothing for a folder never loaded.
  void Store(CXMLTree& folder, CUiPort& ui);
  // Whether the directory tree differs from what was last read or written
  // here: another user's change, to be loaded. False for a folder never loaded.
  bool ChangedOnDisk(const CXMLTree& folder);
  void Clear() { m_folders.clear(); }
  // The root and note directories of a loaded folder: where other users'
  // changes show.
  std::vector<std::string> Directories(const CXMLTree& folder) const;

 private:
  void Load(CXMLTree& folder);
  SShareFolderState* StateOf(const CXMLTree& folder);

  std::unordered_map<const CXMLTree*, SShareFolderState> m_folders;
};

// Writes the changes of `folder` since `state` was taken to the directory
// tree at `root`, and brings `state` up to date.
void WriteSharedChanges(CXMLTree& folder, SShareFolderState& state, const CShareDir& root,
                        CUiPort& ui);

// The root as a folder keeps it: a path ending in "/".
std::string ShareRootPath(std::string_view sChosen);

}  // namespace orv

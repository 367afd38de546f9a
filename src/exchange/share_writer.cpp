// Writing a shared folder's changes back to its note directories: new notes
// get directories, moved and reordered notes are renumbered, deleted notes'
// directories are set aside, and changed properties are written, each file
// whole, asking first about files another user changed since they were read.

#include <ctime>
#include <unordered_set>

#include "exchange/share_layout.h"
#include "exchange/shared_folder.h"

namespace orv {
namespace {

using CPath = std::vector<std::string>;

CPath ParentOf(const CPath& path) { return CPath(path.begin(), path.end() - 1); }

bool StartsWith(const CPath& path, const CPath& prefix) {
  return path.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), path.begin());
}

class CShareWriter {
 public:
  CShareWriter(CXMLTree& folder, SShareFolderState& state, const CShareDir& root, CUiPort& ui)
      : m_folder(folder), m_state(state), m_root(root), m_ui(ui) {}

  void Run() {
    for (XMLelement* pNote : m_folder.AllNotes()) {
      auto it = m_state.notes.find(pNote);
      // A note copied from elsewhere carries a "share_path" it does not own.
      if (it != m_state.notes.end() && PropertyIs(*pNote, kSharePathKey, it->second.sSharePath)) {
        m_known.insert(pNote);
        m_where[pNote] = it->second.path;
      }
    }
    for (const auto& [pNote, note] : m_state.notes)
      if (!m_known.contains(pNote)) m_deleted.push_back(note.path);
    PlaceAll();
    SetAsideDeleted();
    for (XMLelement* pNote : m_folder.AllNotes()) WriteNote(*pNote);
    // Only what is in the folder now is remembered.
    std::erase_if(m_state.notes,
                  [&](const auto& entry) { return !m_placed.contains(entry.first); });
  }

 private:
  // Top down, so a parent's directory is in place before its notes are.
  void PlaceAll() {
    std::vector<std::pair<XMLelement*, CPath>> pending{{nullptr, {}}};
    while (!pending.empty()) {
      auto [pParent, path] = std::move(pending.back());
      pending.pop_back();
      std::vector<XMLelement*> children;
      for (const auto& pChild : m_folder.GetNoteList(pParent))
        if (pChild->IsNote()) children.push_back(pChild.get());
      std::optional<CShareDir> dir = m_root.Sub(path);
      // Another user removed the parent: its notes here can't be written.
      if (!dir) continue;
      if (!PlaceInOrder(children, path, *dir)) Renumber(children, path, *dir);
      for (XMLelement* pChild : children)
        if (m_placed.contains(pChild)) pending.emplace_back(pChild, m_where[pChild]);
    }
  }

  // The notes already lie in the parent's directory in rising numbers, new
  // ones only after them: new ones get the next free numbers. False when
  // the order on disk differs.
  bool PlaceInOrder(const std::vector<XMLelement*>& children, const CPath& path,
                    const CShareDir& dir) {
    int nLast = -1;
    bool bNewSeen = false;
    for (XMLelement* pChild : children) {
      if (!m_known.contains(pChild)) {
        bNewSeen = true;
        continue;
      }
      const CPath& at = m_where[pChild];
      const std::optional<int> number = NoteDirNumber(at.back());
      if (bNewSeen || ParentOf(at) != path || !number || *number <= nLast) return false;
      nLast = *number;
    }
    const std::vector<int> onDisk = dir.NoteDirs();
    int nNext = std::max(nLast, onDisk.empty() ? -1 : onDisk.back()) + 1;
    for (XMLelement* pChild : children) {
      if (m_known.contains(pChild)) {
        m_placed.insert(pChild);
        continue;
      }
      while (!dir.MakeDir(nNext)) ++nNext;  // another user took it meanwhile
      NewAt(pChild, path, nNext++);
    }
    return true;
  }

  // Numbers the notes 0, 1, ... in their order; directories of the parent
  // that are no note of it (another user's new notes, deleted notes) follow.
  void Renumber(const std::vector<XMLelement*>& children, const CPath& path, const CShareDir& dir) {
    std::unordered_set<std::string> ours;
    for (XMLelement* pChild : children)
      if (m_known.contains(pChild) && ParentOf(m_where[pChild]) == path)
        ours.insert(m_where[pChild].back());
    std::vector<std::string> others;
    const std::vector<int> onDisk = dir.NoteDirs();
    for (int nNumber : onDisk)
      if (!ours.contains(NoteDirName(nNumber))) others.push_back(NoteDirName(nNumber));
    // Out of the way first, under numbers nobody uses, then into place.
    const int nBase =
        std::max(onDisk.empty() ? 0 : onDisk.back() + 1, static_cast<int>(children.size()));
    const int nCount = static_cast<int>(children.size());
    std::vector<bool> moved(children.size(), false);
    for (int i = 0; i < nCount; ++i) {
      XMLelement* pChild = children[i];
      if (!m_known.contains(pChild)) continue;
      const CPath from = m_where[pChild];
      std::optional<CShareDir> fromDir = m_root.Sub(ParentOf(from));
      moved[i] = fromDir && fromDir->MoveTo(from.back(), dir, NoteDirName(nBase + 1 + i));
      if (moved[i]) Rebase(from, Child(path, nBase + 1 + i));
    }
    for (size_t k = 0; k < others.size(); ++k)
      if (dir.MoveTo(others[k], dir, NoteDirName(nBase + 1 + nCount + static_cast<int>(k))))
        Rebase(Child(path, *NoteDirNumber(others[k])),
               Child(path, nBase + 1 + nCount + static_cast<int>(k)));
    for (int i = 0; i < nCount; ++i) {
      if (moved[i] && dir.MoveTo(NoteDirName(nBase + 1 + i), dir, NoteDirName(i))) {
        Rebase(Child(path, nBase + 1 + i), Child(path, i));
        m_placed.insert(children[i]);
        continue;
      }
      // New, or its directory went away under us: made afresh from what is here.
      m_known.erase(children[i]);
      int nNumber = i;
      while (!dir.MakeDir(nNumber)) nNumber = std::max(nNumber + 1, nBase + 1 + nCount + 1000);
      NewAt(children[i], path, nNumber);
    }
    for (size_t k = 0; k < others.size(); ++k) {
      const int nFrom = nBase + 1 + nCount + static_cast<int>(k);
      if (dir.MoveTo(NoteDirName(nFrom), dir, NoteDirName(nCount + static_cast<int>(k))))
        Rebase(Child(path, nFrom), Child(path, nCount + static_cast<int>(k)));
    }
  }

  static CPath Child(CPath path, int nNumber) {
    path.push_back(NoteDirName(nNumber));
    return path;
  }

  void NewAt(XMLelement* pNote, const CPath& path, int nNumber) {
    m_where[pNote] = Child(path, nNumber);
    m_placed.insert(pNote);
  }

  // Every note recorded under `from` is under `to` now.
  void Rebase(const CPath& from, const CPath& to) {
    const auto rebase = [&](CPath& at) {
      if (!StartsWith(at, from)) return;
      CPath moved = to;
      moved.insert(moved.end(), at.begin() + static_cast<long>(from.size()), at.end());
      at = std::move(moved);
    };
    for (auto& [pNote, at] : m_where) rebase(at);
    for (CPath& at : m_deleted) rebase(at);
  }

  // A deleted note's directory is renamed, not removed: no longer read as a
  // note, and still there for whoever wants it back.
  void SetAsideDeleted() {
    const std::string sStamp = std::to_string(std::time(nullptr));
    for (const CPath& at : m_deleted) {
      std::optional<CShareDir> parent = m_root.Sub(ParentOf(at));
      if (parent && parent->Sub({at.back()}))
        parent->MoveTo(at.back(), *parent, ".deleted-" + sStamp + "-" + at.back());
    }
  }

  void WriteNote(XMLelement& note) {
    if (!m_placed.contains(&note)) return;
    const CPath& at = m_where[&note];
    std::optional<CShareDir> dir = m_root.Sub(at);
    if (!dir) return;
    SShareNoteState& state = m_state.notes[&note];
    const bool bNew = !m_known.contains(&note);
    if (bNew) state.files.clear();
    state.path = at;
    state.sSharePath = JoinSharePath(m_state.sRoot, at);
    SetProperty(note, kSharePathKey, state.sSharePath);
    for (const SNoteFile& file : kNoteFiles)
      if (bNew || file.bWrittenBack)
        WriteValue(note, *dir, state, file.sFile, FileValue(note, file), &file);
    CBaseContentNode* pContent = m_folder.ContentOf(note);
    WriteValue(note, *dir, state, kContentFile,
               pContent ? pContent->CachedContent() : std::string(), nullptr);
  }

  // Writes `want` unless the file already holds what was last seen of it
  // changed by someone else: then the user says whose value stays.
  void WriteValue(XMLelement& note, const CShareDir& dir, SShareNoteState& state,
                  std::string_view sFile, const std::optional<std::string>& want,
                  const SNoteFile* pFile) {
    const std::string sName(sFile);
    auto seen = state.files.find(sFile);
    if (seen != state.files.end() && seen->second == want) return;
    if (seen != state.files.end()) {
      const std::optional<std::string> disk = dir.ReadFile(sName);
      if (disk != seen->second && disk != want && !KeepMine(note, sName)) {
        TakeTheirs(note, pFile, disk);
        state.files[sName] = disk;
        return;
      }
    }
    if (want)
      dir.WriteFile(sName, *want);
    else
      dir.RemoveFile(sName);
    state.files[sName] = want;
  }

  bool KeepMine(const XMLelement& note, const std::string& sFile) {
    const std::string sText = "The note \"" + GetProperty(note, kNameKey) +
                              "\" was changed in the shared folder by someone else since it was "
                              "read here (" +
                              sFile + ").\n\nKeep your change, or take theirs?";
    return m_ui.AskChoice(sText, {std::string(kKeepMine), std::string(kTakeTheirs)}) == 0;
  }

  void TakeTheirs(XMLelement& note, const SNoteFile* pFile,
                  const std::optional<std::string>& disk) {
    if (!pFile) {
      if (CBaseContentNode* pContent = m_folder.ContentOf(note))
        pContent->SetContent(disk.value_or(""));
      return;
    }
    if (disk) {
      SetProperty(note, pFile->sKey, *disk);
      return;
    }
    std::erase_if(note.m_children, [&](const auto& pChild) {
      return !pChild->IsNote() && pChild->m_sName == pFile->sKey;
    });
  }

  CXMLTree& m_folder;
  SShareFolderState& m_state;
  const CShareDir& m_root;
  CUiPort& m_ui;
  std::unordered_map<const XMLelement*, CPath> m_where;  // each recorded note's directory now
  std::unordered_set<const XMLelement*> m_known;         // notes that have a directory
  std::unordered_set<const XMLelement*> m_placed;        // notes of the folder now placed
  std::vector<CPath> m_deleted;  // directories of notes no longer in the folder
};

}  // namespace

void WriteSharedChanges(CXMLTree& folder, SShareFolderState& state, const CShareDir& root,
                        CUiPort& ui) {
  CShareWriter(folder, state, root, ui).Run();
}

}  // namespace orv

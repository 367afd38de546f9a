#include "exchange/shared_folder.h"

#include <charconv>
#include <cstdlib>

#include "exchange/share_layout.h"

namespace orv {
namespace {

// Deeper than any outline a person keeps; a deeper tree on disk is not ours.
constexpr size_t kMaxDepth = 1000;

int32_t TypeFromText(std::string_view sText) {
  int32_t nType = 0;
  std::from_chars(sText.data(), sText.data() + sText.size(), nType);
  return nType >= kContentText && nType <= kContentRtf ? nType : kContentText;
}

std::string WithoutLineEnds(std::string sText) {
  std::erase(sText, '\r');
  std::erase(sText, '\n');
  return sText;
}

// The first note of a new shared folder, as its files hold it.
void WriteFirstNote(const CShareDir& root) {
  root.MakeDir(0);
  const std::optional<CShareDir> dir = root.Sub({NoteDirName(0)});
  if (!dir) throw CShareError("Can't make the first note of the shared folder");
  for (const SNoteFile& file : kNoteFiles) {
    if (file.bOnlyWhenSet) continue;
    std::string sValue;
    if (file.sKey == kNameKey) sValue = kNewSharedNote;
    if (file.sKey == kTypeKey) sValue = "2";
    if (file.sKey == kIconKey) sValue = "0";
    if (file.sKey == kExpandKey) sValue = "false";
    if (file.sKey == kSelectedKey) sValue = "true";
    dir->WriteFile(std::string(file.sFile), sValue);
  }
  dir->WriteFile(std::string(kContentFile), "");
}

}  // namespace

std::string ShareRootPath(std::string_view sChosen) {
  std::string sRoot(sChosen);
  if (char* pReal = ::realpath(sRoot.c_str(), nullptr)) {
    sRoot = pReal;
    std::free(pReal);
  }
  if (!sRoot.ends_with('/')) sRoot += '/';
  return sRoot;
}

bool CSharedFolders::Create(CNoteTree& tree) {
  const char* pHome = std::getenv("HOME");
  const std::string sStart = std::string(pHome ? pHome : "") + "/SharedOrvella/";
  std::optional<std::string> chosen =
      tree.Ui().ChooseFolder(std::string(kSelectSharedFolder), sStart);
  if (!chosen) return false;
  const std::string sRoot = ShareRootPath(*chosen);
  // Reached before anything changes: a root that can't be opened adds no folder.
  const CShareDir root = CShareDir::OpenRoot(sRoot);
  tree.StoreEditorContent();
  CFolderList& folders = tree.Folders();
  auto pFolder = std::make_unique<CXMLTree>(std::string_view{}, tree.Doc().NoteDefaults());
  pFolder->TopLevel().clear();
  pFolder->ReplaceContents({});
  pFolder->SetShare(true, sRoot);
  pFolder->SetFolderName("Shared Folder #" + std::to_string(folders.Count()));
  CXMLTree& folder = folders.Append(std::move(pFolder));
  folders.SetCurrent(static_cast<int>(folders.Count() - 1));
  tree.MarkModified();
  if (!root.HasFile(std::string(kShareMarkerFile))) {
    WriteFirstNote(root);
    root.WriteFile(std::string(kShareMarkerFile), kShareMarkerText);
    tree.Ui().ShowMessage("Information", std::string(kSharedFolderCreated),
                          EMessageIcon::Information);
  }
  Load(folder);
  tree.RefreshTree(false);
  tree.RebuildTabs();
  return true;
}

SShareFolderState* CSharedFolders::StateOf(const CXMLTree& folder) {
  auto it = m_folders.find(&folder);
  if (it == m_folders.end()) return nullptr;
  // A folder made where a forgotten one lived is not that one.
  if (!folder.IsShared() || it->second.sRoot != folder.SharePath()) {
    m_folders.erase(it);
    return nullptr;
  }
  return &it->second;
}

void CSharedFolders::Store(CXMLTree& folder, CUiPort& ui) {
  SShareFolderState* pState = StateOf(folder);
  if (!pState) return;
  const CShareDir root = CShareDir::OpenRoot(pState->sRoot);
  // Only a directory that says it is a shared folder is written to.
  if (!root.HasFile(std::string(kShareMarkerFile)))
    throw CShareError(pState->sRoot + " is not a shared folder (it has no " +
                      std::string(kShareMarkerFile) + "): nothing was written");
  WriteSharedChanges(folder, *pState, root, ui);
}

void CSharedFolders::Refresh(CXMLTree& folder, CUiPort& ui) {
  Store(folder, ui);
  Load(folder);
}

void CSharedFolders::Load(CXMLTree& folder) {
  const std::string& sRoot = folder.SharePath();
  CShareDir root = CShareDir::OpenRoot(sRoot);
  SShareFolderState state{sRoot, {}};
  const bool bWasModified = folder.IsModified();
  // Which note is selected and which are open is this user's, not the files'.
  const bool bReload = StateOf(folder) != nullptr;
  std::unordered_map<std::string, std::pair<std::string, std::string>> view;
  if (bReload)
    for (const XMLelement* pNote : folder.AllNotes())
      view[GetProperty(*pNote, kSharePathKey)] = {GetProperty(*pNote, kExpandKey),
                                                  GetProperty(*pNote, kSelectedKey)};
  folder.SetOpenNote(nullptr);
  folder.TopLevel().clear();
  folder.ReplaceContents({});

  // Depth first without recursion: each entry is a directory still to list.
  struct SPending {
    CShareDir dir;
    std::vector<std::string> path;
    XMLelement* pParent;
  };
  std::vector<SPending> pending;
  pending.push_back({std::move(root), {}, nullptr});
  while (!pending.empty()) {
    SPending current = std::move(pending.back());
    pending.pop_back();
    if (current.path.size() >= kMaxDepth) continue;
    std::vector<SPending> children;
    for (int nNumber : current.dir.NoteDirs()) {
      std::optional<CShareDir> dir = current.dir.Sub({NoteDirName(nNumber)});
      if (!dir) continue;
      SShareNoteState note;
      note.path = current.path;
      note.path.push_back(NoteDirName(nNumber));
      note.sSharePath = JoinSharePath(sRoot, note.path);
      for (const SNoteFile& file : kNoteFiles)
        note.files[std::string(file.sFile)] = dir->ReadFile(std::string(file.sFile));
      note.files[std::string(kContentFile)] = dir->ReadFile(std::string(kContentFile));
      const auto text = [&](std::string_view sFile) {
        return note.files[std::string(sFile)].value_or("");
      };
      const int32_t nType = TypeFromText(text("Type.txt"));
      const std::string sName = WithoutLineEnds(text("Name.txt"));
      XMLelement* pNote = folder.InsertNote({.sName = sName,
                                             .nType = nType,
                                             .nContentClass = nType,
                                             .pParent = current.pParent,
                                             .sSharePath = note.sSharePath});
      if (!pNote) continue;
      folder.ContentOf(*pNote)->SetContent(text(kContentFile));
      for (const SNoteFile& file : kNoteFiles) {
        const std::optional<std::string>& value = note.files[std::string(file.sFile)];
        if (value && file.sKey != kNameKey && file.sKey != kTypeKey)
          SetProperty(*pNote, file.sKey, *value);
      }
      if (bReload) {
        auto it = view.find(note.sSharePath);
        SetProperty(*pNote, kExpandKey, it == view.end() ? "false" : it->second.first);
        SetProperty(*pNote, kSelectedKey, it == view.end() ? "false" : it->second.second);
      }
      children.push_back({std::move(*dir), note.path, pNote});
      state.notes.emplace(pNote, std::move(note));
    }
    // Reversed onto the stack, so the first sibling's branch is read first.
    for (auto it = children.rbegin(); it != children.rend(); ++it)
      pending.push_back(std::move(*it));
  }
  m_folders[&folder] = std::move(state);
  // Reading the directory again is no change of the document.
  if (!bWasModified) folder.ClearModified();
}

bool CSharedFolders::ChangedOnDisk(const CXMLTree& folder) {
  const SShareFolderState* pState = StateOf(folder);
  if (!pState) return false;
  std::unordered_map<std::string, const SShareNoteState*> known;
  for (const auto& [pNote, note] : pState->notes) known.emplace(note.sSharePath, &note);
  size_t nSeen = 0;
  std::vector<std::pair<CShareDir, std::string>> pending;
  pending.emplace_back(CShareDir::OpenRoot(pState->sRoot), pState->sRoot);
  while (!pending.empty()) {
    auto [dir, sPath] = std::move(pending.back());
    pending.pop_back();
    for (int nNumber : dir.NoteDirs()) {
      const std::string sNotePath = sPath + NoteDirName(nNumber) + "/";
      auto it = known.find(sNotePath);
      std::optional<CShareDir> noteDir = dir.Sub({NoteDirName(nNumber)});
      if (it == known.end() || !noteDir) return true;
      ++nSeen;
      for (const auto& [sFile, value] : it->second->files)
        if (noteDir->ReadFile(sFile) != value) return true;
      pending.emplace_back(std::move(*noteDir), sNotePath);
    }
  }
  return nSeen != known.size();
}

std::vector<std::string> CSharedFolders::Directories(const CXMLTree& folder) const {
  auto it = m_folders.find(&folder);
  if (it == m_folders.end()) return {};
  std::vector<std::string> directories{it->second.sRoot};
  for (const auto& [pNote, note] : it->second.notes) directories.push_back(note.sSharePath);
  return directories;
}

}  // namespace orv

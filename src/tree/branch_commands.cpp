#include "tree/branch_commands.h"

#include <filesystem>
#include <fstream>
#include <unordered_set>
#include <utility>

#include "model/mini_xml_parser.h"
#include "model/note_keys.h"
#include "model/note_walk.h"
#include "ports/confirm.h"
#include "ports/settings_defaults.h"
#include "tree/note_navigation.h"

namespace orv {

CBranchClipboard::CBranchClipboard() { Clear(); }

void CBranchClipboard::Clear() {
  // The store is a folder, which starts with a note of its own.
  m_store.TopLevel().clear();
  m_store.ReplaceContents({});
}

void CBranchClipboard::Take(CXMLTree& folder, const XMLelement& note) {
  Clear();
  std::unique_ptr<XMLelement> pCopy = folder.CopySubtree(note, &m_store);
  SetProperty(*pCopy, kSelectedKey, "false");
  m_store.TopLevel().push_back(std::move(pCopy));
}

std::unique_ptr<XMLelement> CBranchClipboard::MakeCopy(CXMLTree& target) {
  if (IsEmpty()) return nullptr;
  return m_store.CopySubtree(*m_store.TopLevel().front(), &target);
}

namespace {

constexpr const char* kOrvellaFiles = "Orvella files";

SFileDialog OrvellaFileDialog(bool bSave, std::string sStart = {}) {
  return {bSave, kOrvellaFiles, "*.orv", "orv", std::move(sStart)};
}

bool CopySubnotes(CNoteTree& tree, CBranchClipboard& clipboard, XMLelement& note) {
  // The copy takes what the editor shows, not what was last stored.
  tree.StoreEditorContent();
  clipboard.Take(tree.CurrentFolder(), note);
  return true;
}

bool CutSubnotes(CNoteTree& tree, CBranchClipboard& clipboard, XMLelement& note) {
  CopySubnotes(tree, clipboard, note);
  // Removed as Delete removes, without its question and without selecting the
  // parent: nothing is selected afterwards, so a paste can't reach the cut note.
  ForgetNotes(tree, note);
  tree.CurrentFolder().DeleteNote(note);
  tree.MarkModified();
  tree.RefreshTree(true);
  return true;
}

bool DeleteSubnotes(CNoteTree& tree, XMLelement& note) {
  if (!Confirm(tree.Ui(), tree.Settings(), "Are you sure", kDontAskAllChild.sName, "Question"))
    return false;
  for (const auto& pChild : note.m_children)
    if (pChild->IsNote()) ForgetNotes(tree, *pChild);
  tree.CurrentFolder().DeleteChildNotes(note);
  tree.RefreshTree(true);
  return true;
}

bool IsSameFile(const std::string& sFirst, const std::string& sSecond) {
  if (sFirst.empty() || sSecond.empty()) return false;
  std::error_code error;
  auto first = std::filesystem::weakly_canonical(sFirst, error);
  if (error) return sFirst == sSecond;
  auto second = std::filesystem::weakly_canonical(sSecond, error);
  if (error) return sFirst == sSecond;
  return first == second;
}

bool ExportFolder(CNoteTree& tree) {
  std::optional<std::string> path = tree.Ui().ChooseFile(OrvellaFileDialog(true));
  if (!path) return false;
  COrvellaDoc& doc = tree.Doc();
  // The export holds one folder: written over the document's own file it
  // would lose every other folder.
  if (IsSameFile(*path, doc.PathName()))
    throw CDocumentError("Can't export a folder over the document's own file " + *path);
  tree.StoreEditorContent();
  // A document never saved has no file of its own to save first.
  if (!doc.PathName().empty()) doc.OnSaveDocument(doc.PathName());
  doc.ExportCurrentFolder(*path);
  tree.Ui().ShowMessage("Information", "Export is complete.", EMessageIcon::Information);
  return true;
}

bool MergeDocument(CNoteTree& tree) {
  std::optional<std::string> path =
      tree.Ui().ChooseFile(OrvellaFileDialog(false, ReadSetting(tree.Settings(), kMergeStart)));
  if (!path) return false;
  WriteSetting(tree.Settings(), kMergeStart, *path);
  tree.StoreEditorContent();
  // Appends the folders and makes the one current there current here; a
  // failed load changes nothing.
  tree.Doc().Merge(*path);
  // Another folder is current now: the pane's scroll belongs to the old one.
  tree.RefreshTree(false);
  tree.RebuildTabs();
  return true;
}

bool ExportBranch(CNoteTree& tree, const XMLelement& note, bool bXml) {
  const SFileDialog dialog = bXml ? SFileDialog{true, "XML files", "*.xml", "xml", {}}
                                  : SFileDialog{true, "Text files", "*.txt", "txt", {}};
  std::optional<std::string> path = tree.Ui().ChooseFile(dialog);
  if (!path) return false;
  std::ofstream out(*path, std::ios::binary | std::ios::trunc);
  if (!out) throw CDocumentError("Can't open file " + *path);
  if (bXml)
    WriteElementText(out, note);
  else
    WriteOutline(out, note);
  out.close();
  if (out.fail()) throw CDocumentError("Can't write file " + *path);
  return true;
}

bool IsNoteCommand(EBranchCommand eCommand) {
  return eCommand != EBranchCommand::ExportFolder && eCommand != EBranchCommand::Merge;
}

}  // namespace

bool IsEnabled(CNoteTree& tree, const CBranchClipboard& clipboard, EBranchCommand eCommand) {
  if (eCommand == EBranchCommand::ExportFolder) return tree.Folders().Current() != nullptr;
  if (!IsNoteCommand(eCommand)) return true;
  if (!tree.SelectedNote()) return false;
  return eCommand != EBranchCommand::PasteSubnotes || !clipboard.IsEmpty();
}

bool RunBranchCommand(CNoteTree& tree, CBranchClipboard& clipboard, EBranchCommand eCommand) {
  if (!IsEnabled(tree, clipboard, eCommand)) return false;
  XMLelement* pNote = IsNoteCommand(eCommand) ? tree.SelectedNote() : nullptr;
  switch (eCommand) {
    case EBranchCommand::CopySubnotes:
      return CopySubnotes(tree, clipboard, *pNote);
    case EBranchCommand::CutSubnotes:
      return CutSubnotes(tree, clipboard, *pNote);
    case EBranchCommand::PasteSubnotes:
      return PasteSubnotesUnder(tree, clipboard, pNote) != nullptr;
    case EBranchCommand::DeleteSubnotes:
      return DeleteSubnotes(tree, *pNote);
    case EBranchCommand::ExportFolder:
      return ExportFolder(tree);
    case EBranchCommand::Merge:
      return MergeDocument(tree);
    case EBranchCommand::ExportText:
    case EBranchCommand::ExportXml:
      return ExportBranch(tree, *pNote, eCommand == EBranchCommand::ExportXml);
  }
  return false;
}

XMLelement* PasteSubnotesUnder(CNoteTree& tree, CBranchClipboard& clipboard, XMLelement* pParent) {
  CXMLTree& folder = tree.CurrentFolder();
  if (clipboard.IsEmpty() || (pParent && folder.GetNoteDepth(*pParent) < 0)) return nullptr;
  XMLelement* pPasted = folder.GetNoteList(pParent).emplace_back(clipboard.MakeCopy(folder)).get();
  folder.MarkModified();
  // The pasted note becomes the folder's one selected note (not it and its
  // parent both), as if the user had clicked it.
  SelectByUser(tree, pPasted);
  return pPasted;
}

std::optional<std::string> RunTemplateCommand(CNoteTree& tree, ETemplateCommand eCommand,
                                              const std::string& sProgramDir) {
  const bool bFolder =
      eCommand == ETemplateCommand::InsertFolder || eCommand == ETemplateCommand::SaveFolder;
  const bool bSave =
      eCommand == ETemplateCommand::SaveFolder || eCommand == ETemplateCommand::SaveNote;
  const std::filesystem::path preset = std::filesystem::path(sProgramDir) / "Templates" /
                                       (bFolder ? "Folder/Template.orv" : "Note/Template.txt");
  return tree.Ui().ChooseFile(bFolder
                                  ? OrvellaFileDialog(bSave, preset.string())
                                  : SFileDialog{bSave, "All files", "*.*", "txt", preset.string()});
}

}  // namespace orv

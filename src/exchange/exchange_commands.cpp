#include "exchange/exchange_commands.h"

#include <filesystem>

#include "base/file_system.h"
#include "exchange/keynote_file.h"
#include "exchange/note_files.h"
#include "exchange/treepad_file.h"
#include "model/note_keys.h"

namespace orv {
namespace {

bool IsImport(EExchangeCommand e) {
  switch (e) {
    case EExchangeCommand::ImportKeyNote:
    case EExchangeCommand::ImportTreePad:
    case EExchangeCommand::ImportTextFile:
    case EExchangeCommand::ImportHtmlFile:
    case EExchangeCommand::ImportRtfFile:
      return true;
    default:
      return false;
  }
}

SFileDialog DialogOf(EExchangeCommand e) {
  const bool bSave = !IsImport(e);
  switch (e) {
    case EExchangeCommand::ImportKeyNote:
    case EExchangeCommand::ExportKeyNote:
      return {bSave, "KeyNote files", "*.knt", "knt", {}};
    case EExchangeCommand::ImportTreePad:
    case EExchangeCommand::ExportTreePad:
      return {bSave, "Treepad files", "*.hjt", "hjt", {}};
    case EExchangeCommand::ImportHtmlFile:
      return {bSave, "Html files", "*.htm", "htm", {}};
    case EExchangeCommand::ExportHtmlFile:
      return {bSave, "HTML files", "*.htm", "htm", {}};
    case EExchangeCommand::ImportRtfFile:
    case EExchangeCommand::ExportRtfFile:
      return {bSave, "RichText files", "*.doc", "doc", {}};
    default:
      return {bSave, "Text files", "*.txt", "txt", {}};
  }
}

// Shows the busy state from the file's choice to the command's end, or
// until a message box takes over.
class CBusy {
 public:
  CBusy(const CBusyFunction& busy, const std::string& sWhat) : m_pBusy(busy ? &busy : nullptr) {
    if (m_pBusy) (*m_pBusy)(sWhat);
  }
  CBusy(const CBusy&) = delete;
  CBusy& operator=(const CBusy&) = delete;
  ~CBusy() { End(); }
  void End() {
    if (m_pBusy) (*m_pBusy)({});
    m_pBusy = nullptr;
  }

 private:
  const CBusyFunction* m_pBusy;
};

std::string FileName(const std::string& sPath) {
  return std::filesystem::path(sPath).filename().string();
}

std::string ReadWholeFile(const std::string& sPath) {
  std::unique_ptr<COsFile> pFile = CFileSystem::Default().Open(sPath, EOpenMode::Read);
  std::string sBytes(pFile->Size(), '\0');
  sBytes.resize(pFile->ReadAt(0, sBytes.data(), sBytes.size()));
  return sBytes;
}

int32_t NoteTypeOf(EExchangeCommand e) {
  return e == EExchangeCommand::ImportHtmlFile  ? kContentHtml
         : e == EExchangeCommand::ImportRtfFile ? kContentRtf
                                                : kContentText;
}

// True when the import changed the document.
bool ImportFile(CNoteTree& tree, EExchangeCommand e, const std::string& sPath,
                const std::string& sBytes) {
  CFolderList& folders = tree.Folders();
  const SNoteDefaults& defaults = tree.Doc().NoteDefaults();
  switch (e) {
    case EExchangeCommand::ImportKeyNote:
      ImportKeyNote(folders, sBytes, CCodePage(), defaults);
      return true;
    case EExchangeCommand::ImportTreePad:
      ImportTreePad(folders, tree.SelectedNote(), sBytes, CCodePage(), defaults);
      return true;
    default: {
      // As a new note is made: after the selected one, else at the end.
      XMLelement* pAfter = tree.SelectedNote();
      XMLelement* pParent = nullptr;
      if (pAfter) tree.CurrentFolder().FindParent(*pAfter, pParent);
      XMLelement* pNote = ImportNoteFile(tree.CurrentFolder(), pParent, sPath, sBytes,
                                         NoteTypeOf(e), CCodePage(), pAfter);
      if (pNote) tree.Select(pNote);
      return pNote != nullptr;
    }
  }
}

bool Import(CNoteTree& tree, EExchangeCommand e, const CBusyFunction& busy) {
  std::optional<std::string> path = tree.Ui().ChooseFile(DialogOf(e));
  if (!path) return false;
  CBusy busyState(busy, "Importing " + FileName(*path));
  const std::string sBytes = ReadWholeFile(*path);
  tree.StoreEditorContent();
  try {
    if (!ImportFile(tree, e, *path, sBytes)) return false;
  } catch (const CExchangeError& error) {
    busyState.End();
    tree.Ui().ShowMessage("Warning", error.what(), EMessageIcon::Warning);
    return false;
  }
  tree.MarkModified();
  tree.RefreshTree(true);
  tree.RebuildTabs();
  return true;
}

std::string ExportText(CNoteTree& tree, EExchangeCommand e, const XMLelement* pSelected) {
  switch (e) {
    case EExchangeCommand::ExportKeyNote:
      return WriteKeyNote(tree.Folders());
    case EExchangeCommand::ExportTreePad:
      return WriteTreePad(tree.CurrentFolder());
    case EExchangeCommand::ExportHtmlFile:
      return NoteFileText(tree.CurrentFolder(), *pSelected, ENoteFileForm::Html);
    case EExchangeCommand::ExportRtfFile:
      return NoteFileText(tree.CurrentFolder(), *pSelected, ENoteFileForm::Rtf);
    default:
      return NoteFileText(tree.CurrentFolder(), *pSelected, ENoteFileForm::Text);
  }
}

bool Export(CNoteTree& tree, EExchangeCommand e, const CBusyFunction& busy) {
  const bool bWholeFolders =
      e == EExchangeCommand::ExportKeyNote || e == EExchangeCommand::ExportTreePad;
  const XMLelement* pSelected = tree.SelectedNote();
  if (!bWholeFolders && !pSelected) {
    tree.Ui().ShowMessage("Warning", std::string(kSelectForExport), EMessageIcon::Warning);
    return false;
  }
  std::optional<std::string> path = tree.Ui().ChooseFile(DialogOf(e));
  if (!path) return false;
  CBusy busyState(busy, "Exporting " + FileName(*path));
  tree.StoreEditorContent();
  ReplaceFileContents(CFileSystem::Default(), *path, ExportText(tree, e, pSelected));
  return true;
}

}  // namespace

bool IsEnabled(CNoteTree& tree, EExchangeCommand eCommand) {
  return eCommand != EExchangeCommand::Stats || tree.SelectedNote() != nullptr;
}

bool RunExchangeCommand(CNoteTree& tree, EExchangeCommand eCommand, const CBusyFunction& busy) {
  if (eCommand == EExchangeCommand::Stats) {
    const XMLelement* pSelected = tree.SelectedNote();
    if (!pSelected) return false;
    tree.StoreEditorContent();
    tree.Ui().ShowMessage("Information", NoteStatistics(tree.CurrentFolder(), *pSelected),
                          EMessageIcon::Information);
    return true;
  }
  return IsImport(eCommand) ? Import(tree, eCommand, busy) : Export(tree, eCommand, busy);
}

}  // namespace orv

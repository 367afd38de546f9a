#pragma once
// Whole branches of notes: the branch clipboard (copy, cut, paste and delete
// subnotes), writing the current folder to a document of its own, merging
// another document's folders, writing a branch to a text or XML file, and the
// template file dialogs.

#include <memory>
#include <optional>
#include <string>

#include "tree/note_tree.h"

namespace orv {

// One note with all its subnotes and their content objects, copied deeply, so
// that later changes to the copied notes do not reach it. The application
// owns one for its whole run: it is not the system clipboard, and it outlives
// the documents it was filled from.
class CBranchClipboard {
 public:
  CBranchClipboard();

  bool IsEmpty() const { return m_store.TopLevel().empty(); }
  // The branch held, or null.
  const XMLelement* Branch() const {
    return IsEmpty() ? nullptr : m_store.TopLevel().front().get();
  }
  // Replaces what is held with a copy of `note` of `folder`; the copy's top
  // note is not selected.
  void Take(CXMLTree& folder, const XMLelement& note);
  // A fresh copy of the branch whose content objects are cloned into
  // `target`, so that the branch can be pasted again; null when empty.
  std::unique_ptr<XMLelement> MakeCopy(CXMLTree& target);
  void Clear();

 private:
  // Holds the branch as its only top-level note and owns the branch's
  // content objects, so copying out works as copying from any folder.
  CXMLTree m_store;
};

enum class EBranchCommand {
  CopySubnotes,
  CutSubnotes,
  PasteSubnotes,
  DeleteSubnotes,
  ExportFolder,
  Merge,
  ExportText,
  ExportXml,
};

// Whether the menu offers the command now: the note commands need a selected
// note, paste also something to paste.
bool IsEnabled(CNoteTree& tree, const CBranchClipboard& clipboard, EBranchCommand eCommand);

// Runs the command. False when it is not enabled, or the user said no or
// cancelled a dialog: then nothing changed. Failures to read or write a
// document or file are thrown (CDocumentError) after nothing or only the
// document's own save happened.
bool RunBranchCommand(CNoteTree& tree, CBranchClipboard& clipboard, EBranchCommand eCommand);

// Pastes a copy of the clipboard as the last child of pParent (the top level
// for null), which must be a note of the current folder; the pasted note
// becomes the selected one. Null when the clipboard is empty or pParent is
// not in the current folder (a note deleted or cut since): nothing changed.
XMLelement* PasteSubnotesUnder(CNoteTree& tree, CBranchClipboard& clipboard, XMLelement* pParent);

enum class ETemplateCommand { InsertFolder, SaveFolder, InsertNote, SaveNote };

// The template commands only show their file dialog, preset to the template
// under the program's folder `sProgramDir`; nothing is done with the chosen
// path, which is returned (nullopt on Cancel).
std::optional<std::string> RunTemplateCommand(CNoteTree& tree, ETemplateCommand eCommand,
                                              const std::string& sProgramDir);

}  // namespace orv

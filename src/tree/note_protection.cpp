#include "tree/note_protection.h"

#include <optional>
#include <string_view>
#include <vector>

#include "model/note_keys.h"
#include "model/note_walk.h"
#include "ports/confirm.h"
#include "ports/settings_defaults.h"

namespace orv {
namespace {

// An absent password is no password.
std::string PasswordOf(const XMLelement& note) {
  const XMLelement* pAttribute = FindPropertyElement(note, kPasswordKey);
  return pAttribute ? pAttribute->m_sValue : std::string();
}

bool IsReadOnly(const XMLelement& note) { return GetProperty(note, kReadOnlyKey) == "true"; }

// The content is shown only to whoever typed the note's password in this folder.
bool IsUnlocked(const CXMLTree& folder, const XMLelement& note) {
  const std::string sPassword = PasswordOf(note);
  return sPassword.empty() || sPassword == folder.RememberedPassword();
}

void ToggleReadOnly(CNoteTree& tree, XMLelement& note) {
  // Stored first, so nothing typed is lost when the editor reopens read-only.
  tree.StoreEditorContent();
  SetProperty(note, kReadOnlyKey, IsReadOnly(note) ? "false" : "true");
  tree.MarkModified();
  tree.RefreshTree(true);
}

bool AskPassword(CNoteTree& tree, XMLelement& note) {
  const bool bSubnotes =
      Confirm(tree.Ui(), tree.Settings(), "Do you wish protect also and subnotes ?",
              kDontAskOnNodeSetpassword.sName, "Question");
  std::optional<std::string> password = tree.Ui().AskText(kPasswordCaption, "", true);
  if (!password) return false;
  // Stored while the note is still open as it was: once protected, its
  // editor's text would no longer be taken.
  tree.StoreEditorContent();
  ProtectWithPassword(tree, note, *password, bSubnotes);
  tree.RefreshTree(true);
  return true;
}

}  // namespace

bool IsChecked(CNoteTree& tree, EProtectionCommand eCommand) {
  const XMLelement* pNote = tree.SelectedNote();
  if (!pNote) return false;
  return eCommand == EProtectionCommand::SetReadOnly ? IsReadOnly(*pNote)
                                                     : !PasswordOf(*pNote).empty();
}

bool RunProtectionCommand(CNoteTree& tree, EProtectionCommand eCommand) {
  XMLelement* pNote = tree.SelectedNote();
  if (!pNote) return false;
  if (eCommand == EProtectionCommand::Password) return AskPassword(tree, *pNote);
  ToggleReadOnly(tree, *pNote);
  return true;
}

size_t ProtectWithPassword(CNoteTree& tree, XMLelement& note, const std::string& sPassword,
                           bool bSubnotes) {
  size_t nCount = 0;
  ForEachInBranch(note, [&](XMLelement& current) {
    SetProperty(current, kPasswordKey, sPassword);
    ++nCount;
    return bSubnotes;
  });
  tree.MarkModified();
  return nCount;
}

SNoteOpening OpenNote(CNoteTree& tree, XMLelement& note) {
  CXMLTree& folder = tree.CurrentFolder();
  if (!IsUnlocked(folder, note)) {
    // Whatever is typed is remembered, a wrong password too; Cancel keeps the old one.
    if (std::optional<std::string> typed = tree.Ui().AskText(kPasswordCaption, "", true))
      folder.RememberPassword(std::move(*typed));
  }
  const bool bShow = IsUnlocked(folder, note);
  // Only a record of what the editor shows: viewing does not modify the document.
  SetProperty(note, kSaveKey, bShow ? "true" : "false");
  return {bShow, !bShow || IsReadOnly(note)};
}

// Beside `save`, which an editor may never have recorded: what the editor
// shows was unlocked by the folder's remembered password, and only an
// opening changes that.
bool MayStoreText(const CNoteTree& tree, const XMLelement& note) {
  return IsUnlocked(tree.CurrentFolder(), note);
}

bool StoreEditorTextBack(CNoteTree& tree, XMLelement& note, std::optional<std::string_view> text,
                         int nScrollPos, int nCaretLine) {
  SetProperty(note, kScrollPosKey, std::to_string(nScrollPos));
  SetProperty(note, kCurLineKey, std::to_string(nCaretLine));
  return text && MayStoreText(tree, note) && tree.StoreEditorText(note, *text);
}

}  // namespace orv

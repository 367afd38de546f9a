#include "tree/note_commands.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "base/clock.h"
#include "model/note_keys.h"
#include "model/note_walk.h"
#include "ports/confirm.h"
#include "ports/settings_defaults.h"
#include "tree/note_navigation.h"

namespace orv {
namespace {

constexpr const char* kWarning = "Warning";

CElementList::iterator FindIn(CElementList& list, const XMLelement& note) {
  return std::find_if(list.begin(), list.end(), [&](const auto& p) { return p.get() == &note; });
}

// The nearest note element before or after `it`; other elements are skipped.
CElementList::iterator PreviousNote(CElementList& list, CElementList::iterator it) {
  while (it != list.begin())
    if ((*--it)->IsNote()) return it;
  return list.end();
}

CElementList::iterator NextNote(CElementList& list, CElementList::iterator it) {
  return std::find_if(it + 1, list.end(), [](const auto& p) { return p->IsNote(); });
}

XMLelement* ParentOf(CNoteTree& tree, const XMLelement& note) {
  XMLelement* pParent = nullptr;
  tree.CurrentFolder().FindParent(note, pParent);
  return pParent;
}

bool IsOfferedType(int32_t nType) { return nType >= kContentText && nType <= kContentRtf; }

// The content type of a new note: the default one, or the user's choice.
std::optional<int32_t> ChooseNewNoteType(CNoteTree& tree) {
  CSettingsStore& settings = tree.Settings();
  const int32_t nDefType = ReadSetting(settings, kDefType);
  // A stored type the dialog does not offer ("None", or a damaged value)
  // would give a note without content: ask instead.
  if (ReadSetting(settings, kSetDef) != 0 && IsOfferedType(nDefType)) return nDefType;
  std::optional<SNoteTypeAnswer> answer =
      tree.Ui().AskNoteType(IsOfferedType(nDefType) ? nDefType : kDefType.nDefault);
  if (!answer || !IsOfferedType(answer->nType)) return std::nullopt;
  if (answer->bMakeDefault) {
    WriteSetting(settings, kSetDef, 1);
    WriteSetting(settings, kDefType, answer->nType);
  }
  return answer->nType;
}

XMLelement* InsertNewNote(CNoteTree& tree, XMLelement* pParent, XMLelement* pSibling, bool bBefore,
                          std::string_view sName, int32_t nType) {
  XMLelement* pNote = tree.CurrentFolder().InsertNote({.sName = sName,
                                                       .nType = nType,
                                                       .nContentClass = nType,
                                                       .pParent = pParent,
                                                       .pSibling = pSibling,
                                                       .bBefore = bBefore});
  if (!pNote) return nullptr;
  // The icon setting as it is now, not as it was when the document opened.
  SetProperty(*pNote, kIconKey, std::to_string(ReadSetting(tree.Settings(), kDefIcon)));
  tree.MarkModified();
  return pNote;
}

// The text up to the first line break; the editors may end lines with
// "\r\n" or "\n".
std::string FirstLine(const std::string& sText) {
  std::string sLine = sText.substr(0, sText.find('\n'));
  if (sLine.size() < sText.size() && !sLine.empty() && sLine.back() == '\r') sLine.pop_back();
  return sLine;
}

XMLelement* CreateSubnoteFromSelection(CNoteTree& tree, XMLelement& selected) {
  const std::string sText = tree.View().EditorSelectedText();
  if (sText.empty()) {
    tree.Ui().ShowMessage(kWarning, "Selection is empty", EMessageIcon::Warning);
    return nullptr;
  }
  const std::optional<int32_t> nType = ChooseNewNoteType(tree);
  if (!nType) return nullptr;
  XMLelement* pNote = InsertNewNote(tree, &selected, nullptr, false, FirstLine(sText), *nType);
  if (!pNote) return nullptr;
  // All lines, not only the one that names it.
  if (CBaseContentNode* pContent = tree.CurrentFolder().ContentOf(*pNote))
    pContent->SetContent(sText);
  SelectByUser(tree, pNote);
  return pNote;
}

bool DeleteSelectedNote(CNoteTree& tree, XMLelement& note) {
  if (!Confirm(tree.Ui(), tree.Settings(), "Are you sure ?", kDontAskDelNode.sName, "Question"))
    return false;
  // A top-level note leaves nothing selected.
  tree.Select(ParentOf(tree, note));
  ForgetNotes(tree, note);
  tree.CurrentFolder().DeleteNote(note);
  tree.MarkModified();
  tree.RefreshTree(true);
  return true;
}

// The tree-model step of a move; whether anything changed.
bool MoveInModel(CNoteTree& tree, XMLelement& note, ENoteCommand eCommand) {
  CXMLTree& folder = tree.CurrentFolder();
  XMLelement* pParent = nullptr;
  if (!folder.FindParent(note, pParent)) return false;
  CElementList& list = folder.GetNoteList(pParent);
  const auto it = FindIn(list, note);
  switch (eCommand) {
    case ENoteCommand::MoveUp:
    case ENoteCommand::MoveDown: {
      const auto itOther =
          eCommand == ENoteCommand::MoveUp ? PreviousNote(list, it) : NextNote(list, it);
      if (itOther == list.end()) return false;
      std::iter_swap(it, itOther);
      return true;
    }
    case ENoteCommand::MoveLeft: {
      if (!pParent) return false;
      CElementList& outer = folder.GetNoteList(ParentOf(tree, *pParent));
      const auto itParent = FindIn(outer, *pParent);
      std::unique_ptr<XMLelement> pMoved = std::move(*it);
      list.erase(it);
      outer.insert(itParent + 1, std::move(pMoved));
      return true;
    }
    case ENoteCommand::MoveRight: {
      const auto itPrevious = PreviousNote(list, it);
      if (itPrevious == list.end()) return false;
      XMLelement& newParent = **itPrevious;
      std::unique_ptr<XMLelement> pMoved = std::move(*it);
      list.erase(it);
      newParent.m_children.push_back(std::move(pMoved));
      return true;
    }
    default:
      return false;
  }
}

bool MoveSelectedNote(CNoteTree& tree, XMLelement& note, ENoteCommand eCommand) {
  if (!MoveInModel(tree, note, eCommand)) return false;
  tree.CurrentFolder().MarkModified();
  tree.RefreshTree(true);
  return true;
}

bool SetNameFrom(CNoteTree& tree, XMLelement& note, ENoteCommand eCommand) {
  std::string sName;
  switch (eCommand) {
    case ENoteCommand::NameFromClipboard:
      sName = tree.Ui().ClipboardText().value_or("");
      if (sName.empty()) {
        tree.Ui().ShowMessage(kWarning, "Clipboard is empty", EMessageIcon::Warning);
        return false;
      }
      break;
    case ENoteCommand::NameFromSelection:
      sName = tree.View().EditorSelectedText();
      if (sName.empty()) {
        tree.Ui().ShowMessage(kWarning, "Selection is empty", EMessageIcon::Warning);
        return false;
      }
      break;
    case ENoteCommand::NameDateTime:
      sName = FormatLocalTime("%x %X");
      break;
    case ENoteCommand::NameDate:
      sName = FormatLocalTime("%x");
      break;
    default:
      sName = FormatLocalTime("%X");
      break;
  }
  // Used as it is: no "<" ">" replacement, no cut at line breaks.
  SetProperty(note, kNameKey, sName);
  tree.MarkModified();
  tree.RefreshTree(true);
  return true;
}

// Nobody but the dropped note's own copy may stay selected after a copy.
void Deselect(XMLelement& root) {
  ForEachInBranch(root, [](XMLelement& note) {
    if (GetProperty(note, kSelectedKey) == "true") SetProperty(note, kSelectedKey, "false");
  });
}

}  // namespace

bool IsEnabled(CNoteTree& tree, ENoteCommand eCommand) {
  return eCommand == ENoteCommand::NewNote || eCommand == ENoteCommand::InsertBefore ||
         tree.SelectedNote() != nullptr;
}

XMLelement* CreateNote(CNoteTree& tree, ENoteCommand eCommand) {
  XMLelement* pSelected = tree.SelectedNote();
  const bool bSibling = eCommand == ENoteCommand::NewNote || eCommand == ENoteCommand::InsertBefore;
  if (!pSelected && !bSibling) return nullptr;
  if (eCommand == ENoteCommand::SubnoteFromSelection)
    return CreateSubnoteFromSelection(tree, *pSelected);
  const std::optional<int32_t> nType = ChooseNewNoteType(tree);
  if (!nType) return nullptr;
  XMLelement* pParent = bSibling ? (pSelected ? ParentOf(tree, *pSelected) : nullptr) : pSelected;
  XMLelement* pNote = InsertNewNote(
      tree, pParent, bSibling ? pSelected : nullptr, eCommand == ENoteCommand::InsertBefore,
      tree.CurrentFolder().IsShared() ? kNewSharedNoteName : kNewNoteName, *nType);
  if (!pNote) return nullptr;
  SelectByUser(tree, pNote);
  tree.View().StartLabelEdit(*pNote);
  return pNote;
}

bool RunNoteCommand(CNoteTree& tree, ENoteCommand eCommand) {
  if (!IsEnabled(tree, eCommand)) return false;
  XMLelement* pSelected = tree.SelectedNote();
  switch (eCommand) {
    case ENoteCommand::NewNote:
    case ENoteCommand::InsertBefore:
    case ENoteCommand::NewSubnote:
    case ENoteCommand::SubnoteFromSelection:
      return CreateNote(tree, eCommand) != nullptr;
    case ENoteCommand::Rename:
      tree.View().StartLabelEdit(*pSelected);
      return true;
    case ENoteCommand::Delete:
      return DeleteSelectedNote(tree, *pSelected);
    case ENoteCommand::MoveUp:
    case ENoteCommand::MoveDown:
    case ENoteCommand::MoveLeft:
    case ENoteCommand::MoveRight:
      return MoveSelectedNote(tree, *pSelected, eCommand);
    case ENoteCommand::NameFromClipboard:
    case ENoteCommand::NameFromSelection:
    case ENoteCommand::NameDateTime:
    case ENoteCommand::NameDate:
    case ENoteCommand::NameTime:
      return SetNameFrom(tree, *pSelected, eCommand);
  }
  return false;
}

void OnLabelEdited(CNoteTree& tree, XMLelement& note, std::string_view sText) {
  if (tree.IsRefreshing()) return;
  std::string sName(sText);
  std::replace(sName.begin(), sName.end(), '<', '[');
  std::replace(sName.begin(), sName.end(), '>', ']');
  SetProperty(note, kNameKey, sName);
  tree.MarkModified();
}

bool CanDropNote(const XMLelement& dragged, const XMLelement& target, bool bMove) {
  if (!dragged.IsNote() || !target.IsNote()) return false;
  if (!bMove) return true;
  // Not into its own branch.
  return ForEachInBranch(dragged, [&](const XMLelement& note) { return &note != &target; });
}

XMLelement* DropNote(CNoteTree& tree, XMLelement& dragged, XMLelement& target, EDropPlace ePlace,
                     bool bMove) {
  if (!CanDropNote(dragged, target, bMove)) return nullptr;
  CXMLTree& folder = tree.CurrentFolder();
  XMLelement* pParent = &target;
  if (ePlace != EDropPlace::Onto && !folder.FindParent(target, pParent)) return nullptr;
  CElementList& list = folder.GetNoteList(pParent);
  // The dragged note may be the one open in the editor: its copy must carry
  // the latest text.
  tree.StoreEditorContent();
  // The copy is in place before the source goes, so no subtree is ever lost.
  std::unique_ptr<XMLelement> pCopy = folder.CopySubtree(dragged, &folder);
  if (!bMove) Deselect(*pCopy);
  auto itPlace = list.end();
  if (ePlace != EDropPlace::Onto) {
    itPlace =
        std::find_if(list.begin(), list.end(), [&](const auto& p) { return p.get() == &target; });
    if (ePlace == EDropPlace::After) ++itPlace;
  }
  XMLelement* pPlaced = list.emplace(itPlace, std::move(pCopy))->get();
  folder.MarkModified();
  if (bMove) {
    ForgetNotes(tree, dragged);
    folder.DeleteNote(dragged);
  }
  tree.MarkModified();
  tree.RefreshTree(true);
  return pPlaced;
}

}  // namespace orv

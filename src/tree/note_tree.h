#pragma once
// The core of the note tree pane: the open document's folders, the current
// folder, which notes show and which is selected. Every folder and note
// command works through it; the view (CTreeViewPort) only draws.

#include <string_view>
#include <unordered_map>
#include <vector>

#include "ports/settings_store.h"
#include "ports/ui_port.h"
#include "storage/orvella_doc.h"
#include "tree/tree_view_port.h"

namespace orv {

// The notes visited in one folder, newest last; in memory only.
struct SNoteHistory {
  std::vector<const XMLelement*> m_back;
  std::vector<const XMLelement*> m_forward;
};

class CNoteTree {
 public:
  CNoteTree(COrvellaDoc& doc, CUiPort& ui, CSettingsStore& settings, CTreeViewPort& view);

  COrvellaDoc& Doc() { return m_doc; }
  CUiPort& Ui() { return m_ui; }
  CSettingsStore& Settings() { return m_settings; }
  CTreeViewPort& View() { return m_view; }

  CFolderList& Folders() { return m_doc.Folders(); }
  const CFolderList& Folders() const { return m_doc.Folders(); }
  int CurrentIndex() const { return m_doc.Folders().CurrentIndex(); }
  CXMLTree& CurrentFolder();
  const CXMLTree& CurrentFolder() const;
  void MarkModified() { m_doc.MarkModified(); }

  // Stores the open editor's text, then rebuilds the pane from the current
  // folder. With bKeepScroll the pane's scroll positions are remembered in the
  // folder first; they are restored after.
  void RefreshTree(bool bKeepScroll);
  // True while the view rebuilds the pane: the selection changes it makes
  // then are not the user's and must not be acted on.
  bool IsRefreshing() const { return m_bRefreshing; }
  void StoreEditorContent() { m_view.StoreEditorContent(); }
  void RebuildTabs() { m_view.RebuildTabs(); }

  // A note with a "hide" attribute (whatever its value) is left out with all
  // its subnotes unless its folder shows hidden notes.
  bool IsShown(const XMLelement& note) const;
  // The notes the pane shows under pParent (the top level for null), in order.
  std::vector<XMLelement*> ShownChildren(XMLelement* pParent);
  // The note of the current folder whose "selected" is "true", or null. Only
  // shown notes count: a hidden one has no item in the pane to act on.
  XMLelement* SelectedNote();
  // Makes pNote the folder's one selected note (none for null).
  void Select(XMLelement* pNote);

  // The open editor's text goes back into its note of the current folder.
  // Content and "Modificate time" change only when the text differs, and
  // never while the note's "save" is "false". True when it wrote.
  bool StoreEditorText(XMLelement& note, std::string_view sText);
  // The Back and Forward lists of a folder. Entries may name notes deleted
  // since: check them against the folder before use.
  SNoteHistory& History(const CXMLTree& folder) { return m_histories[&folder]; }

 private:
  COrvellaDoc& m_doc;
  CUiPort& m_ui;
  CSettingsStore& m_settings;
  CTreeViewPort& m_view;
  bool m_bRefreshing = false;
  std::unordered_map<const CXMLTree*, SNoteHistory> m_histories;
};

// The notes a pane shows under pParent of any folder, as CNoteTree::ShownChildren.
std::vector<XMLelement*> ShownChildren(CXMLTree& folder, XMLelement* pParent);

}  // namespace orv

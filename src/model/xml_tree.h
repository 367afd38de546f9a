#pragma once
// One folder: an ordered forest of notes, the folder's own settings, and the
// content objects of its notes.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "model/content_node.h"
#include "model/mini_xml_parser.h"
#include "model/xml_element.h"

namespace orv {

using CContentList = std::vector<std::unique_ptr<CBaseContentNode>>;

// What a new note needs to know that the tree does not (settings, the clock).
struct SNoteDefaults {
  int32_t nDefIcon = 0;  // the `iDefIcon` setting
};

// What a new note is and where it goes.
struct SNewNote {
  std::string_view sName;
  int32_t nType = 0;               // the "type" attribute
  int32_t nContentClass = 0;       // content object of class 0, 1, 2; any other code makes none
  XMLelement* pParent = nullptr;   // the top level when null
  XMLelement* pSibling = nullptr;  // at the end of the parent's notes when null
  bool bBefore = false;            // before pSibling, else after it
  bool bExternal = false;          // a virtual note: its text lives in the file sExternalPath
  std::string_view sExternalPath = {};
  std::string_view sSharePath = {};
};

class CXMLTree {
 public:
  // Parses `sText` (the text form) as the folder's notes, then adds "Note #1".
  explicit CXMLTree(std::string_view sText = {}, const SNoteDefaults& defaults = {});

  CElementList& TopLevel() { return m_parser.m_elements; }
  const CElementList& TopLevel() const { return m_parser.m_elements; }

  // The folder's own settings, stored with it. Name, icon and sharing are
  // changes of the document; showing hidden notes and the scroll positions
  // are the view's and mark nothing.
  const std::string& FolderName() const { return m_sFolderName; }
  void SetFolderName(std::string sName);
  int32_t FolderIcon() const { return m_nFolderIcon; }
  void SetFolderIcon(int32_t nIcon);
  bool IsShared() const { return m_bShared; }
  const std::string& SharePath() const { return m_sSharePath; }
  void SetShare(bool bShared, std::string sPath);
  bool ShowsHidden() const { return m_bShowHidden; }
  void SetShowHidden(bool bShow) { m_bShowHidden = bShow; }
  std::pair<int32_t, int32_t> TreeScroll() const { return {m_nTreeHScroll, m_nTreeVScroll}; }
  void SetTreeScroll(int32_t nHorizontal, int32_t nVertical);

  // The note whose text the editor shows, in memory only: the editor stores
  // back into it while it is set, and deleting that note clears it.
  XMLelement* OpenNote() const { return m_pOpenNote; }
  void SetOpenNote(XMLelement* pNote) { m_pOpenNote = pNote; }
  // The last password typed for a note of this folder; kept only while open.
  const std::string& RememberedPassword() const { return m_sRememberedPassword; }
  void RememberPassword(std::string sPassword) { m_sRememberedPassword = std::move(sPassword); }

  // The list holding `pParent`'s children, or the top level for null.
  CElementList& GetNoteList(XMLelement* pParent);
  // 0 for a top-level note, 1 for its subnotes, ...; -1 when not in this tree.
  int GetNoteDepth(const XMLelement& element) const;
  // The parent note of `element` (null for top level), or false when not in this tree.
  bool FindParent(const XMLelement& element, XMLelement*& rpParent) const;

  // Creates a note with its attributes and content object and inserts it
  // where `note` says. Null when the sibling or the parent is not in place.
  XMLelement* InsertNote(const SNewNote& note);
  // Removes the note with its subtree and the content objects of all its notes.
  bool DeleteNote(XMLelement& note);
  // Removes the subnotes of `parent` with the content objects of every note
  // below it; other child elements stay. Returns how many subnotes went.
  size_t DeleteChildNotes(XMLelement& parent);
  // A deep copy; with `pTarget`, every copied note gets a clone of its
  // content object there, otherwise the copy keeps the source's keys.
  std::unique_ptr<XMLelement> CopySubtree(const XMLelement& element, CXMLTree* pTarget);
  // Sorts `pParent`'s notes by attribute `key`; with null, each top-level
  // note's children and then the top level. Deeper levels keep their order.
  void SortNotes(XMLelement* pParent, std::string_view key);

  // The content objects, in stored order.
  const CContentList& Contents() const { return m_contents; }
  // The content object of a key; null when none. With repeated keys, the first.
  CBaseContentNode* FindContent(std::string_view sKey) const;
  // The note's content object, through its "content" attribute.
  CBaseContentNode* ContentOf(const XMLelement& note) const;
  CBaseContentNode& AddContent(std::unique_ptr<CBaseContentNode> pContent);
  // Puts `contents` in place of the folder's objects (a folder being read).
  void ReplaceContents(CContentList contents);
  // After a load: gives every note its own content object and every object its own key.
  void RelinkContents();
  // Writes every content object through `write`; each may be written once.
  template <typename F>
  void WriteContents(F&& write);

  // Every note, depth first, each before its subnotes.
  std::vector<XMLelement*> AllNotes() const;
  size_t NoteCount() const;

  // Set by every change of notes or of the folder's own settings made here,
  // and by MarkModified for changes made to a note's attributes.
  bool IsModified() const { return m_bModified; }
  void MarkModified() { m_bModified = true; }
  void ClearModified() { m_bModified = false; }

 private:
  struct SKeyHash {
    using is_transparent = void;
    size_t operator()(std::string_view sKey) const { return std::hash<std::string_view>{}(sKey); }
  };

  void RebuildContentIndex();
  // Removes these objects from the folder.
  void RemoveContents(const std::unordered_set<const CBaseContentNode*>& doomed);
  // The objects of every note of the branch under `note` (itself included).
  std::unordered_set<const CBaseContentNode*> BranchContents(const XMLelement& note) const;

  CMiniXMLParser m_parser;  // holds the top-level notes
  std::string m_sFolderName = "Folder #1";
  int32_t m_nFolderIcon = 47;
  bool m_bShared = false;
  bool m_bShowHidden = false;
  std::string m_sSharePath;
  int32_t m_nTreeHScroll = 0;
  int32_t m_nTreeVScroll = 0;
  XMLelement* m_pOpenNote = nullptr;
  std::string m_sRememberedPassword;
  bool m_bModified = false;
  SNoteDefaults m_defaults;
  CContentList m_contents;
  // Every object by its key, the first of equal keys; kept exact by every
  // operation that adds, removes or re-keys objects.
  std::unordered_map<std::string, CBaseContentNode*, SKeyHash, std::equal_to<>> m_contentIndex;
};

template <typename F>
void CXMLTree::WriteContents(F&& write) {
  // The written marks are cleared however the write ends, so the next save can run.
  struct SClearMarks {
    CContentList& contents;
    ~SClearMarks() {
      for (auto& pContent : contents) pContent->EndSave();
    }
  } clearMarks{m_contents};
  for (auto& pContent : m_contents) write(*pContent);
}

}  // namespace orv

#pragma once
// One folder: an ordered forest of notes, the folder's own settings, and the
// content objects of its notes.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
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

  CMiniXMLParser m_parser;  // holds the top-level notes
  std::string m_sFolderName = "Folder #1";
  int32_t m_nFolderIcon = 47;
  bool m_bShared = false;
  bool m_bShowHidden = false;
  std::string m_sSharePath;
  int32_t m_nTreeHScroll = 0;
  int32_t m_nTreeVScroll = 0;
  int32_t m_nEditorPos[2] = {0, 0};  // handed to the editor on refresh; not stored
  // The note whose text the editor shows, in memory only: the editor stores
  // back into it while it is set, and deleting that note clears it.
  XMLelement* m_pOpenNote = nullptr;
  // The last password typed for a note of this folder; kept only while open.
  std::string m_sRememberedPassword;
  CContentList m_contents;

  CElementList& TopLevel() { return m_parser.m_elements; }
  const CElementList& TopLevel() const { return m_parser.m_elements; }

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
  // A deep copy; with `pTargetContents`, every copied note gets a clone of its
  // content object there, otherwise the copy keeps the source's keys.
  std::unique_ptr<XMLelement> CopySubtree(const XMLelement& element, CContentList* pTargetContents);
  // Sorts `pParent`'s notes by attribute `key`; with null, each top-level
  // note's children and then the top level. Deeper levels keep their order.
  void SortNotes(XMLelement* pParent, std::string_view key);

  // The content object of a key, with its index; null and -1 when none.
  CBaseContentNode* FindContent(std::string_view sKey, int* pIndex = nullptr) const;
  // The note's content object, through its "content" attribute.
  CBaseContentNode* ContentOf(const XMLelement& note) const;
  // After a load: gives every note its own content object and every object its own key.
  void RelinkContents();

  // Every note, depth first, each before its subnotes.
  std::vector<XMLelement*> AllNotes() const;
  size_t NoteCount() const;

  // Set whenever notes are inserted, removed or moved; the document reads it.
  bool m_bModified = false;

 private:
  struct SKeyHash {
    using is_transparent = void;
    size_t operator()(std::string_view sKey) const { return std::hash<std::string_view>{}(sKey); }
  };

  // m_contents is appended to and trimmed by other code, so the key index is
  // only a cache: rebuilt when its size no longer matches, and every hit is
  // checked against the object it points at.
  void RebuildContentIndex() const;
  // Indexes objects appended since the last look-up.
  void ExtendContentIndex() const;
  // The index of the first object with this stored key per the cache as it is; npos when none.
  size_t LookUpContentIndex(std::string_view sKey) const;

  SNoteDefaults m_defaults;
  mutable std::unordered_map<std::string, size_t, SKeyHash, std::equal_to<>> m_contentIndex;
  mutable size_t m_nIndexedCount = 0;
};

}  // namespace orv

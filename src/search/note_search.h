#pragma once
// Finding notes: the walk over a folder's notes (or every folder's, with the
// folders' names) that both find dialogs and the command line run. A note
// is found by its name or by its text as the user sees it: the visible text
// of rich-text and HTML notes, never their control words, tags or the key
// of their content object.
//
// A search only reads the document, and may run on a thread of its own: the
// caller keeps the document unchanged until it returns.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/folder_list.h"
#include "search/text_matcher.h"

namespace orv {

// Where to look. The five restricted choices are the advanced dialog's, in
// its order; the folder's own name is looked at only by a document search.
enum class EFindScope { Everywhere, FolderNames, NoteNames, TextNotes, RtfNotes, HtmlNotes };

struct SFindRequest {
  std::string sText;
  bool bMatchCase = false;
  bool bWholeWord = false;
  EFindScope eScope = EFindScope::Everywhere;
};

struct SFindHit {
  size_t nFolder = 0;
  std::string sFolderName;      // as it was when found: passing to the hit looks it up
  XMLelement* pNote = nullptr;  // null when the folder's name matched
  std::vector<size_t> address;  // the note's position among the notes at each level
  std::string sPath;            // its ancestors' names and its own, joined by '\'
  int64_t nPosition = -1;       // code points into the visible text to the first hit; -1 none
};

// Takes each hit as it is found; false stops the search.
using CHitSink = std::function<bool(SFindHit&&)>;

class CNoteSearch {
 public:
  // A set pCancel stops the search at the next note.
  explicit CNoteSearch(const SFindRequest& request, const std::atomic<bool>* pCancel = nullptr);

  // The notes of one folder, in tree order, each before its subnotes. False
  // when cancelled or stopped by the sink.
  bool SearchFolder(const CXMLTree& folder, size_t nFolder, const CHitSink& sink) const;
  // Every folder in tab order: its name, then its notes.
  bool SearchDocument(const CFolderList& folders, const CHitSink& sink) const;

 private:
  bool NameMatches(const XMLelement& note) const;
  // Code points to the first hit in the note's text; -1 when none or not looked at.
  int64_t TextHit(const CXMLTree& folder, const XMLelement& note) const;

  SFindRequest m_request;
  CTextMatcher m_matcher;
  const std::atomic<bool>* m_pCancel;
};

// The text a user sees of a content object, derived once and kept with the
// object until its text changes. A plain-text object's is its own text.
const std::string& VisibleTextOf(const CBaseContentNode& content);

}  // namespace orv

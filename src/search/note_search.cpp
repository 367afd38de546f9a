#include "search/note_search.h"

#include <optional>

#include "model/note_keys.h"
#include "model/note_walk.h"
#include "text/note_text.h"

namespace orv {
namespace {

std::string_view ValueOf(const XMLelement& note, std::string_view key) {
  const XMLelement* pValue = FindPropertyElement(note, key);
  return pValue ? std::string_view(pValue->m_sValue) : std::string_view();
}

// Whether a scope looks at the text of content objects of this type.
bool LooksAtText(EFindScope eScope, int32_t nContentType) {
  switch (eScope) {
    case EFindScope::Everywhere:
      return true;
    case EFindScope::TextNotes:
      return nContentType == kContentText;
    case EFindScope::RtfNotes:
      return nContentType == kContentRtf;
    case EFindScope::HtmlNotes:
      return nContentType == kContentHtml;
    default:
      return false;
  }
}

// A protected note's text is searched only once its password was given in
// this folder: a hit would otherwise tell what the password guards.
bool IsLocked(const CXMLTree& folder, const XMLelement& note) {
  const std::string_view sPassword = ValueOf(note, kPasswordKey);
  return !sPassword.empty() && sPassword != folder.RememberedPassword();
}

std::string DisplayPath(const std::vector<const XMLelement*>& branch) {
  std::string sPath;
  for (const XMLelement* pNote : branch) {
    if (pNote != branch.front()) sPath += '\\';
    sPath += ValueOf(*pNote, kNameKey);
  }
  return sPath;
}

}  // namespace

const std::string& VisibleTextOf(const CBaseContentNode& content) {
  if (content.Type() == kContentText) return content.CachedContent();
  if (const std::string* pKept = content.KeptVisibleText()) return *pKept;
  content.KeepVisibleText(VisibleNoteText(content.CachedContent(), content.Type()));
  return *content.KeptVisibleText();
}

CNoteSearch::CNoteSearch(const SFindRequest& request, const std::atomic<bool>* pCancel)
    : m_request(request),
      m_matcher(request.sText, request.bMatchCase, request.bWholeWord),
      m_pCancel(pCancel) {}

bool CNoteSearch::NameMatches(const XMLelement& note) const {
  // Searching everywhere, the empty text lists every note by its text
  // alone, as the dialogs always did.
  const bool bLooks = m_request.eScope == EFindScope::NoteNames ||
                      (m_request.eScope == EFindScope::Everywhere && !m_request.sText.empty());
  return bLooks && m_matcher.Matches(ValueOf(note, kNameKey));
}

int64_t CNoteSearch::TextHit(const CXMLTree& folder, const XMLelement& note) const {
  const CBaseContentNode* pContent = folder.ContentOf(note);
  if (!pContent || !LooksAtText(m_request.eScope, pContent->Type())) return -1;
  // A locked note shows nothing of its text, and a search sees what the user does.
  const std::string_view sText =
      IsLocked(folder, note) ? std::string_view() : VisibleTextOf(*pContent);
  const std::optional<STextHit> hit = m_matcher.FindInNoteText(sText);
  return hit ? static_cast<int64_t>(CodePointCount(sText, hit->nOffset)) : -1;
}

bool CNoteSearch::SearchFolder(const CXMLTree& folder, size_t nFolder, const CHitSink& sink) const {
  if (m_request.eScope == EFindScope::FolderNames) return true;
  bool bCompleted = true;
  std::vector<const XMLelement*> branch;  // the note visited and its ancestors
  WalkNotes(
      folder.TopLevel(),
      [&](const XMLelement& note) { return !folder.ShowsHidden() && CarriesHide(note); },
      [&](XMLelement& note, const std::vector<size_t>& address) {
        if (m_pCancel && m_pCancel->load(std::memory_order_relaxed)) {
          bCompleted = false;
          return false;
        }
        branch.resize(address.size() - 1);
        branch.push_back(&note);
        const int64_t nPosition = TextHit(folder, note);
        if (nPosition < 0 && !NameMatches(note)) return true;
        SFindHit hit{nFolder, folder.FolderName(), &note, address, DisplayPath(branch), nPosition};
        bCompleted = sink(std::move(hit));
        return bCompleted;
      });
  return bCompleted;
}

bool CNoteSearch::SearchDocument(const CFolderList& folders, const CHitSink& sink) const {
  for (size_t i = 0; i < folders.Count(); ++i) {
    const CXMLTree& folder = folders.At(i);
    // The folder's name is a plain substring test, whatever the boxes say,
    // as the dialog has always had it.
    const bool bFolderScope =
        m_request.eScope == EFindScope::Everywhere || m_request.eScope == EFindScope::FolderNames;
    if (bFolderScope && folder.FolderName().find(m_request.sText) != std::string::npos &&
        !sink(SFindHit{i, folder.FolderName(), nullptr, {}, {}, -1}))
      return false;
    if (!SearchFolder(folder, i, sink)) return false;
  }
  return true;
}

}  // namespace orv

#include "cli/note_path.h"

#include <charconv>

#include "cli/cli_error.h"

namespace orv::cli {

namespace {

std::string Counted(size_t nCount, const char* pNoun) {
  return std::to_string(nCount) + " " + pNoun + (nCount == 1 ? "" : "s");
}

// A plain decimal number: digits only, no sign, no blanks.
bool ParseIndex(std::string_view sText, size_t& rnValue) {
  if (sText.empty()) return false;
  const char* pEnd = sText.data() + sText.size();
  auto [pStop, eError] = std::from_chars(sText.data(), pEnd, rnValue);
  return eError == std::errc{} && pStop == pEnd;
}

CCliError BadSyntax(std::string_view sText) {
  return CCliError("\"" + std::string(sText) +
                   "\" is not a note path: write F:i.j.k, the folder index and then the "
                   "note's position at each level, counting from 0 (e.g. 0:1.0)");
}

}  // namespace

SNotePath ParseNotePath(std::string_view sText) {
  SNotePath path;
  path.m_sText = sText;
  size_t nColon = sText.find(':');
  if (nColon == std::string_view::npos || !ParseIndex(sText.substr(0, nColon), path.m_nFolder))
    throw BadSyntax(sText);
  std::string_view sRest = sText.substr(nColon + 1);
  while (!sRest.empty()) {
    size_t nDot = sRest.find('.');
    size_t nPosition;
    if (!ParseIndex(sRest.substr(0, nDot), nPosition)) throw BadSyntax(sText);
    path.m_positions.push_back(nPosition);
    // A trailing dot leaves an empty last level, which is refused above.
    sRest = nDot == std::string_view::npos ? std::string_view{} : sRest.substr(nDot);
    if (!sRest.empty()) {
      sRest.remove_prefix(1);
      if (sRest.empty()) throw BadSyntax(sText);
    }
  }
  return path;
}

CXMLTree& FindFolder(const COrvellaDoc& doc, const SNotePath& path) {
  const auto& folders = doc.Folders();
  if (path.m_nFolder >= folders.Count())
    throw CCliError("There is no folder " + std::to_string(path.m_nFolder) + ": the document has " +
                    Counted(folders.Count(), "folder"));
  return folders.At(path.m_nFolder);
}

XMLelement& FindNote(const COrvellaDoc& doc, const SNotePath& path) {
  CXMLTree& folder = FindFolder(doc, path);
  if (path.m_positions.empty())
    throw CCliError("\"" + path.m_sText + "\" names folder " + std::to_string(path.m_nFolder) +
                    ", not a note: add the note's position, e.g. " +
                    std::to_string(path.m_nFolder) + ":0");
  const CElementList* pLevel = &folder.TopLevel();
  std::string sParent = "folder " + std::to_string(path.m_nFolder);
  std::string sName = std::to_string(path.m_nFolder) + ":";
  XMLelement* pNote = nullptr;
  for (size_t i = 0; i < path.m_positions.size(); ++i) {
    size_t nWanted = path.m_positions[i];
    size_t nSeen = 0;
    pNote = nullptr;
    for (const auto& pChild : *pLevel) {
      if (!pChild->IsNote()) continue;
      if (nSeen++ == nWanted) {
        pNote = pChild.get();
        break;
      }
    }
    sName += (i ? "." : "") + std::to_string(nWanted);
    if (!pNote)
      throw CCliError("There is no note " + sName + ": " + sParent + " has " +
                      Counted(nSeen, i ? "subnote" : "top-level note"));
    pLevel = &pNote->m_children;
    sParent = "note " + sName;
  }
  return *pNote;
}

}  // namespace orv::cli

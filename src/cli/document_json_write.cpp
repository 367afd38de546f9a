#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/document_json.h"

namespace orv::cli {

namespace {

// Escaped and quoted; text that is not UTF-8 is refused rather than altered.
std::string Quote(const std::string& sText) { return nlohmann::json(sText).dump(); }

const char* Bool(bool b) { return b ? "true" : "false"; }

std::string Blanks(size_t nCount) { return std::string(nCount, ' '); }

// "[", then each item on a line of its own indented two more blanks, then "]"
// at `nIndent`; an empty list is "[]".
template <typename TList, typename FWriteItem>
void WriteList(std::ostream& out, const TList& list, size_t nIndent, FWriteItem writeItem) {
  out << '[';
  bool bFirst = true;
  for (const auto& item : list) {
    out << (bFirst ? "\n" : ",\n") << Blanks(nIndent + 2);
    writeItem(item);
    bFirst = false;
  }
  if (!bFirst) out << '\n' << Blanks(nIndent);
  out << ']';
}

void WriteBookmark(std::ostream& out, const CBookmark& bookmark) {
  out << "{\"used\": " << Bool(bookmark.m_bUsed) << ", \"folder\": " << bookmark.m_nFolder
      << ", \"int1\": " << bookmark.m_nReserved1 << ", \"int2\": " << bookmark.m_nReserved2
      << ", \"folder_name\": " << Quote(bookmark.m_sFolderName)
      << ", \"text\": " << Quote(bookmark.m_sText) << '}';
}

void WriteContent(std::ostream& out, const CBaseContentNode& content) {
  out << "{\"key\": " << Quote(content.OwnKey()) << ", \"type\": " << content.Type()
      << ", \"external\": " << Bool(content.IsExternal()) << ", \"path\": " << Quote(content.Path())
      << ", \"text\": " << Quote(content.CachedContent()) << '}';
}

// Everything of an element up to its children's opening bracket.
void WriteElementHead(std::ostream& out, const XMLelement& element) {
  out << "{\"name\": " << Quote(element.m_sName) << ", \"value\": " << Quote(element.m_sValue)
      << ", \"kind\": " << element.m_nKind << ", \"attributes\": [";
  const char* pSeparator = "";
  for (const auto& pAttribute : element.m_attributes) {
    out << pSeparator << '[' << Quote(pAttribute->m_sName) << ", " << Quote(pAttribute->m_sValue)
        << ']';
    pSeparator = ", ";
  }
  out << "], \"children\": [";
}

// The layout of WriteList, with an explicit stack: elements nest as deep as
// notes do, and a deep document must not exhaust the call stack.
void WriteElements(std::ostream& out, const CElementList& topLevel, size_t nIndent) {
  struct SFrame {
    const CElementList* pList;
    size_t nNext;
    size_t nIndent;
  };
  out << '[';
  std::vector<SFrame> stack{{&topLevel, 0, nIndent}};
  while (!stack.empty()) {
    SFrame& frame = stack.back();
    if (frame.nNext == frame.pList->size()) {
      if (!frame.pList->empty()) out << '\n' << Blanks(frame.nIndent);
      out << ']';
      stack.pop_back();
      if (!stack.empty()) out << '}';  // the element that owns the list
      continue;
    }
    size_t nChildIndent = frame.nIndent + 2;
    const XMLelement& element = *(*frame.pList)[frame.nNext];
    out << (frame.nNext++ ? ",\n" : "\n") << Blanks(nChildIndent);
    WriteElementHead(out, element);
    stack.push_back({&element.m_children, 0, nChildIndent});
  }
}

void WriteFolder(std::ostream& out, const CXMLTree& folder) {
  const std::string sField = "\n      \"";
  out << "{" << sField << "name\": " << Quote(folder.FolderName()) << ',' << sField
      << "icon\": " << folder.FolderIcon() << ',' << sField
      << "shared\": " << Bool(folder.IsShared()) << ',' << sField
      << "share_path\": " << Quote(folder.SharePath()) << ',' << sField
      << "show_hidden\": " << Bool(folder.ShowsHidden()) << ',' << sField
      << "hscroll\": " << folder.TreeScroll().first << ',' << sField
      << "vscroll\": " << folder.TreeScroll().second << ',' << sField << "contents\": ";
  WriteList(out, folder.Contents(), 6, [&](const auto& pContent) { WriteContent(out, *pContent); });
  out << ',' << sField << "notes\": ";
  WriteElements(out, folder.TopLevel(), 6);
  out << "\n    }";
}

}  // namespace

void WriteDocumentJson(std::ostream& out, const COrvellaDoc& doc) {
  out << "{\n  \"encrypted\": " << Bool(doc.IsEncrypted())
      << ",\n  \"current_folder\": " << doc.Folders().CurrentIndex() << ",\n  \"bookmarks\": ";
  WriteList(out, doc.Bookmarks(), 2,
            [&](const CBookmark& bookmark) { WriteBookmark(out, bookmark); });
  out << ",\n  \"folders\": ";
  WriteList(out, doc.Folders(), 2, [&](const auto& pFolder) { WriteFolder(out, *pFolder); });
  out << "\n}\n";
}

}  // namespace orv::cli

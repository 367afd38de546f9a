#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "cli/cli_error.h"
#include "cli/document_json.h"
#include "cli/json_object.h"
#include "model/note_keys.h"

namespace orv::cli {

namespace {

using nlohmann::json;

// Gives every note the new object of the content its JSON key names.
class CContentLinker {
 public:
  // `pContent` stays owned by the folder; keys must be unique within it.
  void Add(const std::string& sKey, CBaseContentNode* pContent, const CJsonPath& path) {
    if (!m_byKey.emplace(sKey, SEntry{pContent, false}).second)
      throw path.Error("key", "\"" + sKey + "\" is the key of an earlier content too");
  }

  void Link(XMLelement& note, const CJsonPath& path) {
    if (!FindPropertyElement(note, kContentKey)) return;  // a note without content is allowed
    std::string sKey = GetProperty(note, kContentKey);
    auto it = m_byKey.find(sKey);
    if (it == m_byKey.end())
      throw path.Error({}, "the note's \"content\" names key \"" + sKey +
                               "\", which no content of this folder has");
    if (it->second.bClaimed)
      throw path.Error({}, "the note's \"content\" names key \"" + sKey +
                               "\", which another note uses too; each note needs a content "
                               "of its own");
    it->second.bClaimed = true;
    SetProperty(note, kContentKey, it->second.pContent->OwnKey());
  }

 private:
  struct SEntry {
    CBaseContentNode* pContent;
    bool bClaimed;
  };
  std::unordered_map<std::string, SEntry> m_byKey;
};

std::unique_ptr<XMLelement> ReadElementHead(const CJsonObject& object, const CJsonPath& path) {
  auto pElement = std::make_unique<XMLelement>();
  pElement->m_sName = object.String("name");
  pElement->m_sValue = object.String("value");
  pElement->m_nKind = object.Int32("kind");
  const json& attributes = object.Array("attributes");
  for (size_t i = 0; i < attributes.size(); ++i) {
    const json& pair = attributes[i];
    if (!pair.is_array() || pair.size() != 2 || !pair[0].is_string() || !pair[1].is_string())
      throw path.Error("attributes[" + std::to_string(i) + "]",
                       "expected a pair of strings [name, value]");
    pElement->m_attributes.push_back(std::make_unique<XMLattribute>(
        XMLattribute{pair[0].get<std::string>(), pair[1].get<std::string>()}));
  }
  return pElement;
}

// Elements nest as deep as notes do: an explicit stack keeps a deep document
// from exhausting the call stack. Notes are linked once their children are read.
void ReadJsonElements(const json& elements, CElementList& target, CJsonPath& path,
                      CContentLinker& linker) {
  struct SFrame {
    const json* pArray;
    CElementList* pTarget;
    XMLelement* pOwner;
    size_t nNext;
  };
  std::vector<SFrame> stack{{&elements, &target, nullptr, 0}};
  while (!stack.empty()) {
    SFrame& frame = stack.back();
    if (frame.nNext == frame.pArray->size()) {
      XMLelement* pOwner = frame.pOwner;
      stack.pop_back();
      if (!pOwner) continue;
      path.Pop();  // "children"
      if (pOwner->IsNote()) linker.Link(*pOwner, path);
      path.Pop();  // the owner's index
      continue;
    }
    path.PushIndex(frame.nNext);
    CJsonObject object((*frame.pArray)[frame.nNext++], path,
                       {"name", "value", "kind", "attributes", "children"});
    frame.pTarget->push_back(ReadElementHead(object, path));
    XMLelement* pElement = frame.pTarget->back().get();
    path.PushName("children");
    stack.push_back({&object.Array("children"), &pElement->m_children, pElement, 0});
  }
}

std::unique_ptr<CXMLTree> ReadJsonFolder(const json& value, CJsonPath& path,
                                         const SNoteDefaults& defaults) {
  CJsonObject object(value, path,
                     {"name", "icon", "shared", "share_path", "show_hidden", "hscroll", "vscroll",
                      "contents", "notes"});
  auto pTree = std::make_unique<CXMLTree>(std::string_view{}, defaults);
  // A folder holds exactly the notes the JSON lists, not the new folder's "Note #1".
  while (!pTree->TopLevel().empty()) pTree->DeleteNote(*pTree->TopLevel().front());
  pTree->SetFolderName(object.String("name"));
  pTree->SetFolderIcon(object.Int32("icon"));
  const bool bShared = object.Bool("shared");
  pTree->SetShare(bShared, object.String("share_path"));
  pTree->SetShowHidden(object.Bool("show_hidden"));
  const int32_t nHScroll = object.Int32("hscroll");
  pTree->SetTreeScroll(nHScroll, object.Int32("vscroll"));

  CContentLinker linker;
  CContentList contentList;
  const json& contents = object.Array("contents");
  path.PushName("contents");
  for (size_t i = 0; i < contents.size(); ++i) {
    path.PushIndex(i);
    CJsonObject content(contents[i], path, {"key", "type", "external", "path", "text"});
    auto pContent = CBaseContentNode::Make(content.Int32("type"), content.String("text"),
                                           content.Bool("external"), content.String("path"));
    if (!pContent) throw path.Error("type", "expected 0 (text), 1 (HTML) or 2 (rich text)");
    linker.Add(content.String("key"), pContent.get(), path);
    contentList.push_back(std::move(pContent));
    path.Pop();
  }
  path.Pop();

  path.PushName("notes");
  ReadJsonElements(object.Array("notes"), pTree->TopLevel(), path, linker);
  path.Pop();
  pTree->ReplaceContents(std::move(contentList));
  pTree->ClearModified();
  return pTree;
}

CBookmark ReadBookmark(const json& value, const CJsonPath& path) {
  CJsonObject object(value, path, {"used", "folder", "int1", "int2", "folder_name", "text"});
  CBookmark bookmark;
  bookmark.m_bUsed = object.Bool("used");
  bookmark.m_nFolder = object.Int32("folder");
  bookmark.m_nReserved1 = object.Int32("int1");
  bookmark.m_nReserved2 = object.Int32("int2");
  bookmark.m_sFolderName = object.String("folder_name");
  bookmark.m_sText = object.String("text");
  return bookmark;
}

json Parse(std::string_view sJson) {
  try {
    return json::parse(sJson);
  } catch (const json::parse_error& e) {
    // The library's text names the byte and what it expected there.
    throw CCliError(std::string("Invalid JSON: ") + e.what());
  }
}

}  // namespace

bool ReadDocumentJson(std::string_view sJson, COrvellaDoc& doc) {
  json root = Parse(sJson);
  CJsonPath path;
  CJsonObject object(root, path, {"encrypted", "current_folder", "bookmarks", "folders"});
  bool bEncrypted = object.Bool("encrypted");

  std::vector<CBookmark> bookmarks;
  const json& bookmarkValues = object.Array("bookmarks");
  path.PushName("bookmarks");
  for (size_t i = 0; i < bookmarkValues.size(); ++i) {
    path.PushIndex(i);
    bookmarks.push_back(ReadBookmark(bookmarkValues[i], path));
    path.Pop();
  }
  path.Pop();

  CFolderList folders;
  const json& folderValues = object.Array("folders");
  path.PushName("folders");
  for (size_t i = 0; i < folderValues.size(); ++i) {
    path.PushIndex(i);
    folders.Append(ReadJsonFolder(folderValues[i], path, doc.NoteDefaults()));
    path.Pop();
  }
  path.Pop();
  int32_t nCurrent = object.Int32("current_folder");
  int32_t nFolders = static_cast<int32_t>(folders.Count());
  if (nCurrent < 0 || nCurrent >= std::max(nFolders, 1))
    throw path.Error("current_folder",
                     nFolders ? "expected a folder index from 0 to " + std::to_string(nFolders - 1)
                              : "expected 0, as there are no folders");
  if (nFolders > 0) folders.SetCurrent(nCurrent);

  doc.Folders() = std::move(folders);
  doc.SetBookmarks(std::move(bookmarks));
  doc.MarkModified();
  return bEncrypted;
}

}  // namespace orv::cli

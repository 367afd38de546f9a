#include "storage/folder_record.h"

#include <string>
#include <vector>

#include "model/note_keys.h"

namespace orv {

namespace {

constexpr uint8_t kElementFormat = 2;

// Counts come from the file: a negative one is damage, and a large one is
// bounded by the bytes each item needs, so nothing is reserved from it.
int32_t ReadCount(CArchiveReader& archive, const char* pWhat) {
  size_t nAt = archive.Position();
  int32_t nCount = archive.ReadInt32();
  if (nCount < 0)
    throw CArchiveError("Invalid " + std::string(pWhat) + " count " + std::to_string(nCount) +
                        " at byte " + std::to_string(nAt));
  return nCount;
}

void ReadElementHead(CArchiveReader& archive, XMLelement& element) {
  uint8_t nFormat = archive.ReadByte();
  element.m_sName = archive.ReadString();
  element.m_sValue = archive.ReadString();
  element.m_nKind = archive.ReadInt32();
  for (int32_t i = ReadCount(archive, "attribute"); i > 0; --i) {
    archive.ReadByte();
    auto pAttribute = std::make_unique<XMLattribute>();
    pAttribute->m_sName = archive.ReadString();
    pAttribute->m_sValue = archive.ReadString();
    element.m_attributes.push_back(std::move(pAttribute));
  }
  if (nFormat < kElementFormat && element.m_sName == kIconKey)
    element.m_sValue = std::to_string(ConvertOldIcon(std::atoi(element.m_sValue.c_str())));
}

void WriteElementHead(CArchiveWriter& archive, const XMLelement& element) {
  archive.WriteByte(kElementFormat);
  archive.WriteString(element.m_sName);
  archive.WriteString(element.m_sValue);
  archive.WriteInt32(element.m_nKind);
  archive.WriteInt32(static_cast<int32_t>(element.m_attributes.size()));
  for (const auto& pAttribute : element.m_attributes) {
    archive.WriteByte(1);
    archive.WriteString(pAttribute->m_sName);
    archive.WriteString(pAttribute->m_sValue);
  }
}

}  // namespace

// Elements nest as deep as notes do, so both directions walk with an explicit
// stack: a hostile file can't exhaust the call stack.
void WriteElement(CArchiveWriter& archive, const XMLelement& element) {
  struct SFrame {
    const XMLelement* pElement;
    size_t nNextChild;
  };
  WriteElementHead(archive, element);
  archive.WriteInt32(static_cast<int32_t>(element.m_children.size()));
  std::vector<SFrame> stack{{&element, 0}};
  while (!stack.empty()) {
    SFrame& frame = stack.back();
    if (frame.nNextChild == frame.pElement->m_children.size()) {
      stack.pop_back();
      continue;
    }
    const XMLelement& child = *frame.pElement->m_children[frame.nNextChild++];
    WriteElementHead(archive, child);
    archive.WriteInt32(static_cast<int32_t>(child.m_children.size()));
    stack.push_back({&child, 0});
  }
}

std::unique_ptr<XMLelement> ReadElement(CArchiveReader& archive) {
  struct SFrame {
    XMLelement* pElement;
    int32_t nChildrenLeft;
  };
  auto pRoot = std::make_unique<XMLelement>();
  ReadElementHead(archive, *pRoot);
  std::vector<SFrame> stack{{pRoot.get(), ReadCount(archive, "child")}};
  while (!stack.empty()) {
    SFrame& frame = stack.back();
    if (frame.nChildrenLeft == 0) {
      stack.pop_back();
      continue;
    }
    --frame.nChildrenLeft;
    auto pChild = std::make_unique<XMLelement>();
    ReadElementHead(archive, *pChild);
    XMLelement* pRaw = pChild.get();
    frame.pElement->m_children.push_back(std::move(pChild));
    stack.push_back({pRaw, ReadCount(archive, "child")});
  }
  return pRoot;
}

void WriteFolder(CArchiveWriter& archive, CXMLTree& tree) {
  archive.WriteInt32(kTreeFormat);
  archive.WriteInt32(static_cast<int32_t>(tree.Contents().size()));
  tree.WriteContents([&](CBaseContentNode& content) {
    archive.WriteInt32(content.Type());
    content.Write(archive);
  });
  archive.WriteInt32(static_cast<int32_t>(tree.TopLevel().size()));
  for (const auto& pElement : tree.TopLevel()) WriteElement(archive, *pElement);
  archive.WriteString(tree.FolderName());
  archive.WriteInt32(tree.FolderIcon());
  archive.WriteBool8(tree.IsShared());
  archive.WriteString(tree.SharePath());
  const auto [nHScroll, nVScroll] = tree.TreeScroll();
  archive.WriteInt32(nHScroll);
  archive.WriteInt32(nVScroll);
  archive.WriteBool8(tree.ShowsHidden());
}

void ReadFolder(CArchiveReader& archive, CXMLTree& tree, int32_t nTreeFormat) {
  if (nTreeFormat < 1 || nTreeFormat > kTreeFormat)
    throw CArchiveError("Unsupported folder format " + std::to_string(nTreeFormat));
  // A folder read from a file holds exactly the file's notes.
  while (!tree.TopLevel().empty()) tree.DeleteNote(*tree.TopLevel().front());

  CContentList contents;
  for (int32_t i = ReadCount(archive, "content"); i > 0; --i) {
    size_t nAt = archive.Position();
    int32_t nType = nTreeFormat >= 2 ? archive.ReadInt32() : kContentText;
    auto pContent = CBaseContentNode::Make(nType);
    if (!pContent)
      throw CArchiveError("Unknown content type " + std::to_string(nType) + " at byte " +
                          std::to_string(nAt));
    pContent->Read(archive);
    contents.push_back(std::move(pContent));
  }
  tree.ReplaceContents(std::move(contents));
  for (int32_t i = ReadCount(archive, "note"); i > 0; --i)
    tree.TopLevel().push_back(ReadElement(archive));
  if (nTreeFormat >= 3) tree.SetFolderName(archive.ReadString());
  if (nTreeFormat >= 4) {
    tree.SetFolderIcon(archive.ReadInt32());
    if (nTreeFormat <= 5) tree.SetFolderIcon(ConvertOldIcon(tree.FolderIcon()));
  }
  if (nTreeFormat >= 7) {
    const bool bShared = archive.ReadBool8();
    tree.SetShare(bShared, archive.ReadString());
  }
  if (nTreeFormat >= 8) {
    const int32_t nHScroll = archive.ReadInt32();
    tree.SetTreeScroll(nHScroll, archive.ReadInt32());
  }
  if (nTreeFormat >= 9) tree.SetShowHidden(archive.ReadBool8());
  tree.RelinkContents();
  tree.ClearModified();
}

void WriteFolderList(CArchiveWriter& archive, const CFolderList& folders, bool bCurrentFolderOnly) {
  archive.WriteInt32(kFolderListFormat);
  if (bCurrentFolderOnly) {
    archive.WriteInt32(0);
    archive.WriteInt32(1);
    WriteFolder(archive, *folders.Current());
    return;
  }
  archive.WriteInt32(folders.CurrentIndex());
  archive.WriteInt32(static_cast<int32_t>(folders.Count()));
  for (const auto& pFolder : folders) WriteFolder(archive, *pFolder);
}

void ReadFolderList(CArchiveReader& archive, CFolderList& folders, const SNoteDefaults& defaults) {
  int32_t nFormat = archive.ReadInt32();
  if (nFormat < 1 || nFormat > kFolderListFormat)
    throw CArchiveError("Unsupported folder list format " + std::to_string(nFormat));
  int32_t nCurrent = nFormat >= 5 ? archive.ReadInt32() : 0;
  if (nFormat >= 4) {
    for (int32_t i = ReadCount(archive, "folder"); i > 0; --i) {
      auto pTree = std::make_unique<CXMLTree>(std::string_view{}, defaults);
      ReadFolder(archive, *pTree, archive.ReadInt32());
      folders.Append(std::move(pTree));
    }
  } else {
    folders.Reset(defaults);
    ReadFolder(archive, folders.At(0), nFormat);
  }
  // An index the folders don't have would point the view at nothing.
  int nFolders = static_cast<int>(folders.Count());
  if (nFolders > 0) folders.SetCurrent(nCurrent >= 0 && nCurrent < nFolders ? nCurrent : 0);
}

}  // namespace orv

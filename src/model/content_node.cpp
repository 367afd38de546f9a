#include "model/content_node.h"

#include <atomic>
#include <cctype>
#include <utility>

#include "base/file_handle.h"

namespace orv {
namespace {

constexpr uint8_t kRecordFormat = 1;

// Keys only have to be unique among live objects and never 0; a counter
// gives that without exposing addresses.
std::atomic<uint64_t> g_nNextKey{1};

// Whether a key reads as the number 0 the way atoi would read it: leading
// blanks and a sign are skipped, and the digits that follow are all zeros or
// there are none.
bool ReadsAsZero(std::string_view sKey) {
  size_t i = 0;
  while (i < sKey.size() && std::isspace(static_cast<unsigned char>(sKey[i]))) ++i;
  if (i < sKey.size() && (sKey[i] == '+' || sKey[i] == '-')) ++i;
  for (; i < sKey.size() && std::isdigit(static_cast<unsigned char>(sKey[i])); ++i)
    if (sKey[i] != '0') return false;
  return true;
}

std::string ReadWholeFile(const std::string& sPath, CFileSystem& fs) {
  CFileHandle file(sPath, fs);
  file.OpenRead();
  std::string sData(file.Size(), '\0');
  sData.resize(file.Read(sData.data(), sData.size()));
  return sData;
}

}  // namespace

CBaseContentNode::CBaseContentNode(int32_t nType, std::string sText, bool bExternal,
                                   std::string sPath, CFileSystem& fs)
    : m_nKey(g_nNextKey.fetch_add(1)),
      m_sAddressHash(OwnKey()),
      m_nType(nType),
      m_bExternal(bExternal),
      m_sPath(std::move(sPath)),
      m_sText(std::move(sText)),
      m_fs(fs) {}

std::unique_ptr<CBaseContentNode> CBaseContentNode::Make(int32_t nType, std::string sText,
                                                         bool bExternal, std::string sPath,
                                                         CFileSystem& fs) {
  switch (nType) {
    case kContentText:
      return std::make_unique<CConentNode>(std::move(sText), bExternal, std::move(sPath), fs);
    case kContentHtml:
      return std::make_unique<CHTMLConentNode>(std::move(sText), bExternal, std::move(sPath), fs);
    case kContentRtf:
      return std::make_unique<CRTFConentNode>(std::move(sText), bExternal, std::move(sPath), fs);
    default:
      return nullptr;
  }
}

void CBaseContentNode::Write(CArchiveWriter& archive) {
  // Checked before anything is written, so a refused object leaves no half record behind.
  if (m_bAlreadySaved) throw CContentError("m_bAlreadySaved error");
  m_bAlreadySaved = true;
  // The own key: notes name their objects by it once the folder is re-linked.
  archive.WriteByte(kRecordFormat);
  archive.WriteString(OwnKey());
  archive.WriteInt32(m_nType);
  archive.WriteByte(kRecordFormat);
  archive.WriteString(m_sText);
}

void CBaseContentNode::Read(CArchiveReader& archive) {
  // Everything is read before anything is kept: a bad record changes nothing.
  archive.ReadByte();
  std::string sKey = archive.ReadString();
  if (ReadsAsZero(sKey)) throw CContentError("m_sAddressHash error");
  const int32_t nType = archive.ReadInt32();
  if (nType != m_nType)
    throw CContentError("Content record of type " + std::to_string(nType) + " where type " +
                        std::to_string(m_nType) + " was announced");
  archive.ReadByte();
  std::string sText = archive.ReadString();
  m_sAddressHash = std::move(sKey);
  m_sText = std::move(sText);
  m_pVisibleText.reset();
}

const std::string& CBaseContentNode::GetContent() {
  if (m_bExternal) {
    std::string sText = ReadWholeFile(m_sPath, m_fs);
    if (sText != m_sText) {
      m_sText = std::move(sText);
      m_pVisibleText.reset();
    }
  }
  return m_sText;
}

bool CBaseContentNode::SetContent(std::string sText) {
  m_sText = std::move(sText);
  m_pVisibleText.reset();
  if (m_bExternal) {
    CFileHandle file(m_sPath, m_fs);
    file.OpenWrite();
    file.Write(m_sText.data(), m_sText.size());
    file.Close();
  }
  return true;
}

void CBaseContentNode::KeepVisibleText(std::string sText) const {
  // Grown by appending, it may hold twice its size: kept for long, it keeps no spare room.
  sText.shrink_to_fit();
  m_pVisibleText = std::make_unique<const std::string>(std::move(sText));
}

std::unique_ptr<CBaseContentNode> CBaseContentNode::Clone() const {
  return Make(m_nType, m_sText, m_bExternal, m_sPath, m_fs);
}

}  // namespace orv

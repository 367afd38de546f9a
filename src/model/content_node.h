#pragma once
// The text of a note lives in a content object, which the folder owns and the
// note names by its key. Virtual (external) objects mirror a file on disk.

#include <cstdint>
#include <memory>
#include <string>

#include "base/archive.h"
#include "base/file_system.h"

namespace orv {

enum EContentType : int32_t { kContentText = 0, kContentHtml = 1, kContentRtf = 2 };

// Raised for a content record that can't be identified or is written twice.
class CContentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CBaseContentNode {
 public:
  virtual ~CBaseContentNode() = default;

  // A new object of the class for `nType` (0, 1, 2); null for any other code.
  static std::unique_ptr<CBaseContentNode> Make(int32_t nType, std::string sText = {},
                                                bool bExternal = false, std::string sPath = {},
                                                CFileSystem& fs = CFileSystem::Default());

  // This object's own key: the decimal text of a process-wide counter, never 0.
  std::string OwnKey() const { return std::to_string(m_nKey); }
  // The key read from the file (until its folder re-links it), else the own key.
  const std::string& AddressHash() const { return m_sAddressHash; }

  int32_t Type() const { return m_nType; }
  bool IsExternal() const { return m_bExternal; }
  const std::string& Path() const { return m_sPath; }

  // Writes the content record with the own key; a second write before
  // EndSave raises "m_bAlreadySaved error".
  void Write(CArchiveWriter& archive);
  void EndSave() { m_bAlreadySaved = false; }
  // Reads the content record; a key that reads as 0 raises "m_sAddressHash error".
  void Read(CArchiveReader& archive);

  // The text; an external object reads its file first.
  const std::string& GetContent();
  // The cached text, without touching an external file.
  const std::string& CachedContent() const { return m_sText; }
  // Stores the text; an external object writes its file too.
  bool SetContent(std::string sText);
  // Same class, text, external flag and path; a key of its own.
  std::unique_ptr<CBaseContentNode> Clone() const;

  // The text a reader sees, as search derived it from the stored text; null
  // until kept, and again whenever the stored text changes. Keeping it
  // changes nothing stored, so a const object may keep it.
  const std::string* KeptVisibleText() const { return m_pVisibleText.get(); }
  void KeepVisibleText(std::string sText) const;

 protected:
  CBaseContentNode(int32_t nType, std::string sText, bool bExternal, std::string sPath,
                   CFileSystem& fs);

 private:
  friend class CXMLTree;  // re-keys the objects it re-links
  void ResetAddressHash() { m_sAddressHash = OwnKey(); }

  uint64_t m_nKey;
  std::string m_sAddressHash;
  int32_t m_nType;
  bool m_bExternal;
  std::string m_sPath;
  std::string m_sText;
  // A pointer, not a string: most objects never keep one, and a million of
  // them should not pay for the room.
  mutable std::unique_ptr<const std::string> m_pVisibleText;
  CFileSystem& m_fs;
  bool m_bAlreadySaved = false;
};

class CConentNode : public CBaseContentNode {
 public:
  explicit CConentNode(std::string sText = {}, bool bExternal = false, std::string sPath = {},
                       CFileSystem& fs = CFileSystem::Default())
      : CBaseContentNode(kContentText, std::move(sText), bExternal, std::move(sPath), fs) {}
};

class CHTMLConentNode : public CBaseContentNode {
 public:
  explicit CHTMLConentNode(std::string sText = {}, bool bExternal = false, std::string sPath = {},
                           CFileSystem& fs = CFileSystem::Default())
      : CBaseContentNode(kContentHtml, std::move(sText), bExternal, std::move(sPath), fs) {}
};

class CRTFConentNode : public CBaseContentNode {
 public:
  explicit CRTFConentNode(std::string sText = {}, bool bExternal = false, std::string sPath = {},
                          CFileSystem& fs = CFileSystem::Default())
      : CBaseContentNode(kContentRtf, std::move(sText), bExternal, std::move(sPath), fs) {}
};

}  // namespace orv

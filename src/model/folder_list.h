#pragma once
// The folders of a document, in tab order, and which one is current. The
// current index always names a folder while there is one.

#include <memory>
#include <vector>

#include "model/xml_tree.h"

namespace orv {

class CFolderList {
 public:
  using CFolders = std::vector<std::unique_ptr<CXMLTree>>;

  // One new folder, "Folder #1" holding "Note #1".
  void Reset(const SNoteDefaults& defaults = {});

  size_t Count() const { return m_folders.size(); }
  bool Empty() const { return m_folders.empty(); }
  CXMLTree& At(size_t nIndex) const { return *m_folders.at(nIndex); }
  CFolders::const_iterator begin() const { return m_folders.begin(); }
  CFolders::const_iterator end() const { return m_folders.end(); }

  CXMLTree* Current() const { return Empty() ? nullptr : m_folders[m_nCurrent].get(); }
  int CurrentIndex() const { return m_nCurrent; }
  // Throws std::out_of_range for an index that names no folder.
  void SetCurrent(int nIndex);

  // Adds a folder at the end; the current one stays current.
  CXMLTree& Append(std::unique_ptr<CXMLTree> pFolder);
  // Adds another list's folders at the end; the one current there becomes current.
  void AppendAll(CFolderList&& other);
  // Removes the current folder; the one before it (or the new first) becomes current.
  void RemoveCurrent();
  // The current folder and the one at nOther trade places; the current index follows.
  void ExchangeCurrentWith(int nOther);
  // A selection sort that exchanges, so equal names may change their order;
  // names compare as unsigned bytes, upper case before lower. The first
  // folder becomes current.
  void SortByName(bool bAscending);

  // Whether a folder changed since the last ClearModified.
  bool IsModified() const;
  void ClearModified();

 private:
  CFolders m_folders;
  int m_nCurrent = 0;
};

}  // namespace orv

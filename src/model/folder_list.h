#pragma once
// The folders of a document, in tab order, and which one is current.

#include <memory>
#include <vector>

#include "model/xml_tree.h"

namespace orv {

struct CFolderList {
  std::vector<std::unique_ptr<CXMLTree>> m_folders;
  int m_nCurrent = 0;

  // One new folder, "Folder #1" holding "Note #1".
  void Reset(const SNoteDefaults& defaults = {}) {
    m_folders.clear();
    m_folders.push_back(std::make_unique<CXMLTree>(std::string_view{}, defaults));
    m_nCurrent = 0;
  }
  CXMLTree* Current() const {
    return m_nCurrent >= 0 && m_nCurrent < static_cast<int>(m_folders.size())
               ? m_folders[m_nCurrent].get()
               : nullptr;
  }
};

}  // namespace orv

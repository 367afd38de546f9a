#include "model/folder_list.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

namespace orv {

void CFolderList::Reset(const SNoteDefaults& defaults) {
  m_folders.clear();
  m_folders.push_back(std::make_unique<CXMLTree>(std::string_view{}, defaults));
  m_nCurrent = 0;
}

void CFolderList::SetCurrent(int nIndex) {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_folders.size()))
    throw std::out_of_range("there is no folder " + std::to_string(nIndex));
  m_nCurrent = nIndex;
}

CXMLTree& CFolderList::Append(std::unique_ptr<CXMLTree> pFolder) {
  m_folders.push_back(std::move(pFolder));
  return *m_folders.back();
}

void CFolderList::AppendAll(CFolderList&& other) {
  if (other.Empty()) return;
  const int nOldCount = static_cast<int>(m_folders.size());
  for (auto& pFolder : other.m_folders) m_folders.push_back(std::move(pFolder));
  m_nCurrent = nOldCount + other.m_nCurrent;
  other.m_folders.clear();
  other.m_nCurrent = 0;
}

void CFolderList::RemoveCurrent() {
  if (Empty()) return;
  m_folders.erase(m_folders.begin() + m_nCurrent);
  m_nCurrent = m_nCurrent == 0 ? 0 : m_nCurrent - 1;
}

void CFolderList::ExchangeCurrentWith(int nOther) {
  if (Empty()) return;
  std::swap(m_folders.at(m_nCurrent), m_folders.at(nOther));
  m_nCurrent = nOther;
}

void CFolderList::SortByName(bool bAscending) {
  for (size_t p = 0; p < m_folders.size(); ++p) {
    size_t nBest = p;
    for (size_t i = p + 1; i < m_folders.size(); ++i) {
      const std::string& sName = m_folders[i]->FolderName();
      const std::string& sBest = m_folders[nBest]->FolderName();
      if (bAscending ? sName < sBest : sBest < sName) nBest = i;
    }
    if (nBest != p) std::swap(m_folders[p], m_folders[nBest]);
  }
  m_nCurrent = 0;
}

bool CFolderList::IsModified() const {
  return std::any_of(m_folders.begin(), m_folders.end(),
                     [](const auto& pFolder) { return pFolder->IsModified(); });
}

void CFolderList::ClearModified() {
  for (auto& pFolder : m_folders) pFolder->ClearModified();
}

}  // namespace orv

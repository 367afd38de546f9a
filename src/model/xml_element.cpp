#include "model/xml_element.h"

#include <algorithm>
#include <array>
#include <utility>

namespace orv {
namespace {

struct SIconPair {
  int32_t nOld;
  int32_t nNew;
};

constexpr std::array<SIconPair, 12> kOldIcons = {{
    {0, 0},
    {35, 272},
    {37, 274},
    {45, 4},
    {55, 275},
    {60, 1},
    {75, 276},
    {77, 273},
    {108, 5},
    {120, 277},
    {121, 20},
    {126, 17},
}};

static_assert(std::is_sorted(kOldIcons.begin(), kOldIcons.end(),
                             [](const SIconPair& a, const SIconPair& b) {
                               return a.nOld < b.nOld;
                             }));

}  // namespace

std::string GetProperty(const XMLelement& element, std::string_view key) {
  const XMLelement* pChild = FindPropertyElement(element, key);
  return pChild ? pChild->m_sValue : std::string(kNotFound);
}

XMLelement::~XMLelement() {
  CElementList doomed = std::move(m_children);
  while (!doomed.empty()) {
    std::unique_ptr<XMLelement> pLast = std::move(doomed.back());
    doomed.pop_back();
    for (auto& pChild : pLast->m_children) doomed.push_back(std::move(pChild));
    pLast->m_children.clear();
  }
}

XMLelement* FindPropertyElement(const XMLelement& element, std::string_view key) {
  for (const auto& pChild : element.m_children)
    if (pChild->m_sName == key) return pChild.get();
  return nullptr;
}

bool PropertyIs(const XMLelement& element, std::string_view key, std::string_view value) {
  const XMLelement* pProperty = FindPropertyElement(element, key);
  return pProperty && pProperty->m_sValue == value;
}

XMLelement& AddProperty(XMLelement& element, std::string_view key, std::string_view value) {
  auto pChild = std::make_unique<XMLelement>();
  pChild->m_nKind = 1;
  pChild->m_sName = key;
  pChild->m_sValue = value;
  return *element.m_children.emplace_back(std::move(pChild));
}

void SetProperty(XMLelement& element, std::string_view key, std::string_view value) {
  if (!FindPropertyElement(element, key)) {
    AddProperty(element, key, value);
    return;
  }
  for (const auto& pChild : element.m_children)
    if (pChild->m_sName == key) pChild->m_sValue = value;
}

bool HasChildNotes(const XMLelement& element) { return HasChildNotes(element.m_children); }

bool HasChildNotes(const CElementList& list) {
  return std::any_of(list.begin(), list.end(), [](const auto& p) { return p->IsNote(); });
}

std::unique_ptr<XMLelement> CopyElement(const XMLelement& element) {
  auto pRoot = std::make_unique<XMLelement>();
  // An explicit stack: a folder may nest notes deeper than the call stack goes.
  std::vector<std::pair<const XMLelement*, XMLelement*>> pending = {{&element, pRoot.get()}};
  while (!pending.empty()) {
    auto [pSource, pCopy] = pending.back();
    pending.pop_back();
    pCopy->m_nKind = pSource->m_nKind;
    pCopy->m_sName = pSource->m_sName;
    pCopy->m_sValue = pSource->m_sValue;
    for (const auto& pAttribute : pSource->m_attributes)
      pCopy->m_attributes.push_back(std::make_unique<XMLattribute>(*pAttribute));
    pCopy->m_children.reserve(pSource->m_children.size());
    for (const auto& pChild : pSource->m_children) {
      pCopy->m_children.push_back(std::make_unique<XMLelement>());
      pending.emplace_back(pChild.get(), pCopy->m_children.back().get());
    }
  }
  return pRoot;
}

int32_t ConvertOldIcon(int32_t nIcon) {
  auto it = std::lower_bound(kOldIcons.begin(), kOldIcons.end(), nIcon,
                             [](const SIconPair& pair, int32_t n) { return pair.nOld < n; });
  return it != kOldIcons.end() && it->nOld == nIcon ? it->nNew : nIcon;
}

}  // namespace orv

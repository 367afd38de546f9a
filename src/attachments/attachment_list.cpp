#include "attachments/attachment_list.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "model/note_keys.h"

namespace orv {

namespace {

constexpr std::string_view kAttNameKey = "attachment";
constexpr std::string_view kAttCreatedKey = "attdatecreate";
constexpr std::string_view kAttStreamKey = "attstream";

std::string Key(std::string_view sPrefix, size_t i) {
  return std::string(sPrefix) + std::to_string(i);
}

// "attachment7" and the like: a prefix of an entry followed by its index.
bool IsEntryKey(const std::string& sName) {
  for (std::string_view sPrefix : {kAttNameKey, kAttCreatedKey, kAttStreamKey}) {
    if (sName.size() > sPrefix.size() && sName.starts_with(sPrefix) &&
        std::all_of(sName.begin() + static_cast<std::ptrdiff_t>(sPrefix.size()), sName.end(),
                    [](char c) { return c >= '0' && c <= '9'; }))
      return true;
  }
  return false;
}

size_t StoredCount(const XMLelement& note) {
  const std::string sCount = GetProperty(note, kAttCountKey);
  size_t nCount = 0;
  const auto [pEnd, ec] = std::from_chars(sCount.data(), sCount.data() + sCount.size(), nCount);
  return ec == std::errc() ? nCount : 0;
}

}  // namespace

std::vector<CAttachment> ReadAttachments(const XMLelement& note) {
  // Each entry takes at least one attribute, so a larger count is damage.
  const size_t nCount = std::min(StoredCount(note), note.m_children.size());
  std::vector<CAttachment> list;
  for (size_t i = 0; i < nCount; ++i) {
    CAttachment attachment;
    attachment.sName = GetProperty(note, Key(kAttNameKey, i));
    if (attachment.sName == kNotFound || attachment.sName.empty()) continue;
    attachment.sCreated = GetProperty(note, Key(kAttCreatedKey, i));
    if (attachment.sCreated == kNotFound) attachment.sCreated.clear();
    attachment.sStream = GetProperty(note, Key(kAttStreamKey, i));
    if (attachment.sStream == kNotFound) attachment.sStream.clear();
    list.push_back(std::move(attachment));
  }
  return list;
}

void WriteAttachments(XMLelement& note, const std::vector<CAttachment>& list) {
  std::erase_if(note.m_children, [](const auto& pChild) { return IsEntryKey(pChild->m_sName); });
  SetProperty(note, kAttCountKey, std::to_string(list.size()));
  for (size_t i = 0; i < list.size(); ++i) {
    AddProperty(note, Key(kAttNameKey, i), list[i].sName);
    AddProperty(note, Key(kAttCreatedKey, i), list[i].sCreated);
    if (!list[i].sStream.empty()) AddProperty(note, Key(kAttStreamKey, i), list[i].sStream);
  }
}

bool HasAttachments(const XMLelement& note) { return StoredCount(note) > 0; }

}  // namespace orv

#include "app/accelerator_manager.h"

#include <algorithm>

#include "app/command_table.h"
#include "base/file_system.h"
#include "base/little_endian.h"

namespace orv {

namespace {

constexpr uint32_t kFormatVersion = 1;
constexpr uint32_t kHeaderMark = 0xFFFF;
constexpr uint8_t kLockedMark = 1, kUnlockedMark = 2;
// Far more than every command with many keys takes; a larger file is not one.
constexpr uint64_t kMaxFileSize = 1024 * 1024;

void PutWord(std::string& sOut, uint32_t nWord) {
  uint8_t bytes[4];
  PutLe32(bytes, nWord);
  sOut.append(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

uint32_t WordAt(std::string_view sFile, size_t nIndex) {
  return GetLe32(reinterpret_cast<const uint8_t*>(sFile.data()) + nIndex * 4);
}

}  // namespace

uint32_t CAccelsOb::Packed() const {
  return combination.nKey | uint32_t{combination.nFlags} << 16 |
         uint32_t{m_bLocked ? kLockedMark : kUnlockedMark} << 24;
}

CAccelsOb CAccelsOb::FromPacked(uint32_t nWord) {
  return {{static_cast<uint8_t>(nWord >> 16), static_cast<uint16_t>(nWord & 0xFFFF)},
          (nWord >> 24) == kLockedMark};
}

void CAcceleratorManager::AddCommandWithKeys(std::string_view sName, uint16_t nId) {
  std::vector<CAccelsOb> keys;
  for (const SAccelEntry& entry : m_builtIn)
    if (entry.nCommand == nId) keys.push_back({entry.combination, true});
  if (keys.empty()) return;
  if (auto it = m_commands.find(nId); it != m_commands.end()) m_ids.erase(it->second.m_szCommand);
  m_commands[nId] = {nId, std::string(sName), std::move(keys)};
  m_ids[std::string(sName)] = nId;
}

void CAcceleratorManager::AddCommand(std::string_view sName, uint16_t nId) {
  if (m_ids.contains(sName)) return;
  if (auto it = m_commands.find(nId); it != m_commands.end()) m_ids.erase(it->second.m_szCommand);
  m_commands[nId] = {nId, std::string(sName), {}};
  m_ids[std::string(sName)] = nId;
}

std::vector<SAccelEntry> CAcceleratorManager::Table() const {
  std::vector<SAccelEntry> table;
  for (const auto& [nId, command] : m_commands)
    for (const CAccelsOb& accel : command.m_Accels) table.push_back({accel.combination, nId});
  return table;
}

void CAcceleratorManager::SnapshotDefaults() {
  m_defaults.clear();
  for (const auto& [nId, command] : m_commands)
    for (const CAccelsOb& accel : command.m_Accels)
      if (!accel.m_bLocked) m_defaults[nId].push_back(accel);
}

void CAcceleratorManager::ResetToDefaults() {
  for (auto& [nId, command] : m_commands) {
    ClearUserKeys(nId);
    if (auto it = m_defaults.find(nId); it != m_defaults.end())
      command.m_Accels.insert(command.m_Accels.end(), it->second.begin(), it->second.end());
  }
  m_bChanged = true;
}

std::optional<std::string> CAcceleratorManager::Load(std::string_view sFile) {
  const size_t nWords = sFile.size() / 4;
  if (nWords < 3 || (WordAt(sFile, 2) & 0xFFFF) != kHeaderMark) return std::nullopt;
  // Every group is read before any is applied, so a cut-off file changes nothing.
  std::vector<std::pair<uint16_t, std::vector<CAccelsOb>>> groups;
  const uint32_t nGroups = WordAt(sFile, 2) >> 16;
  size_t nAt = 3;
  for (uint32_t g = 0; g < nGroups; ++g) {
    if (nAt >= nWords) return "The shortcut file ends inside its groups";
    const uint32_t nGroup = WordAt(sFile, nAt++);
    const size_t nCount = nGroup >> 16;
    if (nCount > nWords - nAt) return "The shortcut file ends inside its groups";
    std::vector<CAccelsOb> accels;
    for (size_t i = 0; i < nCount; ++i) {
      CAccelsOb accel = CAccelsOb::FromPacked(WordAt(sFile, nAt++));
      accel.m_bLocked = false;  // the file holds the user's own keys only
      accels.push_back(accel);
    }
    groups.emplace_back(static_cast<uint16_t>(nGroup & 0xFFFF), std::move(accels));
  }
  for (auto& [nId, accels] : groups) {
    if (!m_commands.contains(nId)) continue;
    ClearUserKeys(nId);
    auto& target = m_commands[nId].m_Accels;
    target.insert(target.end(), accels.begin(), accels.end());
  }
  return std::nullopt;
}

std::string CAcceleratorManager::Save() const {
  std::vector<uint32_t> body;
  uint32_t nGroups = 0;
  for (const auto& [nId, command] : m_commands) {
    std::vector<uint32_t> words;
    for (const CAccelsOb& accel : command.m_Accels)
      if (!accel.m_bLocked) words.push_back(accel.Packed());
    if (words.empty()) continue;
    body.push_back(static_cast<uint32_t>(words.size()) << 16 | nId);
    body.insert(body.end(), words.begin(), words.end());
    ++nGroups;
  }
  std::string sFile;
  PutWord(sFile, kFormatVersion);
  PutWord(sFile, static_cast<uint32_t>(body.size() + 1));
  PutWord(sFile, nGroups << 16 | kHeaderMark);
  for (uint32_t nWord : body) PutWord(sFile, nWord);
  return sFile;
}

bool CAcceleratorManager::Assign(uint16_t nId, SKeyCombination combination) {
  auto it = m_commands.find(nId);
  if (it == m_commands.end() || combination.nKey == 0) return false;
  auto& accels = it->second.m_Accels;
  if (std::any_of(accels.begin(), accels.end(),
                  [&](const CAccelsOb& accel) { return accel.combination == combination; }))
    return false;
  accels.push_back({combination, false});
  m_bChanged = true;
  return true;
}

std::optional<std::string> CAcceleratorManager::Remove(uint16_t nId, size_t nIndex) {
  auto it = m_commands.find(nId);
  if (it == m_commands.end()) return "internal error (CAccelDlgHelper::Remove : Lookup failed)";
  auto& accels = it->second.m_Accels;
  if (nIndex >= accels.size())
    return "internal error (CAccelDlgHelper::Remove : pAccel unavailable)";
  if (accels[nIndex].m_bLocked) return "Unable to remove this\naccelerator (Locked)";
  accels.erase(accels.begin() + static_cast<std::ptrdiff_t>(nIndex));
  m_bChanged = true;
  return std::nullopt;
}

void CAcceleratorManager::ClearUserKeys(uint16_t nId) {
  auto it = m_commands.find(nId);
  if (it == m_commands.end()) return;
  std::erase_if(it->second.m_Accels, [](const CAccelsOb& accel) { return !accel.m_bLocked; });
}

const CCmdAccelOb* CAcceleratorManager::Find(uint16_t nId) const {
  auto it = m_commands.find(nId);
  return it == m_commands.end() ? nullptr : &it->second;
}

const CCmdAccelOb* CAcceleratorManager::FindByName(std::string_view sName) const {
  auto it = m_ids.find(sName);
  return it == m_ids.end() ? nullptr : Find(it->second);
}

CAcceleratorManager StartUpAccelerators() {
  std::vector<SAccelEntry> builtIn;
  for (const SCommandRow& row : CommandTable()) {
    for (std::string_view sKeys = row.sKeys; !sKeys.empty();) {
      const size_t nEnd = sKeys.find("; ");
      if (auto combination = ParseCombination(sKeys.substr(0, nEnd)))
        builtIn.push_back({*combination, row.nId});
      sKeys = nEnd == std::string_view::npos ? std::string_view() : sKeys.substr(nEnd + 2);
    }
  }
  CAcceleratorManager manager(std::move(builtIn));
  for (const SCommandRow& row : CommandTable()) {
    if (row.eRegistration == SCommandRow::kWithKeys)
      manager.AddCommandWithKeys(row.sName, row.nId);
    else
      manager.AddCommand(row.sName, row.nId);
  }
  manager.SnapshotDefaults();
  return manager;
}

std::optional<std::string> LoadShortcutsFile(CAcceleratorManager& manager, CFileSystem& fs,
                                             const std::string& sPath) {
  try {
    const std::optional<std::string> sFile = ReadSmallFile(fs, sPath, kMaxFileSize);
    return sFile ? manager.Load(*sFile) : std::nullopt;
  } catch (const CIoError& e) {
    return e.what();
  }
}

void SaveShortcutsFile(const CAcceleratorManager& manager, CFileSystem& fs,
                       const std::string& sPath) {
  ReplaceFileContents(fs, sPath, manager.Save());
}

}  // namespace orv

#pragma once
// The keys of the main window's commands: the built-in ones, locked, and the
// user's own, kept in "Users_Shortcuts.shortcuts" (little-endian 32-bit
// words: version 1, the number of words after it, 0xFFFF plus the number of
// groups in the high half, then per command its identifier with the number
// of its combinations in the high half, followed by the packed combinations).

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/key_codes.h"

namespace orv {

class CFileSystem;

struct CAccelsOb {
  SKeyCombination combination;
  bool m_bLocked = false;

  // Key in bits 0–15, flags in 16–23, 1 (locked) or 2 in 24–31.
  uint32_t Packed() const;
  static CAccelsOb FromPacked(uint32_t nWord);
  std::string GetString() const { return CombinationText(combination); }
};

struct CCmdAccelOb {
  uint16_t m_wIDCommand = 0;
  std::string m_szCommand;
  std::vector<CAccelsOb> m_Accels;  // in the order they were added
};

// One entry of the window's accelerator table.
struct SAccelEntry {
  SKeyCombination combination;
  uint16_t nCommand = 0;
};

class CAcceleratorManager {
 public:
  // builtIn: the window's own accelerator table.
  explicit CAcceleratorManager(std::vector<SAccelEntry> builtIn) : m_builtIn(std::move(builtIn)) {}

  // Registers the command with every built-in combination of nId, locked; a
  // command without one is not registered.
  void AddCommandWithKeys(std::string_view sName, uint16_t nId);
  // Registers the command without keys, unless the name is registered.
  void AddCommand(std::string_view sName, uint16_t nId);

  // Every combination of every command: what the window's keys become.
  std::vector<SAccelEntry> Table() const;

  // Keeps each command's unlocked combinations as the state Reset returns to.
  void SnapshotDefaults();
  void ResetToDefaults();

  // Applies a shortcut file's bytes: each known command's unlocked
  // combinations become the stored ones. A damaged file changes nothing and
  // gives the reason; a file not in this format is ignored.
  std::optional<std::string> Load(std::string_view sFile);
  std::string Save() const;

  // Adds an unlocked combination; false when the command is unknown or has it.
  bool Assign(uint16_t nId, SKeyCombination combination);
  // Removes the command's combination nIndex; the message why not, if not.
  std::optional<std::string> Remove(uint16_t nId, size_t nIndex);
  // Removes every unlocked combination of the command.
  void ClearUserKeys(uint16_t nId);

  const std::map<uint16_t, CCmdAccelOb>& Commands() const { return m_commands; }
  const CCmdAccelOb* Find(uint16_t nId) const;
  const CCmdAccelOb* FindByName(std::string_view sName) const;

  bool IsChanged() const { return m_bChanged; }
  void ClearChanged() { m_bChanged = false; }

 private:
  std::vector<SAccelEntry> m_builtIn;
  std::map<uint16_t, CCmdAccelOb> m_commands;
  std::map<std::string, uint16_t, std::less<>> m_ids;
  std::map<uint16_t, std::vector<CAccelsOb>> m_defaults;
  bool m_bChanged = false;
};

// The manager as start-up fills it: the command table registered in order and
// the defaults taken, before any user file is read.
CAcceleratorManager StartUpAccelerators();

// Reads the user's file into the manager; a missing file keeps the built-in
// keys. The reason when the file could not be used.
std::optional<std::string> LoadShortcutsFile(CAcceleratorManager& manager, CFileSystem& fs,
                                             const std::string& sPath);
// Writes the file whole or not at all.
void SaveShortcutsFile(const CAcceleratorManager& manager, CFileSystem& fs,
                       const std::string& sPath);

}  // namespace orv

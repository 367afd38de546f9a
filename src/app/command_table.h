#pragma once
// The main window's commands as the shortcut manager registers them at
// start-up, in order: display name, identifier and the keys they come with.
// The shortcut file stores identifiers, so an identifier, once given, never
// changes or goes to another command.

#include <cstdint>
#include <span>
#include <string_view>

namespace orv {

struct SCommandRow {
  enum ERegistration { kWithKeys, kWithoutKeys };
  uint16_t nId;
  std::string_view sName;
  // The built-in keys, "; "-separated as ParseCombination reads each.
  std::string_view sKeys;
  ERegistration eRegistration;
};

std::span<const SCommandRow> CommandTable();

}  // namespace orv

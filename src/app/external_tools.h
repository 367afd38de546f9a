#pragma once
// The user's external tools: programs the Tools menu or a key starts, kept in
// "ExternalTools.ini" (the version line "1.1", then per tool five lines:
// title, command, arguments, the key's display text, "KEY MODIFIERS").

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/key_codes.h"

namespace orv {

class CFileSystem;

// Modifiers of a tool's key, as the tools file stores them.
inline constexpr uint16_t kToolShift = 1;
inline constexpr uint16_t kToolControl = 2;
inline constexpr uint16_t kToolAlt = 4;

struct CExternalTool {
  std::string sTitle;
  std::string sCommand;
  std::string sArguments;
  std::string sHotKeyText;
  uint16_t nKey = 0;  // virtual-key code, 0 for none
  uint16_t nModifiers = 0;

  // Sets the key, its modifiers and its display text; key 0 clears them.
  void SetHotKey(const SKeyCombination& combination);
  SKeyCombination HotKey() const;
};

std::vector<CExternalTool> ReadExternalTools(std::string_view sFile);
// A line break inside a field would split the record: it is written as a blank.
std::string WriteExternalTools(const std::vector<CExternalTool>& tools);

std::vector<CExternalTool> LoadExternalToolsFile(CFileSystem& fs, const std::string& sPath);
void SaveExternalToolsFile(const std::vector<CExternalTool>& tools, CFileSystem& fs,
                           const std::string& sPath);

// The Tools menu's text: the title, and a tab and eight blanks before the
// key's text when it has one.
std::string ToolMenuText(const CExternalTool& tool);
// The first tool whose key is the one pressed.
std::optional<size_t> ToolForKey(const std::vector<CExternalTool>& tools,
                                 const SKeyCombination& pressed);

// What a tool may be told about: the open document and a file holding the
// selected note's text; empty when there is none.
struct SToolContext {
  std::string sDocument;
  std::string sNoteFile;
};

// The program and its arguments: the command line split as a shell splits
// words (blanks separate, quotes and backslashes group) but never run through
// a shell; %f, %n and %% in an argument become the document, the note file
// and %. nullopt when a quote is left open.
std::optional<std::vector<std::string>> ToolCommandLine(const CExternalTool& tool,
                                                        const SToolContext& context);

}  // namespace orv

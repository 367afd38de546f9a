#include "cli/shortcut_cli.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>

#include "app/accelerator_manager.h"
#include "app/command_table.h"
#include "app/external_tools.h"
#include "app/user_files.h"
#include "base/file_system.h"
#include "cli/cli_error.h"

namespace orv::cli {
namespace {

struct SShortcutArgs {
  std::string sFile = ShortcutsFilePath();
  std::string sToolsFile = ExternalToolsFilePath();
  std::string sName;
  std::vector<std::string> keys;
  std::string sTitle, sCommand, sArguments, sKey, sWhich;
};

// The app makes its folder at start-up; the command line may come first.
CFileSystem& FileSystemFor(const std::string& sPath) {
  CFileSystem& fs = CFileSystem::Default();
  const std::string sFolder = std::filesystem::path(sPath).parent_path().string();
  if (!sFolder.empty()) fs.CreateDirectories(sFolder);
  return fs;
}

SKeyCombination Combination(const std::string& sKeys) {
  const std::optional<SKeyCombination> combination = ParseCombination(sKeys);
  if (!combination) throw CCliError("Not a key combination: " + sKeys);
  return *combination;
}

// The manager with the user's file read; a damaged file is an error only
// when the command would write over it.
CAcceleratorManager LoadedManager(const std::string& sFile, bool bWillWrite) {
  CAcceleratorManager manager = StartUpAccelerators();
  if (auto sProblem = LoadShortcutsFile(manager, CFileSystem::Default(), sFile)) {
    if (bWillWrite) throw CCliError(*sProblem + ": " + sFile + " is left as it is");
    std::cerr << "orvella-cli: " << *sProblem << "; the built-in keys stand\n";
  }
  return manager;
}

void ListShortcuts(const SShortcutArgs& args) {
  const CAcceleratorManager manager = LoadedManager(args.sFile, false);
  for (const SCommandRow& row : CommandTable()) {
    const CCmdAccelOb* pCommand = manager.FindByName(row.sName);
    if (!pCommand || pCommand->m_wIDCommand != row.nId) continue;
    std::string sKeys;
    for (const CAccelsOb& accel : pCommand->m_Accels)
      sKeys += (sKeys.empty() ? "" : "; ") + accel.GetString() + (accel.m_bLocked ? "" : " (user)");
    std::cout << row.sName << '\t' << sKeys << '\n';
  }
}

void SetShortcut(const SShortcutArgs& args) {
  CAcceleratorManager manager = LoadedManager(args.sFile, true);
  const CCmdAccelOb* pCommand = manager.FindByName(args.sName);
  if (!pCommand) throw CCliError("No command is named \"" + args.sName + "\"");
  const uint16_t nId = pCommand->m_wIDCommand;
  std::vector<SKeyCombination> combinations;
  for (const std::string& sKeys : args.keys) combinations.push_back(Combination(sKeys));
  manager.ClearUserKeys(nId);
  for (const SKeyCombination& combination : combinations) manager.Assign(nId, combination);
  SaveShortcutsFile(manager, FileSystemFor(args.sFile), args.sFile);
}

void ResetShortcuts(const SShortcutArgs& args) {
  CAcceleratorManager manager = StartUpAccelerators();
  SaveShortcutsFile(manager, FileSystemFor(args.sFile), args.sFile);
}

void ListTools(const SShortcutArgs& args) {
  const auto tools = LoadExternalToolsFile(CFileSystem::Default(), args.sToolsFile);
  for (size_t i = 0; i < tools.size(); ++i)
    std::cout << i + 1 << '\t' << tools[i].sTitle << '\t' << tools[i].sCommand << '\t'
              << tools[i].sArguments << '\t' << tools[i].sHotKeyText << '\n';
}

void AddTool(const SShortcutArgs& args) {
  auto tools = LoadExternalToolsFile(CFileSystem::Default(), args.sToolsFile);
  CExternalTool tool{args.sTitle, args.sCommand, args.sArguments, "", 0, 0};
  if (!args.sKey.empty()) tool.SetHotKey(Combination(args.sKey));
  if (!ToolCommandLine(tool, {})) throw CCliError("A quote is left open in: " + args.sArguments);
  tools.push_back(std::move(tool));
  SaveExternalToolsFile(tools, FileSystemFor(args.sToolsFile), args.sToolsFile);
}

void RemoveTool(const SShortcutArgs& args) {
  auto tools = LoadExternalToolsFile(CFileSystem::Default(), args.sToolsFile);
  auto it = std::find_if(tools.begin(), tools.end(),
                         [&](const CExternalTool& tool) { return tool.sTitle == args.sWhich; });
  if (it == tools.end() && !args.sWhich.empty() &&
      args.sWhich.find_first_not_of("0123456789") == std::string::npos && args.sWhich.size() < 6) {
    const size_t nNumber = std::stoul(args.sWhich);
    if (nNumber >= 1 && nNumber <= tools.size()) it = tools.begin() + (nNumber - 1);
  }
  if (it == tools.end()) throw CCliError("No external tool is \"" + args.sWhich + "\"");
  tools.erase(it);
  SaveExternalToolsFile(tools, FileSystemFor(args.sToolsFile), args.sToolsFile);
}

}  // namespace

void AddShortcutCommands(CLI::App& app) {
  // The argument holders live as long as the program.
  auto args = std::make_shared<SShortcutArgs>();

  CLI::App* shortcuts = app.add_subcommand("shortcuts", "The user's keyboard shortcuts");
  shortcuts->require_subcommand(1);
  CLI::App* list = shortcuts->add_subcommand("list", "Print every command with its keys");
  CLI::App* reset = shortcuts->add_subcommand("reset", "Drop every key the user gave");
  CLI::App* set =
      shortcuts->add_subcommand("set", "Give command NAME the user's keys KEYS (none: drop them)");
  set->add_option("NAME", args->sName, "e.g. \"File - Save As ...\"")->required();
  set->add_option("KEYS", args->keys, "e.g. Ctrl+Shift+S F4");
  for (CLI::App* command : {list, reset, set})
    command->add_option("--file", args->sFile, "The shortcut file")->capture_default_str();
  list->callback([args] { ListShortcuts(*args); });
  reset->callback([args] { ResetShortcuts(*args); });
  set->callback([args] { SetShortcut(*args); });

  CLI::App* tools = app.add_subcommand("tools", "The user's external tools");
  tools->require_subcommand(1);
  CLI::App* toolList = tools->add_subcommand("list", "Print the tools, numbered");
  CLI::App* add = tools->add_subcommand("add", "Add a tool at the end of the list");
  add->add_option("TITLE", args->sTitle, "Its text in the Tools menu")->required();
  add->add_option("COMMAND", args->sCommand, "The program")->required();
  add->add_option("ARGUMENTS", args->sArguments,
                  "Split as a shell would, never run by one; %f the document, %n the note's text");
  add->add_option("--key", args->sKey, "Its key, e.g. Ctrl+Alt+D");
  CLI::App* rm = tools->add_subcommand("rm", "Remove a tool");
  rm->add_option("WHICH", args->sWhich, "Its number in the list or its title")->required();
  for (CLI::App* command : {toolList, add, rm})
    command->add_option("--file", args->sToolsFile, "The tools file")->capture_default_str();
  toolList->callback([args] { ListTools(*args); });
  add->callback([args] { AddTool(*args); });
  rm->callback([args] { RemoveTool(*args); });
}

}  // namespace orv::cli

#include "cli/find_cli.h"

#include <iostream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/cli_error.h"
#include "search/note_search.h"

namespace orv::cli {
namespace {

struct SFindArguments {
  std::string sFile;
  SFindRequest request;
  std::optional<size_t> folder;  // else the current folder, unless bAll
  bool bAll = false;
  bool bJson = false;
};

// "F:i.j.k", or "F:" for a hit on the folder's own name (whose line shows the name).
std::string Address(const SFindHit& hit) {
  std::string sAddress = std::to_string(hit.nFolder) + ":";
  for (size_t i = 0; i < hit.address.size(); ++i)
    sAddress += (i ? "." : "") + std::to_string(hit.address[i]);
  return sAddress;
}

void PrintHit(const SFindHit& hit, bool bJson) {
  if (!bJson) {
    std::cout << Address(hit) << '\t' << (hit.pNote ? hit.sPath : hit.sFolderName) << '\n';
    return;
  }
  const nlohmann::json line = {{"address", Address(hit)},
                               {"folder", hit.sFolderName},
                               {"path", hit.sPath},
                               {"position", hit.nPosition}};
  std::cout << line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

void Find(CCliSession& session, const SFindArguments& args) {
  if (!args.bAll && args.request.eScope == EFindScope::FolderNames)
    throw CCliError("--scope folders looks at folder names, which only --all searches");
  session.Open(args.sFile);
  const CFolderList& folders = session.Doc().Folders();
  const size_t nFolder = args.folder.value_or(static_cast<size_t>(folders.CurrentIndex()));
  if (!args.bAll && nFolder >= folders.Count())
    throw CCliError("There is no folder " + std::to_string(nFolder) + "; the document has " +
                    std::to_string(folders.Count()));
  size_t nHits = 0;
  auto print = [&](SFindHit&& hit) {
    PrintHit(hit, args.bJson);
    ++nHits;
    return true;
  };
  const CNoteSearch search(args.request);
  if (args.bAll)
    search.SearchDocument(folders, print);
  else
    search.SearchFolder(folders.At(nFolder), nFolder, print);
  std::cout.flush();
  if (nHits == 0) throw CExitStatus(1);
}

}  // namespace

void AddFindCommand(CLI::App& app, const SCliOptions& options) {
  auto args = std::make_shared<SFindArguments>();
  CLI::App* find = app.add_subcommand(
      "find",
      "Notes whose name or visible text holds TEXT: one line per hit, its address F:i.j.k, a "
      "tab and its path of names; exit status 1 when none");
  find->add_option("FILE", args->sFile, "Orvella document (.orv)")->required();
  find->add_option("TEXT", args->request.sText, "The text to find; \"\" lists every note")
      ->required();
  find->add_flag("--case", args->request.bMatchCase, "Letter case counts");
  find->add_flag("--whole", args->request.bWholeWord,
                 "The whole name or text must be TEXT (not a word-boundary test)");
  CLI::Option* folder =
      find->add_option("--folder", args->folder, "Search folder I (from 0); default: the current");
  CLI::Option* all =
      find->add_flag("--all", args->bAll, "Search every folder, and folder names (\"F:\" lines)");
  folder->excludes(all);
  const std::map<std::string, EFindScope> scopes{{"names", EFindScope::NoteNames},
                                                 {"text", EFindScope::TextNotes},
                                                 {"rtf", EFindScope::RtfNotes},
                                                 {"html", EFindScope::HtmlNotes},
                                                 {"folders", EFindScope::FolderNames}};
  find->add_option("--scope", args->request.eScope,
                   "Only note names, the text of plain-text, RTF or HTML notes, or folder names")
      ->transform(CLI::CheckedTransformer(scopes));
  find->add_flag("--json", args->bJson,
                 "One JSON object per line: address, folder, path and the position of the "
                 "first hit in the note's text (code points; -1 none)");
  find->callback(SessionCallback(options, [args](CCliSession& s) { Find(s, *args); }));
}

}  // namespace orv::cli

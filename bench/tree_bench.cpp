// Whole-folder note commands on one folder of 10k and 100k notes: the time
// per note must stay flat (ratio near 1) for the commands to be linear.
//
//   tree_bench [--notes N[,N...]]
//
// Add a case to Cases() for every command that walks a whole folder.

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "cli/cli_tree_view.h"
#include "no_user_ui.h"
#include "note_counts.h"
#include "ports/memory_settings.h"
#include "ports/settings_defaults.h"
#include "tree/branch_commands.h"
#include "tree/note_order_commands.h"

namespace {

using namespace orv;
using Clock = std::chrono::steady_clock;

using bench::CNoUserUi;

// One folder of nNotes with random names: about sqrt(n) top-level notes,
// the others under a random earlier note, all branches closed.
struct SBenchFolder {
  explicit SBenchFolder(size_t nNotes) {
    for (const SIntSetting* pKey : {&kDontAskSortAllTree, &kDontAskSortCrTimeAll})
      WriteSetting(settings, *pKey, 1);
    CXMLTree& folder = tree.CurrentFolder();
    folder.TopLevel().clear();
    folder.ReplaceContents({});
    std::mt19937 rng(1);
    const size_t nTop = static_cast<size_t>(std::sqrt(static_cast<double>(nNotes)));
    std::vector<XMLelement*> notes;
    for (size_t i = 0; i < nNotes; ++i) {
      XMLelement* pParent = i < nTop ? nullptr : notes[rng() % notes.size()];
      notes.push_back(folder.InsertNote(
          {.sName = std::to_string(rng()), .nType = 0, .nContentClass = 0, .pParent = pParent}));
      SetProperty(*notes.back(), "expand", "false");
    }
  }
  CNoUserUi ui;
  CMemorySettingsStore settings;
  COrvellaDoc doc{ui, settings};
  cli::CCliTreeView view{doc.Folders()};
  CNoteTree tree{doc, ui, settings, view};
};

struct SCase {
  const char* pName;
  std::function<void(CNoteTree&)> run;
};

std::vector<SCase> Cases() {
  return {
      {"sort all by name", [](CNoteTree& t) { RunOrderCommand(t, EOrderCommand::SortAllByName); }},
      {"expand all", [](CNoteTree& t) { RunOrderCommand(t, EOrderCommand::ExpandAll); }},
      {"deep copy and paste",
       [](CNoteTree& t) {
         // One branch of every note: the other top-level notes go under the
         // first (a few hundred moves), which is copied and pasted into itself.
         CElementList& top = t.CurrentFolder().TopLevel();
         for (size_t i = 1; i < top.size(); ++i) top[0]->m_children.push_back(std::move(top[i]));
         top.resize(1);
         t.Select(top[0].get());
         CBranchClipboard clipboard;
         RunBranchCommand(t, clipboard, EBranchCommand::CopySubnotes);
         RunBranchCommand(t, clipboard, EBranchCommand::PasteSubnotes);
       }},
  };
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<size_t> counts = bench::ParseNoteCounts(argc, argv);
  std::printf("%-22s %9s %10s %12s %14s\n", "case", "notes", "seconds", "us per note",
              "per-note ratio");
  for (const SCase& testCase : Cases()) {
    double fFirstPerNote = 0;
    for (size_t nNotes : counts) {
      SBenchFolder bench(nNotes);  // fresh, so every case sees unsorted, closed notes
      const auto tStart = Clock::now();
      testCase.run(bench.tree);
      const double fSeconds = std::chrono::duration<double>(Clock::now() - tStart).count();
      const double fPerNote = fSeconds * 1e6 / static_cast<double>(nNotes);
      if (fFirstPerNote == 0) fFirstPerNote = fPerNote;
      std::printf("%-22s %9zu %10.4f %12.3f %14.2f\n", testCase.pName, nNotes, fSeconds, fPerNote,
                  fPerNote / fFirstPerNote);
    }
  }
  return EXIT_SUCCESS;
}

// Finding notes in documents of 100k and 1M notes (mostly rich text, as
// document_bench makes them), against `grep -F -c` and `grep -F -i -c` over
// one file of the same notes' visible text, in the same run. The word sought
// is in 1% of the notes. Cold: the first search, no visible text kept yet;
// warm: the next one. Also the time to the first hit, and the memory the
// kept texts take against the size of the visible text.
//
//   search_bench [--notes N[,N...]] [--save FILE]
//
// With --save, the document of the first count is written to FILE (with the
// word planted) and nothing is measured: a document to try the dialogs on.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "document_generator.h"
#include "no_user_ui.h"
#include "ports/memory_settings.h"
#include "search/note_search.h"
#include "text/note_text.h"

namespace {

using namespace orv;
using Clock = std::chrono::steady_clock;

constexpr const char* kWord = "zephyrine";

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Puts the word into every hundredth note's text, just before its last paragraph ends.
void PlantWord(const CFolderList& folders) {
  size_t nIndex = 0;
  for (const auto& pFolder : folders)
    for (XMLelement* pNote : pFolder->AllNotes()) {
      if (nIndex++ % 100 != 0) continue;
      CBaseContentNode& content = *pFolder->ContentOf(*pNote);
      std::string sText = content.CachedContent();
      sText.insert(sText.rfind("\\par"), std::string(" ") + kWord + " ");
      content.SetContent(std::move(sText));
    }
}

// Writes every note's visible text, one file; returns its size.
size_t WritePlainText(const CFolderList& folders, const std::string& sPath) {
  std::ofstream out(sPath, std::ios::binary);
  for (const auto& pFolder : folders)
    for (XMLelement* pNote : pFolder->AllNotes()) {
      const CBaseContentNode& content = *pFolder->ContentOf(*pNote);
      out << VisibleNoteText(content.CachedContent(), content.Type()) << '\n';
    }
  out.close();
  return std::filesystem::file_size(sPath);
}

// The text is derived again on the next search, as after opening.
void ForgetKeptTexts(const CFolderList& folders) {
  for (const auto& pFolder : folders)
    for (const auto& pContent : pFolder->Contents()) {
      std::string sText = pContent->CachedContent();
      pContent->SetContent(std::move(sText));
    }
}

struct SSearchRun {
  double fSeconds = 0;
  double fFirstHit = 0;
  size_t nHits = 0;
};

SSearchRun Search(const CFolderList& folders, bool bMatchCase) {
  SSearchRun run;
  const auto start = Clock::now();
  CNoteSearch({kWord, bMatchCase}).SearchDocument(folders, [&](SFindHit&&) {
    if (run.nHits++ == 0) run.fFirstHit = Since(start);
    return true;
  });
  run.fSeconds = Since(start);
  return run;
}

// The best of three runs of grep over the file, already in the page cache.
double Grep(const std::string& sOptions, const std::string& sPath) {
  const std::string sCommand =
      // Not to /dev/null: grep would stop at the first match.
      "LC_ALL=C.UTF-8 grep " + sOptions + " " + kWord + " '" + sPath + "' > '" + sPath + ".count'";
  double fBest = 1e9;
  for (int i = 0; i < 3; ++i) {
    const auto start = Clock::now();
    if (std::system(sCommand.c_str()) != 0) std::exit(1);
    fBest = std::min(fBest, Since(start));
  }
  return fBest;
}

// What the kept texts take: their bytes and each one's string and pointer.
size_t KeptBytes(const CFolderList& folders) {
  size_t nBytes = 0;
  for (const auto& pFolder : folders)
    for (const auto& pContent : pFolder->Contents())
      if (const std::string* pKept = pContent->KeptVisibleText())
        nBytes += pKept->capacity() + sizeof(std::string);
  return nBytes;
}

std::vector<size_t> ParseCounts(const std::string& sList) {
  std::vector<size_t> counts;
  std::stringstream in(sList);
  for (std::string sItem; std::getline(in, sItem, ',');) counts.push_back(std::stoul(sItem));
  return counts;
}

int SaveDocument(size_t nNotes, const std::string& sPath) {
  bench::CNoUserUi ui;
  CMemorySettingsStore settings;
  COrvellaDoc doc(ui, settings);
  bench::GenerateDocument(doc, nNotes);
  PlantWord(doc.Folders());
  doc.OnSaveDocument(sPath);
  std::printf("%zu notes, \"%s\" in 1%% of them: %s\n", nNotes, kWord, sPath.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<size_t> counts{100000, 1000000};
  std::string sSave;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string sOption = argv[i];
    if (sOption == "--notes") counts = ParseCounts(argv[i + 1]);
    if (sOption == "--save") sSave = argv[i + 1];
  }
  if (!sSave.empty()) return SaveDocument(counts.front(), sSave);
  const std::string sPlain = (std::filesystem::temp_directory_path() /
                              ("orvella-search-bench-" + std::to_string(getpid())))
                                 .string();
  std::printf("%8s %8s %6s | %7s %7s %7s %7s | %7s %7s | %6s %6s %6s %6s | %7s %7s | %5s\n",
              "notes", "text MB", "hits", "cold s", "warm s", "cold i", "warm i", "grep s",
              "grep i", "cold/g", "warm/g", "cold/gi", "warm/gi", "1st ms", "1st i", "mem/t");
  for (size_t nNotes : counts) {
    bench::CNoUserUi ui;
    CMemorySettingsStore settings;
    COrvellaDoc doc(ui, settings);
    bench::GenerateDocument(doc, nNotes);
    const CFolderList& folders = doc.Folders();
    PlantWord(folders);
    const size_t nPlainBytes = WritePlainText(folders, sPlain);

    const SSearchRun cold = Search(folders, true);
    const SSearchRun warm = Search(folders, true);
    const size_t nKept = KeptBytes(folders);
    const SSearchRun warmFolded = Search(folders, false);
    ForgetKeptTexts(folders);
    const SSearchRun coldFolded = Search(folders, false);
    const double fGrep = Grep("-F -c", sPlain);
    const double fGrepFolded = Grep("-F -i -c", sPlain);
    std::printf(
        "%8zu %8.1f %6zu | %7.3f %7.3f %7.3f %7.3f | %7.3f %7.3f | %6.1f %6.1f %6.1f %6.1f | "
        "%7.1f %7.1f | %5.2f\n",
        nNotes, nPlainBytes / 1048576.0, warm.nHits, cold.fSeconds, warm.fSeconds,
        coldFolded.fSeconds, warmFolded.fSeconds, fGrep, fGrepFolded, cold.fSeconds / fGrep,
        warm.fSeconds / fGrep, coldFolded.fSeconds / fGrepFolded, warmFolded.fSeconds / fGrepFolded,
        cold.fFirstHit * 1e3, coldFolded.fFirstHit * 1e3, static_cast<double>(nKept) / nPlainBytes);
    std::fflush(stdout);
    std::filesystem::remove(sPlain);
    std::filesystem::remove(sPlain + ".count");
  }
  return 0;
}

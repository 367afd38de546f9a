// KeyNote and TreePad import and export of 10k and 100k notes, each against
// `cp` of the same file in the same run: export (building the text and
// writing it) and import (reading and adding the notes) should stay within
// 10x the copy, and their time per note flat from 10k to 100k.
//
// Each figure is the best of five runs, as this machine is shared; the export
// includes the flush to disk that every save of ours makes.
//
//   exchange_bench [--notes N[,N...]]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "document_generator.h"
#include "exchange/keynote_file.h"
#include "exchange/treepad_file.h"
#include "no_user_ui.h"
#include "note_counts.h"
#include "ports/memory_settings.h"

namespace {

using namespace orv;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 5;

double Seconds(const std::function<void()>& run) {
  double fBest = 0;
  for (int i = 0; i < kRuns; ++i) {
    const auto tStart = Clock::now();
    run();
    const double fRun = std::chrono::duration<double>(Clock::now() - tStart).count();
    fBest = i == 0 ? fRun : std::min(fBest, fRun);
  }
  return fBest;
}

std::string ReadFile(const std::string& sPath) {
  auto pFile = CFileSystem::Default().Open(sPath, EOpenMode::Read);
  std::string sData(pFile->Size(), '\0');
  sData.resize(pFile->ReadAt(0, sData.data(), sData.size()));
  return sData;
}

struct SFormat {
  const char* pName;
  size_t nFolders;  // the generated document's; TreePad writes one folder
  std::function<std::string(const CFolderList&)> write;
  std::function<void(CFolderList&, std::string_view)> read;
};

std::vector<SFormat> Formats() {
  static const CCodePage codePage;
  return {
      {"KeyNote", 4, [](const CFolderList& folders) { return WriteKeyNote(folders); },
       [](CFolderList& folders, std::string_view sFile) {
         ImportKeyNote(folders, sFile, codePage);
       }},
      {"TreePad", 1, [](const CFolderList& folders) { return WriteTreePad(folders.At(0)); },
       [](CFolderList& folders, std::string_view sFile) {
         ImportTreePad(folders, nullptr, sFile, codePage);
       }},
  };
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<size_t> counts = bench::ParseNoteCounts(argc, argv);
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / "orvella_exchange_bench";
  std::filesystem::create_directories(dir);
  std::printf("%-8s %7s %8s %8s %8s %8s %8s %8s %11s\n", "format", "notes", "MB", "cp s",
              "export s", "x cp", "import s", "x cp", "per-note x");
  for (const SFormat& format : Formats()) {
    double fFirstPerNote = 0;
    for (size_t nNotes : counts) {
      bench::CNoUserUi ui;
      CMemorySettingsStore settings;
      COrvellaDoc doc(ui, settings);
      bench::GenerateDocument(doc, nNotes, 1, {.nFolders = format.nFolders});
      const std::string sPath = (dir / (std::string(format.pName) + ".out")).string();
      const std::string sCopy = sPath + ".copy";
      const double fExport = Seconds(
          [&] { ReplaceFileContents(CFileSystem::Default(), sPath, format.write(doc.Folders())); });
      const std::string sCommand = "cp '" + sPath + "' '" + sCopy + "'";
      const double fCopy = Seconds([&] {
        if (std::system(sCommand.c_str()) != 0) std::exit(EXIT_FAILURE);
      });
      // Freeing what a run imported is not part of an import.
      std::vector<CFolderList> imports;
      const double fImport = Seconds([&] { format.read(imports.emplace_back(), ReadFile(sPath)); });
      const double fPerNote = (fExport + fImport) / static_cast<double>(nNotes);
      if (fFirstPerNote == 0) fFirstPerNote = fPerNote;
      std::printf("%-8s %7zu %8.1f %8.4f %8.4f %8.1f %8.4f %8.1f %11.2f\n", format.pName, nNotes,
                  static_cast<double>(std::filesystem::file_size(sPath)) / 1e6, fCopy, fExport,
                  fExport / fCopy, fImport, fImport / fCopy, fPerNote / fFirstPerNote);
    }
  }
  std::filesystem::remove_all(dir);
  return EXIT_SUCCESS;
}

// Opening and saving documents of 10k, 100k and 1M notes, against `cp` of the
// same file in the same run. Each measurement runs in a child process so that
// its peak memory is its own.
//
//   document_bench [--notes N[,N...]] [--dir DIR]

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "document_generator.h"
#include "no_user_ui.h"
#include "ports/memory_settings.h"
#include "ports/settings_defaults.h"

namespace {

using namespace orv;
using Clock = std::chrono::steady_clock;

using bench::CNoUserUi;

// A document that measures the save alone: no backup copies beside it.
struct SBenchDocument {
  SBenchDocument() { WriteSetting(settings, kNumBackCopies, 0); }
  CNoUserUi ui;
  CMemorySettingsStore settings;
  COrvellaDoc doc{ui, settings};
};

struct SRun {
  double fSeconds = 0;
  long nPeakKiB = 0;
};

// Seconds taken by `work`.
double Timed(const std::function<void()>& work) {
  auto start = Clock::now();
  work();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Runs `work` in a child, which returns the seconds of the part it measures;
// the peak resident memory is the child's.
SRun InChild(const std::function<double()>& work) {
  int fds[2];
  if (pipe(fds) != 0) std::exit(1);
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    double fSeconds = work();
    if (write(fds[1], &fSeconds, sizeof fSeconds) != sizeof fSeconds) _exit(1);
    _exit(0);
  }
  close(fds[1]);
  SRun run;
  if (read(fds[0], &run.fSeconds, sizeof run.fSeconds) != sizeof run.fSeconds) {
    std::fprintf(stderr, "the measured step failed\n");
    std::exit(1);
  }
  close(fds[0]);
  int nStatus = 0;
  rusage usage{};
  wait4(pid, &nStatus, 0, &usage);
  run.nPeakKiB = usage.ru_maxrss;
  return run;
}

std::vector<size_t> ParseCounts(const std::string& s) {
  std::vector<size_t> counts;
  std::stringstream in(s);
  for (std::string sPart; std::getline(in, sPart, ',');) counts.push_back(std::stoul(sPart));
  return counts;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<size_t> counts{10000, 100000, 1000000};
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "orvella-document-bench";
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string sOption = argv[i];
    if (sOption == "--notes") counts = ParseCounts(argv[i + 1]);
    if (sOption == "--dir") dir = argv[i + 1];
  }
  std::filesystem::create_directories(dir);
  std::printf("%9s %9s %8s %8s %8s %8s %8s %10s %10s %9s %9s\n", "notes", "file MB", "cp s",
              "open s", "save s", "open/cp", "save/cp", "open us/n", "save us/n", "open pk/f",
              "save pk/f");
  for (size_t nNotes : counts) {
    std::string sPath = (dir / ("bench-" + std::to_string(nNotes) + ".orv")).string();
    std::string sCopy = sPath + ".copy";
    std::string sSaved = sPath + ".saved";
    InChild([&] {
      SBenchDocument document;
      bench::GenerateDocument(document.doc, nNotes);
      document.doc.OnSaveDocument(sPath);
      return 0.0;
    });
    double fFileKiB = std::filesystem::file_size(sPath) / 1024.0;
    SRun cp = InChild([&] {
      return Timed([&] {
        std::string sCommand = "cp '" + sPath + "' '" + sCopy + "' && sync '" + sCopy + "'";
        if (std::system(sCommand.c_str()) != 0) std::exit(1);
      });
    });
    SRun open = InChild([&] {
      SBenchDocument document;
      return Timed([&] { document.doc.OnOpenDocument(sPath); });
    });
    SRun save = InChild([&] {
      SBenchDocument document;
      document.doc.OnOpenDocument(sPath);
      return Timed([&] { document.doc.OnSaveDocument(sSaved); });
    });
    std::printf("%9zu %9.1f %8.2f %8.2f %8.2f %8.1f %8.1f %10.2f %10.2f %9.2f %9.2f\n", nNotes,
                fFileKiB / 1024, cp.fSeconds, open.fSeconds, save.fSeconds,
                open.fSeconds / cp.fSeconds, save.fSeconds / cp.fSeconds,
                open.fSeconds * 1e6 / nNotes, save.fSeconds * 1e6 / nNotes,
                open.nPeakKiB / fFileKiB, save.nPeakKiB / fFileKiB);
    std::fflush(stdout);
    for (const std::string& s : {sPath, sCopy, sSaved}) std::filesystem::remove(s);
  }
  return 0;
}

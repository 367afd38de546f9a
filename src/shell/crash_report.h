#pragma once
// The exception report a crash leaves for the user to send: the system's
// details, the fault and the call stack, in the headings and order users of
// the Windows edition know, filled from what Linux offers. Lines end with
// CR LF. The report goes to "Orvella.err" in the data folder, beside a
// comments file for the user to fill in.

#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "shell/crash_record.h"
#include "shell/stack_symbols.h"

namespace orv {

inline constexpr std::string_view kCrashApplicationName = "Orvella";
inline constexpr std::string_view kCrashReportFileName = "Orvella.err";
inline constexpr std::string_view kCrashCommentsFileName = "Orvella comments.txt";

// The report's three system lines, each after its heading.
struct SSystemDetails {
  std::string sOperatingSystem;
  std::string sProcessor;
  std::string sMemory;
};

// "Debian GNU/Linux 12 (bookworm), Linux 6.1.0 #1 SMP x86_64" from
// /etc/os-release and uname's fields; "Could not get OS version" with neither.
std::string DescribeOperatingSystem(std::string_view sOsRelease, std::string_view sUname);
// From /proc/cpuinfo and the machine name uname gives.
std::string DescribeProcessor(std::string_view sCpuInfo, std::string_view sMachine);
// From /proc/meminfo and the process's /proc/PID/status, both taken at the fault.
std::string DescribeMemory(std::string_view sMemInfo, std::string_view sStatus);
// The three lines of this machine, with the record's memory figures.
SSystemDetails ReadSystemDetails(const SCrashRecord& record);

// The whole report; symbols holds one entry per frame of the record.
std::string FormatCrashReport(const SCrashRecord& record, const SSystemDetails& system,
                              const std::vector<SFrameSymbol>& symbols);
// The comments file that goes with a report.
std::string FormatCrashComments();

// Writes the report and the comments file into sFolder, each atomically;
// returns the report's path. Throws CIoError.
std::string WriteCrashReportFiles(CFileSystem& fs, const std::string& sFolder,
                                  const std::string& sReport);

}  // namespace orv

#include "shell/crash_report.h"

#include <sys/utsname.h>

#include <algorithm>
#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "shell/crash_names.h"

namespace orv {

namespace {

constexpr std::string_view kEol = "\r\n";
constexpr int kPointerDigits = 2 * sizeof(void*);

std::string_view Trim(std::string_view s, std::string_view sJunk = " \t\"") {
  size_t nFirst = s.find_first_not_of(sJunk);
  if (nFirst == std::string_view::npos) return {};
  return s.substr(nFirst, s.find_last_not_of(sJunk) - nFirst + 1);
}

// The value of the first line "key<separator>value" of a /proc or /etc text.
std::string_view FieldOf(std::string_view sText, std::string_view sKey, char cSeparator) {
  while (!sText.empty()) {
    size_t nEnd = sText.find('\n');
    std::string_view sLine = sText.substr(0, nEnd);
    sText = nEnd == std::string_view::npos ? std::string_view() : sText.substr(nEnd + 1);
    size_t nSeparator = sLine.find(cSeparator);
    if (nSeparator != std::string_view::npos && Trim(sLine.substr(0, nSeparator)) == sKey)
      return Trim(sLine.substr(nSeparator + 1));
  }
  return {};
}

// The leading number of a field ("16384 kB", "2400.000"); nullopt for none.
std::optional<uint64_t> NumberOf(std::string_view sField) {
  uint64_t nValue = 0;
  auto [pEnd, error] = std::from_chars(sField.data(), sField.data() + sField.size(), nValue);
  if (error != std::errc()) return std::nullopt;
  return nValue;
}

size_t CountLines(std::string_view sText, std::string_view sKey) {
  size_t nCount = 0;
  for (size_t nPos = 0; nPos < sText.size();) {
    size_t nEnd = sText.find('\n', nPos);
    std::string_view sLine = sText.substr(nPos, nEnd - nPos);
    if (Trim(sLine.substr(0, sLine.find(':'))) == sKey) ++nCount;
    nPos = nEnd == std::string_view::npos ? sText.size() : nEnd + 1;
  }
  return nCount;
}

std::string Padded(uint64_t nValue) {
  char szText[32];
  std::snprintf(szText, sizeof szText, "%0*" PRIX64, kPointerDigits, nValue);
  return szText;
}

// Files under /proc tell no size: read to their end.
std::string ReadProcFile(const char* pPath) {
  std::ifstream file(pPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

std::string DescribeOperatingSystem(std::string_view sOsRelease, std::string_view sUname) {
  std::string_view sName = FieldOf(sOsRelease, "PRETTY_NAME", '=');
  if (sName.empty()) sName = FieldOf(sOsRelease, "NAME", '=');
  if (sName.empty() && sUname.empty()) return "Could not get OS version";
  if (sName.empty()) return std::string(sUname);
  if (sUname.empty()) return std::string(sName);
  return std::string(sName) + ", " + std::string(sUname);
}

std::string DescribeProcessor(std::string_view sCpuInfo, std::string_view sMachine) {
  std::string sText = "Architecture: ";
  sText += sMachine.empty() ? "Unknown" : sMachine;
  std::string_view sFamily = FieldOf(sCpuInfo, "cpu family", ':');
  sText += ", Level: " + std::string(sFamily.empty() ? "Unknown" : sFamily) + ", ";
  std::string_view sModel = FieldOf(sCpuInfo, "model", ':');
  std::string_view sStepping = FieldOf(sCpuInfo, "stepping", ':');
  if (!sModel.empty() && !sStepping.empty())
    sText += "Stepping: " + std::string(sModel) + "-" + std::string(sStepping) + ", ";
  sText += "Number Of Processors: " + std::to_string(CountLines(sCpuInfo, "processor")) + ", ";
  std::string_view sVendor = FieldOf(sCpuInfo, "vendor_id", ':');
  sText += "Vendor: " + std::string(sVendor.empty() ? "Unknown" : sVendor);
  std::optional<uint64_t> nMhz = NumberOf(FieldOf(sCpuInfo, "cpu MHz", ':'));
  sText += nMhz ? ", Speed: " + std::to_string(*nMhz) + "MHz, " : ", Speed: Unknown, ";
  std::string_view sFlags = FieldOf(sCpuInfo, "flags", ':');
  if ((" " + std::string(sFlags) + " ").find(" mmx ") != std::string::npos) sText += " MMX";
  return sText;
}

std::string DescribeMemory(std::string_view sMemInfo, std::string_view sStatus) {
  auto kb = [](std::string_view sText, std::string_view sKey) {
    return NumberOf(FieldOf(sText, sKey, ':')).value_or(0);
  };
  const uint64_t nTotal = kb(sMemInfo, "MemTotal");
  uint64_t nAvailable = kb(sMemInfo, "MemAvailable");
  if (!nAvailable) nAvailable = kb(sMemInfo, "MemFree");
  const uint64_t nUsedPercent = nTotal ? (nTotal - std::min(nAvailable, nTotal)) * 100 / nTotal : 0;
  // Virtual memory is what the system lets programs commit.
  const uint64_t nCommitLimit = kb(sMemInfo, "CommitLimit");
  const uint64_t nCommitted = kb(sMemInfo, "Committed_AS");
  const uint64_t nVirtualFree = nCommitLimit > nCommitted ? nCommitLimit - nCommitted : 0;
  char szText[512];
  // The working set is the process's resident memory, now and at its peak.
  std::snprintf(szText, sizeof szText,
                "Memory Used %" PRIu64 "%%, Total Physical Memory %" PRIu64
                "KB, Physical Memory Available %" PRIu64 "KB, Total Virtual Memory %" PRIu64
                "KB, Available Virtual Memory %" PRIu64 "KB, Working Set Min: %" PRIu64
                "KB Max: %" PRIu64 "KB .",
                nUsedPercent, nTotal, nAvailable, nCommitLimit, nVirtualFree, kb(sStatus, "VmRSS"),
                kb(sStatus, "VmHWM"));
  return szText;
}

SSystemDetails ReadSystemDetails(const SCrashRecord& record) {
  utsname names{};
  std::string sUname, sMachine;
  if (::uname(&names) == 0) {
    sMachine = names.machine;
    sUname = std::string(names.sysname) + " " + names.release + " " + names.version + " " +
             names.machine;
  }
  return {DescribeOperatingSystem(ReadProcFile("/etc/os-release"), sUname),
          DescribeProcessor(ReadProcFile("/proc/cpuinfo"), sMachine),
          DescribeMemory(record.sMemInfo, record.sStatus)};
}

std::string FormatCrashReport(const SCrashRecord& record, const SSystemDetails& system,
                              const std::vector<SFrameSymbol>& symbols) {
  std::string sOut;
  auto line = [&sOut](std::string_view sText) { sOut.append(sText).append(kEol); };
  line("Exception report created by " + std::string(kCrashApplicationName));
  line(std::string(51, '='));
  line("");
  line("System details:");
  line("---------------");
  line("");
  line("Operating System: " + system.sOperatingSystem);
  line("Processor Information: " + system.sProcessor);
  line("Memory Information: " + system.sMemory);
  line("");
  line("Exception Details:");
  line("------------------");
  line("");
  char szCode[16];
  std::snprintf(szCode, sizeof szCode, "%08X", static_cast<unsigned>(record.nSignal));
  line("Exception code: " + std::string(szCode) + " " +
       std::string(
           ExceptionName(record.nSignal, record.nCode, record.nAddress, record.nStackPointer)) +
       " (" + SignalName(record.nSignal) + ", code " + std::to_string(record.nCode) + ")");
  line("Fault address: " + Padded(record.nAddress));
  if (!record.sUncaught.empty()) line("Uncaught exception: " + record.sUncaught);
  line("");
  line("Call stack:");
  line("-----------");
  line("");
  line("Address   Frame     Function\t\tSourceFile");
  for (size_t i = 0; i < record.frames.size(); ++i) {
    const SCrashFrame& frame = record.frames[i];
    const SFrameSymbol symbol = i < symbols.size() ? symbols[i] : SFrameSymbol{};
    line(Padded(frame.nAddress) + "  " + Padded(frame.nFrame) + "  " + symbol.sFunction + "\t\t" +
         symbol.sSource);
  }
  return sOut;
}

std::string FormatCrashComments() {
  const std::string sName(kCrashApplicationName);
  return "Exception report created by " + sName + "\r\n\r\n" +
         "Enter your comments here, what did you do with " + sName + " before it crashed?\r\n";
}

std::string WriteCrashReportFiles(CFileSystem& fs, const std::string& sFolder,
                                  const std::string& sReport) {
  const std::filesystem::path folder(sFolder);
  std::string sReportPath = (folder / kCrashReportFileName).string();
  ReplaceFileContents(fs, sReportPath, sReport);
  ReplaceFileContents(fs, (folder / kCrashCommentsFileName).string(), FormatCrashComments());
  return sReportPath;
}

}  // namespace orv

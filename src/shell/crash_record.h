#pragma once
// The record a crashing process leaves for the process that writes its
// report: the fault, the call stack as raw addresses with the modules they
// lie in, and the process's memory figures. It is written by the signal
// handler with nothing but write(), so it is plain text of one item a line,
// and read by a parser that trusts none of it. docs/formats/crash-report.md
// describes it.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// The first line, and the keys of the lines after it.
inline constexpr std::string_view kCrashRecordMagic = "Orvella crash record 1";
inline constexpr std::string_view kRecordSignal = "signal";
inline constexpr std::string_view kRecordCode = "code";
inline constexpr std::string_view kRecordAddress = "address";
inline constexpr std::string_view kRecordStack = "stack";
inline constexpr std::string_view kRecordPid = "pid";
inline constexpr std::string_view kRecordTime = "time";
inline constexpr std::string_view kRecordUncaught = "uncaught";
inline constexpr std::string_view kRecordModule = "module";
inline constexpr std::string_view kRecordFrame = "frame";
// Sections copied whole from /proc, to the end of the record or the next section.
inline constexpr std::string_view kRecordStatusSection = "[status]";
inline constexpr std::string_view kRecordMemInfoSection = "[meminfo]";

// Reading stops at these, whatever the record claims.
inline constexpr size_t kMaxRecordFrames = 128;
inline constexpr size_t kMaxRecordModules = 128;

struct SCrashModule {
  uint64_t nBias = 0;  // where the module's addresses start in the process
  std::string sPath;
};

struct SCrashFrame {
  uint64_t nAddress = 0;  // the faulting instruction for the first, return addresses after
  uint64_t nFrame = 0;    // the frame's canonical frame address
  std::optional<int> nModule;
};

struct SCrashRecord {
  int nSignal = 0;
  int nCode = 0;
  uint64_t nAddress = 0;       // the fault address the kernel gave
  uint64_t nStackPointer = 0;  // at the fault; 0 when unknown
  int64_t nPid = 0;
  int64_t nTime = 0;      // seconds since the epoch
  std::string sUncaught;  // the exception std::terminate was called for, if any
  std::map<int, SCrashModule> modules;
  std::vector<SCrashFrame> frames;
  std::string sStatus;   // /proc/PID/status at the fault
  std::string sMemInfo;  // /proc/meminfo at the fault
};

// nullopt when sText does not start as a record does. Lines it does not
// understand are skipped; a record cut short keeps what it has.
std::optional<SCrashRecord> ParseCrashRecord(std::string_view sText);

}  // namespace orv

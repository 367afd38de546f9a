// The crash report: children crash on purpose under the handler, and their
// reports are read; the name table, the system lines and the record parser
// on fixed inputs.

#include "shell/crash_report.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <thread>

#include "shell/crash_handler.h"
#include "shell/crash_names.h"
#include "support/test_support.h"

namespace orv {
namespace {

using test::CTempDir;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_UNDEFINED__)
constexpr bool kSanitized = true;  // the sanitizers catch these faults themselves
#else
constexpr bool kSanitized = false;
#endif

// What the crashing functions are called, for the stack to name.
volatile int g_nZero = 0;
volatile int g_nQuotient = 0;
volatile int g_nStopAt = -1;
int* volatile g_pNull = nullptr;

[[gnu::noinline]] void WriteThroughNull() { *g_pNull = 42; }
[[gnu::noinline]] void DivideByZero() { g_nQuotient = 100 / g_nZero; }
[[gnu::noinline]] int RecurseForever(int nDepth) {
  volatile char padding[512];
  padding[0] = static_cast<char>(nDepth);
  if (nDepth == g_nStopAt) return 0;
  return RecurseForever(nDepth + 1) + padding[0];
}
[[gnu::noinline]] void ThrowDiskFull() { throw std::runtime_error("disk full"); }
[[gnu::noinline]] void LetItEscape() noexcept { ThrowDiskFull(); }

struct SCrashCase {
  const char* pWhat;
  std::function<void()> crash;
  int nSignal;
  const char* pName;      // on the exception code line
  const char* pFunction;  // a frame of the call stack
  const char* pExtra;     // another line the report holds, or null
};

// Forks a child that installs the handler and crashes; returns its report.
std::string ReportOfCrashingChild(const CTempDir& dir, const SCrashCase& crash) {
  const std::string sRecord = dir.File("record.txt");
  const std::string sSeen = sRecord + ".seen";
  pid_t pid = ::fork();
  if (pid == 0) {
    // The helper keeps what it found, so the test sees it was started on a whole record.
    InstallCrashHandler(
        {sRecord,
         {"/bin/sh", "-c", "cp \"$0\" \"$0.part\" && mv \"$0.part\" \"$0.seen\"", sRecord}});
    crash.crash();
    ::_exit(0);
  }
  int nStatus = 0;
  ::waitpid(pid, &nStatus, 0);
  EXPECT_TRUE(WIFSIGNALED(nStatus) && WTERMSIG(nStatus) == crash.nSignal) << crash.pWhat;
  for (int i = 0; i < 500 && !std::filesystem::exists(sSeen); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const std::string sText = std::filesystem::exists(sSeen) ? test::ReadWholeFile(sSeen) : "";
  EXPECT_EQ(sText, test::ReadWholeFile(sRecord)) << crash.pWhat;
  std::optional<SCrashRecord> record = ParseCrashRecord(sText);
  if (!record) return {};
  EXPECT_EQ(record->nPid, pid);
  return FormatCrashReport(*record, ReadSystemDetails(*record), SymbolizeFrames(*record));
}

TEST(CrashReport, ACrashingChildLeavesAReportNamingTheFaultAndTheFunction) {
  if (kSanitized) GTEST_SKIP() << "the sanitizers handle these signals";
  std::vector<SCrashCase> cases = {
      {"null pointer", WriteThroughNull, SIGSEGV, "ACCESS_VIOLATION (SIGSEGV, code 1)",
       "WriteThroughNull", "Fault address: 0000000000000000"},
      {"stack overflow", [] { RecurseForever(0); }, SIGSEGV, "STACK_OVERFLOW (SIGSEGV",
       "RecurseForever", nullptr},
      {"uncaught exception", LetItEscape, SIGABRT, "Unknown exception. (SIGABRT", "ThrowDiskFull",
       "Uncaught exception: std::runtime_error: disk full"},
      {"abort", [] { std::abort(); }, SIGABRT, "Unknown exception. (SIGABRT", "TestBody()",
       nullptr},
  };
#if defined(__x86_64__)
  // Other processors divide by zero without a trap.
  cases.push_back({"division by zero", DivideByZero, SIGFPE, "INT_DIVIDE_BY_ZERO (SIGFPE",
                   "DivideByZero", nullptr});
#endif
  for (const SCrashCase& crash : cases) {
    SCOPED_TRACE(crash.pWhat);
    CTempDir dir;
    const std::string sReport = ReportOfCrashingChild(dir, crash);
    // The headings, in their order.
    size_t nPos = 0;
    for (const char* pHeading :
         {"Exception report created by Orvella\r\n"
          "===================================================\r\n\r\n",
          "System details:\r\n---------------\r\n\r\n", "\r\nOperating System: ",
          "\r\nProcessor Information: Architecture: ", "\r\nMemory Information: Memory Used ",
          "Exception Details:\r\n------------------\r\n\r\nException code: ", "\r\nFault address: ",
          "Call stack:\r\n-----------\r\n\r\n", "Address   Frame     Function\t\tSourceFile\r\n"}) {
      size_t nFound = sReport.find(pHeading, nPos);
      ASSERT_NE(nFound, std::string::npos) << pHeading << "\n" << sReport;
      nPos = nFound;
    }
    EXPECT_NE(sReport.find(crash.pName), std::string::npos) << sReport;
    // The frame is named, with its source line: all these functions are ours.
    const size_t nFrame = sReport.find(crash.pFunction, nPos);
    ASSERT_NE(nFrame, std::string::npos) << sReport;
    EXPECT_LT(sReport.find("crash_report_test.cpp line ", nFrame), sReport.find("\r\n", nFrame))
        << sReport;
    if (crash.pExtra) {
      EXPECT_NE(sReport.find(crash.pExtra), std::string::npos) << sReport;
    }
  }
}

TEST(CrashReport, SignalsAndCodesHaveTheirNames) {
  struct SCase {
    int nSignal, nCode;
    uint64_t nAddress, nStack;
    std::string_view sName;
  } cases[] = {
      {SIGSEGV, SEGV_MAPERR, 0x10, 0x7ffd0000, "ACCESS_VIOLATION"},
      {SIGSEGV, SEGV_ACCERR, 0x7ffcfff8, 0x7ffd0000, "STACK_OVERFLOW"},
      {SIGSEGV, SI_USER, 0, 0x7ffd0000, "ACCESS_VIOLATION"},  // kill -SEGV
      {SIGBUS, BUS_ADRALN, 0x1001, 0, "DATATYPE_MISALIGNMENT"},
      {SIGBUS, BUS_ADRERR, 0x1000, 0, "IN_PAGE_ERROR"},
      {SIGFPE, FPE_INTDIV, 0x401000, 0, "INT_DIVIDE_BY_ZERO"},
      {SIGFPE, FPE_INTOVF, 0x401000, 0, "INT_OVERFLOW"},
      {SIGFPE, FPE_FLTDIV, 0x401000, 0, "FLT_DIVIDE_BY_ZERO"},
      {SIGFPE, FPE_FLTINV, 0x401000, 0, "FLT_INVALID_OPERATION"},
      {SIGFPE, SI_USER, 0, 0, "Unknown exception."},
      {SIGILL, ILL_PRVOPC, 0x401000, 0, "PRIV_INSTRUCTION"},
      {SIGILL, ILL_ILLOPC, 0x401000, 0, "ILLEGAL_INSTRUCTION"},
      {SIGABRT, SI_TKILL, 0, 0, "Unknown exception."},
  };
  for (const SCase& c : cases)
    EXPECT_EQ(ExceptionName(c.nSignal, c.nCode, c.nAddress, c.nStack), c.sName)
        << SignalName(c.nSignal) << " " << c.nCode;
  EXPECT_EQ(SignalName(SIGSEGV), "SIGSEGV");
}

TEST(CrashReport, SystemLinesComeFromWhatLinuxTells) {
  const char* pCpuInfo =
      "processor\t: 0\nvendor_id\t: GenuineIntel\ncpu family\t: 6\nmodel\t\t: 158\n"
      "model name\t: Intel(R) Core(TM)\nstepping\t: 10\ncpu MHz\t\t: 2400.000\n"
      "flags\t\t: fpu vme mmx sse\n\nprocessor\t: 1\nvendor_id\t: GenuineIntel\n";
  EXPECT_EQ(DescribeProcessor(pCpuInfo, "x86_64"),
            "Architecture: x86_64, Level: 6, Stepping: 158-10, Number Of Processors: 2, "
            "Vendor: GenuineIntel, Speed: 2400MHz,  MMX");
  EXPECT_EQ(DescribeProcessor("processor\t: 0\nBogoMIPS\t: 50.00\n", "aarch64"),
            "Architecture: aarch64, Level: Unknown, Number Of Processors: 1, "
            "Vendor: Unknown, Speed: Unknown, ");

  EXPECT_EQ(DescribeOperatingSystem("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux "
                                    "12 (bookworm)\"\n",
                                    "Linux 6.1.0 #1 SMP x86_64"),
            "Debian GNU/Linux 12 (bookworm), Linux 6.1.0 #1 SMP x86_64");
  EXPECT_EQ(DescribeOperatingSystem("NAME=Alpine\n", ""), "Alpine");
  EXPECT_EQ(DescribeOperatingSystem("", ""), "Could not get OS version");

  EXPECT_EQ(DescribeMemory("MemTotal:       16000000 kB\nMemFree:  100 kB\n"
                           "MemAvailable:    4000000 kB\nCommitLimit:    20000000 kB\n"
                           "Committed_AS:    5000000 kB\n",
                           "Name:\torvella\nVmHWM:\t  250000 kB\nVmRSS:\t  200000 kB\n"),
            "Memory Used 75%, Total Physical Memory 16000000KB, Physical Memory Available "
            "4000000KB, Total Virtual Memory 20000000KB, Available Virtual Memory 15000000KB, "
            "Working Set Min: 200000KB Max: 250000KB .");
  EXPECT_EQ(DescribeMemory("", ""),
            "Memory Used 0%, Total Physical Memory 0KB, Physical Memory Available 0KB, Total "
            "Virtual Memory 0KB, Available Virtual Memory 0KB, Working Set Min: 0KB Max: 0KB .");
}

TEST(CrashReport, Addr2LineAnswersBecomeFunctionAndSourceLine) {
  struct SCase {
    const char *pFunction, *pLocation, *pShownFunction, *pShownSource;
  } cases[] = {
      {"orv::Open(int)", "/src/a.cpp:42", "orv::Open(int)", "/src/a.cpp line 42"},
      {"main", "/src/main.cpp:7 (discriminator 3)", "main", "/src/main.cpp line 7"},
      {"??", "??:0", "", ""},
      {"qt_main", "??:?", "qt_main", ""},
      {"f", "/src/b.cpp:?", "f", ""},
  };
  for (const SCase& c : cases) {
    SFrameSymbol symbol = ReadAddr2LineAnswer(c.pFunction, c.pLocation);
    EXPECT_EQ(symbol.sFunction, c.pShownFunction) << c.pLocation;
    EXPECT_EQ(symbol.sSource, c.pShownSource) << c.pLocation;
  }
}

TEST(CrashReport, TheRecordParserTrustsNothing) {
  EXPECT_FALSE(ParseCrashRecord("not a record\nsignal 11\n"));
  std::string sText = std::string(kCrashRecordMagic) +
                      "\nsignal 11\ncode x\naddress zz\nmodule 0 1000 /lib/a.so\n"
                      "frame 1010 2000 0\nframe 1020 2010 7\nframe 1030\n";
  for (int i = 0; i < 500; ++i) sText += "frame 1 2 0\n";
  sText += "[status]\nVmRSS: 5 kB\n[meminfo]\nMemTotal: 9 kB";  // cut short
  std::optional<SCrashRecord> record = ParseCrashRecord(sText);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->nSignal, 11);
  EXPECT_EQ(record->nCode, 0);
  EXPECT_EQ(record->nAddress, 0u);
  ASSERT_EQ(record->frames.size(), kMaxRecordFrames);
  EXPECT_EQ(record->frames[0].nModule, 0);
  EXPECT_EQ(record->frames[1].nModule, std::nullopt);  // no module 7
  EXPECT_EQ(record->modules.at(0).sPath, "/lib/a.so");
  EXPECT_EQ(record->sStatus, "VmRSS: 5 kB\n");
  EXPECT_EQ(record->sMemInfo, "MemTotal: 9 kB\n");
}

TEST(CrashReport, TheReportAndCommentsGoToTheDataFolder) {
  CTempDir dir;
  const std::string sPath =
      WriteCrashReportFiles(CFileSystem::Default(), dir.Path().string(), "report");
  EXPECT_EQ(sPath, dir.File("Orvella.err"));
  EXPECT_EQ(test::ReadWholeFile(sPath), "report");
  EXPECT_EQ(test::ReadWholeFile(dir.File("Orvella comments.txt")),
            "Exception report created by Orvella\r\n\r\nEnter your comments here, what did you "
            "do with Orvella before it crashed?\r\n");
  EXPECT_THROW(WriteCrashReportFiles(CFileSystem::Default(), dir.File("missing/folder"), "r"),
               CIoError);
}

}  // namespace
}  // namespace orv

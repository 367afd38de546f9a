#include "shell/crash_names.h"

#include <signal.h>
#include <string.h>

namespace orv {

namespace {

constexpr int kAnyCode = -1000;
// How far from the stack pointer a faulting access counts as one into the
// guard page below the stack: further than any one push or call reaches.
constexpr uint64_t kStackReach = uint64_t{64} * 1024;

struct SExceptionName {
  int nSignal;
  int nCode;
  std::string_view sName;
};

// The first entry that matches wins.
constexpr SExceptionName kNames[] = {
    {SIGSEGV, kAnyCode, "ACCESS_VIOLATION"},
    {SIGBUS, BUS_ADRALN, "DATATYPE_MISALIGNMENT"},
    // A mapped file that shrank under the program: the page cannot be read in.
    {SIGBUS, BUS_ADRERR, "IN_PAGE_ERROR"},
    {SIGBUS, BUS_OBJERR, "IN_PAGE_ERROR"},
    {SIGFPE, FPE_INTDIV, "INT_DIVIDE_BY_ZERO"},
    {SIGFPE, FPE_INTOVF, "INT_OVERFLOW"},
    {SIGFPE, FPE_FLTDIV, "FLT_DIVIDE_BY_ZERO"},
    {SIGFPE, FPE_FLTOVF, "FLT_OVERFLOW"},
    {SIGFPE, FPE_FLTUND, "FLT_UNDERFLOW"},
    {SIGFPE, FPE_FLTRES, "FLT_INEXACT_RESULT"},
    {SIGFPE, FPE_FLTINV, "FLT_INVALID_OPERATION"},
    {SIGFPE, FPE_FLTSUB, "ARRAY_BOUNDS_EXCEEDED"},
    {SIGILL, ILL_PRVOPC, "PRIV_INSTRUCTION"},
    {SIGILL, ILL_PRVREG, "PRIV_INSTRUCTION"},
    {SIGILL, ILL_BADSTK, "STACK_OVERFLOW"},
    {SIGILL, kAnyCode, "ILLEGAL_INSTRUCTION"},
};

}  // namespace

std::string_view ExceptionName(int nSignal, int nCode, uint64_t nAddress, uint64_t nStackPointer) {
  const bool bNearStack = nStackPointer != 0 && nAddress != 0 &&
                          (nAddress > nStackPointer ? nAddress - nStackPointer
                                                    : nStackPointer - nAddress) < kStackReach;
  if (nSignal == SIGSEGV && nCode > 0 && bNearStack) return "STACK_OVERFLOW";
  for (const SExceptionName& name : kNames)
    if (name.nSignal == nSignal && (name.nCode == kAnyCode || name.nCode == nCode))
      return name.sName;
  return kUnknownException;
}

std::string SignalName(int nSignal) {
  const char* pAbbreviation = sigabbrev_np(nSignal);
  return pAbbreviation ? std::string("SIG") + pAbbreviation : "signal " + std::to_string(nSignal);
}

}  // namespace orv

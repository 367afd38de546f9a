#pragma once
// What a fault is called in a crash report: the names users and the
// maker's tools know from the Windows edition, given to the signals and
// their codes that mean the same on Linux.

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

inline constexpr std::string_view kUnknownException = "Unknown exception.";

// "ACCESS_VIOLATION" for SIGSEGV, "INT_DIVIDE_BY_ZERO" for SIGFPE with
// FPE_INTDIV, ...; kUnknownException for a signal or code that has no name.
// An access close to the stack pointer is a stack that ran out.
std::string_view ExceptionName(int nSignal, int nCode, uint64_t nAddress, uint64_t nStackPointer);

// "SIGSEGV"; "signal N" for one without a name.
std::string SignalName(int nSignal);

}  // namespace orv

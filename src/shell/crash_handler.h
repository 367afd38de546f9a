#pragma once
// Catches the faults nothing else handles: SIGSEGV, SIGBUS, SIGFPE, SIGILL,
// SIGABRT, and std::terminate (which aborts). The handler writes a crash
// record (shell/crash_record.h), starts a helper process that turns it into
// a report and talks to the user, and lets the program die of the signal as
// it would have. It does only async-signal-safe work; what it needs is
// prepared here, at start-up.
//
// The program installs it, never the library: sanitizers and debuggers have
// handlers of their own for the same signals.

#include <string>
#include <vector>

namespace orv {

struct SCrashHandlerSetup {
  std::string sRecordPath;  // written by the handler, replacing any file there
  // The program and arguments of the helper started once the record is
  // complete; none is started when empty.
  std::vector<std::string> helper;
};

// Installs the handlers for the process (the alternate signal stack, which
// lets a stack overflow be reported, for the calling thread). False, and
// nothing installed, when it was installed before.
bool InstallCrashHandler(const SCrashHandlerSetup& setup);

}  // namespace orv

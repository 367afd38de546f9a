#include "shell/crash_handler.h"

#include <cxxabi.h>
#include <fcntl.h>
#include <link.h>
#include <signal.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>
#include <unwind.h>

#include <atomic>
#include <cstring>
#include <ctime>
#include <exception>
#include <memory>
#include <typeinfo>

#include "shell/crash_record.h"

extern char** environ;

namespace orv {

namespace {

constexpr int kCaughtSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr size_t kAltStackSize = size_t{64} * 1024;
constexpr size_t kUncaughtMax = 1024;

struct SFrame {
  uintptr_t nIp = 0;
  uintptr_t nCfa = 0;
  int nModule = -1;
};

struct SModule {
  uintptr_t nBias = 0;
  const char* pPath = nullptr;  // the loader's own string, alive while the module is loaded
};

// Everything the handler touches, made before any fault: the handler never allocates.
struct SCrashState {
  std::string sRecordPath;
  std::string sExePath;
  std::vector<std::string> helper;
  std::vector<char*> helperArgv;
  std::unique_ptr<char[]> pAltStack;
  char szUncaught[kUncaughtMax] = {};
  SFrame frames[kMaxRecordFrames];
  size_t nFrames = 0;
  SModule modules[kMaxRecordModules];
  size_t nModules = 0;
};

SCrashState* g_pState = nullptr;
std::atomic<bool> g_bCrashing{false};

// Buffered write() of text and numbers, without the C library's formatting.
class CRecordWriter {
 public:
  explicit CRecordWriter(int fd) : m_fd(fd) {}
  ~CRecordWriter() { Flush(); }
  CRecordWriter& Text(const char* pText) { return Bytes(pText, std::strlen(pText)); }
  CRecordWriter& Text(std::string_view sText) { return Bytes(sText.data(), sText.size()); }
  CRecordWriter& Bytes(const char* pData, size_t nCount) {
    for (size_t i = 0; i < nCount; ++i) {
      if (m_nUsed == sizeof m_buffer) Flush();
      m_buffer[m_nUsed++] = pData[i];
    }
    return *this;
  }
  CRecordWriter& Hex(uintptr_t nValue) {
    char szDigits[2 * sizeof nValue];
    size_t n = 0;
    do {
      szDigits[n++] = "0123456789abcdef"[nValue & 0xF];
      nValue >>= 4;
    } while (nValue);
    while (n) Bytes(&szDigits[--n], 1);
    return *this;
  }
  CRecordWriter& Dec(long long nValue) {
    if (nValue < 0) Text("-");
    unsigned long long nMagnitude =
        nValue < 0 ? 0ull - static_cast<unsigned long long>(nValue) : nValue;
    char szDigits[24];
    size_t n = 0;
    do {
      szDigits[n++] = static_cast<char>('0' + nMagnitude % 10);
      nMagnitude /= 10;
    } while (nMagnitude);
    while (n) Bytes(&szDigits[--n], 1);
    return *this;
  }
  // A key and a value on a line of their own.
  CRecordWriter& Item(std::string_view sKey) { return Text(sKey).Text(" "); }
  // The whole of a file, as a section.
  void CopyFile(std::string_view sSection, const char* pPath) {
    int fd = ::open(pPath, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    Text(sSection).Text("\n");
    char chunk[1024];
    for (;;) {
      ssize_t nRead = ::read(fd, chunk, sizeof chunk);
      if (nRead < 0 && errno == EINTR) continue;
      if (nRead <= 0) break;
      Bytes(chunk, static_cast<size_t>(nRead));
    }
    ::close(fd);
  }
  void Flush() {
    size_t nDone = 0;
    while (nDone < m_nUsed) {
      ssize_t nWritten = ::write(m_fd, m_buffer + nDone, m_nUsed - nDone);
      if (nWritten < 0 && errno == EINTR) continue;
      if (nWritten <= 0) break;
      nDone += static_cast<size_t>(nWritten);
    }
    m_nUsed = 0;
  }

 private:
  int m_fd;
  char m_buffer[4096];
  size_t m_nUsed = 0;
};

_Unwind_Reason_Code CollectFrame(_Unwind_Context* pContext, void* pArg) {
  auto& state = *static_cast<SCrashState*>(pArg);
  if (state.nFrames == kMaxRecordFrames) return _URC_END_OF_STACK;
  int bBeforeInstruction = 0;
  uintptr_t nIp = _Unwind_GetIPInfo(pContext, &bBeforeInstruction);
  if (nIp == 0) return _URC_END_OF_STACK;
  state.frames[state.nFrames++] = {nIp, _Unwind_GetCFA(pContext), -1};
  return _URC_NO_REASON;
}

// Assigns each frame the module its instruction lies in.
int FindModules(dl_phdr_info* pInfo, size_t, void* pArg) {
  auto& state = *static_cast<SCrashState*>(pArg);
  int nIndex = -1;
  for (size_t f = 0; f < state.nFrames; ++f) {
    SFrame& frame = state.frames[f];
    // A return address may lie just past its call's function.
    const uintptr_t nLookup = f == 0 ? frame.nIp : frame.nIp - 1;
    for (int p = 0; frame.nModule < 0 && p < pInfo->dlpi_phnum; ++p) {
      const ElfW(Phdr)& segment = pInfo->dlpi_phdr[p];
      const uintptr_t nStart = pInfo->dlpi_addr + segment.p_vaddr;
      if (segment.p_type != PT_LOAD || nLookup < nStart || nLookup - nStart >= segment.p_memsz)
        continue;
      if (nIndex < 0) {
        if (state.nModules == kMaxRecordModules) return 1;
        nIndex = static_cast<int>(state.nModules++);
        const char* pName = pInfo->dlpi_name;
        state.modules[nIndex] = {pInfo->dlpi_addr,
                                 pName && *pName ? pName : state.sExePath.c_str()};
      }
      frame.nModule = nIndex;
    }
  }
  return 0;
}

void ProgramCounters(const void* pContext, uintptr_t& rPc, uintptr_t& rSp) {
  rPc = rSp = 0;
  if (!pContext) return;
  const auto& machine = static_cast<const ucontext_t*>(pContext)->uc_mcontext;
#if defined(__x86_64__)
  rPc = static_cast<uintptr_t>(machine.gregs[REG_RIP]);
  rSp = static_cast<uintptr_t>(machine.gregs[REG_RSP]);
#elif defined(__aarch64__)
  rPc = machine.pc;
  rSp = machine.sp;
#else
  (void)machine;
#endif
}

// The stack from the faulting instruction outwards: the frames of the
// handler itself and of the kernel's signal trampoline are dropped.
void CollectStack(SCrashState& state, uintptr_t nPc) {
  state.nFrames = 0;
  _Unwind_Backtrace(CollectFrame, &state);
  size_t nFirst = 0;
  while (nFirst < state.nFrames && state.frames[nFirst].nIp != nPc) ++nFirst;
  if (nFirst == state.nFrames) {
    // The unwinder did not get through the signal frame: the fault alone.
    state.frames[0] = {nPc, 0, -1};
    state.nFrames = nPc ? 1 : 0;
    return;
  }
  for (size_t i = nFirst; i < state.nFrames; ++i) state.frames[i - nFirst] = state.frames[i];
  state.nFrames -= nFirst;
}

void WriteRecord(SCrashState& state, int nSignal, const siginfo_t* pInfo, const void* pContext) {
  int fd = ::open(state.sRecordPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return;
  uintptr_t nPc = 0, nSp = 0;
  ProgramCounters(pContext, nPc, nSp);
  {
    CRecordWriter out(fd);
    out.Text(kCrashRecordMagic).Text("\n");
    out.Item(kRecordSignal).Dec(nSignal).Text("\n");
    out.Item(kRecordCode).Dec(pInfo ? pInfo->si_code : 0).Text("\n");
    // Only the kernel's own faults have an address; a sent signal has its sender there.
    const bool bFault = pInfo && pInfo->si_code > 0;
    out.Item(kRecordAddress).Hex(bFault ? reinterpret_cast<uintptr_t>(pInfo->si_addr) : 0);
    out.Text("\n").Item(kRecordStack).Hex(nSp).Text("\n");
    out.Item(kRecordPid).Dec(::getpid()).Text("\n");
    out.Item(kRecordTime).Dec(static_cast<long long>(::time(nullptr))).Text("\n");
    if (state.szUncaught[0]) out.Item(kRecordUncaught).Text(state.szUncaught).Text("\n");
    // Written before the stack, whose walk is what may fail on a broken one.
    out.Flush();
    CollectStack(state, nPc);
    state.nModules = 0;
    dl_iterate_phdr(FindModules, &state);
    for (size_t m = 0; m < state.nModules; ++m)
      out.Item(kRecordModule)
          .Dec(static_cast<long long>(m))
          .Text(" ")
          .Hex(state.modules[m].nBias)
          .Text(" ")
          .Text(state.modules[m].pPath)
          .Text("\n");
    for (size_t f = 0; f < state.nFrames; ++f) {
      out.Item(kRecordFrame).Hex(state.frames[f].nIp).Text(" ").Hex(state.frames[f].nCfa);
      if (state.frames[f].nModule >= 0) out.Text(" ").Dec(state.frames[f].nModule);
      out.Text("\n");
    }
    out.CopyFile(kRecordStatusSection, "/proc/self/status");
    out.CopyFile(kRecordMemInfoSection, "/proc/meminfo");
  }
  ::close(fd);
}

void StartHelper(SCrashState& state) {
  if (state.helperArgv.empty()) return;
  // The raw system call: the C library's fork() runs handlers and takes
  // locks that the fault may have left held.
  long nPid = ::syscall(SYS_clone, SIGCHLD, 0, 0, 0, 0);
  if (nPid == 0) {
    ::execve(state.helperArgv[0], state.helperArgv.data(), environ);
    ::_exit(127);
  }
}

void OnFatalSignal(int nSignal, siginfo_t* pInfo, void* pContext) {
  // A fault in here, or in another thread meanwhile, ends the process plainly.
  for (int nCaught : kCaughtSignals) ::signal(nCaught, SIG_DFL);
  if (!g_bCrashing.exchange(true)) {
    WriteRecord(*g_pState, nSignal, pInfo, pContext);
    StartHelper(*g_pState);
  }
  // Dies of the signal once the handler returns: a fault recurs, a sent or
  // raised signal is delivered again.
  ::raise(nSignal);
}

// Keeps what the exception was for the record, then aborts as the default would.
[[noreturn]] void OnTerminate() {
  std::string sText = "unknown";
  if (const std::type_info* pType = abi::__cxa_current_exception_type()) {
    int nStatus = 0;
    std::unique_ptr<char, void (*)(void*)> pName(
        abi::__cxa_demangle(pType->name(), nullptr, nullptr, &nStatus), std::free);
    sText = pName ? pName.get() : pType->name();
    try {
      throw;
    } catch (const std::exception& e) {
      sText += std::string(": ") + e.what();
    } catch (...) {
    }
  }
  for (char& c : sText)
    if (c == '\n' || c == '\r') c = ' ';
  std::strncpy(g_pState->szUncaught, sText.c_str(), kUncaughtMax - 1);
  std::abort();
}

}  // namespace

bool InstallCrashHandler(const SCrashHandlerSetup& setup) {
  if (g_pState) return false;
  auto pState = std::make_unique<SCrashState>();
  pState->sRecordPath = setup.sRecordPath;
  char szExe[4096];
  ssize_t nExe = ::readlink("/proc/self/exe", szExe, sizeof szExe - 1);
  pState->sExePath = nExe > 0 ? std::string(szExe, static_cast<size_t>(nExe)) : "?";
  pState->helper = setup.helper;
  for (std::string& sArgument : pState->helper) pState->helperArgv.push_back(sArgument.data());
  if (!pState->helperArgv.empty()) pState->helperArgv.push_back(nullptr);

  // A walk now loads and readies what the handler's walk will use.
  _Unwind_Backtrace(CollectFrame, pState.get());
  pState->nFrames = 0;

  pState->pAltStack = std::make_unique<char[]>(kAltStackSize);
  stack_t altStack{};
  altStack.ss_sp = pState->pAltStack.get();
  altStack.ss_size = kAltStackSize;
  if (::sigaltstack(&altStack, nullptr) != 0) return false;

  g_pState = pState.release();
  struct sigaction action {};
  action.sa_sigaction = OnFatalSignal;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (int nSignal : kCaughtSignals) ::sigaction(nSignal, &action, nullptr);
  std::set_terminate(OnTerminate);
  return true;
}

}  // namespace orv

#include "shell/stack_symbols.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <sstream>

extern char** environ;

namespace orv {

namespace {

std::string Hex(uint64_t nValue) {
  char szText[24];
  std::snprintf(szText, sizeof szText, "0x%llx", static_cast<unsigned long long>(nValue));
  return szText;
}

// What `program arguments...` writes to its standard output; empty when it
// could not be run.
std::string OutputOf(const std::vector<std::string>& command) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  argv.reserve(command.size() + 1);
  for (const std::string& sArgument : command) argv.push_back(const_cast<char*>(sArgument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  int nError = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  std::string sOutput;
  if (nError == 0) {
    char buffer[4096];
    for (;;) {
      ssize_t nRead = ::read(pipeFds[0], buffer, sizeof buffer);
      if (nRead < 0 && errno == EINTR) continue;
      if (nRead <= 0) break;
      sOutput.append(buffer, static_cast<size_t>(nRead));
    }
    int nStatus = 0;
    while (::waitpid(pid, &nStatus, 0) < 0 && errno == EINTR) {
    }
  }
  ::close(pipeFds[0]);
  return sOutput;
}

std::string ModuleOffset(const SCrashModule& module, uint64_t nOffset) {
  return std::filesystem::path(module.sPath).filename().string() + "+" + Hex(nOffset);
}

}  // namespace

SFrameSymbol ReadAddr2LineAnswer(const std::string& sFunction, const std::string& sLocation) {
  SFrameSymbol symbol;
  if (sFunction != "??") symbol.sFunction = sFunction;
  // "file:line", perhaps with " (discriminator N)"; "??:0" or "file:?" say nothing.
  std::string sPlace = sLocation.substr(0, sLocation.find(" ("));
  size_t nColon = sPlace.rfind(':');
  if (nColon != std::string::npos && nColon > 0 && sPlace.compare(0, nColon, "??") != 0) {
    std::string sLine = sPlace.substr(nColon + 1);
    if (!sLine.empty() && sLine != "0" && sLine != "?")
      symbol.sSource = sPlace.substr(0, nColon) + " line " + sLine;
  }
  return symbol;
}

std::vector<SFrameSymbol> SymbolizeFrames(const SCrashRecord& record) {
  std::vector<SFrameSymbol> symbols(record.frames.size());
  for (const auto& [nModule, module] : record.modules) {
    std::vector<std::string> command = {"addr2line", "-C", "-f", "-e", module.sPath};
    std::vector<size_t> asked;
    for (size_t i = 0; i < record.frames.size(); ++i) {
      const SCrashFrame& frame = record.frames[i];
      if (frame.nModule != nModule) continue;
      // A return address names the instruction after the call.
      const uint64_t nOffset = frame.nAddress - module.nBias - (i == 0 ? 0 : 1);
      symbols[i].sFunction = ModuleOffset(module, nOffset);
      command.push_back(Hex(nOffset));
      asked.push_back(i);
    }
    if (asked.empty()) continue;
    std::istringstream answer(OutputOf(command));
    std::string sFunction, sLocation;
    for (size_t i : asked) {
      if (!std::getline(answer, sFunction) || !std::getline(answer, sLocation)) break;
      SFrameSymbol found = ReadAddr2LineAnswer(sFunction, sLocation);
      if (!found.sFunction.empty()) symbols[i].sFunction = found.sFunction;
      symbols[i].sSource = found.sSource;
    }
  }
  for (size_t i = 0; i < record.frames.size(); ++i)
    if (symbols[i].sFunction.empty()) symbols[i].sFunction = Hex(record.frames[i].nAddress);
  return symbols;
}

}  // namespace orv

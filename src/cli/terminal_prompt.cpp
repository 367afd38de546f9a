#include "cli/terminal_prompt.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>

namespace orv::cli {

namespace {

// What a signal handler needs to give the terminal its echo back: a user who
// presses Ctrl-C at the prompt must not be left with a silent shell.
int g_nTerminal = -1;
termios g_savedModes;

constexpr std::array kRestoringSignals{SIGINT, SIGTERM, SIGHUP, SIGQUIT};

extern "C" void RestoreTerminalAndDie(int nSignal) {
  tcsetattr(g_nTerminal, TCSAFLUSH, &g_savedModes);
  signal(nSignal, SIG_DFL);
  raise(nSignal);
}

// The terminal with echo off for as long as the object lives.
class CSilentTerminal {
 public:
  CSilentTerminal() {
    m_nFd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_nFd < 0) return;
    if (tcgetattr(m_nFd, &m_savedModes) != 0) {
      close(m_nFd);
      m_nFd = -1;
      return;
    }
    g_nTerminal = m_nFd;
    g_savedModes = m_savedModes;
    struct sigaction action {};
    action.sa_handler = RestoreTerminalAndDie;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < kRestoringSignals.size(); ++i)
      sigaction(kRestoringSignals[i], &action, &m_oldActions[i]);
    termios silent = m_savedModes;
    silent.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL);
    tcsetattr(m_nFd, TCSAFLUSH, &silent);
  }

  ~CSilentTerminal() {
    if (m_nFd < 0) return;
    tcsetattr(m_nFd, TCSAFLUSH, &m_savedModes);
    for (size_t i = 0; i < kRestoringSignals.size(); ++i)
      sigaction(kRestoringSignals[i], &m_oldActions[i], nullptr);
    close(m_nFd);
  }

  CSilentTerminal(const CSilentTerminal&) = delete;
  CSilentTerminal& operator=(const CSilentTerminal&) = delete;

  bool IsOpen() const { return m_nFd >= 0; }

  void Write(const std::string& sText) {
    for (size_t nDone = 0; nDone < sText.size();) {
      ssize_t n = write(m_nFd, sText.data() + nDone, sText.size() - nDone);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return;  // the prompt is a courtesy; reading still works
      nDone += static_cast<size_t>(n);
    }
  }

  std::optional<std::string> ReadLine() {
    std::string sLine;
    for (;;) {
      char c;
      ssize_t n = read(m_nFd, &c, 1);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        if (sLine.empty()) return std::nullopt;
        break;
      }
      if (c == '\n') break;
      sLine += c;
    }
    if (!sLine.empty() && sLine.back() == '\r') sLine.pop_back();
    return sLine;
  }

 private:
  int m_nFd = -1;
  termios m_savedModes{};
  std::array<struct sigaction, kRestoringSignals.size()> m_oldActions{};
};

}  // namespace

std::optional<std::string> AskSecretOnTerminal(const std::string& sPrompt) {
  CSilentTerminal terminal;
  if (!terminal.IsOpen()) return std::nullopt;
  terminal.Write(sPrompt);
  std::optional<std::string> line = terminal.ReadLine();
  terminal.Write("\n");  // the Enter the user typed was not echoed
  return line;
}

}  // namespace orv::cli

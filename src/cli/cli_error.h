#pragma once
// A failure a command reports to the user: printed as "orvella-cli: <message>".

#include <stdexcept>

namespace orv::cli {

class CCliError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Ends the program quietly with a status of its own (`find` without hits, 1).
class CExitStatus : public std::exception {
 public:
  explicit CExitStatus(int nStatus) : m_nStatus(nStatus) {}
  int Status() const { return m_nStatus; }

 private:
  int m_nStatus;
};

}  // namespace orv::cli

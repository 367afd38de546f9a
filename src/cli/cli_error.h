#pragma once
// A failure a command reports to the user: printed as "orvella-cli: <message>".

#include <stdexcept>

namespace orv::cli {

class CCliError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace orv::cli

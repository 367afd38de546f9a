#pragma once
// The bytes of a file named on the command line.

#include <string>

namespace orv::cli {

// Throws CCliError "Can't read PATH" when the file cannot be read.
std::string ReadInputFile(const std::string& sPath);

}  // namespace orv::cli

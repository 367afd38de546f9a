#include "cli/input_file.h"

#include <fstream>
#include <iterator>

#include "cli/cli_error.h"

namespace orv::cli {

std::string ReadInputFile(const std::string& sPath) {
  std::ifstream file(sPath, std::ios::binary);
  std::string sData{std::istreambuf_iterator<char>(file), {}};
  if (!file.is_open() || file.bad()) throw CCliError("Can't read " + sPath);
  return sData;
}

}  // namespace orv::cli

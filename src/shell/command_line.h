#pragma once
// The desktop app's command line: a document to open, --print and a
// document, --help, --version. Qt takes its own options (-platform,
// -style, …) out before the rest is read here.

#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct SCommandLine {
  enum class EAction { Open, Print, Help, Version, Wrong };
  EAction eAction = EAction::Open;
  std::string sFile;   // the document; may be empty for Open
  std::string sError;  // for Wrong, what is wrong
};

// The arguments after the program's name. --help and --version win wherever
// they stand, so both answer even beside options Qt has yet to take.
SCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText();
std::string VersionText(std::string_view sVersion);

}  // namespace orv

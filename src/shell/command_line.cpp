#include "shell/command_line.h"

namespace orv {

SCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  using enum SCommandLine::EAction;
  for (const std::string& sArgument : arguments) {
    if (sArgument == "--") break;
    if (sArgument == "-h" || sArgument == "--help") return {Help, {}, {}};
    if (sArgument == "-v" || sArgument == "--version") return {Version, {}, {}};
  }
  SCommandLine line;
  bool bOptionsOver = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& sArgument = arguments[i];
    if (!bOptionsOver && sArgument == "--") {
      bOptionsOver = true;
    } else if (!bOptionsOver && sArgument == "--print") {
      line.eAction = Print;
    } else if (!bOptionsOver && sArgument.size() > 1 && sArgument[0] == '-') {
      return {Wrong, {}, "unknown option " + sArgument};
    } else if (!line.sFile.empty()) {
      return {Wrong, {}, "one document at a time: " + line.sFile + " and " + sArgument};
    } else {
      line.sFile = sArgument;
    }
  }
  if (line.eAction == Print && line.sFile.empty()) return {Wrong, {}, "--print needs a document"};
  return line;
}

std::string UsageText() {
  return "Usage: orvella [FILE]\n"
         "       orvella --print FILE\n"
         "\n"
         "Orvella keeps notes in documents (.orv): folders of note trees in plain text,\n"
         "HTML and rich text.\n"
         "\n"
         "  FILE           the document to open; without one, the document used last,\n"
         "                 else the guide \"About Orvella.orv\", else a new document\n"
         "  --print FILE   print the document's selected note on the default printer\n"
         "                 and exit\n"
         "  -h, --help     show this help and exit\n"
         "  -v, --version  show the version and exit\n"
         "\n"
         "Qt's own options (-platform, -display, -style, ...) are taken too.\n";
}

std::string VersionText(std::string_view sVersion) {
  return "Orvella " + std::string(sVersion) + "\n";
}

}  // namespace orv

#pragma once
// What the KeyNote and TreePad readers share: the refusal they raise, the
// lines of a file whatever its line ends, names and texts decoded from
// UTF-8 or the code page, and the node records between file and folder.

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/code_page.h"

namespace orv {

// A file that is refused; what() is the message the user is shown.
class CExchangeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One note as it comes from or goes to a foreign file.
struct SExchangeNode {
  std::string sName;
  int64_t nLevel = 0;  // 0 at the top; never trusted, see AddNodesAtLevels
  int32_t nType = 0;   // the "type" attribute: 0 text, 1 HTML, 2 RTF
  std::string sContent;
  std::string sDescription;  // where a virtual node's text lived
  std::string sCreated;      // note times, "%Y/%m/%d %H:%M:%S"; empty for now
  std::string sModified;
};

// The lines of sText, each without its LF or CR LF (a mix is fine, and so
// are the doubled CRs of files copied between systems); a UTF-8
// byte order mark at the start is dropped. A last line without a line end
// counts; nothing after the last line end makes no empty line.
std::vector<std::string_view> SplitLines(std::string_view sText);

// s as UTF-8: taken as it is when it is ASCII or valid UTF-8, else decoded
// from the code page, as the files of older Windows programs hold it.
std::string DecodeForeign(std::string s, const CCodePage& codePage);

// Lines joined by LF, without one after the last: the line end before the
// next marker belongs to the file, not to the note.
std::string JoinLines(const std::vector<std::string_view>& lines, const CCodePage& codePage);

// A decimal level, blanks around it allowed; false when sText is not one.
// Huge values are clamped: the placing clamps them anyway.
bool ParseLevel(std::string_view sText, int64_t& rnLevel);

// Appends sContent and a line end to sFile. A line for which
// bReserved(line) holds would read as the file's own structure: a space
// after it keeps it text.
template <typename F>
void AppendContent(std::string& sFile, std::string_view sContent, F&& bReserved) {
  for (size_t nStart = 0; nStart <= sContent.size();) {
    const size_t nEnd = std::min(sContent.find('\n', nStart), sContent.size());
    std::string_view sLine = sContent.substr(nStart, nEnd - nStart);
    // Readers drop a CR before the line end, so it can't keep a line apart.
    const bool bCr = sLine.ends_with('\r');
    if (bCr) sLine.remove_suffix(1);
    sFile += sLine;
    if (bReserved(sLine)) sFile += ' ';
    sFile += bCr ? "\r\n" : "\n";
    nStart = nEnd + 1;
  }
}

// A name on one line: CR and LF become spaces.
std::string OneLine(std::string_view sName);

}  // namespace orv

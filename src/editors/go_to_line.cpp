#include "editors/go_to_line.h"

#include <algorithm>
#include <cstdint>

#include "editors/c_number.h"

namespace orv {

std::string GoToLineLabel(int nLineCount) {
  return "Line number (1 - " + std::to_string(nLineCount) + ")";
}

int GoToLineTarget(std::string_view sTyped, int nLineCount, int nCurrentLine, EGoToEditor eEditor) {
  const int64_t nLine = ReadCLong(sTyped);
  if (eEditor == EGoToEditor::kSource)
    return static_cast<int>(std::clamp<int64_t>(nLine - 1, 0, std::max(nLineCount - 1, 0)));
  if (nLine <= 0) return nCurrentLine;
  return nLine <= nLineCount ? static_cast<int>(nLine - 1) : -1;
}

}  // namespace orv

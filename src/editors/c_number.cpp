#include "editors/c_number.h"

#include <algorithm>
#include <limits>

namespace orv {

int32_t ReadCLong(std::string_view sText) {
  size_t i = 0;
  while (i < sText.size() && (sText[i] == ' ' || (sText[i] >= '\t' && sText[i] <= '\r'))) ++i;
  const bool bNegative = i < sText.size() && sText[i] == '-';
  if (i < sText.size() && (sText[i] == '-' || sText[i] == '+')) ++i;
  // Counted past the range by one at most, then clamped.
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t nValue = 0;
  for (; i < sText.size() && sText[i] >= '0' && sText[i] <= '9'; ++i)
    nValue = std::min(nValue * 10 + (sText[i] - '0'), kLimit);
  if (bNegative) return static_cast<int32_t>(-nValue);
  return static_cast<int32_t>(std::min<int64_t>(nValue, kLimit - 1));
}

}  // namespace orv

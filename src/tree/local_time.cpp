#include "tree/local_time.h"

#include <ctime>

namespace orv {

std::string FormatLocalTime(const char* pFormat) {
  const std::time_t tNow = std::time(nullptr);
  std::tm local{};
  localtime_r(&tNow, &local);
  char szTime[128];
  const size_t nLength = std::strftime(szTime, sizeof szTime, pFormat, &local);
  return std::string(szTime, nLength);
}

}  // namespace orv

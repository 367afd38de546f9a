#include "base/trace.h"

#include <cstdio>
#include <cstdlib>

namespace orv {

bool TraceEnabled() {
  static const bool bEnabled = std::getenv("ORVELLA_TRACE") != nullptr;
  return bEnabled;
}

void Trace(const char* format, ...) {
  if (!TraceEnabled()) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
}

}  // namespace orv

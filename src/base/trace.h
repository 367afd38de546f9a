#pragma once
// Diagnostic traces. They go to stderr when ORVELLA_TRACE is set in the
// environment and nowhere otherwise; nothing the user relies on is traced.

#include <cstdarg>

namespace orv {

bool TraceEnabled();
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace orv

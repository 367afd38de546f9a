#pragma once
// Names the frames of a crash record: function, and source file and line
// where the module carries debug information. addr2line (binutils) reads the
// modules; a frame it cannot name is shown as its module and offset.

#include <string>
#include <vector>

#include "shell/crash_record.h"

namespace orv {

struct SFrameSymbol {
  std::string sFunction;  // "Open(int)", or "libc.so.6+0x29d90"
  std::string sSource;    // "/src/file.cpp line 42", or empty
};

// One entry per frame of the record, in its order.
std::vector<SFrameSymbol> SymbolizeFrames(const SCrashRecord& record);

// addr2line's two lines for one address ("??" and "??:0" when it knows
// nothing) as the report shows them.
SFrameSymbol ReadAddr2LineAnswer(const std::string& sFunction, const std::string& sLocation);

}  // namespace orv

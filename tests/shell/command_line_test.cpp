#include "shell/command_line.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using enum SCommandLine::EAction;
using TArgs = std::vector<std::string>;

TEST(CommandLineTest, ReadsEachFormAndRefusesWhatItDoesNotKnow) {
  const struct {
    TArgs arguments;
    SCommandLine::EAction eAction;
    std::string sFile;
    std::string sError;
  } kCases[] = {
      {{}, Open, "", ""},
      {{"notes.orv"}, Open, "notes.orv", ""},
      {{"--print", "notes.orv"}, Print, "notes.orv", ""},
      {{"notes.orv", "--print"}, Print, "notes.orv", ""},
      {{"--", "-odd name.orv"}, Open, "-odd name.orv", ""},
      {{"x.orv", "--help"}, Help, "", ""},
      {{"-platform", "offscreen", "-v"}, Version, "", ""},
      {{"--", "--help"}, Open, "--help", ""},
      {{"--print"}, Wrong, "", "--print needs a document"},
      {{"--frobnicate"}, Wrong, "", "unknown option --frobnicate"},
      {{"a.orv", "b.orv"}, Wrong, "", "one document at a time: a.orv and b.orv"},
      // A lone dash is a file name, as elsewhere on the command line.
      {{"-"}, Open, "-", ""},
  };
  for (const auto& c : kCases) {
    const SCommandLine line = ParseCommandLine(c.arguments);
    EXPECT_EQ(line.eAction, c.eAction) << testing::PrintToString(c.arguments);
    EXPECT_EQ(line.sFile, c.sFile) << testing::PrintToString(c.arguments);
    EXPECT_EQ(line.sError, c.sError) << testing::PrintToString(c.arguments);
  }
}

}  // namespace
}  // namespace orv

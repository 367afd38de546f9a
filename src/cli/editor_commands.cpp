#include "cli/editor_commands.h"

#include <iostream>
#include <iterator>
#include <map>
#include <memory>

#include "cli/cli_error.h"
#include "cli/input_file.h"
#include "editors/calculator.h"
#include "editors/html_cleanup.h"
#include "editors/text_case.h"
#include "editors/text_lines.h"
#include "editors/web_addresses.h"

namespace orv::cli {
namespace {

using FTextOperation = std::string (*)(std::string_view);

const std::map<std::string, FTextOperation>& TextOperations() {
  static const std::map<std::string, FTextOperation> kOperations{
      {"lower", LowercaseText},         {"upper", UppercaseText},
      {"capitalize", CapitalizeText},   {"sentencize", SentencizeText},
      {"invert-case", InvertCaseText},  {"delete-blanks", DeleteHorizontalWhiteSpace},
      {"join", JoinSelectedLines},      {"sort", SortSelectedLines},
      {"tabify", TabifySelection},      {"untabify", UntabifySelection},
      {"reverse", ReverseSelectedText}, {"extract-addresses", ExtractWebAddresses},
  };
  return kOperations;
}

// Every CR LF, CR or LF as cBreak: an ordinary file's line breaks as the
// editor's paragraph breaks (CR) and back; the operations write CR LF, CR or
// LF for one.
std::string WithLineBreaks(std::string_view sText, char cBreak) {
  std::string sOut;
  sOut.reserve(sText.size());
  for (size_t i = 0; i < sText.size(); ++i) {
    if (sText[i] == '\r' && i + 1 < sText.size() && sText[i + 1] == '\n') ++i;
    sOut += sText[i] == '\n' || sText[i] == '\r' ? cBreak : sText[i];
  }
  return sOut;
}

void RunTextOperation(const std::string& sOperation) {
  const std::string sInput{std::istreambuf_iterator<char>(std::cin), {}};
  const std::string sOutput = TextOperations().at(sOperation)(WithLineBreaks(sInput, '\r'));
  std::cout << WithLineBreaks(sOutput, '\n') << std::flush;
}

void Calculate(const std::string& sExpression) {
  const SCalculation calculation = CalculateSelectedExpression(sExpression);
  switch (calculation.eOutcome) {
    case SCalculation::EOutcome::kReplace:
      std::cout << calculation.sText << '\n';
      return;
    case SCalculation::EOutcome::kSyntaxError:
      throw CCliError("syntax error at position " + calculation.sText);
    default:
      throw CCliError(calculation.sText);
  }
}

void CleanHtmlFile(const std::string& sFile) {
  const SHtmlCleanup cleanup = CleanHtml(ReadInputFile(sFile));
  std::cout << cleanup.sHtml << std::flush;
  if (!cleanup.sReport.empty())
    std::cerr << kUnsupportedTagsTitle << ": " << UnsupportedTagsMessage(cleanup.sReport) << '\n';
}

}  // namespace

void AddEditorCommands(CLI::App& app) {
  // The argument holders live as long as the program.
  auto args = std::make_shared<std::string>();

  CLI::App* text = app.add_subcommand(
      "text", "Rewrite standard input as the editor's operation OP would, to standard output");
  std::vector<std::string> names;
  for (const auto& [sName, _] : TextOperations()) names.push_back(sName);
  text->add_option("OP", *args, "The operation")->required()->check(CLI::IsMember(names));
  text->callback([args] { RunTextOperation(*args); });

  CLI::App* calc =
      app.add_subcommand("calc", "Print EXPR=VALUE as Calculate Selected Expression inserts it");
  calc->add_option("EXPR", *args,
                   "The expression, e.g. \"(1+2)*3\"; after -- when it begins with -")
      ->required();
  calc->callback([args] { Calculate(*args); });

  CLI::App* clean = app.add_subcommand(
      "html-clean",
      "Print the HTML editor's cleanup of FILE; what it removed goes to standard error");
  clean->add_option("FILE", *args, "HTML file")->required();
  clean->callback([args] { CleanHtmlFile(*args); });
}

}  // namespace orv::cli

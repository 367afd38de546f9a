// The editors' operations on big selections: every text operation on a
// 10 MiB selection and the HTML cleanup of a 1 MiB note, each timed once.
// Each should stay well under half a second.
//
//   editors_bench

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>

#include "editors/calculator.h"
#include "editors/html_cleanup.h"
#include "editors/text_case.h"
#include "editors/text_lines.h"
#include "editors/web_addresses.h"

namespace {

using namespace orv;
using Clock = std::chrono::steady_clock;

// Lines of words, some accented or Cyrillic, some addresses, some blank runs:
// paragraph breaks are CR, as the editor hands a selection out.
std::string MakeSelection(size_t nBytes) {
  const std::string_view words[] = {"note",
                                    "Orvella",
                                    "\xC3\xA9"
                                    "cole",
                                    "\xD0\xBC\xD0\xB8\xD1\x80",
                                    "3.14",
                                    "10.0.0.1:8080",
                                    "o'neil",
                                    "\tindent",
                                    "  ",
                                    "end."};
  std::mt19937 rng(7);
  std::string sText;
  sText.reserve(nBytes + 64);
  while (sText.size() < nBytes) {
    const size_t nWords = rng() % 12;
    for (size_t i = 0; i < nWords; ++i) {
      sText += words[rng() % std::size(words)];
      sText += ' ';
    }
    sText += '\r';
  }
  return sText;
}

std::string MakeNote(size_t nBytes) {
  std::string sHtml = "<html><head><style>p{color:red}</style></head><body>";
  for (int i = 0; sHtml.size() < nBytes; ++i) {
    sHtml += "<p class=\"c\" onclick=\"f()\">Paragraph " + std::to_string(i) +
             " with <b>bold</b>, <i>italic</i> &amp; <a href=\"http://example.org/" +
             std::to_string(i) + "\">a link</a>.</p>";
    if (i % 50 == 0)
      sHtml += "<table border=1><tr><td>a</td><td>b</td></tr></table><script>x()</script>";
  }
  return sHtml + "</body></html>";
}

template <typename F>
void Time(const char* pName, size_t nBytes, F run) {
  const auto start = Clock::now();
  const size_t nOut = run();
  const double dSeconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("%-28s %8.3f s  %7.1f MiB/s  (%zu bytes out)\n", pName, dSeconds,
              static_cast<double>(nBytes) / (1 << 20) / dSeconds, nOut);
}

}  // namespace

int main() {
  const std::string sSelection = MakeSelection(10 << 20);
  using FOperation = std::string (*)(std::string_view);
  const std::pair<const char*, FOperation> operations[] = {
      {"Lowercase", LowercaseText},
      {"Uppercase", UppercaseText},
      {"Capitalize", CapitalizeText},
      {"Sentencize", SentencizeText},
      {"Invert Case", InvertCaseText},
      {"Delete Horizontal White Space", DeleteHorizontalWhiteSpace},
      {"Join", JoinSelectedLines},
      {"Sort", SortSelectedLines},
      {"Tabify", TabifySelection},
      {"Untabify", UntabifySelection},
      {"Reverse", ReverseSelectedText},
      {"Extract Web/Proxy Addresses", ExtractWebAddresses},
  };
  std::printf("10 MiB selection:\n");
  for (const auto& [pName, operation] : operations)
    Time(pName, sSelection.size(), [&] { return operation(sSelection).size(); });

  std::string sSum = "1";
  while (sSum.size() < (1 << 20)) sSum += "+1.5*2";
  std::printf("1 MiB expression:\n");
  Time("Calculate", sSum.size(), [&] { return CalculateSelectedExpression(sSum).sText.size(); });

  const std::string sNote = MakeNote(1 << 20);
  std::printf("1 MiB HTML note:\n");
  Time("HTML cleanup", sNote.size(), [&] { return CleanHtml(sNote).sHtml.size(); });
  return 0;
}

#include "editors/calculator.h"

#include <algorithm>
#include <charconv>

#include "editors/expression.h"

namespace orv {

std::string FormatCalculatorValue(double dValue) {
  // to_chars, unlike printf, ignores the locale the desktop app sets.
  char buffer[512];  // the largest double has 309 digits before the point
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, dValue, std::chars_format::fixed, 2);
  std::string sPlain(buffer, result.ptr);
  const size_t nSign = sPlain.starts_with('-') ? 1 : 0;
  const size_t nPoint = std::min(sPlain.find('.'), sPlain.size());
  std::string sOut = sPlain.substr(0, nSign);
  for (size_t i = nSign; i < nPoint; ++i) {
    if (i > nSign && (nPoint - i) % 3 == 0) sOut += ',';
    sOut += sPlain[i];
  }
  return sOut + sPlain.substr(nPoint);
}

SCalculation CalculateSelectedExpression(std::string_view sSelection) {
  using EOutcome = SCalculation::EOutcome;
  CExpression expression;
  const int32_t nStop = expression.SetExpression(sSelection);
  if (expression.NestedTooDeeply())
    return {EOutcome::kTooDeep, std::string(kNestedTooDeeplyMessage)};
  if (nStop != CExpression::kParsed) return {EOutcome::kSyntaxError, std::to_string(nStop)};
  double dValue = 0.0;
  if (expression.Evaluate(dValue) == kCalcDivisionByZero)
    return {EOutcome::kDivisionByZero, std::string(kDivisionByZeroMessage)};
  return {EOutcome::kReplace, std::string(sSelection) + "=" + FormatCalculatorValue(dValue)};
}

}  // namespace orv

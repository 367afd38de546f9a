#pragma once
// "Calculate Selected Expression": the selected text read as an expression
// and replaced by itself, "=" and its value, or a message to show instead.

#include <string>
#include <string_view>

namespace orv {

inline constexpr std::string_view kDivisionByZeroMessage = "Division by zero.";
inline constexpr std::string_view kNestedTooDeeplyMessage = "The expression is nested too deeply.";

// The value with two decimals and "," between groups of three digits before
// the point: 1234567.891 gives "1,234,567.89", -123456 "-123,456.00".
std::string FormatCalculatorValue(double dValue);

struct SCalculation {
  enum class EOutcome {
    kReplace,        // sText replaces the selection
    kSyntaxError,    // sText is the position where parsing stopped, in decimal
    kTooDeep,        // sText is kNestedTooDeeplyMessage
    kDivisionByZero  // sText is kDivisionByZeroMessage
  };
  EOutcome eOutcome;
  std::string sText;
};

// A failed function (the root of a negative number, say) counts as 0 and
// still replaces the selection.
SCalculation CalculateSelectedExpression(std::string_view sSelection);

}  // namespace orv

// Reads arbitrary bytes as a selection to calculate. No input may crash the
// parser or the evaluator or exhaust the stack; a parse stops inside the
// text, and the text kept through the archive parses the same again.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "editors/calculator.h"
#include "editors/expression.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string_view sText(reinterpret_cast<const char*>(pData), nSize);
  orv::CExpression expression;
  const int32_t nStop = expression.SetExpression(sText);
  if (nStop != orv::CExpression::kParsed && (nStop < 0 || static_cast<size_t>(nStop) > nSize))
    __builtin_trap();
  double dValue = 0.0;
  const orv::ECalcStatus eStatus = expression.Evaluate(dValue);
  if ((nStop == orv::CExpression::kParsed) != (eStatus != orv::kCalcNoTree)) __builtin_trap();

  const orv::CCodePage codePage("UTF-8");
  orv::CArchiveWriter writer(codePage);
  expression.Store(writer);
  orv::CArchiveReader reader(writer.Data(), codePage);
  orv::CExpression loaded;
  loaded.Load(reader);
  double dLoaded = 0.0;
  if (loaded.Evaluate(dLoaded) != eStatus) __builtin_trap();

  orv::CalculateSelectedExpression(sText);
  orv::FormatCalculatorValue(dValue);
  return 0;
}

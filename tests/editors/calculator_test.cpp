// The expression calculator: parsing, evaluation, the command's text.

#include "editors/calculator.h"

#include <gtest/gtest.h>

#include <limits>

#include "editors/expression.h"

namespace orv::test {
namespace {

using EOutcome = SCalculation::EOutcome;

SCalculation Calculate(std::string_view sSelection) {
  return CalculateSelectedExpression(sSelection);
}

TEST(CalculatorTest, AppendsTheValueToTheSelection) {
  // Blanks after ")" are skipped; a sign negates its operand alone; "2*3>5" is
  // 2*(3>5); a root or logarithm out of its domain is 0; a second point ends a number.
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"(1+2)*3", "9.00"},   {"1 + 2", "3.00"},    {"(1) + 2", "3.00"},     {"|1-3| * 2", "4.00"},
      {"-2+3", "1.00"},      {"2*-3+1", "-5.00"},  {"--2", "2.00"},         {"-(2+3)", "-5.00"},
      {"2^3^2", "64.00"},    {"1+2<3", "2.00"},    {"2*3>5", "0.00"},       {"!0", "1.00"},
      {"!!7", "1.00"},       {"sqrt(16)", "4.00"}, {"Sqrt 16 + 1", "5.00"}, {"SQRT(-1)", "0.00"},
      {"LOG 0 + 1", "1.00"}, {"1.2.3", "1.20"},
  };
  for (auto [sSelection, sValue] : cases) {
    const SCalculation result = Calculate(sSelection);
    EXPECT_EQ(result.eOutcome, EOutcome::kReplace) << sSelection;
    EXPECT_EQ(result.sText, std::string(sSelection) + "=" + std::string(sValue));
  }
  EXPECT_EQ(Calculate("1000000/3").sText, "1000000/3=333,333.33");
  EXPECT_EQ(Calculate("SIN(0)+COS(0)+EXP(0)+LOG(1)+TG(0)+ASIN(0)+ACOS(1)+ATG(0)").sText,
            "SIN(0)+COS(0)+EXP(0)+LOG(1)+TG(0)+ASIN(0)+ACOS(1)+ATG(0)=2.00");
}

TEST(CalculatorTest, SaysWhyThereIsNoValue) {
  for (std::string_view sSelection : {"1/0", "1/(2-2)", "1/0+SQRT(-1)"}) {
    EXPECT_EQ(Calculate(sSelection).eOutcome, EOutcome::kDivisionByZero) << sSelection;
    EXPECT_EQ(Calculate(sSelection).sText, kDivisionByZeroMessage) << sSelection;
  }
  // The position of a syntax error.
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"", "0"},    {"x+1", "1"},   {"2x", "2"},    {"1e5", "3"}, {"(1+2", "4"}, {"1 +", "3"},
      {"SIN", "3"}, {"1+ !0", "3"}, {"1\t+2", "1"}, {".5", "0"},  {"3)", "1"},
  };
  for (auto [sSelection, sPosition] : cases) {
    EXPECT_EQ(Calculate(sSelection).eOutcome, EOutcome::kSyntaxError) << sSelection;
    EXPECT_EQ(Calculate(sSelection).sText, sPosition) << sSelection;
  }
}

TEST(CalculatorTest, FormatsWithThousandsSeparators) {
  const std::pair<double, std::string_view> cases[] = {
      {1234567.891, "1,234,567.89"},
      {-123456, "-123,456.00"},
      {-123, "-123.00"},
      {999.999, "1,000.00"},
      {0, "0.00"},
      {1e21, "1,000,000,000,000,000,000,000.00"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
  };
  for (const auto& [dValue, sText] : cases) EXPECT_EQ(FormatCalculatorValue(dValue), sText);
}

TEST(CalculatorTest, DeepNestingFailsInsteadOfOverflowing) {
  const std::string sDeep = std::string(100000, '(') + "1" + std::string(100000, ')');
  EXPECT_EQ(CalculateSelectedExpression(sDeep).eOutcome, EOutcome::kTooDeep);
  EXPECT_EQ(CalculateSelectedExpression(std::string(100000, '-') + "1").eOutcome,
            EOutcome::kTooDeep);
  EXPECT_EQ(CalculateSelectedExpression(std::string(400, '(') + "1" + std::string(400, ')')).sText,
            std::string(400, '(') + "1" + std::string(400, ')') + "=1.00");

  std::string sLong = "1";  // a long flat sum builds a deep tree, evaluated without recursion
  for (int i = 0; i < 200000; ++i) sLong += "+1";
  EXPECT_EQ(CalculateSelectedExpression(sLong).sText, sLong + "=200,001.00");
}

class CNumber : public CValue {
 public:
  explicit CNumber(double d) : m_d(d) {}
  double GetValue() const override { return m_d; }

 private:
  double m_d;
};

TEST(ExpressionTest, VariablesStatusesAndArchive) {
  const CNumber two(2);
  const CVariableTable variables{{"x", &two}, {"Rate2", &two}};
  CExpression expression(&variables);
  double dValue = -1;
  EXPECT_EQ(expression.Evaluate(dValue), kCalcNoTree);
  EXPECT_EQ(expression.SetExpression("x*Rate2+1"), CExpression::kParsed);
  EXPECT_EQ(expression.Evaluate(dValue), kCalcOk);
  EXPECT_EQ(dValue, 5.0);
  EXPECT_EQ(expression.SetExpression("X"), 1);  // names keep their case
  EXPECT_EQ(expression.SetExpression("SQRT(-x)+1/x"), CExpression::kParsed);
  EXPECT_EQ(expression.Evaluate(dValue), kCalcOutOfDomain);
  EXPECT_EQ(dValue, 0.5);

  const CCodePage codePage;
  CArchiveWriter writer(codePage);
  expression.Store(writer);
  EXPECT_EQ(writer.Data(), std::string("\x0C"
                                       "SQRT(-x)+1/x"));
  CExpression loaded(&variables);
  CArchiveReader reader(writer.Data(), codePage);
  loaded.Load(reader);
  EXPECT_EQ(loaded.Text(), "SQRT(-x)+1/x");
  EXPECT_EQ(loaded.Evaluate(dValue), kCalcOutOfDomain);

  CExpression copy = loaded;
  EXPECT_EQ(copy.Evaluate(dValue), kCalcOutOfDomain);
  EXPECT_EQ(dValue, 0.5);
}

}  // namespace
}  // namespace orv::test

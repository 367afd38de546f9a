// The expression calculator: parsing, evaluation, the command's text.

#include "editors/calculator.h"

#include <gtest/gtest.h>

#include <limits>

#include "editors/expression.h"

namespace orv::test {
namespace {

using EOutcome = SCalculation::EOutcome;

struct SCase {
  std::string_view sSelection;
  EOutcome eOutcome;
  std::string_view sText;
};

TEST(CalculatorTest, ReplacesTheSelectionOrSaysWhy) {
  const SCase cases[] = {
      {"(1+2)*3", EOutcome::kReplace, "(1+2)*3=9.00"},
      {"1 + 2", EOutcome::kReplace, "1 + 2=3.00"},
      {"(1) + 2", EOutcome::kReplace, "(1) + 2=3.00"},  // blanks after ")" are skipped
      {"|1-3| * 2", EOutcome::kReplace, "|1-3| * 2=4.00"},
      {"-2+3", EOutcome::kReplace, "-2+3=1.00"},  // the sign negates 2 alone
      {"2*-3+1", EOutcome::kReplace, "2*-3+1=-5.00"},
      {"--2", EOutcome::kReplace, "--2=2.00"},
      {"-(2+3)", EOutcome::kReplace, "-(2+3)=-5.00"},
      {"2^3^2", EOutcome::kReplace, "2^3^2=64.00"},
      {"1+2<3", EOutcome::kReplace, "1+2<3=2.00"},
      {"2*3>5", EOutcome::kReplace, "2*3>5=0.00"},  // 2*(3>5)
      {"!0", EOutcome::kReplace, "!0=1.00"},
      {"!!7", EOutcome::kReplace, "!!7=1.00"},
      {"sqrt(16)", EOutcome::kReplace, "sqrt(16)=4.00"},
      {"Sqrt 16 + 1", EOutcome::kReplace, "Sqrt 16 + 1=5.00"},
      {"SIN(0)+COS(0)+EXP(0)+LOG(1)+TG(0)+ASIN(0)+ACOS(1)+ATG(0)", EOutcome::kReplace,
       "SIN(0)+COS(0)+EXP(0)+LOG(1)+TG(0)+ASIN(0)+ACOS(1)+ATG(0)=2.00"},
      {"SQRT(-1)", EOutcome::kReplace, "SQRT(-1)=0.00"},
      {"LOG 0 + 1", EOutcome::kReplace, "LOG 0 + 1=1.00"},
      {"1.2.3", EOutcome::kReplace, "1.2.3=1.20"},
      {"1000000/3", EOutcome::kReplace, "1000000/3=333,333.33"},
      {"1/0", EOutcome::kDivisionByZero, kDivisionByZeroMessage},
      {"1/(2-2)", EOutcome::kDivisionByZero, kDivisionByZeroMessage},
      {"1/0+SQRT(-1)", EOutcome::kDivisionByZero, kDivisionByZeroMessage},
      {"", EOutcome::kSyntaxError, "0"},
      {"x+1", EOutcome::kSyntaxError, "1"},
      {"2x", EOutcome::kSyntaxError, "2"},
      {"1e5", EOutcome::kSyntaxError, "3"},
      {"(1+2", EOutcome::kSyntaxError, "4"},
      {"1 +", EOutcome::kSyntaxError, "3"},
      {"SIN", EOutcome::kSyntaxError, "3"},
      {"1+ !0", EOutcome::kSyntaxError, "3"},
      {"1\t+2", EOutcome::kSyntaxError, "1"},
      {".5", EOutcome::kSyntaxError, "0"},
      {"3)", EOutcome::kSyntaxError, "1"},
  };
  for (const SCase& c : cases) {
    const SCalculation result = CalculateSelectedExpression(c.sSelection);
    EXPECT_EQ(result.eOutcome, c.eOutcome) << c.sSelection;
    EXPECT_EQ(result.sText, c.sText) << c.sSelection;
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

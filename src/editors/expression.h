#pragma once
// The expression calculator's parser and evaluator. An expression is parsed
// once into a tree and can then be evaluated any number of times; names that
// are not functions are variables, looked up in a table the caller owns.
//
// Grammar, loosest first; every binary level is a left-associative loop, and
// blanks are single spaces:
//   expression := term { ("+" | "-") term }
//   term       := power { ("*" | "/") power }
//   power      := comparison { "^" comparison }        2^3^2 is (2^3)^2
//   comparison := unary { ("<" | ">") unary }          1+2<3 is 1+(2<3)
//   unary      := "!" unary | primary
//   primary    := "-" unary | "(" expression ")" | "|" expression "|"
//               | number | function primary | variable
// A number is a run of digits and full stops read from its start ("1.2.3" is
// 1.2); a name is a run of letters and digits (also straight after a number,
// so "2x" is a name). Function names ignore case: SIN COS EXP SQRT LOG TG CTG
// ASIN ACOS ATG, in radians.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/archive.h"

namespace orv {

// A variable's value; tables hold subclasses that say what it is.
class CValue {
 public:
  virtual ~CValue() = default;
  virtual double GetValue() const { return 0.0; }
};

using CVariableTable = std::map<std::string, const CValue*, std::less<>>;

// What Evaluate() returns.
enum ECalcStatus : int {
  kCalcNoTree = -1,
  kCalcOk = 0,
  kCalcDivisionByZero = 1,
  kCalcUnknownVariable = 3,
  kCalcOutOfDomain = 4,
  kCalcEmptyNode = 10,
};

class CExpression {
 public:
  // How many unary operands (signs, "!", parentheses, function arguments) may
  // be open at once; a parenthesis counts twice. Deeper expressions fail to
  // parse rather than exhaust the stack.
  static constexpr int kMaxNesting = 1000;
  static constexpr int32_t kParsed = -1;

  // `pVariables`, when given, must outlive the expression.
  explicit CExpression(const CVariableTable* pVariables = nullptr) : m_pVariables(pVariables) {}

  // Parses sText: kParsed when all of it was read, else the 0-based position
  // where parsing stopped (0 for an empty text). A failed parse leaves no tree.
  int32_t SetExpression(std::string_view sText);
  const std::string& Text() const { return m_sText; }
  // Whether the last parse failed because the expression nests too deeply.
  bool NestedTooDeeply() const { return m_bTooDeep; }

  // Stores the value and returns the status. Every node is evaluated; a failed
  // function counts as 0, and a division by zero is what the status reports
  // whatever fails after it.
  ECalcStatus Evaluate(double& dValue) const;

  // The text as a length-prefixed string; loading parses it.
  void Store(CArchiveWriter& archive) const;
  void Load(CArchiveReader& archive);

 private:
  friend class CExpressionParser;
  struct SNode {
    int32_t nLeft = -1;  // indices into m_nodes, -1 for none
    int32_t nRight = -1;
    uint8_t nOperator = 0;
    double dNumber = 0.0;
    std::string sName;  // a variable's
  };

  // The table's value of a name, or nullptr.
  const CValue* Variable(std::string_view sName) const;

  std::string m_sText;
  const CVariableTable* m_pVariables;
  // The tree in post-order: children before their parent, the root last, so
  // one pass from the front evaluates it and none of it needs recursion.
  std::vector<SNode> m_nodes;
  bool m_bTooDeep = false;
};

}  // namespace orv

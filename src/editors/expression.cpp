#include "editors/expression.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace orv {
namespace {

constexpr uint8_t kNumber = '@';
constexpr uint8_t kVariable = '`';
constexpr uint8_t kNot = '!';       // operand on the right
constexpr uint8_t kAbsolute = '|';  // operand on the left, as for functions
constexpr uint8_t kFirstFunction = 150;

struct SFunction {
  std::string_view sName;
  double (*pValue)(double);
  bool (*pInDomain)(double) = nullptr;  // none: every argument is
};

// In the order of their codes, from kFirstFunction; radians.
constexpr std::array<SFunction, 10> kFunctions{{
    {"SIN", [](double x) { return std::sin(x); }},
    {"COS", [](double x) { return std::cos(x); }},
    {"EXP", [](double x) { return std::exp(x); }},
    {"SQRT", [](double x) { return std::sqrt(x); }, [](double x) { return x >= 0.0; }},
    {"LOG", [](double x) { return std::log(x); }, [](double x) { return x > 0.0; }},
    {"TG", [](double x) { return std::tan(x); }},
    {"CTG", [](double x) { return 1.0 / std::tan(x); }},
    {"ASIN", [](double x) { return std::asin(x); }},
    {"ACOS", [](double x) { return std::acos(x); }},
    {"ATG", [](double x) { return std::atan(x); }},
}};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string Upper(std::string_view s) {
  std::string sUpper(s);
  for (char& c : sUpper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return sUpper;
}

}  // namespace

// Recursive descent over the grammar in the header. Each rule appends its
// node after its operands' nodes and returns the node's index, or -1 when the
// parse failed; the position then tells where.
class CExpressionParser {
 public:
  explicit CExpressionParser(CExpression& expression)
      : m_s(expression.m_sText), m_expression(expression) {}

  int32_t Parse() {
    if (Expression() < 0 || m_nPos < m_s.size()) return static_cast<int32_t>(m_nPos);
    return CExpression::kParsed;
  }

 private:
  using SNode = CExpression::SNode;

  // Counts the rules open on the stack while a rule runs.
  class CDepth {
   public:
    explicit CDepth(CExpressionParser& parser) : m_parser(parser) { ++m_parser.m_nDepth; }
    ~CDepth() { --m_parser.m_nDepth; }
    CDepth(const CDepth&) = delete;
    CDepth& operator=(const CDepth&) = delete;
    bool TooDeep() const {
      const bool bTooDeep = m_parser.m_nDepth > CExpression::kMaxNesting;
      if (bTooDeep) m_parser.m_expression.m_bTooDeep = true;
      return bTooDeep;
    }

   private:
    CExpressionParser& m_parser;
  };

  char At() const { return m_nPos < m_s.size() ? m_s[m_nPos] : '\0'; }
  void SkipBlanks() {
    while (At() == ' ') ++m_nPos;
  }

  int32_t Add(uint8_t nOperator, int32_t nLeft = -1, double dNumber = 0.0) {
    SNode& node = m_expression.m_nodes.emplace_back();
    node.nOperator = nOperator;
    node.nLeft = nLeft;
    node.dNumber = dNumber;
    return static_cast<int32_t>(m_expression.m_nodes.size() - 1);
  }
  int32_t Binary(uint8_t nOperator, int32_t nLeft, int32_t nRight) {
    if (nRight < 0) return -1;
    const int32_t nNode = Add(nOperator, nLeft);
    m_expression.m_nodes[static_cast<size_t>(nNode)].nRight = nRight;
    return nNode;
  }

  // One binary level: operands from `operand`, operators from `operators`.
  template <typename FOperand>
  int32_t Level(std::string_view sOperators, FOperand operand) {
    int32_t nNode = operand();
    while (nNode >= 0 && At() != '\0' && sOperators.find(At()) != std::string_view::npos) {
      const auto nOperator = static_cast<uint8_t>(m_s[m_nPos++]);
      nNode = Binary(nOperator, nNode, operand());
    }
    return nNode;
  }

  int32_t Expression() {
    return Level("+-", [this] { return Level("*/", [this] { return Power(); }); });
  }
  int32_t Power() {
    return Level("^", [this] { return Level("<>", [this] { return Unary(); }); });
  }

  int32_t Unary() {
    const CDepth depth(*this);
    if (depth.TooDeep()) return -1;
    if (At() != '!') return Primary();
    ++m_nPos;
    return Binary(kNot, -1, Unary());
  }

  int32_t Primary() {
    const CDepth depth(*this);
    if (depth.TooDeep()) return -1;
    SkipBlanks();
    if (At() == '-') {
      // A sign negates the operand after it, no more: -2+3 is 1.
      ++m_nPos;
      const int32_t nMinusOne = Add(kNumber, -1, -1.0);
      return Binary('*', nMinusOne, Unary());
    }
    if (At() == '(' || At() == '|') {
      const char cClose = At() == '(' ? ')' : '|';
      ++m_nPos;
      const int32_t nInner = Expression();
      if (nInner < 0 || At() != cClose) return -1;
      ++m_nPos;
      SkipBlanks();
      return cClose == ')' ? nInner : Add(kAbsolute, nInner);
    }
    return NumberOrName();
  }

  int32_t NumberOrName() {
    const size_t nStart = m_nPos;
    double dNumber = 0.0;
    if (IsDigit(At())) {
      while (IsDigit(At()) || At() == '.') ++m_nPos;
      // Reads as far as it makes a number: "1.2.3" is 1.2.
      std::from_chars(m_s.data() + nStart, m_s.data() + m_nPos, dNumber);
    }
    if (IsLetter(At())) {
      while (IsLetter(At()) || IsDigit(At())) ++m_nPos;
      const std::string_view sName = m_s.substr(nStart, m_nPos - nStart);
      const std::string sUpper = Upper(sName);
      const auto function = std::find_if(kFunctions.begin(), kFunctions.end(),
                                         [&](const SFunction& f) { return f.sName == sUpper; });
      if (function != kFunctions.end()) {
        const int32_t nArgument = Primary();
        if (nArgument < 0) return -1;
        SkipBlanks();
        const auto nCode = static_cast<uint8_t>(kFirstFunction + (function - kFunctions.begin()));
        return Add(nCode, nArgument);
      }
      if (!m_expression.Variable(sName)) return -1;
      SkipBlanks();
      const int32_t nVariable = Add(kVariable);
      m_expression.m_nodes.back().sName = sName;
      return nVariable;
    }
    if (m_nPos == nStart) return -1;
    SkipBlanks();
    return Add(kNumber, -1, dNumber);
  }

  std::string_view m_s;
  size_t m_nPos = 0;
  int m_nDepth = 0;
  CExpression& m_expression;
};

int32_t CExpression::SetExpression(std::string_view sText) {
  m_sText = sText;
  m_nodes.clear();
  m_bTooDeep = false;
  const int32_t nResult = CExpressionParser(*this).Parse();
  if (nResult != kParsed) m_nodes.clear();
  return nResult;
}

ECalcStatus CExpression::Evaluate(double& dValue) const {
  if (m_nodes.empty()) return kCalcNoTree;
  ECalcStatus eStatus = kCalcOk;
  const auto fail = [&eStatus](ECalcStatus eFailure) {
    if (eStatus != kCalcDivisionByZero) eStatus = eFailure;
    return 0.0;
  };
  std::vector<double> values(m_nodes.size());
  for (size_t i = 0; i < m_nodes.size(); ++i) {
    const SNode& node = m_nodes[i];
    const double l = node.nLeft >= 0 ? values[static_cast<size_t>(node.nLeft)] : 0.0;
    const double r = node.nRight >= 0 ? values[static_cast<size_t>(node.nRight)] : 0.0;
    double& v = values[i];
    switch (node.nOperator) {
      case kNumber:
        v = node.dNumber;
        break;
      case kVariable: {
        const CValue* pValue = Variable(node.sName);
        v = pValue ? pValue->GetValue() : fail(kCalcUnknownVariable);
        break;
      }
      case '+':
        v = l + r;
        break;
      case '-':
        v = l - r;
        break;
      case '*':
        v = l * r;
        break;
      case '/':
        v = r == 0.0 ? fail(kCalcDivisionByZero) : l / r;
        break;
      case '^':
        v = std::pow(l, r);
        break;
      case '<':
        v = l < r ? 1.0 : 0.0;
        break;
      case '>':
        v = l > r ? 1.0 : 0.0;
        break;
      case kNot:
        v = r == 0.0 ? 1.0 : 0.0;
        break;
      case kAbsolute:
        v = std::fabs(l);
        break;
      default: {
        const size_t nFunction = node.nOperator - size_t{kFirstFunction};
        if (node.nOperator < kFirstFunction || nFunction >= kFunctions.size()) {
          v = fail(kCalcEmptyNode);
          break;
        }
        const SFunction& function = kFunctions[nFunction];
        v = !function.pInDomain || function.pInDomain(l) ? function.pValue(l)
                                                         : fail(kCalcOutOfDomain);
        break;
      }
    }
  }
  dValue = values.back();
  return eStatus;
}

const CValue* CExpression::Variable(std::string_view sName) const {
  if (!m_pVariables) return nullptr;
  const auto found = m_pVariables->find(sName);
  return found == m_pVariables->end() ? nullptr : found->second;
}

void CExpression::Store(CArchiveWriter& archive) const { archive.WriteString(m_sText); }

void CExpression::Load(CArchiveReader& archive) { SetExpression(archive.ReadString()); }

}  // namespace orv

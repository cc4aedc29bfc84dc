// Expression evaluation for numeric entries.
//
// The rules are deliberately the historic ones users know from earlier versions: there is no
// operator-precedence parser. Parentheses are replaced by their 18-digit value innermost
// first, the remaining text is split at operators, and the operators are applied left to
// right level by level (so 2^3^2 is 64 and -2^2 is 4). Every intermediate value is written
// with 18 significant digits and read back, which is what made results reproducible when
// the same entry was typed again.
#include "app/model/evaluator.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

#include "app/model/real_format.h"

namespace tarnel::model {
namespace {

constexpr const char* kPrefix = "Entry could not be evaluated:\n";

[[noreturn]] void Fail(const char* reason) { throw EvalError(std::string(kPrefix) + reason); }

long double Check(long double v) {
  if (std::isnan(v)) Fail("invalid floating point operation");
  if (std::isinf(v)) Fail("floating point overflow");
  return v;
}

long double RoundTrip18(long double v) {
  Check(v);
  const auto back = ParseReal(FormatReal(v, 18));
  if (!back) Fail("floating point overflow");
  return *back;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Function names in the order they are tried.
constexpr std::array<const char*, 25> kFunctions{
    "arctanh", "arctan",  "cotan",  "tanh", "tan", "arccosh", "arccos", "cosh", "cos",
    "sec",     "arcsinh", "arcsin", "sinh", "sin", "cosec",   "csc",    "abs",  "frac",
    "int",     "ln",      "round",  "ceil", "floor", "log",   "sqrt"};

bool IsFunctionName(std::string_view lowerText) {
  for (std::size_t k = 0; k < kFunctions.size(); ++k)
    if (lowerText == kFunctions[k]) return true;
  return false;
}

long double ApplyFunction(std::string_view name, long double x) {
  using std::numbers::pi_v;
  if (name == "arctanh") return std::atanh(x);
  if (name == "arctan") return std::atan(x);
  if (name == "cotan") {
    const long double t = std::tan(x);
    if (t == 0) Fail("division by zero");
    return 1 / t;
  }
  if (name == "tanh") return std::tanh(x);
  if (name == "tan") return std::tan(x);
  if (name == "arccosh") return std::acosh(x);
  if (name == "arccos") return std::acos(x);
  if (name == "cosh") return std::cosh(x);
  if (name == "cos") return std::cos(x);
  if (name == "sec") {
    const long double c = std::cos(x);
    if (c == 0) Fail("division by zero");
    return 1 / c;
  }
  if (name == "arcsinh") return std::asinh(x);
  if (name == "arcsin") return std::asin(x);
  if (name == "sinh") return std::sinh(x);
  if (name == "sin") return std::sin(x);
  if (name == "cosec" || name == "csc") {
    const long double s = std::sin(x);
    if (s == 0) Fail("division by zero");
    return 1 / s;
  }
  if (name == "abs") return std::fabs(x);
  if (name == "frac") return x - std::trunc(x);
  if (name == "int") return std::trunc(x);
  if (name == "ln") {
    if (x <= 0) Fail("invalid floating point operation");
    return std::log(x);
  }
  if (name == "round") return std::nearbyint(x);  // half to even, as the old Round did
  if (name == "ceil") return std::ceil(x);
  if (name == "floor") return std::floor(x);
  if (name == "log") {
    if (x <= 0) Fail("invalid floating point operation");
    return std::log10(x);
  }
  if (name == "sqrt") {
    if (x < 0) Fail("invalid floating point operation");
    return std::sqrt(x);
  }
  Fail("invalid character(s) in expression");
}

long double EvaluateOperand(std::string operand);

long double Factorial(long double x) {
  if (x != std::trunc(x)) Fail("! (factoral) applicable to integers only");
  const long double n = std::fabs(x);
  if (n > 2000) Fail("floating point overflow");
  long double p = 1;
  for (long double k = 2; k <= n; k += 1) p *= k;
  Check(p);
  return x < 0 ? -p : p;
}

long double Hex(std::string_view digits) {
  if (digits.empty() || digits.size() > 16) Fail("invalid use of $ (hex function)");
  std::uint64_t v = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else Fail("invalid use of $ (hex function)");
    v = v * 16 + static_cast<std::uint64_t>(d);
  }
  return static_cast<long double>(static_cast<std::int64_t>(v));
}

long double EvaluateOperand(std::string operand) {
  // "--" pairs cancel.
  for (std::size_t p; (p = operand.find("--")) != std::string::npos;) operand.erase(p, 2);
  const std::string low = Lower(operand);
  if (low.empty()) Fail("invalid expression");
  if (low == "pi") return std::numbers::pi_v<long double>;
  if (low == "-pi") return -std::numbers::pi_v<long double>;
  if (low == "e") return std::numbers::e_v<long double>;
  if (low == "-e") return -std::numbers::e_v<long double>;
  if (auto v = ParseReal(low)) return *v;
  if (low[0] == '-') return -EvaluateOperand(operand.substr(1));
  if (low.back() == '!') return Factorial(EvaluateOperand(operand.substr(0, operand.size() - 1)));
  if (low[0] == '$') return Hex(std::string_view(operand).substr(1));
  // The longest function name that starts the operand ("cosec" rather than "cos").
  const char* best = nullptr;
  for (std::size_t k = 0; k < kFunctions.size(); ++k) {
    const std::string_view name = kFunctions[k];
    if (low.size() > name.size() && low.compare(0, name.size(), name) == 0 &&
        (!best || name.size() > std::string_view(best).size()))
      best = kFunctions[k];
  }
  if (best) {
    const std::size_t len = std::string_view(best).size();
    return Check(ApplyFunction(best, EvaluateOperand(operand.substr(len))));
  }
  Fail("invalid character(s) in expression");
}

bool IsOperatorChar(char c) {
  return c == '^' || c == '*' || c == '/' || c == '%' || c == '+' || c == '-' || c == '=' ||
         c == '|' || c == '&';
}

long double Apply(char op, long double a, long double b) {
  switch (op) {
    case '^': return Check(std::pow(a, b));
    case '*': return Check(a * b);
    case '/':
      if (b == 0) Fail("division by zero");
      return Check(a / b);
    case '%': {
      const long double ta = std::trunc(a), tb = std::trunc(b);
      constexpr long double lim = 9.2233720368547758e18L;
      if (std::fabs(ta) >= lim || std::fabs(tb) >= lim) Fail("floating point overflow");
      const auto ia = static_cast<std::int64_t>(ta), ib = static_cast<std::int64_t>(tb);
      if (ib == 0) Fail("division by zero");
      if (ib == -1) return 0;  // INT64_MIN % -1 would trap
      return static_cast<long double>(ia % ib);
    }
    case '&': return (a != 0 && b != 0) ? 1 : 0;
    case '+': return Check(a + b);
    case '-': return Check(a - b);
    case '|': return (a != 0 || b != 0) ? 1 : 0;
    case '=': return a == b ? 1 : 0;
  }
  Fail("invalid expression");
}

int Level(char op) {
  switch (op) {
    case '^': return 1;
    case '*': case '/': case '%': case '&': return 2;
    case '+': case '-': case '|': return 3;
    default: return 4;  // '='
  }
}

long double EvaluateFlat(const std::string& text) {
  // Classify every minus and split at the binary operators.
  std::vector<std::string> operands;
  std::vector<char> ops;
  std::string current;
  std::size_t segmentStart = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    bool binary = IsOperatorChar(c);
    if (c == '-') {
      if (i == 0) {
        binary = false;
      } else {
        const char before = text[i - 1];
        const bool afterOperator = IsOperatorChar(before) || before == 'E' || before == 'e';
        const bool afterFunction = IsFunctionName(Lower(text.substr(segmentStart, i - segmentStart)));
        binary = !(afterOperator || afterFunction);
      }
    }
    if (binary) {
      operands.push_back(current);
      ops.push_back(c);
      current.clear();
      segmentStart = i + 1;
    } else {
      current += c;
    }
  }
  operands.push_back(current);
  // Empty pieces ("2*", "*3", "2**3") leave fewer operands than the operators need.
  std::size_t nonEmpty = 0;
  for (const auto& o : operands) nonEmpty += o.empty() ? 0 : 1;
  if (nonEmpty != ops.size() + 1) Fail("invalid expression");

  std::vector<long double> values;
  values.reserve(operands.size());
  for (const auto& o : operands) values.push_back(EvaluateOperand(o));

  for (int level = 1; level <= 4; ++level) {
    std::size_t i = 0;
    while (i < ops.size()) {
      if (Level(ops[i]) != level) {
        ++i;
        continue;
      }
      values[i] = RoundTrip18(Apply(ops[i], values[i], values[i + 1]));
      values.erase(values.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      ops.erase(ops.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
  return Check(values.front());
}

long double EvaluateText(std::string text) {
  if (text.empty()) Fail("entry cannot be blank");
  for (;;) {
    const std::size_t close = text.find(')');
    if (close == std::string::npos) break;
    const std::size_t open = text.rfind('(', close);
    if (open == std::string::npos) Fail("() (parentheses) do not match");
    const long double inner = EvaluateText(text.substr(open + 1, close - open - 1));
    text.replace(open, close - open + 1, FormatReal(inner, 18));
  }
  return EvaluateFlat(text);
}

}  // namespace

long double Evaluate(std::string_view text) {
  std::string s;
  for (char c : text)
    if (c != ' ' && c != '\t') s += c;
  if (s.empty()) Fail("entry cannot be blank");
  // Operands nest by recursion (function names, signs, factorials); a pasted text of many
  // thousand characters must not exhaust the stack.
  if (s.size() > 4096) Fail("invalid expression");
  const long double v = EvaluateText(s);
  // Intermediate values may use the whole extended range, but every number of the project is
  // kept as a double: 1E400 would become an infinity there and be saved as 0.
  if (std::fabs(v) > static_cast<long double>(std::numeric_limits<double>::max())) Fail("floating point overflow");
  return v;
}

std::optional<long double> TryEvaluate(std::string_view text, std::string* message) {
  try {
    return Evaluate(text);
  } catch (const EvalError& e) {
    if (message) *message = e.what();
    return std::nullopt;
  }
}

std::string FormatHex(long double value) {
  // Outside the 64-bit range the conversion would be undefined: such values show the limit.
  long double whole = std::isnan(value) ? 0.0L : std::trunc(value);
  whole = std::clamp(whole, -9223372036854775808.0L, 9223372036854775807.0L);
  const auto v = static_cast<std::uint64_t>(static_cast<std::int64_t>(whole));
  static const char* digits = "0123456789ABCDEF";
  std::string s;
  std::uint64_t x = v;
  do {
    s.insert(s.begin(), digits[x % 16]);
    x /= 16;
  } while (x != 0);
  while (s.size() < 4) s.insert(s.begin(), '0');
  return "$" + s;
}

namespace {
constexpr long double kIntMin = -2147483648.0L;
constexpr long double kIntMax = 2147483647.0L;
}  // namespace

void EntryLimits::SetMin(long double v) {
  if (integerOnly) v = std::clamp(v, kIntMin, kIntMax);
  minVal = v;
  if (minVal > maxVal) minVal = maxVal;
}

void EntryLimits::SetMax(long double v) {
  if (integerOnly) v = std::clamp(v, kIntMin, kIntMax);
  maxVal = v;
  if (maxVal < minVal) maxVal = minVal;
}

void EntryLimits::SetIntegerOnly(bool on) {
  integerOnly = on;
  if (on) {
    minVal = std::clamp(minVal, kIntMin, kIntMax);
    maxVal = std::clamp(maxVal, kIntMin, kIntMax);
  }
}

EntryCheck CheckEntry(std::string_view text, const EntryLimits& limits) {
  EntryCheck r;
  r.text = std::string(text);
  std::string message;
  const auto v = TryEvaluate(text, &message);
  if (!v) {
    r.message = limits.integerOnly ? "Entry must be a valid integer." : message;
    return r;
  }
  if (limits.integerOnly && *v != std::trunc(*v)) {
    r.message = "Entry must be an integer.";
    return r;
  }
  if (*v < limits.minVal) {
    r.value = limits.minVal;
    r.text = FormatReal(limits.minVal, 18);
    r.message = "Entry must be greater than or equal to " + FormatReal(limits.minVal, 18);
    return r;
  }
  if (*v > limits.maxVal) {
    r.value = limits.maxVal;
    r.text = FormatReal(limits.maxVal, 18);
    r.message = "Entry must be less than or equal to " + FormatReal(limits.maxVal, 18);
    return r;
  }
  r.valid = true;
  r.value = *v;
  r.text = FormatReal(*v, 18);
  return r;
}

}  // namespace tarnel::model

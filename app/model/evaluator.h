// Arithmetic expressions typed into numeric fields and table cells ("3*12+6", "sqrt(2)/2",
// "pi/4", "$FF", "5!").
//
// Evaluation follows the program's historic rules: parentheses are replaced by their value
// (innermost first), operators apply left to right within four levels (^; * / % &; + - |; =),
// a minus is a sign after an operator, an "E" or a function name, and every intermediate
// result is written with 18 significant digits and read back. A failure carries the exact
// message shown to the user ("Entry could not be evaluated:\n...").
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarnel::model {

class EvalError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Evaluates `text`; throws EvalError with the user-facing message (lines joined by "\n").
// Division or remainder by zero and results outside the real domain (sqrt(-1), ln 0, an
// overflow) give an EvalError too, so no infinite or NaN value is ever returned, nor a result
// beyond the range of a double (the type every project value is kept in).
long double Evaluate(std::string_view text);

// Non-throwing form: the value, or nullopt with the message in *message.
std::optional<long double> TryEvaluate(std::string_view text, std::string* message = nullptr);

// The checks a numeric entry field runs when the user leaves it.
struct EntryLimits {
  bool integerOnly = false;
  long double minVal = -1.18973149535723176502e+4932L;  // most negative extended value
  long double maxVal = 1.18973149535723176502e+4932L;

  // The setters keep the limits consistent the way a numeric field does: a maximum below
  // the minimum becomes the minimum (and a minimum above the maximum the maximum); in
  // integer mode both limits lie in the signed 32-bit range.
  void SetMin(long double v);
  void SetMax(long double v);
  void SetIntegerOnly(bool on);
  // A value moved into the limits.
  long double Clamp(long double v) const { return v < minVal ? minVal : (v > maxVal ? maxVal : v); }
};

struct EntryCheck {
  bool valid = false;
  long double value = 0;  // the value to keep (clamped to a limit when out of range)
  std::string text;       // the text the field shows afterwards
  std::string message;    // message box text when not valid
};

// Evaluates `text` and applies the limits: an evaluation error gives its message ("Entry
// must be a valid integer." in integer mode), a fractional integer "Entry must be an
// integer.", a value below/above the range the limit and "Entry must be greater than or
// equal to " / "Entry must be less than or equal to " followed by the limit.
EntryCheck CheckEntry(std::string_view text, const EntryLimits& limits);

// "$" followed by at least four upper-case hexadecimal digits (negative values: two's
// complement of 64 bits).
std::string FormatHex(long double value);

}  // namespace tarnel::model

// General-format reals, written and read with "." whatever the locale.
#include "app/model/real_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace tarnel::model {

std::string FormatReal(long double value, int digits) {
  if (digits < 1) digits = 1;
  if (digits > 18) digits = 18;
  if (!std::isfinite(value) || value == 0) return "0";

  // d.ddd...e+XX, already rounded to `digits` significant digits.
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, digits - 1);
  std::string sci(buf, res.ptr);
  const std::size_t epos = sci.find('e');
  std::string mant = sci.substr(0, epos);
  const int exponent = std::atoi(sci.c_str() + epos + 1);
  const bool negative = mant[0] == '-';
  std::string d;
  for (char ch : mant)
    if (ch >= '0' && ch <= '9') d += ch;
  while (d.size() > 1 && d.back() == '0') d.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent >= -4 && exponent < digits) {
    if (exponent >= 0) {
      const std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
      if (d.size() <= intDigits) {
        out += d + std::string(intDigits - d.size(), '0');
      } else {
        out += d.substr(0, intDigits) + "." + d.substr(intDigits);
      }
    } else {
      out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + d;
    }
  } else {
    out += d.substr(0, 1);
    if (d.size() > 1) out += "." + d.substr(1);
    out += "E";
    if (exponent < 0) out += "-";
    out += std::to_string(std::abs(exponent));
  }
  return out;
}

std::optional<long double> ParseReal(std::string_view word) {
  // Checked by hand first: from_chars alone would accept "inf", "nan" and hex-like forms.
  std::size_t i = 0;
  const std::size_t n = word.size();
  if (i < n && (word[i] == '+' || word[i] == '-')) ++i;
  const std::size_t mantStart = i;
  std::size_t digits = 0;
  while (i < n && word[i] >= '0' && word[i] <= '9') ++i, ++digits;
  if (i < n && word[i] == '.') {
    ++i;
    while (i < n && word[i] >= '0' && word[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  const std::size_t mantEnd = i;
  if (i < n && (word[i] == 'e' || word[i] == 'E')) {
    ++i;
    if (i < n && (word[i] == '+' || word[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < n && word[i] >= '0' && word[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  if (i != n) return std::nullopt;

  // from_chars takes no leading "+" and no "." without a digit before it is a problem for
  // neither; rebuild the text without the plus sign.
  std::string text;
  if (word[0] == '-') text += '-';
  text.append(word.substr(mantStart, mantEnd - mantStart));
  text.append(word.substr(mantEnd));
  long double value = 0;
  auto res = std::from_chars(text.data(), text.data() + text.size(), value);
  if (res.ec == std::errc::result_out_of_range) {
    // Underflow reads as zero; overflow is refused.
    bool tiny = false;
    const std::size_t e = text.find_first_of("eE");
    if (e != std::string::npos && text.find('-', e) != std::string::npos) tiny = true;
    if (tiny) return 0.0L;
    return std::nullopt;
  }
  if (res.ec != std::errc() || res.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<int> ParseInteger(std::string_view word) {
  const auto v = ParseReal(word);
  if (!v) return std::nullopt;
  const long double x = *v;
  if (x != std::trunc(x)) return std::nullopt;
  if (x < static_cast<long double>(std::numeric_limits<int>::min()) ||
      x > static_cast<long double>(std::numeric_limits<int>::max()))
    return std::nullopt;
  return static_cast<int>(std::lround(x));
}

bool SameReal(double a, double b, double relTol) {
  if (a == b) return true;
  if (!std::isfinite(a) || !std::isfinite(b)) return false;
  return std::fabs(a - b) <= relTol * std::max(std::fabs(a), std::fabs(b));
}

}  // namespace tarnel::model

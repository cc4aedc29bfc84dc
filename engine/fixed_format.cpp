#include "engine/fixed_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace tarnel::fmt {
namespace {

std::string stars(int w) { return std::string(w > 0 ? w : 0, '*'); }

std::string padLeft(const std::string& s, int w) {
  if (static_cast<int>(s.size()) > w) return stars(w);
  return std::string(w - s.size(), ' ') + s;
}

// Decimal digits of |v| rounded to `digits` significant digits, and the exponent e
// such that |v| = 0.d1d2d3... x 10^e. Zero gives all zeros and e = 0.
void significand(double v, int digits, std::string& out, int& e) {
  out.clear();
  e = 0;
  if (v == 0.0) {
    out.assign(digits, '0');
    return;
  }
  char buf[64];
  // scientific with digits-1 decimals: d.ddd e+XX, correctly rounded
  auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, digits - 1);
  std::string s(buf, r.ptr);
  auto epos = s.find('e');
  for (std::size_t i = 0; i < epos; ++i)
    if (s[i] != '.') out.push_back(s[i]);
  e = std::atoi(s.c_str() + epos + 1) + 1;
}

std::string exponentField(int e) {
  // Two exponent digits with their "E"; three digits drop the letter, as classic output does.
  const int a = std::abs(e);
  std::string sign = e < 0 ? "-" : "+";
  if (a <= 99) return std::string("E") + sign + (a < 10 ? "0" : "") + std::to_string(a);
  if (a <= 999) return sign + std::to_string(a);
  return {};
}

}  // namespace

std::string blanks(int n) { return std::string(n > 0 ? n : 0, ' '); }

std::string integer(long long v, int w) { return padLeft(std::to_string(v), w); }

std::string twoDigits(int v) {
  if (v < 0 || v > 99) return stars(2);
  return (v < 10 ? "0" : "") + std::to_string(v);
}

std::string fixed(double v, int w, int d) {
  if (!std::isfinite(v)) return stars(w);
  char buf[400];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, d);
  if (r.ec != std::errc()) return stars(w);
  std::string s(buf, r.ptr);
  // A value that rounds to zero prints without a sign.
  if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  if (static_cast<int>(s.size()) > w) {
    // Drop the optional leading zero before the point when that makes it fit.
    if (s.rfind("0.", 0) == 0) s.erase(0, 1);
    else if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
  }
  return padLeft(s, w);
}

std::string exponent(double v, int w, int d) {
  if (!std::isfinite(v) || d < 1) return stars(w);
  // Built in one buffer: the report prints thousands of these per run, and the pieces
  // (digits, exponent, sign, padding) as strings of their own cost more than the analysis.
  constexpr int kMaxDigits = 100;
  if (d > kMaxDigits) return stars(w);
  char sci[kMaxDigits + 16];
  int e = 0;
  const char* digitsBegin = nullptr;
  char zeros[kMaxDigits];
  char digits[kMaxDigits];
  if (v == 0.0) {
    std::fill(zeros, zeros + d, '0');
    digitsBegin = zeros;
  } else {
    // d.ddd e+XX, correctly rounded: the digits without the point, and |v| = 0.ddd x 10^e.
    const auto r = std::to_chars(sci, sci + sizeof sci, std::fabs(v), std::chars_format::scientific, d - 1);
    int n = 0;
    const char* p = sci;
    for (; p < r.ptr && *p != 'e'; ++p)
      if (*p != '.') digits[n++] = *p;
    std::from_chars(p + (p < r.ptr && p[1] == '+' ? 2 : 1), r.ptr, e);
    e += 1;
    digitsBegin = digits;
  }
  // Two exponent digits with their "E"; three digits drop the letter, as classic output does.
  char ex[8];
  int exLen = 0;
  const int a = std::abs(e);
  if (a > 999) return stars(w);
  if (a <= 99) ex[exLen++] = 'E';
  ex[exLen++] = e < 0 ? '-' : '+';
  if (a > 99) ex[exLen++] = static_cast<char>('0' + a / 100);
  ex[exLen++] = static_cast<char>('0' + a / 10 % 10);
  ex[exLen++] = static_cast<char>('0' + a % 10);
  const bool negative = v < 0;
  // "0.ddd", or ".ddd" when the leading zero does not fit.
  int len = (negative ? 1 : 0) + 2 + d + exLen;
  const bool leadingZero = len <= w;
  if (!leadingZero) --len;
  if (len > w) return stars(w);
  std::string s(static_cast<std::size_t>(w), ' ');
  char* out = s.data() + (w - len);
  if (negative) *out++ = '-';
  if (leadingZero) *out++ = '0';
  *out++ = '.';
  out = std::copy(digitsBegin, digitsBegin + d, out);
  std::copy(ex, ex + exLen, out);
  return s;
}

std::string scaled(double v, int w, int d) {
  if (!std::isfinite(v) || d < 0) return stars(w);
  std::string digits;
  int e = 0;
  significand(v, d + 1, digits, e);
  if (v == 0.0) e = 1;
  const std::string ex = exponentField(e - 1);
  if (ex.empty()) return stars(w);
  std::string s = (v < 0 ? "-" : "") + digits.substr(0, 1) + "." + digits.substr(1) + ex;
  return padLeft(s, w);
}

std::string free(double v) {
  if (!std::isfinite(v)) return "0";
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  std::string s(buf, r.ptr);
  return s;
}

std::string free(long long v) { return std::to_string(v); }

}  // namespace tarnel::fmt

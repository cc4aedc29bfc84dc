// Fixed-layout number formatting for the report, the plot-data file and the scratch
// files, after the classic edit descriptors of line-printer output:
//   integer(v, w)        Iw     right-justified integer
//   twoDigits(v)         I2.2   leading zero kept (dates and times)
//   fixed(v, w, d)       Fw.d   fixed point
//   exponent(v, w, d)    Ew.d   0.ddd E+xx  (sign, "0.", d digits, exponent)
//   scaled(v, w, d)      1PEw.d d.ddd E+xx  (one digit before the point)
//   free(v)              list-directed real: shortest text that reads back exactly
// A value too wide for its field, or not finite, prints as w asterisks, so no "nan" or
// "inf" text can ever reach an output file. All conversions ignore the C locale: the
// decimal separator is always ".".
#pragma once

#include <string>

namespace tarnel::fmt {

std::string integer(long long v, int w);
std::string twoDigits(int v);
std::string fixed(double v, int w, int d);
std::string exponent(double v, int w, int d);
std::string scaled(double v, int w, int d);
std::string free(double v);
std::string free(long long v);
std::string blanks(int n);

}  // namespace tarnel::fmt

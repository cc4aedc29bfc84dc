#include "axis_numbers.h"

#include <QLocale>
#include <cmath>

namespace chart {

AxisPattern axisPatternFor(double lo, double hi) {
  const double a = std::fabs(lo), b = std::fabs(hi);
  if (a == 0.0 && b == 0.0) return AxisPattern::Fixed;
  if (a > 100000.0 || b > 100000.0) return AxisPattern::Scientific;
  if (a < 0.001 && b < 0.001) return AxisPattern::Scientific;
  return AxisPattern::Fixed;
}

namespace {

QString trimDecimals(QString s, int keep) {
  // Drops trailing zeros after the decimal point but keeps `keep` decimals.
  const int dot = s.indexOf(QLatin1Char('.'));
  if (dot < 0) return s;
  int end = s.size();
  while (end > dot + 1 + keep && s[end - 1] == QLatin1Char('0')) --end;
  if (end == dot + 1) --end;  // no decimals left: drop the point
  return s.left(end);
}

}  // namespace

QString formatAxisNumber(double v, AxisPattern pattern) {
  const QLocale c = QLocale::c();
  if (pattern == AxisPattern::Fixed) {
    QString s = trimDecimals(QString::number(std::fabs(v), 'f', 3), 0);
    const int dot = s.indexOf(QLatin1Char('.'));
    QString intPart = dot < 0 ? s : s.left(dot);
    const QString frac = dot < 0 ? QString() : s.mid(dot);
    for (int i = intPart.size() - 3; i > 0; i -= 3) intPart.insert(i, QLatin1Char(','));
    s = intPart + frac;
    if (v < 0 && s != QLatin1String("0")) s.prepend(QLatin1Char('-'));
    return s;
  }
  if (v == 0.0) return QStringLiteral("0.0E0");
  int exponent = static_cast<int>(std::floor(std::log10(std::fabs(v))));
  double mantissa = v / std::pow(10.0, exponent);
  // Rounding to three decimals may carry into the next power (9.9996 -> 10.000).
  if (std::fabs(std::round(mantissa * 1000.0) / 1000.0) >= 10.0) {
    mantissa /= 10.0;
    ++exponent;
  }
  return trimDecimals(c.toString(mantissa, 'f', 3), 1) + QStringLiteral("E%1").arg(exponent);
}

std::vector<double> niceTicks(double& lo, double& hi, int wanted) {
  if (!(hi > lo)) {
    const double pad = lo == 0.0 ? 1.0 : std::fabs(lo) * 0.1;
    lo -= pad;
    hi += pad;
  }
  const double raw = (hi - lo) / std::max(1, wanted);
  const double mag = std::pow(10.0, std::floor(std::log10(raw)));
  double step = mag;
  for (double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
    step = m * mag;
    if (raw <= step) break;
  }
  lo = std::floor(lo / step + 1e-9) * step;
  hi = std::ceil(hi / step - 1e-9) * step;
  std::vector<double> ticks;
  for (double t = lo; t <= hi + step * 1e-6; t += step)
    ticks.push_back(std::fabs(t) < step * 1e-9 ? 0.0 : t);
  return ticks;
}

}  // namespace chart

// Test reference: the static sand criterion of Reese, Cox and Koop (1974) written out
// from the paper (wedge and flow-around resistance, the empirical factors A and B, the
// four-segment curve), and Coulomb's passive coefficient, for the tests that check
// generated curves and the results built on them. Nothing here calls the engine.
#pragma once

#include <algorithm>
#include <cmath>

namespace tarnel::engine::testing::reference {

inline const double kPi = std::acos(-1.0);
inline double deg(double d) { return d * kPi / 180.0; }

// The paper's factors by x/b at 0, 0.5, 1, 1.5, 2, 2.5, 3, 4, 5 and 6; flat beyond 6.
inline constexpr double kA[] = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
inline constexpr double kB[] = {2.14, 1.83, 1.54, 1.27, 1.05, 0.86, 0.71, 0.53, 0.50, 0.50};

inline double table(const double* v, double r) {
  const double xs[] = {0, 0.5, 1, 1.5, 2, 2.5, 3, 4, 5, 6};
  if (r >= 6) return v[9];
  for (int i = 1; i < 10; ++i)
    if (r <= xs[i]) return v[i - 1] + (v[i] - v[i - 1]) * (r - xs[i - 1]) / (xs[i] - xs[i - 1]);
  return v[9];
}

// Coulomb's passive coefficient of a vertical wall with level ground and wall friction d.
inline double coulombKp(double phi, double d) {
  return std::pow(std::cos(phi), 2) /
         (std::cos(d) * std::pow(1 - std::sqrt(std::sin(phi + d) * std::sin(phi) / std::cos(d)), 2));
}

inline void wedgeFlowPublished(double x, double b, double g, double phi, double& pst, double& psd) {
  const double K0 = 0.4, alpha = phi / 2, beta = kPi / 4 + phi / 2;
  const double Ka = std::pow(std::tan(kPi / 4 - phi / 2), 2);
  pst = g * x *
        (K0 * x * std::tan(phi) * std::sin(beta) / (std::tan(beta - phi) * std::cos(alpha)) +
         std::tan(beta) / std::tan(beta - phi) * (b + x * std::tan(beta) * std::tan(alpha)) +
         K0 * x * std::tan(beta) * (std::tan(phi) * std::sin(beta) - std::tan(alpha)) - Ka * b);
  psd = Ka * b * g * x * (std::pow(std::tan(beta), 8) - 1) + K0 * b * g * x * std::tan(phi) * std::pow(std::tan(beta), 4);
}

struct Published {
  double pst, psd, ps, a, bf, pu, pm, yu, ym, m, n, c, yk;
};

// The curve at depth x of a pile of width b in sand of effective unit weight g, friction
// angle phi (radians) and initial modulus k x.
inline Published sandPublished(double x, double b, double g, double phi, double k) {
  Published s{};
  wedgeFlowPublished(x, b, g, phi, s.pst, s.psd);
  s.ps = std::min(s.pst, s.psd);
  s.a = table(kA, x / b);
  s.bf = table(kB, x / b);
  s.pu = s.a * s.ps;
  s.pm = s.bf * s.ps;
  s.yu = 3 * b / 80;
  s.ym = b / 60;
  s.m = (s.pu - s.pm) / (s.yu - s.ym);
  s.n = s.pm / (s.m * s.ym);
  s.c = s.pm / std::pow(s.ym, 1 / s.n);
  s.yk = std::pow(s.c / (k * x), s.n / (s.n - 1));
  return s;
}

// Soil resistance per unit length at deflection y >= 0 (initial line, parabola, straight
// line, constant), never above the initial line.
inline double sandP(const Published& s, double k, double x, double y) {
  double p;
  if (y <= s.yk) p = k * x * y;
  else if (y <= s.ym) p = s.c * std::pow(y, 1 / s.n);
  else if (y <= s.yu) p = s.pm + s.m * (y - s.ym);
  else p = s.pu;
  return std::min(p, k * x * y);
}

}  // namespace tarnel::engine::testing::reference

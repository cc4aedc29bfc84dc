#include "engine/pressure/coefficients.h"

#include "engine/pressure/constants.h"

#include <cmath>

namespace tarnel::engine::pressure {

ActiveCoefficient activeCoefficient(double phi, double beta) {
  ActiveCoefficient a;
  a.sqrtKa = std::tan((45.0 - phi / 2.0) / kDegPerRad);
  a.ka = a.sqrtKa * a.sqrtKa;
  const double absBeta = std::fabs(beta);
  if (absBeta > 0.0 && absBeta < phi) {
    const double cb = std::cos(beta / kDegPerRad);
    const double cp = std::cos(phi / kDegPerRad);
    const double root = std::sqrt(cb * cb - cp * cp);
    // cb + root > 0 for every friction angle below 90 degrees; beyond it the formula
    // has no meaning and the level-ground value stays.
    if (cb + root > 0.0) {
      a.ka = cb * (cb - root) / (cb + root);
      a.sqrtKa = std::sqrt(a.ka);
    }
  } else if (absBeta > 0.0) {
    a.slopeTooSteep = true;
  }
  return a;
}

double passiveCoefficient(double phi) {
  const double r = std::tan((45.0 + phi / 2.0) / kDegPerRad);
  return r * r;
}

}  // namespace tarnel::engine::pressure

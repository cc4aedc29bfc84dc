// Rankine earth-pressure coefficients. The active coefficient of a backfill sloping at
// beta uses Rankine's (1857) inclined-backfill formula
//   Ka = cos b (cos b - sqrt(cos^2 b - cos^2 phi)) / (cos b + sqrt(cos^2 b - cos^2 phi)),
// which has no real value once the slope is as steep as the friction angle: the
// level-ground value is kept then, and the caller warns. The slope does not enter the
// passive coefficient.
#pragma once

namespace tarnel::engine::pressure {

struct ActiveCoefficient {
  double ka = 0;
  double sqrtKa = 0;
  bool slopeTooSteep = false;  // |beta| >= phi with a sloping backfill
};

ActiveCoefficient activeCoefficient(double phiDeg, double betaDeg);
double passiveCoefficient(double phiDeg);

}  // namespace tarnel::engine::pressure

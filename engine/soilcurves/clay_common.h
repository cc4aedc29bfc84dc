// What the three clay criteria (and the cohesive part of silt) share: the plane
// passive resistance of a wall of touching elements.
#pragma once

namespace tarnel::engine::py {

// A wall of touching elements (WA/WP < 1.1) resists with (x gamma' + 2 cu) b.
inline double touchingClayUltimate(double x, double b, double cu, double gammaAvg) {
  return (x * gammaAvg + 2.0 * cu) * b;
}

}  // namespace tarnel::engine::py

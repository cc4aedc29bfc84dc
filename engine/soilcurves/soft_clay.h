// Soft clay p-y curve for static loading after Matlock (1970): ultimate resistance
// pu = F cu b with F = 3 + gamma' x / cu + 0.5 x / b <= 9, and p = 0.5 pu (y/y50)^(1/3)
// up to 8 y50 with y50 = 2.5 e50 b. A wall of touching elements resists with the plane
// passive value (x gamma' + 2 cu) b instead.
#pragma once

#include <array>

#include "engine/soilcurves/py_points.h"

namespace tarnel::engine::py {

struct PySoilModel;
class CurveFinisher;

struct SoftClayInput {
  double x = 0;         // depth below the side's surface (or equivalent depth)
  double b = 0;         // width
  double cu = 0;        // undrained strength at the depth
  double gammaAvg = 0;  // mean effective unit weight above the depth
  double e50 = 0;
  bool touching = false;
};

struct SoftClayCurve {
  double pu = 0, y50 = 0;
  double es0 = 0;  // p/y at y = 1.0e-14, used below that deflection
  PyPoints points;
  std::array<bool, kPoints> smallDeflection{};
};

// Ultimate resistance per unit length at the input's depth.
double softClayUltimate(const SoftClayInput& in);
// The 17 points; needs e50 > 0 and b > 0.
SoftClayCurve softClayCurve(const SoftClayInput& in);

// Curves of a soft-clay layer, both sides of every curve depth; accumulates the
// layer's running integral of pu on the excavation side.
void softClayCurves(PySoilModel& model, CurveFinisher& finisher, int layer);

}  // namespace tarnel::engine::py

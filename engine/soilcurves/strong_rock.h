// Strong rock p-y curve: a brittle piecewise-linear curve on the shear strength
// su = qu/2. Initial modulus Ei = 2000 su up to y1 = 0.0004 b, then slope 100 su up to
// the ultimate pu = su b at y2; past y2 the rock has failed and carries only the residual
// 0.5 x gamma' b, which no p-multiplier scales. No active-pressure shift applies.
#pragma once

#include "engine/soilcurves/py_points.h"

namespace tarnel::engine::py {

struct PySoilModel;
class CurveFinisher;

struct RockInput {
  double x = 0, b = 0;
  double qu = 0;        // unconfined compressive strength
  double gammaAvg = 0;
};

struct RockCurve {
  double su = 0, ei = 0, y1 = 0, y2 = 0, pu = 0, residual = 0;
  PyPoints points;   // p before the p-multiplier; residual points flagged
};

RockCurve rockCurve(const RockInput& in);

void rockCurves(PySoilModel& model, CurveFinisher& finisher, int layer);

}  // namespace tarnel::engine::py

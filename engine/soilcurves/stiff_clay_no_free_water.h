// Stiff clay without free water, static loading, after Welch and Reese (1972):
// pu = min(3 ca b + gamma' b x + 0.5 ca x, 9 cu b), y50 = 2.5 e50 b and the quarter-power
// curve p = 0.5 pu (y/y50)^(1/4), which reaches pu at 16 y50.
#pragma once

#include "engine/soilcurves/py_points.h"

namespace tarnel::engine::py {

struct PySoilModel;
class CurveFinisher;

struct StiffClayDryInput {
  double x = 0, b = 0;
  double cu = 0, ca = 0;
  double gammaAvg = 0;
  double e50 = 0;
  bool touching = false;
};

struct StiffClayDryCurve {
  double pu = 0, y50 = 0;
  PyPoints points;
};

double stiffClayDryUltimate(const StiffClayDryInput& in);
StiffClayDryCurve stiffClayDryCurve(const StiffClayDryInput& in);

void stiffClayDryCurves(PySoilModel& model, CurveFinisher& finisher, int layer);

}  // namespace tarnel::engine::py

// Weak rock p-y curve after Reese (1997): pur = alphar qur (b + 1.4 xr) down to xr = 3b
// and 5.2 alphar qur b below, with alphar = 1 - RQD/150; yrm = krm b and the
// quarter-power curve p = (pur/2)(y/yrm)^(1/4) <= pur, preceded by the initial line
// Kir y with Kir = kir Eir, kir = 100 + 400 xr/(3b) <= 500. No active-pressure shift.
#pragma once

#include "engine/soilcurves/py_points.h"

namespace tarnel::engine::py {

struct PySoilModel;
class CurveFinisher;

struct WeakRockInput {
  double xr = 0;        // depth below the top of the rock (plus 1.0e-8)
  double b = 0;
  double qur = 0;       // compressive strength
  double rqd = 0;       // percent
  double krm = 0;
  double eir = 0;       // rock mass modulus
};

struct WeakRockCurve {
  double alphar = 0, pur = 0, kir = 0, yrm = 0, ya = 0;
  PyPoints points;
};

WeakRockCurve weakRockCurve(const WeakRockInput& in);

void weakRockCurves(PySoilModel& model, CurveFinisher& finisher, int layer);

}  // namespace tarnel::engine::py

// Silt (c-phi soil) p-y curve: the sand criterion of Reese, Cox and Koop (1974) for the
// frictional part Puphi, plus a cohesive part Puc after Matlock's soft-clay factor
// (3 + gamma' x/cu + 0.5 x/b <= 9). pu = A Puphi at 3b/80 and pm = 1.5 Puphi + Puc at
// b/60; the initial line k x y meets the parabola (case 1), the straight line (case 2)
// or only the constant pu (case 3).
#pragma once

#include "engine/soilcurves/py_points.h"

namespace tarnel::engine::py {

struct PySoilModel;
class CurveFinisher;

struct SiltInput {
  double x = 0, b = 0;
  double gammaAvg = 0;
  double phi = 0;       // radians
  double cu = 0;        // cohesion
  double k = 0;
  bool touching = false;
};

struct SiltCurve {
  double puPhi = 0, puc = 0, a = 0, bFactor = 0;
  double pu = 0, yu = 0, pm = 0, ym = 0;
  double slope = 0;
  int kase = 1;                    // 1 parabola, 2 straight line, 3 constant
  double yk = 0;                   // where the initial line leaves the curve
  PyPoints points;
};

double siltFrictional(const SiltInput& in);   // Puphi
double siltUltimate(const SiltInput& in);     // A Puphi
SiltCurve siltCurve(const SiltInput& in);

void siltCurves(PySoilModel& model, CurveFinisher& finisher, int layer);

}  // namespace tarnel::engine::py

// Stiff clay with free water, static loading, after Reese, Cox and Koop (1975):
// pc = min(2 ca b + gamma' b x + 2.83 ca x, 11 cu b), y50 = e50 b, the empirical factor
// As(x/b), and the curve of parabola, parabola less the softening term, falling line and
// residual, every point capped by the initial straight line k x y.
#pragma once

#include "engine/soilcurves/py_points.h"

namespace tarnel::engine::py {

struct PySoilModel;
class CurveFinisher;

struct StiffClayWetInput {
  double x = 0, b = 0;
  double cu = 0;        // strength at the depth
  double ca = 0;        // average strength over the depth
  double gammaAvg = 0;
  double e50 = 0;
  double k = 0;         // initial modulus per unit depth
  bool touching = false;
};

struct StiffClayWetCurve {
  double pc = 0, y50 = 0, as = 0;
  PyPoints points;
};

// As at x/b: 0, 0.223, 0.46, 0.55, 0.59, 0.6 at x/b = 0..5, the last segment extended.
double stiffClayAs(double xOverB);
// pc at the input's depth.
double stiffClayWetUltimate(const StiffClayWetInput& in);
// Share of pc left at the peak of the curve: R = 1.225 sqrt(As) - 0.75 As - 0.411.
double stiffClayWetPeakFactor(double as);
StiffClayWetCurve stiffClayWetCurve(const StiffClayWetInput& in);

void stiffClayWetCurves(PySoilModel& model, CurveFinisher& finisher, int layer);

}  // namespace tarnel::engine::py

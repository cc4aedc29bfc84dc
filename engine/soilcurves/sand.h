// Sand p-y curve for static loading after Reese, Cox and Koop (1974): the ultimate
// resistance is the smaller of a wedge value pst and a flow-around value psd (a plane
// passive value for a wall of touching elements), scaled by the empirical factors A and
// B of x/b; the curve is the initial line k x y, a parabola to (b/60, B ps), a straight
// line to (3b/80, A ps) and the constant A ps beyond.
#pragma once

#include "engine/soilcurves/py_points.h"

namespace tarnel::engine::py {

struct PySoilModel;
class CurveFinisher;

// The sand code held its factor table and its 45 degrees in single precision; the silt
// code computed 45 degrees from 4 atan 1 and held the table in double precision.
enum class Precision { Single, Double };

struct WedgeFlow {
  double pst = 0, psd = 0;
};

// Wedge and flow-around resistance at depth x, friction angle phi in radians.
WedgeFlow wedgeAndFlow(double x, double b, double gammaAvg, double phi, Precision precision);
// Depth at which pst and psd are equal (both grow from 0; the wedge value governs above).
double wedgeFlowMeetingDepth(double b, double phi, Precision precision);
// Coulomb passive coefficient of a vertical wall with wall friction d.
double passiveCoefficient(double phi, double d);
// Empirical factors at x/b (linear in the table, flat beyond x/b = 6).
double sandFactorA(double xOverB, Precision precision);
double sandFactorB(double xOverB, Precision precision);

struct SandInput {
  double x = 0, b = 0;
  double gammaAvg = 0;
  double phi = 0;       // radians
  double k = 0;         // initial modulus per unit depth
  bool touching = false;
};

struct SandCurve {
  double ps = 0, a = 0, bFactor = 0;
  double pu = 0, yu = 0, pm = 0, ym = 0, yk = 0;
  double slope = 0, n = 0, cp = 0;
  PyPoints points;
};

double sandUltimate(const SandInput& in);   // A ps
SandCurve sandCurve(const SandInput& in);

// Deflections of the sand curve: 0, yk'/2, yk' (yk' = yk, or ym/10 when yk > ym/5), ten
// steps to ym, two points to yu, yu and 1.2 yu. Silt spaces its parabola case the same.
void sandSpacing(PyPoints& points, double yk, double ym, double yu);

void sandCurves(PySoilModel& model, CurveFinisher& finisher, int layer);

}  // namespace tarnel::engine::py

// Soil model of the p-y generator: the layers below the excavation level (the layer
// crossing it cut there, its top values interpolated at the cut), the depth
// distributions of effective unit weight, strength, friction angle, e50 and RQD, the
// five curve depths of every layer, and the depth functions the curve generators read.
// Depths X are measured from the top of the backfill; the excavation level is X = H.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "engine/run_state.h"
#include "engine/soilcurves/py_points.h"

namespace tarnel::engine::py {

enum class Side { Excavation, Backfill };
inline constexpr Side kSides[] = {Side::Excavation, Side::Backfill};

// Where the generator writes: the report, and the standard error stream of the run.
struct Streams {
  std::ostream& report;
  std::ostream& err;
};

// Writes a stop message to both streams and ends the run (GeneratorStop).
[[noreturn]] void stopRun(const Streams& io, const std::vector<std::string>& lines, int blankLines = 1);

// The framed message of a zero or missing soil value: "THE <what> IS 0 FOR <soil>
// ACCORDING TO THE INPUT" and the request to correct it; ends the run.
[[noreturn]] void stopOnZeroValue(const Streams& io, const std::string& what, const std::string& soil);

// The framed message of a value that overflowed (or became undefined) on its way
// through the formulas: "THE <what> IS NOT A FINITE NUMBER", where it happened, and the
// request to correct the input; ends the run.
[[noreturn]] void stopOnNonFinite(const Streams& io, const std::string& what, const std::string& where);

// "AT X = <X> IN LAYER <layer + 1>" for the messages above.
std::string curvePlace(double X, int layer);

struct PyLayer {
  int kind = kSoftClay;
  double top = 0, bottom = 0;
  double gamma = 0;          // total unit weight, constant over the layer
  double k = 0;              // modulus of subgrade reaction (rock mass modulus for weak rock)
  double runningIntegral = 0;  // of the ultimate resistance, excavation side
  double equivalentDepth = 0;
};

struct DistPoint {
  double x = 0, v = 0;
};
using Distribution = std::vector<DistPoint>;

// Soil values of one curve depth, evaluated once and used for both sides.
struct CurveSoil {
  int layer = 0;
  double X = 0;
  double b = 0;          // width
  double cu = 0;         // strength at X
  double ca = 0;         // mean of the strength at the layer top and at X
  double gammaAvg = 0;   // mean effective unit weight from the excavation level to X
  double phi = 0;        // radians
  double e50 = 0;        // e50, or krm for weak rock
  double rqd = 0;        // percent
  double k = 0;          // layer modulus
};

struct PySoilModel {
  int units = 1;
  double H = 0;
  double wa = 0, wp = 0;
  double s = 1;          // WA/WP, at least 1
  double dwb = 0;
  double gammaW = 0;
  double e = 0.1;        // offset of the end curves from the layer boundaries

  std::vector<PyLayer> layers;
  Distribution gamma, strength, phi, e50, rqd;
  std::vector<double> curveX;        // five per layer
  std::vector<CurveSoil> curveSoil;  // filled layer by layer as the curves are made

  bool touching() const { return s < 1.1; }
  int curveCount() const { return static_cast<int>(curveX.size()); }
  static int firstCurve(int layer) { return kCurvesPerLayer * layer; }
  int layerOfCurve(int c) const { return c / kCurvesPerLayer; }
};

// Equal depths (layer boundaries, the water table) within this distance.
inline constexpr double kDepthTol = sp(1.0e-5f);

// Builds the model from the records of the problem. Stops the run (GeneratorStop) on a
// width WP that is not positive or layer bottoms that go upward.
PySoilModel buildSoilModel(const Problem& problem, double gammaW, const Streams& io);

// Value of a distribution at X: linear inside, at a shared boundary depth the lower
// layer's value (the upper one's when the lower is below 1.0e-20), the end values
// outside. `beyond` tells whether X lies below the last point.
double interpolate(const Distribution& d, double X, bool* beyond = nullptr);

double unitWeightAverage(const PySoilModel& m, double X);
double strengthAt(const PySoilModel& m, double X, std::ostream& err);
double strengthAverage(const PySoilModel& m, int layer, double X, std::ostream& report);
double phiAt(const PySoilModel& m, double X, const Streams& io);  // stops beyond the input
double e50At(const PySoilModel& m, double X);
double rqdAt(const PySoilModel& m, double X);
inline double widthAt(const PySoilModel& m, double) { return m.wp; }

// All soil values of curve c.
CurveSoil soilAtCurve(const PySoilModel& m, int c, const Streams& io);

// The depth x that enters the formulas: below the side's surface in the first layer,
// from the layer top plus its equivalent depth in a lower layer (plus H on the backfill).
double formulaDepth(const PySoilModel& m, int c, Side side);
// The depth printed in the report: the true depth below the side's surface.
double printedDepth(const PySoilModel& m, int c, Side side);

}  // namespace tarnel::engine::py

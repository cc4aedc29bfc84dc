// p-y generation of one analysis case: builds the soil model below the excavation level,
// reports the layers and their distributions, gives every lower layer its equivalent
// depth, calls the generator of each layer's soil kind for its five curve depths and
// both sides of the wall, and leaves the curves in the scratch file kPyScratchFile
// (user curves first) for the iteration to read back.
#include "engine/soilcurves/py_generator.h"

#include <cmath>
#include <fstream>

#include "engine/fixed_format.h"
#include "engine/pressure/pressure_case.h"
#include "engine/soilcurves/equivalent_depth.h"
#include "engine/soilcurves/finishing.h"
#include "engine/soilcurves/sand.h"
#include "engine/soilcurves/silt.h"
#include "engine/soilcurves/soft_clay.h"
#include "engine/soilcurves/soil_model.h"
#include "engine/soilcurves/soil_report.h"
#include "engine/soilcurves/stiff_clay_free_water.h"
#include "engine/soilcurves/stiff_clay_no_free_water.h"
#include "engine/soilcurves/strong_rock.h"
#include "engine/soilcurves/weak_rock.h"

namespace tarnel::engine {
namespace {

using namespace py;

double waterUnitWeight(const RunState& run) {
  if (run.pressure.valid && run.pressure.gammaW > 0.0) return run.pressure.gammaW;
  return pressure::waterUnitWeight(run.problem.control.units);
}

// Values the formulas divide by: zero ones stop the run with a message instead of
// producing curves of infinite or undefined values. Any positive e50 gives a usable
// clay curve (a tiny one takes the soft-clay modulus below 1.0e-14); the moduli of sand
// and silt must be large enough for the deflections to stay printable.
void checkCurveSoil(int kind, const CurveSoil& s, const Streams& io) {
  const struct {
    double v;
    const char* name;
  } values[] = {{s.X, "DEPTH OF THE CURVE"},  {s.b, "WIDTH WP"},          {s.cu, "STRENGTH"},
                {s.ca, "AVERAGE STRENGTH"},    {s.gammaAvg, "AVERAGE UNIT WEIGHT"}, {s.phi, "FRICTION ANGLE"},
                {s.e50, "STRAIN FACTOR"},      {s.rqd, "RQD"},               {s.k, "P-Y MODULUS K"}};
  for (const auto& v : values)
    if (!std::isfinite(v.v)) stopOnNonFinite(io, v.name, curvePlace(s.X, s.layer));
  switch (kind) {
    case kStiffClayWet:
    case kStiffClayDry:
      if (!(s.e50 > 0.0)) stopOnZeroValue(io, "STRAIN FACTOR E50", "CLAY");
      break;
    case kSand:
      if (!(s.k > 1.0e-10)) stopOnZeroValue(io, "P-Y MODULUS K", "SAND");
      break;
    case kSilt:
      if (1.0 - std::cos(s.phi) * std::cos(s.phi) < 1.0e-10) {
        stopRun(io,
                {"WARNING-------The Angle of the slope can not", "              be greater than the internal  ",
                 "              friction angle of the sand.   "},
                2);
      }
      if (!(s.k > 1.0e-10)) stopOnZeroValue(io, "P-Y MODULUS K", "SILT");
      break;
    case kRock:
    case kWeakRock:
      if (!(s.cu >= 1.0e-10)) {
        stopRun(io, {"--------------------WARNING----------------------",
                     "THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT",
                     "DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN."});
      }
      if (kind == kWeakRock) {
        // alphar = 1 - RQD/150 must stay positive: RQD is a percentage of the core.
        if (!(s.rqd >= 0.0 && s.rqd <= 100.0)) {
          stopRun(io, {"--------------------WARNING----------------------",
                       "THE RQD OF WEAK ROCK IS " + fmt::fixed(s.rqd, 8, 1) + " PERCENT ACCORDING TO THE INPUT",
                       "DATA. IT MUST LIE BETWEEN 0 AND 100. PLEASE CORRECT IT AND RUN IT AGAIN."});
        }
        if (!(s.e50 > 1.0e-10)) stopOnZeroValue(io, "STRAIN FACTOR KRM", "WEAK ROCK");
        if (!(s.k > 1.0e-10)) stopOnZeroValue(io, "ROCK MASS MODULUS", "WEAK ROCK");
      }
      break;
    default:  // soft clay
      if (!(s.e50 > 0.0)) stopOnZeroValue(io, "STRAIN FACTOR E50", "CLAY");
      break;
  }
}

void writeUserCurves(std::ostream& out, const std::vector<UserPyCurve>& curves) {
  for (const UserPyCurve& c : curves) {
    const std::size_t n = std::min(c.y.size(), c.p.size());
    out << c.station << " " << n << "\n";
    for (std::size_t i = 0; i < n; ++i)
      out << (i + 1) << " " << fmt::free(c.p[i] * c.pMult) << " " << fmt::free(c.y[i] * c.yMult) << "\n";
  }
}

}  // namespace

namespace py {

PySoilModel generateCurves(RunState& run) {
  const Problem& pb = run.problem;
  Streams io{run.out.report, *run.out.err};
  // Every generated curve is a static curve (one cycle).
  io.err << " READ SOIL DATA....\n";

  const UnitTexts units = unitTexts(pb.control.units, run.labels);
  const double gammaW = waterUnitWeight(run);
  PySoilModel model = buildSoilModel(pb, gammaW, io);

  // The active pressure already on the wall: only a generated earth pressure counts; a
  // user-given distributed load is the whole pressure and needs no shift. The
  // earth-pressure generator runs before the curves and leaves the effective vertical
  // stress at the excavation level.
  static const std::vector<PressurePoint> kNoLoad;
  const bool generated = pb.control.earthPressure >= 2;
  const double sigvp = generated ? run.pressure.sigvpExcavation : 0.0;
  const std::vector<PressurePoint>& wallLoad = generated ? run.pressureTable : kNoLoad;

  std::ofstream scratch(kPyScratchFile, std::ios::out | std::ios::trunc);
  if (!scratch) {
    stopRun(io, {"--------------------WARNING----------------------",
                 std::string("THE SCRATCH FILE ") + kPyScratchFile + " CANNOT BE CREATED IN THE",
                 "CURRENT FOLDER. PLEASE CHECK ITS PERMISSIONS AND RUN IT AGAIN."});
  }
  scratch << (pb.userCurves.size() + model.curveX.size()) << "\n";
  writeUserCurves(scratch, pb.userCurves);

  writeSoilReport(io.report, model, units, pb.pyModifiers);
  CurveFinisher finisher(model, pb.pyModifiers, sigvp, wallLoad, io, scratch, units);

  for (int L = 0; L < static_cast<int>(model.layers.size()); ++L) {
    PyLayer& layer = model.layers[L];
    const int first = PySoilModel::firstCurve(L);
    for (int c = first; c < first + kCurvesPerLayer; ++c) {
      model.curveSoil[c] = soilAtCurve(model, c, io);
      checkCurveSoil(layer.kind, model.curveSoil[c], io);
    }
    if (L > 0 && layer.kind != kRock && layer.kind != kWeakRock) {
      double above = 0.0;
      for (int i = 0; i < L; ++i) above += model.layers[i].runningIntegral;
      layer.equivalentDepth = equivalentDepth(model, L, model.curveSoil[first], above);
      if (!std::isfinite(layer.equivalentDepth))
        stopOnNonFinite(io, "EQUIVALENT DEPTH", curvePlace(model.curveX[first], L));
      writeEquivalentDepth(io.report, model, L, units);
    }
    switch (layer.kind) {
      case kStiffClayWet: stiffClayWetCurves(model, finisher, L); break;
      case kStiffClayDry: stiffClayDryCurves(model, finisher, L); break;
      case kSand: sandCurves(model, finisher, L); break;
      case kSilt: siltCurves(model, finisher, L); break;
      case kRock: rockCurves(model, finisher, L); break;
      case kWeakRock: weakRockCurves(model, finisher, L); break;
      default: softClayCurves(model, finisher, L); break;
    }
  }
  scratch.close();
  if (!scratch) {
    stopRun(io, {"--------------------WARNING----------------------",
                 std::string("THE SCRATCH FILE ") + kPyScratchFile + " COULD NOT BE WRITTEN COMPLETELY.",
                 "PLEASE CHECK THE FREE SPACE OF THE CURRENT FOLDER AND RUN IT AGAIN."});
  }
  return model;
}

}  // namespace py

void generatePyCurves(RunState& run) { py::generateCurves(run); }

}  // namespace tarnel::engine

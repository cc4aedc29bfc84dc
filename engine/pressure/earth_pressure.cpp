// The earth-pressure generator of one analysis case, in its steps: soil profile and
// overburden stress, coefficients, layer forces, and the pressure table handed to the
// core through the scratch file.
#include "engine/pressure/earth_pressure.h"

#include "engine/fixed_format.h"
#include "engine/pressure/coefficients.h"
#include "engine/pressure/constants.h"
#include "engine/pressure/layer_forces.h"
#include "engine/pressure/pressure_case.h"
#include "engine/pressure/pressure_table.h"
#include "engine/pressure/report_blocks.h"
#include "engine/pressure/soil_profile.h"
#include "engine/pressure/surcharge.h"

#include <cmath>
#include <fstream>
#include <string>

namespace tarnel::engine {
namespace {

using namespace pressure;

[[noreturn]] void stop(std::ostream& report, const std::string& text) {
  printStop(report, text);
  report.flush();
  throw GeneratorStop(text);
}

void computeCoefficients(SoilProfile& profile, const PressureCase& pc, RunState& run) {
  for (auto& l : profile.layers) {
    const ActiveCoefficient a = activeCoefficient(l.phi, pc.beta);
    l.ka = a.ka;
    l.sqrtKa = a.sqrtKa;
    l.kp = passiveCoefficient(l.phi);
    if (a.slopeTooSteep && l.ztop < pc.H) {
      printSlopeWarning(run.out.notes);
      printSlopeWarning(run.out.report);
    }
  }
  printCoefficients(run.out.report, profile);
  // A user coefficient replaces Ka and drops the cohesion terms.
  for (auto& l : profile.layers) {
    if (l.kopt > 1.0e-7) {
      l.ka = l.kopt;
      l.sqrtKa = 0.0;
    }
  }
}

// A value of the profile, the layer forces or the table that overflowed (or became
// undefined) stops the run naming it, before it could be printed as asterisks.
void requireFinite(std::ostream& report, double v, const std::string& what, int layer) {
  if (!std::isfinite(v)) {
    stop(report, "THE " + what + " OF LAYER " + std::to_string(layer + 1) +
                     " IS NOT A FINITE NUMBER: THE INPUT VALUES ARE TOO LARGE OR TOO SMALL FOR THE ANALYSIS");
  }
}

int layerAtDepth(const SoilProfile& profile, double z) {
  for (int i = 0; i < profile.n(); ++i)
    if (z <= profile.layers[i].ztop + profile.layers[i].t) return i;
  return profile.n() - 1;
}

}  // namespace

void generateEarthPressure(RunState& run) {
  std::ostream& report = run.out.report;
  const PressureCase pc = pressureCase(run);
  run.pressure = PressureResults{};
  run.pressure.gammaW = pc.gammaW;

  std::ofstream debug(kDebugScratchFile, std::ios::trunc);  // kept empty
  SoilProfile profile = subdivideLayers(run.problem.layers, pc.H, pc.dwb, pc.modf);
  const SurchargeSlots slots = slotsAfterEcho(pc.legacySlots, pc.surcharges);
  printWallInformation(report, pc, run.labels);
  printSurchargeInformation(report, pc, run.labels);
  printSoilInformation(report, profile, pc.units);

  if (profile.overflow)
    stop(report, "MORE THAN 21 SOIL LAYERS AFTER DIVIDING THE LAYERS AT THE WATER TABLE AND THE EXCAVATION LEVEL");
  // A negative free height finds no excavation layer either; say what is wrong.
  if (pc.H < 0.0) stop(report, "THE FREE HEIGHT OF WALL IS NEGATIVE; IT MUST BE 0 OR MORE");
  if (profile.lexc < 0)
    stop(report, "THE SOIL LAYERS DO NOT EXTEND BELOW THE EXCAVATION LEVEL (FREE HEIGHT OF WALL)");
  if (!(pc.H > 0.0) && hasActiveSurcharge(pc.surcharges))
    stop(report, "SURCHARGE LOADS NEED A FREE HEIGHT OF WALL GREATER THAN ZERO");
  if (pc.option == 3) {
    const std::string problem = apparentDiagramProblem(pc);
    if (!problem.empty()) stop(report, problem);
  }

  computeOverburden(profile, pc.q, pc.dwb, pc.gammaW);
  for (int i = 0; i < profile.n(); ++i) requireFinite(report, profile.layers[i].sigvp, "VERTICAL STRESS AT THE TOP", i);
  printOverburden(report, profile, run.labels);
  run.pressure.sigvpExcavation = profile.sigvpExcavation;
  applyTotalStressRule(profile, pc.dwb, pc.gammaW);

  computeCoefficients(profile, pc, run);

  const ActiveForces forces = computeLayerForces(profile, pc, slots);
  if (forces.undefinedTensionLayer)
    stop(report, "LAYER " + std::to_string(*forces.undefinedTensionLayer + 1) +
                     " IS IN TENSION AND ITS ACTIVE PRESSURE DOES NOT CHANGE WITH DEPTH;"
                     " CHECK ITS UNIT WEIGHT");
  for (int i = 0; i < static_cast<int>(forces.layers.size()); ++i) {
    const LayerForces& f = forces.layers[i];
    for (double v : {f.pa1, f.pa2, f.pa3, f.pa4, f.z3, f.pw1, f.pw2}) requireFinite(report, v, "ACTIVE FORCE", i);
  }
  requireFinite(report, forces.net, "NET ACTIVE FORCE", profile.lexc > 0 ? profile.lexc - 1 : 0);
  printLayerForces(report, profile, forces, run.labels);
  if (forces.waterTable) printWaterForces(report, profile, forces, run.labels);
  if (forces.net < 1.0e-5) {
    printNetActiveWarning(*run.out.err);
    printNetActiveWarning(report);
  }

  debug.close();
  if (!(pressureRowCount(profile, pc) <= kMaxPressureRows))
    stop(report, "THE EARTH PRESSURE TABLE WOULD HOLD MORE THAN 1000000 ROWS; CHECK THE WALL LENGTH");
  PressureTable table = buildPressureRows(profile, pc, forces.waterFlag);
  if (pc.option == 3) applyApparentPressure(table, pc);
  for (const PressureRow& row : table.rows) {
    for (double v : {row.total, row.soil, row.surcharge})
      requireFinite(report, v, "EARTH PRESSURE AT DEPTH " + fmt::free(row.depth), layerAtDepth(profile, row.depth));
  }
  if (!writePressureTable(kPressureScratchFile, table))
    stop(report, std::string("CANNOT WRITE THE EARTH PRESSURE FILE ") + kPressureScratchFile);
  run.pressure.valid = true;
}

std::vector<double> surchargePressuresAt(RunState& run, const std::vector<double>& depths) {
  std::vector<double> pressures(depths.size(), 0.0);
  const std::vector<SurchargeLoad> loads = surchargeLoads(run.problem);
  if (loads.empty()) return pressures;
  const double H = run.problem.earth.freeHeight;
  if (!(H > 0.0) && hasActiveSurcharge(loads))
    stop(run.out.report, "SURCHARGE LOADS NEED A FREE HEIGHT OF WALL GREATER THAN ZERO");
  const SurchargeGrid grid(loads, H, run.problem.wall.ninc * run.problem.wall.h);
  for (std::size_t i = 0; i < depths.size(); ++i) pressures[i] = grid.at(depths[i]);
  return pressures;
}

double surchargePressureAt(RunState& run, double z) { return surchargePressuresAt(run, {z}).front(); }

}  // namespace tarnel::engine

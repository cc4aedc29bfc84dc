#include "engine/pressure/pressure_case.h"

#include "engine/pressure/constants.h"

namespace tarnel::engine::pressure {

double waterUnitWeight(int units) {
  return englishUnits(units) ? kGammaWaterEnglish : kGammaWaterSI;
}

double surchargeLength(int units, double stored) {
  return units == 2 ? stored / 1000.0 : stored;
}

std::vector<SurchargeLoad> surchargeLoads(const Problem& problem) {
  const int units = problem.control.units;
  std::vector<SurchargeLoad> loads;
  loads.reserve(problem.surcharges.size());
  for (const auto& row : problem.surcharges)
    loads.push_back({row.type, row.magnitude, surchargeLength(units, row.distance),
                     surchargeLength(units, row.width)});
  return loads;
}

PressureCase pressureCase(const RunState& run) {
  const Problem& p = run.problem;
  PressureCase c;
  c.units = p.control.units;
  c.option = p.control.earthPressure;
  c.H = p.earth.freeHeight;
  c.wa = p.earth.wa;
  c.wp = p.earth.wp;
  c.dwb = p.earth.dwBackfill;
  c.dwe = p.earth.dwExcavation;
  c.modf = p.earth.modFactor;
  c.distSwitch = p.earth.distSwitch;
  c.beta = p.earth.beta;
  c.q = p.legacy.q;
  c.gammaW = waterUnitWeight(c.units);
  c.wallLength = p.wall.ninc * p.wall.h;
  c.surcharges = surchargeLoads(p);
  c.legacySlots = {surchargeLength(c.units, p.legacy.distance), p.legacy.point, p.legacy.line,
                   p.legacy.strip, surchargeLength(c.units, p.legacy.stripWidth)};
  // Tieback depths are kept in feet in English projects.
  for (const auto& t : p.tiebacks)
    c.tiebackDepths.push_back(englishUnits(c.units) ? t.depth * kInchesPerFoot : t.depth);
  return c;
}

}  // namespace tarnel::engine::pressure

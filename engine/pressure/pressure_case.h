// The inputs of one analysis case as the earth-pressure generator sees them: taken
// from the records of the problem block, with every length in the case length unit
// (inches in English projects, metres in SI projects).
#pragma once

#include "engine/run_state.h"

#include <vector>

namespace tarnel::engine::pressure {

// One surcharge of the case's list; distance and width in the case length unit.
struct SurchargeLoad {
  int kind = 1;   // 1 point, 2 line, 3 strip; any other code acts as a point load
  double q = 0;   // force, force per length or force per area
  double x = 0;   // distance from the wall (to the middle of a strip)
  double b = 0;   // strip width
};

// The single surcharge read by the per-layer active force: first the values of the
// legacy surcharge record, then the last surcharge of the echo.
struct SurchargeSlots {
  double x = 0, point = 0, line = 0, strip = 0, width = 0;
};

struct PressureCase {
  int units = 1;             // 1 English, 2 SI, 3 other (takes the SI constants)
  int option = 2;            // earth-pressure option: 2 triangular, 3 trapezoidal
  double H = 0;              // free height (earth-pressure record)
  double wa = 0, wp = 0;
  double dwb = 0, dwe = 0;   // water tables, backfill and excavation side
  double modf = 1;           // active-pressure modification factor
  int distSwitch = 1;        // initial value of the water flag
  double beta = 0;           // backfill slope, degrees
  double q = 0;              // uniform surface pressure
  double gammaW = 0;
  double wallLength = 0;
  std::vector<SurchargeLoad> surcharges;
  SurchargeSlots legacySlots;
  std::vector<double> tiebackDepths;  // in input order
};

inline bool englishUnits(int units) { return units == 1; }

// Unit weight of water of the case (single-precision constants widened).
double waterUnitWeight(int units);

// Surcharge distances and widths are stored in millimetres in SI projects while every
// other length of the engine is in metres; this turns one stored length into the case
// length unit.
double surchargeLength(int units, double stored);

std::vector<SurchargeLoad> surchargeLoads(const Problem& problem);

PressureCase pressureCase(const RunState& run);

}  // namespace tarnel::engine::pressure

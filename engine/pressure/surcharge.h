// Lateral pressure on the wall from point, line and strip loads standing on the
// backfill. Point and line loads follow Terzaghi's (1954) modification of the
// Boussinesq solution for rigid walls (Terzaghi & Peck; NAVFAC DM-7.2): with
// m = x/H and n = z/H one form near the wall (m <= 0.4) and one far from it; the strip
// load follows the elastic solution doubled for a non-yielding wall,
// 2q/pi (beta - sin beta cos 2alpha).
#pragma once

#include "engine/pressure/pressure_case.h"

#include <array>
#include <vector>

namespace tarnel::engine::pressure {

// Pressure of one load at depth z below the top of the backfill; H > 0.
double lateralSurchargePressure(int kind, double q, double x, double b, double z, double H);

// Pressure of the single-surcharge slots at depth z, as summed into the active force
// of a layer (4/pi and 2/pi written as 1.273 and 0.6366); a kind contributes when its
// magnitude exceeds 1.0e-4.
double slotSurchargePressure(const SurchargeSlots& slots, double z, double H);

// Pressure of all loads on the grid of 200 equal intervals over the wall length: each
// load acts at depth z with its value at the deepest grid depth strictly above z, so a
// depth at or above the first grid depth carries none. The pressure changes only at the
// grid depths, so it is evaluated there once and every row of a table looks it up.
class SurchargeGrid {
 public:
  static constexpr int kSteps = 200;

  SurchargeGrid(const std::vector<SurchargeLoad>& loads, double H, double wallLength);

  double at(double z) const;

  // The deepest grid step k (1 .. kSteps) with k dz < z, 0 when there is none (also for a
  // depth that is not a number).
  static int stepAbove(double z, double dz);

 private:
  double dz_ = 0;
  bool none_ = true;
  std::array<double, kSteps + 1> pressure_{};  // by grid step; step 0 carries none
};

// One depth of the grid, for callers that need a single value.
double surchargePressureOnGrid(const std::vector<SurchargeLoad>& loads, double z, double H,
                               double wallLength);

// True when a load of non-zero magnitude is listed: such a load needs H > 0.
bool hasActiveSurcharge(const std::vector<SurchargeLoad>& loads);

// The slots after the echo: the last point, line or strip load of the list replaces
// them; without one the legacy slots stay.
SurchargeSlots slotsAfterEcho(SurchargeSlots slots, const std::vector<SurchargeLoad>& loads);

}  // namespace tarnel::engine::pressure

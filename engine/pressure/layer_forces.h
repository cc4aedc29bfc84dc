// Active earth and water forces, per unit width of wall, of every profile layer above
// the excavation level, for the engineer's check of the generated pressures: the
// surcharge-and-overburden force PA1, the self-weight force PA2, the cohesion force
// PA3 and, where the active pressure is tension at the layer top (Bell's c-phi
// pressure sigma Ka - 2c sqrt(Ka) < 0), the force PA4 of the compressed lower part.
#pragma once

#include "engine/pressure/pressure_case.h"
#include "engine/pressure/soil_profile.h"

#include <optional>
#include <vector>

namespace tarnel::engine::pressure {

struct LayerForces {
  double pa1 = 0, pa2 = 0, pa3 = 0, pa4 = 0;
  double z1 = -1000.0, z2 = -1000.0, z3 = -1.0e-5;
  double positiveLength = 0;  // compressed part of a layer in tension at its top
  double pw1 = 0, pw2 = 0;    // water forces, stored negative
  bool waterRow = false;      // printed in the water-force table
};

struct ActiveForces {
  std::vector<LayerForces> layers;  // one per profile layer
  bool waterTable = false;          // the water table lies above the excavation level
  int waterFlag = 1;
  double net = 0;                   // net active force above the excavation level
  // A layer (0-based) in tension at its top whose pressure does not change across
  // it: the compressed length b t / (a + b) has no value.
  std::optional<int> undefinedTensionLayer;
};

// Needs a profile with coefficients set and an excavation layer (lexc >= 0).
ActiveForces computeLayerForces(const SoilProfile& profile, const PressureCase& pc,
                                const SurchargeSlots& slots);

}  // namespace tarnel::engine::pressure

// Test helpers: station tables of walls built by hand, without a data file.
#pragma once

#include "engine/run_state.h"

namespace tarnel::engine::testing {

// A wall of `ninc` increments of length h with uniform stiffness, as one stiffness row
// FROM 0 TO NINC gives it: full EI inside, half at both end stations.
Stations uniformWall(int ninc, double h, double ei);

// Deflection at the base (station NINC) and slope there fixed at 0: a cantilever
// hanging from its foot.
void fixBase(Stations& st);

}  // namespace tarnel::engine::testing

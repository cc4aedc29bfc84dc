// Earth-pressure generator: builds the backfill soil profile, writes the wall, surcharge
// and soil information to the report, and writes the generated pressure table to the
// scratch file kPressureScratchFile in the current folder, which the core reads back.
#pragma once

#include "engine/run_state.h"

#include <vector>

namespace tarnel::engine {

// Called by the driver for earth-pressure options 2 and 3. May throw GeneratorStop
// (its message is then already in the report).
void generateEarthPressure(RunState& run);

// Lateral pressure of the listed surcharges (record 13) at the depths z below the top of
// the backfill, per unit area of wall face. Used by the core for a user pressure table
// when surcharges are listed. Throws GeneratorStop, after writing the reason to the
// report, when loads are listed on a wall without free height.
std::vector<double> surchargePressuresAt(RunState& run, const std::vector<double>& depths);
// The same for one depth.
double surchargePressureAt(RunState& run, double z);

}  // namespace tarnel::engine

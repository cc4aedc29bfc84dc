// p-y curve generator: builds the soil model below the excavation level, generates the
// curves of both sides of the wall for every curve depth, writes them to the report and
// to the scratch file kPyScratchFile (user curves first), which the iteration reads back.
#pragma once

#include "engine/run_state.h"

namespace tarnel::engine {

// Called by the driver for p-y option 2. May throw GeneratorStop.
void generatePyCurves(RunState& run);

}  // namespace tarnel::engine

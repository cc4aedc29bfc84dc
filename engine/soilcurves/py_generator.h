// p-y curve generator: builds the soil model below the excavation level, generates the
// curves of both sides of the wall for every curve depth, writes them to the report and
// to the scratch file kPyScratchFile (user curves first), which the iteration reads back.
#pragma once

#include "engine/run_state.h"
#include "engine/soilcurves/soil_model.h"

namespace tarnel::engine {

// Called by the driver for p-y option 2. May throw GeneratorStop.
void generatePyCurves(RunState& run);

namespace py {
// The same, returning the soil model with its curve depths, running integrals and
// equivalent depths (for tests and benchmarks).
PySoilModel generateCurves(RunState& run);
}  // namespace py

}  // namespace tarnel::engine

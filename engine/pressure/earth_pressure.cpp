#include "engine/pressure/earth_pressure.h"

namespace tarnel::engine {

void generateEarthPressure(RunState& run) {
  run.out.report << "\n     ERROR STOP -- GENERATED EARTH PRESSURE IS NOT AVAILABLE IN THIS BUILD\n";
  throw GeneratorStop("earth-pressure generator not available");
}

double surchargePressureAt(const RunState&, double) { return 0.0; }

}  // namespace tarnel::engine

#include "engine/soilcurves/py_generator.h"

namespace tarnel::engine {

void generatePyCurves(RunState& run) {
  run.out.report << "\n     ERROR STOP -- GENERATED P-Y CURVES ARE NOT AVAILABLE IN THIS BUILD\n";
  throw GeneratorStop("p-y generator not available");
}

}  // namespace tarnel::engine

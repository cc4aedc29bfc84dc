// Report section of the p-y generator that precedes the curves: the layers below the
// excavation level, the distributions of effective unit weight and of the strength
// parameters, the table of p-y modification factors, and the equivalent depth of each
// lower layer.
#pragma once

#include <ostream>
#include <vector>

#include "engine/run_state.h"
#include "engine/soilcurves/finishing.h"
#include "engine/soilcurves/soil_model.h"

namespace tarnel::engine::py {

// Kind line of the layer list, e.g. "THE SOIL IS A SOFT CLAY".
const char* soilKindText(int kind);

void writeSoilReport(std::ostream& out, const PySoilModel& model, const UnitTexts& units,
                     const std::vector<PyModifierRow>& modifiers);

void writeEquivalentDepth(std::ostream& out, const PySoilModel& model, int layer, const UnitTexts& units);

}  // namespace tarnel::engine::py

// The earth-pressure generator's sections of the report: wall, surcharge and soil
// information, effective overburden stress, the coefficient table, the layer forces,
// the water forces, and the generator's warnings and stop messages.
#pragma once

#include "engine/pressure/layer_forces.h"
#include "engine/pressure/pressure_case.h"
#include "engine/pressure/soil_profile.h"
#include "engine/run_state.h"

#include <ostream>
#include <string>

namespace tarnel::engine::pressure {

void printWallInformation(std::ostream& os, const PressureCase& pc, const UnitLabels& u);
void printSurchargeInformation(std::ostream& os, const PressureCase& pc, const UnitLabels& u);
void printSoilInformation(std::ostream& os, const SoilProfile& profile, int units);
void printOverburden(std::ostream& os, const SoilProfile& profile, const UnitLabels& u);
void printCoefficients(std::ostream& os, const SoilProfile& profile);
void printLayerForces(std::ostream& os, const SoilProfile& profile, const ActiveForces& f,
                      const UnitLabels& u);
void printWaterForces(std::ostream& os, const SoilProfile& profile, const ActiveForces& f,
                      const UnitLabels& u);

void printSlopeWarning(std::ostream& os);
void printNetActiveWarning(std::ostream& os);
// "ERROR STOP -- " and the text, after two empty lines.
void printStop(std::ostream& os, const std::string& text);

}  // namespace tarnel::engine::pressure

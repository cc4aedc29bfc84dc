// The plot-data file (.tn5p): per problem block an earth-pressure block, a p-y block
// (written by the curve table) and a results block. Free-form lines start with a blank
// and hold blank-separated numbers; fixed lines use the exponent layouts of the report.
#pragma once

#include "engine/run_state.h"

#include <initializer_list>
#include <ostream>
#include <vector>

namespace tarnel::engine {

// A free-form line of integers, e.g. " 1 12 1".
void writeFreeLine(std::ostream& out, std::initializer_list<long long> values);

// Earth-pressure option 0: the single line " 0".
void writeNoEarthPressure(std::ostream& out);

// Count, then depth, total, soil part and surcharge part of the rows the report shows
// (pressures per unit length of wall; a soil part of exactly 0 is written as 1.0E-7).
void writeEarthPressureBlock(std::ostream& out, const std::vector<PressurePoint>& table, int units);

// Kind, row count and units code, then depth, deflection, moment, shear and net
// reaction of stations 0 .. NINC + 1.
void writeResultsBlock(std::ostream& out, int kind, const std::vector<StationResult>& rows, int units);

}  // namespace tarnel::engine

// Stepping the deformed-shape factor on a scale of one significant digit:
// ..., 0.09, 0.1, 0.2, ..., 0.9, 1, 2, ..., 9, 10, 20, ...
// A factor of 0 or below steps to 1 in either direction; a factor between two steps (2.5)
// goes to the neighbouring step of its leading digit (3 up, 1 down).
#pragma once

namespace tarnel::view3d {

double StepFactor(double factor, bool up);

}  // namespace tarnel::view3d

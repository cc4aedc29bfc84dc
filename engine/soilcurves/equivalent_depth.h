// Equivalent depth of a lower layer (layered soil): the depth, measured in the layer's
// own soil from its surface, at which the integral of its ultimate resistance equals the
// resistance the layers above have already provided (the sum of their running
// integrals). Soft clay and stiff clay without free water in closed form, stiff clay with
// free water, sand and silt by stepping up to the depth where the kind's two ultimate
// expressions meet and beyond it; rock has none.
#pragma once

#include <functional>

#include "engine/soilcurves/soil_model.h"

namespace tarnel::engine::py {

// Depth x at which  integral_0^x (a0 + a1 z) dz, the integrand capped at `cap`, equals
// `sum`: the ultimate resistance of the clays, linear in depth up to a constant.
double cappedLinearDepth(double a0, double a1, double cap, double sum);

// Depth at which the trapezoidal integral of pu(z) reaches `sum`: steps of meetDepth /
// steps (or of `fallback` / steps when the expressions never meet), the passing step
// interpolated linearly; 0 when pu never becomes positive.
double steppedDepth(const std::function<double(double)>& pu, double sum, double meetDepth, int steps,
                    double fallback);

// Equivalent depth of `layer` from the soil values at its first curve.
double equivalentDepth(const PySoilModel& model, int layer, const CurveSoil& firstCurve, double sum);

}  // namespace tarnel::engine::py

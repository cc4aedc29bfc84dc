// Constants of the earth-pressure generator. Several are single-precision values
// widened to double, exactly as earlier versions of this program held them, so that
// generated pressures agree with theirs to the last printed digit; keep them as float
// literals.
#pragma once

namespace tarnel::engine::pressure {

// Widened single-precision literal.
constexpr double sp(float v) { return static_cast<double>(v); }

inline constexpr int kMaxProfileLayers = 21;

inline constexpr double kGammaWaterEnglish = sp(0.036f);  // lb/in^3
inline constexpr double kGammaWaterSI = sp(9.81f);        // kN/m^3
inline constexpr double kDegPerRad = sp(57.2958f);
inline constexpr double kDepthTol = sp(1.0e-5f);          // equal depths
inline constexpr double kTinyPressure = sp(1.0e-12f);     // stands in for a zero pressure

// Surcharge formulas (Terzaghi's modification of the Boussinesq solutions).
inline constexpr double kPointNear = sp(0.28f);
inline constexpr double kNearOffset = sp(0.16f);
inline constexpr double kPointFar = sp(1.77f);
inline constexpr double kNearLimit = sp(0.4f);
inline constexpr double kLineNear = sp(0.203f);
inline constexpr double kPi = sp(3.1416f);
// The per-layer active-force sum writes 4/pi and 2/pi as rounded factors.
inline constexpr double kLineFarFactor = sp(1.273f);
inline constexpr double kStripFactor = sp(0.6366f);

}  // namespace tarnel::engine::pressure

// The 17 points of one side of a generated p-y curve, and the helper that widens the
// single-precision constants the classic criteria were coded with.
#pragma once

#include <array>

namespace tarnel::engine::py {

inline constexpr int kPoints = 17;          // points per side of a generated curve
inline constexpr int kCurvesPerLayer = 5;

// Widened single-precision literal: sp(0.055f) is the constant the curves were built with.
constexpr double sp(float v) { return static_cast<double>(v); }

// The value of pi the curve criteria use for degrees and for 45 degrees (a double, not
// a widened single like the surcharge constants).
inline constexpr double kPiCurves = 3.1416;

// Soil kinds of the layer records.
enum SoilKind : int {
  kSoftClay = 1,
  kStiffClayWet = 2,   // stiff clay with free water
  kStiffClayDry = 3,   // stiff clay without free water
  kSand = 4,
  kSilt = 5,
  kRock = 6,
  kWeakRock = 7,
};

// Points (y, p) of one side before the multipliers and the active shift. `residual`
// marks rock points past failure, which keep their value unscaled.
struct PyPoints {
  std::array<double, kPoints> y{};
  std::array<double, kPoints> p{};
  std::array<bool, kPoints> residual{};
};

}  // namespace tarnel::engine::py

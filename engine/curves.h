// The p-y curve table of one problem: external curves from the data file, curves read
// back from the p-y scratch file (user curves first, then the generated curves with
// their two one-sided halves joined into one curve), the echo of the external curves in
// the report, the p-y block of the plot-data file, and the linearisation of a curve
// about a deflection.
#pragma once

#include <istream>
#include <ostream>
#include <vector>

#include "engine/run_state.h"

namespace tarnel::engine {

// Secant form of one curve segment at a deflection: soil force = intercept - slope * y.
struct Linearised {
  double slope = 0;
  double intercept = 0;
  bool offCurve = false;  // the deflection lies outside the curve, or the curve has 2 points
};

// The segment that holds y (first or last segment extended outside the curve).
Linearised linearise(const PyCurve& curve, double y);

// Continuation code of an external curve: curves above the excavation level act alone,
// curves at or below it are interpolated with the next one.
int userCurveContinuation(const UserPyCurve& curve, double h, double freeHeight);

// Echo of the external curves ("INPUTTED  SOIL RESISTANCE (P-Y) CURVES"). In the
// combined mode (generated curves follow) every curve shows continuation code 0.
void writeUserCurveEcho(std::ostream& report, const std::vector<UserPyCurve>& curves,
                        const std::vector<int>& contd, bool combined, const UnitLabels& labels);

// Refuses an external curve whose points, times their multipliers and the increment
// length h, are not finite numbers (InputStop, the curve and the point named).
void checkUserCurveValues(std::ostream& report, const std::vector<UserPyCurve>& curves, double h);

// p-y options 0 and 1 with external curves: the echo, the plot block and the table.
// Refuses more than kMaxCurves curves or kMaxCurvePoints points (InputStop).
void buildUserCurveTable(RunState& run);

// p-y option 2: reads the scratch file written by the p-y generator (nUser external
// curves first), writes the plot block, fills run.curves. Refuses more than kMaxCurves
// curves; a malformed file stops the run with a message (InputStop).
void readScratchCurves(RunState& run, std::istream& in, int nUser);

}  // namespace tarnel::engine

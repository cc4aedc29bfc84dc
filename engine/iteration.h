// Nonlinear iteration of one problem: the curve table (external p-y curves, generated
// curves read back from the p-y scratch file), linearisation of the curves about the
// current deflections, repeated solution of the beam-column, bending-stiffness updates
// from moment-EI curves, the run-notes monitor, and the report of the outcome, the
// results per station and the tieback forces.
#pragma once

#include <span>
#include <vector>

#include "engine/run_state.h"

namespace tarnel::engine {

struct IterationSummary {
  int iterations = 0;       // the number reported ("RESULTS -- ITERATION")
  bool offCurve = false;    // a deflection fell outside a curve in the last iteration
  int beyondDmax = 0;       // stations whose |w| exceeds DMAX
  int notClosed = 0;        // stations whose change exceeded TOL
  std::vector<int> zeroPivot;  // stations whose deflection the solver took as 0
  bool closed() const { return beyondDmax == 0 && notClosed == 0; }
};

// Driver step 12: builds the p-y curve table (calls generatePyCurves for p-y option 2),
// echoes user curves in the report and writes the p-y block of the plot-data file.
// Throws InputStop (message already reported) on a storage limit.
void buildCurveTable(RunState& run);

// Driver step 13: moment-EI curves of this problem applied once to run.deflection.
// Refuses more curves or points than the storage holds (InputStop, message reported);
// iterate relies on this check having been made.
void applyStiffnessCurvesOnce(RunState& run);

// Driver step 14 (after the driver zeroed the deflections and wrote the title line):
// writes the monitor heading to the run-notes file and iterates to closure. Stops the
// run (InputStop, message reported) when nothing holds the wall laterally, when the
// station arrays do not hold the wall, and when a deflection is not a finite number.
IterationSummary iterate(RunState& run);

// Driver step 15: "RESULTS -- ITERATION", the warnings and the results table; keeps the
// rows of stations 0 .. NINC + 1 in run.results. A result that is not a finite number
// stops the run instead (InputStop, message reported), before anything is printed.
void writeIterationResults(RunState& run, const IterationSummary& summary);

// Driver step 16: "TIE BACK RESULTS" (only when the problem has tiebacks); a force that
// is not a finite number stops the run instead.
void writeTiebackResults(RunState& run);

// ---- Pieces of one iteration, also used by the tests and the benchmark --------------

// Adds the linearised p-y curves to the effective spring stiffness and load per slot,
// walking the table in order: a curve standing alone acts at its station with its full
// value; a chain of continued curves is interpolated linearly between their stations,
// with half values at both ends of every range. Contributions outside stations
// -1 .. NINC + 1 are dropped (the solver does not use them). `skipInterceptAt` is a
// station that gets no intercept (the excavation station when the earth pressure was
// generated), or kNoStation. Sets offCurve when a deflection lies outside a curve.
// False (nothing more added) when the stations of a chain decrease.
inline constexpr int kNoStation = -1000000;
bool addCurveSprings(const std::vector<PyCurve>& curves, int ninc, std::span<const double> w,
                     int skipInterceptAt, std::span<double> sEff, std::span<double> qEff, bool& offCurve);

// Bending stiffness from the moment-EI curves at the curvature of the deflections w:
// at each station of a curve's range, the point of the curve where M = curvature * EI.
void updateStiffnessFromCurves(const std::vector<EiCurve>& curves, Stations& st, std::span<const double> w);

}  // namespace tarnel::engine

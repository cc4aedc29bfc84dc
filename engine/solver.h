// Beam-column on springs by finite differences: the five-point difference equation of
// a beam with bending stiffness EI, axial load, rotational restraint, lateral springs,
// transverse loads and applied couples, solved by a forward recursion and a backward
// substitution (no matrix is assembled), with specified deflections and slopes built
// into the recursion. The scheme is the classic one for beam-columns on elastic
// foundations (Matlock and Haliburton, 1966, "A finite-element method of solution for
// linearly elastic beam-columns").
#pragma once

#include <span>
#include <vector>

#include "engine/run_state.h"

namespace tarnel::engine {

struct SolveCounts {
  bool solved = true;  // false when the station arrays do not hold the wall (nothing solved)
  int beyondDmax = 0;  // stations 0 .. NINC with |w| > DMAX
  int notClosed = 0;   // stations 0 .. NINC whose w moved by more than TOL
  // Stations -1 .. NINC + 1 with a zero pivot: no stiffness, spring or restraint acts
  // on or next to them, and their deflection is taken as 0.
  std::vector<int> zeroPivot;
};

// Solves for the deflections of stations -1 .. NINC + 1. sEff and qEff are the effective
// spring stiffness and load per station slot (kStationSlots each); w holds the
// deflections of the previous iteration on entry (per slot) and the new ones on return.
// w at NINC + 2 and NINC + 3 is set to 0.
SolveCounts solveBeamColumn(const Stations& st, std::span<const double> sEff,
                            std::span<const double> qEff, std::span<double> w,
                            double dmax, double tol);

// Results of stations -1 .. NINC + 1 in station order (depth, deflection, slope, moment,
// shear with the couple corrections, net reaction per station, current EI). Extends w
// by straight lines to stations -2 and NINC + 2 first, as the moments need them.
std::vector<StationResult> stationResults(const Stations& st, std::span<double> w);

}  // namespace tarnel::engine

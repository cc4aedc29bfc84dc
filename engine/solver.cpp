// Five-point finite-difference solution of the beam-column on springs.
//
// The difference equation at station j couples w_{j-2} .. w_{j+2}:
//   h^2 (M_{j-1} - 2 M_j + M_{j+1}) + axial/rotational terms + h^3 S'_j w_j
//       = h^3 Q'_j - (h^2/2)(T_{j-1} - T_{j+1}),
// with M = EI w'' by central differences. A forward recursion eliminates the two
// stations above each station, w_j = A_j + B_j w_{j+2} + C_j w_{j+1}, and a backward
// substitution recovers w from the foot of the wall up (Matlock and Haliburton, 1966).
// Specified deflections replace a station's recursion by w_j = Y; a specified slope
// replaces the recursion one station above by w_{j-1} = w_{j+1} - 2h theta and folds
// the displaced equation into the station below (restraint codes 3 and 5).
#include "engine/solver.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace tarnel::engine {
namespace {

constexpr int slotOf(int station) { return Stations::slot(station); }

// A value of a specified list, or 0 when the restraint codes ask for more entries than
// the rows supplied (the codes and the lists are built together, so this only guards).
double listValue(const std::vector<double>& list, std::size_t n) {
  return n < list.size() ? list[n] : 0.0;
}

bool arraysFit(const Stations& st, std::size_t need) {
  return st.EI.size() >= need && st.T.size() >= need && st.R.size() >= need &&
         st.P.size() >= need && st.code.size() >= need;
}

}  // namespace

SolveCounts solveBeamColumn(const Stations& st, std::span<const double> sEff,
                            std::span<const double> qEff, std::span<double> w,
                            double dmax, double tol) {
  SolveCounts counts;
  const int ninc = st.ninc;
  // The recursion reads up to station NINC + 2 (slot NINC + 6).
  const std::size_t need = static_cast<std::size_t>(slotOf(ninc + 2)) + 1;
  if (ninc < 0 || ninc > kMaxIncrements || !arraysFit(st, need) || sEff.size() < need ||
      qEff.size() < need || w.size() < need) {
    counts.solved = false;
    return counts;
  }

  const double h = st.h, h2 = st.h2, h3 = st.h3;
  const double k = h / 4.0;
  const double twoH = 2.0 * h;

  // Recursion coefficients; stations -3 and -2 stay 0.
  std::array<double, kStationSlots> A{}, B{}, C{};
  double Es = 0, Bs = 0, Cs = 0, As = 0;  // saved at a code-3 station for its code-5 partner
  std::size_t n = 0;                      // running index into the specified lists

  for (int j = -1; j <= ninc + 1; ++j) {
    const int s = slotOf(j);
    const double eiM = st.EI[s - 1], ei = st.EI[s], eiP = st.EI[s + 1];
    const double ptM = h * st.P[s - 1] + st.R[s - 1];
    const double ptP = h * st.P[s + 1] + st.R[s + 1];

    const double a = eiM - k * ptM;
    const double b = -2.0 * (eiM + ei);
    const double c = k * (ptM + ptP) + eiM + 4.0 * ei + eiP + h3 * sEff[s];
    const double d = -2.0 * (ei + eiP);
    const double e = eiP - k * ptP;
    const double f = h3 * qEff[s] - (h2 / 2.0) * (st.T[s - 1] - st.T[s + 1]);

    const double aa = a * C[s - 2] + b;
    const double den = a * B[s - 2] + aa * C[s - 1] + c;
    // A station without stiffness, spring or restraint anywhere near it has a zero pivot;
    // its deflection is then taken as 0 rather than stopping the run. A specified
    // deflection or slope still sets the station's deflection, so it is not listed.
    const double E = den == 0.0 ? 0.0 : -1.0 / den;
    if (den == 0.0 && st.code[s] != 2 && st.code[s] != 3 && st.code[s] != 4) counts.zeroPivot.push_back(j);
    B[s] = e * E;
    C[s] = (aa * B[s - 1] + d) * E;
    A[s] = (a * A[s - 2] + aa * A[s - 1] - f) * E;

    switch (st.code[s]) {
      case 2:
        B[s] = C[s] = 0.0;
        A[s] = listValue(st.specDeflection, n);
        ++n;
        break;
      case 4:
        B[s] = C[s] = 0.0;
        A[s] = listValue(st.specDeflection, n);
        break;
      case 3:
        Es = E; Bs = B[s]; Cs = C[s]; As = A[s];
        B[s] = 1.0;
        C[s] = 0.0;
        A[s] = -twoH * listValue(st.specSlope, n);
        break;
      case 5: {
        // Adds the displaced equation of the code-3 station (scaled by its pivot) to this
        // station's. E/Es is the ratio of the two pivots; a zero pivot on either side
        // leaves nothing to fold in.
        const double ratio = (Es == 0.0) ? 0.0 : E / Es;
        const double g0 = 1.0 - (Cs * C[s - 1] + Bs - 1.0) * ratio;
        const double G = g0 == 0.0 ? 0.0 : 1.0 / g0;
        const double theta = listValue(st.specSlope, n);
        B[s] = G * B[s];
        C[s] = (Cs * B[s - 1] * ratio + C[s]) * G;
        A[s] = ((Cs * A[s - 1] + twoH * theta + As) * ratio + A[s]) * G;
        ++n;
        break;
      }
      default:
        break;
    }
  }

  // Backward substitution. The negated comparisons count a non-finite deflection as
  // both beyond DMAX and not closed, so a blown-up solution never reads as converged.
  const int top = slotOf(ninc + 1);
  w[top + 1] = 0.0;
  if (static_cast<std::size_t>(top + 2) < w.size()) w[top + 2] = 0.0;
  w[top] = A[top];
  for (int j = ninc; j >= 0; --j) {
    const int s = slotOf(j);
    const double wj = A[s] + B[s] * w[s + 2] + C[s] * w[s + 1];
    if (!(std::fabs(wj) <= dmax)) ++counts.beyondDmax;
    if (!(std::fabs(wj - w[s]) <= tol)) ++counts.notClosed;
    w[s] = wj;
  }
  const int sm1 = slotOf(-1);
  w[sm1] = A[sm1] + B[sm1] * w[sm1 + 2] + C[sm1] * w[sm1 + 1];
  return counts;
}

std::vector<StationResult> stationResults(const Stations& st, std::span<double> w) {
  std::vector<StationResult> rows;
  const int ninc = st.ninc;
  const std::size_t need = static_cast<std::size_t>(slotOf(ninc + 2)) + 1;
  if (ninc < 0 || ninc > kMaxIncrements || st.EI.size() < need || w.size() < need) return rows;

  const double h = st.h;
  const double invH = h != 0.0 ? 1.0 / h : 0.0;
  const double invH2 = invH * invH;

  // Straight-line extension beyond both ends.
  w[slotOf(-2)] = 2.0 * w[slotOf(-1)] - w[slotOf(0)];
  w[slotOf(ninc + 2)] = 2.0 * w[slotOf(ninc + 1)] - w[slotOf(ninc)];

  // Moments of stations -2 .. NINC + 2; w is 0 at NINC + 3 (not stored when NINC is at
  // its limit), and the moments above station 0 are 0.
  std::array<double, kStationSlots + 1> M{};
  auto wAt = [&](int station) {
    const int s = slotOf(station);
    return static_cast<std::size_t>(s) < w.size() && station <= ninc + 2 ? w[s] : 0.0;
  };
  for (int j = 0; j <= ninc + 2; ++j)
    M[slotOf(j)] = st.EI[slotOf(j)] * (wAt(j - 1) - 2.0 * wAt(j) + wAt(j + 1)) * invH2;

  rows.reserve(static_cast<std::size_t>(ninc) + 3);
  for (int j = -1; j <= ninc + 1; ++j) {
    const int s = slotOf(j);
    StationResult r;
    r.station = j;
    r.depth = j * h;
    r.deflection = w[s];
    r.slope = (w[s + 1] - w[s - 1]) * 0.5 * invH;
    r.moment = M[s];
    r.shear = (M[s + 1] - M[s - 1]) * 0.5 * invH;
    r.reaction = (M[s - 1] - 2.0 * M[s] + M[s + 1]) * invH;
    // An applied couple T acts as the force pair T/(2h) on the stations around it; the
    // difference quotients above include that pair, which is not a shear of the wall.
    for (const Couple& cp : st.couples) {
      const double fc = cp.force;
      if (j == cp.station) r.shear -= fc;
      if (j == cp.station - 1 || j == cp.station + 1) r.shear -= fc / 2.0;
      if (j == cp.station + 1) r.reaction += fc;
      if (j == cp.station - 1) r.reaction -= fc;
    }
    r.ei = st.EI[s];
    rows.push_back(r);
  }
  return rows;
}

}  // namespace tarnel::engine

// The p-y curve table. External curves come from the data file with their multipliers;
// generated curves come back from the p-y scratch file as two one-sided curves given as
// magnitudes (17 points for deflection toward the excavation, 17 toward the backfill)
// and are joined here into one curve of 33 points through the origin, so that a
// deflection toward the backfill (negative) meets a positive soil force and the
// other way round. Forces become forces per station (times h) once the plot-data file
// has them per unit length of wall.
#include "engine/curves.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/data_reader.h"
#include "engine/fixed_format.h"
#include "engine/plot_file.h"
#include "engine/report.h"
#include "engine/stations.h"

namespace tarnel::engine {
namespace {

constexpr int kScratchRecords = 34;   // records of one generated curve
constexpr int kJoinedPoints = 33;     // points of the joined curve
constexpr int kHalfRecords = 17;      // records of one side (record 1 of the first is unused)

std::size_t pointCount(const UserPyCurve& c) { return std::min(c.y.size(), c.p.size()); }

void writeFreePoint(std::ostream& plot, double y, double p) {
  plot << ' ' << fmt::free(y) << ' ' << fmt::free(p) << '\n';
}

std::string curveLine(int kind, const UserPyCurve& c, int contd) {
  const std::string mult = fmt::exponent(c.pMult, 14, 3) + fmt::exponent(c.yMult, 14, 3);
  const auto n = static_cast<long long>(pointCount(c));
  switch (kind) {
    case 1:
      return fmt::blanks(5) + fmt::integer(c.station, 4) + fmt::integer(c.station, 4) + fmt::integer(contd, 3) +
             fmt::blanks(5) + mult + fmt::blanks(8) + fmt::integer(n, 4);
    case 2:
      return fmt::blanks(5) + fmt::integer(c.station, 4) + fmt::blanks(4) + fmt::integer(contd, 3) + fmt::blanks(5) +
             mult + fmt::blanks(10) + fmt::integer(n, 3);
    default:
      return fmt::blanks(9) + fmt::integer(c.station, 4) + fmt::integer(contd, 3) + fmt::blanks(5) + mult +
             fmt::blanks(10) + fmt::integer(n, 3);
  }
}

void checkUserStorage(std::ostream& report, const std::vector<UserPyCurve>& curves) {
  if (curves.size() > static_cast<std::size_t>(kMaxCurves)) reportStorageStop(report);
  for (const UserPyCurve& c : curves)
    if (pointCount(c) > static_cast<std::size_t>(kMaxCurvePoints)) reportStorageStop(report);
}

// The depth of a generated curve in its fixed field. The reader of the plot file takes
// numbers, not columns: a depth too wide for the field (a layer far below any wall)
// goes free-form rather than as asterisks the reader cannot take.
std::string plotDepth(double depth) {
  const std::string field = fmt::fixed(depth, 10, 2);
  return field.find('*') == std::string::npos ? field : fmt::free(depth);
}

int toStation(long long s) { return static_cast<int>(std::clamp<long long>(s, -1000000, 1000000)); }

}  // namespace

Linearised linearise(const PyCurve& curve, double y) {
  Linearised lin;
  const std::size_t n = std::min(curve.y.size(), curve.p.size());
  if (n < 2) {
    lin.offCurve = true;
    return lin;
  }
  std::size_t k = n - 1;  // end point of the segment, 0-based
  if (n > 2) {
    bool found = false;
    for (std::size_t i = 1; i < n; ++i) {
      if (y <= curve.y[i]) {
        k = i;
        found = true;
        break;
      }
    }
    // A deflection beyond the last point, before the first, or not a number at all.
    if (!found || y < curve.y[0]) lin.offCurve = true;
  } else {
    lin.offCurve = true;
  }
  const double dy = curve.y[k] - curve.y[k - 1];
  if (dy == 0.0) return lin;
  lin.slope = -(curve.p[k] - curve.p[k - 1]) / dy;
  lin.intercept = curve.p[k - 1] + lin.slope * curve.y[k - 1];
  return lin;
}

int userCurveContinuation(const UserPyCurve& curve, double h, double freeHeight) {
  return curve.station * h < freeHeight ? 0 : 1;
}

void writeUserCurveEcho(std::ostream& report, const std::vector<UserPyCurve>& curves,
                        const std::vector<int>& contd, bool combined, const UnitLabels& labels) {
  report << "\n\n";
  writeFramedTitle(report, "*     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *");
  report << '\n';
  int kprev = 0;
  for (std::size_t i = 0; i < curves.size(); ++i) {
    const UserPyCurve& c = curves[i];
    const int k = combined ? 0 : (i < contd.size() ? contd[i] : 0);
    const int kind = combined ? 3 : 2 * kprev + k + 1;
    report << '\n'
           << "     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER'      POINTS     \n"
           << "\n\n"
           << curveLine(kind, c, k) << '\n'
           << "\n\n"
           << fmt::blanks(18) << "    Y    " << fmt::blanks(12) << "   P    " << '\n'
           << fmt::blanks(18) << fmt::blanks(2) << labels.len3 << fmt::blanks(16) << labels.force4 << '/'
           << labels.len2 << '\n'
           << fmt::blanks(18) << "---------" << fmt::blanks(12) << "--------" << '\n';
    for (std::size_t j = 0; j < pointCount(c); ++j) {
      report << fmt::blanks(17) << fmt::exponent(c.y[j] * c.yMult, 10, 3) << fmt::blanks(10)
             << fmt::exponent(c.p[j] * c.pMult, 10, 3) << '\n';
    }
    kprev = k;
  }
}

void checkUserCurveValues(std::ostream& report, const std::vector<UserPyCurve>& curves, double h) {
  for (std::size_t i = 0; i < curves.size(); ++i) {
    const UserPyCurve& c = curves[i];
    for (std::size_t j = 0; j < pointCount(c); ++j) {
      const double y = c.y[j] * c.yMult, p = c.p[j] * c.pMult;
      if (!std::isfinite(y) || !std::isfinite(p) || !std::isfinite(p * h)) {
        reportNotFinite(report, "POINT " + std::to_string(j + 1) + " OF P-Y CURVE " + std::to_string(i + 1) +
                                    " (Y AND P TIMES THEIR MULTIPLIERS, P TIMES THE INCREMENT LENGTH)");
      }
    }
  }
}

void buildUserCurveTable(RunState& run) {
  const Problem& pb = run.problem;
  const std::vector<UserPyCurve>& user = pb.userCurves;
  std::ostream& report = run.out.report;
  std::ostream& plot = run.out.plot;
  const double h = run.stations.h;

  checkUserStorage(report, user);
  checkUserCurveValues(report, user, h);
  writeFreeLine(plot, {pb.control.units, static_cast<long long>(user.size())});

  std::vector<int> contd;
  contd.reserve(user.size());
  for (const UserPyCurve& c : user) contd.push_back(userCurveContinuation(c, h, pb.wall.freeHeight));
  writeUserCurveEcho(report, user, contd, false, run.labels);

  run.curves.clear();
  for (std::size_t i = 0; i < user.size(); ++i) {
    const UserPyCurve& c = user[i];
    PyCurve curve;
    curve.station = c.station;
    curve.contd = contd[i];
    const std::size_t n = pointCount(c);
    writeFreeLine(plot, {c.station, static_cast<long long>(n)});
    for (std::size_t j = 0; j < n; ++j) {
      const double y = c.y[j] * c.yMult;
      const double p = c.p[j] * c.pMult;
      writeFreePoint(plot, y, p);
      curve.y.push_back(y);
      curve.p.push_back(p * h);
    }
    run.curves.push_back(std::move(curve));
  }
}

void readScratchCurves(RunState& run, std::istream& in, int nUser) {
  std::ostream& report = run.out.report;
  std::ostream& plot = run.out.plot;
  const int units = run.problem.control.units;
  const double h = run.stations.h;
  const bool combined = nUser > 0;
  run.curves.clear();

  DataReader r(in);
  auto unreadable = [&](const std::string& why) {
    reportStop(report, std::string("ERROR STOP -- THE P-Y CURVE FILE ") + kPyScratchFile + " CANNOT BE READ: " + why);
  };

  try {
    const int n = r.readIntRecord("P-Y CURVE COUNT");
    if (n < 0 || n < nUser) unreadable("IT HOLDS " + std::to_string(n) + " CURVES");
    *run.out.err << ' ' << n << '\n';
    writeFreeLine(plot, {units, n});
    if (n > kMaxCurves) reportStorageStop(report);
    if (n == 0) {
      report << '\n' << fmt::blanks(20) << '\n';
      return;
    }

    for (int i = 0; i < n; ++i) {
      PyCurve curve;
      if (i < nUser) {
        // An external curve handed through the generator: station, points already
        // multiplied, standing alone at its station.
        r.beginRecord("P-Y CURVE HEADER");
        curve.station = r.readInt();
        const int np = r.readInt();
        if (np > kMaxCurvePoints) reportStorageStop(report);
        if (np < 1) unreadable("CURVE " + std::to_string(i + 1) + " HAS " + std::to_string(np) + " POINTS");
        curve.contd = 0;
        writeFreeLine(plot, {curve.station, np});
        for (int j = 0; j < np; ++j) {
          r.beginRecord("P-Y CURVE POINT");
          r.readInt();
          const double p = r.readReal();
          const double y = r.readReal();
          writeFreePoint(plot, y, p);
          curve.y.push_back(y);
          curve.p.push_back(p);
        }
      } else {
        r.beginRecord("P-Y CURVE HEADER");
        const double depth = r.readReal();
        const int np = r.readInt();
        if (np != kScratchRecords) {
          unreadable("GENERATED CURVE " + std::to_string(i + 1) + " HAS " + std::to_string(np) + " POINTS, NOT 34");
        }
        double rp[kScratchRecords + 1], ry[kScratchRecords + 1];  // 1-based records
        for (int j = 1; j <= kScratchRecords; ++j) {
          r.beginRecord("P-Y CURVE POINT");
          r.readInt();
          rp[j] = r.readReal();
          ry[j] = r.readReal();
        }
        curve.station = toStation(nearestStation(depth / h));
        curve.contd = 1;
        // Backfill side (records 34 down to 18) mirrored to negative deflections, then
        // the excavation side (records 2 to 17) with the force turned against it.
        for (int j = kScratchRecords; j > kHalfRecords; --j) {
          curve.y.push_back(ry[j] == 0.0 ? 0.0 : -ry[j]);  // no "-0" in the plot file
          curve.p.push_back(rp[j]);
        }
        for (int j = 2; j <= kHalfRecords; ++j) {
          curve.y.push_back(ry[j]);
          curve.p.push_back(-rp[j]);
        }
        if (combined) {
          writeFreeLine(plot, {curve.station, kJoinedPoints});
        } else {
          plot << ' ' << plotDepth(depth) << ' ' << fmt::integer(kJoinedPoints, 5) << '\n';
        }
        for (int j = 0; j < kJoinedPoints; ++j) writeFreePoint(plot, curve.y[j], curve.p[j]);
      }
      for (double& p : curve.p) {
        p *= h;
        if (!std::isfinite(p)) {
          reportNotFinite(report, "A FORCE OF P-Y CURVE " + std::to_string(i + 1) + " TIMES THE INCREMENT LENGTH");
        }
      }
      run.curves.push_back(std::move(curve));
    }
  } catch (const FatalInputError& e) {
    unreadable(e.what());
  }
}

}  // namespace tarnel::engine

// Test support: one earth-pressure case built by hand and run through the generator in
// a private temporary folder, with the report, the run notes and the scratch table
// read back.
#pragma once

#include "engine/pressure/earth_pressure.h"
#include "engine/report.h"
#include "engine/run_state.h"
#include "engine/testing/engine_run.h"

#include <charconv>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace tarnel::engine::pressure::testsupport {

inline SoilLayerRecord layer(int kind, double bottom, double gamma, double c, double phi,
                             double kopt = 0.0) {
  SoilLayerRecord r;
  r.kind = kind;
  r.bottom = bottom;
  r.top = {gamma, c, phi, 0.0, 0.0, kopt};
  r.base = r.top;
  return r;
}

struct TableRow {
  double depth = 0, total = 0, soil = 0, surcharge = 0;
};

class GeneratorRun {
  engine::testing::TempDir dir_;
  engine::testing::CurrentDir cd_;

 public:
  // A wall of ninc increments of length h with free height H, widths 1.
  GeneratorRun(int units, int ninc, double h, double H) : cd_(dir_.path()) {
    Problem& p = run.problem;
    p.control.units = units;
    p.control.earthPressure = 2;
    p.control.pyOption = 2;
    p.wall.ninc = ninc;
    p.wall.h = h;
    p.wall.freeHeight = H;
    p.wall.wa = 1.0;
    p.soilRecordsRead = true;
    p.earth.freeHeight = H;
    p.earth.wa = 1.0;
    p.earth.wp = 1.0;
    p.earth.dwBackfill = 1.0e6;
    p.earth.dwExcavation = 1.0e6;
    setUnitLabels(run.labels, units);
    run.out.report.open(dir_.path() / "report.txt");
    run.out.notes.open(dir_.path() / "notes.txt");
    run.out.err = &err;
  }

  Problem& problem() { return run.problem; }

  // Runs the generator; false when it stopped the run.
  bool generate() {
    bool finished = true;
    try {
      generateEarthPressure(run);
    } catch (const GeneratorStop&) {
      finished = false;
    }
    run.out.report.flush();
    run.out.notes.flush();
    return finished;
  }

  std::string report() {
    run.out.report.flush();
    return engine::testing::readFile(dir_.path() / "report.txt");
  }
  std::string notes() {
    run.out.notes.flush();
    return engine::testing::readFile(dir_.path() / "notes.txt");
  }
  bool scratchExists() const { return std::filesystem::exists(dir_.path() / kPressureScratchFile); }

  static double number(const std::string& s) {
    double v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
  }

  // A pressure table as the scratch file and the head of the plot file hold it: the row
  // count, then depth, total, soil part and surcharge part of each row.
  static std::vector<TableRow> readTable(const std::string& text) {
    std::istringstream in(text);
    std::size_t n = 0;
    in >> n;
    std::vector<TableRow> rows(n);
    for (auto& r : rows) {
      std::string a, b, c, d;
      in >> a >> b >> c >> d;
      r = {number(a), number(b), number(c), number(d)};
    }
    return rows;
  }

  std::vector<TableRow> table() const {
    return readTable(engine::testing::readFile(dir_.path() / kPressureScratchFile));
  }

  RunState run;
  std::ostringstream err;
};

// Half a unit in the third significant digit: what the scratch file's E10.3 keeps.
inline double threeDigitTolerance(double expected) {
  if (expected == 0.0) return 1.0e-300;
  const double e = std::floor(std::log10(std::fabs(expected))) + 1.0;  // 0.ddd x 10^e
  return 0.5001 * std::pow(10.0, e - 3.0);
}

}  // namespace tarnel::engine::pressure::testsupport

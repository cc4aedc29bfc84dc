// Helpers of the p-y generator tests: a private working folder per test (the scratch
// file is written to the current folder) and small problem builders.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "engine/run_state.h"
#include "engine/testing/engine_run.h"

namespace tarnel::engine::py::testing {

// Runs each test in a fresh temporary folder, with the report and the error stream
// captured.
class PyRunTest : public ::testing::Test {
  // Declared before the run so that they outlive its open report.
  engine::testing::TempDir dir_;
  engine::testing::CurrentDir cd_{dir_.path()};

 protected:
  PyRunTest() {
    run.out.report.open("report.tn5o");
    run.out.err = &err;
  }

  std::string report() {
    run.out.report.flush();
    return engine::testing::readFile(dir_.path() / "report.tn5o");
  }

  std::vector<std::string> scratchLines() {
    return engine::testing::lines(engine::testing::readFile(dir_.path() / "SOILDATA"));
  }

  // A problem of p-y option 2 with the given geometry and no layers yet.
  void setProblem(int units, double H, double wa, double wp, double dwb) {
    Problem& p = run.problem;
    p.control.units = units;
    p.control.pyOption = 2;
    p.control.earthPressure = 1;
    p.earth.freeHeight = H;
    p.earth.wa = wa;
    p.earth.wp = wp;
    p.earth.dwBackfill = dwb;
    p.earth.dwExcavation = dwb;
    p.soilRecordsRead = true;
  }

  // Adds a layer record: P1..P6 at its top and at its bottom.
  void addLayer(int kind, double bottom, std::array<double, 6> top, std::array<double, 6> base) {
    SoilLayerRecord r;
    r.kind = kind;
    r.bottom = bottom;
    r.top = top;
    r.base = base;
    run.problem.layers.push_back(r);
  }

  RunState run;
  std::ostringstream err;
};

// Relative comparison with an absolute floor for values near zero.
inline ::testing::AssertionResult near(double expected, double actual, double rel = 1e-6, double abs = 1e-9) {
  if (std::fabs(expected - actual) <= std::max(abs, rel * std::fabs(expected)))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "expected " << expected << ", got " << actual;
}

}  // namespace tarnel::engine::py::testing

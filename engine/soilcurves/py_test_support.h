// Helpers of the p-y generator tests: a private working folder per test (the scratch
// file is written to the current folder) and small problem builders.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/run_state.h"

namespace tarnel::engine::py::testing {

// Runs each test in a fresh temporary folder, with the report and the error stream
// captured.
class PyRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::string tmpl = (std::filesystem::temp_directory_path() / "tarnel-py-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    std::filesystem::current_path(dir_);
    run.out.report.open("report.tn5o");
    run.out.err = &err;
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  std::string report() {
    run.out.report.flush();
    std::ifstream in(dir_ / "report.tn5o");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::vector<std::string> scratchLines() {
    std::ifstream in(dir_ / "SOILDATA");
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
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

 private:
  std::filesystem::path previous_, dir_;
};

// Relative comparison with an absolute floor for values near zero.
inline ::testing::AssertionResult near(double expected, double actual, double rel = 1e-6, double abs = 1e-9) {
  if (std::fabs(expected - actual) <= std::max(abs, rel * std::fabs(expected)))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "expected " << expected << ", got " << actual;
}

}  // namespace tarnel::engine::py::testing

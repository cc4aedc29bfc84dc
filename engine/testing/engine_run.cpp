#include "engine/testing/engine_run.h"

#include "engine/driver.h"
#include "engine/iteration.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <atomic>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <regex>
#include <sstream>

namespace tarnel::engine::testing {

namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  std::random_device rd;
  for (;;) {
    path_ = fs::temp_directory_path() /
            ("tarnel-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
    if (fs::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

CurrentDir::CurrentDir(const fs::path& dir) : previous_(fs::current_path()) { fs::current_path(dir); }
CurrentDir::~CurrentDir() {
  std::error_code ec;
  fs::current_path(previous_, ec);
}

std::string readFile(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

void writeFile(const fs::path& p, const std::string& text) {
  std::ofstream f(p, std::ios::binary);
  f << text;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) out.push_back(line);
  return out;
}

std::tm fixedTime() {
  std::tm tm{};
  tm.tm_year = 2026 - 1900;
  tm.tm_mon = 2;
  tm.tm_mday = 5;
  tm.tm_hour = 9;
  tm.tm_min = 4;
  tm.tm_sec = 7;
  return tm;
}

OpenRun::OpenRun() {
  run.out.report.open(dir.path() / "wall.tn5o");
  run.out.plot.open(dir.path() / "wall.tn5p");
  run.out.notes.open(dir.path() / "wall.tn5r");
  run.out.err = &err;
}

std::vector<std::string> OpenRun::report() {
  run.out.report.flush();
  return lines(readFile(dir.path() / "wall.tn5o"));
}

std::vector<std::string> OpenRun::plot() {
  run.out.plot.flush();
  return lines(readFile(dir.path() / "wall.tn5p"));
}

std::vector<std::string> OpenRun::notes() {
  run.out.notes.flush();
  return lines(readFile(dir.path() / "wall.tn5r"));
}

bool OpenRun::reportHas(const std::string& line) {
  const auto r = report();
  return std::find(r.begin(), r.end(), line) != r.end();
}

EngineOutput runEngineOn(const std::string& data) {
  TempDir dir;
  const fs::path base = dir.path() / "wall";
  writeFile(dir.path() / "wall.tn5d", data);
  writeFile(dir.path() / kRunControlFile, "2015.5.22\r\n" + (base.string() + ".tn5d\r\n") + (base.string() + ".tn5o\r\n") +
                                              (base.string() + ".tn5p\r\n") + (base.string() + ".tn5r\r\n"));
  std::ostringstream err;
  EngineOutput out;
  {
    CurrentDir cd(dir.path());
    auto run = std::make_unique<RunState>();
    run->clock = fixedTime;
    run->out.err = &err;
    runAnalysis(*run);
    out.results = run->results;
    out.pressureTable = run->pressureTable;
    out.curves = run->curves;
    out.deflection = run->deflection;
    out.stations = run->stations;
    out.problem = run->problem;
  }
  out.err = err.str();
  out.reportExists = fs::exists(base.string() + ".tn5o");
  out.plotExists = fs::exists(base.string() + ".tn5p");
  out.notesExists = fs::exists(base.string() + ".tn5r");
  out.report = readFile(base.string() + ".tn5o");
  out.plot = readFile(base.string() + ".tn5p");
  out.notes = readFile(base.string() + ".tn5r");
  return out;
}

const EngineOutput& sharedRunOn(const std::string& data) {
  static std::map<std::string, EngineOutput> runs;
  auto it = runs.find(data);
  if (it == runs.end()) it = runs.emplace(data, runEngineOn(data)).first;
  return it->second;
}

namespace {

std::string trimmed(const std::string& s) {
  const auto a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return {};
  return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

bool hasStars(const std::string& s) { return s.find("**") != std::string::npos; }

void collect(std::vector<std::string>& found, const char* file, std::size_t line, const std::string& text) {
  found.push_back(std::string(file) + " line " + std::to_string(line + 1) + ": " + text);
}

}  // namespace

bool stopped(const std::string& report) {
  bool end = false;
  for (const std::string& l : lines(report)) {
    const std::string t = trimmed(l);
    if (t.rfind("ERROR", 0) == 0 || t.rfind("TOO MUCH DATA", 0) == 0) return true;
    if (t == "END OF ANALYSIS") end = true;
  }
  return !end;
}

std::vector<std::string> reportAsteriskFields(const std::string& report) {
  std::vector<std::string> found;
  const auto ls = lines(report);
  // Rows of the results table and of the tieback table follow their rule of dashes up
  // to the next empty line.
  bool inTable = false;
  for (std::size_t i = 0; i < ls.size(); ++i) {
    const std::string& l = ls[i];
    if (l.rfind("   ------    ----", 0) == 0 || l.rfind("   -----  -----", 0) == 0) {
      inTable = true;
      continue;
    }
    if (trimmed(l).empty()) inTable = false;
    if (inTable && l.find('*') != std::string::npos) collect(found, "report", i, l);
  }
  return found;
}

std::vector<std::string> asteriskFields(const EngineOutput& out) {
  std::vector<std::string> found = reportAsteriskFields(out.report);
  const auto plot = lines(out.plot);
  for (std::size_t i = 0; i < plot.size(); ++i)
    if (plot[i].find('*') != std::string::npos) collect(found, "plot", i, plot[i]);
  // Monitor lines: the iteration number, NO or YES, the count and five deflections.
  const auto notes = lines(out.notes);
  for (std::size_t i = 0; i < notes.size(); ++i) {
    const std::string t = trimmed(notes[i]);
    const bool monitor = !t.empty() && std::isdigit(static_cast<unsigned char>(t[0])) &&
                         (t.find(" NO ") != std::string::npos || t.find(" YES ") != std::string::npos);
    if (monitor && hasStars(notes[i])) collect(found, "notes", i, notes[i]);
  }
  return found;
}

bool hasAsteriskField(const std::string& text) {
  // After a number or "=", or opening a row that goes on with numbers.
  static const std::regex field("([=0-9.][ ]*[*]{3,})|(^[ ]*[*]{3,}[ ]*[-0-9.])");
  for (const std::string& l : lines(text)) {
    if (l.find_first_not_of(" *\r") == std::string::npos) continue;  // rules of stars
    if (std::regex_search(l, field)) return true;
  }
  return false;
}

std::string nonFiniteValue(const EngineOutput& out) {
  for (const StationResult& r : out.results) {
    for (double v : {r.depth, r.deflection, r.slope, r.moment, r.shear, r.reaction, r.ei})
      if (!std::isfinite(v)) return "a result of station " + std::to_string(r.station);
  }
  for (std::size_t i = 0; i < out.deflection.size(); ++i)
    if (!std::isfinite(out.deflection[i])) return "the deflection of slot " + std::to_string(i);
  for (const PressurePoint& p : out.pressureTable) {
    for (double v : {p.depth, p.total, p.soil, p.surcharge})
      if (!std::isfinite(v)) return "the earth pressure at depth " + std::to_string(p.depth);
  }
  for (const PyCurve& c : out.curves) {
    for (std::size_t j = 0; j < c.y.size() && j < c.p.size(); ++j)
      if (!std::isfinite(c.y[j]) || !std::isfinite(c.p[j]))
        return "point " + std::to_string(j + 1) + " of the p-y curve at station " + std::to_string(c.station);
  }
  return {};
}

Balance globalBalance(const EngineOutput& out) {
  const Stations& st = out.stations;
  const int ninc = st.ninc;
  std::vector<double> sEff(kStationSlots, 0.0), qEff(kStationSlots, 0.0);
  for (int j = -1; j <= ninc + 1; ++j) {
    sEff[Stations::slot(j)] = st.S[Stations::slot(j)];
    qEff[Stations::slot(j)] = st.Q[Stations::slot(j)];
  }
  bool offCurve = false;
  const int skip = out.problem.control.earthPressure >= 2 ? st.excavationStation : kNoStation;
  addCurveSprings(out.curves, ninc, out.deflection, skip, sEff, qEff, offCurve);
  Balance b;
  const double h = st.h, k = h / 4.0;
  for (int j = -1; j <= ninc + 1; ++j) {
    const int s = Stations::slot(j);
    const double w = out.deflection[s];
    // The equation of station j, less its bending terms (which cancel in both sums).
    const double lateral = st.h3 * (sEff[s] * w - qEff[s]);
    const double couple = (st.h2 / 2.0) * (st.T[s - 1] - st.T[s + 1]);
    const double axial = 2.0 * k * ((h * st.P[s - 1] + st.R[s - 1]) - (h * st.P[s + 1] + st.R[s + 1])) * w;
    b.force += lateral + couple;
    b.moment += j * (lateral + couple) + axial;
    b.forceScale += std::fabs(st.h3 * qEff[s]) + std::fabs(st.h3 * sEff[s] * w);
    b.momentScale += std::fabs(j) * (std::fabs(st.h3 * qEff[s]) + std::fabs(st.h3 * sEff[s] * w)) + std::fabs(axial);
    b.forceClosure += st.h3 * std::fabs(sEff[s]) * out.problem.wall.tol;
    b.momentClosure += std::fabs(j) * st.h3 * std::fabs(sEff[s]) * out.problem.wall.tol;
  }
  return b;
}

std::string crlf(const std::vector<std::string>& ls) {
  std::string s;
  for (const std::string& l : ls) s += l + "\r\n";
  return s;
}

}  // namespace tarnel::engine::testing

// Test helpers: run the engine on a data text in a private temporary folder, the way
// the interactive program does (names.dat in the current folder, outputs beside the
// data file), and hand back what the run wrote.
#pragma once

#include "engine/run_state.h"

#include <cmath>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace tarnel::engine::testing {

// A temporary folder removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Makes a folder the current one for the lifetime of the object.
class CurrentDir {
 public:
  explicit CurrentDir(const std::filesystem::path& dir);
  ~CurrentDir();
  CurrentDir(const CurrentDir&) = delete;
  CurrentDir& operator=(const CurrentDir&) = delete;

 private:
  std::filesystem::path previous_;
};

std::string readFile(const std::filesystem::path& p);
void writeFile(const std::filesystem::path& p, const std::string& text);
std::vector<std::string> lines(const std::string& text);

// 5 March 2026, 09:04:07.
std::tm fixedTime();

struct EngineOutput {
  std::string report, plot, notes, err;
  bool reportExists = false, plotExists = false, notesExists = false;
  // What the run computed, as it stood when the run ended (the last problem's values).
  std::vector<StationResult> results;
  std::vector<PressurePoint> pressureTable;
  std::vector<PyCurve> curves;
  std::vector<double> deflection;
  Stations stations;
  Problem problem;
  std::vector<std::string> reportLines() const { return lines(report); }
  std::vector<std::string> plotLines() const { return lines(plot); }
};

// A run state with its report, plot-data and run-notes files open in a temporary folder
// and its error stream captured, for tests of single steps of a run.
struct OpenRun {
  OpenRun();
  TempDir dir;
  std::ostringstream err;
  RunState run;

  // What the files hold so far, line by line.
  std::vector<std::string> report();
  std::vector<std::string> plot();
  std::vector<std::string> notes();
  bool reportHas(const std::string& line);
};

// Writes `data` as wall.tn5d and a complete names.dat in a temporary folder, runs one
// analysis there with the fixed clock and returns the outputs.
EngineOutput runEngineOn(const std::string& data);

// runEngineOn(data) made once per test program and kept: for several tests that check
// different sides of one run.
const EngineOutput& sharedRunOn(const std::string& data);

// The report holds an error stop: it does not reach "END OF ANALYSIS", or one of its
// lines starts with "ERROR" or "TOO MUCH DATA".
bool stopped(const std::string& report);

// Fields of asterisks where a finite number always fits its field, so that only a value
// that is not finite can have put them there: anywhere in the plot-data file, in the
// rows of the results and tieback tables of the report, and in the iteration monitor
// lines of the run notes. One "file line N: text" per finding.
std::vector<std::string> asteriskFields(const EngineOutput& out);
// The same for a report alone (results and tieback rows).
std::vector<std::string> reportAsteriskFields(const std::string& report);

// A field of asterisks right after a number or an "=", or at the start of a row: how a
// fixed layout prints a value that is not finite (or too wide). For the generators'
// sections of the report, whose framed titles and warnings never look like this.
bool hasAsteriskField(const std::string& text);

// The first computed value of the run that is not a finite number (station results,
// deflections, the earth pressure on the wall, the p-y curves), described; empty when
// every value is finite.
std::string nonFiniteValue(const EngineOutput& out);

// Global equilibrium of the last problem of a run, from the station tables and the p-y
// curves linearised at the final deflections: the sum of the lateral forces on the wall
// (loads, springs and tiebacks, soil) and the sum of their moments about the top of the
// wall, with the moment of the axial forces on the deflected wall and the applied
// couples. A closed solution balances both within the closure tolerance. Needs a run
// without specified deflections or slopes (their reactions are not known here).
struct Balance {
  double force = 0, moment = 0;        // net force, net moment (h^3 units of the equations)
  double forceScale = 0, momentScale = 0;  // sums of magnitudes, for relative checks
  // What a change of the deflections by the closure tolerance changes in the soil and
  // spring forces: the last solution used curves linearised one iteration earlier.
  double forceClosure = 0, momentClosure = 0;
  bool balanced() const {
    return std::fabs(force) <= 2.0 * forceClosure + 1e-9 * forceScale &&
           std::fabs(moment) <= 2.0 * momentClosure + 1e-9 * momentScale;
  }
};
Balance globalBalance(const EngineOutput& out);

// Joins lines with CR LF, as the interactive program writes data files.
std::string crlf(const std::vector<std::string>& lines);

}  // namespace tarnel::engine::testing

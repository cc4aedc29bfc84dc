#include "engine/driver.h"

#include "engine/data_reader.h"
#include "engine/fixed_format.h"
#include "engine/iteration.h"
#include "engine/plot_file.h"
#include "engine/pressure/earth_pressure.h"
#include "engine/report.h"
#include "engine/stations.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <locale>
#include <memory>
#include <sstream>

namespace tarnel::engine {

namespace {

std::tm systemTime() {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
#if defined(_WIN32)
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
  return tm;
}

std::string trimLine(std::string s) {
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ' || s.back() == '\t')) s.pop_back();
  return s;
}

// names.dat: version line, then the four paths. False (after the two-line message on
// the standard-error stream) when a path line is missing.
bool readRunControl(RunState& run) {
  std::ifstream names(kRunControlFile);
  std::string line;
  if (!names || !std::getline(names, line)) {
    throw FatalInputError(std::string("THE RUN-CONTROL FILE ") + kRunControlFile + " IS MISSING OR EMPTY");
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  run.version = line.substr(0, std::min<std::size_t>(12, line.size()));
  std::string* paths[] = {&run.dataPath, &run.reportPath, &run.plotPath, &run.notesPath};
  for (std::string* p : paths) {
    if (!std::getline(names, line) || trimLine(line).empty()) {
      *run.out.err << " PLEASE CREATE AN INPUT DATA FILE AND SAVE IT\n"
                   << " BEFORE COMPUTATION.  TRY IT AGAIN!\n";
      return false;
    }
    *p = trimLine(line);
  }
  return true;
}

// A count read from the data file: never negative, and within the storage where the
// engine has a fixed table for it.
void checkCount(std::ostream& report, int n, int limit, const char* what) {
  if (n < 0) reportStop(report, "ERROR STOP -- " + std::string(what) + " IS " + std::to_string(n) + ", IT MUST NOT BE NEGATIVE");
  if (limit > 0 && n > limit) reportStorageStop(report);
}

double eiAt(const Stations& st, int station) {
  if (station < -3 || station > st.ninc + 3) return 0.0;
  return st.EI[Stations::slot(station)];
}

class ProblemRun {
 public:
  ProblemRun(RunState& run, DataReader& in) : run_(run), in_(in), rep_(run.out.report), pb_(run.problem) {}

  // Analyses one problem block; true when another block follows.
  bool analyse();

 private:
  void readStationTables();
  void readLoadsSpringsTiebacks();
  void earthPressure();
  void readSoilRecords();
  void readUserCurves();
  void readStiffnessCurves();
  void writePressureTable(bool generated);

  RunState& run_;
  DataReader& in_;
  std::ostream& rep_;
  Problem& pb_;
};

bool ProblemRun::analyse() {
  pb_ = Problem{};
  pb_.title = in_.readTitle("TITLE RECORD");
  ++run_.problemCounter;
  if (run_.problemCounter == 1) run_.runTitle = pb_.title;
  run_.continuation = 0;
  pb_.control = readControlRecord(in_);
  const ControlRecord& c = pb_.control;

  if (run_.problemCounter > 1) rep_ << "\n\n";
  writeReportHeader(rep_, run_.version, run_.dataPath, run_.reportPath, run_.plotPath,
                    run_.clock ? run_.clock() : systemTime());
  writeTitleLine(rep_, c.nStages, run_.problemCounter, run_.runTitle, pb_.title);
  setUnitLabels(run_.labels, c.units);
  writeControlParameters(rep_, c);

  pb_.wall = readWallRecord(in_);
  writeWallRecord(rep_, pb_.wall, run_.labels);
  run_.pressureTable.clear();
  run_.pressure = PressureResults{};
  startStations(run_.stations, pb_.wall, rep_);

  readStationTables();
  checkBeyondEnd(run_.stations, rep_);
  checkStationValues(run_.stations, rep_);

  readUserCurves();
  buildCurveTable(run_);
  readStiffnessCurves();
  applyStiffnessCurvesOnce(run_);

  std::fill(run_.deflection.begin(), run_.deflection.end(), 0.0);
  writeTitleLine(rep_, c.nStages, run_.problemCounter, run_.runTitle, pb_.title);
  const IterationSummary summary = iterate(run_);
  writeIterationResults(run_, summary);
  if (!pb_.tiebacks.empty()) writeTiebackResults(run_);

  int terminator = in_.readIntRecord("PROBLEM TERMINATOR");
  pb_.terminator = terminator;
  if (terminator == c.nStages) terminator = 0;
  run_.continuation = terminator;
  if (terminator == 0) return false;
  run_.resultKind = terminator == 9 ? 2 : c.nStages;
  writeResultsBlock(run_.out.plot, run_.resultKind, run_.results, c.units);
  return true;
}

void ProblemRun::readStationTables() {
  const ControlRecord& c = pb_.control;
  Stations& st = run_.stations;

  checkCount(rep_, c.nSpecified, kMaxSpecified, "NUMBER OF SPECIFIED DEFLECTIONS AND SLOPES");
  if (c.nSpecified == 0) {
    writeNoTable(rep_);
  } else {
    writeSpecifiedHeading(rep_);
    for (int i = 0; i < c.nSpecified; ++i) {
      pb_.restraints.push_back(readRestraintRow(in_));
      writeSpecifiedRow(rep_, pb_.restraints.back());
      applyRestraint(st, rep_, pb_.restraints.back(), i > 0 ? &pb_.restraints[i - 1] : nullptr);
    }
  }

  checkCount(rep_, c.nStiffness, 0, "NUMBER OF STIFFNESS ROWS");
  if (c.nStiffness == 0) {
    // Without stiffness rows no load, spring, tieback, modification or soil record
    // follows and no earth pressure acts; the plot file still gets its block.
    writeNoTable(rep_);
    writeNoEarthPressure(run_.out.plot);
    return;
  }
  writeStiffnessHeading(rep_, run_.labels);
  Distribution stiffness;
  for (int i = 0; i < c.nStiffness; ++i) {
    pb_.stiffness.push_back(readStiffnessRow(in_));
    const StiffnessRow& row = pb_.stiffness.back();
    const int kind = applyStiffnessRow(st, stiffness, rep_, row);
    writeStiffnessRow(rep_, kind, row.from, row.to, row.contd, {row.ei, 0, 0, 0, 0, 0});
  }
  readLoadsSpringsTiebacks();

  checkCount(rep_, c.nPyModifiers, 0, "NUMBER OF P-Y MODIFICATION ROWS");
  for (int i = 0; i < c.nPyModifiers; ++i) pb_.pyModifiers.push_back(readPyModifierRow(in_));

  earthPressure();
}

void ProblemRun::readLoadsSpringsTiebacks() {
  const ControlRecord& c = pb_.control;
  Stations& st = run_.stations;

  const int nLoads = in_.readIntRecord("CONCENTRATED LOAD COUNT");
  checkCount(rep_, nLoads, 0, "NUMBER OF CONCENTRATED LOAD ROWS");
  Distribution loads;
  for (int i = 0; i < nLoads; ++i) {
    pb_.loads.push_back(readLoadRow(in_));
    const ConcentratedLoadRow& row = pb_.loads.back();
    const int kind = applyLoadRow(st, loads, rep_, row);
    writeStiffnessRow(rep_, kind, row.from, row.to, row.contd, {eiAt(st, row.from), row.q, 0, row.t, 0, row.p});
  }

  // Springs and tiebacks are one sequence for the distribution rule.
  const int nSprings = in_.readIntRecord("SPRING COUNT");
  checkCount(rep_, nSprings, 0, "NUMBER OF SPRING ROWS");
  Distribution springs;
  for (int i = 0; i < nSprings; ++i) {
    pb_.springs.push_back(readSpringRow(in_));
    const SpringRow& row = pb_.springs.back();
    const int kind = applySpringRow(st, springs, rep_, row);
    writeStiffnessRow(rep_, kind, row.from, row.to, row.contd, {eiAt(st, row.from), 0, row.s, 0, row.r, 0});
  }

  checkCount(rep_, c.nTiebacks, kMaxTiebacks, "NUMBER OF TIEBACK ROWS");
  for (int i = 0; i < c.nTiebacks; ++i) {
    pb_.tiebacks.push_back(readTiebackRow(in_));
    TiebackRow& row = pb_.tiebacks.back();
    const int kind = applyTiebackRow(st, springs, rep_, row, c.units, pb_.wall.wa, i + 1);
    writeStiffnessRow(rep_, kind, row.station, row.station, 1,
                      {eiAt(st, row.station), row.prestressLoad, row.stiffness, 0, 0, 0});
  }
}

void ProblemRun::readSoilRecords() {
  pb_.earth = readEarthPressureRecord(in_);
  pb_.legacy = readLegacySurchargeRecord(in_);
  const int nSurcharges = in_.readIntRecord("SURCHARGE COUNT");
  checkCount(rep_, nSurcharges, kMaxSurcharges, "NUMBER OF SURCHARGES");
  for (int i = 0; i < nSurcharges; ++i) pb_.surcharges.push_back(readSurchargeRow(in_));
  const int nLayers = in_.readIntRecord("SOIL LAYER COUNT");
  checkCount(rep_, nLayers, 0, "NUMBER OF SOIL LAYERS");
  for (int i = 0; i < nLayers; ++i) {
    pb_.layers.push_back(readSoilLayer(in_));
    const int kind = pb_.layers.back().kind;
    if (kind < 1 || kind > 7) {
      reportStop(rep_, "ERROR STOP -- SOIL LAYER " + std::to_string(i + 1) + " HAS SOIL KIND " + std::to_string(kind) +
                           ", IT MUST BE 1 TO 7");
    }
  }
  pb_.soilRecordsRead = true;
}

void ProblemRun::writePressureTable(bool generated) {
  writePressureHeading(rep_, run_.labels, !generated);
  const int units = pb_.control.units;
  if (generated) {
    for (std::size_t i : printedPressureRows(run_.pressureTable.size(), units)) {
      writePressureRow(rep_, run_.pressureTable[i].depth, run_.pressureTable[i].total);
    }
  } else {
    for (std::size_t i : printedPressureRows(pb_.distLoads.size(), units)) {
      writePressureRow(rep_, pb_.distLoads[i].depth, pb_.distLoads[i].load);
    }
  }
}

void ProblemRun::earthPressure() {
  const ControlRecord& c = pb_.control;
  Stations& st = run_.stations;
  if (c.earthPressure < 0) {
    reportStop(rep_, "ERROR STOP -- EARTH-PRESSURE OPTION IS " + std::to_string(c.earthPressure) +
                         ", IT MUST BE 0, 1, 2 OR 3");
  }
  if (c.earthPressure == 0) writeNoEarthPressure(run_.out.plot);
  if (c.earthPressure == 1) {
    const int n = in_.readIntRecord("DISTRIBUTED LOAD COUNT");
    checkCount(rep_, n, 0, "NUMBER OF DISTRIBUTED LOAD ROWS");
    for (int i = 0; i < n; ++i) pb_.distLoads.push_back(readDistLoadRow(in_));
    writePressureTable(false);
  }
  if (c.earthPressure >= 2 || c.pyOption == 2) readSoilRecords();
  if (c.earthPressure == 0) return;

  long long lastStation = 0;
  if (c.earthPressure >= 2) {
    generateEarthPressure(run_);
    std::ifstream scratch(kPressureScratchFile);
    if (!scratch || !readGeneratedPressure(scratch, pb_.wall.freeHeight, pb_.earth.wa, pb_.earth.wp,
                                           run_.pressureTable)) {
      reportStop(rep_, std::string("ERROR STOP -- THE GENERATED EARTH-PRESSURE TABLE ") + kPressureScratchFile +
                           " CANNOT BE READ");
    }
    writePressureTable(true);
    // Generated pressures load the wall down to the excavation level only.
    lastStation = nearestStation(pb_.wall.freeHeight / st.h);
  } else {
    std::vector<double> surcharge;
    if (pb_.soilRecordsRead && !pb_.surcharges.empty()) {
      std::vector<double> depths;
      for (const DistLoadRow& row : pb_.distLoads) depths.push_back(row.depth);
      surcharge = surchargePressuresAt(run_, depths);
    }
    run_.pressureTable = userPressureTable(pb_.distLoads, pb_.earth.wa, surcharge);
    if (!pb_.distLoads.empty()) lastStation = nearestStation(pb_.distLoads.back().depth / st.h);
  }
  // The pressures times the element widths: the plot file and the station loads get them.
  for (const PressurePoint& p : run_.pressureTable) {
    for (double v : {p.depth, p.total, p.soil, p.surcharge})
      if (!std::isfinite(v)) reportNotFinite(rep_, "THE EARTH PRESSURE ON THE WALL AT DEPTH " + fmt::free(p.depth));
  }
  writeEarthPressureBlock(run_.out.plot, run_.pressureTable, c.units);
  loadPressure(st, run_.pressureTable, lastStation);
}

void ProblemRun::readUserCurves() {
  const ControlRecord& c = pb_.control;
  // The curve sets are present only for p-y options up to 2.
  if (c.pyOption > 2) return;
  checkCount(rep_, c.nUserCurves, kMaxCurves, "NUMBER OF USER P-Y CURVES");
  for (int i = 0; i < c.nUserCurves; ++i) {
    UserPyCurve curve;
    in_.beginRecord("P-Y CURVE HEADER");
    curve.station = in_.readInt();
    curve.nPoints = in_.readInt();
    curve.pMult = in_.readReal();
    curve.yMult = in_.readReal();
    checkCount(rep_, curve.nPoints, kMaxCurvePoints, "NUMBER OF POINTS OF A P-Y CURVE");
    if (curve.nPoints < 2) {
      reportStop(rep_, "ERROR STOP -- P-Y CURVE " + std::to_string(i + 1) + " HAS " + std::to_string(curve.nPoints) +
                           " POINTS, AT LEAST 2 ARE NEEDED");
    }
    checkStation(run_.stations, rep_, curve.station, "P-Y CURVE");
    for (int k = 0; k < curve.nPoints; ++k) {
      in_.beginRecord("P-Y CURVE POINT");
      curve.y.push_back(in_.readReal());
      curve.p.push_back(in_.readReal());
    }
    pb_.userCurves.push_back(std::move(curve));
  }
}

void ProblemRun::readStiffnessCurves() {
  const ControlRecord& c = pb_.control;
  checkCount(rep_, c.nEiCurves, kMaxEiCurves, "NUMBER OF MOMENT-EI CURVES");
  const int ninc = run_.stations.ninc;
  for (int i = 0; i < c.nEiCurves; ++i) {
    EiCurve curve;
    in_.beginRecord("MOMENT-EI CURVE HEADER");
    curve.from = in_.readInt();
    curve.to = in_.readInt();
    const int n = in_.readInt();
    checkCount(rep_, n, kMaxEiPoints, "NUMBER OF POINTS OF A MOMENT-EI CURVE");
    if (n < 2) {
      reportStop(rep_, "ERROR STOP -- MOMENT-EI CURVE " + std::to_string(i + 1) + " HAS " + std::to_string(n) +
                           " POINTS, AT LEAST 2 ARE NEEDED");
    }
    // The curvature at a station needs both neighbours inside the station tables.
    if (curve.from < -2 || curve.to > ninc + 2) {
      reportStop(rep_, "ERROR STOP -- MOMENT-EI CURVE " + std::to_string(i + 1) + " FROM " +
                           std::to_string(curve.from) + " TO " + std::to_string(curve.to) +
                           " LIES OUTSIDE STATIONS -2 TO " + std::to_string(ninc + 2));
    }
    for (int k = 0; k < n; ++k) {
      in_.beginRecord("MOMENT-EI CURVE POINT");
      curve.moment.push_back(in_.readReal());
      curve.ei.push_back(in_.readReal());
    }
    pb_.eiCurves.push_back(std::move(curve));
  }
}

bool openOutput(std::ofstream& f, const std::string& path, std::ostream& err) {
  // The previous output is removed rather than truncated: file systems that flush a
  // truncated-and-rewritten file on close would otherwise make every repeated run wait
  // for the disk.
  // Only a plain file is removed: a link keeps pointing where the user wants it, and a
  // folder of that name is never deleted (the open below then fails with a message).
  std::error_code ec;
  if (std::filesystem::symlink_status(path, ec).type() == std::filesystem::file_type::regular) {
    std::filesystem::remove(path, ec);
  }
  f.open(path, std::ios::out | std::ios::trunc);
  if (!f) {
    err << " ERROR -- CANNOT CREATE THE FILE " << path << '\n';
    return false;
  }
  f.imbue(std::locale::classic());
  return true;
}

// An output whose writing failed (a full disk, a file that went away) is named in the
// report while the report can still take it, and on the standard error stream.
void closeOutput(RunState& run, std::ofstream& f, const std::string& path) {
  if (!f.is_open()) return;
  f.flush();
  const bool failed = f.fail();
  f.close();
  if (!failed && !f.fail()) return;
  const std::string text = " ERROR -- THE FILE " + path + " COULD NOT BE WRITTEN COMPLETELY (IS THE DISK FULL?)";
  *run.out.err << text << '\n';
  if (&f != &run.out.report && run.out.report.is_open()) run.out.report << '\n' << text << '\n';
}

}  // namespace

void closeOutputs(RunState& run) noexcept {
  try {
    closeOutput(run, run.out.plot, run.plotPath);
    closeOutput(run, run.out.notes, run.notesPath);
    closeOutput(run, run.out.report, run.reportPath);
  } catch (const std::exception& e) {
    try {
      *run.out.err << " ERROR -- THE OUTPUT FILES COULD NOT BE CLOSED: " << e.what() << '\n';
    } catch (...) {
      // The standard error stream itself failed: nothing is left to tell.
    }
  }
}

void stoppedUnexpectedly(RunState& run, const std::string& what) noexcept {
  try {
    const std::string text = " ERROR -- THE ANALYSIS STOPPED: " + what;
    *run.out.err << text << '\n';
    if (run.out.report.is_open()) run.out.report << '\n' << text << '\n';
  } catch (...) {
    // Reporting itself failed (no memory left): the closing of the files still follows.
  }
}

void runAnalysis(RunState& run) noexcept {
  std::ostream& err = *run.out.err;
  try {
    try {
      if (!readRunControl(run)) return;
    } catch (const FatalInputError& e) {
      err << ' ' << e.what() << '\n';
      return;
    }

    // A data file that does not exist reads as an empty one.
    std::ifstream dataFile(run.dataPath, std::ios::in | std::ios::binary);
    std::istringstream empty;
    std::istream& data = dataFile.is_open() ? static_cast<std::istream&>(dataFile) : empty;
    DataReader reader(data);

    if (!openOutput(run.out.report, run.reportPath, err)) return;
    if (!openOutput(run.out.plot, run.plotPath, err) || !openOutput(run.out.notes, run.notesPath, err)) {
      // The report is open: the user reads there why nothing was analysed.
      run.out.report << " ERROR -- CANNOT CREATE THE FILE "
                     << (run.out.plot.is_open() ? run.notesPath : run.plotPath) << '\n';
      closeOutputs(run);
      return;
    }

    run.problemCounter = 0;
    run.resultKind = 1;
    try {
      try {
        ProblemRun problem(run, reader);
        while (problem.analyse()) {
        }
      } catch (const InputStop&) {
        // The message is in the report; the run closes normally.
      }
      writeEndOfAnalysis(run.out.report);
      if (run.continuation == 0) {
        writeResultsBlock(run.out.plot, run.resultKind, run.results, run.problem.control.units);
      }
    } catch (const FatalInputError& e) {
      err << ' ' << e.what() << '\n';
      run.out.report << "\n     " << e.what() << '\n';
    } catch (const GeneratorStop&) {
      // The generator has written its message; the files close as they stand.
    }
  } catch (const std::exception& e) {
    stoppedUnexpectedly(run, e.what());
  } catch (...) {
    stoppedUnexpectedly(run, "AN ERROR OF UNKNOWN KIND");
  }
  closeOutputs(run);
}

}  // namespace tarnel::engine

extern "C" std::int32_t ITARNEL(std::int32_t version) {
  if (version != tarnel::engine::kInterfaceVersion) return 1;
  try {
    auto run = std::make_unique<tarnel::engine::RunState>();
    tarnel::engine::runAnalysis(*run);
  } catch (const std::exception& e) {
    // Only the run state itself can throw here (no memory for it); nothing was written.
    std::cerr << " ERROR -- THE ANALYSIS COULD NOT START: " << e.what() << '\n';
  }
  return 0;
}

extern "C" std::int32_t _ITARNEL(std::int32_t version) { return ITARNEL(version); }

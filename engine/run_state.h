// The state of one engine run: the records of the problem block being analysed, the
// open output files, the station tables and what the generators hand to the core.
// One RunState lives for one call of the entry point; the driver owns it and passes it
// by reference to every stage (data reading, stations, earth-pressure and p-y
// generators, iteration, report and plot writers), so two calls never share state.
#pragma once

#include <array>
#include <ctime>
#include <functional>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarnel::engine {

// Storage limits of the engine. Input beyond them is refused with
// "TOO MUCH DATA FOR AVAILABLE STORAGE" instead of overrunning a table.
inline constexpr int kMaxIncrements = 407;
// Stations -3 .. NINC + 3 at slot = station + 4, so the deepest slot of the longest wall
// is 407 + 3 + 4 = 414 and the arrays need 415 entries (slot 0 stays unused).
inline constexpr int kStationSlots = kMaxIncrements + 8;
inline constexpr int kMaxSpecified = 20;     // specified deflections and slopes
inline constexpr int kMaxTiebacks = 20;
inline constexpr int kMaxCouples = 50;
// Surcharges of record 13; the program's table holds 20, and each one adds a full
// evaluation of the pressure formulas per grid depth of every table built.
inline constexpr int kMaxSurcharges = 100;
inline constexpr int kMaxCurves = 63;        // p-y curves per problem
inline constexpr int kMaxCurvePoints = 34;
inline constexpr int kMaxEiCurves = 20;
inline constexpr int kMaxEiPoints = 100;
inline constexpr int kMaxIterations = 100;

// English projects keep tieback depths, lengths and spacings in feet (and show some
// depths in feet); everything else of the engine is in inches.
inline constexpr double kInchesPerFoot = 12.0;

// Scratch files in the current folder (the per-run working folder), one spelling on
// both sides: the generators write them, the core reads them back.
inline constexpr const char* kPressureScratchFile = "BMWALL.001";
inline constexpr const char* kPyScratchFile = "SOILDATA";
inline constexpr const char* kDebugScratchFile = "debug.dat";
inline constexpr const char* kRunControlFile = "names.dat";

// ---- Records of one problem block, as read from the data file -------------------

struct ControlRecord {
  int units = 1;          // C1: 1 English (lb, in), 2 SI (kN, m), 3 other
  int nSpecified = 0;     // C2: restraint rows
  int nStiffness = 0;     // C3: stiffness rows
  int nPyModifiers = 0;   // C4: p-y modifier rows
  int earthPressure = 0;  // C5: 0 none, 1 user table, 2 triangular, 3 trapezoidal
  int pyOption = 0;       // C6: 0 none, 1 external curves, 2 generated
  int nUserCurves = 0;    // C7
  int nStages = 1;        // C8
  int nEiCurves = 0;      // C9
  int nTiebacks = 0;      // C10
};

struct WallRecord {
  int ninc = 0;           // W1 number of increments
  double h = 0;           // W2 increment length
  double dmax = 0;        // W3 maximum allowable deflection
  double tol = 0;         // W4 deflection closure tolerance
  double freeHeight = 0;  // W5 H
  double wa = 0;          // W6 width for earth pressure (scales tiebacks)
};

struct RestraintRow {
  int kase = 1;           // 1 deflection, 2 slope, 3 both
  int station = 0;
  double deflection = 0;
  double slope = 0;
};

struct StiffnessRow {
  int from = 0, to = 0, contd = 1;
  double ei = 0;
};

struct ConcentratedLoadRow {
  int contd = 1, from = 0, to = 0;
  double q = 0, t = 0, p = 0;  // lateral load, couple, axial load (as in the file)
};

struct SpringRow {
  int from = 0, to = 0, contd = 1;
  double s = 0, r = 0;
};

struct TiebackRow {
  double depth = 0, area = 0, modulus = 0, unbondedLength = 0, angle = 0, spacing = 0, prestress = 0;
  // Derived by the station tables:
  int station = 0;
  double stiffness = 0;      // S = ca A E / ((s/Wa) L)
  double prestressLoad = 0;  // Q = -(Wa/s) ca F0
};

struct PyModifierRow {
  double depth = 0, pFactor = 1, yFactor = 1;
};

struct DistLoadRow {
  double depth = 0, load = 0;
};

// Record 11.
struct EarthPressureRecord {
  double freeHeight = 0;  // H
  double wa = 0;          // WA width for earth pressure
  double wp = 0;          // WP width for soil resistance
  double dwBackfill = 0;  // DWb
  double dwExcavation = 0;// DWe
  double modFactor = 1;   // active-pressure modification factor
  int distSwitch = 1;     // pressure-distribution switch
  double beta = 0;        // backfill slope, degrees
};

// Record 12.
struct LegacySurchargeRecord {
  double q = 0;           // uniform surface pressure
  double distance = 0, point = 0, line = 0, strip = 0, stripWidth = 0;
};

// Record 13 rows.
struct SurchargeRow {
  int type = 1;           // 1 point, 2 line, 3 strip
  double magnitude = 0, distance = 0, width = 0;  // as stored in the file
};

// Record 14: one layer. top/base are the six parameter positions P1..P6 of the
// parameter lines for the top and the bottom of the layer.
struct SoilLayerRecord {
  int kind = 1;           // 1 soft clay ... 7 weak rock
  double bottom = 0;      // depth of the layer bottom
  std::array<double, 6> top{};
  std::array<double, 6> base{};
};

struct UserPyCurve {
  int station = 0;
  int nPoints = 0;
  double pMult = 1, yMult = 1;
  std::vector<double> y, p;  // as read (multipliers not applied)
};

struct EiCurve {
  int from = 0, to = 0;
  std::vector<double> moment, ei;
};

// One p-y curve of the curve table the iteration works with: points (y, p) in increasing
// y, p being the soil force on the wall per station (multipliers and h applied).
// Continuation code 1 interpolates the curve with the next one along the stations.
struct PyCurve {
  int station = 0;
  int contd = 0;
  std::vector<double> y, p;
};

struct Problem {
  std::string title;      // first 70 characters of the title record
  ControlRecord control;
  WallRecord wall;
  std::vector<RestraintRow> restraints;
  std::vector<StiffnessRow> stiffness;
  std::vector<ConcentratedLoadRow> loads;
  std::vector<SpringRow> springs;
  std::vector<TiebackRow> tiebacks;
  std::vector<PyModifierRow> pyModifiers;
  std::vector<DistLoadRow> distLoads;
  bool soilRecordsRead = false;   // records 11 to 14 present in this block
  EarthPressureRecord earth;
  LegacySurchargeRecord legacy;
  std::vector<SurchargeRow> surcharges;
  std::vector<SoilLayerRecord> layers;
  std::vector<UserPyCurve> userCurves;
  std::vector<EiCurve> eiCurves;
  int terminator = 0;
};

// One point of the earth-pressure table that loads the wall: pressures already
// multiplied by the width (WA down to H, WP below), not yet by the increment length.
struct PressurePoint {
  double depth = 0, total = 0, soil = 0, surcharge = 0;
};

// What the earth-pressure generator keeps for the p-y generator.
struct PressureResults {
  double sigvpExcavation = 0;  // SIGVP(LEXC): effective vertical stress at the excavation level
  double gammaW = 0;           // unit weight of water used (single-precision constant widened)
  bool valid = false;
};

// Report unit labels, fixed width (set per problem from the units code).
struct UnitLabels {
  std::string len3 = "  L", force4 = "   F", len2 = " L", force3 = "  F";
};

// ---- Station tables -------------------------------------------------------------

// An applied couple of a concentrated-load row: its FROM station and T/(2h).
struct Couple {
  int station = 0;
  double force = 0;
};

// Per-station arrays of the wall, slot = station + 4 for stations -3 .. NINC + 3.
struct Stations {
  int ninc = 0;
  double h = 0, h2 = 0, h3 = 0, length = 0;
  std::vector<double> EI, Q, S, T, R, P;   // P holds the axial load with its sign reversed
  std::vector<int> code;                   // restraint code 1..5
  std::vector<double> specDeflection, specSlope;  // specified values, in row order
  std::vector<Couple> couples;
  int excavationStation = 0;               // H/h rounded

  static constexpr int slot(int station) { return station + 4; }
  void reset() {
    EI.assign(kStationSlots, 0.0); Q.assign(kStationSlots, 0.0); S.assign(kStationSlots, 0.0);
    T.assign(kStationSlots, 0.0); R.assign(kStationSlots, 0.0); P.assign(kStationSlots, 0.0);
    code.assign(kStationSlots, 1);
    specDeflection.clear(); specSlope.clear(); couples.clear();
  }
};

// Results of one station after the last iteration.
struct StationResult {
  int station = 0;
  double depth = 0, deflection = 0, slope = 0, moment = 0, shear = 0, reaction = 0, ei = 0;
};

// ---- Ways a run ends early ------------------------------------------------------

// An input error found by the core: its message is already in the report; the run
// continues at "END OF ANALYSIS" with the final results block.
struct InputStop : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A stop inside a generator: the run ends at once, the files are closed as they stand.
struct GeneratorStop : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The data file ended early or held text where a number belongs.
struct FatalInputError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// ---- The run --------------------------------------------------------------------

struct OutputFiles {
  std::ofstream report;   // .tn5o
  std::ofstream plot;     // .tn5p
  std::ofstream notes;    // .tn5r, the iteration monitor
  std::ostream* err = &std::cerr;  // short diagnostics (nobody sees them in the program)
};

struct RunState {
  // run control
  std::string version;                       // first 12 characters of names.dat line 1
  std::string dataPath, reportPath, plotPath, notesPath;
  int problemCounter = 0;
  std::string runTitle;
  int resultKind = 1;
  int continuation = 0;

  Problem problem;                           // the block being analysed
  OutputFiles out;
  UnitLabels labels;

  // Earth pressure loaded onto the wall (see PressurePoint) and what the pressure
  // generator leaves for the p-y generator.
  std::vector<PressurePoint> pressureTable;
  PressureResults pressure;

  // Time of the report header; empty means the local time of the system clock. Tests
  // set it to check the date and time lines.
  std::function<std::tm()> clock;

  // p-y curves of the problem, rebuilt for every problem (user curves and those read
  // back from kPyScratchFile).
  std::vector<PyCurve> curves;

  Stations stations;
  // Deflection per station slot; survives from one problem to the next as the input of
  // the next problem's first bending-stiffness update.
  std::vector<double> deflection = std::vector<double>(kStationSlots, 0.0);
  // Results of stations 0 .. NINC + 1 of the last completed problem (plot-data file).
  std::vector<StationResult> results;
};

}  // namespace tarnel::engine

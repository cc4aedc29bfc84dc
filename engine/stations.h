// Wall stations and their tables: the wall record and the restraint, stiffness,
// concentrated-load, spring and tieback rows of a problem become per-station arrays of
// bending stiffness, load, spring stiffness, couple, rotational restraint and axial
// load plus a restraint code per station; the earth-pressure table becomes station
// loads. Slot index = station + 4 for stations -3 .. NINC + 3.
//
// Every error writes its "ERROR STOP -- ..." text to the report and throws InputStop,
// so nothing is ever written outside the 414 slots.
#pragma once

#include "engine/run_state.h"

#include <ostream>
#include <span>
#include <vector>

namespace tarnel::engine {

// Writes the message after five blanks (with blank lines around it) and stops the run.
[[noreturn]] void reportStop(std::ostream& report, const std::string& text, int blanksBefore = 2,
                             int blanksAfter = 0);
// "TOO MUCH DATA FOR AVAILABLE STORAGE".
[[noreturn]] void reportStorageStop(std::ostream& report);
// "ERROR STOP -- <what> IS NOT A FINITE NUMBER ...": a value overflowed (or became
// undefined) on its way through the mechanics. Printing it would give a field of
// asterisks, or a 0 in a free-form file, where the user expects a result.
[[noreturn]] void reportNotFinite(std::ostream& report, const std::string& what);

// Refuses a station table entry (EI, Q, S, T, R or P at stations -3 .. NINC + 3) that is
// not a finite number, naming the quantity and the station.
void checkStationValues(const Stations& st, std::ostream& report);

// Nearest integer, halves away from zero (the station of a depth).
long long nearestStation(double x);

// Resets all arrays and derives h^2, h^3 and the wall length. Refuses an increment
// count outside 1 .. 407 and an increment length that is not positive.
void startStations(Stations& st, const WallRecord& wall, std::ostream& report);

// Refuses a station outside -3 .. NINC + 3 (outside the station tables).
void checkStation(const Stations& st, std::ostream& report, long long station, const char* what);

// One restraint row (specified deflection and/or slope). `previous` is the row before
// it in the table, or null for the first row.
void applyRestraint(Stations& st, std::ostream& report, const RestraintRow& row, const RestraintRow* previous);

// The distribution rule of one table, with its chain state. A row either stands alone
// (CONTD 1) or is continued to the next row by linear interpolation (CONTD 2).
class Distribution {
 public:
  // Distributes one row's values into the target arrays and returns the row kind:
  // 1 alone, 2 chain start, 3 chain end, 4 chain end and restart.
  int add(Stations& st, std::ostream& report, int from, int to, int contd,
          std::span<std::vector<double>* const> targets, std::span<const double> values);

 private:
  int kprev_ = 0;
  int chainFrom_ = 0;
  std::vector<double> chainValues_;
};

// Adds values interpolated linearly from va (station a) to vb (station b) to the
// arrays, with half values at both ends of a range longer than one station.
void distributeRange(Stations& st, std::ostream& report, int a, int b,
                     std::span<std::vector<double>* const> targets, std::span<const double> va,
                     std::span<const double> vb);

int applyStiffnessRow(Stations& st, Distribution& dist, std::ostream& report, const StiffnessRow& row);
// Also enters a non-zero couple into the couple list (at most 50).
int applyLoadRow(Stations& st, Distribution& dist, std::ostream& report, const ConcentratedLoadRow& row);
int applySpringRow(Stations& st, Distribution& dist, std::ostream& report, const SpringRow& row);
// Pi as the tieback conversions (input rows and the tieback results) have always used it.
inline constexpr double kTiebackPi = 3.1416;

// Converts the tieback (station, spring stiffness, prestress load; English units give
// depth, length and spacing in feet) and distributes it as a one-station row.
int applyTiebackRow(Stations& st, Distribution& dist, std::ostream& report, TiebackRow& row, int units,
                    double wa, int number);

// ---- Earth pressure as station loads -----------------------------------------------

// The user's distributed load (option 1); with surcharges listed, `surcharge` holds the
// surcharge pressure at the depth of every row (else it is empty) and each point also
// gets WA times it.
std::vector<PressurePoint> userPressureTable(const std::vector<DistLoadRow>& rows, double wa,
                                             const std::vector<double>& surcharge);

// Reads the generated table back (count, then depth, total, soil, surcharge per row)
// and multiplies the pressures by WA down to H and by WP below it. False when the table
// is malformed or ends early.
bool readGeneratedPressure(std::istream& in, double freeHeight, double wa, double wp,
                           std::vector<PressurePoint>& table);

// Pressure of the table at depth z, interpolated linearly; false when no point is that deep.
bool pressureAt(const std::vector<PressurePoint>& table, double z, double& value);

// Adds the table (times h) to Q at stations 1 .. lastStation and returns the number of
// loaded stations. Beyond the deepest point the previous station's value repeats.
int loadPressure(Stations& st, const std::vector<PressurePoint>& table, long long lastStation);

// Refuses stiffness or load data at stations NINC + 1 and NINC + 2, which would enter
// the equations of the last real stations.
void checkBeyondEnd(const Stations& st, std::ostream& report);

}  // namespace tarnel::engine

// Finishing of generated p-y points, common to every soil kind: the p- and y-multipliers
// (group reduction of closely spaced wall elements, or the user's modification table),
// the shift by the active pressure already loaded onto the wall, and the output of each
// finished side to the report and to the scratch file the iteration reads back.
#pragma once

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "engine/run_state.h"
#include "engine/soilcurves/py_points.h"
#include "engine/soilcurves/soil_model.h"

namespace tarnel::engine::py {

// Unit texts of the p-y report, trimmed: "IN"/"LBS" or "M"/"KN".
struct UnitTexts {
  std::string len3;       // the fixed-width length label, as printed after a value
  std::string len, force;
  std::string forcePerLength() const { return force + "/" + len; }
  std::string stress() const { return force + "/" + len + "**2"; }
  std::string unitWeight() const { return force + "/" + len + "**3"; }
};
UnitTexts unitTexts(int units, const UnitLabels& previous);

// Group reduction of the p-values for wall elements at width ratio s = WA/WP:
// 0.5292 s^0.5659 for 1.1 <= s < 3.1, else 1. A power law in the spacing ratio, the
// form the laterally loaded pile literature uses for piles side by side in a row normal
// to the load (Reese and Van Impe, 2001, "Single Piles and Pile Groups Under Lateral
// Loading"); these two coefficients are the program's own fit of that form, which
// reaches about 1 at s = 3, where elements stop interacting. Below s = 1.1 the elements
// touch and the generators use plane passive resistance instead.
double groupReduction(double s);

// Factor of the user's modification table at depth X (column p or y): 1 outside the
// table, linear between rows, the second of two rows at the same depth.
double tableFactor(const std::vector<PyModifierRow>& rows, double X, bool pColumn);

double pMultiplierAt(const std::vector<PyModifierRow>& rows, double s, double H, double X);
double yMultiplierAt(const std::vector<PyModifierRow>& rows, double X);

// The wall's distributed load per unit length at depth X (pressure times width),
// linear in the table, its end values outside it; 0 for an empty table.
double wallLoadAt(const std::vector<PressurePoint>& table, double X);

// Active pressure carried by the p-y curve of a side: the larger of the overburden
// value A = b SIGVP(LEXC) Ka - cohesion term and the wall-load value B = load/s -
// cohesion term, 0 when not above the kind's threshold; rock and weak rock have none.
double activeShift(int kind, double b, double cu, double phi, double s, double sigvp, double load);

// y := ym y; p := pm p -/+ shift (excavation/backfill); rock residual points unscaled.
PyPoints finishPoints(const PyPoints& raw, Side side, double pm, double ym, double shift);

enum class RowForm { Fixed, Scientific, Exponent };

struct HeaderColumn {
  std::string title, unit, value;
};

// How one side of a curve is printed.
struct SideReport {
  Side side = Side::Excavation;
  std::vector<HeaderColumn> header;
  RowForm form = RowForm::Fixed;
  bool rock = false;            // the header's first column names the side
  bool softClay = false;        // "Y," and "P," headings
  bool wideScratch = false;     // silt and weak rock: two blanks before each scratch value
  bool multiplierLine = true;   // not for rock and weak rock
  std::array<bool, kPoints> smallDeflection{};  // soft clay: the modulus es0 was used
  double es0 = 0;
};

// Writes finished curves to the report and to the scratch file.
class CurveFinisher {
 public:
  CurveFinisher(const PySoilModel& model, const std::vector<PyModifierRow>& modifiers, double sigvp,
                const std::vector<PressurePoint>& wallLoad, const Streams& io, std::ostream& scratch,
                UnitTexts units);

  const UnitTexts& units() const { return units_; }
  double pMultiplier(double X) const;
  double yMultiplier(double X) const;
  double shift(int kind, const CurveSoil& soil) const;

  // Scratch-file header of curve c (depth and 34 records) and its report line.
  void beginCurve(int c);
  // Finishes the raw points of one side of curve c and writes them. A point that is not a
  // finite number stops the run (GeneratorStop, framed message) before the side is written.
  void finish(int c, int kind, const CurveSoil& soil, const SideReport& side, const PyPoints& raw);

 private:
  const PySoilModel& model_;
  const std::vector<PyModifierRow>& modifiers_;
  double sigvp_;
  const std::vector<PressurePoint>& wallLoad_;
  Streams io_;
  std::ostream& report_;
  std::ostream& scratch_;
  UnitTexts units_;
};

// Scratch-file value: exponent form, width 10, 3 digits; magnitudes too small for a
// two-digit exponent are written as 0 so that every record reads back as a number. The
// finisher never hands it a value that is not finite; one would print as asterisks,
// which the reader refuses.
std::string scratchValue(double v);

}  // namespace tarnel::engine::py

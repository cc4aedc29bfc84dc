// The table of lateral pressure against depth that loads the wall, from the top of
// the backfill to the wall tip: total pressure, the part from the soil and the part
// from surcharges, per unit area of wall face. Option 2 keeps the pressures computed
// layer by layer; option 3 replaces the total above the excavation level by the
// apparent pressure envelope for anchored walls (after Terzaghi & Peck's envelopes as
// trapezoids, the peak being 1.3 times the active thrust spread over the diagram).
#pragma once

#include "engine/pressure/pressure_case.h"
#include "engine/pressure/soil_profile.h"

#include <string>
#include <vector>

namespace tarnel::engine::pressure {

struct PressureRow {
  double depth = 0, total = 0, soil = 0, surcharge = 0;
};

struct PressureTable {
  std::vector<PressureRow> rows;
  int lastAbove = 0;  // index of the last row of the layers above the excavation level
  double area = 0;    // running area of the total pressure above the excavation level
};

// Rows per unit length of profile: one per inch, or one per 0.05 length unit.
int rowsInThickness(int units, double t);

// More rows than any real wall needs (a wall of 1000000 in or 50000 m); beyond it the
// data are nonsense and the table is not built.
inline constexpr double kMaxPressureRows = 1.0e6;

// Number of rows the table of this profile would have.
double pressureRowCount(const SoilProfile& profile, const PressureCase& pc);

PressureTable buildPressureRows(const SoilProfile& profile, const PressureCase& pc,
                                int waterFlag);

// Shape of the apparent (trapezoidal) pressure diagram.
struct ApparentDiagram {
  double z1 = 0;        // depth where the rise ends
  double z2 = 0;        // depth where the plateau ends
  double lower = 0;     // length of the lower triangle
  double pmax = 0;
};

// Why the apparent diagram cannot be built for a case, or empty.
std::string apparentDiagramProblem(const PressureCase& pc);

// Needs apparentDiagramProblem(pc) to be empty and rows above the excavation level.
ApparentDiagram apparentDiagram(const PressureCase& pc, double area);

// Option 3: replaces the totals of rows 2 .. lastAbove by the apparent diagram.
void applyApparentPressure(PressureTable& table, const PressureCase& pc);

// Row count, then one row per line, each value with three significant digits.
// False when the file cannot be written.
bool writePressureTable(const std::string& path, const PressureTable& table);

}  // namespace tarnel::engine::pressure

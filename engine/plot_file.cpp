#include "engine/plot_file.h"

#include "engine/fixed_format.h"
#include "engine/report.h"

namespace tarnel::engine {

void writeFreeLine(std::ostream& out, std::initializer_list<long long> values) {
  for (long long v : values) out << ' ' << fmt::free(v);
  out << '\n';
}

void writeNoEarthPressure(std::ostream& out) { writeFreeLine(out, {0}); }

void writeEarthPressureBlock(std::ostream& out, const std::vector<PressurePoint>& table, int units) {
  const std::vector<std::size_t> rows = printedPressureRows(table.size(), units);
  writeFreeLine(out, {static_cast<long long>(rows.size())});
  for (std::size_t i : rows) {
    const PressurePoint& p = table[i];
    // A soil part of exactly zero has always been written as 1.0E-7.
    const double soil = p.soil == 0 ? 1.0e-7 : p.soil;
    out << "  " << fmt::exponent(p.depth, 10, 3) << "  " << fmt::exponent(p.total, 10, 3) << "  "
        << fmt::exponent(soil, 10, 3) << "  " << fmt::exponent(p.surcharge, 10, 3) << '\n';
  }
}

void writeResultsBlock(std::ostream& out, int kind, const std::vector<StationResult>& rows, int units) {
  writeFreeLine(out, {kind, static_cast<long long>(rows.size()), units});
  for (const StationResult& r : rows) {
    out << ' ' << fmt::exponent(r.depth, 13, 4) << ' ' << fmt::exponent(r.deflection, 13, 4) << ' '
        << fmt::exponent(r.moment, 13, 4) << ' ' << fmt::exponent(r.shear, 13, 4) << ' '
        << fmt::exponent(r.reaction, 13, 4) << '\n';
  }
}

}  // namespace tarnel::engine

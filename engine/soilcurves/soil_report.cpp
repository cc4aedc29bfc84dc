#include "engine/soilcurves/soil_report.h"

#include <string>

#include "engine/fixed_format.h"
#include "engine/report.h"

namespace tarnel::engine::py {
namespace {

std::string right(const std::string& s, std::size_t w) {
  return s.size() >= w ? s : std::string(w - s.size(), ' ') + s;
}


}  // namespace

const char* soilKindText(int kind) {
  switch (kind) {
    case kStiffClayWet: return "THE SOIL IS A STIFF CLAY BELOW THE WATER TABLE";
    case kStiffClayDry: return "THE SOIL IS A STIFF CLAY ABOVE THE WATER TABLE";
    case kSand: return "THE SOIL IS A SAND";
    case kSilt: return "THE SOIL IS A SILT";
    case kRock: return "THE LAYER IS ROCK";
    case kWeakRock: return "THE LAYER IS WEAK ROCK";
    default: return "THE SOIL IS A SOFT CLAY";
  }
}

void writeSoilReport(std::ostream& out, const PySoilModel& m, const UnitTexts& u,
                     const std::vector<PyModifierRow>& modifiers) {
  out << "\n\n";
  writeFramedTitle(out, "*        SOIL LAYERS AND STRENGTH DATA           *");
  out << "\n";
  out << fmt::blanks(6) << "X AT THE SURFACE OF EXCAVATION SIDE     = " << fmt::fixed(m.H, 10, 2) << u.len3
      << "\n\n";
  out << fmt::blanks(6) << fmt::integer(static_cast<long long>(m.layers.size()), 1) << " LAYER(S) OF SOIL\n";
  for (std::size_t i = 0; i < m.layers.size(); ++i) {
    const PyLayer& L = m.layers[i];
    out << "\n" << fmt::blanks(6) << "LAYER" << fmt::integer(static_cast<long long>(i + 1), 3) << "\n"
        << fmt::blanks(6) << soilKindText(L.kind) << "\n"
        << fmt::blanks(6) << "FROM X =" << fmt::fixed(L.top, 10, 2) << u.len3 << "   TO X ="
        << fmt::fixed(L.bottom, 10, 2) << u.len3 << "\n";
  }

  out << "\n\n" << fmt::blanks(6) << "DISTRIBUTION OF EFFECTIVE UNIT WEIGHT WITH DEPTH\n"
      << fmt::blanks(6) << fmt::integer(static_cast<long long>(m.gamma.size()), 2) << " POINTS\n\n"
      << fmt::blanks(6) << right("X,", 15) << right("WEIGHT,", 15) << "\n"
      << fmt::blanks(6) << right(u.len, 15) << right(u.unitWeight(), 15) << "\n";
  for (const DistPoint& p : m.gamma)
    out << fmt::blanks(6) << fmt::fixed(p.x, 15, 4) << fmt::scaled(p.v, 15, 4) << "\n";

  out << "\n\n" << fmt::blanks(6) << "DISTRIBUTION OF STRENGTH PARAMETERS WITH DEPTH\n"
      << fmt::blanks(6) << fmt::integer(static_cast<long long>(m.strength.size()), 2) << " POINTS\n\n"
      << fmt::blanks(6) << right("X,", 15) << right("S,", 13) << right("PHI,DEGREES", 13) << right("E50", 15)
      << "\n"
      << fmt::blanks(6) << right(u.len, 15) << right(u.stress(), 13) << "\n";
  for (std::size_t i = 0; i < m.strength.size(); ++i) {
    const double e50 = m.e50[i].v;
    out << fmt::blanks(6) << fmt::fixed(m.strength[i].x, 15, 2) << fmt::scaled(m.strength[i].v, 13, 4)
        << fmt::fixed(m.phi[i].v * 180.0 / kPiCurves, 13, 3)
        << (e50 < 1.0e-6 ? fmt::blanks(7) + "-----" : fmt::scaled(e50, 15, 4)) << "\n";
  }

  if (!modifiers.empty()) {
    out << "\n\n" << fmt::blanks(9) << "REDUCTION FACTORS FOR CLOSELY-SPACED WALL ELEMENTS\n"
        << fmt::blanks(33) << "\n"
        << fmt::blanks(7) << "      DEPTH     P-FACTOR     Y-FACTOR        \n";
    for (const PyModifierRow& r : modifiers)
      out << fmt::blanks(12) << fmt::fixed(r.depth, 7, 2) << fmt::blanks(4) << fmt::fixed(r.pFactor, 6, 2)
          << fmt::blanks(6) << fmt::fixed(r.yFactor, 6, 2) << "\n";
  }

  out << "\n\n" << fmt::blanks(6) << "P-Y CURVES DATA\n" << fmt::blanks(6) << "---------------\n";
}

void writeEquivalentDepth(std::ostream& out, const PySoilModel& m, int layer, const UnitTexts& u) {
  out << "\n\n" << fmt::blanks(6) << "EQUIVALENT DEPTH OF LAYER" << fmt::integer(layer + 1, 3) << "        = "
      << fmt::fixed(m.layers[layer].equivalentDepth, 10, 2) << u.len3 << "\n";
}

}  // namespace tarnel::engine::py

#include "engine/pressure/report_blocks.h"

#include "engine/fixed_format.h"
#include "engine/report.h"

namespace tarnel::engine::pressure {
namespace {

using fmt::blanks;

const std::string kIndent = blanks(6);

std::string e103(double v) { return fmt::exponent(v, 10, 3); }

void banner(std::ostream& os, const std::string& title) {
  os << "\n\n";
  writeFramedTitle(os, title);
}

std::string forcePerLength(const UnitLabels& u) { return u.force4 + "/" + u.len2; }
std::string forcePerArea(const UnitLabels& u) { return u.force4 + "/" + u.len2 + "**2"; }
std::string forcePerVolume(const UnitLabels& u) { return u.force4 + "/" + u.len2 + "**3"; }

// A units line: each label right-aligned so that it ends in the given column.
std::string alignedLine(std::initializer_list<std::pair<int, std::string>> items) {
  std::string line;
  for (const auto& [endColumn, text] : items) {
    const int start = endColumn + 1 - static_cast<int>(text.size());
    if (start > static_cast<int>(line.size())) line += blanks(start - static_cast<int>(line.size()));
    line += text;
  }
  return line;
}

}  // namespace

void printWallInformation(std::ostream& os, const PressureCase& pc, const UnitLabels& u) {
  banner(os, "*                WALL INFORMATION                *");
  const auto line = [&](const char* label, double v, const std::string& unit) {
    os << kIndent << label << e103(v) << unit << '\n';
  };
  line("FREE HEIGHT OF WALL                    = ", pc.H, u.len3);
  line("WIDTH FOR EARTH PRESSURE, WA           = ", pc.wa, u.len3);
  line("WIDTH FOR SOIL RESISTANCE, WP          = ", pc.wp, u.len3);
  line("DEPTH TO THE WATER TABLE AT BACKFILL   = ", pc.dwb, u.len3);
  line("DEPTH TO THE WATER TABLE AT EXCAVATION = ", pc.dwe, u.len3);
  line("UNIT WEIGHT OF WATER                   = ", pc.gammaW, forcePerVolume(u));
  line("SLOPE OF THE BACKFILL (deg.)           = ", pc.beta, "");
  line("MODIFICATION FOR ACTIVE EARTH PRESSURE = ", pc.modf, "");
}

void printSurchargeInformation(std::ostream& os, const PressureCase& pc, const UnitLabels& u) {
  banner(os, "*              SURCHARGE INFORMATION             *");
  os << '\n' << kIndent << "UNIFORM SURFACE PRESSURE     =" << e103(pc.q) << forcePerArea(u) << '\n';
  int number = 0;
  for (const auto& s : pc.surcharges) {
    ++number;
    if (s.kind < 1 || s.kind > 3) continue;
    os << '\n' << kIndent << "SURCHARGE LOADING NO.        = " << fmt::integer(number, 10) << '\n';
    if (s.kind == 3) {
      os << kIndent << "STRIP LOAD                   = " << e103(s.q) << forcePerArea(u) << '\n';
      os << kIndent << "WIDTH OF THE STRIP LOAD      = " << e103(s.b) << u.len3 << '\n';
      os << kIndent << "HORIZONTAL DISTANCE BETWEEN  = " << e103(s.x) << u.len3 << '\n';
      os << kIndent << "WALL AND MIDDLE OF STRIP WIDTH          " << '\n';
    } else {
      if (s.kind == 1)
        os << kIndent << "POINT LOAD                   = " << e103(s.q) << u.force4 << '\n';
      else
        os << kIndent << "LINE LOAD                    = " << e103(s.q) << forcePerLength(u) << '\n';
      os << kIndent << "HORIZONTAL DISTANCE BETWEEN  = " << e103(s.x) << u.len3 << '\n';
      os << kIndent << "THE WALL AND SURCHARGE         " << '\n';
    }
    os << '\n';
  }
}

void printSoilInformation(std::ostream& os, const SoilProfile& profile, int units) {
  banner(os, "*                SOIL INFORMATION                *");
  const std::string in7 = blanks(7);
  os << in7 << "         TOTAL   COHESION/       TOTAL UNIT" << '\n';
  os << in7 << "LAYER  THICKNESS STRENGTH    PHI   WEIGHT   DRAINED  ZTOP" << '\n';
  if (englishUnits(units))
    os << in7 << "NO." << blanks(6) << "FT" << blanks(8) << "PSI" << blanks(7) << "DEG" << blanks(5)
       << "PCI" << blanks(5) << "T OR F" << blanks(3) << "FT" << '\n';
  else if (units == 2)
    os << in7 << "NO." << blanks(6) << " M" << blanks(8) << "kPa" << blanks(7) << "DEG" << blanks(3)
       << "kN/M^3" << blanks(4) << "T OR F" << blanks(3) << " M" << '\n';
  else
    os << in7 << "NO." << blanks(6) << " L" << blanks(8) << "F/L^2" << blanks(5) << "DEG" << blanks(3)
       << "F/L^3" << blanks(5) << "T OR F" << blanks(3) << " L" << '\n';
  // English thicknesses and depths are printed in feet.
  const double toPrinted = englishUnits(units) ? 1.0 / kInchesPerFoot : 1.0;
  int i = 0;
  for (const auto& l : profile.layers) {
    os << in7 << fmt::integer(++i, 3) << fmt::fixed(l.t * toPrinted, 10, 2) << fmt::fixed(l.c, 11, 1)
       << fmt::fixed(l.phi, 8, 1) << fmt::fixed(l.gamma, 9, 3) << blanks(5) << (l.drained ? 'T' : 'F')
       << fmt::fixed(l.ztop * toPrinted, 10, 2) << '\n';
  }
}

void printOverburden(std::ostream& os, const SoilProfile& profile, const UnitLabels& u) {
  banner(os, "*            EFFECTIVE OVERBURDEN STRESS         *");
  os << '\n' << kIndent << "          DEPTH                     STRESS       " << '\n';
  os << blanks(16) << u.len3 << blanks(22) << forcePerArea(u) << '\n';
  for (const auto& l : profile.layers)
    os << blanks(12) << e103(l.ztop) << blanks(17) << e103(l.sigvp) << '\n';
}

void printCoefficients(std::ostream& os, const SoilProfile& profile) {
  banner(os, "* ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT  *");
  os << '\n';
  os << kIndent << "  LAYER         ACTIVE EARTH     PASSIVE EARTH   " << "  OPTIONAL EARTH" << '\n';
  os << kIndent << "   NO.          COEFFICIENT      COEFFICIENT     " << "  COEFFICIENT   " << '\n';
  int i = 0;
  for (const auto& l : profile.layers)
    os << blanks(10) << fmt::integer(++i, 2) << blanks(9) << e103(l.ka) << blanks(8) << e103(l.kp)
       << blanks(8) << e103(l.kopt) << '\n';
}

void printLayerForces(std::ostream& os, const SoilProfile& profile, const ActiveForces& f,
                      const UnitLabels& u) {
  banner(os, "*      ACTIVE EARTH PRESSURE OF EACH LAYER       *");
  os << '\n' << kIndent << " LAYER    PA1     Z1       PA2     Z2         PA3     Z3" << "        PA4" << '\n';
  const std::string fl = forcePerLength(u);
  os << alignedLine({{9, kIndent + "  NO"}, {18, fl}, {26, u.len3}, {36, fl}, {44, u.len3},
                     {54, fl}, {62, u.len3}, {72, fl}})
     << '\n';
  for (int i = 0; i < profile.lexc; ++i) {
    const LayerForces& r = f.layers[i];
    os << kIndent << fmt::integer(i + 1, 2);
    const auto pair = [&](double force, double z) {
      os << ' ' << fmt::fixed(force, 10, 2) << ' ' << fmt::fixed(z, 6, 2);
    };
    pair(r.pa1, r.z1);
    pair(r.pa2, r.z2);
    pair(r.pa3, r.z3);
    os << ' ' << fmt::fixed(r.pa4, 10, 2) << '\n';
  }
}

void printWaterForces(std::ostream& os, const SoilProfile& profile, const ActiveForces& f,
                      const UnitLabels& u) {
  banner(os, "*      ACTIVE WATER PRESSURE OF EACH LAYER       *");
  os << '\n' << kIndent << " LAYER    PW1     Z1       PW2      Z2                " << '\n';
  const std::string fl = forcePerLength(u);
  os << alignedLine({{9, kIndent + "  NO"}, {18, fl}, {26, u.len3}, {36, fl}, {44, u.len3}}) << '\n';
  for (int i = 0; i < profile.lexc; ++i) {
    const LayerForces& r = f.layers[i];
    if (!r.waterRow) continue;
    os << kIndent << fmt::integer(i + 1, 2) << ' ' << fmt::fixed(-r.pw1, 10, 2) << ' '
       << fmt::fixed(r.z1, 6, 2) << ' ' << fmt::fixed(-r.pw2, 10, 2) << ' ' << fmt::fixed(r.z2, 6, 2)
       << '\n';
  }
}

void printSlopeWarning(std::ostream& os) {
  os << "\n\n"
     << blanks(5) << "**** WARNING ******" << '\n'
     << blanks(5) << "THE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION ANGLE OF SAND."
     << '\n';
}

void printNetActiveWarning(std::ostream& os) {
  os << "\n\n" << blanks(5) << "Net active pressure is negative." << "\n\n";
}

void printStop(std::ostream& os, const std::string& text) {
  os << "\n\n" << blanks(5) << "ERROR STOP -- " << text << '\n';
}

}  // namespace tarnel::engine::pressure

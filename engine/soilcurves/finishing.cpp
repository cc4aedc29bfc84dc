#include "engine/soilcurves/finishing.h"

#include <algorithm>
#include <cmath>

#include "engine/fixed_format.h"

namespace tarnel::engine::py {
namespace {

std::string trim(const std::string& s) {
  const auto a = s.find_first_not_of(' ');
  if (a == std::string::npos) return {};
  const auto b = s.find_last_not_of(' ');
  return s.substr(a, b - a + 1);
}

std::string right(const std::string& s, std::size_t w) {
  return s.size() >= w ? s : std::string(w - s.size(), ' ') + s;
}

std::string row(double v, RowForm form) {
  switch (form) {
    case RowForm::Fixed: return fmt::fixed(v, 20, 5);
    case RowForm::Scientific: return fmt::scaled(v, 20, 5);
    case RowForm::Exponent: return fmt::exponent(v, 20, 3);
  }
  return fmt::fixed(v, 20, 5);
}

// Rankine active coefficient; the classic sand code took 45 degrees from pi = 3.1416,
// the silt code from 4 atan 1.
double rankineKa(double phi, double quarterPi) {
  const double t = std::tan(quarterPi - 0.5 * phi);
  return t * t;
}

}  // namespace

UnitTexts unitTexts(int units, const UnitLabels& previous) {
  UnitTexts u;
  if (units == 1) {
    u.len3 = " IN"; u.len = "IN"; u.force = "LBS";
  } else if (units == 2) {
    u.len3 = "  M"; u.len = "M"; u.force = "KN";
  } else {
    u.len3 = previous.len3; u.len = trim(previous.len3); u.force = trim(previous.force4);
  }
  return u;
}

double groupReduction(double s) {
  if (s >= 1.1 && s < 3.1) return sp(0.5292f) * std::pow(s, sp(0.5659f));
  return 1.0;
}

double tableFactor(const std::vector<PyModifierRow>& rows, double X, bool pColumn) {
  auto f = [&](const PyModifierRow& r) { return pColumn ? r.pFactor : r.yFactor; };
  if (rows.empty() || X < rows.front().depth || X > rows.back().depth) return 1.0;
  // On a row's depth that row's factor, the last of rows sharing the depth.
  for (std::size_t i = rows.size(); i-- > 0;)
    if (rows[i].depth == X) return f(rows[i]);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const PyModifierRow& a = rows[i - 1];
    const PyModifierRow& b = rows[i];
    if (X > a.depth && X < b.depth)
      return f(a) + (f(b) - f(a)) * (X - a.depth) / (b.depth - a.depth);
  }
  return 1.0;  // rows out of depth order: no factor applies between them
}

double pMultiplierAt(const std::vector<PyModifierRow>& rows, double s, double H, double X) {
  if (!rows.empty()) return tableFactor(rows, X, true);
  return X >= H ? groupReduction(s) : 1.0;
}

double yMultiplierAt(const std::vector<PyModifierRow>& rows, double X) {
  return rows.empty() ? 1.0 : tableFactor(rows, X, false);
}

double wallLoadAt(const std::vector<PressurePoint>& t, double X) {
  if (t.empty()) return 0.0;
  if (X <= t.front().depth) return t.front().total;
  for (std::size_t i = 1; i < t.size(); ++i) {
    if (X <= t[i].depth) {
      const double d = t[i].depth - t[i - 1].depth;
      if (d <= 0.0) return t[i].total;
      return t[i - 1].total + (t[i].total - t[i - 1].total) * (X - t[i - 1].depth) / d;
    }
  }
  return t.back().total;
}

double activeShift(int kind, double b, double cu, double phi, double s, double sigvp, double load) {
  double ka = 1.0, cohesion = 0.0, threshold = 1.0e-10;
  switch (kind) {
    case kRock:
    case kWeakRock:
      return 0.0;
    case kSand:
      ka = rankineKa(phi, kPiCurves / 4.0);
      threshold = 1.0e-5;
      break;
    case kSilt:
      ka = rankineKa(phi, std::atan(1.0));
      cohesion = 2.0 * std::sqrt(ka) * cu * b;
      threshold = 1.0e-5;
      break;
    default:  // the clays
      cohesion = 2.0 * cu * b;
      break;
  }
  const double a = b * sigvp * ka - cohesion;
  const double bb = load / s - cohesion;
  const double shift = std::max(a, bb);
  return shift > threshold ? shift : 0.0;
}

PyPoints finishPoints(const PyPoints& raw, Side side, double pm, double ym, double shift) {
  PyPoints out = raw;
  const double sign = side == Side::Excavation ? -1.0 : 1.0;
  for (int j = 0; j < kPoints; ++j) {
    out.y[j] = ym * raw.y[j];
    out.p[j] = (raw.residual[j] ? raw.p[j] : pm * raw.p[j]) + sign * shift;
  }
  return out;
}

std::string scratchValue(double v) {
  if (std::fabs(v) < 1.0e-98) v = 0.0;
  return fmt::exponent(v, 10, 3);
}

CurveFinisher::CurveFinisher(const PySoilModel& model, const std::vector<PyModifierRow>& modifiers,
                             double sigvp, const std::vector<PressurePoint>& wallLoad,
                             const Streams& io, std::ostream& scratch, UnitTexts units)
    : model_(model), modifiers_(modifiers), sigvp_(sigvp), wallLoad_(wallLoad), io_(io), report_(io.report),
      scratch_(scratch), units_(std::move(units)) {}

double CurveFinisher::pMultiplier(double X) const { return pMultiplierAt(modifiers_, model_.s, model_.H, X); }
double CurveFinisher::yMultiplier(double X) const { return yMultiplierAt(modifiers_, X); }

double CurveFinisher::shift(int kind, const CurveSoil& soil) const {
  return activeShift(kind, soil.b, soil.cu, soil.phi, model_.s, sigvp_, wallLoadAt(wallLoad_, soil.X));
}

void CurveFinisher::beginCurve(int c) {
  const double X = model_.curveX[c];
  scratch_ << fmt::free(X) << " " << 2 * kPoints << "\n";
  report_ << "\n\n" << fmt::blanks(6) << "CURVE" << fmt::integer(c + 1, 4) << "   X ="
          << fmt::fixed(X, 10, 2) << units_.len3 << "   LAYER" << fmt::integer(model_.layerOfCurve(c) + 1, 3)
          << "\n";
}

void CurveFinisher::finish(int c, int kind, const CurveSoil& soil, const SideReport& side,
                           const PyPoints& raw) {
  const double X = model_.curveX[c];
  const double pm = pMultiplier(X), ym = yMultiplier(X);
  const PyPoints done = finishPoints(raw, side.side, pm, ym, shift(kind, soil));
  for (int j = 0; j < kPoints; ++j) {
    if (!std::isfinite(done.y[j]) || !std::isfinite(done.p[j])) {
      stopOnNonFinite(io_, (std::isfinite(done.y[j]) ? "SOIL RESISTANCE P OF POINT " : "DEFLECTION Y OF POINT ") +
                               std::to_string(j + 1) + " OF P-Y CURVE " + std::to_string(c + 1),
                      curvePlace(X, model_.layerOfCurve(c)) +
                          (side.side == Side::Excavation ? " (EXCAVATION SIDE)" : " (BACKFILL SIDE)"));
    }
  }

  // Heading and the kind's line of properties.
  report_ << "\n\n";
  if (!side.rock)
    report_ << fmt::blanks(9)
            << (side.side == Side::Excavation ? "AT THE EXCAVATION SIDE" : "AT THE BACKFILL SIDE") << "\n";
  std::string titles, unitsLine, values;
  for (const HeaderColumn& h : side.header) {
    const std::size_t w = std::max({h.title.size(), h.unit.size(), h.value.size()}) + 2;
    titles += right(h.title, w);
    unitsLine += right(h.unit, w);
    values += right(h.value, w);
  }
  report_ << fmt::blanks(3) << titles << "\n" << fmt::blanks(3) << unitsLine << "\n"
          << fmt::blanks(3) << values << "\n\n";
  if (side.softClay) {
    report_ << fmt::blanks(21) << right("Y, " + units_.len, 20) << right("P, " + units_.forcePerLength(), 20)
            << "\n";
  } else {
    report_ << fmt::blanks(21) << right("Y", 20) << right("P", 20) << "\n"
            << fmt::blanks(21) << right(units_.len, 20) << right(units_.forcePerLength(), 20) << "\n";
  }

  const char* sep = side.wideScratch ? "  " : " ";
  for (int j = 0; j < kPoints; ++j) {
    report_ << fmt::blanks(21) << row(done.y[j], side.form) << row(done.p[j], side.form) << "\n";
    if (side.softClay && j > 0 && side.smallDeflection[j]) {
      report_ << fmt::blanks(29) << "**** WARNING ****\n"
              << fmt::blanks(5) << "DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM\n"
              << fmt::blanks(5) << "USED A SOIL MODULUS OF " << fmt::scaled(side.es0, 12, 4) << "\n";
    }
    scratch_ << fmt::integer(j + 1, 5) << sep << scratchValue(done.p[j]) << sep << scratchValue(done.y[j])
             << "\n";
  }
  if (side.multiplierLine)
    report_ << fmt::blanks(21) << " P-Multiplier = " << fmt::exponent(pm, 10, 3) << " Y-Multiplier = "
            << fmt::exponent(ym, 10, 3) << "\n";
}

}  // namespace tarnel::engine::py

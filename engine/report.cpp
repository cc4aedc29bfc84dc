#include "engine/report.h"

#include "engine/fixed_format.h"

#include <algorithm>
#include <cctype>

namespace tarnel::engine {

namespace {

using fmt::blanks;

const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

std::string rtrim(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
  return s;
}

std::string padded(const std::string& s, std::size_t width) {
  std::string r = s.substr(0, std::min(width, s.size()));
  r.resize(width, ' ');
  return r;
}

std::string forcePerLength(const UnitLabels& l) { return l.force4 + "/" + l.len2; }
std::string stiffness(const UnitLabels& l) { return l.force4 + "-" + l.len2 + "**" + "2"; }
std::string couple(const UnitLabels& l) { return l.len3 + "-" + l.force3; }

}  // namespace

void writeFramedTitle(std::ostream& out, const std::string& title) {
  const std::string stars(50, '*');
  out << blanks(6) << stars << '\n' << blanks(6) << title << '\n' << blanks(6) << stars << '\n';
}

PathParts splitPath(const std::string& path) {
  PathParts p;
  std::string rest = path;
  if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0]))) {
    p.drive = rest.substr(0, 2);
    rest.erase(0, 2);
  }
  const auto slash = rest.find_last_of("/\\");
  if (slash != std::string::npos) {
    p.directory = rest.substr(0, slash + 1);
    rest.erase(0, slash + 1);
  }
  const auto dot = rest.find_last_of('.');
  if (dot != std::string::npos) {
    p.extension = rest.substr(dot);
    rest.erase(dot);
  }
  p.name = rest;
  p.drive = rtrim(p.drive);
  p.directory = rtrim(p.directory);
  p.name = rtrim(p.name);
  p.extension = rtrim(p.extension);
  return p;
}

void writeReportHeader(std::ostream& out, const std::string& version, const std::string& dataPath,
                       const std::string& reportPath, const std::string& plotPath, const std::tm& now) {
  const std::string rule(73, '=');
  out << blanks(5) << rule << "\n\n";
  out << blanks(20) << "  TARNEL for Windows, Version " << padded(version, 12) << "\n\n";
  out << blanks(20) << "   A Program for the Analysis of " << '\n';
  out << blanks(20) << "   Flexible Retaining Walls " << "\n\n";
  out << blanks(5) << rule << "\n\n\n";

  const PathParts data = splitPath(dataPath);
  const PathParts report = splitPath(reportPath);
  const PathParts plot = splitPath(plotPath);
  out << blanks(5) << "Path to file locations      : " << data.drive << data.directory << '\n';
  out << blanks(5) << "Name of input data file     : " << data.name << data.extension << '\n';
  out << blanks(5) << "Name of output file         : " << report.name << report.extension << '\n';
  out << blanks(5) << "Name of plot output file    : " << plot.name << plot.extension << '\n';
  out << '\n';

  const std::string dashes(73, '-');
  out << blanks(5) << dashes << '\n';
  out << blanks(26) << "Time and Date of Analysis" << '\n';
  out << blanks(5) << dashes << '\n';
  out << '\n';
  const int month = now.tm_mon + 1;
  if (month >= 1 && month <= 12) {
    out << blanks(15) << "Date:  " << kMonths[month - 1] << ' ' << fmt::twoDigits(now.tm_mday) << ", "
        << fmt::integer(now.tm_year + 1900, 4) << blanks(5) << "Time:  " << fmt::twoDigits(now.tm_hour) << ':'
        << fmt::twoDigits(now.tm_min) << ':' << fmt::twoDigits(now.tm_sec) << '\n';
  }
}

void writeTitleLine(std::ostream& out, int nStages, int problemCounter, const std::string& runTitle,
                    const std::string& title) {
  out << '\n' << blanks(6);
  if (nStages > 1) {
    out << "Stage No :" << fmt::integer(problemCounter, 2) << "  " << padded(runTitle, 70);
  } else if (problemCounter <= 1) {
    out << padded(title, 70);
  } else {
    out << "Long Term :" << "  " << padded(runTitle, 70);
  }
  out << '\n';
}

void setUnitLabels(UnitLabels& labels, int units) {
  if (units == 1) {
    labels = {" IN", " LBS", "IN", "LBS"};
  } else if (units == 2) {
    labels = {"  M", "  KN", " M", " KN"};
  }
}

void writeControlParameters(std::ostream& out, const ControlRecord& c) {
  out << "\n\n";
  writeFramedTitle(out, "*        PROGRAM CONTROL PARAMETERS              *");
  out << '\n';
  auto line = [&out](const char* label, int v) { out << blanks(6) << label << fmt::integer(v, 2) << '\n'; };
  line("NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES  = ", c.nSpecified);
  line("NO OF POINTS FOR WALL STIFFNESS AND LOAD DATA      = ", c.nStiffness);
  line("GENERATE EARTH PRESSURE INTERNALLY                 = ", c.earthPressure >= 2 ? 1 : 0);
  line("GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY   = ", c.pyOption == 2 ? 1 : 0);
  line("NO OF P-Y MODIFICATION FACTORS FOR GEN. P-Y CURVES = ", c.nPyModifiers);
  line("NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES  = ", c.nUserCurves);
}

void writeWallRecord(std::ostream& out, const WallRecord& w, const UnitLabels& l) {
  out << blanks(6) << "NUMBER OF INCREMENTS                               = " << fmt::integer(w.ninc, 3) << '\n';
  out << blanks(6) << "INCREMENT LENGTH                                   = " << fmt::fixed(w.h, 9, 3) << l.len3 << '\n';
  out << blanks(6) << "FREE HEIGHT OF WALL                                = " << fmt::fixed(w.freeHeight, 9, 3)
      << l.len3 << '\n';
  out << blanks(6) << "MAXIMUM ALLOWABLE DEFLECTION                       = " << fmt::fixed(w.dmax, 9, 3) << l.len3
      << '\n';
  out << blanks(6) << "DEFLECTION CLOSURE TOLERANCE                       = " << fmt::scaled(w.tol, 9, 3) << l.len3
      << '\n';
}

void writeNoTable(std::ostream& out) { out << '\n' << blanks(20) << '\n'; }

void writeSpecifiedHeading(std::ostream& out) {
  out << "\n\n";
  writeFramedTitle(out, "*        SPECIFIED DEFLECTIONS AND SLOPES        *");
  out << '\n';
  out << blanks(5) << "     STA      CASE       DEFLECTION        SLOPE" << '\n';
  out << '\n';
}

void writeSpecifiedRow(std::ostream& out, const RestraintRow& row) {
  out << blanks(10) << fmt::integer(row.station, 3) << blanks(7) << fmt::integer(row.kase, 2);
  if (row.kase >= 3) {
    out << blanks(3) << blanks(5) << fmt::exponent(row.deflection, 10, 3) << blanks(5) << fmt::exponent(row.slope, 10, 3);
  } else if (row.kase == 2) {
    out << blanks(11) << "NONE" << blanks(8) << fmt::exponent(row.slope, 10, 3);
  } else {
    out << blanks(8) << fmt::exponent(row.deflection, 10, 3) << blanks(9) << "NONE";
  }
  out << '\n';
}

void writeStiffnessHeading(std::ostream& out, const UnitLabels& l) {
  out << "\n\n";
  writeFramedTitle(out, "*        STIFFNESS AND LOAD DATA                 *");
  out << blanks(6) << "EI - FLEXURAL RIGIDITY,  Q - TRANSVERSE LOAD," << '\n';
  out << blanks(6) << "S - STIFFNESS OF TRANSVERSE RESISTANCE," << '\n';
  out << blanks(6) << "T - TORQUE,              P - AXIAL LOAD," << '\n';
  out << blanks(6) << "R - STIFFNESS OF TORSIONAL RESISTANCE." << '\n';
  out << '\n';
  out << "     FROM TO CONTD     EI         Q        S'        T         R         P" << '\n';
  out << '\n';
  out << blanks(18) << stiffness(l) << blanks(4) << l.force4 << blanks(4) << forcePerLength(l) << blanks(3)
      << couple(l) << blanks(2) << couple(l) << blanks(4) << l.force4 << '\n';
}

void writeStiffnessRow(std::ostream& out, int kind, int from, int to, int contd, const std::array<double, 6>& values) {
  if (kind == 2) {
    out << blanks(5) << fmt::integer(from, 4) << blanks(4) << fmt::integer(contd - 1, 3) << ' ';
  } else if (kind >= 3) {
    out << blanks(9) << fmt::integer(to, 4) << fmt::integer(contd - 1, 3) << ' ';
  } else {
    out << blanks(5) << fmt::integer(from, 4) << fmt::integer(to, 4) << fmt::integer(contd - 1, 3) << ' ';
  }
  for (double v : values) out << fmt::exponent(v, 10, 3);
  out << '\n';
}

void writePressureHeading(std::ostream& out, const UnitLabels& l, bool framed) {
  if (framed) {
    out << "\n\n";
    writeFramedTitle(out, "*        SPECIFIED ACTIVE EARTH PRESSURE         *");
    out << '\n';
  }
  out << "\n\n";
  out << blanks(8) << " DEPTH         ACTIVE EARTH PRESSURE" << '\n';
  out << blanks(8) << ' ' << l.len3 << blanks(17) << forcePerLength(l) << '\n';
  out << blanks(8) << "--------       ------------------------" << '\n';
}

void writePressureRow(std::ostream& out, double depth, double pressure) {
  out << blanks(6) << fmt::exponent(depth, 10, 3) << blanks(10) << fmt::exponent(pressure, 10, 3) << '\n';
}

std::vector<std::size_t> printedPressureRows(std::size_t count, int units) {
  std::vector<std::size_t> rows;
  const std::size_t stride = count > 50 ? (units == 1 ? 6 : 4) : 1;
  for (std::size_t i = 0; i < count; i += stride) rows.push_back(i);
  if (count > 0 && rows.back() != count - 1) rows.push_back(count - 1);
  return rows;
}

void writeEndOfAnalysis(std::ostream& out) {
  out << "\n\n\n" << "     END OF ANALYSIS                             " << '\n';
}

}  // namespace tarnel::engine

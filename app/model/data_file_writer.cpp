// Writing the project as a data file or a stage file in the current layout.
//
// The file keeps only option codes and counts; they are derived from the switches before
// each block, and tables whose option is off are emptied (their rows are dropped from the
// project too, as users of earlier versions expect). Reals use the 8-digit general format,
// records end with CR LF, and every record keeps the separators the engine was written for.
#include <cmath>
#include <string>
#include <utility>

#include "app/model/program_data.h"
#include "app/model/project_tables.h"
#include "app/model/units.h"
#include "app/model/real_format.h"
#include "app/model/text_file.h"

namespace tarnel::model {
namespace {

constexpr const char* kEol = "\r\n";
constexpr const char* kUnused = "0.0  ";  // soil parameter without meaning for the soil type

std::string R(double v) { return FormatReal(v, 8); }

std::string I(int v) { return std::to_string(v); }

struct Codes {
  int c[11] = {};  // c[1]..c[10]
};

class BlockWriter {
 public:
  explicit BlockWriter(TProgramData& p) : p_(p) {}

  // The rows of a switched-off table are dropped from the project, not only from the file;
  // grid tables get their default rows back, so the project equals what reopening gives.
  void EmptySwitchedOffTables() {
    const std::pair<bool, TGridTable*> tables[] = {
        {p_.ApplyConcLoads, &p_.BoundCond()}, {p_.ApplyRestraints, &p_.SoilLayer()},
        {p_.ApplyExtPY, &p_.PYCurves2()},     {p_.ApplyPYMod, &p_.PYMod()},
        {p_.ApplySprings, &p_.SoilStrength()}, {p_.ApplySurcharge, &p_.SurchargeTable()},
        {p_.ApplyTiebacks, &p_.TiebackTable1()}};
    for (const auto& [on, table] : tables) {
      if (on) continue;
      const bool changed = table->Changed();
      table->Clear();
      if (!table->ChartPaired()) table->PadToMinRows();
      // Dropping rows of a switched-off table is no edit of the user's.
      if (!changed) table->ClearChanged();
    }
    // Without a stiffness row the engine would skip every record up to the soil layers.
    p_.PileSect().PadToMinRows();
  }

  Codes DeriveCodes() {
    Codes k;
    k.c[1] = p_.Units;
    k.c[2] = p_.ApplyRestraints ? p_.SoilLayer().RowCount() : 0;
    k.c[3] = p_.PileSect().RowCount();
    k.c[4] = p_.ApplyPYMod ? p_.PYMod().RowCount() : 0;
    if (p_.EarthPressureChoice == 1)
      k.c[5] = 1;
    else
      k.c[5] = p_.GeneratePY ? p_.EarthPressureChoice : 0;
    k.c[6] = p_.GeneratePY ? 2 : (p_.ApplyExtPY ? 1 : 0);
    k.c[7] = p_.ApplyExtPY ? p_.PYCurves2().RowCount() : 0;
    k.c[8] = p_.StageCount;
    k.c[9] = p_.ApplyMEI ? p_.MEICurves2().RowCount() : 0;
    k.c[10] = p_.ApplyTiebacks ? p_.TiebackTable1().RowCount() : 0;
    return k;
  }

  // One problem block without its terminator.
  std::string Block(const std::string& title, bool longTerm) {
    const Codes k = DeriveCodes();
    const bool english = p_.Units == 1;
    const bool si = p_.Units == 2;
    std::string o;
    o += TitleRecord(title) + kEol;
    o += I(k.c[1]) + " " + I(k.c[2]) + "\t" + I(k.c[3]) + "\t" + I(k.c[4]) + "\t" + I(k.c[5]) + "\t" + I(k.c[6]) +
         " " + I(k.c[7]) + " " + I(k.c[8]) + " " + I(k.c[9]) + " " + I(k.c[10]) + kEol;
    o += I(p_.Increments) + " " + R(p_.IncrementLength) + "\t" + R(p_.MaxDeflection) + "\t" + R(p_.Tolerance) +
         "\t" + R(p_.FreeHeight) + "\t" + R(p_.WidthActive) + kEol;

    if (k.c[2] > 0) {
      TGridTable& t = p_.SoilLayer();
      for (int r = 0; r < t.RowCount(); ++r)
        o += t.Text(0, r) + "\t" + t.Text(1, r) + "\t" + t.Text(2, r) + "\t" + t.Text(3, r) + kEol;
    }
    {
      TGridTable& t = p_.PileSect();
      for (int r = 0; r < t.RowCount(); ++r) {
        // The last row always carries the constant code: there is no next line to
        // interpolate to.
        const std::string code = r == t.RowCount() - 1 ? "1" : t.Text(2, r);
        o += t.Text(0, r) + "\t" + t.Text(1, r) + "\t" + code + "\t" + t.Text(3, r) + kEol;
      }
    }
    {
      TGridTable& t = p_.BoundCond();
      const int n = p_.ApplyConcLoads ? t.RowCount() : 0;
      o += I(n) + kEol;
      for (int r = 0; r < n; ++r)
        o += t.Text(0, r) + "\t" + t.Text(1, r) + "\t" + t.Text(2, r) + "\t" + t.Text(3, r) + "\t" + t.Text(4, r) +
             "\t" + t.Text(5, r) + kEol;
    }
    {
      TGridTable& t = p_.SoilStrength();
      const int n = p_.ApplySprings ? t.RowCount() : 0;
      o += I(n) + kEol;
      for (int r = 0; r < n; ++r)
        o += t.Text(1, r) + "\t" + t.Text(2, r) + "\t" + t.Text(0, r) + "\t" + t.Text(3, r) + "\t" + t.Text(4, r) +
             kEol;
    }
    if (k.c[10] > 0) {
      TGridTable& t = p_.TiebackTable1();
      for (int r = 0; r < t.RowCount(); ++r) {
        const double area = si ? t.Real(1, r) / 1000.0 / 1000.0 : t.Real(1, r);
        o += t.Text(0, r) + "\t" + R(area) + "\t" + t.Text(2, r) + "\t" + t.Text(3, r) + "\t" + t.Text(4, r) + "\t" +
             t.Text(5, r) + "\t" + t.Text(6, r) + kEol;
      }
    }
    if (k.c[4] > 0) {
      TGridTable& t = p_.PYMod();
      for (int r = 0; r < t.RowCount(); ++r) {
        const double depth = english ? t.Real(0, r) * kInchesPerFoot : t.Real(0, r);
        o += R(depth) + "\t" + t.Text(1, r) + "\t" + t.Text(2, r) + kEol;
      }
    }
    if (k.c[5] == 1) {
      TGridTable& t = longTerm ? p_.LongDist() : p_.DistLoad();
      o += I(t.RowCount()) + kEol;
      for (int r = 0; r < t.RowCount(); ++r) {
        const double depth = english ? t.Real(0, r) * kInchesPerFoot : t.Real(0, r);
        const double load = english ? t.Real(1, r) / kInchesPerFoot : t.Real(1, r);
        o += R(depth) + "\t" + R(load) + kEol;
      }
    }
    if (k.c[5] >= 2 || k.c[6] == 2) {
      o += R(p_.FreeHeight) + "\t" + R(p_.WidthActive) + "\t" + R(p_.WidthPY) + "\t" + R(p_.WaterDepthBack) + "\t" +
           R(p_.WaterDepthExc) + "\t" + R(p_.ActiveFactor) + "\t" + I(p_.PressureSwitch) + "\t" +
           R(p_.BackfillSlope) + kEol;
      o += R(p_.UniformSurcharge);
      for (double v : p_.LegacySurcharge) o += "\t" + R(v);
      o += kEol;
      TGridTable& s = p_.SurchargeTable();
      const int n = p_.ApplySurcharge ? s.RowCount() : 0;
      o += I(n) + kEol;
      for (int r = 0; r < n; ++r)
        o += s.Text(0, r) + "\t" + s.Text(1, r) + "\t" + s.Text(2, r) + "\t" + s.Text(3, r) + kEol;
      o += SoilLayers(longTerm ? p_.LongSoil() : p_.NewSoil(), longTerm, english);
    }
    if (k.c[7] > 0) {
      TGridTable& t = p_.PYCurves2();
      for (int r = 0; r < t.RowCount(); ++r) {
        const TGridTable& c = t.SubTable(1, r);
        o += t.Text(0, r) + "\t" + I(c.RowCount()) + "\t" + t.Text(2, r) + "\t" + t.Text(3, r) + kEol;
        for (int q = 0; q < c.RowCount(); ++q) o += c.Text(0, q) + "\t" + c.Text(1, q) + kEol;
      }
    }
    if (k.c[9] > 0) {
      TGridTable& t = p_.MEICurves2();
      for (int r = 0; r < t.RowCount(); ++r) {
        const TGridTable& c = t.SubTable(2, r);
        o += t.Text(0, r) + "\t" + t.Text(1, r) + "\t" + I(c.RowCount()) + kEol;
        for (int q = 0; q < c.RowCount(); ++q) o += c.Text(0, q) + "\t" + c.Text(1, q) + kEol;
      }
    }
    return o;
  }

 private:
  // Layer line, then the top and the bottom parameter lines (P1..P6, each followed by a blank).
  static std::string SoilLayers(const TGridTable& soil, bool longTerm, bool english) {
    std::string o = I(soil.RowCount()) + kEol;
    for (int r = 0; r < soil.RowCount(); ++r) {
      const double depth = english ? soil.Real(1, r) * kInchesPerFoot : soil.Real(1, r);
      o += soil.Text(0, r) + " " + R(depth) + " " + kEol;
      const TGridTable& p = soil.SubTable(2, r);
      for (int row = 0; row < 2; ++row) {
        // A parameter in file units followed by a blank; English unit weights are stored per
        // cubic inch (/1728), cohesions per square inch (/144).
        auto v = [&](int col, double englishDivisor = 1.0) -> std::string {
          if (row >= p.RowCount() || col >= static_cast<int>(p.ColumnCount())) return kUnused;
          return R(english ? p.Real(col, row) / englishDivisor : p.Real(col, row)) + " ";
        };
        // The optional earth-pressure coefficient is not carried into the long-term problem.
        auto coefficient = [&](int col) -> std::string { return longTerm ? std::string(kUnused) : v(col); };
        switch (p.Identifier()) {
          case kTblSand1:
            o += v(0, kCubicInchesPerCubicFoot) + kUnused + v(1) + kUnused + v(2) + coefficient(3);
            break;
          case kTblSilt1:
            o += v(0, kCubicInchesPerCubicFoot) + v(2, kSquareInchesPerSquareFoot) + v(1) + v(3) + v(4) + coefficient(5);
            break;
          case kTblRock1:
            o += v(0, kCubicInchesPerCubicFoot) + v(1) + kUnused + kUnused + kUnused + kUnused;
            break;
          case kTblRock2:
            o += v(0, kCubicInchesPerCubicFoot) + v(1) + kUnused + v(2) + v(3) + v(4);
            break;
          default:  // the three clays
            o += v(0, kCubicInchesPerCubicFoot) + v(1, kSquareInchesPerSquareFoot) + kUnused + v(2) + v(3) + coefficient(4);
            break;
        }
        o += kEol;
      }
    }
    return o;
  }

  TProgramData& p_;
};

}  // namespace

std::string TitleRecord(std::string title) {
  for (char& ch : title)
    if (ch == '\r' || ch == '\n') ch = ' ';
  return title;
}

std::string TProgramData::ProjectText() {
  BlockWriter w(*this);
  w.EmptySwitchedOffTables();
  std::string text = w.Block(Title, false);
  if (LongTerm && StageCount <= 1) {
    text += std::string("9") + kEol;
    text += w.Block(Title, true);
  }
  text += std::string("0") + kEol;
  return text;
}

std::string TProgramData::StageText() {
  BlockWriter w(*this);
  w.EmptySwitchedOffTables();
  const std::string title = CurrentStage <= 1 ? Title : std::string(kStageHeading) + std::to_string(CurrentStage);
  return w.Block(title, false) + std::to_string(CurrentStage) + kEol;
}

bool TProgramData::NumbersFitTheFile() const {
  const double scalars[] = {IncrementLength, MaxDeflection,  Tolerance,     FreeHeight,       WidthActive,
                            WidthPY,         WaterDepthBack, WaterDepthExc, UniformSurcharge, ActiveFactor,
                            BackfillSlope};
  for (double v : scalars)
    if (!std::isfinite(v)) return false;
  for (double v : LegacySurcharge)
    if (!std::isfinite(v)) return false;
  for (const auto& t : tables_)
    if (!t->AllFinite()) return false;
  if (Units != 1) return true;
  // The depths the blocks above write in inches.
  const std::pair<const char*, int> inInches[] = {{"PYMod", 0}, {"DistLoad", 0}, {"LongDist", 0}, {"NewSoil", 1},
                                                  {"LongSoil", 1}};
  for (const auto& [name, column] : inInches) {
    const TGridTable& t = Table(name);
    for (int r = 0; r < t.RowCount(); ++r)
      if (!std::isfinite(t.Real(column, r) * kInchesPerFoot)) return false;
  }
  return true;
}

namespace {
FileResult TooLargeToWrite() {
  return FileResult::Fail("The project holds a number too large to be written in its units. The file was not saved.");
}
}  // namespace

FileResult TProgramData::WriteProject() { return WriteProject(FileName); }

FileResult TProgramData::WriteProject(const std::string& path) {
  if (!NumbersFitTheFile()) return TooLargeToWrite();
  FileResult r = WriteFileSafely(path, ProjectText());
  if (r) ClearModified();
  return r;
}

FileResult TProgramData::WriteStage(const std::string& path) {
  if (!NumbersFitTheFile()) return TooLargeToWrite();
  FileResult r = WriteFileSafely(path, StageText());
  if (r) ClearModified();
  return r;
}

}  // namespace tarnel::model

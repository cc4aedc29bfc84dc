// Reading data and stage files of every layout (codes 1..5) into the project.
//
// Values are taken word by word in record order; the layout code decides which records and
// fields exist (older control records, no tiebacks before layout 1, no surcharge table and no
// curve multipliers before layout 2, the oldest soil-layer form for codes 4 and 5). English
// values of layouts 1 to 3 are converted from the file's units to the units shown in the
// tables (the oldest layout held shown units). On an
// error the values read so far stay and the message names the line and item.
#include <cmath>

#include "app/model/program_data.h"
#include "app/model/project_tables.h"
#include "app/model/units.h"
#include "app/model/word_reader.h"

namespace tarnel::model {

class DataFileReader {
 public:
  DataFileReader(TProgramData& p, TWordReader& in, int layout) : p_(p), in_(in), layout_(layout) {}

  // Reads one problem block; returns its terminator (0 for the oldest layout, which has none).
  int Block(bool longTerm) {
    const std::string title = TitleRecord(in_.ReadLine());
    if (!longTerm) p_.Title = title;
    ResetSwitches();

    int c[11] = {};
    const int controlCount = layout_ == 1 ? 10 : layout_ == 2 ? 9 : layout_ == 3 ? 8 : 7;
    for (int i = 1; i <= controlCount; ++i) {
      c[i] = in_.ReadInteger();
      if (i == 1) p_.SetUnits(c[1]);  // converts the defaults; the file's values follow
    }
    if (controlCount < 8) c[8] = 1;
    english_ = p_.Units == 1;
    si_ = p_.Units == 2;
    p_.EarthPressureChoice = c[5] >= 1 && c[5] <= 3 ? c[5] : 1;
    p_.StageCount = c[8] >= 1 && c[8] <= 5 ? c[8] : 1;
    p_.GeneratePY = c[6] == 2 && c[5] != 0;
    p_.ApplyExtPY = c[7] > 0 || c[6] == 1;
    p_.ApplyRestraints = c[2] > 0;
    p_.ApplyPYMod = c[4] > 0;
    p_.ApplyMEI = c[9] > 0;
    p_.ApplyTiebacks = c[10] > 0;
    // Generated earth pressure needs the soil layers, which the project keeps only with
    // generated p-y curves: without them the choice is the user table, as the Options menu
    // makes it, and a save writes that (a choice 2 or 3 kept here would be saved as none).
    if (!p_.GeneratePY) p_.EarthPressureChoice = 1;
    if ((c[5] >= 2 || c[6] == 2) && !p_.GeneratePY) {
      // A file that generates only one of the two loses its soil layers.
      Drop(c[6] == 2
               ? "The file generates p-y curves without earth pressure; the project keeps the soil layers only "
                 "with both, so they are not kept. Saving will write the analysis without them."
               : "The file generates earth pressure without p-y curves; the project keeps the soil layers only "
                 "with both, so they are not kept. Saving will write the analysis without them.");
    }

    p_.Increments = in_.ReadInteger();
    p_.IncrementLength = Real();
    p_.MaxDeflection = Real();
    p_.Tolerance = Real();
    p_.FreeHeight = Real();
    // W6 repeats Wa of the earth-pressure record; it is kept so that Wa survives in projects
    // whose file has no earth-pressure record.
    if (layout_ == 1) p_.WidthActive = Real();

    // Restraints
    {
      TGridTable& t = p_.SoilLayer();
      t.Clear();
      for (int r = 0; r < c[2]; ++r) {
        t.AddRowGroup();
        t.SetInteger(0, r, in_.ReadInteger());
        t.SetInteger(1, r, in_.ReadInteger());
        t.SetReal(2, r, Real());
        t.SetReal(3, r, Real());
      }
    }
    // Stiffness
    {
      TGridTable& t = p_.PileSect();
      t.Clear();
      for (int r = 0; r < c[3]; ++r) {
        t.AddRowGroup();
        t.SetInteger(0, r, in_.ReadInteger());
        t.SetInteger(1, r, in_.ReadInteger());
        t.SetInteger(2, r, in_.ReadInteger());
        t.SetReal(3, r, Real());
      }
    }
    // Concentrated loads
    {
      TGridTable& t = p_.BoundCond();
      t.Clear();
      const int n = in_.ReadInteger();
      p_.ApplyConcLoads = n > 0;
      for (int r = 0; r < n; ++r) {
        t.AddRowGroup();
        t.SetInteger(0, r, in_.ReadInteger());
        t.SetInteger(1, r, in_.ReadInteger());
        t.SetInteger(2, r, in_.ReadInteger());
        for (int col = 3; col <= 5; ++col) t.SetReal(col, r, Real());
      }
    }
    // Springs: from, to, code in the file; code, from, to in the table.
    {
      TGridTable& t = p_.SoilStrength();
      t.Clear();
      const int n = in_.ReadInteger();
      p_.ApplySprings = n > 0;
      for (int r = 0; r < n; ++r) {
        t.AddRowGroup();
        t.SetInteger(1, r, in_.ReadInteger());
        t.SetInteger(2, r, in_.ReadInteger());
        t.SetInteger(0, r, in_.ReadInteger());
        t.SetReal(3, r, Real());
        t.SetReal(4, r, Real());
      }
    }
    // Tiebacks
    {
      TGridTable& t = p_.TiebackTable1();
      t.Clear();
      for (int r = 0; r < c[10]; ++r) {
        t.AddRowGroup();
        for (int col = 0; col < 6; ++col) {
          const double v = Real();
          t.SetReal(col, r, col == 1 && si_ ? Converted(v, 1000.0 * 1000.0) : v);  // m^2 in the file, mm^2 shown
        }
        // Older files of this layout have no prestressing force.
        if (in_.WordsLeftOnLine() > 0) t.SetReal(6, r, Real());
      }
    }
    // p-y modifiers
    {
      TGridTable& t = p_.PYMod();
      t.Clear();
      for (int r = 0; r < c[4]; ++r) {
        t.AddRowGroup();
        t.SetReal(0, r, Depth(Real()));
        t.SetReal(1, r, Real());
        t.SetReal(2, r, Real());
      }
    }
    // Distributed load
    if (c[5] == 1) {
      TGridTable& t = longTerm ? p_.LongDist() : p_.DistLoad();
      t.Clear();
      const int n = in_.ReadInteger();
      for (int r = 0; r < n; ++r) {
        t.AddRowGroup();
        t.SetReal(0, r, Depth(Real()));
        const double load = Real();
        t.SetReal(1, r, Converts() ? Converted(load, kInchesPerFoot) : load);
      }
    }
    if (c[5] >= 2 || c[6] == 2) {
      p_.FreeHeight = Real();
      p_.WidthActive = Real();
      p_.WidthPY = Real();
      p_.WaterDepthBack = Real();
      p_.WaterDepthExc = Real();
      p_.ActiveFactor = Real();
      // Early versions wrote 0.036 for the factor they meant as "no modification".
      if (p_.ActiveFactor == 0.036) p_.ActiveFactor = 1.0;
      p_.PressureSwitch = in_.ReadInteger();
      p_.BackfillSlope = Real();

      p_.UniformSurcharge = Real();
      for (double& v : p_.LegacySurcharge) v = Real();

      TGridTable& s = p_.SurchargeTable();
      s.Clear();
      if (layout_ <= 2) {
        const int n = in_.ReadInteger();
        p_.ApplySurcharge = n > 0;
        for (int r = 0; r < n; ++r) {
          s.AddRowGroup();
          s.SetInteger(0, r, in_.ReadInteger());
          for (int col = 1; col <= 3; ++col) s.SetReal(col, r, Real());
        }
      } else if (p_.LegacySurcharge[0] > 0) {
        // The single surcharge of older layouts becomes a point, a line and a strip load.
        for (int type = 1; type <= 3; ++type) {
          s.AddRowGroup();
          const int r = type - 1;
          s.SetInteger(0, r, type);
          s.SetReal(1, r, p_.LegacySurcharge[static_cast<std::size_t>(type)]);
          s.SetReal(2, r, p_.LegacySurcharge[0]);
          s.SetReal(3, r, p_.LegacySurcharge[4]);
        }
        p_.ApplySurcharge = true;
      }
      SoilLayers(longTerm ? p_.LongSoil() : p_.NewSoil(), longTerm);
    }
    // External p-y curves
    {
      TGridTable& t = p_.PYCurves2();
      t.Clear();
      if (c[6] <= 2) {
        for (int r = 0; r < c[7]; ++r) {
          t.AddRowGroup();
          t.SetInteger(0, r, in_.ReadInteger());
          const int n = in_.ReadInteger();
          if (layout_ <= 2) {
            t.SetReal(2, r, Real());
            t.SetReal(3, r, Real());
          } else {
            t.SetReal(2, r, 1.0);
            t.SetReal(3, r, 1.0);
          }
          Points(t.SubTable(1, r), n);
        }
      }
    }
    // Moment-EI curves
    {
      TGridTable& t = p_.MEICurves2();
      t.Clear();
      if (layout_ <= 2) {
        for (int r = 0; r < c[9]; ++r) {
          t.AddRowGroup();
          t.SetInteger(0, r, in_.ReadInteger());
          t.SetInteger(1, r, in_.ReadInteger());
          const int n = in_.ReadInteger();
          Points(t.SubTable(2, r), n);
        }
      }
    }
    if (layout_ >= 4) return 0;
    return in_.ReadInteger();
  }

 private:
  void ResetSwitches() {
    p_.ApplyConcLoads = false;
    p_.ApplySprings = false;
    p_.ApplySurcharge = false;
  }

  double Real() { return static_cast<double>(in_.ReadReal()); }
  void Drop(const std::string& message) {
    if (p_.DroppedData.find(message) != std::string::npos) return;
    p_.DroppedData += (p_.DroppedData.empty() ? "" : "\n") + message;
  }
  // A value of the word just read in the project's units. A number that reads but leaves
  // the range of a double on conversion would be kept as infinity and saved as 0, a
  // silent change of the user's data: it is refused like a number that does not read.
  double Converted(double fileValue, double factor) const {
    const double v = fileValue * factor;
    if (!std::isfinite(v)) in_.RefuseLastWord("The number is too large to be converted to the units of the project.");
    return v;
  }
  // Layouts up to 3.0 hold English values in inches and pounds; the oldest layout held them
  // as the user saw them, so nothing of it is converted.
  bool Converts() const { return english_ && layout_ <= 3; }
  // Depths are saved in inches: a depth in feet of the oldest layout that would not fit in
  // inches would be saved as 0, so it is refused like a number that does not read.
  double Depth(double fileValue) const {
    if (Converts()) return fileValue / kInchesPerFoot;
    if (english_ && !std::isfinite(fileValue * kInchesPerFoot))
      in_.RefuseLastWord("The number is too large to be saved in the units of the data file.");
    return fileValue;
  }

  void Points(TGridTable& curve, int n) {
    curve.Clear();
    for (int q = 0; q < n; ++q) {
      curve.AddRowGroup();
      curve.SetReal(0, q, Real());
      curve.SetReal(1, q, Real());
    }
  }

  // Column of a parameter position P1..P6 in the layer's sub-table, -1 when the position
  // has no meaning for the soil type.
  static int ColumnOf(int tableId, int position) {
    switch (tableId) {
      case kTblClay1: {
        static const int map[6] = {0, 1, -1, 2, 3, 4};
        return map[position];
      }
      case kTblSand1: {
        static const int map[6] = {0, -1, 1, -1, 2, 3};
        return map[position];
      }
      case kTblSilt1: {
        static const int map[6] = {0, 2, 1, 3, 4, 5};
        return map[position];
      }
      case kTblRock1: {
        static const int map[6] = {0, 1, -1, -1, -1, -1};
        return map[position];
      }
      case kTblRock2: {
        static const int map[6] = {0, 1, -1, 2, 3, 4};
        return map[position];
      }
      default: return -1;
    }
  }

  void StoreParameter(TGridTable& params, int row, int position, double v, bool longTerm, bool convert) {
    const int id = params.Identifier();
    const int col = ColumnOf(id, position);
    if (col < 0 || row >= params.RowCount()) return;
    const bool soil = id == kTblClay1 || id == kTblSand1 || id == kTblSilt1;
    if (longTerm && soil && position == 5) return;  // not carried into the long-term problem
    if (convert && Converts()) {
      if (position == 0) v = Converted(v, kCubicInchesPerCubicFoot);  // unit weight
      if (position == 1 && (id == kTblClay1 || id == kTblSilt1))
        v = Converted(v, kSquareInchesPerSquareFoot);  // cohesion
    }
    params.SetReal(col, row, v);
  }

  void SoilLayers(TGridTable& soil, bool longTerm) {
    soil.Clear();
    const int n = in_.ReadInteger();
    double bottom = 0;
    for (int r = 0; r < n; ++r) {
      soil.AddRowGroup();
      const int type = in_.ReadInteger();
      soil.SetInteger(0, r, type);
      TGridTable& params = soil.SubTable(2, r);
      if (layout_ <= 3) {
        soil.SetReal(1, r, Depth(Real()));
        for (int row = 0; row < 2; ++row)
          for (int pos = 0; pos < 6; ++pos) StoreParameter(params, row, pos, Real(), longTerm, true);
      } else {
        // Oldest layout: the thickness of the layer and one line of five values that serves
        // the top and the bottom; taken unconverted.
        bottom += Real();
        soil.SetReal(1, r, Depth(bottom));
        for (int pos = 0; pos < 5; ++pos) {
          const double v = Real();
          StoreParameter(params, 0, pos, v, longTerm, false);
          StoreParameter(params, 1, pos, v, longTerm, false);
        }
      }
    }
  }

  TProgramData& p_;
  TWordReader& in_;
  int layout_;
  bool english_ = true;
  bool si_ = false;
};

namespace {

void PadGridTables(TProgramData& p) {
  for (TGridTable* t : p.Tables())
    if (!t->ChartPaired()) t->PadToMinRows();
  // The last stiffness row is written with the constant code whatever it holds (there is no
  // next row to interpolate to); the project shows what a save will write.
  TGridTable& stiffness = p.PileSect();
  if (stiffness.RowCount() > 0) stiffness.SetInteger(2, stiffness.RowCount() - 1, 1);
  // A curve switch without curves is not in a saved file (its count is the number of
  // curves), except external curves without generation, which the p-y code itself records.
  if (p.PYCurves2().RowCount() == 0 && p.GeneratePY) p.ApplyExtPY = false;
  if (p.MEICurves2().RowCount() == 0) p.ApplyMEI = false;
}

// What of the short-term block the long-term block replaced: the project keeps one set of
// everything but the long-term distributed loads and soil layers, so a save writes the
// long-term values for both analyses.
void NoteLongTermDifferences(const TProgramData& shortTerm, TProgramData& p) {
  static const std::pair<const char*, const char*> shared[] = {
      {"PileSect", "Wall Stiffness"},
      {"SoilLayer", "Specified Deflections and Slopes"},
      {"BoundCond", "Concentrated Loads"},
      {"SoilStrength", "Lateral Springs and Rotation Restraints"},
      {"TiebackTable1", "Tiebacks"},
      {"PYMod", "p-y Modification Factors"},
      {"SurchargeTable", "Surcharge Loads"},
      {"PYCurves2", "External p-y Curves"},
      {"MEICurves2", "Moment vs EI Curves"},
  };
  std::vector<std::string> differ;
  // Scalars and switches: compare the projects with the long-term tables taken as equal.
  TProgramData scalars = shortTerm;
  for (const char* name : {"LongDist", "LongSoil"}) scalars.Table(name) = p.Table(name);
  for (const auto& [name, caption] : shared) scalars.Table(name) = p.Table(name);
  scalars.LongTerm = p.LongTerm;
  if (!scalars.SameContent(p)) differ.emplace_back("Control and Wall Values");
  for (const auto& [name, caption] : shared)
    if (!shortTerm.Table(name).SameData(p.Table(name), 1e-7)) differ.emplace_back(caption);
  if (differ.empty()) return;
  std::string list = differ.front();
  for (std::size_t i = 1; i < differ.size(); ++i) list += (i + 1 == differ.size() ? " and " : ", ") + differ[i];
  const bool one = differ.size() == 1;
  const std::string message = "The long-term block holds different " + list + "; the project keeps one " +
                              (one ? "set" : "set of each") + ", the long-term one. Saving will write " +
                              (one ? "it" : "them") + " for both analyses.";
  p.DroppedData += (p.DroppedData.empty() ? "" : "\n") + message;
}

FileResult ReadBlocks(TProgramData& p, TWordReader& in, int layout, bool stage) {
  FileResult result;
  try {
    DataFileReader reader(p, in, layout);
    const int terminator = reader.Block(false);
    p.LongTerm = false;
    // A staged project keeps one block per stage; a long-term block is read only after a
    // single-stage one, as it is written only there.
    if (!stage && terminator == 9 && layout <= 3 && p.StageCount <= 1) {
      in.SkipRestOfLine();
      // Set first: a long-term block that breaks off keeps what it read, and is saved.
      p.LongTerm = true;
      const TProgramData shortTerm = p;
      try {
        reader.Block(true);
      } catch (const ReadError&) {
        NoteLongTermDifferences(shortTerm, p);
        throw;
      }
      NoteLongTermDifferences(shortTerm, p);
    }
  } catch (const ReadError& e) {
    result = FileResult::Fail(e.what());
  }
  PadGridTables(p);
  return result;
}

int ClampLayout(int layoutCode) { return layoutCode < 1 ? 1 : (layoutCode > 5 ? 5 : layoutCode); }

}  // namespace

FileResult TProgramData::CreateFromFile(const std::string& path, int layoutCode) {
  CreateNew();
  FileName = path;
  for (TGridTable* t : Tables()) t->Clear();
  TWordReader in(path);
  FileResult result;
  if (!in.ok()) {
    PadGridTables(*this);
    result = FileResult::Fail("Cannot open file " + path);
  } else {
    result = ReadBlocks(*this, in, ClampLayout(layoutCode), false);
  }
  CurrentStage = 1;
  ClearModified();
  return result;
}

FileResult TProgramData::ReadStage(const std::string& path, int layoutCode) {
  TWordReader in(path);
  if (!in.ok()) return {};  // a stage without its file keeps the tables as they are
  const bool wasModified = IsModified();
  for (TGridTable* t : Tables()) t->Clear();
  FileResult result = ReadBlocks(*this, in, ClampLayout(layoutCode), true);
  if (wasModified)
    SetModified();
  else
    ClearModified();
  return result;
}

}  // namespace tarnel::model

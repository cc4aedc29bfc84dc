// The project: new project, unit switch, modified state and table lookup. Reading and
// writing of data and stage files live in data_file_reader.cpp and data_file_writer.cpp.
#include "app/model/program_data.h"
#include "app/model/real_format.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

#include "app/model/project_tables.h"
#include "app/model/units.h"

namespace tarnel::model {

TProgramData::TableList::TableList(const TableList& other) : std::vector<std::unique_ptr<TGridTable>>() {
  for (const auto& t : other) push_back(std::make_unique<TGridTable>(*t));
}

TProgramData::TableList& TProgramData::TableList::operator=(const TableList& other) {
  if (this != &other) *this = TableList(other);
  return *this;
}

namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

int LayoutCodeFromExtension(std::string_view path) {
  const std::string low = Lower(path);
  // Only the extension counts, not a folder name that happens to end alike.
  if (low.ends_with(".tn4d")) return kLayoutTn4d;
  if (low.ends_with(".tnd")) return kLayoutTnd30;
  return kLayoutTn5d;
}

const std::vector<std::string>& OpenDialogFileTypes() {
  static const std::vector<std::string> types{"Tarnel 2015 (*.tn5d)", "Tarnel 2013 (*.tn4d)",
                                              "Tarnel 3.0 (*.tnd)", "Tarnel 2.0 (*.tnd)", "All Files (*.*)"};
  return types;
}

const std::vector<OptionSwitch>& OptionSwitches() {
  static const std::vector<OptionSwitch> switches{
      {"ApplyRestraints", "Apply &Restraints on Deflection or Slope", "SoilLayer", &TProgramData::ApplyRestraints},
      {"ApplyConcLoads", "Apply &Concentrated Loads", "BoundCond", &TProgramData::ApplyConcLoads},
      {"ApplySprings", "Apply &Lateral Springs and Rotation Restraints", "SoilStrength",
       &TProgramData::ApplySprings},
      {"ApplyTiebacks", "Apply Tieback (Ground  Anchor)", "TiebackTable1", &TProgramData::ApplyTiebacks},
      {"ApplyPYMod", "Apply External p-y &Modification Factors ", "PYMod", &TProgramData::ApplyPYMod},
      {"ApplyExtPY", "Apply User Specified p-y Curves (&External)", "PYCurves2", &TProgramData::ApplyExtPY},
      {"ApplyMEI", "Apply Nonlinear Moment vs EI Curves", "MEICurves2", &TProgramData::ApplyMEI},
      {"ApplySurcharge", "Apply Additional Surcharge Loads", "SurchargeTable", &TProgramData::ApplySurcharge},
      {"GeneratePY", "Generate &p-y Curves", "NewSoil", &TProgramData::GeneratePY},
      {"LongTerm", "Conduct Short-Term and Long-Term &Analyses", "LongSoil", &TProgramData::LongTerm},
  };
  return switches;
}

// Every new project starts as a copy of one built from the table definitions once: copying
// the tables is far cheaper than building them (a data file is read into a new project, and
// opening one creates two).
const TProgramData& TProgramData::NewProject() {
  static const TProgramData project(BuildTag{});
  return project;
}

TProgramData::TProgramData() : TProgramData(NewProject()) {}

TProgramData::TProgramData(BuildTag) {
  for (const auto& name : ProjectTableNames()) {
    auto t = MakeTable(name);
    if (!t->ChartPaired()) t->PadToMinRows();
    t->ClearChanged();
    tables_.push_back(std::move(t));
  }
}

TGridTable& TProgramData::Table(std::string_view componentName) {
  for (auto& t : tables_)
    if (t->Name() == componentName) return *t;
  throw std::out_of_range("no project table named " + std::string(componentName));
}

const TGridTable& TProgramData::Table(std::string_view componentName) const {
  return const_cast<TProgramData*>(this)->Table(componentName);
}

std::vector<TGridTable*> TProgramData::Tables() {
  std::vector<TGridTable*> out;
  for (auto& t : tables_) out.push_back(t.get());
  return out;
}

void TProgramData::CreateNew() {
  auto callback = std::move(UnitsChanged);
  *this = NewProject();
  UnitsChanged = std::move(callback);
  ClearModified();
}

void TProgramData::SetUnits(int units) {
  units = ClampUnitSystem(units);
  const ScalarFactors f = ProjectScalarFactors(Units, units);
  if (f.valid) {
    const double b = f.b, c = f.c;
    for (double* v : {&IncrementLength, &MaxDeflection, &Tolerance, &FreeHeight, &WidthActive, &WidthPY,
                      &WaterDepthBack, &WaterDepthExc, &LegacySurcharge[0], &LegacySurcharge[4]})
      *v *= b;
    UniformSurcharge *= c / (b * b);
    LegacySurcharge[3] *= c / (b * b);
    LegacySurcharge[1] *= c;
    LegacySurcharge[2] *= c / b;
  }
  Units = units;
  for (auto& t : tables_) t->SetUnits(units);
  if (f.valid) {
    // The magnitude column's template ("SEE NOTES") carries no unit: its unit depends on the
    // row's load type.
    TGridTable& s = SurchargeTable();
    for (int r = 0; r < s.RowCount(); ++r)
      s.SetReal(1, r, s.Real(1, r) * SurchargeMagnitudeFactor(s.Integer(0, r), f));
  }
  if (UnitsChanged) UnitsChanged(units);
}

bool TProgramData::UnitsConvertible(int units) const {
  TProgramData converted = *this;
  converted.UnitsChanged = nullptr;
  converted.SetUnits(units);
  return converted.NumbersFitTheFile();
}

bool TProgramData::IsModified() const {
  if (Modified) return true;
  for (const auto& t : tables_)
    if (t->Changed()) return true;
  return false;
}

void TProgramData::ClearModified() {
  Modified = false;
  for (auto& t : tables_) t->ClearChanged();
}

bool TProgramData::SameContent(const TProgramData& o, double relTol) const {
  if (Title != o.Title || Units != o.Units || Increments != o.Increments || PressureSwitch != o.PressureSwitch ||
      EarthPressureChoice != o.EarthPressureChoice || StageCount != o.StageCount)
    return false;
  const auto reals = [](const TProgramData& p) {
    return std::array{p.IncrementLength, p.MaxDeflection, p.Tolerance, p.FreeHeight, p.WidthActive, p.WidthPY,
                      p.WaterDepthBack, p.WaterDepthExc, p.ActiveFactor, p.BackfillSlope, p.UniformSurcharge,
                      p.LegacySurcharge[0], p.LegacySurcharge[1], p.LegacySurcharge[2], p.LegacySurcharge[3],
                      p.LegacySurcharge[4]};
  };
  const auto a = reals(*this), b = reals(o);
  for (std::size_t i = 0; i < a.size(); ++i)
    if (!SameReal(a[i], b[i], relTol)) return false;
  for (const OptionSwitch& s : OptionSwitches())
    if (this->*s.member != o.*s.member) return false;
  for (std::size_t i = 0; i < tables_.size(); ++i)
    if (!tables_[i]->SameData(*o.tables_[i], relTol)) return false;
  return true;
}

}  // namespace tarnel::model

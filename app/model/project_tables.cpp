// Definitions of every project table, in one place: what the table editors show (captions,
// choices, unit templates, help texts) and what the data model needs (defaults, limits,
// minimum and maximum rows, which sub-table a soil type carries).
#include "app/model/project_tables.h"

#include <climits>
#include <functional>
#include <map>
#include <mutex>

namespace tarnel::model {
namespace {

using Lines = std::vector<std::string>;
using ColumnMaker = std::function<std::unique_ptr<TColumn>()>;

struct TableDef {
  int id;
  const char* name;
  const char* caption;
  int minRows;
  int maxRows;  // 0 = no limit
  std::vector<ColumnMaker> columns;
  std::string comments;
  const char* helpPicture = "";
  bool chart = false;
  ChartSettings chartSettings{};
};

const Lines kInterpolation{"Use Constant Value for all Nodes on this Line",
                           "Linear Interpolate to End Node of Next Line"};

ColumnMaker Choice(Lines caption, Lines items) {
  return [=] { return std::make_unique<TEnumColumn>(caption, items); };
}
ColumnMaker Int(Lines caption, int def, int min = INT_MIN, int max = INT_MAX) {
  return [=] { return std::make_unique<TIntColumn>(caption, def, min, max); };
}
ColumnMaker Real(Lines caption, const char* unitTemplate, double def = 0.0) {
  return [=] { return std::make_unique<TFloatColumn>(caption, unitTemplate, def); };
}
ColumnMaker Sub(Lines caption, std::vector<int> templateIds);

const std::string kSoilCoefficientHelp =
    "The user may optionally enter an earth pressure coefficient for generating the earth\n"
    "pressure of the layer. When a coefficient is entered, the earth pressure is the\n"
    "coefficient times the vertical soil pressure.\n"
    "Leave the coefficient zero to use the active earth pressure coefficient\n"
    "calculated internally by the program.";

const std::vector<TableDef>& Definitions() {
  static const std::vector<TableDef> defs = [] {
    const Lines from{"From Node No.", "(Start)"};
    const Lines to{"To Node No.", "(End)"};
    const Lines constant{"Constant or", "Interpolate?"};
    std::vector<TableDef> d;
    d.push_back({kPileSect, "PileSect", "Wall Stiffness", 1, 10,
                 {Int(from, 0, 0), Int(to, 1, 0), Choice(constant, kInterpolation),
                  Real({"Flexural Stiffness", "(EI)"}, "F-L^2")},
                 "The nodal number at the top of the wall is set to be 0.\n"
                 "Values of Flexural Stiffness (EI) must be specified for all nodes of the wall.\n"
                 "Linear interpolation (when selected) is performed from START node of previous line to END "
                 "node of the following line."});
    d.push_back({kSoilLayer, "SoilLayer", "Specify Deflection and Slope on Wall", 1, 10,
                 {Choice({"Case"}, {"Specify Deflection", "Specify Slope"}), Int({"Nodal No."}, 0, 0),
                  Real({"Deflection"}, "L"), Real({"Slope"}, "")},
                 ""});
    d.push_back({kBoundCond, "BoundCond", "Concentrated Loads on Wall", 1, 20,
                 {Choice(constant, kInterpolation), Int(from, 0, 0), Int(to, 1, 0), Real({"Lateral Load"}, "F"),
                  Real({"Moment"}, "F-L"), Real({"Axial Load"}, "F")},
                 "The concentrated loads are applied at nodal points only (including the specified START and "
                 "END nodes).\n"
                 "Linear interpolation (when selected) is performed from START node of previous line to END "
                 "node of the following line."});
    d.push_back({kSoilStrength, "SoilStrength", "Lateral Spring and Rotation Spring", 1, 20,
                 {Choice(constant, kInterpolation), Int(from, 0, 0), Int(to, 0),
                  Real({"Lateral Spring", "Stiffness"}, "F/L"), Real({"Rotational Spr.", "Stiff."}, "F-L/RAD.")},
                 "The spring stiffnesses are applied at nodal points only (including the specified START and "
                 "END nodes).\n"
                 "Linear interpolation (when selected) is performed from START node of previous line to END "
                 "node of the following line.",
                 "SoilStrength"});
    d.push_back({kTiebackTable1, "TiebackTable1", "Tieback (ground anchor) Table", 1, 20,
                 {Real({"Depth from", "top of wall"}, "L2"), Real({"Cross sectional area", "of steel rod"}, "L1^2"),
                  Real({"Elastic modulus", "of steel"}, "F/L^2"), Real({"Unbonded", "anchor length"}, "L2"),
                  Real({"Angle from", "horizontal"}, "DEG."), Real({"Anchor spacing", "in each row"}, "L2"),
                  Real({"Prestressing", "Force"}, "F")},
                 ""});
    d.push_back({kPYMod, "PYMod", "p-y Modification Factors", 2, 30,
                 {Real({"Depth"}, "L2"), Real({"p-Multiplier"}, "", 1.0), Real({"y-Multiplier"}, "", 1.0)},
                 ""});
    const std::vector<ColumnMaker> distColumns{Real({"Depth measured from", "the top of the wall"}, "L2"),
                                               Real({"Lateral distributed", "line load"}, "F/L2")};
    d.push_back({kDistLoad, "DistLoad", "Distributed Loads", 2, 100, distColumns, "", "DistLoad"});
    d.push_back({kLongDist, "LongDist", "Distributed Load (Long-Term)", 1, 0, distColumns, "", "DistLoad"});
    d.push_back({kSurchargeTable, "SurchargeTable", "Surcharge Loads", 1, 20,
                 {Choice({"Load Types"}, {"Point Load", "Line Load", "Strip Load"}),
                  Real({"Load Magnitude"}, "SEE NOTES"), Real({"Distance, X"}, "L1"),
                  Real({"Width of Strip", "Load, W"}, "L1")},
                 "The unit for point load is lbs or kN \n"
                 "The unit for line load is lbs/in. or kN/m \n"
                 "The unit for strip load is lbs/in^2 or kN/m^2 \n"
                 "For strip load, Distance X goes from the wall to the middle of the strip width"});
    const std::vector<int> soilTemplates{kTblClay1, kTblClay1, kTblClay1, kTblSand1, kTblSilt1, kTblRock1, kTblRock2};
    const std::vector<ColumnMaker> soilColumns{Choice({"Soil Type"}, SoilTypeNames()),
                                               Real({"Depth at Bottom", "of the Layer"}, "L2"),
                                               Sub({"Edit Soil", "Parameters"}, soilTemplates)};
    d.push_back({kNewSoil, "NewSoil", "Soil Layers", 1, 10, soilColumns, ""});
    d.push_back({kLongSoil, "LongSoil", "Soil Layers (Long-Term)", 1, 10, soilColumns, ""});

    const ColumnMaker weight = Real({"Total Unit", "Weight"}, "F/L2^3");
    const ColumnMaker cohesion = Real({"Cohesive", "Strength"}, "F/L2^2");
    const ColumnMaker friction = Real({"Friction", "Angle, deg."}, "");
    const ColumnMaker e50 = Real({"E50"}, "");
    const ColumnMaker k = Real({"p-y modulus", "k"}, "F/L^3");
    const ColumnMaker coefficient = Real({"Optional Earth", "Pressure Coefficient"}, "");
    const ColumnMaker strength = Real({"Uniaxial Compressive", "Strength"}, "F/L^2");
    d.push_back({kTblClay1, "TblClay1", "Clay", 2, 2, {weight, cohesion, e50, k, coefficient}, kSoilCoefficientHelp});
    d.push_back({kTblSand1, "TblSand1", "Sand", 2, 2, {weight, friction, k, coefficient}, kSoilCoefficientHelp});
    d.push_back({kTblSilt1, "TblSilt1", "Silt", 2, 2, {weight, friction, cohesion, e50, k, coefficient},
                 kSoilCoefficientHelp});
    d.push_back({kTblRock1, "TblRock1", "Strong Rock", 2, 2, {weight, strength}, ""});
    d.push_back({kTblRock2, "TblRock2", "Weak Rock", 2, 2,
                 {weight, strength, Real({"krm"}, ""), Real({"Elastic", "Modulus"}, "F/L^2"), Real({"RQD %"}, "")},
                 "* krm is a strain constant that seve to establish the overall stiffness of the curves"});

    ChartSettings curve;
    curve.getDataFromFile = true;
    d.push_back({kPYCurves2, "PYCurves2", "Sets of Ext. p-y Curves", 2, 30,
                 {Int({"Node #"}, 0), Sub({"p-y Curve"}, {kPYCurve2}), Real({"Multiplier", "for p-value"}, "", 1.0),
                  Real({"Multiplier", "for y-value"}, "", 1.0)},
                 "", "", true});
    d.push_back({kPYCurve2, "PYCurve2", "External p-y Curve", 2, 17,
                 {Real({"Lateral", "Deflection, y"}, "L"), Real({"Soil", "Resistance, p"}, "F/L")},
                 "* Use negative (-) values for deflections to the left (to backfill)\n"
                 "  and positive (+) values for deflections to the right (to excavation).\n"
                 "* The soil resistance p acts against the deflection:\n"
                 "  enter positive (+) values of p with negative (-) deflections\n"
                 "  and negative (-) values of p with positive (+) deflections.\n"
                 "* Enter the points in order of increasing deflection.\n"
                 "* The curve should pass through the origin (y = 0, p = 0).\n"
                 "* Between the points the program interpolates linearly.",
                 "", true, curve});
    d.push_back({kMEICurves2, "MEICurves2", "Nonlinear Moment vs EI Curves", 1, 20,
                 {Int(from, 0, 0, 1000), Int(to, 0, 0, 1000), Sub({"Moment-EI", "Curve"}, {kRows2})}, "", "", true});
    d.push_back({kRows2, "Rows2", "Moment and EI data", 1, 100,
                 {Real({"Bending", "moment"}, "F-L"), Real({"Flexural", "rigidity"}, "F-L^2")}, "", "", true, curve});
    return d;
  }();
  return defs;
}

const TableDef* FindDef(int id) {
  for (const auto& def : Definitions())
    if (def.id == id) return &def;
  return nullptr;
}

// Template tables are built once and shared by every sub-table column that refers to them.
std::shared_ptr<const TGridTable> Template(int id) {
  static std::mutex mutex;
  static std::map<int, std::shared_ptr<const TGridTable>> cache;
  {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = cache.find(id);
    if (it != cache.end()) return it->second;
  }
  std::shared_ptr<const TGridTable> t(MakeTable(id).release());
  std::lock_guard<std::mutex> lock(mutex);
  return cache.emplace(id, t).first->second;
}

ColumnMaker Sub(Lines caption, std::vector<int> templateIds) {
  return [=] {
    std::vector<std::shared_ptr<const TGridTable>> templates;
    for (int id : templateIds) templates.push_back(Template(id));
    return std::make_unique<TTableColumn>(caption, templates);
  };
}

}  // namespace

const std::vector<std::string>& SoilTypeNames() {
  static const std::vector<std::string> names{"Soft Clay", "Stiff Clay with Free Water", "Stiff Clay w/o Free Water",
                                              "Sand",      "Silt (c-phi soil)",          "Strong Rock",
                                              "Weak Rock"};
  return names;
}

const std::vector<std::string>& ProjectTableNames() {
  static const std::vector<std::string> names{"PileSect",      "SoilLayer", "BoundCond",      "SoilStrength",
                                              "TiebackTable1", "PYMod",     "DistLoad",       "LongDist",
                                              "SurchargeTable", "NewSoil",  "LongSoil",       "PYCurves2",
                                              "MEICurves2"};
  return names;
}

std::unique_ptr<TGridTable> MakeTable(int identifier) {
  const TableDef* def = FindDef(identifier);
  if (!def) return nullptr;
  auto t = std::make_unique<TGridTable>(def->id, def->name, def->caption, def->minRows, def->maxRows);
  t->Comments = def->comments;
  t->HelpPicture = def->helpPicture;
  if (def->chart) t->SetChart(def->chartSettings);
  for (const auto& make : def->columns) t->AddColumn(make());
  t->ClearChanged();
  return t;
}

std::unique_ptr<TGridTable> MakeTable(std::string_view componentName) {
  for (const auto& def : Definitions())
    if (componentName == def.name) return MakeTable(def.id);
  return nullptr;
}

}  // namespace tarnel::model

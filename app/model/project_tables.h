// The project's input tables, defined declaratively in project_tables.cpp: captions, column
// classes, choices, unit templates, defaults, limits, row counts and help texts. Editors
// display what these definitions hold; nothing of it lives in widget code.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/model/table.h"

namespace tarnel::model {

// Identifiers of the tables (sub-table columns refer to templates by these numbers).
enum TableIdentifier : int {
  kPileSect = 1,
  kSoilLayer = 2,
  kBoundCond = 3,
  kSoilStrength = 4,
  kTiebackTable1 = 5,
  kPYMod = 6,
  kDistLoad = 7,
  kLongDist = 8,
  kSurchargeTable = 9,
  kNewSoil = 10,
  kLongSoil = 11,
  kPYCurves2 = 12,
  kPYCurve2 = 13,
  kMEICurves2 = 14,
  kRows2 = 15,
  kTblSand1 = 17,
  kTblClay1 = 18,
  kTblSilt1 = 29,
  kTblRock1 = 30,
  kTblRock2 = 31,
};

// Component names of the project's top-level tables, in the order the project holds them:
// PileSect, SoilLayer, BoundCond, SoilStrength, TiebackTable1, PYMod, DistLoad, LongDist,
// SurchargeTable, NewSoil, LongSoil, PYCurves2, MEICurves2.
const std::vector<std::string>& ProjectTableNames();

// A fresh, empty table built from its definition (top-level tables and sub-table templates
// alike, e.g. "TblClay1", "PYCurve2"); nullptr for an unknown name or identifier.
std::unique_ptr<TGridTable> MakeTable(std::string_view componentName);
std::unique_ptr<TGridTable> MakeTable(int identifier);

// Names of the soil types (choice items of the "Soil Type" column), 1-based codes 1..7.
const std::vector<std::string>& SoilTypeNames();

}  // namespace tarnel::model

#pragma once
// The option switches of the Options menu and the rules that couple them. Pure functions
// over the project, shared by the main window's Options menu and the dialogs:
//   * p-y generation off forces earth-pressure choice 1, turns external p-y curves on and
//     surcharges and tiebacks off;
//   * choices 2 and 3 and turning the tieback switch on need p-y generation (a tieback
//     switch that is on can always be turned off);
//   * additional surcharges need choice 2 or 3 (choice 1 turns them off);
//   * the long-term analysis and staged construction exclude each other.
// Every setter returns what happened: whether the request was allowed, and the tables whose
// switch went off (their editor windows are to be closed). Allowed changes set the
// project's modified flag when something changed.
#include <string>
#include <vector>

namespace tarnel::model {
class TProgramData;
}

namespace tarnel::options {

enum class Switch {
  Restraints,   // SoilLayer
  ConcLoads,    // BoundCond
  Springs,      // SoilStrength
  Tiebacks,     // TiebackTable1
  PYMod,        // PYMod
  ExtPY,        // PYCurves2
  MEI,          // MEICurves2
  Surcharge,    // SurchargeTable
  GeneratePY,   // NewSoil, LongSoil
  LongTerm      // LongDist, LongSoil
};

struct Outcome {
  bool allowed = true;
  bool changed = false;
  std::vector<std::string> closedTables;  // component names of tables switched off
};

bool switchState(const tarnel::model::TProgramData& p, Switch s);
// Component names of the tables a switch governs.
std::vector<std::string> tablesOf(Switch s);

// Whether the menu item of a switch can be used now.
bool canToggle(const tarnel::model::TProgramData& p, Switch s);
bool canChooseEarthPressure(const tarnel::model::TProgramData& p, int choice);
// "Conduct &Staged-Construction Analysis..." and the "Stage Construction Option" button.
bool canUseStages(const tarnel::model::TProgramData& p);
// The Surcharge item shows unchecked while choice 1 is in force.
bool surchargeChecked(const tarnel::model::TProgramData& p);
// Soil layers feed the analysis when p-y curves or the earth pressure are generated from
// them (a file read with a generated earth pressure keeps them in use).
bool soilLayersInUse(const tarnel::model::TProgramData& p);

Outcome setSwitch(tarnel::model::TProgramData& p, Switch s, bool on);
Outcome toggle(tarnel::model::TProgramData& p, Switch s);
Outcome setEarthPressureChoice(tarnel::model::TProgramData& p, int choice);

}  // namespace tarnel::options

#include "option_coupling.h"

#include "app/model/program_data.h"

namespace tarnel::options {
namespace {

bool& ref(tarnel::model::TProgramData& p, Switch s) {
  switch (s) {
    case Switch::Restraints: return p.ApplyRestraints;
    case Switch::ConcLoads: return p.ApplyConcLoads;
    case Switch::Springs: return p.ApplySprings;
    case Switch::Tiebacks: return p.ApplyTiebacks;
    case Switch::PYMod: return p.ApplyPYMod;
    case Switch::ExtPY: return p.ApplyExtPY;
    case Switch::MEI: return p.ApplyMEI;
    case Switch::Surcharge: return p.ApplySurcharge;
    case Switch::GeneratePY: return p.GeneratePY;
    case Switch::LongTerm: return p.LongTerm;
  }
  return p.ApplyRestraints;
}

// Sets one switch without any coupling; records a table closed when it went off.
void assign(tarnel::model::TProgramData& p, Switch s, bool on, Outcome& out) {
  bool& v = ref(p, s);
  if (v == on) return;
  v = on;
  out.changed = true;
  if (!on)
    for (auto& t : tablesOf(s)) out.closedTables.push_back(t);
}

}  // namespace

bool switchState(const tarnel::model::TProgramData& p, Switch s) {
  return ref(const_cast<tarnel::model::TProgramData&>(p), s);
}

std::vector<std::string> tablesOf(Switch s) {
  switch (s) {
    case Switch::Restraints: return {"SoilLayer"};
    case Switch::ConcLoads: return {"BoundCond"};
    case Switch::Springs: return {"SoilStrength"};
    case Switch::Tiebacks: return {"TiebackTable1"};
    case Switch::PYMod: return {"PYMod"};
    case Switch::ExtPY: return {"PYCurves2"};
    case Switch::MEI: return {"MEICurves2"};
    case Switch::Surcharge: return {"SurchargeTable"};
    case Switch::GeneratePY: return {"NewSoil", "LongSoil"};
    case Switch::LongTerm: return {"LongDist", "LongSoil"};
  }
  return {};
}

bool canToggle(const tarnel::model::TProgramData& p, Switch s) {
  switch (s) {
    // Tiebacks need p-y generation to be turned on, but one that is on (a file read with
    // tiebacks and external curves) can always be turned off.
    case Switch::Tiebacks: return p.GeneratePY || p.ApplyTiebacks;
    case Switch::Surcharge: return p.EarthPressureChoice > 1;
    case Switch::LongTerm: return p.StageCount == 1;
    default: return true;
  }
}

bool canChooseEarthPressure(const tarnel::model::TProgramData& p, int choice) {
  if (choice == 1) return true;
  return (choice == 2 || choice == 3) && p.GeneratePY;
}

bool canUseStages(const tarnel::model::TProgramData& p) { return !p.LongTerm; }

bool surchargeChecked(const tarnel::model::TProgramData& p) {
  return p.ApplySurcharge && p.EarthPressureChoice > 1;
}

bool soilLayersInUse(const tarnel::model::TProgramData& p) {
  return p.GeneratePY || p.EarthPressureChoice > 1;
}

Outcome setSwitch(tarnel::model::TProgramData& p, Switch s, bool on) {
  Outcome out;
  // Turning a switch off is always allowed; turning it on may depend on others. The long
  // term switch is locked both ways while stages exist.
  if ((on || s == Switch::LongTerm) && !canToggle(p, s) && switchState(p, s) != on) {
    out.allowed = false;
    return out;
  }
  assign(p, s, on, out);
  if (s == Switch::GeneratePY && !on) {
    if (p.EarthPressureChoice != 1) {
      p.EarthPressureChoice = 1;
      out.changed = true;
    }
    assign(p, Switch::ExtPY, true, out);
    assign(p, Switch::Surcharge, false, out);
    assign(p, Switch::Tiebacks, false, out);
  }
  if (out.changed) p.SetModified();
  return out;
}

Outcome toggle(tarnel::model::TProgramData& p, Switch s) { return setSwitch(p, s, !switchState(p, s)); }

Outcome setEarthPressureChoice(tarnel::model::TProgramData& p, int choice) {
  Outcome out;
  if (!canChooseEarthPressure(p, choice)) {
    out.allowed = false;
    return out;
  }
  if (p.EarthPressureChoice != choice) {
    p.EarthPressureChoice = choice;
    out.changed = true;
  }
  if (choice == 1) assign(p, Switch::Surcharge, false, out);
  if (out.changed) p.SetModified();
  return out;
}

}  // namespace tarnel::options

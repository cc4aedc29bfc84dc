#include "fuzz/project_diff.h"

#include "app/model/project_tables.h"

#include <sstream>

namespace tarnel::fuzz {

std::string projectDifference(const model::TProgramData& a, const model::TProgramData& b) {
  std::ostringstream s;
  s.precision(17);
  auto field = [&](const char* name, auto x, auto y) {
    if (x != y) s << name << ": " << x << " / " << y << '\n';
  };
  field("Title", a.Title, b.Title);
  field("Units", a.Units, b.Units);
  field("Increments", a.Increments, b.Increments);
  field("IncrementLength", a.IncrementLength, b.IncrementLength);
  field("MaxDeflection", a.MaxDeflection, b.MaxDeflection);
  field("Tolerance", a.Tolerance, b.Tolerance);
  field("FreeHeight", a.FreeHeight, b.FreeHeight);
  field("WidthActive", a.WidthActive, b.WidthActive);
  field("WidthPY", a.WidthPY, b.WidthPY);
  field("WaterDepthBack", a.WaterDepthBack, b.WaterDepthBack);
  field("WaterDepthExc", a.WaterDepthExc, b.WaterDepthExc);
  field("ActiveFactor", a.ActiveFactor, b.ActiveFactor);
  field("PressureSwitch", a.PressureSwitch, b.PressureSwitch);
  field("BackfillSlope", a.BackfillSlope, b.BackfillSlope);
  field("UniformSurcharge", a.UniformSurcharge, b.UniformSurcharge);
  for (std::size_t i = 0; i < a.LegacySurcharge.size(); ++i)
    field("LegacySurcharge", a.LegacySurcharge[i], b.LegacySurcharge[i]);
  field("EarthPressureChoice", a.EarthPressureChoice, b.EarthPressureChoice);
  field("StageCount", a.StageCount, b.StageCount);
  for (const model::OptionSwitch& o : model::OptionSwitches()) field(o.name, a.*o.member, b.*o.member);
  for (const std::string& name : model::ProjectTableNames()) {
    const model::TGridTable& x = a.Table(name);
    const model::TGridTable& y = b.Table(name);
    if (x.SameData(y, 1e-7)) continue;
    s << "table " << name << ": rows " << x.RowCount() << " / " << y.RowCount() << '\n';
    for (int r = 0; r < std::min(x.RowCount(), y.RowCount()); ++r)
      for (std::size_t c = 0; c < x.ColumnCount(); ++c)
        if (x.Text(static_cast<int>(c), r) != y.Text(static_cast<int>(c), r))
          s << "  cell " << c << "," << r << ": " << x.Text(static_cast<int>(c), r) << " / "
            << y.Text(static_cast<int>(c), r) << '\n';
  }
  return s.str();
}

}  // namespace tarnel::fuzz

#include "app/main/run/run_checks.h"

#include "app/main/dialogs/option_coupling.h"

#include "app/model/program_data.h"
#include "app/model/real_format.h"

using tarnel::model::TGridTable;
using tarnel::model::TProgramData;

namespace {

// Reals in the messages: general format, up to 15 significant digits.
QString real(double v) { return QString::fromStdString(tarnel::model::FormatReal(v, 15)); }

constexpr int kSand = 4;
constexpr int kSilt = 5;

}  // namespace

std::optional<QString> checkBeforeRun(const TProgramData& project) {
  TProgramData& p = const_cast<TProgramData&>(project);  // table access only reads

  // 1. Stiffness rows must stay on the wall.
  const int n = p.Increments;
  const TGridTable& stiffness = p.PileSect();
  for (int r = 0; r < stiffness.RowCount(); ++r) {
    const int from = stiffness.Integer(0, r);
    const int to = stiffness.Integer(1, r);
    const bool fromBad = from > n;
    if (fromBad || to > n) {
      return QStringLiteral("%1, %2 in row %3 of Wall Stiffness definition\n"
                            "is greater than number of nodes defined, %4.\n"
                            "Please check on Wall Properties Windows and Wall Stiffness Table")
          .arg(fromBad ? QStringLiteral("Initial Node") : QStringLiteral("End Node"))
          .arg(fromBad ? from : to)
          .arg(r + 1)
          .arg(n);
    }
  }

  // 2. A sloping backfill cannot stand steeper than the friction angle of its sand or silt.
  const double beta = p.BackfillSlope;
  const TGridTable& soils = p.NewSoil();
  if (beta > 0) {
    for (int j = 0; j < soils.RowCount(); ++j) {
      const int type = soils.Integer(0, j);
      if (type != kSand && type != kSilt) continue;
      const TGridTable& params = soils.SubTable(2, j);
      if (params.RowCount() < 1 || params.ColumnCount() < 2) continue;
      const double phi = params.Real(1, 0);  // friction angle at the top of the layer
      if (phi >= beta) continue;
      if (type == kSand)
        return QStringLiteral("Slope of the Backfill: %1 deg.\n"
                              "is greater than friction angle, %2 deg.,\n"
                              "in layer %3\n"
                              "Please check on Wall Configuration and Soil Layers Windows")
            .arg(real(beta), real(phi))
            .arg(j + 1);
      return QStringLiteral("Slope of the Backfill: %1\n"
                            "is greater than friction angle, %2,\n"
                            "in layer %3\n"
                            "Please check Soil Layers")
          .arg(real(beta), real(phi))
          .arg(j + 1);
    }
  }

  // 3. The soil layers must reach the tip of the wall when they are used.
  if (tarnel::options::soilLayersInUse(p) && soils.RowCount() > 0) {
    double wallDepth = p.Increments * p.IncrementLength;
    if (p.Units == 1) wallDepth /= 12.0;  // inches to feet, the unit of the layer depths
    const double bottom = soils.Real(1, soils.RowCount() - 1);
    if (bottom < wallDepth) {
      const QString unit = p.Units == 1 ? QStringLiteral(" ft") : QStringLiteral(" m");
      return QStringLiteral("Depth of Bottom of Soil Layering: %1%3\n"
                            "should extend at least below Depth of Wall: %2%3\n"
                            "Please check Soil Layer Data and/or Wall Properties Windows")
          .arg(real(bottom), real(wallDepth), unit);
    }
  }
  return std::nullopt;
}

#include "app/results/result_charts.h"

#include <QFileInfo>

namespace {

struct DesignSettings {
  const char* caption;
  const char* curveName;
  const char* xCaption;
  const char* xUnits;
  const char* yCaption;
  const char* yUnits;
  bool xOnTop;
};

// Captions and axes as the charts are made; LoadPlotFile adds the units of the run.
constexpr std::array<DesignSettings, kChartCount> kDesign = {{
    {"p-y Curves", "Depth ", "y", "L", "p", "F/L", false},
    {"Deflection vs Depth", "Load #", "Deflection", "L", "Depth", "", true},
    {"Moment vs Depth", "Load #", "Bending Moment", "", "Depth", "", true},
    {"Shear vs Depth", "Load #", "Shear", "", "Depth", "", true},
    {"Net Reaction vs Depth", "Load #", "Reaction", "F", "Depth", "", true},
    {"Deflection, Moment, Shear vs Depth", "Curve #", "Deflection", "L", "Depth", "", true},
    {"Earth Pressure Distribution", "Curve #", "Distributed load", "F/L", "Depth", "", true},
    {"Earth Pressure Combined", "Curve #", "Distributed Load", "F/L", "Depth", "L2", true},
}};

}  // namespace

const std::array<ChartNames, kChartCount>& ChartTable() {
  static const std::array<ChartNames, kChartCount> table = {{
      {ChartId::PY, "pltPY", "Comppy", "SpeedButton13", "py"},
      {ChartId::Def, "pltDef", "CompDef", "SpeedButton8", "deflection"},
      {ChartId::Mom, "pltMom", "CompMom", "SpeedButton11", "moment"},
      {ChartId::Shear, "pltShear", "CompShear", "SpeedButton10", "shear"},
      {ChartId::Soil, "pltSoil", "CompSoil", "SpeedButton12", "reaction"},
      {ChartId::DMS, "pltDMS", "DefMomShear", "SpeedButton19", "dms"},
      {ChartId::LD, "pltLD", "CompLD", "SpeedButton9", "pressure"},
      {ChartId::Combine, "PltCombine", "CompCombine", "", "combined"},
  }};
  return table;
}

bool ChartFromWord(const QString& word, ChartId* id) {
  for (const ChartNames& c : ChartTable()) {
    if (word.compare(QLatin1String(c.word), Qt::CaseInsensitive) == 0) {
      *id = c.id;
      return true;
    }
  }
  return false;
}

ResultCharts::ResultCharts() {
  for (int i = 0; i < kChartCount; ++i) {
    auto plot = std::make_unique<TGraphPlot>();
    const DesignSettings& d = kDesign[i];
    plot->Caption = QString::fromLatin1(d.caption);
    plot->CurveName = QString::fromLatin1(d.curveName);
    plot->XCaption = QString::fromLatin1(d.xCaption);
    plot->XUnits = QString::fromLatin1(d.xUnits);
    plot->YCaption = QString::fromLatin1(d.yCaption);
    plot->YUnits = QString::fromLatin1(d.yUnits);
    plot->XOnTop = d.xOnTop;
    plot->ShowLegend = true;
    charts_[i] = std::move(plot);
  }
}

bool ResultCharts::CommandEnabled(ChartId id, bool plotFileExists) const {
  if (!PlotsLoaded || !plotFileExists) return false;
  switch (id) {
    case ChartId::DMS:
      return Chart(ChartId::Def).HasData() && Chart(ChartId::Mom).HasData() &&
             Chart(ChartId::Shear).HasData();
    case ChartId::Combine:
      return true;
    default:
      return Chart(id).HasData();
  }
}

QString PlotFileFor(const QString& dataFile) {
  const QFileInfo info(dataFile);
  const QString base = info.suffix().isEmpty() ? dataFile : dataFile.left(dataFile.size() - info.suffix().size() - 1);
  return base + QStringLiteral(".tn5p");
}

// The eight result charts of a run and the reader that fills them from the plot file.
//
// The charts are made once, with their captions and axis settings, and live as long as
// their owner (the main window, or a command-line tool). LoadPlotFile empties them and reads
// the plot file token by token: the earth pressure, the p-y curves and the wall results of
// every result section (one per stage, or short term then long term). A reading that fails
// keeps the points read so far and says where it stopped; the chart commands then stay off.
#pragma once

#include <QString>
#include <array>
#include <memory>

#include "app/results/graph_plot.h"

namespace tarnel::model {
class TProgramData;
}

enum class ChartId { PY = 0, Def, Mom, Shear, Soil, DMS, LD, Combine };
inline constexpr int kChartCount = 8;

// Names a chart goes by: its component name, its Graphics command, its tool-bar button (empty
// for the combined chart, which has none) and the word the command-line tools take.
struct ChartNames {
  ChartId id;
  const char* component;
  const char* command;
  const char* toolButton;
  const char* word;
};
const std::array<ChartNames, kChartCount>& ChartTable();
// The chart a command-line word names (case-insensitive); false when none does.
bool ChartFromWord(const QString& word, ChartId* id);

class ResultCharts {
 public:
  ResultCharts();
  ResultCharts(const ResultCharts&) = delete;
  ResultCharts& operator=(const ResultCharts&) = delete;

  TGraphPlot& Chart(ChartId id) { return *charts_[static_cast<int>(id)]; }
  const TGraphPlot& Chart(ChartId id) const { return *charts_[static_cast<int>(id)]; }
  TGraphPlot& pltPY() { return Chart(ChartId::PY); }
  TGraphPlot& pltDef() { return Chart(ChartId::Def); }
  TGraphPlot& pltMom() { return Chart(ChartId::Mom); }
  TGraphPlot& pltShear() { return Chart(ChartId::Shear); }
  TGraphPlot& pltSoil() { return Chart(ChartId::Soil); }
  TGraphPlot& pltDMS() { return Chart(ChartId::DMS); }
  TGraphPlot& pltLD() { return Chart(ChartId::LD); }
  TGraphPlot& PltCombine() { return Chart(ChartId::Combine); }

  // Reads the plot file into the charts. `project` gives the soil layers and the wall for
  // the three-panel chart, the unit system of the combined chart and whether two sections
  // are short and long term. Returns true when the whole file was read; otherwise `error`
  // (when given) says where and why the reading stopped. Sets PlotsLoaded.
  bool LoadPlotFile(const QString& path, const tarnel::model::TProgramData& project,
                    QString* error = nullptr);
  // The same from text in memory (what the file reader does after reading the file).
  bool LoadPlotText(std::string_view text, const tarnel::model::TProgramData& project,
                    QString* error = nullptr);

  // True when the last reading read the whole file; false before the first one.
  bool PlotsLoaded = false;

  // Whether a chart's command is on, given that the plot file still exists: every command
  // needs a complete reading and the file; the single charts need a line of more than one
  // point; the three-panel chart needs deflection, moment and shear; the combined chart
  // and the export need nothing more.
  bool CommandEnabled(ChartId id, bool plotFileExists) const;
  bool ExportEnabled(bool plotFileExists) const { return PlotsLoaded && plotFileExists; }

 private:
  std::array<std::unique_ptr<TGraphPlot>, kChartCount> charts_;
};

// The plot file of a data file: the same name with the extension ".tn5p".
QString PlotFileFor(const QString& dataFile);

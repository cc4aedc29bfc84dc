#include "app/results/tool_plot_reading.h"

#include <QDir>
#include <QFileInfo>

#include "app/model/program_data.h"

ToolPlotReading ReadPlotFileForTool(const QString& plotFile, const QString& dataFile, ResultCharts& charts) {
  ToolPlotReading r;
  if (!QFileInfo(plotFile).isFile()) {
    r.problem = QStringLiteral("%1: no such plot file").arg(plotFile);
    return r;
  }
  r.dataFile = dataFile;
  if (r.dataFile.isEmpty()) {
    const QFileInfo plot(plotFile);
    const QString beside = plot.dir().filePath(plot.completeBaseName() + QStringLiteral(".tn5d"));
    if (QFileInfo::exists(beside)) r.dataFile = beside;
  }
  tarnel::model::TProgramData project;
  if (!r.dataFile.isEmpty()) {
    const std::string path = QDir::toNativeSeparators(r.dataFile).toStdString();
    const auto read = project.CreateFromFile(path, tarnel::model::LayoutCodeFromExtension(path));
    if (!read.ok) {
      r.problem = QStringLiteral("%1: %2").arg(r.dataFile, QString::fromStdString(read.message));
      return r;
    }
  }
  QString error;
  r.ok = charts.LoadPlotFile(plotFile, project, &error);
  // Without its data file, take the units from the plot file itself.
  if (r.ok && r.dataFile.isEmpty() && charts.pltDef().Units() != project.Units) {
    project.SetUnits(charts.pltDef().Units());
    r.ok = charts.LoadPlotFile(plotFile, project, &error);
  }
  if (!r.ok) r.problem = QStringLiteral("%1: %2").arg(plotFile, error.replace(QLatin1Char('\n'), QLatin1String(": ")));
  return r;
}

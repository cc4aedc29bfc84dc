// tarnel-export — writes the result charts of a plot file as a spreadsheet workbook or as
// CSV files, with the reader and the writers of the interactive program's "Export Plots To
// Excel", for scripted studies and for checks without a display.
//
//   tarnel-export FILE.tn5p OUT.xlsx [--charts LIST] [--data FILE.tn5d]
//   tarnel-export FILE.tn5p --csv DIR [--charts LIST] [--data FILE.tn5d]
//
// LIST is a comma-separated list of py, deflection, shear, moment, reaction, pressure and
// combined, written in the order given; without it every chart that has data is written in
// that order. The project (units, short/long-term naming) comes from the data file beside the
// plot file, or from --data.
//
// Exit codes, as tarnel-plot's: 0 written; 1 wrong usage; 2 a missing or malformed plot or
// data file, or the output could not be written; 3 a chosen chart has no data.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cstdio>

#include "app/results/chart_csv.h"
#include "app/results/export_selection.h"
#include "app/results/result_charts.h"
#include "app/results/tool_plot_reading.h"
#include "app/results/workbook_export.h"

namespace {

constexpr const char* kUsage =
    "usage: tarnel-export FILE.tn5p OUT.xlsx [--charts LIST] [--data FILE.tn5d]\n"
    "       tarnel-export FILE.tn5p --csv DIR [--charts LIST] [--data FILE.tn5d]\n"
    "  LIST: comma-separated, from py, deflection, shear, moment, reaction, pressure, combined\n"
    "        (default: every chart that has data)";

void print(FILE* f, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), f);
  std::fputc('\n', f);
}

int usage(const QString& why = {}) {
  if (!why.isEmpty()) print(stderr, QStringLiteral("tarnel-export: ") + why);
  print(stderr, QString::fromLatin1(kUsage));
  return 1;
}

// The chart words of LIST, checked against the exportable charts.
bool parseCharts(const QString& list, std::vector<ChartId>& ids, QString& error) {
  for (const QString& raw : list.split(QLatin1Char(','))) {
    const QString word = raw.trimmed();
    ChartId id{};
    const auto& offered = ExportableCharts();
    if (!ChartFromWord(word, &id)) {
      error = QStringLiteral("no chart is called \"%1\"").arg(word);
      return false;
    }
    if (std::find(offered.begin(), offered.end(), id) == offered.end()) {
      error = QStringLiteral("the chart \"%1\" is not exported: its panels are the deflection, moment and shear charts").arg(word);
      return false;
    }
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
  }
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments();
  args.removeFirst();
  QStringList files;
  QString chartList, dataFile, csvDir;
  bool csv = false, chartsGiven = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
      print(stdout, QString::fromLatin1(kUsage));
      return 0;
    } else if (a == QLatin1String("--charts") || a == QLatin1String("--data") || a == QLatin1String("--csv")) {
      if (i + 1 >= args.size()) return usage(a + QStringLiteral(" needs a value"));
      const QString v = args[++i];
      if (a == QLatin1String("--charts")) chartList = v, chartsGiven = true;
      else if (a == QLatin1String("--data")) dataFile = v;
      else csvDir = v, csv = true;
    } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
      return usage(QStringLiteral("unknown option ") + a);
    } else {
      files << a;
    }
  }
  if (files.size() != (csv ? 1 : 2)) return usage();
  const QString plotFile = files[0];

  std::vector<ChartId> ids;
  if (chartsGiven) {
    QString error;
    if (!parseCharts(chartList, ids, error)) return usage(error);
  }

  ResultCharts charts;
  const ToolPlotReading reading = ReadPlotFileForTool(plotFile, dataFile, charts);
  if (!reading.ok) {
    print(stderr, QStringLiteral("tarnel-export: ") + reading.problem);
    return 2;
  }
  if (reading.dataFile.isEmpty())
    print(stderr, QStringLiteral("tarnel-export: note: no data file beside %1; the names of short- and "
                                 "long-term results need it (--data)").arg(plotFile));

  if (chartsGiven) {
    for (ChartId id : ids)
      if (!ExportChoosable(charts, id, true)) {
        print(stderr, QStringLiteral("tarnel-export: the chart \"%1\" has no data in %2")
                          .arg(QString::fromLatin1(ChartTable()[static_cast<std::size_t>(id)].word), plotFile));
        return 3;
      }
  } else {
    for (ChartId id : ExportableCharts())
      if (ExportChoosable(charts, id, true)) ids.push_back(id);
    if (ids.empty()) {
      print(stderr, QStringLiteral("tarnel-export: no chart of %1 has data").arg(plotFile));
      return 3;
    }
  }

  const std::vector<ExportedChart> exported = ExportedChartsOf(charts, ids);
  const QString error = csv ? WriteChartCsvFiles(exported, csvDir) : WriteChartWorkbook(exported, files[1]);
  if (!error.isEmpty()) {
    print(stderr, QStringLiteral("tarnel-export: ") + error);
    return 2;
  }
  QStringList words;
  for (const ExportedChart& c : exported) words << c.key;
  print(stdout, QStringLiteral("%1: %2").arg(csv ? csvDir : files[1], words.join(QStringLiteral(", "))));
  return 0;
}

#include "app/results/chart_csv.h"

#include <QDir>
#include <QSaveFile>
#include <cmath>

#include "app/results/graph_plot.h"

namespace {

QString field(const QString& text) {
  if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')) &&
      !text.contains(QLatin1Char('\r')))
    return text;
  QString quoted = text;
  quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// An empty field where the value is no number; a negative zero reads as 0.
QString number(double v) {
  if (!std::isfinite(v)) return {};
  return GeneralNumber(v == 0 ? 0.0 : v, 15);
}

}  // namespace

QString ChartCsvText(const TGraphPlot& plot) {
  QStringList header;
  const QString x = plot.XTitle(), y = plot.YTitle();
  for (int t = 0; t < plot.LineCount(); ++t) {
    const QString name = plot.DisplayName(t);
    header << field(name + QStringLiteral(": ") + x) << field(name + QStringLiteral(": ") + y);
  }
  QString text = header.join(QLatin1Char(',')) + QStringLiteral("\r\n");
  for (int j = 0; j < plot.PointCount(); ++j) {
    QStringList row;
    for (int t = 0; t < plot.LineCount(); ++t) {
      const TFloatPoint& p = plot.Point(t, j);
      row << number(p.X) << number(p.Y);
    }
    text += row.join(QLatin1Char(',')) + QStringLiteral("\r\n");
  }
  return text;
}

QString WriteChartCsvFiles(const std::vector<ExportedChart>& charts, const QString& folder, const QString& prefix) {
  if (QString bad = CheckExportedCharts(charts); !bad.isEmpty()) return bad;
  if (!QDir(folder).exists()) return QStringLiteral("The folder %1 does not exist.").arg(QDir::toNativeSeparators(folder));
  for (const ExportedChart& c : charts) {
    const QString path = QDir(folder).filePath(prefix + c.key + QStringLiteral(".csv"));
    QSaveFile out(path);
    const QByteArray bytes = ChartCsvText(*c.plot).toUtf8();
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
      return QStringLiteral("The file %1 could not be written: %2.").arg(QDir::toNativeSeparators(path), out.errorString());
  }
  return {};
}

// Built top to bottom in the order a reader meets the workbook: the index sheet, then per
// chart its data sheet and its chart sheet. libxlsxwriter writes to a scratch folder; the
// finished package gets the legend's border and fill (which libxlsxwriter cannot set) and is
// then saved next to its destination and renamed over it.
#include "app/results/workbook_export.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <xlsxwriter.h>

#include "app/results/graph_plot.h"
#include "app/results/zip_archive.h"

namespace {

constexpr int kMaxColumns = 16384;    // XFD
constexpr int kMaxRows = 1048576;
constexpr int kFirstDataRow = 5;      // row 6: the first point (0-based rows below)

// libxlsxwriter takes UTF-8 and copies what it keeps; a Utf8 lives for the statement.
struct Utf8 {
  explicit Utf8(const QString& s) : bytes(s.toUtf8()) {}
  operator const char*() const { return bytes.constData(); }
  QByteArray bytes;
};

// The first failing return code of a run of calls, turned into words at the end.
struct ErrorTrail {
  lxw_error first = LXW_NO_ERROR;
  void operator()(lxw_error e) {
    if (first == LXW_NO_ERROR) first = e;
  }
};

// The point written as the chart shows it: the shortest general format with 15 digits, read
// back as a number, so that the sheet holds numbers the chart can plot.
double shownValue(double v) { return GeneralNumber(v, 15).toDouble(); }

// Series and axis names beginning with "=" would be read as formulas: take those from the
// data sheet's cell instead.
void nameSeries(lxw_chart_series* series, const QString& name, const QString& sheet, int row, int col) {
  if (name.startsWith(QLatin1Char('='))) chart_series_set_name_range(series, Utf8(sheet), row, col);
  else chart_series_set_name(series, Utf8(name));
}
void nameAxis(lxw_chart_axis* axis, const QString& name, const QString& sheet, int row, int col) {
  if (name.startsWith(QLatin1Char('='))) chart_axis_set_name_range(axis, Utf8(sheet), row, col);
  else chart_axis_set_name(axis, Utf8(name));
}

const QString kHeaders[] = {
    QStringLiteral("     N    "),
    QStringLiteral("                             Plot Name                             "),
    QStringLiteral("  Sheet Name  "), QStringLiteral("  Chart Name  "),
    QStringLiteral("          Status          ")};

void writeIndexHeader(lxw_workbook* wb, lxw_worksheet* index, ErrorTrail& trail) {
  lxw_format* bold = workbook_add_format(wb);
  format_set_bold(bold);
  format_set_align(bold, LXW_ALIGN_VERTICAL_CENTER);
  for (int i = 0; i < 5; ++i) trail(worksheet_write_string(index, 1, static_cast<lxw_col_t>(1 + i), Utf8(kHeaders[i]), bold));
}

// Column widths fitted to the longest text of each index column (bold text runs a little wider).
void fitIndexColumns(lxw_worksheet* index, const std::vector<ExportedChart>& charts, ErrorTrail& trail) {
  for (int i = 0; i < 5; ++i) {
    qsizetype chars = kHeaders[i].size();
    if (i == 1)
      for (const ExportedChart& c : charts) chars = std::max(chars, c.plot->Caption.size());
    trail(worksheet_set_column(index, static_cast<lxw_col_t>(1 + i), static_cast<lxw_col_t>(1 + i),
                               std::min(255.0, 1.1 * static_cast<double>(chars) + 1), nullptr));
  }
}

void writeDataSheet(lxw_worksheet* ws, const TGraphPlot& plot, ErrorTrail& trail) {
  trail(worksheet_write_url_opt(ws, 0, 6, "internal:Legend!A1", nullptr, "Go to Legend Page", nullptr));
  trail(worksheet_write_string(ws, 0, 0, Utf8(plot.Caption), nullptr));
  trail(worksheet_write_string(ws, 1, 0, "X", nullptr));
  trail(worksheet_write_string(ws, 1, 1, Utf8(plot.XTitle()), nullptr));
  trail(worksheet_write_string(ws, 2, 0, "Y", nullptr));
  trail(worksheet_write_string(ws, 2, 1, Utf8(plot.YTitle()), nullptr));
  const int points = plot.PointCount();
  for (int t = 0; t < plot.LineCount(); ++t) {
    const auto c = static_cast<lxw_col_t>(2 * t);
    trail(worksheet_write_string(ws, 3, c, Utf8(plot.DisplayName(t)), nullptr));
    trail(worksheet_write_string(ws, 4, c, "X", nullptr));
    trail(worksheet_write_string(ws, 4, c + 1, "Y", nullptr));
    const TLine& line = plot.Line(t);
    for (int j = 0; j < points; ++j) {
      const auto row = static_cast<lxw_row_t>(kFirstDataRow + j);
      const TFloatPoint& p = line.Points[static_cast<std::size_t>(j)];
      // A cell cannot hold an infinity or NaN: such a point stays blank, a gap in the chart.
      if (std::isfinite(p.X)) trail(worksheet_write_number(ws, row, c, shownValue(p.X), nullptr));
      if (std::isfinite(p.Y)) trail(worksheet_write_number(ws, row, c + 1, shownValue(p.Y), nullptr));
    }
  }
}

lxw_chart* buildChart(lxw_workbook* wb, const TGraphPlot& plot, const QString& dataSheet, ErrorTrail& trail) {
  lxw_chart* chart = workbook_add_chart(wb, LXW_CHART_SCATTER_STRAIGHT_WITH_MARKERS);
  if (!chart) {
    trail(LXW_ERROR_MEMORY_MALLOC_FAILED);
    return nullptr;
  }
  const auto last = static_cast<lxw_row_t>(kFirstDataRow + plot.PointCount() - 1);
  const int series = std::min(plot.LineCount(), kMaxSeriesPerChart);
  for (int t = 0; t < series; ++t) {
    const auto c = static_cast<lxw_col_t>(2 * t);
    lxw_chart_series* s = chart_add_series(chart, nullptr, nullptr);
    if (!s) {
      trail(LXW_ERROR_MEMORY_MALLOC_FAILED);
      return nullptr;
    }
    chart_series_set_categories(s, Utf8(dataSheet), kFirstDataRow, c, last, c);
    chart_series_set_values(s, Utf8(dataSheet), kFirstDataRow, c + 1, last, c + 1);
    nameSeries(s, plot.DisplayName(t), dataSheet, 3, c);
  }
  chart_title_off(chart);
  nameAxis(chart->x_axis, plot.XTitle(), dataSheet, 1, 1);
  nameAxis(chart->y_axis, plot.YTitle(), dataSheet, 2, 1);
  chart_axis_major_gridlines_set_visible(chart->x_axis, LXW_TRUE);
  chart_axis_major_gridlines_set_visible(chart->y_axis, LXW_TRUE);
  // Depth charts run downwards, as on the screen.
  if (plot.XOnTop) chart_axis_set_reverse(chart->y_axis);
  return chart;
}

// The legend of every chart part gets a black border on white.
QByteArray withFramedLegend(QByteArray xml) {
  static const QByteArray frame =
      "<c:spPr><a:solidFill><a:srgbClr val=\"FFFFFF\"/></a:solidFill>"
      "<a:ln><a:solidFill><a:srgbClr val=\"000000\"/></a:solidFill></a:ln></c:spPr>";
  const qsizetype start = xml.indexOf("<c:legend>");
  if (start < 0) return xml;
  const qsizetype end = xml.indexOf("</c:legend>", start);
  if (end < 0 || xml.mid(start, end - start).contains("<c:spPr>")) return xml;
  // The shape properties come before the text properties in a legend.
  qsizetype at = xml.indexOf("<c:txPr>", start);
  if (at < 0 || at > end) at = end;
  xml.insert(at, frame);
  return xml;
}

// The sheet's own limits.
QString checkSheetLimits(const std::vector<ExportedChart>& charts) {
  for (const ExportedChart& c : charts) {
    if (2 * c.plot->LineCount() > kMaxColumns)
      return QStringLiteral("The chart \"%1\" has %2 lines; a sheet holds the columns of at most %3.")
          .arg(c.plot->Caption).arg(c.plot->LineCount()).arg(kMaxColumns / 2);
    if (kFirstDataRow + c.plot->PointCount() > kMaxRows)
      return QStringLiteral("The chart \"%1\" has %2 points a line; a sheet holds at most %3.")
          .arg(c.plot->Caption).arg(c.plot->PointCount()).arg(kMaxRows - kFirstDataRow);
  }
  return {};
}

}  // namespace

QString CheckExportedCharts(const std::vector<ExportedChart>& charts) {
  if (charts.empty()) return QStringLiteral("No chart was chosen for export.");
  for (const ExportedChart& c : charts)
    if (!c.plot || c.plot->LineCount() == 0 || c.plot->PointCount() == 0)
      return QStringLiteral("The chart \"%1\" has no data to export.")
          .arg(c.plot && !c.plot->Caption.isEmpty() ? c.plot->Caption : c.key);
  return {};
}

QString DataSheetName(int n) { return QStringLiteral("Page_%1").arg(n); }
QString ChartSheetName(int n) { return QStringLiteral("Plot_%1").arg(n); }

QString WriteChartWorkbook(const std::vector<ExportedChart>& charts, const QString& path) {
  if (QString bad = CheckExportedCharts(charts); !bad.isEmpty()) return bad;
  if (QString bad = checkSheetLimits(charts); !bad.isEmpty()) return bad;
  const QString shownPath = QDir::toNativeSeparators(path);
  QTemporaryDir scratch;
  if (!scratch.isValid())
    return QStringLiteral("The workbook could not be prepared: no scratch folder (%1).").arg(scratch.errorString());
  const QString draft = scratch.filePath(QStringLiteral("workbook.xlsx"));
  const QByteArray scratchDir = QFile::encodeName(QDir::toNativeSeparators(scratch.path()));

  lxw_workbook_options options{};
  options.tmpdir = const_cast<char*>(scratchDir.constData());
  lxw_workbook* wb = workbook_new_opt(QFile::encodeName(draft).constData(), &options);
  if (!wb) return QStringLiteral("The workbook could not be prepared (out of memory).");

  ErrorTrail trail;
  lxw_worksheet* index = workbook_add_worksheet(wb, "Legend");
  writeIndexHeader(wb, index, trail);
  for (std::size_t i = 0; i < charts.size(); ++i)
    trail(worksheet_write_number(index, static_cast<lxw_row_t>(2 + i), 1, static_cast<double>(i + 1), nullptr));
  fitIndexColumns(index, charts, trail);

  for (std::size_t i = 0; i < charts.size(); ++i) {
    const TGraphPlot& plot = *charts[i].plot;
    const int n = static_cast<int>(i) + 1;
    const auto row = static_cast<lxw_row_t>(n + 1);
    const QString page = DataSheetName(n), chartName = ChartSheetName(n);
    trail(worksheet_write_string(index, row, 2, Utf8(plot.Caption), nullptr));
    trail(worksheet_write_url_opt(index, row, 3, Utf8(QStringLiteral("internal:") + page + QStringLiteral("!A1")),
                                  nullptr, Utf8(page), nullptr));
    trail(worksheet_write_string(index, row, 4, Utf8(chartName), nullptr));

    lxw_worksheet* data = workbook_add_worksheet(wb, Utf8(page));
    if (!data) {
      trail(LXW_ERROR_MEMORY_MALLOC_FAILED);
      break;
    }
    writeDataSheet(data, plot, trail);
    lxw_chart* chart = buildChart(wb, plot, page, trail);
    lxw_chartsheet* sheet = chart ? workbook_add_chartsheet(wb, Utf8(chartName)) : nullptr;
    if (!sheet) {
      trail(LXW_ERROR_MEMORY_MALLOC_FAILED);
      break;
    }
    trail(chartsheet_set_chart(sheet, chart));
    // The workbook lands whole or not at all, so every chart that is in it is complete.
    trail(worksheet_write_string(index, row, 5, "Complete", nullptr));
  }
  const lxw_error closed = workbook_close(wb);
  trail(closed);
  if (trail.first != LXW_NO_ERROR)
    return QStringLiteral("The workbook %1 could not be written: %2.").arg(shownPath, QString::fromUtf8(lxw_strerror(trail.first)));

  QFile draftFile(draft);
  if (!draftFile.open(QIODevice::ReadOnly))
    return QStringLiteral("The workbook %1 could not be written: %2.").arg(shownPath, draftFile.errorString());
  std::optional<std::vector<ZipEntry>> parts = ReadZip(draftFile.readAll());
  if (!parts) return QStringLiteral("The workbook %1 could not be written: the package is unreadable.").arg(shownPath);
  static const QRegularExpression chartPart(QStringLiteral("^xl/charts/chart\\d+\\.xml$"));
  for (ZipEntry& part : *parts)
    if (chartPart.match(part.name).hasMatch()) part.data = withFramedLegend(part.data);
  const QByteArray package = WriteZip(*parts);
  if (package.isEmpty()) return QStringLiteral("The workbook %1 could not be written: compression failed.").arg(shownPath);

  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly) || out.write(package) != package.size() || !out.commit())
    return QStringLiteral("The workbook %1 could not be written: %2.").arg(shownPath, out.errorString());
  return {};
}

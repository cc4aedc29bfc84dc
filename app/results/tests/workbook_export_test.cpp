// The workbook as a spreadsheet program reads it back: sheet order, index rows and links,
// the data sheets' cells, and each chart's series ranges, axis titles and depth axis.
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <limits>

#include "app/results/graph_plot.h"
#include "app/results/tests/workbook_reader.h"
#include "app/results/workbook_export.h"
#include "app/results/zip_archive.h"

namespace {

// A depth chart as the plot-file reader leaves it: `lines` lines of `points` points.
void depthChart(TGraphPlot& plot, const QString& caption, const QString& xCaption, const QString& xUnits,
                int lines, int points) {
  plot.Caption = caption;
  plot.CurveName = QStringLiteral("Load #");
  plot.XCaption = xCaption;
  plot.XUnits = xUnits;
  plot.YCaption = QStringLiteral("Depth (ft)");
  plot.SetLineCount(lines);
  plot.SetPointCount(points);
  for (int t = 0; t < lines; ++t)
    for (int j = 0; j < points; ++j) plot.Point(t, j) = {0.001 * (t + 1) * j * j, 0.5 * j};
}

// Column letters as the spreadsheet names them: A..Z, AA..ZZ, AAA...
QString column(int index0) {
  QString s;
  for (int n = index0 + 1; n > 0; n = (n - 1) / 26) s.prepend(QChar('A' + (n - 1) % 26));
  return s;
}

QStringList matches(const QByteArray& xml, const QString& pattern) {
  QStringList out;
  auto it = QRegularExpression(pattern).globalMatch(QString::fromUtf8(xml));
  while (it.hasNext()) out << it.next().captured(1);
  return out;
}

}  // namespace

class WorkbookExportTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir;

 private slots:
  void sheetsIndexAndLinks() {
    TGraphPlot def, mom;
    depthChart(def, "Deflection vs Depth", "Deflection", "L", 2, 5);
    depthChart(mom, "Moment vs Depth", "Bending Moment (in-kips)", "", 2, 5);
    const QString path = dir.filePath("two.xlsx");
    QCOMPARE(WriteChartWorkbook({{"deflection", &def}, {"moment", &mom}}, path), QString());
    WorkbookReader wb(path);
    QVERIFY(wb.ok());
    QCOMPARE(wb.sheetNames(), (QStringList{"Legend", "Page_1", "Plot_1", "Page_2", "Plot_2"}));
    const SheetContents* index = wb.sheet("Legend");
    QCOMPARE(index->cells.value("B2"), QStringLiteral("     N    "));
    QCOMPARE(index->cells.value("C2"), QString(29, ' ') + "Plot Name" + QString(29, ' '));
    QCOMPARE(index->cells.value("D2"), QStringLiteral("  Sheet Name  "));
    QCOMPARE(index->cells.value("E2"), QStringLiteral("  Chart Name  "));
    QCOMPARE(index->cells.value("F2"), QStringLiteral("          Status          "));
    const QStringList row3{index->cells.value("B3"), index->cells.value("C3"), index->cells.value("D3"),
                           index->cells.value("E3"), index->cells.value("F3")};
    QCOMPARE(row3, (QStringList{"1", "Deflection vs Depth", "Page_1", "Plot_1", "Complete"}));
    QCOMPARE(index->cells.value("B4"), QStringLiteral("2"));
    QCOMPARE(index->cells.value("C4"), QStringLiteral("Moment vs Depth"));
    QCOMPARE(index->cells.value("D4"), QStringLiteral("Page_2"));
    QVERIFY(!index->cells.contains("B5"));
    // Every link lands on a sheet of the workbook.
    QCOMPARE(index->links.value("D3"), QStringLiteral("Page_1!A1"));
    QCOMPARE(index->links.value("D4"), QStringLiteral("Page_2!A1"));
    for (const QString& page : {QStringLiteral("Page_1"), QStringLiteral("Page_2")}) {
      const SheetContents* data = wb.sheet(page);
      QVERIFY(data && !data->isChart);
      QCOMPARE(data->cells.value("G1"), QStringLiteral("Go to Legend Page"));
      QCOMPARE(data->links.value("G1"), QStringLiteral("Legend!A1"));
    }
    for (const SheetContents* s : {index, wb.sheet("Page_1"), wb.sheet("Page_2")})
      for (const QString& to : s->links) QVERIFY2(wb.sheet(to.section('!', 0, 0)), qPrintable(to));
    QVERIFY(wb.sheet("Plot_1")->isChart && wb.sheet("Plot_2")->isChart);
    // The header is bold and vertically centred (style 1 in the package's styles).
    const QByteArray styles = FindZipEntry(wb.parts(), "xl/styles.xml")->data;
    QVERIFY(styles.contains("<b/>"));
    QVERIFY(styles.contains("vertical=\"center\""));
  }

  void dataSheetCells() {
    TGraphPlot def;
    depthChart(def, "Deflection vs Depth", "Deflection", "L", 3, 41);
    def.Line(1).Name = "Long-Term";
    def.Point(2, 7).X = 1.0 / 3.0;
    def.Point(0, 40).X = -2.5e-9;
    const QString path = dir.filePath("cells.xlsx");
    QCOMPARE(WriteChartWorkbook({{"deflection", &def}}, path), QString());
    WorkbookReader wb(path);
    const SheetContents* data = wb.sheet("Page_1");
    QVERIFY(data);
    QCOMPARE(data->cells.value("A1"), QStringLiteral("Deflection vs Depth"));
    QCOMPARE(data->cells.value("A2"), QStringLiteral("X"));
    QCOMPARE(data->cells.value("B2"), QStringLiteral("Deflection (in)"));
    QCOMPARE(data->cells.value("A3"), QStringLiteral("Y"));
    QCOMPARE(data->cells.value("B3"), QStringLiteral("Depth (ft)"));
    QCOMPARE(data->cells.value("A4"), QStringLiteral("Load #1"));
    QCOMPARE(data->cells.value("C4"), QStringLiteral("Long-Term"));
    QCOMPARE(data->cells.value("E4"), QStringLiteral("Load #3"));
    for (const char* c : {"A5", "C5", "E5"}) QCOMPARE(data->cells.value(c), QStringLiteral("X"));
    for (const char* c : {"B5", "D5", "F5"}) QCOMPARE(data->cells.value(c), QStringLiteral("Y"));
    // Rows 6 to 46 hold the 41 points; the block is A4:F46 and nothing lies beyond it.
    for (int t = 0; t < 3; ++t)
      for (int j = 0; j < 41; ++j) {
        const QString x = column(2 * t) + QString::number(6 + j), y = column(2 * t + 1) + QString::number(6 + j);
        QVERIFY2(data->cells.contains(x) && data->cells.contains(y), qPrintable(x));
        QCOMPARE(data->cells.value(x).toDouble(), GeneralNumber(def.Point(t, j).X, 15).toDouble());
        QCOMPARE(data->cells.value(y).toDouble(), def.Point(t, j).Y);
      }
    for (const QString& ref : data->cells.keys()) {
      static const QRegularExpression cell("^([A-Z]+)(\\d+)$");
      const auto m = cell.match(ref);
      QVERIFY(m.hasMatch());
      const bool inBlock = m.captured(1) <= "F" && m.captured(1).size() == 1 && m.captured(2).toInt() <= 46;
      QVERIFY2(inBlock || ref == "G1", qPrintable(ref));
    }
    QCOMPARE(data->cells.value("E13").toDouble(), 0.333333333333333);  // 15 significant digits
    QCOMPARE(data->cells.value("A46").toDouble(), -2.5e-9);
  }

  void chartSeriesAndAxes() {
    TGraphPlot def;
    depthChart(def, "Deflection vs Depth", "Deflection", "L", 3, 41);
    def.Line(2).Name = "Stage: 3";
    const QString path = dir.filePath("chart.xlsx");
    QCOMPARE(WriteChartWorkbook({{"deflection", &def}}, path), QString());
    WorkbookReader wb(path);
    const QByteArray chart = wb.sheet("Plot_1")->chartXml;
    QVERIFY(!chart.isEmpty());
    QVERIFY(chart.contains("<c:scatterStyle val=\"lineMarker\"/>"));  // straight lines with markers
    QCOMPARE(matches(chart, "<c:xVal><c:numRef><c:f>([^<]+)</c:f>"),
             (QStringList{"Page_1!$A$6:$A$46", "Page_1!$C$6:$C$46", "Page_1!$E$6:$E$46"}));
    QCOMPARE(matches(chart, "<c:yVal><c:numRef><c:f>([^<]+)</c:f>"),
             (QStringList{"Page_1!$B$6:$B$46", "Page_1!$D$6:$D$46", "Page_1!$F$6:$F$46"}));
    QCOMPARE(matches(chart, "<c:ser>.*?<c:tx><c:v>([^<]+)</c:v>"), (QStringList{"Load #1", "Load #2", "Stage: 3"}));
    QVERIFY(chart.contains("<c:autoTitleDeleted val=\"1\"/>"));
    QCOMPARE(matches(chart, "<a:t>([^<]+)</a:t>"), (QStringList{"Deflection (in)", "Depth (ft)"}));
    QCOMPARE(chart.count("<c:majorGridlines/>"), 2);
    // The depth axis runs downwards; the X axis is the first value axis and keeps its order.
    QCOMPARE(matches(chart, "<c:orientation val=\"(\\w+)\"/>"), (QStringList{"minMax", "maxMin"}));
    QVERIFY(chart.contains("<c:legend><c:legendPos val=\"r\"/><c:layout/><c:spPr><a:solidFill><a:srgbClr "
                           "val=\"FFFFFF\"/></a:solidFill><a:ln><a:solidFill><a:srgbClr val=\"000000\"/>"));
  }

  void pyChartKeepsItsAxesUpright() {
    TGraphPlot py;
    py.Caption = "p-y Curves";
    py.CurveName = "Depth ";
    py.XCaption = "y";
    py.XUnits = "L";
    py.YCaption = "p";
    py.YUnits = "F/L";
    py.XOnTop = false;
    py.SetLineCount(2);
    py.SetPointCount(20);
    py.Line(0).Number = 120;
    py.Line(1).Number = 240;
    const QString path = dir.filePath("py.xlsx");
    QCOMPARE(WriteChartWorkbook({{"py", &py}}, path), QString());
    WorkbookReader wb(path);
    const QByteArray chart = wb.sheet("Plot_1")->chartXml;
    QCOMPARE(matches(chart, "<c:orientation val=\"(\\w+)\"/>"), (QStringList{"minMax", "minMax"}));
    QCOMPARE(matches(chart, "<a:t>([^<]+)</a:t>"), (QStringList{"y (in)", "p (lbs/in)"}));
    QCOMPARE(wb.sheet("Page_1")->cells.value("C4"), QStringLiteral("Depth 240"));
  }

  void manyLines() {
    // 14 lines reach two-letter columns; past 255 lines the chart stops, the sheet does not.
    TGraphPlot fourteen, many;
    depthChart(fourteen, "p-y Curves", "y", "L", 14, 3);
    depthChart(many, "p-y Curves", "y", "L", 300, 2);
    const QString path = dir.filePath("many.xlsx");
    QCOMPARE(WriteChartWorkbook({{"py", &fourteen}, {"py", &many}}, path), QString());
    WorkbookReader wb(path);
    const QStringList x = matches(wb.sheet("Plot_1")->chartXml, "<c:xVal><c:numRef><c:f>([^<]+)</c:f>");
    QCOMPARE(x.size(), 14);
    QCOMPARE(x.last(), QStringLiteral("Page_1!$AA$6:$AA$8"));
    QCOMPARE(matches(wb.sheet("Plot_1")->chartXml, "<c:yVal><c:numRef><c:f>([^<]+)</c:f>").last(),
             QStringLiteral("Page_1!$AB$6:$AB$8"));
    QCOMPARE(wb.sheet("Plot_2")->chartXml.count("<c:ser>"), kMaxSeriesPerChart);
    const SheetContents* data = wb.sheet("Page_2");
    QCOMPARE(data->cells.value(column(2 * 299) + "4"), QStringLiteral("Load #300"));
    QCOMPARE(data->cells.value(column(2 * 299 + 1) + "7"), QStringLiteral("0.5"));
  }

  void awkwardValuesAndNames() {
    TGraphPlot def;
    depthChart(def, "Deflection vs Depth", "Deflection", "L", 2, 3);
    def.Line(0).Name = "=1+1";  // a name, not a formula
    def.Point(1, 1).X = std::numeric_limits<double>::quiet_NaN();
    def.Point(1, 2).X = std::numeric_limits<double>::infinity();
    const QString path = dir.filePath("awkward.xlsx");
    QCOMPARE(WriteChartWorkbook({{"deflection", &def}}, path), QString());
    WorkbookReader wb(path);
    const SheetContents* data = wb.sheet("Page_1");
    QCOMPARE(data->cells.value("A4"), QStringLiteral("=1+1"));
    QVERIFY(!data->cells.contains("C7") && !data->cells.contains("C8"));  // no number: a gap
    QCOMPARE(data->cells.value("D8"), QStringLiteral("1"));
    const QByteArray chart = wb.sheet("Plot_1")->chartXml;
    QVERIFY(chart.contains("<c:tx><c:strRef><c:f>Page_1!$A$4</c:f>"));
  }

  void refusals_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("message");
    QTest::newRow("no lines") << 0 << 0 << "The chart \"Earth Pressure Combined\" has no data to export.";
    QTest::newRow("no points") << 3 << 0 << "The chart \"Earth Pressure Combined\" has no data to export.";
  }
  void refusals() {
    QFETCH(int, lines);
    QFETCH(int, points);
    QFETCH(QString, message);
    TGraphPlot combined;
    combined.Caption = "Earth Pressure Combined";
    combined.SetLineCount(lines);
    combined.SetPointCount(points);
    const QString path = dir.filePath("refused.xlsx");
    QCOMPARE(WriteChartWorkbook({{"combined", &combined}}, path), message);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(WriteChartWorkbook({}, path), QStringLiteral("No chart was chosen for export."));
  }

  void unwritableTargetsLeaveNothing_data() {
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing folder") << "no/such/folder/out.xlsx";
    QTest::newRow("target is a folder") << "folder.xlsx";
  }
  void unwritableTargetsLeaveNothing() {
    QFETCH(QString, relative);
    QTemporaryDir here;
    QVERIFY(QDir(here.path()).mkdir("folder.xlsx"));
    TGraphPlot def;
    depthChart(def, "Deflection vs Depth", "Deflection", "L", 1, 3);
    const QString path = here.filePath(relative);
    const QString error = WriteChartWorkbook({{"deflection", &def}}, path);
    QVERIFY2(error.startsWith("The workbook " + QDir::toNativeSeparators(path) + " could not be written: "),
             qPrintable(error));
    QCOMPARE(QDir(here.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"folder.xlsx"});
    QVERIFY(QDir(here.filePath("folder.xlsx")).isEmpty());
  }

  void replacesAnOlderFileWhole() {
    const QString path = dir.filePath("again.xlsx");
    {
      QFile old(path);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.write(QByteArray(100000, 'x'));
    }
    TGraphPlot def;
    depthChart(def, "Deflection vs Depth", "Deflection", "L", 1, 3);
    QCOMPARE(WriteChartWorkbook({{"deflection", &def}}, path), QString());
    QVERIFY(WorkbookReader(path).ok());
    // Nothing but the workbook is left in the folder.
    for (const QString& f : QDir(dir.path()).entryList(QDir::Files))
      QVERIFY2(f.endsWith(".xlsx"), qPrintable(f));
  }

  void zipRoundTrip() {
    const std::vector<ZipEntry> entries{{"a.xml", "<a/>"}, {"dir/b.bin", QByteArray(70000, '\x07')}, {"empty", {}}};
    const QByteArray bytes = WriteZip(entries);
    QVERIFY(!bytes.isEmpty());
    const auto back = ReadZip(bytes);
    QVERIFY(back);
    QCOMPARE(back->size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      QCOMPARE((*back)[i].name, entries[i].name);
      QCOMPARE((*back)[i].data, entries[i].data);
    }
    QVERIFY(!ReadZip("not a zip at all"));
    QVERIFY(!ReadZip(bytes.left(bytes.size() / 2)));
    QByteArray damaged = bytes;
    const qsizetype inside = bytes.indexOf("dir/b.bin") + 9 + 20;  // inside the second entry's data
    damaged[inside] = char(damaged[inside] ^ 0x5A);
    QVERIFY(!ReadZip(damaged));
  }
};

QTEST_MAIN(WorkbookExportTest)
#include "workbook_export_test.moc"

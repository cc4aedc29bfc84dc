// tarnel-plot FILE.tn5p — draws result charts of a run into pictures (.png, .bmp, .svg,
// .pdf) with the program's own reader and chart drawing, without a display: for reports
// and scripted studies.
//
// Exit codes: 0 written; 1 wrong usage; 2 the plot file is missing or damaged, or a
// picture could not be written; 3 the chart asked for holds no data.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include "app/model/program_data.h"
#include "app/results/chart_picture.h"
#include "app/results/profile_picture.h"
#include "app/results/result_charts.h"
#include "app/results/tool_plot_reading.h"
#include "app/results/view3d_command.h"

namespace {

constexpr const char* kUsage =
    "usage: tarnel-plot FILE.tn5p (--chart NAME --out PICTURE | --all DIR [--format EXT])\n"
    "                   [--data FILE.tn5d] [--width IN] [--height IN] [--ppi N] [--layers]\n"
    "                   [--title TEXT]\n"
    "       tarnel-plot FILE.tn5d --view profile --out PICTURE [--width IN] [--height IN] [--ppi N]\n"
    "  NAME: py, deflection, moment, shear, reaction, dms, pressure, combined\n"
    "  PICTURE: a .png, .bmp, .svg or .pdf file; EXT for --all: png (default), bmp, svg, pdf\n"
    "  defaults: --width 6 --height 4 --ppi 72 (the program's Save To Disk)\n"
    "   or: tarnel-plot DATAFILE.tn5d --view 3d ... (--view 3d --help for more)";

void print(FILE* f, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), f);
  std::fputc('\n', f);
}

int usage(const QString& problem) {
  print(stderr, QStringLiteral("tarnel-plot: ") + problem);
  print(stderr, QString::fromLatin1(kUsage));
  return 1;
}

struct Options {
  QString plotFile, dataFile, chart, out, allDir, format = QStringLiteral("png"), title, view;
  double width = 6, height = 4;
  int ppi = 72;
  bool layers = false;
};

// A number option: false with `problem` set when the text is not a number in range.
bool number(const QString& name, const QString& text, double lo, double hi, double* value,
            QString* problem) {
  bool ok = false;
  const double v = text.toDouble(&ok);  // QString::toDouble always reads "."
  if (!ok || !(v >= lo && v <= hi)) {
    *problem = QStringLiteral("%1 takes a number from %2 to %3, not \"%4\"").arg(name).arg(lo).arg(hi).arg(text);
    return false;
  }
  *value = v;
  return true;
}

// --view profile: the Side View of the data file given in place of the plot file.
int drawView(const Options& o) {
  if (o.view != QLatin1String("profile")) return usage(QStringLiteral("no view is called \"%1\"").arg(o.view));
  if (o.out.isEmpty() || !o.chart.isEmpty() || !o.allDir.isEmpty())
    return usage(QStringLiteral("--view goes with --out only"));
  tarnel::model::TProgramData project;
  const auto read = QFileInfo(o.plotFile).isFile()
                        ? project.CreateFromFile(QDir::toNativeSeparators(o.plotFile).toStdString(), 0)
                        : tarnel::model::FileResult::Fail("no such data file");
  QString error = QString::fromStdString(read.message).replace(QLatin1Char('\n'), QLatin1String(": "));
  if (read.ok && WriteProfilePicture(project, o.out, o.width, o.height, o.ppi, &error)) {
    print(stdout, QDir::toNativeSeparators(o.out));
    return 0;
  }
  print(stderr, QStringLiteral("tarnel-plot: %1: %2").arg(read.ok ? o.out : o.plotFile, error));
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Pictures need no screen: draw off-screen unless the caller chose a platform.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef Q_OS_UNIX
  // Without a desktop session Qt warns about a missing runtime folder on every run; a
  // private one of our own keeps the tool's output to what it has to say.
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    const QByteArray runtime = QDir::tempPath().toLocal8Bit() + "/tarnel-runtime-" + QByteArray::number(getuid());
    if (QDir().mkpath(QString::fromLocal8Bit(runtime)) &&
        QFile::setPermissions(QString::fromLocal8Bit(runtime), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
      qputenv("XDG_RUNTIME_DIR", runtime);
  }
#endif
  QGuiApplication app(argc, argv);
  QStringList args = app.arguments();
  args.removeFirst();
  if (IsView3DCommand(args)) return RunView3DCommand(args);

  Options o;
  QString problem;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    const bool hasValue = i + 1 < args.size();
    auto value = [&] { return args[++i]; };
    if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
      print(stdout, QString::fromLatin1(kUsage));
      return 0;
    } else if (a == QLatin1String("--layers")) {
      o.layers = true;
    } else if (!a.startsWith(QLatin1String("--"))) {
      if (!o.plotFile.isEmpty()) return usage(QStringLiteral("one plot file only"));
      o.plotFile = a;
    } else if (!hasValue) {
      return usage(a + QStringLiteral(" needs a value"));
    } else if (a == QLatin1String("--chart")) {
      o.chart = value();
    } else if (a == QLatin1String("--view")) {
      o.view = value();
    } else if (a == QLatin1String("--out")) {
      o.out = value();
    } else if (a == QLatin1String("--all")) {
      o.allDir = value();
    } else if (a == QLatin1String("--format")) {
      o.format = value().toLower();
    } else if (a == QLatin1String("--data")) {
      o.dataFile = value();
    } else if (a == QLatin1String("--title")) {
      o.title = value();
    } else if (a == QLatin1String("--width")) {
      if (!number(a, value(), 1, 100, &o.width, &problem)) return usage(problem);
    } else if (a == QLatin1String("--height")) {
      if (!number(a, value(), 1, 100, &o.height, &problem)) return usage(problem);
    } else if (a == QLatin1String("--ppi")) {
      double ppi = 0;
      if (!number(a, value(), 10, 2400, &ppi, &problem) || ppi != static_cast<int>(ppi))
        return usage(problem.isEmpty() ? QStringLiteral("--ppi takes a whole number") : problem);
      o.ppi = static_cast<int>(ppi);
    } else {
      return usage(QStringLiteral("unknown option ") + a);
    }
  }
  if (o.plotFile.isEmpty()) return usage(QStringLiteral("no plot file given"));
  if (!o.view.isEmpty()) return drawView(o);
  if (o.allDir.isEmpty() == (o.chart.isEmpty() && o.out.isEmpty()))
    return usage(QStringLiteral("give either --chart and --out, or --all"));
  if (o.allDir.isEmpty() && (o.chart.isEmpty() || o.out.isEmpty()))
    return usage(QStringLiteral("--chart and --out go together"));
  ChartId chosen{};
  if (!o.chart.isEmpty() && !ChartFromWord(o.chart, &chosen))
    return usage(QStringLiteral("no chart is called \"%1\"").arg(o.chart));
  const QString extension = o.allDir.isEmpty() ? QFileInfo(o.out).suffix().toLower() : o.format;
  if (!ChartPictureFormats().contains(extension))
    return usage(QStringLiteral("pictures are .png, .bmp, .svg or .pdf, not \"%1\"").arg(extension));

  ResultCharts charts;
  const ToolPlotReading reading = ReadPlotFileForTool(o.plotFile, o.dataFile, charts);
  if (!reading.ok) {
    print(stderr, QStringLiteral("tarnel-plot: ") + reading.problem);
    return 2;
  }

  ChartPictureOptions picture;
  picture.widthInches = o.width;
  picture.heightInches = o.height;
  picture.pixelsPerInch = o.ppi;
  // The Graphics menu offers the combined chart whenever a reading succeeded; a picture
  // is only worth making of a chart with something to draw.
  auto hasData = [&](ChartId id) { return charts.CommandEnabled(id, true) && charts.Chart(id).HasData(); };
  auto draw = [&](ChartId id, const QString& path) {
    TGraphPlot& plot = charts.Chart(id);
    if (!o.title.isEmpty()) plot.GraphTitle = o.title;
    if (o.layers && plot.LineCount(LineList::Layers) > 0) {
      plot.ShowLayers = true;
      plot.ShowWall = plot.WallLineCount > 0;
    }
    QString why;
    if (!WriteChartPicture(plot, path, picture, &why)) {
      print(stderr, QStringLiteral("tarnel-plot: %1: %2").arg(path, why));
      return false;
    }
    print(stdout, QDir::toNativeSeparators(path));
    return true;
  };

  if (o.allDir.isEmpty()) {
    if (!hasData(chosen)) {
      print(stderr, QStringLiteral("tarnel-plot: %1: the chart \"%2\" holds no data")
                        .arg(o.plotFile, o.chart));
      return 3;
    }
    return draw(chosen, o.out) ? 0 : 2;
  }
  if (!QDir().mkpath(o.allDir)) {
    print(stderr, QStringLiteral("tarnel-plot: %1: the folder can not be made").arg(o.allDir));
    return 2;
  }
  const QString stem = QFileInfo(o.plotFile).completeBaseName();
  int written = 0;
  for (const ChartNames& c : ChartTable()) {
    if (!hasData(c.id)) continue;
    const QString path = QDir(o.allDir).filePath(
        QStringLiteral("%1-%2.%3").arg(stem, QLatin1String(c.word), extension));
    if (!draw(c.id, path)) return 2;
    ++written;
  }
  if (written == 0) {
    print(stderr, QStringLiteral("tarnel-plot: %1: no chart holds data").arg(o.plotFile));
    return 3;
  }
  return 0;
}

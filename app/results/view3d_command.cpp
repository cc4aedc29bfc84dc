#include "app/results/view3d_command.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "app/model/program_data.h"
#include "app/results/picture_3d.h"
#include "app/results/result_charts.h"

using namespace tarnel::view3d;

const char* const kView3DUsage =
    "usage: tarnel-plot DATAFILE.tn5d --view 3d --out PICTURE [--width IN] [--height IN] [--ppi N]\n"
    "                   [--deformed FACTOR] [--angles RX,RY,RZ]\n"
    "  PICTURE: a .png or .bmp file; defaults: --width 8 --height 5 --ppi 150, angles 0,0,0\n"
    "  --deformed: the wall of the last run (the .tn5p beside the data file) x FACTOR";

namespace {

void Print(FILE* f, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), f);
  std::fputc('\n', f);
}

int Usage(const QString& problem) {
  Print(stderr, QStringLiteral("tarnel-plot: ") + problem);
  Print(stderr, QString::fromLatin1(kView3DUsage));
  return 1;
}

int Fail(int code, const QString& problem) {
  Print(stderr, QStringLiteral("tarnel-plot: ") + problem);
  return code;
}

bool Number(const QString& text, double lo, double hi, double* value) {
  bool ok = false;
  const double v = text.trimmed().toDouble(&ok);  // QString::toDouble always reads "."
  if (!ok || !(v >= lo && v <= hi)) return false;
  *value = v;
  return true;
}

}  // namespace

bool IsView3DCommand(const QStringList& args) {
  const int at = args.indexOf(QStringLiteral("--view"));
  return at >= 0 && at + 1 < args.size() && args[at + 1].compare(QLatin1String("3d"), Qt::CaseInsensitive) == 0;
}

int RunView3DCommand(const QStringList& args) {
  if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
    Print(stdout, QString::fromLatin1(kView3DUsage));
    return 0;
  }
  QString data, out;
  double width = 8, height = 5, ppi = 150;
  Picture3DOptions o;
  bool deformed = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (!a.startsWith(QLatin1String("--"))) {
      if (!data.isEmpty()) return Usage(QStringLiteral("one data file only"));
      data = a;
      continue;
    }
    if (i + 1 >= args.size()) return Usage(a + QStringLiteral(" needs a value"));
    const QString v = args[++i];
    if (a == QLatin1String("--view")) {
      if (v.compare(QLatin1String("3d"), Qt::CaseInsensitive) != 0) return Usage(QStringLiteral("no view is called \"%1\"").arg(v));
    } else if (a == QLatin1String("--out")) {
      out = v;
    } else if (a == QLatin1String("--width") || a == QLatin1String("--height")) {
      if (!Number(v, 1, 100, a == QLatin1String("--width") ? &width : &height))
        return Usage(QStringLiteral("%1 takes a number from 1 to 100, not \"%2\"").arg(a, v));
    } else if (a == QLatin1String("--ppi")) {
      if (!Number(v, 10, 2400, &ppi) || ppi != static_cast<int>(ppi))
        return Usage(QStringLiteral("--ppi takes a whole number from 10 to 2400, not \"%1\"").arg(v));
    } else if (a == QLatin1String("--deformed")) {
      if (!Number(v, -1e9, 1e9, &o.deformed.factor))
        return Usage(QStringLiteral("--deformed takes a number, not \"%1\"").arg(v));
      deformed = true;
    } else if (a == QLatin1String("--angles")) {
      const QStringList parts = v.split(QLatin1Char(','));
      double r[3];
      if (parts.size() != 3 || !Number(parts[0], -3600, 3600, &r[0]) || !Number(parts[1], -3600, 3600, &r[1]) ||
          !Number(parts[2], -3600, 3600, &r[2]))
        return Usage(QStringLiteral("--angles takes three numbers of degrees, RX,RY,RZ, not \"%1\"").arg(v));
      o.angles = QVector3D(static_cast<float>(r[0]), static_cast<float>(r[1]), static_cast<float>(r[2]));
    } else {
      return Usage(QStringLiteral("unknown option ") + a);
    }
  }
  if (data.isEmpty()) return Usage(QStringLiteral("no data file given"));
  if (out.isEmpty()) return Usage(QStringLiteral("--out is missing"));
  const QString extension = QFileInfo(out).suffix().toLower();
  if (extension != QLatin1String("png") && extension != QLatin1String("bmp"))
    return Usage(QStringLiteral("3D pictures are .png or .bmp, not \"%1\"").arg(extension));
  const qint64 pixels = qRound(width * ppi) * static_cast<qint64>(qRound(height * ppi));
  if (pixels > 64LL * 1024 * 1024) return Usage(QStringLiteral("the picture would be larger than 64 megapixels"));
  o.pixels = QSize(qRound(width * ppi), qRound(height * ppi));

  if (!QFileInfo(data).isFile()) return Fail(2, data + QStringLiteral(": no such data file"));
  tarnel::model::TProgramData project;
  const auto read = project.CreateFromFile(QDir::toNativeSeparators(data).toStdString(), 0);
  if (!read.ok) return Fail(2, QStringLiteral("%1: %2").arg(data, QString::fromStdString(read.message)));

  ResultCharts charts;
  if (deformed) {
    const QString plot = PlotFileFor(data);
    if (!QFileInfo(plot).isFile()) return Fail(2, plot + QStringLiteral(": no plot file; run the analysis first"));
    QString error;
    if (!charts.LoadPlotFile(plot, project, &error))
      return Fail(2, QStringLiteral("%1: %2").arg(plot, error.replace(QLatin1Char('\n'), QLatin1String(": "))));
    if (!HasDeflection(&charts.pltDef())) return Fail(3, plot + QStringLiteral(": the deflection chart holds no data"));
    o.deformed.showDeformed = true;
    o.deformed.showUndeformed = true;
  }
  QString error;
  if (!Write3DPicture(project, deformed ? &charts.pltDef() : nullptr, o, out, &error))
    return Fail(error == NoOpenGLMessage() ? 4 : 2, error);
  Print(stdout, QDir::toNativeSeparators(out));
  return 0;
}

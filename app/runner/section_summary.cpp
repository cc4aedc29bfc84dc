#include "app/runner/section_summary.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <cmath>

#include "app/model/program_data.h"
#include "app/results/result_charts.h"

namespace tarnel::runner {

namespace {

// What the report says of one result section.
struct ReportSection {
  int iterations = -1;
  bool notClosed = false;
  QString warning;
  QList<double> forces;
};

struct ReportFacts {
  std::vector<ReportSection> sections;
  QString inputError;  // the first error line: the run stopped there
  bool finished = false;
};

QStringList words(const QString& line) {
  static const QRegularExpression blanks(QStringLiteral("[ \\t\\r]+"));
  return line.split(blanks, Qt::SkipEmptyParts);
}

ReportFacts readReport(const QString& path) {
  ReportFacts facts;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return facts;
  static const QRegularExpression resultsHead(QStringLiteral("RESULTS -- ITERATION\\s*(\\d+)"));
  bool inTiebacks = false;
  for (const QString& raw : QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'))) {
    const QString line = raw.trimmed();
    if (const auto m = resultsHead.match(line); m.hasMatch()) {
      facts.sections.push_back({m.captured(1).toInt(), false, {}, {}});
      inTiebacks = false;
      continue;
    }
    if (line == QLatin1String("END OF ANALYSIS")) facts.finished = true;
    if (facts.inputError.isEmpty() &&
        (line.startsWith(QLatin1String("ERROR")) || line.startsWith(QLatin1String("DATA FILE ERROR")) ||
         line.startsWith(QLatin1String("TOO MUCH DATA"))))
      facts.inputError = line;
    if (facts.sections.empty()) continue;
    ReportSection& s = facts.sections.back();
    if (line.contains(QLatin1String("SOLUTION NOT CLOSED"))) s.notClosed = true;
    else if (line.startsWith(QLatin1String("***** ")) && s.warning.isEmpty()) s.warning = line;
    if (line == QLatin1String("TIE BACK RESULTS")) {
      inTiebacks = true;
      continue;
    }
    if (inTiebacks) {
      // Rows: N, station, depth, horizontal force and force per station, force per tieback.
      const QStringList w = words(line);
      bool ok = w.size() == 6;
      for (int i = 0; ok && i < w.size(); ++i) w[i].toDouble(&ok);
      if (ok) s.forces << w[5].toDouble();
      else if (!s.forces.isEmpty()) inTiebacks = false;
    }
  }
  return facts;
}

// The point of a line whose value is largest in magnitude (its sign kept), and its depth.
QPair<double, double> largest(const TLine& line) {
  QPair<double, double> best{0, 0};
  for (const TFloatPoint& p : line.Points)
    if (std::isfinite(p.X) && std::fabs(p.X) > std::fabs(best.first)) best = {p.X, p.Y};
  return best;
}

struct UnitNames {
  const char *deflection, *depth, *moment, *shear, *force;
};
UnitNames unitNames(int units) {
  switch (units) {
    case 1: return {"in", "ft", "in-kips", "kips", "lbs"};
    case 2: return {"m", "m", "m-kN", "kN", "kN"};
    default: return {"L", "L", "F-L", "F", "F"};
  }
}

QString number(double v) { return QString::number(v, 'g', 8); }

QString csvField(QString s) {
  if (s.contains(QLatin1Char(',')) || s.contains(QLatin1Char('"')) || s.contains(QLatin1Char('\n')))
    s = QLatin1Char('"') + s.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
  return s;
}

QString forcesText(const QList<double>& forces) {
  QStringList parts;
  for (double f : forces) parts << number(f);
  return parts.join(QLatin1Char(';'));
}

}  // namespace

SectionRow notAnalysed(const QString& dataFile, const QString& why) {
  SectionRow row;
  row.file = dataFile;
  row.status = QStringLiteral("not analysed");
  row.detail = why;
  return row;
}

std::vector<SectionRow> summarizeSections(const QString& dataFile, const QString& reportPath,
                                          const QString& plotPath) {
  const ReportFacts report = readReport(reportPath);
  tarnel::model::TProgramData project;
  project.CreateFromFile(QFileInfo(dataFile).absoluteFilePath().toStdString(), 0);
  ResultCharts charts;
  QString plotError;
  const bool plotRead = QFileInfo::exists(plotPath) && charts.LoadPlotFile(plotPath, project, &plotError);

  std::vector<SectionRow> rows;
  const TGraphPlot& def = charts.pltDef();
  const int sections = plotRead && def.HasData() ? def.LineCount() : 0;
  for (int k = 0; k < sections; ++k) {
    SectionRow row;
    row.file = dataFile;
    row.section = sections > 1 ? def.Line(k).Name : QStringLiteral("single");
    row.units = def.Units();
    row.topDeflection = def.Point(k, 0).X;
    std::tie(row.maxDeflection, row.maxDeflectionDepth) = largest(def.Line(k));
    std::tie(row.maxMoment, row.maxMomentDepth) = largest(charts.pltMom().Line(k));
    std::tie(row.maxShear, row.maxShearDepth) = largest(charts.pltShear().Line(k));
    if (k < static_cast<int>(report.sections.size())) {
      const ReportSection& s = report.sections[k];
      row.iterations = s.iterations;
      row.tiebackForces = s.forces;
      row.status = s.notClosed ? QStringLiteral("not closed within the tolerance") : QStringLiteral("closed");
      row.detail = s.warning;
    } else {
      row.status = QStringLiteral("input error");
      row.detail = report.inputError;
    }
    rows.push_back(row);
  }
  // A run that stopped, or left nothing to read, says so in a row of its own.
  const bool stopped = !report.inputError.isEmpty() || !report.finished;
  if (stopped || rows.empty()) {
    SectionRow row;
    row.file = dataFile;
    row.section = rows.empty() ? QString() : QStringLiteral("stopped");
    if (!report.inputError.isEmpty()) {
      row.status = QStringLiteral("input error");
      row.detail = report.inputError;
    } else if (!report.finished) {
      row.status = QStringLiteral("did not finish");
      row.detail = QStringLiteral("the report does not reach END OF ANALYSIS");
    } else {
      row.status = QStringLiteral("no results");
      row.detail = plotError.isEmpty() ? QStringLiteral("the plot file holds no wall results")
                                       : QStringLiteral("plot file unreadable: ") + plotError;
    }
    rows.push_back(row);
  }
  return rows;
}

bool writeSummary(const QString& path, const std::vector<SectionRow>& rows, QString* error) {
  const bool json = QFileInfo(path).suffix().compare(QLatin1String("json"), Qt::CaseInsensitive) == 0;
  QStringList names;  // the varied values, in the order they first appear
  for (const SectionRow& r : rows)
    for (const auto& v : r.values)
      if (!names.contains(v.first)) names << v.first;
  QByteArray bytes;
  if (json) {
    QJsonArray array;
    for (const SectionRow& r : rows) {
      const UnitNames u = unitNames(r.units);
      QJsonObject o{{"file", r.file}, {"section", r.section}, {"status", r.status}, {"detail", r.detail}};
      if (r.iterations >= 0) o.insert("iterations", r.iterations);
      if (r.units != 0) {
        o.insert("top_deflection", r.topDeflection);
        o.insert("max_deflection", r.maxDeflection);
        o.insert("max_deflection_depth", r.maxDeflectionDepth);
        o.insert("max_moment", r.maxMoment);
        o.insert("max_moment_depth", r.maxMomentDepth);
        o.insert("max_shear", r.maxShear);
        o.insert("max_shear_depth", r.maxShearDepth);
        QJsonArray forces;
        for (double f : r.tiebackForces) forces.append(f);
        o.insert("tieback_forces", forces);
        o.insert("units", QJsonObject{{"deflection", u.deflection}, {"depth", u.depth}, {"moment", u.moment},
                                      {"shear", u.shear}, {"tieback_force", u.force}});
      }
      QJsonObject values;
      for (const auto& v : r.values) values.insert(v.first, v.second);
      if (!values.isEmpty()) o.insert("values", values);
      array.append(o);
    }
    bytes = QJsonDocument(array).toJson();
  } else {
    QStringList head = {"file", "section", "status", "detail", "iterations", "top_deflection",
                        "max_deflection", "max_deflection_depth", "max_moment", "max_moment_depth",
                        "max_shear", "max_shear_depth", "tieback_forces", "deflection_unit",
                        "depth_unit", "moment_unit", "shear_unit", "tieback_force_unit"};
    head += names;
    QString text = head.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (const SectionRow& r : rows) {
      const UnitNames u = unitNames(r.units);
      const bool has = r.units != 0;
      QStringList f = {csvField(r.file), csvField(r.section), csvField(r.status), csvField(r.detail),
                       r.iterations >= 0 ? QString::number(r.iterations) : QString()};
      for (double v : {r.topDeflection, r.maxDeflection, r.maxDeflectionDepth, r.maxMoment, r.maxMomentDepth,
                       r.maxShear, r.maxShearDepth})
        f << (has ? number(v) : QString());
      f << forcesText(r.tiebackForces);
      for (const char* unit : {u.deflection, u.depth, u.moment, u.shear, u.force})
        f << (has ? QString::fromLatin1(unit) : QString());
      for (const QString& n : names) {
        QString value;
        for (const auto& v : r.values)
          if (v.first == n) value = v.second;
        f << csvField(value);
      }
      text += f.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    bytes = text.toUtf8();
  }
  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
    if (error) *error = QStringLiteral("The summary %1 can not be written: %2").arg(path, out.errorString());
    return false;
  }
  return true;
}

}  // namespace tarnel::runner

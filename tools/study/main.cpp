// tarnel-study BASE.tn5d --vary NAME=VALUES [--vary ...] --out FOLDER — a parameter study:
// one data file per combination of the varied values, written through the project model
// (so each is valid and in the current layout), analysed as tarnel-run analyses many files,
// one line per file, and with --summary a table with a column per varied value.
//
// NAME: increments, increment-length, free-height, wa, wp, surcharge, tolerance, or a table
// cell TABLE[row].COLUMN (rows from 1; COLUMN a 1-based column number or the column's
// caption words in lower case joined by '-', e.g. PileSect[1].flexural-stiffness-ei).
// VALUES, in the units the data file stores: a list a,b,c or a range from:to:step.
//
// Exit codes as tarnel-run: 0 all analysed; 1 wrong usage (a bad name or value: nothing is
// written); 2 a file or the engine library missing; 3 an analysis stopped or did not close.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QThread>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>

#include "app/model/program_data.h"
#include "app/model/project_tables.h"
#include "app/runner/batch_run.h"
#include "app/runner/run_summary.h"
#include "app/runner/section_summary.h"

namespace {

using tarnel::model::TGridTable;
using tarnel::model::TProgramData;

constexpr const char* kUsage =
    "usage: tarnel-study BASE.tn5d --vary NAME=VALUES [--vary ...] --out FOLDER\n"
    "                    [--summary FILE.csv|FILE.json] [--jobs N] [--engine-dir DIR]";

// A study larger than this is more likely a typing slip than a plan.
constexpr long kMaxCombinations = 100000;

void print(FILE* f, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), f);
  std::fputc('\n', f);
}

int usageError(const QString& message) {
  print(stderr, "tarnel-study: " + message);
  print(stderr, QString::fromLatin1(kUsage));
  return 1;
}

const QStringList& scalarNames() {
  static const QStringList names{"increments", "increment-length", "free-height", "wa",
                                 "wp",         "surcharge",        "tolerance"};
  return names;
}

QString validNames() {
  QStringList tables;
  for (const std::string& t : tarnel::model::ProjectTableNames()) tables << QString::fromStdString(t);
  return "valid names: " + scalarNames().join(", ") + ", or TABLE[row].COLUMN with TABLE one of " +
         tables.join(", ") + " (rows from 1, COLUMN a column number from 1 or its caption words joined by '-')";
}

// "Flexural Stiffness", "(EI)" -> "flexural-stiffness-ei"
QString captionKey(const std::vector<std::string>& lines) {
  QStringList words;
  for (const std::string& l : lines)
    for (const QString& w : QString::fromStdString(l).toLower().split(QRegularExpression("[^a-z0-9]+"),
                                                                         Qt::SkipEmptyParts))
      words << w;
  return words.join('-');
}

// One varied value: where it goes and the values it takes.
struct Variable {
  QString name;
  std::vector<double> values;
  QStringList texts;  // the values as written into file names and the summary
  std::function<std::optional<QString>(TProgramData&, double)> apply;  // message when refused
};

QString numberText(double v) { return QString::number(v, 'g', 12); }

// A list a,b,c or a range from:to:step, inclusive of `to` within rounding.
std::optional<std::vector<double>> parseValues(const QString& text, QString* why) {
  std::vector<double> out;
  auto number = [](const QString& s, bool* ok) {
    const double v = s.trimmed().toDouble(ok);  // always "." whatever the locale
    if (*ok && !std::isfinite(v)) *ok = false;
    return v;
  };
  const QStringList range = text.split(':');
  if (range.size() == 3) {
    bool a, b, c;
    const double from = number(range[0], &a), to = number(range[1], &b), step = number(range[2], &c);
    if (!a || !b || !c) return *why = "a range is from:to:step with numbers", std::nullopt;
    if (step == 0 || (to - from) / step < 0)
      return *why = "the step of a range must be non-zero and lead from 'from' to 'to'", std::nullopt;
    const double steps = (to - from) / step;
    if (steps > kMaxCombinations) return *why = "the range has too many values", std::nullopt;
    const long n = static_cast<long>(std::floor(steps + 1e-9)) + 1;
    for (long i = 0; i < n; ++i) {
      double v = from + i * step;
      v = QString::number(v, 'g', 12).toDouble();  // 0.1 steps stay 0.3, not 0.30000000000000004
      out.push_back(v);
    }
    return out;
  }
  if (range.size() != 1) return *why = "a range is from:to:step", std::nullopt;
  for (const QString& part : text.split(',')) {
    bool ok;
    const double v = number(part, &ok);
    if (!ok) return *why = "not a number: '" + part + "'", std::nullopt;
    out.push_back(v);
  }
  return out;
}

bool isWhole(double v) { return std::floor(v) == v && std::fabs(v) < 1e9; }

std::optional<QString> needPositive(double v) {
  if (v > 0) return std::nullopt;
  return QStringLiteral("must be greater than 0");
}

// The setter of a documented name, or nullopt for an unknown name.
std::optional<std::function<std::optional<QString>(TProgramData&, double)>> setterFor(const QString& name,
                                                                                      QString* why) {
  using Result = std::optional<QString>;
  if (name == "increments")
    return [](TProgramData& p, double v) -> Result {
      if (!isWhole(v) || v < 1) return QStringLiteral("must be a whole number of at least 1");
      p.Increments = static_cast<int>(v);
      return std::nullopt;
    };
  auto real = [](double TProgramData::*field, bool positive) {
    return [=](TProgramData& p, double v) -> Result {
      if (positive)
        if (auto bad = needPositive(v)) return bad;
      p.*field = v;
      return std::nullopt;
    };
  };
  if (name == "increment-length") return real(&TProgramData::IncrementLength, true);
  if (name == "free-height") return real(&TProgramData::FreeHeight, false);
  if (name == "wa") return real(&TProgramData::WidthActive, true);
  if (name == "wp") return real(&TProgramData::WidthPY, true);
  if (name == "surcharge") return real(&TProgramData::UniformSurcharge, false);
  if (name == "tolerance") return real(&TProgramData::Tolerance, true);

  static const QRegularExpression cell(QStringLiteral("^([A-Za-z0-9]+)\\[(\\d+)\\]\\.([A-Za-z0-9()-]+)$"));
  const auto m = cell.match(name);
  if (!m.hasMatch()) return std::nullopt;
  const std::string table = m.captured(1).toStdString();
  const auto& tables = tarnel::model::ProjectTableNames();
  if (std::find(tables.begin(), tables.end(), table) == tables.end()) return std::nullopt;
  const int row = m.captured(2).toInt() - 1;
  const std::unique_ptr<TGridTable> layout = tarnel::model::MakeTable(table);
  int col = -1;
  bool numbered = false;
  const int number = m.captured(3).toInt(&numbered);
  if (numbered) {
    col = number - 1;
  } else {
    for (std::size_t c = 0; c < layout->ColumnCount(); ++c)
      if (captionKey(layout->Column(c).CaptionLines()) == m.captured(3).toLower()) col = static_cast<int>(c);
  }
  QStringList columns;
  for (std::size_t c = 0; c < layout->ColumnCount(); ++c)
    columns << QString::number(c + 1) + " " + captionKey(layout->Column(c).CaptionLines());
  if (col < 0 || col >= static_cast<int>(layout->ColumnCount())) {
    *why = QStringLiteral("%1 has no column '%2'; its columns: %3")
               .arg(m.captured(1), m.captured(3), columns.join(", "));
    return std::nullopt;
  }
  if (row < 0) {
    *why = "rows are counted from 1: " + name;
    return std::nullopt;
  }
  const auto kind = layout->Column(col).Class();
  if (kind != tarnel::model::ColumnClass::Float && kind != tarnel::model::ColumnClass::Int &&
      kind != tarnel::model::ColumnClass::Enum) {
    *why = "column " + QString::number(col + 1) + " of " + m.captured(1) + " holds no number";
    return std::nullopt;
  }
  return [=](TProgramData& p, double v) -> Result {
    TGridTable& t = p.Table(table);
    if (row >= t.RowCount())
      return QStringLiteral("the data file's %1 has %2 rows").arg(QString::fromStdString(table)).arg(t.RowCount());
    if (kind == tarnel::model::ColumnClass::Float) {
      t.SetReal(col, row, v);
      return std::nullopt;
    }
    if (!isWhole(v)) return QStringLiteral("must be a whole number");
    const int i = static_cast<int>(v);
    if (kind == tarnel::model::ColumnClass::Int) {
      const auto& c = static_cast<const tarnel::model::TIntColumn&>(t.Column(col));
      if (i < c.Min() || i > c.Max()) return QStringLiteral("must be between %1 and %2").arg(c.Min()).arg(c.Max());
    } else {
      const auto& c = static_cast<const tarnel::model::TEnumColumn&>(t.Column(col));
      if (i < 1 || i > static_cast<int>(c.Items().size()))
        return QStringLiteral("must be a choice from 1 to %1").arg(c.Items().size());
    }
    t.SetInteger(col, row, i);
    return std::nullopt;
  };
}

// Stiffness rows that ended on the wall's last node follow it when the number of increments
// changes, so a study of the wall's length keeps the whole wall described; any node number
// then beyond the wall is refused, as the program refuses it before a run.
std::optional<QString> keepStiffnessOnWall(TProgramData& p, int baseIncrements) {
  TGridTable& s = p.PileSect();
  for (int r = 0; r < s.RowCount(); ++r) {
    if (p.Increments != baseIncrements && s.Integer(1, r) == baseIncrements) s.SetInteger(1, r, p.Increments);
    for (int c = 0; c < 2; ++c)
      if (s.Integer(c, r) > p.Increments)
        return QStringLiteral("node %1 in row %2 of Wall Stiffness is greater than the number of nodes defined, %3")
            .arg(s.Integer(c, r)).arg(r + 1).arg(p.Increments);
  }
  return std::nullopt;
}

struct Combination {
  std::vector<int> index;  // per variable
  QString file;
};

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments();
  args.removeFirst();
  QString engineDir, summaryFile, outDir, baseFile;
  QStringList varies, workerFiles;
  int jobs = QThread::idealThreadCount();
  bool worker = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
      print(stdout, QString::fromLatin1(kUsage));
      print(stdout, validNames());
      return 0;
    } else if (a == QLatin1String(tarnel::runner::kWorkerOption)) {
      worker = true;
    } else if (a == QLatin1String("--engine-dir") && hasValue) {
      engineDir = args[++i];
    } else if (a == QLatin1String("--out") && hasValue) {
      outDir = args[++i];
    } else if (a == QLatin1String("--vary") && hasValue) {
      varies << args[++i];
    } else if (a == QLatin1String("--summary") && hasValue) {
      summaryFile = args[++i];
      const QString ext = QFileInfo(summaryFile).suffix().toLower();
      if (ext != QLatin1String("csv") && ext != QLatin1String("json"))
        return usageError("the summary is a .csv or a .json file: " + summaryFile);
    } else if (a == QLatin1String("--jobs") && hasValue) {
      bool ok = false;
      jobs = args[++i].toInt(&ok);
      if (!ok || jobs < 1 || jobs > 256) return usageError("--jobs takes a whole number from 1 to 256");
    } else if (a.startsWith(QLatin1String("--"))) {
      return usageError("unknown option or missing value: " + a);
    } else {
      workerFiles << a;
    }
  }
  if (worker) return tarnel::runner::runWorker(workerFiles, engineDir);
  if (workerFiles.size() != 1) return usageError("one base data file is needed");
  baseFile = workerFiles[0];
  if (varies.isEmpty()) return usageError("nothing to vary: give --vary NAME=VALUES");
  if (outDir.isEmpty()) return usageError("--out FOLDER is needed");
  if (!QFileInfo(baseFile).isFile()) {
    print(stderr, "tarnel-study: no such data file: " + baseFile);
    return 2;
  }

  // Every name and value is checked before anything is written.
  std::vector<Variable> vars;
  long combinations = 1;
  for (const QString& v : varies) {
    const int eq = v.indexOf('=');
    if (eq <= 0) return usageError("--vary takes NAME=VALUES: " + v + "\n" + validNames());
    Variable var;
    var.name = v.left(eq).trimmed();
    for (const Variable& other : vars)
      if (other.name == var.name) return usageError(var.name + " is varied twice");
    QString why;
    auto setter = setterFor(var.name, &why);
    if (!setter) return usageError((why.isEmpty() ? "unknown name: " + var.name : why) + "\n" + validNames());
    var.apply = *setter;
    auto values = parseValues(v.mid(eq + 1), &why);
    if (!values) return usageError(var.name + ": " + why);
    var.values = *values;
    for (double x : var.values) var.texts << numberText(x);
    combinations *= static_cast<long>(var.values.size());
    if (combinations > kMaxCombinations)
      return usageError(QStringLiteral("more than %1 combinations").arg(kMaxCombinations));
    vars.push_back(std::move(var));
  }

  const std::string basePath = QFileInfo(baseFile).absoluteFilePath().toStdString();
  const QString stem = QFileInfo(baseFile).completeBaseName();
  std::vector<Combination> combos;
  {
    std::vector<int> index(vars.size(), 0);
    for (long k = 0; k < combinations; ++k) {
      Combination c{index, stem};
      for (std::size_t j = 0; j < vars.size(); ++j) c.file += "-" + vars[j].name + "=" + vars[j].texts[index[j]];
      c.file = QDir(outDir).filePath(c.file + ".tn5d");
      combos.push_back(c);
      for (int j = static_cast<int>(vars.size()) - 1; j >= 0; --j) {  // the last name varies fastest
        if (++index[j] < static_cast<int>(vars[j].values.size())) break;
        index[j] = 0;
      }
    }
  }

  // Builds a combination's project; the message says why it was refused.
  auto build = [&](TProgramData& p, const Combination& c) -> std::optional<QString> {
    const auto read = p.CreateFromFile(basePath, 0);
    if (!read) return QString::fromStdString(read.message);
    const int baseIncrements = p.Increments;
    for (std::size_t j = 0; j < vars.size(); ++j) {
      const auto& var = vars[j];
      if (var.name.contains('[')) continue;  // cells after the scalars: an explicit cell value wins
      if (auto bad = var.apply(p, var.values[c.index[j]])) return var.name + "=" + var.texts[c.index[j]] + ": " + *bad;
    }
    if (auto bad = keepStiffnessOnWall(p, baseIncrements)) return *bad;
    for (std::size_t j = 0; j < vars.size(); ++j) {
      const auto& var = vars[j];
      if (!var.name.contains('[')) continue;
      if (auto bad = var.apply(p, var.values[c.index[j]])) return var.name + "=" + var.texts[c.index[j]] + ": " + *bad;
    }
    if (auto bad = keepStiffnessOnWall(p, p.Increments)) return *bad;
    return std::nullopt;
  };
  for (const Combination& c : combos) {
    TProgramData p;
    if (auto bad = build(p, c)) {
      print(stderr, "tarnel-study: " + *bad);
      return p.FileName.empty() ? 2 : 1;
    }
  }
  if (!QDir().mkpath(outDir)) {
    print(stderr, "tarnel-study: cannot make the folder " + outDir);
    return 2;
  }
  QStringList files;
  for (const Combination& c : combos) {
    TProgramData p;
    build(p, c);
    const auto written = p.WriteProject(c.file.toStdString());
    if (!written) {
      print(stderr, "tarnel-study: " + QString::fromStdString(written.message));
      return 2;
    }
    files << c.file;
  }

  tarnel::runner::BatchOptions options;
  options.engineDir = engineDir;
  options.jobs = jobs;
  const std::vector<tarnel::runner::BatchRun> results = tarnel::runner::runBatch(files, options);

  int code = 0;
  std::vector<tarnel::runner::SectionRow> rows;
  for (int i = 0; i < files.size(); ++i) {
    const tarnel::runner::RunResult& r = results[i].run;
    QList<QPair<QString, QString>> values;
    for (std::size_t j = 0; j < vars.size(); ++j) values.append({vars[j].name, vars[j].texts[combos[i].index[j]]});
    const QString shown = QDir::toNativeSeparators(files[i]);
    std::vector<tarnel::runner::SectionRow> sections;
    if (!r.ok) {
      print(stdout, shown + ": " + r.error);
      code = 2;
      sections.push_back(tarnel::runner::notAnalysed(files[i], r.error));
    } else {
      const tarnel::runner::RunSummary& s = results[i].summary;
      print(stdout, shown + ": " + s.oneLine());
      const bool stopped = tarnel::runner::analysisStopped(r, s) || s.errorLine.contains(QLatin1String("NOT CLOSED"));
      if (stopped && code == 0) code = 3;
      sections = tarnel::runner::summarizeSections(files[i], r.reportPath, r.plotPath);
      // A section the report marks as not closed counts, even when the run's one line
      // names another warning first.
      for (const auto& row : sections)
        if (row.status != QLatin1String("closed") && code == 0) code = 3;
    }
    for (auto& row : sections) row.values = values;
    rows.insert(rows.end(), sections.begin(), sections.end());
  }
  if (!summaryFile.isEmpty()) {
    QString error;
    if (!tarnel::runner::writeSummary(summaryFile, rows, &error)) {
      print(stderr, "tarnel-study: " + error);
      code = 2;
    }
  }
  return code;
}

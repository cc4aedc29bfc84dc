// The result-chart commands of the main window: the Graphics items and the chart buttons
// are bound here by their object names, enabled by one rule, and open the charts' windows.
// The main window owns one and only forwards to it, so the same charts and reader serve
// the program and the command-line tools.
#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

#include "app/results/result_charts.h"

class QAction;
class QMdiArea;
class QWidget;

class ResultCommands : public QObject {
  Q_OBJECT
 public:
  ResultCommands(QMdiArea* area, QObject* parent = nullptr);

  ResultCharts& charts() { return charts_; }
  const ResultCharts& charts() const { return charts_; }

  // Takes a command whose object name is a chart's Graphics item or tool button (see
  // ChartTable) and opens that chart when triggered; other names are left alone.
  void bind(QAction* action);

  // Reads the plot file into the charts; with `reportErrors` a reading that fails tells the
  // user "An error occured in running the main program.". Returns what was read whole.
  bool LoadPlotFile(const QString& plotFile, const tarnel::model::TProgramData& project,
                    bool reportErrors, QWidget* parent);
  // The project changed without a run: its own plot file, when there is one, is read
  // silently; otherwise the charts of the project before are not offered.
  void projectOpened(const QString& plotFile, const tarnel::model::TProgramData& project);

  // Enables every bound command for the plot file that belongs to the project now.
  void refresh(const QString& plotFile);
  // The charts were read whole from `plotFile` and it is still there: their commands may
  // be offered. Results of another file (the project saved under a new name) are not.
  bool holds(const QString& plotFile) const;
  // As holds(), and the file is as it was when it was read.
  bool unchanged(const QString& plotFile) const;
  // Reads a plot file that changed since it was read (another run wrote it); chart windows
  // of the old reading close first. A file that cannot be read whole is announced and its
  // charts are not offered.
  bool reload(const QString& plotFile, const tarnel::model::TProgramData& project, QWidget* parent);
  // Asked before a chart opens: false stops it (the owner checks the plot file).
  void setGuard(std::function<bool()> guard) { guard_ = std::move(guard); }
  // Opens (or brings forward) a chart's window.
  void show(ChartId id);
  // "Export Plots To Excel": the export dialog over the charts of `plotFile`.
  void exportCharts(const QString& plotFile, QWidget* parent);

 private:
  bool read(const QString& plotFile, const tarnel::model::TProgramData& project, QString* error);
  void closeChartWindows();

  ResultCharts charts_;
  QMdiArea* area_;
  std::function<bool()> guard_;
  // The file the charts were last read from, with its size and time then.
  QString loadedFile_;
  qint64 loadedSize_ = -1;
  QDateTime loadedTime_;
  QList<QPair<QPointer<QAction>, ChartId>> bound_;
};

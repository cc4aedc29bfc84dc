#include "app/results/result_commands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/main/user_prompts.h"
#include "app/results/dialogs/export_dialog.h"
#include "app/results/plot_form.h"

ResultCommands::ResultCommands(QMdiArea* area, QObject* parent) : QObject(parent), area_(area) {}

void ResultCommands::bind(QAction* action) {
  const QString name = action->objectName();
  for (const ChartNames& c : ChartTable()) {
    const bool button = *c.toolButton != '\0' && name == QLatin1String(c.toolButton);
    if (name != QLatin1String(c.command) && !button) continue;
    const ChartId id = c.id;
    bound_.append({action, id});
    connect(action, &QAction::triggered, this, [this, id] { show(id); });
    return;
  }
}

bool ResultCommands::read(const QString& plotFile, const tarnel::model::TProgramData& project,
                          QString* error) {
  // The stamp is taken first: a file that changes while it is read is read again later.
  const QFileInfo info(plotFile);
  loadedFile_ = info.absoluteFilePath();
  loadedSize_ = info.size();
  loadedTime_ = info.lastModified();
  return charts_.LoadPlotFile(plotFile, project, error);
}

bool ResultCommands::holds(const QString& plotFile) const {
  if (!charts_.PlotsLoaded || plotFile.isEmpty()) return false;
  const QFileInfo info(plotFile);
  return info.absoluteFilePath() == loadedFile_ && info.isFile();
}

bool ResultCommands::unchanged(const QString& plotFile) const {
  if (!holds(plotFile)) return false;
  const QFileInfo info(plotFile);
  return info.size() == loadedSize_ && info.lastModified() == loadedTime_;
}

bool ResultCommands::reload(const QString& plotFile, const tarnel::model::TProgramData& project,
                            QWidget* parent) {
  closeChartWindows();
  QString error;
  const bool ok = read(plotFile, project, &error);
  if (!ok)
    prompts().information(parent, QStringLiteral("The plot file %1 has changed since it was read and cannot be "
                                                 "read whole; its charts are not shown.\n%2")
                                      .arg(QDir::toNativeSeparators(plotFile), error));
  return ok;
}

void ResultCommands::closeChartWindows() {
  for (QMdiSubWindow* w : area_->subWindowList())
    if (qobject_cast<TPlotForm*>(w->widget())) w->close();
}

bool ResultCommands::LoadPlotFile(const QString& plotFile,
                                  const tarnel::model::TProgramData& project, bool reportErrors,
                                  QWidget* parent) {
  QString error;
  const bool ok = read(plotFile, project, &error);
  if (!ok && reportErrors)
    prompts().information(parent, QStringLiteral("An error occured in running the main program."));
  return ok;
}

void ResultCommands::projectOpened(const QString& plotFile,
                                   const tarnel::model::TProgramData& project) {
  if (QFileInfo::exists(plotFile)) {
    read(plotFile, project, nullptr);
  } else {
    charts_.PlotsLoaded = false;
    loadedFile_.clear();
  }
}

void ResultCommands::refresh(const QString& plotFile) {
  const bool current = holds(plotFile);
  for (const auto& [action, id] : std::as_const(bound_))
    if (action) action->setEnabled(charts_.CommandEnabled(id, current));
}

void ResultCommands::show(ChartId id) {
  if (guard_ && !guard_()) return;
  if (!charts_.CommandEnabled(id, true)) return;  // a reading again may have left no chart
  ShowPlot(charts_.Chart(id), area_);
}

void ResultCommands::exportCharts(const QString& plotFile, QWidget* parent) {
  TDlgExport dialog(charts_, plotFile, parent);
  dialog.exec();
}

#include "app/results/result_commands.h"

#include <QAction>
#include <QFileInfo>
#include <QMdiArea>

#include "app/main/user_prompts.h"
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

bool ResultCommands::LoadPlotFile(const QString& plotFile,
                                  const tarnel::model::TProgramData& project, bool reportErrors,
                                  QWidget* parent) {
  QString error;
  const bool ok = charts_.LoadPlotFile(plotFile, project, &error);
  if (!ok && reportErrors)
    prompts().information(parent, QStringLiteral("An error occured in running the main program."));
  return ok;
}

void ResultCommands::projectOpened(const QString& plotFile,
                                   const tarnel::model::TProgramData& project) {
  if (QFileInfo::exists(plotFile))
    charts_.LoadPlotFile(plotFile, project);
  else
    charts_.PlotsLoaded = false;
}

void ResultCommands::refresh(const QString& plotFile) {
  const bool exists = QFileInfo::exists(plotFile);
  for (const auto& [action, id] : std::as_const(bound_))
    if (action) action->setEnabled(charts_.CommandEnabled(id, exists));
}

void ResultCommands::show(ChartId id) { ShowPlot(charts_.Chart(id), area_); }

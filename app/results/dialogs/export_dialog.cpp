#include "app/results/dialogs/export_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/main/user_prompts.h"
#include "app/results/chart_csv.h"
#include "app/results/export_selection.h"
#include "app/results/workbook_export.h"

namespace {

// Keeps the wait cursor up for the length of an export.
struct WaitCursor {
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// The chosen path with `suffix` when the user typed none.
QString withSuffix(const QString& path, const QString& suffix) {
  return QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + suffix : path;
}

}  // namespace

TDlgExport::TDlgExport(const ResultCharts& charts, QString plotFile, QWidget* parent)
    : QDialog(parent), charts_(charts), plotFile_(std::move(plotFile)) {
  setWindowTitle(QStringLiteral("Export to Excel"));
  setObjectName(QStringLiteral("Export to Excel"));
  auto* lay = new QVBoxLayout(this);

  auto* group = new QGroupBox(QStringLiteral("Available Plots"), this);
  auto* groupLay = new QVBoxLayout(group);
  list_ = new QListWidget(group);
  list_->setObjectName(QStringLiteral("CheckListBoxPlots"));
  list_->setMinimumSize(300, 150);
  groupLay->addWidget(list_);
  lay->addWidget(group, 1);

  auto* selectAll = new QPushButton(QStringLiteral("Select All"), this);
  selectAll->setObjectName(QStringLiteral("Button1"));
  auto* unselectAll = new QPushButton(QStringLiteral("Unselect All"), this);
  unselectAll->setObjectName(QStringLiteral("Button2"));
  generate_ = new QPushButton(QStringLiteral("Generate Excel File"), this);
  generate_->setObjectName(QStringLiteral("Button3"));
  csv_ = new QPushButton(QStringLiteral("Generate CSV Files"), this);
  csv_->setObjectName(QStringLiteral("ButtonCsv"));
  auto* close = new QPushButton(QStringLiteral("Close Window"), this);
  close->setObjectName(QStringLiteral("Button4"));
  for (QPushButton* b : {selectAll, unselectAll, generate_, csv_, close}) b->setAutoDefault(false);

  auto* buttons = new QGridLayout;
  buttons->addWidget(selectAll, 0, 0);
  buttons->addWidget(unselectAll, 0, 1);
  buttons->addWidget(generate_, 1, 0);
  buttons->addWidget(csv_, 1, 1);
  buttons->addWidget(close, 2, 1);
  lay->addLayout(buttons);

  for (const char* note : {"An Excel instance (if available) will open. ",
                           "Please wait until all the data has been exported to Excel.",
                           "Please note that you need to save the excel file afterwards."})
    lay->addWidget(new QLabel(QString::fromLatin1(note), this));

  connect(list_, &QListWidget::itemChanged, this, &TDlgExport::updateButtons);
  connect(selectAll, &QPushButton::clicked, this, [this] { setTicks(true); });
  connect(unselectAll, &QPushButton::clicked, this, [this] { setTicks(false); });
  connect(generate_, &QPushButton::clicked, this, &TDlgExport::generateWorkbook);
  connect(csv_, &QPushButton::clicked, this, &TDlgExport::generateCsv);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  rebuild();
}

void TDlgExport::showEvent(QShowEvent* e) {
  rebuild();
  QDialog::showEvent(e);
}

void TDlgExport::rebuild() {
  const bool exists = QFileInfo::exists(plotFile_);
  const QSignalBlocker quiet(list_);
  list_->clear();
  for (ChartId id : ExportableCharts()) {
    auto* item = new QListWidgetItem(charts_.Chart(id).Caption, list_);
    item->setData(Qt::UserRole, static_cast<int>(id));
    const bool on = ExportChoosable(charts_, id, exists);
    item->setFlags(on ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable : Qt::ItemIsUserCheckable);
    item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
  }
  updateButtons();
}

void TDlgExport::setTicks(bool ticked) {
  {
    const QSignalBlocker quiet(list_);
    for (int row = 0; row < list_->count(); ++row) {
      QListWidgetItem* item = list_->item(row);
      if (item->flags() & Qt::ItemIsEnabled) item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
  }
  updateButtons();
}

std::vector<ChartId> TDlgExport::tickedCharts() const {
  std::vector<ChartId> out;
  for (int row = 0; row < list_->count(); ++row) {
    const QListWidgetItem* item = list_->item(row);
    if ((item->flags() & Qt::ItemIsEnabled) && item->checkState() == Qt::Checked)
      out.push_back(static_cast<ChartId>(item->data(Qt::UserRole).toInt()));
  }
  return out;
}

void TDlgExport::updateButtons() {
  const bool any = !tickedCharts().empty();
  generate_->setEnabled(any);
  csv_->setEnabled(any);
}

QString TDlgExport::askTarget(const QString& title, const QString& suffix, const QString& filter) {
  const QFileInfo plot(plotFile_);
  const QString proposed = plot.dir().filePath(plot.completeBaseName() + QLatin1Char('.') + suffix);
  const UserPrompts::FileChoice choice = prompts().saveFile(this, title, proposed, {filter});
  return choice.path.isEmpty() ? QString() : withSuffix(choice.path, suffix);
}

void TDlgExport::generateWorkbook() {
  const std::vector<ChartId> ids = tickedCharts();
  if (ids.empty()) return;
  const QString path = askTarget(QStringLiteral("Export to Excel"), QStringLiteral("xlsx"),
                                 QStringLiteral("Excel Workbook (*.xlsx)"));
  if (path.isEmpty()) return;
  QString error;
  {
    WaitCursor wait;
    error = WriteChartWorkbook(ExportedChartsOf(charts_, ids), path);
  }
  if (!error.isEmpty()) {
    prompts().warning(this, error);
    return;
  }
  prompts().openUrl(QUrl::fromLocalFile(path));  // the message follows whether a program opened it or not
  prompts().information(this, QStringLiteral("Export to Excel Completed\nPlease note that you need to save the excel file\n"));
}

void TDlgExport::generateCsv() {
  const std::vector<ChartId> ids = tickedCharts();
  if (ids.empty()) return;
  const QString path =
      askTarget(QStringLiteral("Export to CSV"), QStringLiteral("csv"), QStringLiteral("CSV Files (*.csv)"));
  if (path.isEmpty()) return;
  // One file a chart beside the chosen name: wall.csv gives wall-deflection.csv, wall-moment.csv, ...
  const QFileInfo chosen(path);
  const std::vector<ExportedChart> exported = ExportedChartsOf(charts_, ids);
  const QString prefix = chosen.completeBaseName() + QLatin1Char('-');
  QString error;
  {
    WaitCursor wait;
    error = WriteChartCsvFiles(exported, chosen.absolutePath(), prefix);
  }
  if (!error.isEmpty()) {
    prompts().warning(this, error);
    return;
  }
  QStringList names;
  for (const ExportedChart& c : exported) names << prefix + c.key + QStringLiteral(".csv");
  prompts().information(this, QStringLiteral("Export to CSV Completed\nFiles written in %1:\n%2")
                                  .arg(QDir::toNativeSeparators(chosen.absolutePath()), names.join(QLatin1Char('\n'))));
}

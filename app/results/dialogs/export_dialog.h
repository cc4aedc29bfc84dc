// TDlgExport ("Export to Excel"): chooses result charts and writes them as a workbook (one
// data sheet and one chart sheet per chart, behind an index sheet) or as CSV files. A chart
// whose Graphics command is off is listed greyed and cannot be ticked. The dialog stays open
// after an export, so several workbooks can be made in a row.
#pragma once

#include <QDialog>
#include <vector>

#include "app/results/result_charts.h"

class QListWidget;
class QPushButton;

class TDlgExport : public QDialog {
  Q_OBJECT
 public:
  // `plotFile`: the plot file the charts were read from; the commands need it to exist, and
  // the workbook is proposed beside it under its name.
  TDlgExport(const ResultCharts& charts, QString plotFile, QWidget* parent = nullptr);

 protected:
  // Each opening rebuilds the list from the charts as they are now.
  void showEvent(QShowEvent* e) override;

 private:
  void rebuild();
  void setTicks(bool ticked);
  void updateButtons();
  std::vector<ChartId> tickedCharts() const;
  // The save dialog, proposing the plot file's name with `suffix`; empty when cancelled.
  QString askTarget(const QString& title, const QString& suffix, const QString& filter);
  void generateWorkbook();
  void generateCsv();

  const ResultCharts& charts_;
  QString plotFile_;
  QListWidget* list_ = nullptr;
  QPushButton* generate_ = nullptr;
  QPushButton* csv_ = nullptr;
};

// TfrmActiveLines ("Active Curves"): chooses which main lines the chart window draws and lists
// in its legend. Rows read " yes : " or " no  : ", three blanks and the line's display name;
// the choice is a working copy until "&OK" writes each line's Active flag.
#pragma once

#include <QDialog>
#include <vector>

class QListWidget;
class TGraphPlot;

class TfrmActiveLines : public QDialog {
  Q_OBJECT
 public:
  TfrmActiveLines(TGraphPlot& plot, QWidget* parent = nullptr);

 private:
  void toggleSelected();
  void setAll(bool active);
  void showRow(int row);
  void storeAndAccept();

  TGraphPlot& plot_;
  std::vector<char> active_;  // the working copy, one per main line
  QListWidget* list_ = nullptr;
};

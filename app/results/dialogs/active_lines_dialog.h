// Stand-in until the Active Curves dialog arrives: same interface, does nothing.
#pragma once
#include <QDialog>
class TGraphPlot;
class TfrmActiveLines : public QDialog {
 public:
  TfrmActiveLines(TGraphPlot&, QWidget* parent = nullptr) : QDialog(parent) {}
};

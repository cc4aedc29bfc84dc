// Stand-in until the Graph Caption dialog arrives: same interface, does nothing.
#pragma once
#include <QDialog>
class TGraphPlot;
class TfrmGraphCaption : public QDialog {
 public:
  TfrmGraphCaption(TGraphPlot&, QWidget* parent = nullptr) : QDialog(parent) {}
};

// Stand-in until the Legend dialog arrives: same interface, does nothing.
#pragma once
#include <QDialog>
class TGraphPlot;
class TfrmLineNames : public QDialog {
 public:
  TfrmLineNames(TGraphPlot&, QWidget* parent = nullptr) : QDialog(parent) {}
};

// TfrmGraphCaption ("Graph Caption"): the chart's title and whether it stands above or below
// the plot. The dialog has no Cancel: whichever way it closes, what it shows is stored in the
// chart, and the chart window re-lays itself afterwards.
#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;
class TGraphPlot;

class TfrmGraphCaption : public QDialog {
  Q_OBJECT
 public:
  TfrmGraphCaption(TGraphPlot& plot, QWidget* parent = nullptr);

  // Every way of closing (OK, Enter, Escape, the window's close box) ends here.
  void done(int result) override;

 private:
  void store();

  TGraphPlot& plot_;
  QLineEdit* title_ = nullptr;
  QRadioButton* top_ = nullptr;
  QRadioButton* bottom_ = nullptr;
};

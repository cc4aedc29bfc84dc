// TDlgDeformedShape, the "Deformed Shape" dialog of the 3-D View: shows the wall in its
// computed deflected shape or straight, optionally with the straight wall as an outline, and
// sets the exaggeration factor (typed, or stepped on one significant digit by the spin
// buttons). The settings live in the view and outlive the dialog.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TDlgBlock;

class TDlgDeformedShape : public QDialog {
  Q_OBJECT
 public:
  explicit TDlgDeformedShape(TDlgBlock* view);

  // What activation does: the view's settings into the controls, and their enabling.
  void FormActivate();
  // The spin buttons.
  void stepFactor(bool up);

  QCheckBox* deformedBox() const { return deformed_; }
  QCheckBox* undeformedBox() const { return undeformed_; }
  QLineEdit* factorEdit() const { return factor_; }
  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 protected:
  void changeEvent(QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void updateEnabling();
  void store();
  void factorEdited(const QString& text);
  void factorFinished();

  TDlgBlock* view_;
  QCheckBox* deformed_;
  QCheckBox* undeformed_;
  QLabel* factorLabel_;
  QLineEdit* factor_;
  QWidget* upDown_;
  QToolButton* up_;
  QToolButton* down_;
  QPushButton* close_;
  bool loading_ = false;
};

// The factor as the edit shows it: shortest general format with "." as separator.
QString FactorText(double factor);

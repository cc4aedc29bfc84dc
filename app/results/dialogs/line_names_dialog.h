// TfrmLineNames ("Legend"): renames the chart's main lines. The names are edited in a
// working copy; "&OK" writes every main line's explicit name from it, Cancel leaves the chart
// as it was. A line may not be left without a name.
#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QPushButton;
class TGraphPlot;

class TfrmLineNames : public QDialog {
  Q_OBJECT
 public:
  TfrmLineNames(TGraphPlot& plot, QWidget* parent = nullptr);

 protected:
  // Enter in the name field stores the name and must not close the dialog.
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void showLine(int row);
  void storeEdit();
  void storeAndAccept();
  QColor rowColour(int row) const;

  TGraphPlot& plot_;
  QStringList names_;        // the working copy, one per main line
  QListWidget* list_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QPushButton* cancel_ = nullptr;
  int editedRow_ = -1;       // the line whose name the field shows
  bool storing_ = false;     // the refusal message takes the focus and finishes the edit again
};

#pragma once
// "Staged Construction Options": whether the project is analysed in construction stages and
// how many. Opened modally from the Options menu and non-modally from the tool bar; OK hands
// the count to the stage manager.
#include <QDialog>

class QCheckBox;
class QToolButton;
class QPlainTextEdit;
class TDataEdit;
class StageManager;

namespace tarnel::model {
class TProgramData;
}

namespace tarnel::dialogs {

class StageDialog : public QDialog {
  Q_OBJECT
 public:
  StageDialog(tarnel::model::TProgramData* project, StageManager* stages, QWidget* parent);

  QCheckBox* check() const { return check_; }
  TDataEdit* count() const { return count_; }
  QToolButton* up() const { return up_; }
  QToolButton* down() const { return down_; }

  void accept() override;

 private:
  void setFieldEnabled(bool on);
  tarnel::model::TProgramData* project_;
  StageManager* stages_;
  QPlainTextEdit* note_;
  QCheckBox* check_;
  TDataEdit* count_;
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace tarnel::dialogs

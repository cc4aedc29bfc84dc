#pragma once
// The project's input dialogs: title, wall properties, wall configuration, the load and
// support dialogs with their pictures and table buttons, the text-editor option and the
// about box. DialogHub creates and shows them.
#include <QDialog>

#include "app/main/dialogs/dialog_base.h"

class QLineEdit;
class QCheckBox;
class QPushButton;

namespace tarnel::dialogs {

class ProjectTitleDialog : public DialogBase {
  Q_OBJECT
 public:
  explicit ProjectTitleDialog(DialogHub* hub);
  void load() override;
  QLineEdit* text() const { return text_; }

 protected:
  void storeExtra(tarnel::model::TProgramData& p) override;

 private:
  QLineEdit* text_;
};

class WallPropertiesDialog : public DialogBase {
  Q_OBJECT
 public:
  explicit WallPropertiesDialog(DialogHub* hub);
};

class WallConfigurationDialog : public DialogBase {
  Q_OBJECT
 public:
  explicit WallConfigurationDialog(DialogHub* hub);
  void load() override;
  // Enables the three earth-pressure fields for choices 2 and 3 only.
  void updateEnabling();

 private:
  TDataEdit* uniform_ = nullptr;
  TDataEdit* slope_ = nullptr;
  TDataEdit* factor_ = nullptr;
};

// A picture, an optional switch check box and a button opening a table editor.
class TableDialog : public DialogBase {
  Q_OBJECT
 public:
  enum class Which { Surcharge, ConcentratedLoads, Springs, Tieback };
  TableDialog(DialogHub* hub, Which which);
  void load() override;
  QCheckBox* check() const { return check_; }
  QPushButton* button() const { return button_; }

 protected:
  void storeExtra(tarnel::model::TProgramData& p) override;

 private:
  Which which_;
  QString table_;
  QCheckBox* check_ = nullptr;
  QPushButton* button_ = nullptr;
};

class ControlOptionsDialog : public DialogBase {
  Q_OBJECT
 public:
  explicit ControlOptionsDialog(DialogHub* hub);
  void load() override;
  QLineEdit* editor() const { return editor_; }

 protected:
  void storeExtra(tarnel::model::TProgramData& p) override;

 private:
  void browse();
  QLineEdit* editor_;
};

class AboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit AboutBox(QWidget* parent);
};

}  // namespace tarnel::dialogs

#pragma once
#include <QDialog>
namespace tarnel::dialogs {
class StageDialog : public QDialog {
  Q_OBJECT
 public:
  using QDialog::QDialog;
};
}  // namespace tarnel::dialogs

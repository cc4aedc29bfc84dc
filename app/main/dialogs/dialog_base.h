#pragma once
#include <QWidget>
namespace tarnel::dialogs {
class DialogBase : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;
};
}  // namespace tarnel::dialogs

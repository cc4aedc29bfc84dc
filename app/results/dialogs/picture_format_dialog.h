// Stand-in until the Save Attributes dialog arrives: same interface, the defaults.
#pragma once
#include <QDialog>
#include "app/results/picture_colors.h"
class TdlgFormat : public QDialog {
 public:
  explicit TdlgFormat(QWidget* parent = nullptr) : QDialog(parent) {}
  double heightInches() const { return 4; }
  double widthInches() const { return 6; }
  int pixelsPerInch() const { return 72; }
  int colorsIndex() const { return 1; }
};

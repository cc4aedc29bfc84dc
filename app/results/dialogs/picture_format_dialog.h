// TdlgFormat ("Save Attributes"): the size, resolution and colour depth of a chart saved as
// a picture. The picture is pixelsPerInch() x heightInches() by pixelsPerInch() x
// widthInches() pixels; colorsIndex() is the index for ApplyPictureColors (picture_colors.h).
#pragma once

#include <QDialog>

#include "app/results/picture_colors.h"

class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

class TdlgFormat : public QDialog {
  Q_OBJECT
 public:
  explicit TdlgFormat(QWidget* parent = nullptr);

  double heightInches() const;
  double widthInches() const;
  int pixelsPerInch() const;
  int colorsIndex() const;

 private:
  QDoubleSpinBox* height_ = nullptr;
  QDoubleSpinBox* width_ = nullptr;
  QSpinBox* ppi_ = nullptr;
  QComboBox* colors_ = nullptr;
};

#include "app/results/dialogs/picture_format_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// Sizes beyond these are no picture anyone saves from a chart; the chart window still
// reports a picture that cannot be allocated.
constexpr double kMaxInches = 100;
constexpr int kMaxPixelsPerInch = 1200;

QDoubleSpinBox* inches(double value, QWidget* parent) {
  auto* box = new QDoubleSpinBox(parent);
  box->setLocale(QLocale::c());  // "." whatever the user's locale
  box->setDecimals(2);
  box->setRange(2, kMaxInches);
  box->setSingleStep(0.5);
  box->setValue(value);
  return box;
}

}  // namespace

TdlgFormat::TdlgFormat(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Save Attributes"));
  setObjectName(QStringLiteral("Save Attributes"));
  auto* lay = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);

  height_ = inches(4, this);
  height_->setObjectName(QStringLiteral("Height"));
  width_ = inches(6, this);
  width_->setObjectName(QStringLiteral("Width"));
  ppi_ = new QSpinBox(this);
  ppi_->setObjectName(QStringLiteral("PixelsPerInch"));
  ppi_->setLocale(QLocale::c());
  ppi_->setRange(10, kMaxPixelsPerInch);
  ppi_->setValue(72);
  colors_ = new QComboBox(this);
  colors_->setObjectName(QStringLiteral("Colors"));
  colors_->addItems(PictureColorNames());
  colors_->setCurrentIndex(kDefaultPictureColors);

  form->addRow(QStringLiteral("&Height (in)"), height_);
  form->addRow(QStringLiteral("&Width (in)"), width_);
  form->addRow(QStringLiteral("&Pixels Per Inch"), ppi_);
  form->addRow(QStringLiteral("&Colors"), colors_);
  lay->addLayout(form);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  lay->addWidget(buttons);
}

double TdlgFormat::heightInches() const { return height_->value(); }
double TdlgFormat::widthInches() const { return width_->value(); }
int TdlgFormat::pixelsPerInch() const { return ppi_->value(); }
int TdlgFormat::colorsIndex() const { return colors_->currentIndex(); }

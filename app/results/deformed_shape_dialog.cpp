#include "app/results/deformed_shape_dialog.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "app/main/user_prompts.h"
#include "app/results/dlg_block.h"
#include "app/results/factor_step.h"

using tarnel::view3d::DeformedSettings;

namespace {
bool ReadFactor(const QString& text, double* value) {
  bool ok = false;
  const double v = QLocale::c().toDouble(text.trimmed(), &ok);
  if (ok && std::isfinite(v)) *value = v;
  return ok && std::isfinite(v);
}
}  // namespace

QString FactorText(double factor) { return QString::number(factor, 'g', 15); }

TDlgDeformedShape::TDlgDeformedShape(TDlgBlock* view) : QDialog(view), view_(view) {
  setObjectName(QStringLiteral("DlgDeformedShape"));
  setWindowTitle(QStringLiteral("Deformed Shape"));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);

  deformed_ = new QCheckBox(QStringLiteral("Show Deformed Shape"), this);
  deformed_->setObjectName(QStringLiteral("CheckBoxDeformedShape"));
  undeformed_ = new QCheckBox(QStringLiteral("Show Undeformed Model"), this);
  undeformed_->setObjectName(QStringLiteral("CheckBoxUndeformedModel"));
  factorLabel_ = new QLabel(QStringLiteral("Deformed Shape Factor"), this);
  factor_ = new QLineEdit(this);
  factor_->setObjectName(QStringLiteral("EditDefFactor"));
  factorLabel_->setBuddy(factor_);
  upDown_ = new QWidget(this);
  upDown_->setObjectName(QStringLiteral("UpDownDefFactor"));
  up_ = new QToolButton(upDown_);
  up_->setObjectName(QStringLiteral("UpDownDefFactorUp"));
  up_->setArrowType(Qt::UpArrow);
  down_ = new QToolButton(upDown_);
  down_->setObjectName(QStringLiteral("UpDownDefFactorDown"));
  down_->setArrowType(Qt::DownArrow);
  auto* spin = new QVBoxLayout(upDown_);
  spin->setContentsMargins(0, 0, 0, 0);
  spin->setSpacing(0);
  spin->addWidget(up_);
  spin->addWidget(down_);
  close_ = new QPushButton(QStringLiteral("Close"), this);
  close_->setObjectName(QStringLiteral("Button1"));

  auto* grid = new QGridLayout(this);
  grid->addWidget(deformed_, 0, 0, 1, 3);
  grid->addWidget(undeformed_, 1, 0, 1, 3);
  grid->addWidget(factorLabel_, 2, 0);
  grid->addWidget(factor_, 2, 1);
  grid->addWidget(upDown_, 2, 2);
  grid->addWidget(close_, 3, 0, 1, 3, Qt::AlignCenter);

  connect(deformed_, &QCheckBox::clicked, this, [this] { store(); });
  connect(undeformed_, &QCheckBox::clicked, this, [this] { store(); });
  connect(factor_, &QLineEdit::textEdited, this, &TDlgDeformedShape::factorEdited);
  connect(factor_, &QLineEdit::editingFinished, this, &TDlgDeformedShape::factorFinished);
  connect(up_, &QToolButton::clicked, this, [this] { stepFactor(true); });
  connect(down_, &QToolButton::clicked, this, [this] { stepFactor(false); });
  connect(close_, &QPushButton::clicked, this, &QDialog::close);
  FormActivate();
}

void TDlgDeformedShape::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  FormActivate();
}

void TDlgDeformedShape::changeEvent(QEvent* e) {
  QDialog::changeEvent(e);
  if (e->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TDlgDeformedShape::FormActivate() {
  loading_ = true;
  const DeformedSettings& d = view_->deformed();
  factor_->setText(FactorText(d.factor));
  deformed_->setChecked(d.showDeformed);
  undeformed_->setChecked(d.showUndeformed);
  loading_ = false;
  updateEnabling();
}

void TDlgDeformedShape::updateEnabling() {
  const bool on = deformed_->isChecked();
  undeformed_->setEnabled(on);
  factor_->setEnabled(on);
  factorLabel_->setEnabled(on);
  upDown_->setEnabled(on);
}

void TDlgDeformedShape::store() {
  if (loading_) return;
  DeformedSettings d = view_->deformed();
  d.showDeformed = deformed_->isChecked();
  d.showUndeformed = undeformed_->isChecked();
  updateEnabling();
  view_->setDeformed(d);
}

// Every number typed becomes the factor at once; text that is not (yet) a number waits
// for the end of the entry, where it is refused and the factor shown again.
void TDlgDeformedShape::factorEdited(const QString& text) {
  if (loading_ || text.trimmed().isEmpty()) return;
  DeformedSettings d = view_->deformed();
  if (!ReadFactor(text, &d.factor)) return;
  view_->setDeformed(d);
}

void TDlgDeformedShape::factorFinished() {
  const QString text = factor_->text();
  double v = 0;
  if (text.trimmed().isEmpty() || ReadFactor(text, &v)) return;
  loading_ = true;
  factor_->setText(FactorText(view_->deformed().factor));
  loading_ = false;
  prompts().warning(this, QStringLiteral("'%1' is not a valid number.").arg(text));
}

void TDlgDeformedShape::stepFactor(bool up) {
  DeformedSettings d = view_->deformed();
  d.factor = tarnel::view3d::StepFactor(d.factor, up);
  loading_ = true;
  factor_->setText(FactorText(d.factor));
  loading_ = false;
  view_->setDeformed(d);
}
